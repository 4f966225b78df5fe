#pragma once
// Start-up values derived from where the program lives: the caption, the
// program, data and export folders, the settings file and the default name.

#include <QDate>
#include <QString>

class AppState;
class Prompt;

// "tilvarDB version 0.8.5    09.05.18": the window caption and about text.
QString appCaptionText();

// The licence line of the about window and the package.
QString appLicenceText();

// Whether the program's own folder keeps the data (a build, a portable
// copy): it must exist, take writes and not be a system folder (/usr/...),
// where even root must not leave a boutique's files.
bool programFolderKeepsData(const QString& progDir);

// Fills appCaption, progDir (always ending with "/"), dataDir, xmlDir,
// iniPath, defaultFileName and empties curFilePath. A data folder the
// settings file remembers (DATA_FOLDER_KEY) takes the place of progDir. When the program's
// folder does not keep the data, progDir, dataDir and xmlDir lie in the
// user's data folder (~/.local/share/TilvarBD) and the settings file in the
// user's configuration folder (~/.config/TilvarBD).
void setupStartPaths(AppState& st, const QString& progDir, const QDate& today);

// One line for the about window and "tlvdb --help": which data folder is
// used and why.
QString dataFolderText(const AppState& st);

// Creates the data and export folders when missing. Returns false when one
// could not be made (saving will then report the platform's error).
bool ensureFolders(const AppState& st);

// Makes the data and export folders when missing; says in French which one
// cannot be made or written, with the folder. Empty when both can.
QString dataFolderProblem(const AppState& st);

// The settings key ([PREFS]) of the folder chosen at start in place of one
// that could not be used; setupStartPaths takes it when it is set.
inline const QString DATA_FOLDER_KEY = QStringLiteral("dataFolder");

// At start: while the data folder cannot be made or written, says so and
// offers to choose another folder, which then holds data/ and dXML/ (and
// the program's style sheet) and is remembered in the settings file for the
// next starts. Returns whether the folders are usable.
bool checkDataFolder(AppState& st, Prompt& prompt);
// Writes the data folder's key into the settings file; a refused write is
// said through prompt (the folder still serves this session).
void rememberDataFolder(const AppState& st, Prompt& prompt);
