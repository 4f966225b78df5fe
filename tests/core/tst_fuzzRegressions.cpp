// Replays every input that once made a fuzz target fail, through the same
// entry point, so a fault found by fuzzing never comes back.

#include "fuzzEntries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <functional>

class TestFuzzRegressions : public QObject {
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        const QString root = QStringLiteral(TILVAR_TEST_DATA "/fuzz-regressions");
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        int n = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            const QString target = QFileInfo(path).dir().dirName();
            QTest::newRow(qPrintable(target + QLatin1Char('/') + QFileInfo(path).fileName()))
                << target << path;
            ++n;
        }
        if (n == 0)
            QTest::newRow("none") << QString() << QString();
    }

    void replay()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        if (target.isEmpty())
            QSKIP("no regression input recorded");
        static const QMap<QString, std::function<int(const uint8_t*, size_t)>> entries{
            {QStringLiteral("fuzz_loadDb"), fuzzEntry::loadDb},
            {QStringLiteral("fuzz_commaList"), fuzzEntry::commaList},
            {QStringLiteral("fuzz_qntText"), fuzzEntry::qntText},
            {QStringLiteral("fuzz_settings"), fuzzEntry::settings},
            {QStringLiteral("fuzz_artListXml"), fuzzEntry::artListXml},
            {QStringLiteral("fuzz_records"), fuzzEntry::records},
        };
        QVERIFY2(entries.contains(target), qPrintable(QStringLiteral("unknown target ") + target));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(entries.value(target)(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                       size_t(bytes.size())),
                 0);
    }

    // Inputs every reader must survive, whatever the fuzzers found so far.
    void hostileInputs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("huge long string") << QByteArray("\x02\x02\x01\x0c\xff\xff\xff\x7f", 8);
        QTest::newRow("huge utf8 string") << QByteArray("\x02\x02\x01\x14\xff\xff\xff\xff", 8);
        QTest::newRow("huge wide string") << QByteArray("\x02\x02\x01\x12\xff\xff\xff\x7f", 8);
        QTest::newRow("deep lists") << QByteArray(4096, '\x01');
        QTest::newRow("quotes") << QByteArray(2000, '"');
        QTest::newRow("separators") << QByteArray("|:|:|:|:|:|:|,\",|:|");
        QTest::newRow("xml") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO8859-1\"?>"
                                           "<artList><artItem><artID/></artItem></artList>");
        QTest::newRow("ini") << QByteArray("[general]\nsagentlist=\"\"\"\n[PREFS]\nwLeft=0x\n");
    }

    void hostileInputs()
    {
        QFETCH(QByteArray, bytes);
        const auto* d = reinterpret_cast<const uint8_t*>(bytes.constData());
        const auto n = size_t(bytes.size());
        QCOMPARE(fuzzEntry::loadDb(d, n), 0);
        QCOMPARE(fuzzEntry::commaList(d, n), 0);
        QCOMPARE(fuzzEntry::qntText(d, n), 0);
        QCOMPARE(fuzzEntry::settings(d, n), 0);
        QCOMPARE(fuzzEntry::artListXml(d, n), 0);
        QCOMPARE(fuzzEntry::records(d, n), 0);
    }
};

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzRegressions.moc"
