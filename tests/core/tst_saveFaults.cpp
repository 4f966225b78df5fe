// Saving under faults: injected failures at every write, the flush, the
// replace and the folder sync; dated backups; a refused folder and a full
// disk, in child processes; and a save killed with SIGKILL at a random moment,
// two hundred times: the database file is always whole, the old version or
// the new one.

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "core/safeWrite.h"
#include "core/valueStream.h"
#include "support/failDevice.h"
#include "support/fakePrompt.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString& DB_NAME = TEST_DB_NAME;

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

// Runs one faulty save then, once the fault is cured, a good one; prints what
// happened and returns 0 when both behaved.
int faultThenCure(const QString& dir, const std::function<void()>& inflict,
                  const std::function<void()>& cure)
{
    AppState st;
    st.dataDir = dir;
    fillSampleDatabase(st, 20, 20, 2);
    st.modified = true;
    const int artisans = st.artList.count();
    const QString path = QDir(dir).filePath(DB_NAME);
    const QByteArray old = readFileBytes(path);
    inflict();
    try {
        saveDB(path, st);
        out() << "saved despite the fault" << Qt::endl;
        return 1;
    } catch (const AppError& e) {
        out() << "error: " << e.message() << Qt::endl;
    }
    cure();
    if (readFileBytes(path) != old || !st.modified || st.artList.count() != artisans) {
        out() << "old file or memory changed" << Qt::endl;
        return 1;
    }
    try {
        saveDB(path, st);
    } catch (const AppError& e) {
        out() << "cured save failed: " << e.message() << Qt::endl;
        return 1;
    }
    out() << "cured" << Qt::endl;
    return st.modified ? 1 : 0;
}

int childRefused(const QString& dir)
{
    const uid_t nobody = 65534;
    return faultThenCure(
        dir,
        [&] {
            // Keep root as the saved id, so the fault can be cured afterwards.
            if (setgroups(0, nullptr) != 0 || setresgid(nobody, nobody, 0) != 0
                || setresuid(nobody, nobody, 0) != 0)
                out() << "cannot drop privileges" << Qt::endl;
        },
        [] {
            if (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0)
                out() << "cannot get root back" << Qt::endl;
        });
}

int childFileSize(const QString& dir)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of killing us
    return faultThenCure(
        dir,
        [&] {
            rlimit small = old;
            small.rlim_cur = 32 * 1024;
            setrlimit(RLIMIT_FSIZE, &small);
        },
        [&] { setrlimit(RLIMIT_FSIZE, &old); });
}

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

class TstSaveFaults : public QObject {
    Q_OBJECT

private slots:
    void failDeviceReachesWriter();
    void everyInjectedFaultIsHarmless();
    void backupsAreDatedAndRotated();
    void damagedFileKeepsLastingBackup();
    void staleTemporaryIsRemoved();
    void faultInChild_data();
    void faultInChild();
    void killedWhileSaving();
};

void TstSaveFaults::failDeviceReachesWriter()
{
    FailDevice dev(5000);
    dev.open(QIODevice::WriteOnly);
    TWriter w(dev);
    w.writeString(QString(3000, u'a')); // buffered, nothing written yet
    QCOMPARE(dev.accepted(), 0);
    try {
        w.writeString(QString(3000, u'b'));
        w.flush();
        QFAIL("no error");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), u"No space left on device"_s);
    }
    QVERIFY_THROWS_EXCEPTION(AppError, w.writeInteger(1)); // a failed writer stays failed
}

