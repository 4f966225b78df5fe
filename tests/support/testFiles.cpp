#include "support/testFiles.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

QByteArray readFileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray savedBytes(AppState& st)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TEST_DB_NAME);
    const bool modified = st.modified;
    saveDB(path, st);
    st.modified = modified;
    return readFileBytes(path);
}

bool useProgramFolder(AppState& st, const QString& root)
{
    st.progDir = root + QLatin1Char('/');
    st.dataDir = st.progDir + QStringLiteral("data/");
    st.xmlDir = st.progDir + QStringLiteral("dXML/");
    st.iniPath = st.progDir + QStringLiteral("tilvarDB.ini");
    return QDir().mkpath(st.dataDir) && QDir().mkpath(st.xmlDir);
}

QStringList strayFiles(const QString& dir)
{
    QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                            | QDir::NoDotAndDotDot);
    names.removeAll(TEST_DB_NAME);
    names.removeAll(QStringLiteral("backup"));
    return names;
}

ProcessRun runProcess(const QString& program, const QStringList& args, bool merged)
{
    QProcess p;
    if (merged)
        p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    ProcessRun r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString pdfText(const QString& path, const QStringList& options)
{
    const ProcessRun r = runProcess(QStringLiteral("pdftotext"), options + QStringList{path, QStringLiteral("-")});
    if (r.code == -1 && QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        qWarning("pdftotext (poppler-utils) is missing: scripts/install-deps.sh");
    return r.code == 0 ? QString::fromUtf8(r.out) : QString();
}

QString pdfBytesText(const QByteArray& pdf, const QStringList& options)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.pdf"));
    return writeFileBytes(path, pdf) ? pdfText(path, options) : QStringLiteral("<unwritten>");
}
