#pragma once
// The commands of the tlvdb command-line tool, kept apart from its main() so
// that they run the same in tests.

#include <QByteArray>
#include <QStringList>

// Exit codes of tlvdb.
enum TlvdbExit { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// Runs one command (args without the program name); what it prints goes to
// out and err (UTF-8). Returns the exit code.
int runTlvdb(const QStringList& args, QByteArray& out, QByteArray& err);

// The usage text.
QByteArray tlvdbUsage();
