#pragma once
// "Copier la base vers...": the database and its newest backups copied to
// another place (a USB key), into a folder of their own made for the copy, so
// that nothing already there is ever replaced.

#include <QDateTime>
#include <QString>

// Copies dbPath and the newest `backups` copies of it kept in backupDir into a
// new folder of destDir named after the file and now ("boutique 2026-12-07
// 1405", with " (2)" and so on when it exists). Returns the folder made;
// AppError in French when a copy fails (what was copied is left as it is).
QString copyDatabaseTo(const QString& dbPath, const QString& backupDir, const QString& destDir, int backups,
                       const QDateTime& now);

// Days since the last copy (made on lastCopy, "yyyy-MM-dd") after which staff
// are reminded to make one.
inline constexpr int CopyReminderDays = 7;
// Whether a copy is due on today: the last one is older than the reminder's
// days. An empty or unreadable date is due.
bool copyIsDue(const QString& lastCopy, const QDate& today);
