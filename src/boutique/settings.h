#pragma once
// Reading and writing the settings file (sections GENERAL and PREFS) into and
// from the program-wide variables.

#include <QDate>
#include <QString>

class AppState;
class TIniFile;

// "bArtisan" followed by the year of date in two digits ("bArtisan09").
QString defaultFileNameFor(const QDate& date);

// Every key, in the order of the settings table, into its variable; a missing
// file, section, key or a bad value gives the key's default. artFileName
// defaults to st.defaultFileName (or, when that is empty, today's default).
void readSettings(const QString& path, AppState& st);
void readSettings(const TIniFile& ini, AppState& st);

// Every key, in table order; each one reaches the file at once. A refused
// write raises AppError "Unable to write to <path>"; the keys written before
// it stay written.
void writeSettings(const QString& path, const AppState& st);
void writeSettings(TIniFile& ini, const AppState& st);