void TstSaveFaults::everyInjectedFaultIsHarmless()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(DB_NAME);
    AppState st;
    st.dataDir = dir.path();
    fillSampleDatabase(st, 10, 20, 1);
    saveDB(path, st);
    const QByteArray old = readFileBytes(path);

    AppState next;
    next.dataDir = dir.path();
    fillSampleDatabase(next, 10, 20, 2);
    const QByteArray fresh = savedBytes(next);
    QVERIFY(fresh.size() > 5 * TFiler::BufferSize);
    next.modified = true;

    // The error of a save with faults f; empty when it succeeded.
    auto trySave = [&](const WriteFaults& f) {
        try {
            saveDB(path, next, &f);
        } catch (const AppError& e) {
            return e.message();
        }
        return QString();
    };
    int k = 1;
    for (;; ++k) {
        WriteFaults f;
        f.failWrite = k;
        const QString error = trySave(f);
        if (error.isEmpty())
            break;
        QVERIFY2(error.contains(DB_NAME) && error.contains(u"write %1"_s.arg(k)), qPrintable(error));
        QCOMPARE(readFileBytes(path), old);
        QVERIFY(next.modified);
        QCOMPARE(strayFiles(dir.path()), QStringList());
        QCOMPARE(backupCopies(backupDir(next, path), DB_NAME).size(), 0);
        QVERIFY(k < 1000);
    }
    QCOMPARE(k - 1, int((fresh.size() + TFiler::BufferSize - 1) / TFiler::BufferSize));
    QCOMPARE(readFileBytes(path), fresh);
    QVERIFY(!next.modified);

    // From here the file holds the new version; the faults must keep it.
    const QByteArray previous = readFileBytes(path);
    next.modified = true;
    for (const char* stage : {"flush", "replace"}) {
        WriteFaults f;
        (qstrcmp(stage, "flush") == 0 ? f.failFlush : f.failReplace) = true;
        const QString error = trySave(f);
        QVERIFY2(error.contains(QLatin1String(stage)), qPrintable(error));
        QCOMPARE(readFileBytes(path), previous);
        QVERIFY(next.modified);
    }
    QCOMPARE(strayFiles(dir.path()), QStringList());
    QCOMPARE(backupCopies(backupDir(next, path), DB_NAME).size(), 1);
    // A failed folder sync: the new file is in place but may not survive a power loss.
    WriteFaults sync;
    sync.failSync = true;
    QVERIFY(!trySave(sync).isEmpty());
    QVERIFY(next.modified);
}

void TstSaveFaults::backupsAreDatedAndRotated()
{
    QTemporaryDir dir;
    AppState st;
    st.dataDir = dir.filePath(u"data/"_s);
    QDir().mkpath(st.dataDir);
    const QString path = QDir(st.dataDir).filePath(DB_NAME);
    const QString backups = QDir(st.dataDir).filePath(u"backup"_s);
    QCOMPARE(backupDir(st, path), backups);

    saveDB(path, st);
    QVERIFY(!QFileInfo::exists(backups)); // nothing replaced, nothing kept
    QList<QByteArray> versions{readFileBytes(path)};
    for (int i = 0; i < 12; ++i) {
        st.repList.curPeriod = i; // each version differs
        saveDB(path, st);
        versions << readFileBytes(path);
    }
    const QStringList copies = backupCopies(backups, DB_NAME);
    QCOMPARE(copies.size(), KEPT_BACKUPS);
    static const QRegularExpression name(u"^boutique-\\d{8}-\\d{9}(-\\d+)?\\.tlvdb$"_s);
    for (int i = 0; i < copies.size(); ++i) {
        QVERIFY2(name.match(copies.at(i)).hasMatch(), qPrintable(copies.at(i)));
        // Oldest first: the ten versions before the current one.
        QCOMPARE(readFileBytes(QDir(backups).filePath(copies.at(i))), versions.at(versions.size() - 11 + i));
    }
    // Restoring is copying a backup over the database file.
    QFile::remove(path);
    QVERIFY(QFile::copy(QDir(backups).filePath(copies.first()), path));
    FakePrompt prompt;
    AppState back;
    QCOMPARE(loadDB(path, back, prompt), LoadResult::Loaded);
    QCOMPARE(back.repList.curPeriod, 1);

    // Another database file has copies of its own.
    saveDB(QDir(st.dataDir).filePath(u"autre.tlvdb"_s), st);
    saveDB(QDir(st.dataDir).filePath(u"autre.tlvdb"_s), st);
    QCOMPARE(backupCopies(backups, u"autre.tlvdb"_s).size(), 1);
    QCOMPARE(backupCopies(backups, DB_NAME).size(), KEPT_BACKUPS);
}

