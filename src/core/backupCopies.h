#pragma once
// The copies of a file kept before a save replaces it: named after the file,
// the time and the save's sequence number, ordered by that number (the order
// of the saves, whatever the clock said), and thinned by age beyond the last
// ones.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One backup copy of a file, as its name tells it.
struct BackupCopy {
    QString name;
    QDateTime stamp; // when the clock said the version it keeps was saved (invalid: no date)
    qint64 seq = 0;  // the save's sequence number; 0 for copies named before numbering
    int dup = 1;     // the counter of an unnumbered copy made in the same millisecond
};

// The copies of the file fileName in backupDir (without the ones kept for
// good), oldest save first.
QList<BackupCopy> listBackups(const QString& backupDir, const QString& fileName);

// Their names, oldest save first.
QStringList backupCopies(const QString& backupDir, const QString& fileName);

// Keeps the file at path as the next numbered copy in backupDir (made when
// missing), stamped with the time that version was saved (its modification
// time); with keepForever, under a name the thinning never takes. The copy's
// name is on disk when this returns. Raises AppError on failure.
QString makeBackup(const QString& path, const QString& backupDir, bool keepForever);

// Removes the copies of fileName that are no longer kept: the last keep
// saves always stay; of the older ones, the newest of each day stays for
// copies stamped up to a month before now (or after it), then the newest of
// each month. A copy goes only when a later save's copy stays in its place.
void thinBackups(const QString& backupDir, const QString& fileName, int keep, const QDateTime& now);
