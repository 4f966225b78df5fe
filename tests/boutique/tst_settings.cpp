// The settings file: the INI layer's reading rules, where writes go, what they
// keep, encodings, and the program-wide settings read and written through it.

#include "boutique/appPaths.h"
#include "boutique/appState.h"
#include "core/iniFile.h"
#include "boutique/settings.h"
#include "support/fakePrompt.h"
#include "support/modelErrors.h"
#include "support/testFiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {
const QString OLD_INI = QStringLiteral(TILVAR_TEST_DATA "/ini-old.ini");
} // namespace

class TstSettings : public QObject {
    Q_OBJECT

private slots:
    void readingAndDefaults()
    {
        // A string, an int (default -5) or a flag (default its opposite).
        const struct {
            const char* section;
            const char* key;
            QVariant value;
        } cases[] = {
            {"GENERAL", "curArtNo", u"005"_s}, // case and blanks
            {"General", "dq", u"  quoted  "_s},
            {"GENERAL", "sq", u"single"_s},
            {"GENERAL", "mixed", u"\"a'"_s}, // unpaired quotes
            {"GENERAL", "inner", u"a \"b\" c"_s},
            {"GENERAL", "empty", QString()}, // empty is a value
            {"GENERAL", "emptyq", QString()}, // and quoted
            {"GENERAL", "eq", u"a=b"_s},
            {"GENERAL", "dup", u"first"_s}, // first of two
            {"GENERAL", "long", QString(2047, u'x')}, // long value cut
            {"other", "CURARTNO", u"999"_s}, // section in blanks
            {"GENERAL", "; comment", u"d"_s}, // a comment is no key
            {"none", "dec", u"d"_s},
            {"P", "dec", 42},
            {"P", "hex", 31},
            {"P", "HEX", 31}, // the first, in any case
            {"P", "spaced", 7},
            {"P", "bad", -5},
            {"P", "bare", -5}, // bare 0x
            {"P", "huge", -5},
            {"P", "f2", true},
            {"P", "fhex0", false},
        };
        const TIniFile ini(QStringLiteral(TILVAR_TEST_DATA "/ini-rules.ini"));
        for (const auto& c : cases) {
            const QString section = QString::fromLatin1(c.section), key = QString::fromLatin1(c.key);
            if (c.value.typeId() == QMetaType::Int)
                QCOMPARE(ini.readInteger(section, key, -5), c.value.toInt());
            else if (c.value.typeId() == QMetaType::Bool)
                QCOMPARE(ini.readBool(section, key, !c.value.toBool()), c.value.toBool());
            else
                QCOMPARE(ini.readString(section, key, u"d"_s), c.value.toString());
        }

        // Defaults, and a file the older program wrote.
        QCOMPARE(defaultFileNameFor(QDate(2009, 5, 18)), u"bArtisan09"_s);
        QTemporaryDir dir;
        AppState st;
        st.defaultFileName = u"bArtisan09"_s;
        st.curArtNo = st.pubPrefs = u"x"_s;
        st.showSplash = false;
        st.wWidth = 1;
        st.curCIndex = 4;
        // Without a file, values left from before are replaced by the defaults;
        // a first start loads again what it saved.
        st.autoload = false;
        readSettings(dir.filePath(u"tilvarDB.ini"_s), st);
        QCOMPARE((QStringList{st.curArtNo, st.artFileName, st.pubPrefs}), (QStringList{u"001"_s, u"bArtisan09"_s, u"00001"_s}));
        QCOMPARE((QList<int>{st.autoload, st.showSplash, st.wWidth, st.curCIndex}), (QList<int>{1, 1, 830, -1}));
        QVERIFY(!QFile::exists(dir.filePath(u"tilvarDB.ini"_s)));
        // A named pipe reads as an empty file, at once: it is never opened to wait for a writer.
        const QString fifo = dir.filePath(u"pipe.ini"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        AppState noDefault;
        readSettings(fifo, noDefault);
        QCOMPARE(noDefault.artFileName, defaultFileNameFor(QDate::currentDate()));

        // Section [prefs] in any case, "autoload" (written "autoLoad"), a hex
        // number, a width read as it is (the window ignores it), a height that is no number.
        readSettings(OLD_INI, st);
        QCOMPARE((QStringList{st.curArtNo, st.sAgentList, st.lastSAgent, st.artFileName, st.pubPrefs}),
                 (QStringList{u"004"_s, u"\"Marie Claire\",Paul"_s, u"Hélène"_s, u"Boutique €.tlvdb"_s, u"01011"_s}));
        QCOMPARE((QList<int>{st.curCIndex, st.autoload, st.showSplash, st.wLeft, st.wWidth, st.wHeight}),
                 (QList<int>{2, 1, 0, 16, 900, 655}));
    }

    // The share and the payout minimum read from the file, each at the ends
    // of its range and just past them (past them: the usual value).
    void rangesReadFromTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"tilvarDB.ini"_s);
        for (const auto& [share, percent, minimum, read] :
             {std::tuple{"0", 0, "0", u"0"}, {"100", 100, "10000", u"10000"}, {"-1", 0, "-0.01", u"1.00"},
              {"101", 0, "10000.01", u"1.00"}, {"60", 60, "abc", u"1.00"}, {"x", 0, "0.0001", u"0.0001"}}) {
            QVERIFY(writeFileBytes(path, QByteArray("[PREFS]\nartSharePercent=") + share + "\npayoutMinimum=" + minimum));
            AppState st;
            readSettings(path, st);
            QVERIFY2(st.artSharePercent == percent && st.payoutMinimum == Money::parse(QStringView(read)), minimum);
        }
    }

    void writing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        const QByteArray two("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
        const auto row = [](const char* name, const QByteArray& before, const char* section, const char* key,
                            const QString& value, const QByteArray& after) {
            QTest::newRow(name) << before << QString::fromLatin1(section) << QString::fromLatin1(key) << value << after;
        };
        row("end of its section", two, "a", "new", u"v"_s, "[A]\r\nx=1\r\nnew=v\r\n\r\n[B]\r\ny=2\r\n");
        row("replaced as spelled", two, "b", "Y", u"20"_s, "[A]\r\nx=1\r\n\r\n[B]\r\nY=20\r\n");
        row("new section", two, "C", "z", u"3"_s, two + "[C]\r\nz=3\r\n");
        row("new file", {}, "GENERAL", "curCIndex", u"-1"_s, "[GENERAL]\r\ncurCIndex=-1\r\n");
        row("bare line feeds kept", "[A]\nx=1\n", "A", "y", u"2"_s, "[A]\nx=1\ny=2\n");
        // Values whose blanks or quotes would be lost are quoted whole.
        row("quote pair", {}, "S", "k", u"\"Marie Claire\""_s, "[S]\r\nk=\"\"Marie Claire\"\"\r\n");
        row("single quotes", {}, "S", "k", u"'x'"_s, "[S]\r\nk=\"'x'\"\r\n");
        row("blanks", {}, "S", "k", u"  blanks  "_s, "[S]\r\nk=\"  blanks  \"\r\n");
        for (const QString& v : {u"\"a\",b"_s, u"\""_s, u"a=b;c"_s, QString()})
            row(qPrintable(u"as is: "_s + v), {}, "S", "k", v, "[S]\r\nk=" + v.toLatin1() + "\r\n");
        // Windows-1252 while every character fits; else marked UTF-8.
        row("cp1252", {}, "A", "n", u"Hélène €"_s, "[A]\r\nn=H\xE9l\xE8ne \x80\r\n");
        row("to utf8", "[A]\r\nx=Zo\xEB\r\n", "A", "n", u"Łukasz ✓"_s,
            "\xEF\xBB\xBF[A]\r\nx=Zo\xC3\xAB\r\nn=\xC5\x81ukasz \xE2\x9C\x93\r\n");
        row("back to cp1252", "\xEF\xBB\xBF[A]\r\nn=\xC5\x81\r\n", "A", "n", u"Zoë"_s, "[A]\r\nn=Zo\xEB\r\n");
        // UTF-8 without the mark (edited by hand) is recognised.
        row("bare utf8", "[A]\r\nnom=Z\xC3\xB6" "e \xE2\x82\xAC\r\n", "A", "b", u"1"_s, "[A]\r\nnom=Z\xF6" "e \x80\r\nb=1\r\n");
        // Windows-1252 bytes that also read as UTF-8 ("Ã©" is the UTF-8 of "é").
        row("would read as utf8", {}, "A", "n", u"Ã©"_s, "\xEF\xBB\xBF[A]\r\nn=\xC3\x83\xC2\xA9\r\n");
        row("unassigned bytes", "[A]\r\nodd=\x81\x8D\r\n", "A", "b", u"1"_s, "[A]\r\nodd=\x81\x8D\r\nb=1\r\n");
        // The same value leaves every byte as it was; a new key goes before the blank line.
        const QByteArray old = readFileBytes(OLD_INI);
        row("same value", old, "PREFS", "artFileName", u"Boutique €.tlvdb"_s, old);
        row("before blank line", old, "GENERAL", "pDateStr", u"090518"_s,
            QByteArray(old).replace("note=\xE0 garder\r\n", "note=\xE0 garder\r\npDateStr=090518\r\n"));
    }

    void writing()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"tilvarDB.ini"_s);
        if (!before.isEmpty())
            QVERIFY(writeFileBytes(path, before));
        TIniFile ini(path);
        ini.writeString(section, key, value);
        QCOMPARE(readFileBytes(path), after);
        QCOMPARE(TIniFile(path).readString(section, key, u"default"_s), value);
        // A line break cannot be kept in a line: it becomes a blank.
        ini.writeString(section, key, u"a\r\nb\nc\rd"_s);
        QCOMPARE(TIniFile(path).readString(section, key, QString()), u"a b c d"_s);
    }

    void dataFolders()
    {
        QStandardPaths::setTestModeEnabled(true);
        // A build or portable copy, a copy installed in /usr/bin, a folder gone.
        for (const QString& installed : {QString(), u"/usr/bin"_s, u"/nonexistent/tilvar/bin"_s}) {
            QTemporaryDir tmp;
            const bool beside = installed.isEmpty();
            AppState st;
            setupStartPaths(st, beside ? tmp.path() : installed, QDate(2026, 5, 18));
            const QString home = beside ? tmp.path() + u"/"_s
                                        : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/TilvarBD/"_s;
            const QString config = beside ? home
                                          : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/TilvarBD/"_s;
            QCOMPARE((QStringList{st.dataDir, st.xmlDir, st.iniPath}),
                     (QStringList{home + u"data/"_s, home + u"dXML/"_s, config + u"tilvarDB.ini"_s}));
            QVERIFY(dataFolderText(st).contains(QDir::toNativeSeparators(st.dataDir)));
            QVERIFY(dataFolderText(st).contains(beside ? u"à côté du programme"_s : st.iniPath));
        }
        // A folder the settings name without its whole path is not used.
        QTemporaryDir rel;
        QVERIFY(writeFileBytes(rel.filePath(u"tilvarDB.ini"_s), "[PREFS]\r\ndataFolder=ailleurs\r\n"));
        AppState relative;
        setupStartPaths(relative, rel.path(), QDate(2026, 5, 18));
        QCOMPARE(relative.dataDir, rel.path() + u"/data/"_s);
        QVERIFY(!dataFolderText(relative).contains(u"choisi au démarrage"_s));

        // A folder chosen because the default could not be made serves again at the
        // next start, read by the program and tlvdb alike; every other line of the
        // settings (unknown keys and sections too) stays, also through a later save.
        QTemporaryDir tmp;
        QTemporaryDir other;
        const QString ini = tmp.filePath(u"tilvarDB.ini"_s);
        const QByteArray before = "[PREFS]\r\nshopName=Chez Zoé\r\nfutureKey=1\r\n[LATER]\r\nx=y\r\n";
        QVERIFY(writeFileBytes(ini, before) && writeFileBytes(tmp.filePath(u"data"_s), "a file, not a folder"));
        AppState st;
        setupStartPaths(st, tmp.path(), QDate(2026, 5, 18));
        FakePrompt cancelled; // asked, then no folder chosen: nothing can be saved
        QVERIFY(!checkDataFolder(st, cancelled));
        FakePrompt prompt;
        prompt.folderNames << other.path();
        QVERIFY(checkDataFolder(st, prompt));
        QCOMPARE(prompt.questions.size(), 1);
        QVERIFY(prompt.questions.first().contains(QDir::toNativeSeparators(tmp.filePath(u"data"_s))));

        AppState next;
        setupStartPaths(next, tmp.path(), QDate(2026, 5, 18));
        QCOMPARE((QStringList{next.dataDir, next.xmlDir, next.iniPath}),
                 (QStringList{other.path() + u"/data/"_s, other.path() + u"/dXML/"_s, ini}));
        QVERIFY(dataFolderText(next).contains(u"choisi au démarrage"_s));
        FakePrompt quiet;
        QVERIFY(checkDataFolder(next, quiet) && quiet.all.isEmpty());
        readSettings(ini, next);
        writeSettings(ini, next);
        const TIniFile saved(ini);
        QCOMPARE((QStringList{saved.readString(u"PREFS"_s, DATA_FOLDER_KEY, {}), saved.readString(u"PREFS"_s, u"futureKey"_s, {}),
                              saved.readString(u"LATER"_s, u"x"_s, {}), saved.readString(u"PREFS"_s, u"shopName"_s, {})}),
                 (QStringList{other.path() + u"/"_s, u"1"_s, u"y"_s, u"Chez Zoé"_s}));

        // Settings that cannot be written: the folder serves this time, and the user is told.
        AppState ro;
        setupStartPaths(ro, tmp.path(), QDate(2026, 5, 18));
        ro.dataDir = tmp.filePath(u"data/sub/"_s);
        ro.iniPath = tmp.filePath(u"data/tilvarDB.ini"_s);
        FakePrompt told;
        told.folderNames << other.path();
        QVERIFY(checkDataFolder(ro, told));
        QCOMPARE(told.errors.size(), 1);
        QVERIFY(told.errors.first().contains(QDir::toNativeSeparators(ro.iniPath)));

        // The order and forms of what is written.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"tilvarDB.ini"_s);
        AppState prefs;
        prefs.lastPeriodNo = u"3"_s;
        prefs.curArtNo = u"002"_s;
        prefs.sAgentList = u"\"Marie Claire\""_s; // quoted whole: the quotes must survive
        prefs.lastSAgent = u"Zoé"_s;
        prefs.pDateStr = u"090518,090519"_s;
        prefs.artFileName = u"bArtisan09.tlvdb"_s;
        prefs.importFName = u"liste.xml"_s;
        prefs.saveSales = false;
        prefs.wLeft = 10;
        prefs.wTop = 20;
        prefs.shopAddress = u"12, rue du Pont\nQuébec"_s;
        prefs.artSharePercent = 60;
        prefs.payoutMinimum = Money::parse(u"25.00");
        prefs.lastCopy = u"2026-12-01"_s;
        writeSettings(path, prefs);
        QCOMPARE(readFileBytes(path), readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/settings-written.ini")));
        // Read back (quotes and all) and written again, nothing changes.
        AppState back;
        readSettings(path, back);
        writeSettings(path, back);
        QCOMPARE(readFileBytes(path), readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/settings-written.ini")));

        // A failing write: each key is on the disk once written; the one that
        // fails is in neither the file nor the object.
        QVERIFY(QFile::remove(path));
        prefs.curArtNo = u"007"_s;
        prefs.lastPeriodNo = prefs.sAgentList = QString();
        TIniFile failing(path);
        int writes = 0;
        failing.setWriter([&writes](const QString& p, const QByteArray& bytes) {
            if (++writes > 3 || !writeFileBytes(p, bytes))
                throw AppError(u"disk full"_s);
        });
        QCOMPARE(errorOf([&] { writeSettings(failing, prefs); }), u"Unable to write to "_s + path);
        QCOMPARE(readFileBytes(path), QByteArray("[GENERAL]\r\nlastPeriodNo=\r\ncurArtNo=007\r\nsAgentList=\r\n"));
        QCOMPARE(failing.readString(u"GENERAL"_s, u"lastSAgent"_s, u"none"_s), u"none"_s);
    }
};

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
