#pragma once
// The database file: the version integer, then the artisan, sales and reports
// sections, as a stream of tagged values.

#include <QString>

class AppState;
class Prompt;

inline constexpr int DB_FORMAT_VERSION = 2;

inline const QString OLD_VERSION_MSG =
    QStringLiteral("Cette version n'est plus supportée... tentez d'enregistrer d'abord avec la version 1.4 ");
inline const QString READ_ERROR_MSG = QStringLiteral("Error reading file");

// Writes the whole database to path without ever destroying the previous file:
// a failed save raises AppError with the platform's message and leaves the old
// file as it was.
void saveDB(const QString& path, AppState& st);

enum class LoadResult { Loaded, Missing, OldVersion, ReadError };

// Reads the whole database from path into st's lists. A missing file changes
// nothing and says nothing; a version below 1 or a read error is reported
// through prompt with the loader's message (what was read so far is kept).
// A file that exists but cannot be opened raises AppError.
LoadResult loadDB(const QString& path, AppState& st, Prompt& prompt);
