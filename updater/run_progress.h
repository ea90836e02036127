#pragma once
// What the download list's run may see and do on the main window: read the folder, claim the one run
// a program start has, show the run's progress and report its end. The main window implements it and
// alone keeps the program's state.

#include <QString>

namespace updater {

class TRunProgress {
public:
    // The folder being updated, with its closing separator.
    virtual QString Folder() const = 0;
    // Started with "AUTO": no one may be there to answer a box.
    virtual bool Unattended() const = 0;
    // Claims the run when the description has been read and no run has begun yet; false otherwise.
    virtual bool BeginRun() = 0;
    // The files of the run, and how many of them have ended.
    virtual void ShowFileCount(int count) = 0;
    virtual void ShowFilesDone(int done) = 0;
    // The current file's progress in steps, and the engine's line about it.
    virtual void ShowFileProgress(int position, int max) = 0;
    virtual void ShowFileLine(const QString& line) = 0;
    virtual void ShowCaption(const QString& caption) = 0;
    // The transfers have ended: the main window shows the run stopped.
    virtual void ShowStopped() = 0;
    // The run is over and its last box answered: the program ends at the next tick.
    virtual void RunEnded() = 0;
    // There is nothing to fetch: the program ends now.
    virtual void CloseProgram() = 0;

protected:
    ~TRunProgress() = default;
};

} // namespace updater
