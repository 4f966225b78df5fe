// Saving under real faults, in child processes: a full disk (a file size
// limit), and a save killed with SIGKILL at a random moment two hundred times:
// the database file is always whole, the old version or the new one.

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/safeWrite.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

const QString& DB_NAME = TEST_DB_NAME;

// In a child process: a save that meets a full disk (a file size limit) is
// refused with the cause and leaves the old file and the memory; with the
// limit lifted, a good save follows. Prints what happened; 0 when all behaved.
// (The cause of a disk without space: tst_tlvdb's dump to /dev/full.)
int childFull(const QString& dir)
{
    QTextStream out(stdout);
    AppState st;
    st.dataDir = dir;
    const QString path = QDir(dir).filePath(DB_NAME);
    saveDB(path, st);
    const QByteArray old = readFileBytes(path);
    fillSampleDatabase(st, 40, 20, 2);
    st.modified = true;
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of killing us
    rlimit small = unlimited;
    small.rlim_cur = 32 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    try {
        saveDB(path, st);
        out << "saved despite the fault" << Qt::endl;
        return 1;
    } catch (const AppError& e) {
        out << "error: " << e.message() << Qt::endl;
    }
    setrlimit(RLIMIT_FSIZE, &unlimited);
    if (readFileBytes(path) != old || !st.modified || st.artList.count() != 40) {
        out << "old file or memory changed" << Qt::endl;
        return 1;
    }
    saveDB(path, st);
    out << "cured" << Qt::endl;
    return st.modified ? 1 : 0;
}

// Saves two generations of a large database over each other until killed.
int childKillLoop(const QString& dir, int artisans, int products)
{
    AppState a;
    AppState b;
    a.dataDir = b.dataDir = dir;
    fillSampleDatabase(a, artisans, products, 1);
    fillSampleDatabase(b, artisans, products, 2);
    QTextStream(stdout) << "ready" << Qt::endl;
    for (int i = 0;; ++i)
        saveDB(QDir(dir).filePath(DB_NAME), (i % 2) ? b : a);
}

} // namespace

class TstSaveFaults : public QObject {
    Q_OBJECT

private slots:
    void fullDisk()
    {
        // The child's second save is 40 times larger than its limit.
        QTemporaryDir dir;
        const ProcessRun r = runProcess(QCoreApplication::applicationFilePath(), {u"--child-full"_s, dir.path()}, true);
        const QString output = QString::fromLocal8Bit(r.out);
        QVERIFY2(r.code == 0 && output.contains(u"fichier trop volumineux"_s) && output.contains(u"cured"_s),
                 qPrintable(output));
        QCOMPARE(strayFiles(dir.path()), QStringList());
    }

    void killedWhileSaving()
    {
        const int artisans = 25; // about 130 KB: a save takes a few milliseconds
        const int products = 16;
        QTemporaryDir dir;
        const QString path = dir.filePath(DB_NAME);
        AppState a;
        AppState b;
        a.dataDir = b.dataDir = dir.path();
        fillSampleDatabase(a, artisans, products, 1);
        fillSampleDatabase(b, artisans, products, 2);
        const QByteArray bytesA = savedBytes(a);
        const QByteArray bytesB = savedBytes(b);
        QVERIFY(bytesA != bytesB);
        QElapsedTimer t;
        t.start();
        saveDB(path, a);
        const qint64 saveUs = std::max<qint64>(t.nsecsElapsed() / 1000, 1000);

        const quint32 seed = 20090518; // where each kill falls still depends on the machine
        QRandomGenerator rng(seed);
        int seen[2] = {0, 0};
        for (int n = 0; n < 200; ++n) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {u"--child-kill-loop"_s, dir.path(), QString::number(artisans), QString::number(products)});
            QVERIFY(child.waitForStarted(10000));
            while (!child.canReadLine())
                QVERIFY(child.waitForReadyRead(30000));
            QThread::usleep(rng.bounded(quint32(3 * saveUs)));
            child.kill();
            QVERIFY(child.waitForFinished(10000));

            const QByteArray now = readFileBytes(path);
            QVERIFY2(now == bytesA || now == bytesB,
                     qPrintable(u"round %1 (seed %2): file of %3 bytes is neither version"_s.arg(n).arg(seed).arg(now.size())));
            ++seen[now == bytesB];
        }
        // How the kills fell is told, not judged: it depends on the machine's speed.
        qInfo("200 kills (seed %u): old version %d, new version %d", seed, seen[0], seen[1]);
        // The next save clears whatever a killed save may have left.
        saveDB(path, a);
        QCOMPARE(strayFiles(dir.path()), QStringList());
        QVERIFY(backupCopies(backupDir(a, path), DB_NAME).size() <= KEPT_BACKUPS);
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == u"--child-full"_s)
        return childFull(args.at(2));
    if (args.size() == 5 && args.at(1) == u"--child-kill-loop"_s)
        return childKillLoop(args.at(2), args.at(3).toInt(), args.at(4).toInt());
    TstSaveFaults t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_saveFaults.moc"
