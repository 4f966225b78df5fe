// A save killed with SIGKILL at a random moment, two hundred times: the
// database file is always whole, the old version or the new one.

#include "core/appState.h"
#include "core/dbFile.h"
#include "core/safeWrite.h"
#include "support/fakePrompt.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

const QString& DB_NAME = TEST_DB_NAME;

// Saves two generations of a large database over each other until killed.
int childKillLoop(const QString& dir, int artisans, int products)
{
    AppState a;
    AppState b;
    a.dataDir = b.dataDir = dir;
    fillSampleDatabase(a, artisans, products, 1);
    fillSampleDatabase(b, artisans, products, 2);
    const QString path = QDir(dir).filePath(DB_NAME);
    QTextStream(stdout) << "ready" << Qt::endl;
    for (int i = 0;; ++i)
        saveDB(path, (i % 2) ? b : a);
}

} // namespace

class TstSaveKill : public QObject {
    Q_OBJECT

private slots:
    void killedWhileSaving();
};

void TstSaveKill::killedWhileSaving()
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

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator rng(seed);
    int sawA = 0;
    int sawB = 0;
    int stale = 0;
    const int rounds = 200;
    for (int n = 0; n < rounds; ++n) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--child-kill-loop"_s, dir.path(), QString::number(artisans),
                     QString::number(products)});
        QVERIFY(child.waitForStarted(10000));
        while (!child.canReadLine())
            QVERIFY(child.waitForReadyRead(30000));
        QThread::usleep(rng.bounded(quint32(3 * saveUs)));
        child.kill();
        QVERIFY(child.waitForFinished(10000));

        const QByteArray now = readFileBytes(path);
        QVERIFY2(now == bytesA || now == bytesB,
                 qPrintable(u"round %1 (seed %2): file of %3 bytes is neither version"_s.arg(n).arg(seed).arg(now.size())));
        (now == bytesA ? sawA : sawB)++;
        stale += int(strayFiles(dir.path()).size());
        if (n % 25 == 0) {
            AppState back;
            FakePrompt prompt;
            QCOMPARE(loadDB(path, back, prompt), LoadResult::Loaded);
            QCOMPARE(back.artList.count(), artisans);
        }
    }
    qInfo("%d kills (seed %u): old version %d, new version %d, leftover temporary files seen %d",
          rounds, seed, sawA, sawB, stale);
    QVERIFY(sawA > 0 && sawB > 0);
    // The next save clears whatever a killed save may have left.
    saveDB(path, a);
    QCOMPARE(strayFiles(dir.path()), QStringList());
    QVERIFY(backupCopies(backupDir(a, path), DB_NAME).size() <= KEPT_BACKUPS);
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 5 && args.at(1) == u"--child-kill-loop"_s)
        return childKillLoop(args.at(2), args.at(3).toInt(), args.at(4).toInt());
    TstSaveKill t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_saveKill.moc"
