#pragma once
// What every command of the tlvdb tool shares: its exit codes, its shape, and
// the checks its commands make of their arguments.

#include <QByteArray>
#include <QStringList>
#include <functional>

class AppState;

// Exit codes of tlvdb.
// ExitNoSales: report found no sale in the period; ExitGaps: check found sold
// quantities that differ from the sheets.
enum TlvdbExit { ExitOk = 0, ExitFailed = 1, ExitUsage = 2, ExitNoSales = 3, ExitGaps = 3 };

// True when a sale row of some period is of artisan artNo (an artisan removed
// from the list keeps its sales in the sheets).
bool soldAnywhere(AppState& st, const QString& artNo);

// A command the tool runs once the database file loaded whole. A command
// that returns ExitUsage without a word in err gets the tool's usage text.
struct TlvdbCommand {
    QString name;
    int minArgs = 1; // arguments after the name, the database file first
    int maxArgs = 1;
    QByteArray usage; // its lines of the usage text
    // Runs with the arguments after the name, once the file loaded whole into st.
    std::function<int(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err)> run;
};

// Why the tool writes nothing at out (English, for its error output): out is
// one of inputs (links followed, same device and inode) or exists and is not
// a regular file. Empty when out may be written.
QString outputRefusedText(const QString& out, const QStringList& inputs);
