// Record fields, comma lists, integers, small texts and dates.

#include "core/appError.h"
#include "core/textUtil.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

class TstTextUtil : public QObject {
    Q_OBJECT

private slots:
    void takeFieldSplitsRecords();
    void readCommaList_data();
    void readCommaList();
    void writeCommaList_data();
    void writeCommaList();
    void commaListRoundTripsRandomItems();
    void commaItemHelpers();
    void addCommaItemAndUniqueName();
    void integerRule_data();
    void integerRule();
    void strToIntMessage();
    void smallTextsAndDates();
};

void TstTextUtil::takeFieldSplitsRecords()
{
    QString rec = u"b|:|c"_s;
    QCOMPARE(takeField(rec, REC_SEP), u"b"_s);
    QCOMPARE(takeField(rec, REC_SEP), u"c"_s);
    QCOMPARE(rec, u"c"_s); // no separator left: the record stays
    QString art = u"001|:||:|Lévesque|:|"_s;
    QCOMPARE(takeField(art, REC_SEP), u"001"_s);
    QCOMPARE(takeField(art, REC_SEP), QString());
    QCOMPARE(takeField(art, REC_SEP), u"Lévesque"_s);
    QCOMPARE(art, QString());
    QString prod = u"x:|:y"_s;
    QCOMPARE(takeField(prod, PROD_SEP), u"x"_s);
    QCOMPARE(prod, u"y"_s);
}

void TstTextUtil::readCommaList_data()
{
    // Forms the writer never produces; what it does produce is read back below.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("blanks") << u"   "_s << QStringList();
    QTest::newRow("empty middle") << u"a,,b"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("trailing comma") << u"a,"_s << QStringList{u"a"_s, QString()};
    QTest::newRow("blank splits") << u"a b,c"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("blanks around") << u"  a ,\tb  "_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("unclosed quote") << u"\"a, b"_s << QStringList{u"a, b"_s};
    QTest::newRow("text after quote") << u"\"ab\"cd,e"_s << QStringList{u"ab"_s, u"cd"_s, u"e"_s};
}

void TstTextUtil::readCommaList()
{
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QCOMPARE(::readCommaList(text), items);
}

void TstTextUtil::writeCommaList_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("one empty") << QStringList{QString()} << u"\"\""_s;
    QTest::newRow("two empty") << QStringList{QString(), QString()} << u","_s;
    QTest::newRow("blank") << QStringList{u"Jean Roy"_s, u"x"_s} << u"\"Jean Roy\",x"_s;
    QTest::newRow("comma") << QStringList{u"1,5"_s} << u"\"1,5\""_s;
    QTest::newRow("quote") << QStringList{u"a\"b"_s} << u"\"a\"\"b\""_s;
    QTest::newRow("control") << QStringList{u"a\tb"_s} << u"\"a\tb\""_s;
    QTest::newRow("accent bare") << QStringList{u"Préposé"_s} << u"Préposé"_s;
}

void TstTextUtil::writeCommaList()
{
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QCOMPARE(::writeCommaList(items), text);
    QCOMPARE(::readCommaList(text), items);
}

void TstTextUtil::commaListRoundTripsRandomItems()
{
    QRandomGenerator rng(42);
    const QString alphabet = u"ab ,\"\t\x01é€"_s;
    for (int n = 0; n < 2000; ++n) {
        QStringList items;
        const int count = rng.bounded(1, 6);
        for (int i = 0; i < count; ++i) {
            QString s;
            const int len = rng.bounded(5);
            for (int c = 0; c < len; ++c)
                s += alphabet.at(rng.bounded(int(alphabet.size())));
            items << s;
        }
        QCOMPARE(::readCommaList(::writeCommaList(items)), items);
    }
}

void TstTextUtil::commaItemHelpers()
{
    QCOMPARE(getCommaItem(u"x,y"_s, 1), u"y"_s);
    QCOMPARE(getCommaItem(u"x,y"_s, 5), u"x,y"_s);
    QCOMPARE(getCommaItem(u" x,y "_s, 5), u"x,y"_s);
    QCOMPARE(getCommaItem(u"\" a \",b"_s, 0), u"a"_s);

    QString list = u"a,b,c"_s;
    setCommaItem(list, 1, u"x y"_s);
    QCOMPARE(list, u"a,\"x y\",c"_s);
    QVERIFY_THROWS_EXCEPTION(AppError, setCommaItem(list, 3, u"z"_s));
    QVERIFY_THROWS_EXCEPTION(AppError, setCommaItem(list, -1, u"z"_s));
    QCOMPARE(list, u"a,\"x y\",c"_s);

    QCOMPARE(delCommaItem(u"a,b,c"_s, 0), u"b,c"_s);
    QCOMPARE(delCommaItem(u"a,"_s, 0), u"\"\""_s);
    QVERIFY_THROWS_EXCEPTION(AppError, delCommaItem(u"a"_s, 1));
    QVERIFY_THROWS_EXCEPTION(AppError, delCommaItem(u"a"_s, -2));

    QCOMPARE(commaCount(u"   "_s), 0);
    QCOMPARE(commaCount(u"a,,b"_s), 3);
    QCOMPARE(commaCount(u"\"\""_s), 1);

    QCOMPARE(commaIndexOf(u"a,B,b"_s, u"b"_s), 2);

    QCOMPARE(commaSum(u"1,2,x,-4"_s), u"-1"_s);
    QCOMPARE(commaSum(u"2147483647,1"_s), u"2147483648"_s);

    // A negative index is refused with the list's own message.
    try {
        getCommaItem(u"a,b"_s, -1);
        QFAIL("no error");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), u"List index out of bounds (-1)"_s);
    }
}