void TstSaveFaults::damagedFileKeepsLastingBackup()
{
    QTemporaryDir dir;
    AppState st;
    st.dataDir = dir.path();
    fillSampleDatabase(st, 3, 3, 1);
    const QString path = dir.filePath(DB_NAME);
    saveDB(path, st);
    const QByteArray damaged = readFileBytes(path).chopped(7);
    QVERIFY(writeFileBytes(path, damaged));
    AppState back;
    back.dataDir = dir.path();
    FakePrompt prompt;
    QCOMPARE(loadDB(path, back, prompt), LoadResult::ReadError);
    QVERIFY(back.modified);
    for (int i = 0; i < KEPT_BACKUPS + 3; ++i)
        saveDB(path, back);
    const QStringList kept = QDir(backupDir(back, path)).entryList({u"*-damaged.tlvdb"_s}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(readFileBytes(QDir(backupDir(back, path)).filePath(kept.first())), damaged);

    // A file of a version too old to load is kept for good as well.
    const QByteArray old = QByteArray::fromHex("0200") + QByteArray::fromHex("0100");
    QVERIFY(writeFileBytes(path, old));
    QCOMPARE(loadDB(path, back, prompt), LoadResult::OldVersion);
    saveDB(path, back);
    QCOMPARE(QDir(backupDir(back, path)).entryList({u"*-damaged.tlvdb"_s}, QDir::Files).size(), 2);

    // If no copy can be made, the damaged file is not replaced.
    QCOMPARE(loadDB(path, back, prompt), LoadResult::Loaded);
    QVERIFY(writeFileBytes(path, damaged));
    QCOMPARE(loadDB(path, back, prompt), LoadResult::ReadError);
    QVERIFY(QDir(backupDir(back, path)).removeRecursively());
    QVERIFY(writeFileBytes(backupDir(back, path), {})); // a file where the folder should be
    QVERIFY_THROWS_EXCEPTION(AppError, saveDB(path, back));
    QCOMPARE(readFileBytes(path), damaged);
    QVERIFY(back.modified);
}

void TstSaveFaults::staleTemporaryIsRemoved()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(DB_NAME);
    QStringList kept{DB_NAME + u".Backup"_s, DB_NAME + u".bak123"_s, DB_NAME + u".keep"_s,
                           DB_NAME + u".OLD"_s};
    for (const QString& name : kept + QStringList{DB_NAME + u".aB3xY9"_s, DB_NAME + u".hiPpAi"_s})
        QVERIFY(writeFileBytes(dir.filePath(name), {}));
    AppState st;
    saveDB(path, st);
    QStringList left = strayFiles(dir.path());
    left.sort();
    kept.sort();
    QCOMPARE(left, kept);
}

void TstSaveFaults::faultInChild_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("error");
    QTest::newRow("refused folder") << u"--child-refused"_s << u"Permission denied"_s;
    QTest::newRow("file size limit") << u"--child-fsize"_s << u"File too large"_s;
}

void TstSaveFaults::faultInChild()
{
    QFETCH(QString, mode);
    QFETCH(QString, error);
    const bool refused = mode == u"--child-refused"_s;
    if (refused && geteuid() != 0)
        QSKIP("needs root to drop to another user");
    QTemporaryDir dir;
    AppState st;
    fillSampleDatabase(st, refused ? 20 : 1, refused ? 20 : 1, 1);
    saveDB(dir.filePath(DB_NAME), st);
    if (refused) {
        // The file itself may be written by anyone: the folder is what refuses.
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadOther | QFile::ExeOther
                                                      | QFile::ReadGroup | QFile::ExeGroup));
        QVERIFY(QFile::setPermissions(dir.filePath(DB_NAME), QFile::ReadOwner | QFile::WriteOwner
                                          | QFile::ReadOther | QFile::WriteOther));
    }
    const ProcessRun r = runProcess(QCoreApplication::applicationFilePath(), {mode, dir.path()}, true);
    const QString output = QString::fromLocal8Bit(r.out);
    QVERIFY2(r.code == 0, qPrintable(output));
    QVERIFY2(output.contains(error) && output.contains(u"cured"_s), qPrintable(output));
    QCOMPARE(strayFiles(dir.path()), QStringList());
}

void TstSaveFaults::killedWhileSaving()
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
    if (args.size() >= 3 && args.at(1) == u"--child-refused"_s)
        return childRefused(args.at(2));
    if (args.size() >= 3 && args.at(1) == u"--child-fsize"_s)
        return childFileSize(args.at(2));
    if (args.size() >= 5 && args.at(1) == u"--child-kill-loop"_s)
        return childKillLoop(args.at(2), args.at(3).toInt(), args.at(4).toInt());
    TstSaveFaults t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_saveFaults.moc"
