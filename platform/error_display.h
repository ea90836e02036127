#pragma once
// The default error display: what escapes a handler or a timer tick is shown in a modal box and
// the program carries on.

#include <QString>

#include <exception>
#include <functional>

namespace lanterna {

// Appends a full stop unless the text is empty or already ends in a character that sorts at or
// before one ('.', ',', '!', a space, ...).
QString WithFullStop(const QString& text);

// Shows the error of an exception through the dialogs in use.
void ShowException(const std::exception& error);
// The same, once the event loop has finished what it is doing now, so that the caller goes on first.
void ShowExceptionLater(const std::exception& error);

// Runs a handler; an error escaping it goes to the default error display instead of further up.
void RunGuarded(const std::function<void()>& handler);

// Wraps a handler so that every call of it is guarded; for connecting to signals.
inline std::function<void()> Guarded(std::function<void()> handler) {
    return [h = std::move(handler)] { RunGuarded(h); };
}

} // namespace lanterna
