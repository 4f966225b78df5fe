// One running instance per user: a second start exits at once, touches no
// file and asks the first to come to the front; a killed instance leaves
// nothing behind that blocks the next start.

#include "support/testFiles.h"
#include "ui/shell/singleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// Waits until the marker answers (present) or no longer does.
bool waitForMarker(bool present, int ms = 15000, const QString& name = TSingleInstance::markerName())
{
    QElapsedTimer t;
    for (t.start(); t.elapsed() < ms; QTest::qWait(50)) {
        QLocalSocket s;
        s.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        s.connectToServer(name);
        if (s.waitForConnected(500) == present)
            return true;
    }
    return false;
}

// The program copied into its own folder: that folder is its program folder.
QString installProgram(const QString& dir)
{
    const QString target = dir + u"/tilvarbd"_s;
    const bool ok = QFile::copy(qEnvironmentVariable("TILVARBD_BIN"), target)
                    && writeFileBytes(dir + u"/tilvarDB.ini"_s, "[PREFS]\r\nshowSplash=0\r\n");
    return ok ? target : QString();
}
} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (waitForMarker(true, 100))
            QSKIP("A TilvarBD of this user is running on this machine.");
    }

    void secondHolderAsksTheFirstOtherUsersDoNotCount()
    {
        // A name of its own, so that no running program disturbs the test.
        const QString name = u"sTilvarName.test."_s + QString::number(QCoreApplication::applicationPid());
        {
            TSingleInstance first(name);
            QVERIFY(!first.checkSingleInstance());
            QSignalSpy raised(&first, &TSingleInstance::activateRequested);
            TSingleInstance second(name);
            QVERIFY(second.checkSingleInstance());
            QVERIFY(raised.wait(5000));
            QCOMPARE(raised.count(), 1);
        }
        // Released with its holder.
        QVERIFY(waitForMarker(false, 2000, name));
        TSingleInstance third(name);
        QVERIFY(!third.checkSingleInstance());
        // Another user's running instance holds a marker of its own: this user's start goes on.
        TSingleInstance other(u"sTilvarName."_s + QString::number(::getuid() + 1));
        QVERIFY(!other.checkSingleInstance());
        TSingleInstance mine;
        QVERIFY(!mine.checkSingleInstance());
    }

    void secondProgramExitsAndTouchesNothing()
    {
        QTemporaryDir dirA, dirB;
        const QString progA = installProgram(dirA.path());
        const QString progB = installProgram(dirB.path());
        QVERIFY2(!progA.isEmpty() && !progB.isEmpty(), "TILVARBD_BIN names no program");

        QProcess first;
        first.start(progA, {});
        QVERIFY(first.waitForStarted());
        QVERIFY2(waitForMarker(true), "the first instance never took the marker");

        QFile::remove(dirB.path() + u"/tilvarDB.ini"_s);
        QProcess second;
        second.start(progB, {});
        QVERIFY(second.waitForFinished(15000));
        QVERIFY(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0);
        QCOMPARE(QDir(dirB.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"tilvarbd"_s}); // no settings, no folders
        QCOMPARE(first.state(), QProcess::Running);

        // A crash (SIGKILL) leaves no marker: the next start runs.
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        QProcess third;
        third.start(progB, {});
        QVERIFY(third.waitForStarted());
        QVERIFY2(waitForMarker(true), "the start after a crash did not run");
        QTRY_VERIFY(QFileInfo(dirB.path() + u"/data"_s).isDir()); // made once its window is built, just after
        third.kill();
        QVERIFY(third.waitForFinished(5000));
    }

    void leakReportsSuppressedForDbusOnly()
    {
        // Every test runs with the suppressions file, which names D-Bus alone.
        const QString options = qEnvironmentVariable("LSAN_OPTIONS");
        QVERIFY2(options.startsWith(u"suppressions="_s), qPrintable(options));
        const QByteArray entries = readFileBytes(options.mid(13));
        QVERIFY(entries.contains("leak:libdbus-1.so") && entries.count("leak:") == 1);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleInstance.moc"
