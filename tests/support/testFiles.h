#pragma once
// File and process helpers shared by the tests of saving, loading and the CLI.

#include <QByteArray>
#include <QString>
#include <QStringList>

class AppState;

// Name of the database file in the save tests.
inline const QString TEST_DB_NAME = QStringLiteral("boutique.tlvdb");

// Whole content of a file; empty when it cannot be read.
QByteArray readFileBytes(const QString& path);
// Writes bytes as the whole file; false when that failed.
bool writeFileBytes(const QString& path, const QByteArray& bytes);
// Bytes a save of st produces, written into a folder of their own; st.modified is kept.
QByteArray savedBytes(AppState& st);
// Points st's program, data and report folders and its settings file into
// root (which must exist) and makes the two folders; false when they could not be made.
bool useProgramFolder(AppState& st, const QString& root);
// Every entry of dir besides TEST_DB_NAME and the backup folder: what a save must not leave.
QStringList strayFiles(const QString& dir);

struct ProcessRun {
    int code = -1; // -1 when the process crashed or timed out
    QByteArray out;
    QByteArray err;
};
// Runs program with args; stderr is merged into out when merged is set.
ProcessRun runProcess(const QString& program, const QStringList& args, bool merged = false);
// What pdftotext (given options) reads in the PDF at path; empty when it fails
// (a missing pdftotext is named in a warning).
QString pdfText(const QString& path, const QStringList& options = {});
// What pdftotext (given options) reads in the PDF bytes pdf, written to a file of their own.
QString pdfBytesText(const QByteArray& pdf, const QStringList& options = {});
