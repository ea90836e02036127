#pragma once
// The player's program body: the application's title and its three windows, created in order.

#include "player/player_windows.h"

#include <QStringList>

#include <memory>

namespace player {

class TDailyCheck;

class Program {
public:
    // `executablePath` locates the program folder; `arguments` is the command line without it.
    Program(const QString& executablePath, const QStringList& arguments);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the start window; only it is visible at first.
    void Show();

    const Windows& Forms() const { return FWindows; }
    TDailyCheck& DailyCheck() const { return *FDailyCheck; }

private:
    Windows FWindows;
    std::unique_ptr<TForm1> FForm1;
    std::unique_ptr<TForm2> FForm2;
    std::unique_ptr<TForm3> FForm3;
    std::unique_ptr<TDailyCheck> FDailyCheck;
};

// Sets the application's title and the fonts every window uses.
void InitialiseApplication();

} // namespace player
