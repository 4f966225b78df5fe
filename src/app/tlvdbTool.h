#pragma once
// The commands of the tlvdb command-line tool, kept apart from its main() so
// that they run the same in tests.

#include "export/tlvdbCommand.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

// Runs one command (args without the program name); what it prints goes to
// out and err (UTF-8). Returns the exit code.
int runTlvdb(const QStringList& args, QByteArray& out, QByteArray& err,
             const std::vector<TlvdbCommand>& extra = {});

// The usage text.
QByteArray tlvdbUsage(const std::vector<TlvdbCommand>& extra = {});

