// The settings file read into and written from the program-wide variables,
// and the TtilvarDB holder.

#include "core/appError.h"
#include "core/appState.h"
#include "core/iniFile.h"
#include "core/settings.h"
#include "core/textUtil.h"
#include "core/tilvarDB.h"
#include "support/testFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstSettings : public QObject {
    Q_OBJECT

private slots:
    void defaultsWithoutFile();
    void readOlderFile();
    void writeOrderAndForms();
    void autoloadKey();
    void failingWriteKeepsEarlierKeys();
    void holder();
};

void TstSettings::defaultsWithoutFile()
{
    QCOMPARE(defaultFileNameFor(QDate(2009, 5, 18)), u"bArtisan09"_s);

    QTemporaryDir dir;
    AppState st;
    st.defaultFileName = u"bArtisan09"_s;
    st.curArtNo = u"x"_s;
    st.autoload = true;
    st.showSplash = false;
    st.wWidth = 1;
    st.curCIndex = 4;
    st.pubPrefs = u"x"_s;
    // Values left from before are replaced by the defaults, not kept.
    readSettings(dir.filePath(u"tilvarDB.ini"_s), st);
    QCOMPARE(st.curArtNo, u"001"_s);
    QCOMPARE(st.artFileName, u"bArtisan09"_s);
    QVERIFY(!st.autoload && st.showSplash);
    QCOMPARE(st.wWidth, 830);
    QCOMPARE(st.curCIndex, -1);
    QCOMPARE(st.pubPrefs, u"00001"_s);
    QVERIFY(!QFile::exists(dir.filePath(u"tilvarDB.ini"_s)));

    AppState noDefault;
    readSettings(dir.filePath(u"tilvarDB.ini"_s), noDefault);
    QCOMPARE(noDefault.artFileName, defaultFileNameFor(QDate::currentDate()));
}

void TstSettings::readOlderFile()
{
    AppState st;
    readSettings(QStringLiteral(TILVAR_TEST_DATA "/ini-old.ini"), st);
    QCOMPARE(st.curArtNo, u"004"_s);
    QCOMPARE(readCommaList(st.sAgentList), (QStringList{u"Marie Claire"_s, u"Paul"_s}));
    QCOMPARE(st.lastSAgent, u"Hélène"_s);
    QCOMPARE(st.curCIndex, 2);
    QCOMPARE(st.artFileName, u"Boutique €.tlvdb"_s); // section [prefs], any case
    QVERIFY(st.autoload && !st.showSplash);
    QCOMPARE(st.wLeft, 16);
    QCOMPARE(st.wWidth, 900);  // read as it is; the window ignores it
    QCOMPARE(st.wHeight, 655); // not a number: the default
    QCOMPARE(st.pubPrefs, u"01011"_s);
}

void TstSettings::writeOrderAndForms()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"tilvarDB.ini"_s);
    AppState st;
    st.lastPeriodNo = u"3"_s;
    st.curArtNo = u"002"_s;
    st.sAgentList = u"\"Marie Claire\""_s; // quoted whole: the quotes must survive
    st.lastSAgent = u"Zoé"_s;
    st.pDateStr = u"090518,090519"_s;
    st.artFileName = u"bArtisan09.tlvdb"_s;
    st.importFName = u"liste.xml"_s;
    st.saveSales = false;
    st.wLeft = 10;
    st.wTop = 20;
    st.shopAddress = u"12, rue du Pont\nQuébec"_s;
    writeSettings(path, st);
    QCOMPARE(readFileBytes(path),
             QByteArray("[GENERAL]\r\nlastPeriodNo=3\r\ncurArtNo=002\r\nsAgentList=\"\"Marie Claire\"\"\r\n"
                        "lastSAgent=Zo\xE9\r\npDateStr=090518,090519\r\ncurCIndex=-1\r\n"
                        "[PREFS]\r\nartFileName=bArtisan09.tlvdb\r\nimportFName=liste.xml\r\n"
                        "autoLoad=0\r\nshowSplash=1\r\nsaveSales=0\r\nadminMode=1\r\n"
                        "wLeft=10\r\nwTop=20\r\nwWidth=830\r\nwHeight=655\r\nlastTab=0\r\n"
                        "pubPrefs=00001\r\nshopName=Tilvar\r\nshopAddress=12, rue du Pont|Qu\xE9" "bec\r\n"));

    // Read back (quotes and all) and written again, nothing changes.
    AppState back;
    readSettings(path, back);
    const QByteArray once = readFileBytes(path);
    QCOMPARE(back.shopAddress, st.shopAddress);
    writeSettings(path, back);
    QCOMPARE(readFileBytes(path), once);
}

void TstSettings::autoloadKey()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"tilvarDB.ini"_s);
    QVERIFY(writeFileBytes(path, "[PREFS]\r\nautoload=1\r\nwWidth=900\r\n"));
    AppState st;
    readSettings(path, st);
    QVERIFY(st.autoload);
    st.wWidth = 830; // the real width at shut-down
    writeSettings(path, st);
    const QByteArray bytes = readFileBytes(path);
    QVERIFY(bytes.contains("[PREFS]\r\nautoLoad=1\r\nwWidth=830\r\n"));
    QCOMPARE(bytes.count("utoload"), 0);
}

void TstSettings::failingWriteKeepsEarlierKeys()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"tilvarDB.ini"_s);
    AppState st;
    st.curArtNo = u"007"_s;
    TIniFile ini(path);
    int writes = 0;
    ini.setWriter([&writes](const QString& p, const QByteArray& bytes) {
        if (++writes > 3)
            throw AppError(u"disk full"_s);
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly))
            throw AppError(f.errorString());
        f.write(bytes);
    });
    try {
        writeSettings(ini, st);
        QFAIL("no error");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), u"Unable to write to "_s + path);
    }
    QCOMPARE(readFileBytes(path), QByteArray("[GENERAL]\r\nlastPeriodNo=\r\ncurArtNo=007\r\nsAgentList=\r\n"));

    // A folder that is a plain file: the first key already fails.
    QVERIFY(writeFileBytes(dir.filePath(u"plain"_s), {}));
    QVERIFY_THROWS_EXCEPTION(AppError, writeSettings(dir.filePath(u"plain/t.ini"_s), st));
}

void TstSettings::holder()
{
    AppState st;
    st.curArtNo = u"005"_s;
    st.curItem.clear();
    const TtilvarDB db(st);
    QCOMPARE(st.curArtNo, u"001"_s);
    QCOMPARE(st.curItem, u"001"_s);
    QCOMPARE(db.artColumns.at(8), u"Produits"_s);
    QCOMPARE(db.prodColumns.size(), 7);
}

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
