#pragma once
// Start-up values derived from where the program lives: the caption, the
// program, data and export folders, the settings file and the default name.

#include <QDate>
#include <QString>

class AppState;

// "tilvarDB version 0.8.5    09.05.18": the window caption and about text.
QString appCaptionText();

// Fills appCaption, progDir (always ending with "/"), dataDir, xmlDir,
// iniPath, defaultFileName and empties curFilePath.
void setupStartPaths(AppState& st, const QString& progDir, const QDate& today);

// Creates the data and export folders when missing. Returns false when one
// could not be made (saving will then report the platform's error).
bool ensureFolders(const AppState& st);
