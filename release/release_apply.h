#pragma once
// A signed release put in place all or nothing. Its files wait, verified, in a staging folder of
// the program folder; one apply, guarded by a journal, moves each old file aside and the new one in,
// the player's own program last. An apply cut short (a kill, a power cut) is undone at the next
// start of either program, so the folder holds the whole old set or the whole new one. The old set
// stays aside until the new one is known healthy, and can be put back.

#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

namespace lanterna {

class TReleaseFolder {
public:
    explicit TReleaseFolder(QString folder);

    // Where the files of a release wait until they are all there.
    QString StagingFolder() const;
    // Empties the staging folder, whatever killed runs left there, and makes it anew.
    bool PrepareStaging(QString& error);
    // Moves the staged `names` (plain file names) into the folder in one journalled apply, `last`
    // (when among them) last. `previous` is the release installed before, for a rollback.
    bool Apply(const QString& version, const QString& previous, const QStringList& names, const QString& last,
               QString& error);
    // Keeps the applied set: the old one and the journal go.
    void Keep();
    // Puts the old set back in place of the applied one; its version was `Previous()`.
    bool RollBack(QString& error);
    // The journal's versions: what the apply installs, and what was installed before.
    QString Version() const;
    QString Previous() const;

    // True while an apply has moved the new set in and waits to be kept or rolled back.
    bool AwaitsHealth() const;
    // At a program's start, holding the folder's lock: undoes an apply cut short, keeps an applied set
    // that no updater waits for any more, and removes an old set already kept. True when the folder
    // was changed.
    bool Recover();

private:
    QString Path(const QString& name) const;
    QString Aside(const QString& name) const;
    bool WriteJournal(const QString& phase, const QString& version, const QString& previous,
                      const QStringList& names, const QStringList& existed, QString& error) const;
    bool Undo(QString& error);

    QString FFolder;
};

// One updater at a time in a program folder, for a whole run; a lock left by a killed run is taken
// over. A program that cannot take it leaves the folder's release alone.
class TReleaseLock {
public:
    explicit TReleaseLock(const QString& folder);
    ~TReleaseLock();
    TReleaseLock(const TReleaseLock&) = delete;
    TReleaseLock& operator=(const TReleaseLock&) = delete;

    bool TryLock();

private:
    std::unique_ptr<QLockFile> FLock;
};

// What a program does first at its start: with the folder's lock, an apply cut short is undone.
void RecoverRelease(const QString& folder);

} // namespace lanterna
