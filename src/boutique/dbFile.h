#pragma once
// The database file: the version integer, then the artisan, sales and reports
// sections, as a stream of tagged values.

#include <QString>
#include <QStringList>

#include "core/safeWrite.h"

class AppState;
class QIODevice;
class Prompt;

inline constexpr int DB_FORMAT_VERSION = 2;

// The account is kept after the reports section, behind a string no section
// can begin with (each begins with a list), with a version of its own; a
// reader of the three sections stops before it. Written only when the
// account holds something, so an older file saved unchanged stays as it was.
inline const QString ACCOUNT_MARK = QStringLiteral("TilvarBD account");
inline constexpr int ACCOUNT_VERSION = 2; // 2: the stock count and movements

inline const QString OLD_VERSION_MSG =
    QStringLiteral("Cette version n'est plus supportée... tentez d'enregistrer d'abord avec la version 1.4 ");
inline const QString READ_ERROR_MSG = QStringLiteral("Error reading file");

// A ledger of at most this many characters (the ten-year boutique's holds
// 3.6 million) is encoded on a second thread while the artisans are written.
// A larger one is written as it is encoded: two threads then contend for the
// memory, and its encoded copy costs more than the thread saves.
inline constexpr qsizetype LEDGER_ASIDE_LIMIT = 16'000'000;
// The database's sections, written to dev as saveDB writes them (the account
// section when withAccount and the account holds anything); ledgerAside:
// the ledger encoded on a second thread meanwhile. Byte for byte the same
// either way.
void writeDatabase(QIODevice& dev, AppState& st, bool withAccount, bool ledgerAside);

// Writes the whole database to path without ever destroying the previous file:
// a failed save raises AppError with the platform's message and leaves the old
// file as it was (and st.modified as it was). The replaced version is kept in
// backupDir(st, path). faults is a test hook.
// keepBackup false: no copy of the replaced file (for a caller that said why).
// inputs: files being read besides the database, never replaced (SafeWriteOptions).
void saveDB(const QString& path, AppState& st, const WriteFaults* faults = nullptr,
            bool keepBackup = true, const QStringList& inputs = {});

// Records the share of every sale line that has none yet (account.h). The
// first time, for a file that held no account, the settings' rule becomes
// the file's and the shares of its lines are taken from the Valeurs as they
// stand now: call it as soon as such a file is opened, before any change.
void recordShares(AppState& st);

// The folder of the dated backup copies: "backup" under the data folder (under
// the file's own folder when no data folder is set).
QString backupDir(const AppState& st, const QString& path);
inline constexpr int KEPT_BACKUPS = 10;

// How a database file at path is replaced: with a dated backup of the old
// version in backupDir(st, path), kept for good when that file did not load.
// For any code that replaces a database file other than by saveDB (a copy
// over it): safeWriteFile(path, bytes, dbWriteOptions(st, path)).
SafeWriteOptions dbWriteOptions(const AppState& st, const QString& path);

// base, with the files the program reads (the open database, the settings
// file) as inputs: for every document, page and export, which must replace
// none of them.
SafeWriteOptions outputOptions(const AppState& st, SafeWriteOptions base = {});

// The loader's refusals of a file it cannot take whole (after READ_ERROR_MSG).
inline const QString NEWER_VERSION_MSG = QStringLiteral("version %1: this file was written by a newer program");
inline const QString TRAILING_DATA_MSG = QStringLiteral("unexpected data after the end of the file");
inline const QString NEWER_ACCOUNT_MSG = QStringLiteral("account version %1: written by a newer program");

enum class LoadResult { Loaded, Missing, OldVersion, NewerVersion, ReadError };

// Reads the whole database from path into st's lists. A missing file changes
// nothing and says nothing; a version below 1 or a read error is reported
// through prompt with the loader's message (what was read so far is kept).
// A version above DB_FORMAT_VERSION is refused unread (NewerVersion), and
// bytes after the last section are a read error: either way a save over the
// file keeps it for good. A file that exists but cannot be opened, or is not
// a regular file, raises AppError.
LoadResult loadDB(const QString& path, AppState& st, Prompt& prompt);

// Whether the file at path opens as a database whose first artisan (or, with
// no artisan, first sheet) reads as loadDB reads it: loadDB then keeps at
// least that record. False says nothing: the file may still load (empty
// lists) or not; only a full load tells.
bool startsAsDatabase(const QString& path);
