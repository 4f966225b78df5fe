// One running instance per user: a second start exits at once, touches no
// file and asks the first to come to the front; a killed instance leaves
// nothing behind that blocks the next start.

#include "ui/singleInstance.h"

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
bool markerAnswers()
{
    QLocalSocket s;
    s.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    s.connectToServer(TSingleInstance::markerName());
    const bool ok = s.waitForConnected(500);
    s.abort();
    return ok;
}

bool waitForMarker(bool present, int ms = 15000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (markerAnswers() == present)
            return true;
        QTest::qWait(50);
    }
    return false;
}

// The program copied into its own folder: that folder is its program folder.
QString installProgram(const QString& dir)
{
    const QString bin = qEnvironmentVariable("TILVARBD_BIN");
    const QString target = dir + u"/tilvarbd"_s;
    if (bin.isEmpty() || !QFile::copy(bin, target))
        return {};
    QFile ini(dir + u"/tilvarDB.ini"_s);
    if (!ini.open(QIODevice::WriteOnly))
        return {};
    ini.write("[PREFS]\r\nshowSplash=0\r\n");
    return target;
}

QStringList folderContent(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}
} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void markerIsPerUser();
    void secondHolderAsksTheFirst();
    void secondProgramExitsAndTouchesNothing();
};

void TestSingleInstance::initTestCase()
{
    if (markerAnswers())
        QSKIP("A TilvarBD of this user is running on this machine.");
}

void TestSingleInstance::markerIsPerUser()
{
    QCOMPARE(TSingleInstance::markerName(), u"sTilvarName."_s + QString::number(::getuid()));
}

void TestSingleInstance::secondHolderAsksTheFirst()
{
    {
        TSingleInstance first;
        QVERIFY(!first.checkSingleInstance());
        QSignalSpy raised(&first, &TSingleInstance::activateRequested);
        TSingleInstance second;
        QVERIFY(second.checkSingleInstance());
        QVERIFY(raised.wait(5000));
        QCOMPARE(raised.count(), 1);
    }
    // Released with its holder.
    QVERIFY(waitForMarker(false, 2000));
    TSingleInstance third;
    QVERIFY(!third.checkSingleInstance());
}

void TestSingleInstance::secondProgramExitsAndTouchesNothing()
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
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(folderContent(dirB.path()), QStringList{u"tilvarbd"_s}); // no settings, no folders
    QCOMPARE(first.state(), QProcess::Running);

    // A crash (SIGKILL) leaves no marker: the next start runs.
    first.kill();
    QVERIFY(first.waitForFinished(5000));
    QProcess third;
    third.start(progB, {});
    QVERIFY(third.waitForStarted());
    QVERIFY2(waitForMarker(true), "the start after a crash did not run");
    QTest::qWait(200);
    QCOMPARE(third.state(), QProcess::Running);
    QVERIFY(QFileInfo(dirB.path() + u"/data"_s).isDir());
    third.kill();
    QVERIFY(third.waitForFinished(5000));
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleInstance.moc"
