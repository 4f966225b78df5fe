// The INI layer: reading rules (case, blanks, quotes, length, integers,
// flags), where writes go, what is preserved, encodings and refused writes.

#include "core/appError.h"
#include "core/cp1252.h"
#include "core/iniFile.h"
#include "support/testFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstIni : public QObject {
    Q_OBJECT

private slots:
    void init();
    void readingRules();
    void integersAndFlags();
    void missing();
    void writePlaces();
    void writeKeepsOtherContent();
    void valuesReadBackAsWritten();
    void encodings();
    void refusedWrite();

private:
    QString fileWith(const QByteArray& bytes);
    QByteArray content() const;
    QTemporaryDir m_dir;
    QString m_path;
};

QString TstIni::fileWith(const QByteArray& bytes)
{
    writeFileBytes(m_path, bytes);
    return m_path;
}

QByteArray TstIni::content() const
{
    return readFileBytes(m_path);
}

void TstIni::init()
{
    m_path = m_dir.filePath(u"tilvarDB.ini"_s);
    QFile::remove(m_path);
}

void TstIni::readingRules()
{
    const QByteArray longValue(3000, 'x');
    const TIniFile ini(fileWith("; comment=1\r\n"
                                "[general]\r\n"
                                "  CURARTNO  =  005  \r\n"
                                "dq=\"  quoted  \"\r\n"
                                "sq='single'\r\n"
                                "mixed=\"a'\r\n"
                                "inner=a \"b\" c\r\n"
                                "empty=\r\n"
                                "eq=a=b\r\n"
                                "dup=first\r\n"
                                "dup=second\r\n"
                                "long=" + longValue + "\r\n"
                                "[ Other ]\r\n"
                                "curArtNo=999\r\n"));
    QCOMPARE(ini.readString(u"GENERAL"_s, u"curArtNo"_s, u"d"_s), u"005"_s);
    QCOMPARE(ini.readString(u"General"_s, u"dq"_s, u"d"_s), u"  quoted  "_s);
    QCOMPARE(ini.readString(u"GENERAL"_s, u"sq"_s, u"d"_s), u"single"_s);
    QCOMPARE(ini.readString(u"GENERAL"_s, u"mixed"_s, u"d"_s), u"\"a'"_s);
    QCOMPARE(ini.readString(u"GENERAL"_s, u"inner"_s, u"d"_s), u"a \"b\" c"_s);
    // An empty value is a value: the default is for a missing key only.
    QCOMPARE(ini.readString(u"GENERAL"_s, u"empty"_s, u"d"_s), QString());
    QCOMPARE(ini.readString(u"GENERAL"_s, u"eq"_s, u"d"_s), u"a=b"_s);
    QCOMPARE(ini.readString(u"GENERAL"_s, u"dup"_s, u"d"_s), u"first"_s);
    QCOMPARE(ini.readString(u"GENERAL"_s, u"long"_s, u"d"_s).size(), 2047);
    QCOMPARE(ini.readString(u"other"_s, u"CURARTNO"_s, u"d"_s), u"999"_s);
    // A comment is not a key, and a key before any section belongs to none.
    QCOMPARE(ini.readString(u"GENERAL"_s, u"; comment"_s, u"d"_s), u"d"_s);
}

void TstIni::integersAndFlags()
{
    const TIniFile ini(fileWith("[P]\r\n"
                                "dec=42\r\nhex=0x1F\r\nHEX=0X10\r\nspaced= 7 \r\n"
                                "bad=12abc\r\nbare=0x\r\nhuge=99999999999\r\n"
                                "f1=1\r\nf2=2\r\nfyes=yes\r\nfhex0=0x0\r\n"));
    auto num = [&ini](const char16_t* key) {
        return ini.readInteger(u"P"_s, QString::fromUtf16(key), -5);
    };
    QCOMPARE(num(u"dec"), 42);
    QCOMPARE(num(u"hex"), 31);
    QCOMPARE(num(u"HEX"), 31); // keys match whatever their case: the first one
    QCOMPARE(num(u"spaced"), 7);
    QCOMPARE(num(u"bad"), -5);
    QCOMPARE(num(u"bare"), -5);
    QCOMPARE(num(u"huge"), -5);
    QCOMPARE(num(u"absent"), -5);
    QCOMPARE(ini.readBool(u"P"_s, u"f1"_s, false), true);
    QCOMPARE(ini.readBool(u"P"_s, u"f2"_s, false), true);
    QCOMPARE(ini.readBool(u"P"_s, u"fyes"_s, false), false);
    QCOMPARE(ini.readBool(u"P"_s, u"fyes"_s, true), true);
    QCOMPARE(ini.readBool(u"P"_s, u"fhex0"_s, true), false);
}

