#pragma once
// One writer at a time: the program holds a lock beside the database it has
// open, and every command that writes the file takes the same lock first, so
// that a payout recorded from a script is never lost to the window's next save.

#include <QLockFile>
#include <QString>
#include <memory>

class DbLock {
public:
    explicit DbLock(const QString& dbPath);
    ~DbLock();
    DbLock(const DbLock&) = delete;
    DbLock& operator=(const DbLock&) = delete;

    // "<file>.lock" beside the database.
    static QString lockPath(const QString& dbPath);
    // Takes the lock at once or not at all: false when another holder has it
    // (a lock left by a program that ended is taken over; where no lock can
    // be made at all, true without one).
    bool tryLock();
    bool isLocked() const;
    // Who holds it, in French ("TilvarBD (processus 1234) sur poste"), and in
    // English for the command line; empty when nobody does.
    QString holder(bool french) const;

private:
    std::unique_ptr<QLockFile> m_lock;
};
