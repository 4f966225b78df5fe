// Replays every input that once made a fuzz target fail, through the same
// entry point, so a fault found by fuzzing never comes back; and hostile inputs
// every reader must survive, whatever the fuzzers found so far.

#include "fuzzEntries.h"

#include <QDirIterator>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {
using Entry = std::function<int(const uint8_t*, size_t)>;
const QMap<QString, Entry> ENTRIES{
    {u"fuzz_loadDb"_s, fuzzEntry::loadDb},         {u"fuzz_commaList"_s, fuzzEntry::commaList},
    {u"fuzz_qntText"_s, fuzzEntry::qntText},       {u"fuzz_settings"_s, fuzzEntry::settings},
    {u"fuzz_artListXml"_s, fuzzEntry::artListXml}, {u"fuzz_records"_s, fuzzEntry::records},
    {u"fuzz_tagLayout"_s, fuzzEntry::tagLayout},
};
} // namespace

class TestFuzzRegressions : public QObject {
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("target"); // empty: every entry
        QTest::addColumn<QByteArray>("bytes");
        QDirIterator it(QStringLiteral(TILVAR_TEST_DATA "/fuzz-regressions"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo file(it.next());
            if (file.fileName().startsWith(u'.'))
                continue;
            QFile f(file.filePath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QTest::addRow("%s/%s", qPrintable(file.dir().dirName()), qPrintable(file.fileName()))
                << file.dir().dirName() << f.readAll();
        }
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("deep lists") << QString() << QByteArray(4096, '\x01');
        QTest::newRow("quotes") << QString() << QByteArray(2000, '"');
        QTest::newRow("separators") << QString() << QByteArray("|:|:|:|:|:|:|,\",|:|");
        QTest::newRow("xml") << QString() << QByteArray("<?xml version=\"1.0\" encoding=\"ISO8859-1\"?>"
                                                        "<artList><artItem><artID/></artItem></artList>");
        QTest::newRow("ini") << QString() << QByteArray("[general]\nsagentlist=\"\"\"\n[PREFS]\nwLeft=0x\n");
    }

    void replay()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, bytes);
        QVERIFY2(target.isEmpty() || ENTRIES.contains(target), qPrintable(u"unknown target "_s + target));
        for (const QString& name : ENTRIES.keys()) {
            if (target.isEmpty() || target == name)
                QVERIFY2(ENTRIES.value(name)(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())) == 0,
                         qPrintable(name));
        }
    }
};

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzRegressions.moc"
