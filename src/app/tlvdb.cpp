// tlvdb: the command-line companion of TilvarBD (see README.md).

#include "export/tlvdbTool.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QByteArray out;
    QByteArray err;
    const int rc = runTlvdb(args, out, err);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fwrite(err.constData(), 1, size_t(err.size()), stderr);
    return std::fflush(stdout) == 0 ? rc : ExitFailed;
}
