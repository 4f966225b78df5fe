#pragma once
// Writing a whole file so that it is either completely replaced or left as it
// was: the content goes to a temporary file in the same folder, which replaces
// the target only once it is complete and on disk; the folder is synced after
// the replace. Optionally the replaced version is kept as a dated backup copy.
// A write never replaces one of the files being read, nor anything that is not
// a regular file, and removes no file but the temporaries of its own kind.

#include "core/backupCopies.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QIODevice;

// Faults a test can inject into a write, to prove that each one is reported
// and leaves the previous file as it was.
struct WriteFaults {
    int failWrite = 0;        // the k-th write to the file fails (k >= 1); 0: none
    bool failFlush = false;   // flushing the complete content fails
    bool failReplace = false; // replacing the target fails
    bool failSync = false;    // syncing the folder after the replace fails
    int errnoCode = 0;        // the cause the injected failure gives (ENOSPC...); 0: a test text
};

struct SafeWriteOptions {
    // Folder of the dated backup copies of the file being replaced; empty: none.
    QString backupDir;
    // Copies of the last saves always kept in backupDir; older ones are thinned
    // to one a day, then one a month.
    int keepBackups = 10;
    // The time older backup copies are thinned against; invalid: the clock's
    // (a test sets another).
    QDateTime now;
    // The copy made now is never removed (the file being replaced did not load whole).
    bool keepBackupForever = false;
    const WriteFaults* faults = nullptr;
    // False: the file still replaces the old one whole, but reaches the disk
    // only with the next syncFileSystem (for batches of documents that can be
    // made again, where a sync per file costs more than the work). No backup
    // copy is made then: backupDir is for files that are synced.
    bool syncNow = true;
    // Set by a batch of writes into the same folders: each folder is listed
    // once for the temporaries a write cut short left behind, instead of once
    // per file (a settlement of thousands of artisans listed its folder as
    // many times).
    std::shared_ptr<QHash<QString, QStringList>> listings;
    // The files being read (the database, the settings file...): none of them
    // is ever replaced by this write, whatever link or name leads to it.
    QStringList inputs;
};

// What stands in the way of writing a file at a path.
struct OutputClash {
    enum class Kind { None, SameAsInput, NotRegular } kind = Kind::None;
    QString input;     // SameAsInput: the input it is (same device and inode, links followed)
    unsigned mode = 0; // NotRegular: the st_mode of what is there (a FIFO, a device, a folder...)
};
OutputClash outputClash(const QString& path, const QStringList& inputs);
// The French refusal of a write to path (naming it and the input it is);
// empty when nothing stands in its way.
QString outputRefusal(const QString& path, const QStringList& inputs);

// Files beside path that may be temporaries a save cut short left behind but
// cannot be proven ours (the names earlier versions used, or one a live save
// holds): never removed, listed by the checks for the user to judge.
QStringList unprovenLeftovers(const QString& path);
// The French note on such files for the check's message; empty when none.
QString leftoversNote(const QStringList& leftovers);

// Makes the folder's entries (a rename, a new name) durable; AppError with the cause.
void syncFolder(const QString& dir);

// Options for a batch of documents that can be made again, written into the
// same folders: each folder is listed once, and no file is synced on its own.
SafeWriteOptions batchOptions();
// Runs write, then sync (the batch reaching the disk). When write fails, what
// it wrote whole is synced before its error goes on; a failure of that sync
// is dropped, as the first failure is the one to tell.
void writeBatch(const std::function<void()>& write, const std::function<void()>& sync);

// A symbolic link at path is followed: its target is replaced and backed up,
// the link stays a link.
// Writes data to path (refused with outputRefusal's text first). On failure raises AppError with the platform's message
// and leaves any previous file at path intact.
void safeWriteFile(const QString& path, const QByteArray& data,
                   const SafeWriteOptions& options = {});

// As above, with the content written by produce into the device it is given;
// an AppError thrown by produce (or a write error it ignored) cancels the
// write and is raised again with the file name.
void safeWriteFile(const QString& path, const std::function<void(QIODevice&)>& produce,
                   const SafeWriteOptions& options = {});

// Puts every file written so far on the file system holding dir on the disk.
void syncFileSystem(const QString& dir);