void TstTextUtil::addCommaItemAndUniqueName()
{
    QCOMPARE(addCommaItem(u"beta"_s, u"gamma,alpha"_s), u"alpha,gamma,beta"_s);
    QCOMPARE(addCommaItem(u"ALPHA"_s, u"gamma,alpha"_s), u"alpha,gamma"_s);
    QCOMPARE(addCommaItem(u"Jean Roy"_s, u"élise,Albert"_s), u"Albert,élise,\"Jean Roy\""_s);

    QCOMPARE(uniqueName(u"rapport"_s, u"rapport,rapport1"_s), u"rapport2"_s);
    QCOMPARE(uniqueName(u"rapport"_s, u"rapport,rapport2"_s), u"rapport1"_s);
    QCOMPARE(uniqueName(u"r"_s, u"R"_s), u"r"_s);
}

void TstTextUtil::integerRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("negative") << u"-2"_s << true << -2;
    QTest::newRow("blanks") << u"  12\t"_s << true << 12;
    QTest::newRow("leading zeros") << u"007"_s << true << 7;
    QTest::newRow("max") << u"2147483647"_s << true << 2147483647;
    QTest::newRow("min") << u"-2147483648"_s << true << int(-2147483648LL);
    QTest::newRow("too big") << u"2147483648"_s << false << 0;
    QTest::newRow("very long") << u"99999999999999999999999"_s << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("sign only") << u"-"_s << false << 0;
    QTest::newRow("inner blank") << u"1 2"_s << false << 0;
    QTest::newRow("hex") << u"$1F"_s << false << 0;
    QTest::newRow("arabic digit") << u"\u0661"_s << false << 0;
}

void TstTextUtil::integerRule()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    int v = -99;
    QCOMPARE(tryStrToInt(text, v), ok);
    if (ok) {
        QCOMPARE(v, value);
        QCOMPARE(strToInt(text), value);
    } else {
        QCOMPARE(v, -99);
        QCOMPARE(strToIntDef(text, 5), 5);
    }
}

void TstTextUtil::strToIntMessage()
{
    try {
        strToInt(u"abc"_s);
        QFAIL("no error");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), u"'abc' is not a valid integer value"_s);
    }
    QCOMPARE(compareNum(u"10"_s, u"9"_s), 1);
    QCOMPARE(compareNum(u"x"_s, u"3"_s), -3);
    QVERIFY(compareNum(u"-2147483648"_s, u"2147483647"_s) < 0);
}

void TstTextUtil::smallTextsAndDates()
{
    QCOMPARE(stripDollar(u"12.50$"_s), u"12.50"_s);
    QCOMPARE(stripDollar(u"$1$"_s), u"1$"_s);
    QCOMPARE(twoDigits(7), u"07"_s);
    QCOMPARE(twoDigits(2009), u"09"_s);

    // Only style 1 and months 1..12 name a month; anything else keeps the text.
    QString m = u"keep"_s;
    monthName(2, 5, m);
    monthName(1, 13, m);
    QCOMPARE(m, u"keep"_s);
    monthName(1, 5, m);
    QCOMPARE(m, u"mai_"_s);
    monthName(1, 12, m);
    QCOMPARE(m, u"décembre"_s);

    QCOMPARE(cutAtDot(u"  ventes.tlvdb "_s), u"ventes"_s);
    QCOMPARE(cutAtDot(u"a.b.c"_s), u"a"_s);

    QCOMPARE(dequote(u"abc"_s), QString());
    QCOMPARE(dequote(u"\"a\"\"b\""_s), u"a\"b"_s);
    QCOMPARE(dequote(u"\"ab\"cd"_s), u"ab"_s);
    QCOMPARE(dequote(u"\"open"_s), u"open"_s);
    QCOMPARE(trimBlanks(u" \t a b \n"_s), u"a b"_s);

    QCOMPARE(dateStr(QDate(2009, 5, 18)), u"090518"_s);
    QCOMPARE(strToDate(u"090518"_s), QDate(2009, 5, 18));
    QCOMPARE(strToDate(u"000229"_s), QDate(2000, 2, 29));
    QVERIFY(!strToDate(u"090230"_s).isValid());
    QVERIFY(!strToDate(u"09-518"_s).isValid());
    QVERIFY(!strToDate(u" 90518"_s).isValid());
}

QTEST_GUILESS_MAIN(TstTextUtil)
#include "tst_textUtil.moc"