void TstIni::missing()
{
    const TIniFile none(m_dir.filePath(u"absent.ini"_s));
    QCOMPARE(none.readString(u"GENERAL"_s, u"curArtNo"_s, u"001"_s), u"001"_s);
    QVERIFY(!QFile::exists(m_dir.filePath(u"absent.ini"_s)));
    // A folder in place of the file reads as an empty file.
    const TIniFile dir(m_dir.path());
    QCOMPARE(dir.readString(u"A"_s, u"b"_s, u"c"_s), u"c"_s);
}

void TstIni::writePlaces()
{
    fileWith("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    TIniFile ini(m_path);
    ini.writeString(u"a"_s, u"new"_s, u"v"_s);     // end of its section, before the blank line
    ini.writeString(u"C"_s, u"z"_s, u"3"_s);       // a new section at the end of the file
    ini.writeString(u"b"_s, u"Y"_s, u"20"_s);      // replaced, spelled as written
    ini.writeString(u"C"_s, u"w"_s, u"4"_s);
    QCOMPARE(content(), QByteArray("[A]\r\nx=1\r\nnew=v\r\n\r\n[B]\r\nY=20\r\n[C]\r\nz=3\r\nw=4\r\n"));
    // Each write is on the disk at once.
    QCOMPARE(TIniFile(m_path).readString(u"C"_s, u"w"_s, QString()), u"4"_s);

    TIniFile fresh(m_dir.filePath(u"new.ini"_s));
    fresh.writeInteger(u"GENERAL"_s, u"curCIndex"_s, -1);
    fresh.writeBool(u"PREFS"_s, u"autoLoad"_s, true);
    fresh.writeBool(u"PREFS"_s, u"showSplash"_s, false);
    QCOMPARE(readFileBytes(fresh.path()),
             QByteArray("[GENERAL]\r\ncurCIndex=-1\r\n[PREFS]\r\nautoLoad=1\r\nshowSplash=0\r\n"));

    // A file with bare line feeds keeps them.
    fileWith("[A]\nx=1\n");
    TIniFile(m_path).writeString(u"A"_s, u"y"_s, u"2"_s);
    QCOMPARE(content(), QByteArray("[A]\nx=1\ny=2\n"));
}

void TstIni::writeKeepsOtherContent()
{
    const QString sample = QStringLiteral(TILVAR_TEST_DATA "/ini-old.ini");
    const QByteArray original = readFileBytes(sample);
    fileWith(original);

    TIniFile ini(m_path);
    QCOMPARE(ini.readString(u"GENERAL"_s, u"lastSAgent"_s, QString()), u"Hélène"_s);
    QCOMPARE(ini.readString(u"PREFS"_s, u"artFileName"_s, QString()), u"Boutique €.tlvdb"_s);
    // Writing the values the file already holds leaves every byte as it was.
    ini.writeString(u"GENERAL"_s, u"lastSAgent"_s, u"Hélène"_s);
    ini.writeString(u"PREFS"_s, u"artFileName"_s, u"Boutique €.tlvdb"_s);
    ini.writeInteger(u"PREFS"_s, u"wWidth"_s, 900);
    QCOMPARE(content(), original);

    ini.writeString(u"GENERAL"_s, u"pDateStr"_s, u"090518"_s);
    QByteArray expected = original;
    expected.replace("note=\xE0 garder\r\n", "note=\xE0 garder\r\npDateStr=090518\r\n");
    QCOMPARE(content(), expected);
}

void TstIni::valuesReadBackAsWritten()
{
    TIniFile ini(m_path);
    const QStringList values{u"\"Marie Claire\""_s, u"'x'"_s, u"  blanks  "_s, u"\"a\",b"_s,
                             u"\""_s, u"a=b;c"_s, QString()};
    for (int i = 0; i < values.size(); ++i)
        ini.writeString(u"S"_s, u"k%1"_s.arg(i), values.at(i));
    const TIniFile back(m_path);
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(back.readString(u"S"_s, u"k%1"_s.arg(i), u"default"_s), values.at(i));
    // A line break cannot be kept in a line: it becomes a blank.
    ini.writeString(u"S"_s, u"nl"_s, u"a\r\nb\nc"_s);
    QCOMPARE(TIniFile(m_path).readString(u"S"_s, u"nl"_s, QString()), u"a b c"_s);
}

void TstIni::encodings()
{
    TIniFile ini(m_path);
    ini.writeString(u"GENERAL"_s, u"lastSAgent"_s, u"Hélène €"_s);
    QCOMPARE(content(), QByteArray("[GENERAL]\r\nlastSAgent=H\xE9l\xE8ne \x80\r\n"));

    // A value Windows-1252 cannot hold turns the file into marked UTF-8.
    ini.writeString(u"GENERAL"_s, u"sAgentList"_s, u"Łukasz,Zoë ✓"_s);
    QVERIFY(content().startsWith("\xEF\xBB\xBF[GENERAL]\r\n"));
    const TIniFile utf(m_path);
    QCOMPARE(utf.readString(u"GENERAL"_s, u"sAgentList"_s, QString()), u"Łukasz,Zoë ✓"_s);
    QCOMPARE(utf.readString(u"GENERAL"_s, u"lastSAgent"_s, QString()), u"Hélène €"_s);

    // Back to Windows-1252 once every character fits again.
    ini.writeString(u"GENERAL"_s, u"sAgentList"_s, u"Zoë"_s);
    QCOMPARE(content(), QByteArray("[GENERAL]\r\nlastSAgent=H\xE9l\xE8ne \x80\r\nsAgentList=Zo\xEB\r\n"));

    // UTF-8 without the mark (a file edited by hand) is recognised; written
    // again, it is Windows-1252 since every character fits.
    fileWith("[A]\r\nnom=Z\xC3\xB6" "e \xE2\x82\xAC\r\n");
    TIniFile bare(m_path);
    QCOMPARE(bare.readString(u"A"_s, u"nom"_s, QString()), u"Zöe €"_s);
    bare.writeString(u"A"_s, u"b"_s, u"1"_s);
    QCOMPARE(content(), QByteArray("[A]\r\nnom=Z\xF6" "e \x80\r\nb=1\r\n"));

    // Windows-1252 text whose bytes also read as UTF-8 ("Ã©" is the UTF-8 of
    // "é") is written as marked UTF-8, so it is not read back as "é".
    TIniFile mojibake(m_path);
    mojibake.writeString(u"A"_s, u"nom"_s, u"Ã©"_s);
    QVERIFY(content().startsWith("\xEF\xBB\xBF"));
    QCOMPARE(TIniFile(m_path).readString(u"A"_s, u"nom"_s, QString()), u"Ã©"_s);

    // Bytes Windows-1252 leaves unassigned survive a rewrite.
    fileWith("[A]\r\nodd=\x81\x8D\r\n");
    TIniFile odd(m_path);
    odd.writeString(u"A"_s, u"b"_s, u"1"_s);
    QCOMPARE(content(), QByteArray("[A]\r\nodd=\x81\x8D\r\nb=1\r\n"));
}

void TstIni::refusedWrite()
{
    // A path whose folder is a plain file cannot be written, even by root.
    QVERIFY(writeFileBytes(m_dir.filePath(u"plain"_s), {}));
    const QString path = m_dir.filePath(u"plain/tilvarDB.ini"_s);
    TIniFile ini(path);
    try {
        ini.writeString(u"GENERAL"_s, u"curArtNo"_s, u"001"_s);
        QFAIL("no error");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), u"Unable to write to "_s + path);
    }

    // A failing write leaves the object as the file is.
    TIniFile hooked(m_path);
    hooked.writeString(u"A"_s, u"x"_s, u"1"_s);
    hooked.setWriter([](const QString&, const QByteArray&) { throw AppError(u"disk"_s); });
    QVERIFY_THROWS_EXCEPTION(AppError, hooked.writeString(u"A"_s, u"y"_s, u"2"_s));
    QCOMPARE(hooked.readString(u"A"_s, u"y"_s, u"none"_s), u"none"_s);
    QCOMPARE(content(), QByteArray("[A]\r\nx=1\r\n"));
}

QTEST_GUILESS_MAIN(TstIni)
#include "tst_ini.moc"
