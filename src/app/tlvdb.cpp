// tlvdb: the command-line companion of TilvarBD (see README.md).

#include "boutique/appPaths.h"
#include "boutique/appState.h"
#include "export/accountCommands.h"
#include "export/stockCommands.h"
#include "app/tlvdbTool.h"
#include "core/sysCause.h"
#include "report/reportCommand.h"
#include "report/tagsCommand.h"

#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A script wants the tool's own messages only, not the platform's notes.
void quietPlatform(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(msg));
}

} // namespace

int main(int argc, char* argv[])
{
    // Statements are laid out with QtGui's fonts; no window ever shows, and
    // the other commands need no more than QtCore.
    const bool gui = argc > 1 && (std::strcmp(argv[1], "report") == 0 || std::strcmp(argv[1], "tags") == 0);
    std::unique_ptr<QCoreApplication> app;
    if (gui) {
        qInstallMessageHandler(quietPlatform);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QByteArray out;
    QByteArray err;
    std::vector<TlvdbCommand> commands = tlvdbAccountCommands();
    commands.push_back(tlvdbStockCommand());
    commands.push_back(tlvdbReportCommand());
    commands.push_back(tlvdbTagsCommand());
    const int rc = runTlvdb(args, out, err, commands);
    // Where the program keeps the boutique's files, as the about window says.
    if (!args.isEmpty() && (args.first() == u"--help"_s || args.first() == u"help"_s || args.first() == u"-h"_s)) {
        AppState st;
        setupStartPaths(st, QCoreApplication::applicationDirPath(), QDate::currentDate());
        out += dataFolderText(st).toUtf8() + '\n';
    }
    // A full disk or a closed pipe cuts the output: a script must not take
    // it for the whole.
    errno = 0;
    const bool written = std::fwrite(out.constData(), 1, size_t(out.size()), stdout) == size_t(out.size())
        && std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int cause = errno;
    if (!written)
        err += (u"tlvdb: output not written: "_s + systemCause(cause ? cause : EIO) + u'\n').toUtf8();
    const bool told = std::fwrite(err.constData(), 1, size_t(err.size()), stderr) == size_t(err.size())
        && std::fflush(stderr) == 0;
    if (!written || (!told && rc == ExitOk))
        return ExitFailed;
    return rc;
}
