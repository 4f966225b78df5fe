#pragma once
// A quick read of a database file aside from the open one: whether it
// loads, and what it holds, for the open command and the restore dialog.

#include <QString>

struct DbSummary {
    enum class State { Whole, Partly, Unreadable };
    State state = State::Unreadable;
    int artisans = 0;
    int sheets = 0;
    int lines = 0;      // sale lines on every sheet
    QString lastSheet;  // the newest sheet's date, "yymmdd"
    // Why it does not load whole, in the boutique's words; empty when it does.
    QString problem;
};

// Reads path into a scratch state; the open database is not touched.
DbSummary readDbSummary(const QString& path);

// Why path cannot be opened as a database (readDbSummary's problem of an
// Unreadable file); empty when it loads, whole or in part. A file that
// startsAsDatabase is not read twice: opening it loads it once.
QString dbOpenProblem(const QString& path);

// "Le fichier X n'est pas une base TilvarBD lisible : <problem>"
QString notDatabaseMessage(const QString& path, const QString& problem);

#include <QDateTime>
#include <QList>

// A dated backup copy of a database file, with a quick read of it.
struct BackupEntry {
    QString path;
    QDateTime when;
    qint64 size = 0;
    DbSummary summary;
};

// The backup copies of the database file fileName kept in backupDir, newest first.
QList<BackupEntry> databaseBackups(const QString& backupDir, const QString& fileName);

// Puts path first in a list of recent databases of at most five (once each).
void rememberRecent(QStringList& recent, const QString& path);
