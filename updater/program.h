#pragma once
// The updater's program body: the application's title and its two windows, created in order.

#include "updater/updater_windows.h"

#include <QStringList>

#include <memory>

namespace updater {

class Program {
public:
    // `arguments` is the command line without the program.
    explicit Program(const QStringList& arguments);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window; the list window stays hidden.
    void Show();

    const Windows& Forms() const { return FWindows; }

private:
    Windows FWindows;
    std::unique_ptr<TForm1> FForm1;
    std::unique_ptr<TForm2> FForm2;
};

// Sets the application's title and the fonts the windows use.
void InitialiseApplication();

} // namespace updater
