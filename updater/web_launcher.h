#pragma once
// Opens web pages and new mail messages with the desktop's default programs.

#include <QObject>
#include <QString>

#include <functional>

namespace updater {

class TWebLauncher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWebLauncher)

public:
    explicit TWebLauncher(QObject* owner = nullptr);

    // Opens the URL, normally in the default browser. Nothing is reported when it cannot be.
    void SurfTo(const QString& url);
    // Opens a new message to `address` in the default mail program.
    void MailTo(const QString& address, const QString& copy, const QString& blindCopy,
                const QString& subject);

    // Hands an address to the desktop (its shell by default); tests replace it.
    std::function<void(const QString& url)> Open;
};

// "mailto:" + address, then the fields that are not empty, SUBJECT, BCC and CC in this order, the
// first after "?" and each further one after "&"; values are not encoded.
QString MailToText(const QString& address, const QString& copy, const QString& blindCopy,
                   const QString& subject);

} // namespace updater
