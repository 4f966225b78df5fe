// Comma lists, integers, amounts, small texts and dates, the
// text order (and its quick path for numeric texts), Windows-1252.

#include "core/cp1252.h"
#include "core/money.h"
#include "core/textPool.h"
#include "core/textUtil.h"
#include "core/wholeChars.h"
#include "support/modelErrors.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

class TstTextUtil : public QObject {
    Q_OBJECT

private slots:
    void commaLists()
    {
        const struct {
            QString text;
            QStringList items;
            bool written; // false: a form the writer never produces
        } cases[] = {
            {QString(), {}, true},
            {u"\"\""_s, {QString()}, true},
            {u","_s, {QString(), QString()}, true},
            {u",a"_s, {QString(), u"a"_s}, true}, // an empty first item among others is not quoted
            {u"\"Jean Roy\",x"_s, {u"Jean Roy"_s, u"x"_s}, true},
            {u"\"1,5\""_s, {u"1,5"_s}, true},
            {u"\"a\"\"b\""_s, {u"a\"b"_s}, true},
            {u"\"a\tb\""_s, {u"a\tb"_s}, true},
            {u"Préposé"_s, {u"Préposé"_s}, true},
            {u"   "_s, {}, false},
            {u"a,,b"_s, {u"a"_s, QString(), u"b"_s}, false},
            {u"a,"_s, {u"a"_s, QString()}, false},
            {u"a b,c"_s, {u"a"_s, u"b"_s, u"c"_s}, false},
            {u"  a ,\tb  "_s, {u"a"_s, u"b"_s}, false},
            {u"\"a, b"_s, {u"a, b"_s}, false}, // unclosed quote
            {u"\"ab\"cd,e"_s, {u"ab"_s, u"cd"_s, u"e"_s}, false},
            // Items holding a doubled quote among items that do not.
            {u"x,\"a\"\"b\",\"c d\",\"e\"\"\",y"_s, {u"x"_s, u"a\"b"_s, u"c d"_s, u"e\""_s, u"y"_s}, true},
            {u"\"a\"\"b\",\"\"\"\",\"c\"\",d"_s, {u"a\"b"_s, u"\""_s, u"c\",d"_s}, false},
            {u"\"a\"\"b\","_s, {u"a\"b"_s, QString()}, false},
        };
        for (const auto& c : cases) {
            QCOMPARE(readCommaList(c.text), c.items);
            if (c.written)
                QCOMPARE(writeCommaList(c.items), c.text);
            // The same items as views, whatever held had before.
            QVarLengthArray<QStringView, 8> views;
            QStringList held{u"stale"_s};
            commaViews(c.text, views, held);
            QStringList got;
            for (const QStringView v : std::as_const(views))
                got << v.toString();
            QCOMPARE(got, c.items);
        }

        // A view ends where its text ends, whatever follows it in memory (here a quote).
        const QString longer = u"\"a\"\"b\"\""_s;
        QVarLengthArray<QStringView, 8> cut;
        QStringList cutHeld;
        commaViews(QStringView(longer).left(6), cut, cutHeld);
        QCOMPARE(cut.size() == 1 ? cut.first().toString() : QString(), u"a\"b"_s);
        const std::vector<char16_t> bare{u'a', u'b'}; // nothing after it in memory: a read past its end is a fault
        commaViews(QStringView(bare.data(), 2), cut, cutHeld);
        QCOMPARE(cut.size() == 1 ? cut.first().toString() : QString(), u"ab"_s);

        // Equal texts given to a pool come back as one copy; others as their own.
        TextPool pool;
        const QString price = pool.get(u"12.00$");
        QCOMPARE(pool.get(QString(u"12.00$"_s)).constData(), price.constData());
        const QString other = pool.get(u"12.50$");
        QCOMPARE(other, u"12.50$"_s);
        QVERIFY(other.constData() != price.constData());
        QVERIFY(pool.get(QStringView()).isNull());
        QCOMPARE(pool.get(QStringView(price).left(2)), u"12"_s);

        // The helpers over one list.
        QString list = u"a,b,c"_s;
        setCommaItem(list, 1, u"x y"_s);
        const QStringList got{getCommaItem(u"x,y"_s, 1), getCommaItem(u" x,y "_s, 2), getCommaItem(u"\" a \",b"_s, 0),
                              list, delCommaItem(u"a,b,c"_s, 0), delCommaItem(u"a,"_s, 0),
                              commaSum(u"1,2,x,-4"_s), commaSum(u"2147483647,1"_s), commaSum(u" "_s),
                              addCommaItem(u"beta"_s, u"gamma,alpha"_s), addCommaItem(u"ALPHA"_s, u"gamma,alpha"_s),
                              addCommaItem(u"Jean Roy"_s, u"élise,Albert"_s), uniqueName(u"rapport"_s, u"rapport,rapport1"_s),
                              uniqueName(u"rapport"_s, u"rapport,rapport2"_s), uniqueName(u"r"_s, u"R"_s)};
        QCOMPARE(got, (QStringList{u"y"_s, u"x,y"_s /* past the end: the whole list */, u"a"_s,
                                   u"a,\"x y\",c"_s, u"b,c"_s, u"\"\""_s,
                                   u"-1"_s, u"2147483648"_s, u"0"_s,
                                   u"alpha,gamma,beta"_s, u"alpha,gamma"_s,
                                   u"Albert,élise,\"Jean Roy\""_s, u"rapport2"_s,
                                   u"rapport1"_s, u"r"_s}));
        QCOMPARE((QList<int>{commaCount(u"   "_s), commaCount(u"a,,b"_s), commaCount(u"\"\""_s), commaIndexOf(u"a,B,b"_s, u"b"_s)}),
                 (QList<int>{0, 3, 1, 2}));
        QVERIFY_THROWS_EXCEPTION(AppError, setCommaItem(list, 3, u"z"_s));
        QVERIFY_THROWS_EXCEPTION(AppError, setCommaItem(list, -1, u"z"_s));
        QCOMPARE(list, u"a,\"x y\",c"_s);
        QVERIFY_THROWS_EXCEPTION(AppError, delCommaItem(u"a"_s, 1));
        QVERIFY_THROWS_EXCEPTION(AppError, delCommaItem(u"a"_s, -2));
        QCOMPARE(errorOf([] { (void)getCommaItem(u"a,b"_s, -1); }), u"List index out of bounds (-1)"_s);
    }

    void orderNumbersAmountsAndDates()
    {
        // Packed quantities sort by date, then quantity as text.
        QStringList items{u"0905183"_s, u"090518-2"_s, u"0905012"_s, u"09051810"_s};
        sortTextList(items);
        QCOMPARE(items, (QStringList{u"0905012"_s, u"090518-2"_s, u"09051810"_s, u"0905183"_s}));
        // Words follow French order whatever their case and accents; texts equal
        // but for case fall back to code points, so the input order never matters;
        // long lists (sorted on collation keys) come out the same.
        const QStringList words{u"zèbre"_s, u"Élise"_s, u"eau"_s, u"Ébène"_s, u"10"_s, u"été"_s, u"côte"_s, u"cote"_s, u"Eau"_s};
        const QStringList sorted{u"10"_s, u"cote"_s, u"côte"_s, u"Eau"_s, u"eau"_s, u"Ébène"_s, u"Élise"_s, u"été"_s, u"zèbre"_s};
        for (int copies : {1, 5}) {
            QStringList a, b, expected;
            for (int i = 0; i < copies; ++i)
                a += words;
            b = QStringList(a.rbegin(), a.rend());
            for (const QString& w : sorted)
                expected += QStringList(copies, w);
            sortTextList(a);
            sortTextList(b);
            QCOMPARE(a, expected);
            QCOMPARE(b, expected);
        }
        QCOMPARE(compareText(u"Alpha"_s, u"alpha"_s), 0);

        // Texts of digits and minus signs take a quick path: it must agree with the collator.
        QCollator collator{QLocale(QLocale::French, QLocale::France)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        QRandomGenerator rng(42);
        auto randomText = [&] {
            QString s;
            for (int n = rng.bounded(9); n > 0; --n)
                s += u"0123456789-"_s.at(rng.bounded(11));
            return s;
        };
        for (int i = 0; i < 20000; ++i) {
            const QString a = randomText();
            const QString b = randomText();
            QVERIFY2((collator.compare(a, b) > 0) - (collator.compare(a, b) < 0) == (compareText(a, b) > 0) - (compareText(a, b) < 0),
                     qPrintable(a + u" vs "_s + b));
        }

        const struct {
            QString text;
            bool ok;
            int value;
        } cases[] = {
            {u"-2"_s, true, -2}, {u"  19\t"_s, true, 19}, {u"+007"_s, true, 7},
            {u"2147483647"_s, true, 2147483647}, {u"-2147483648"_s, true, int(-2147483648LL)},
            {u"2147483648"_s, false, 0}, {u"99999999999999999999999"_s, false, 0}, {QString(), false, 0},
            {u"-"_s, false, 0}, {u"1 2"_s, false, 0}, {u"$1F"_s, false, 0}, {u"\u0661"_s, false, 0},
        };
        for (const auto& c : cases) {
            int v = -99;
            QVERIFY2(tryStrToInt(c.text, v) == c.ok && v == (c.ok ? c.value : -99), qPrintable(c.text));
            QCOMPARE(strToIntDef(c.text, 5), c.ok ? c.value : 5);
        }

        // An integer refused by name; numbers compared as numbers.
        QCOMPARE(errorOf([] { (void)strToInt(u"abc"_s); }), u"'abc' is not a valid integer value"_s);
        QCOMPARE((QList<int>{compareNum(u"10"_s, u"9"_s), compareNum(u"x"_s, u"3"_s)}), (QList<int>{1, -3}));
        QVERIFY(compareNum(u"-2147483648"_s, u"2147483647"_s) < 0);
        // Amounts are ten-thousandths: exact, and rounded half away from zero on display.
        const std::pair<const char16_t*, const char16_t*> shown[] = {
            {u"12.5", u"12.50$"}, {u"", u"0.00$"}, {u"-4.25", u"-4.25$"}, {u"12,50", u"0.00$"}, {u"12.50$", u"0.00$"},
            {u"  7.1 ", u"7.10$"}, {u".5", u"0.50$"}, {u"5.", u"5.00$"}, {u"1.2.3", u"0.00$"}, {u"+2", u"2.00$"},
            {u"0.125", u"0.13$"}, {u"-0.125", u"-0.13$"}, {u"0.12495", u"0.13$"}, {u"0.12494", u"0.12$"},
            {u"-0.004", u"0.00$"}, {u"123456789012.34", u"123456789012.34$"}, {u"99999999999999999999", u"0.00$"},
            {u"1e3", u"0.00$"}, {u".", u"0.00$"}};
        for (const auto& [text, money] : shown)
            QCOMPARE(formatMoney(QString::fromUtf16(text)), QString::fromUtf16(money));
        QCOMPARE(Money::parse(u"12.3456"_s).units(), 123456);
        QCOMPARE(Money::parse(u"-0.0001"_s).units(), -1);
        QCOMPARE(Money::parse(u"0.00005"_s).units(), 1);
        QVERIFY(!Money::tryParse(u"1 000"_s));
        QCOMPARE(Money::fromUnits(std::numeric_limits<qint64>::min()).format(), u"-922337203685477.58$"_s);
        // Beyond the range of amounts is an error, never a wrap; a refused sum leaves the amount.
        const Money big = Money::parse(u"900000000000000.00"_s);
        QVERIFY_THROWS_EXCEPTION(AppError, big + big);
        QVERIFY_THROWS_EXCEPTION(AppError, Money() - big - big);
        QVERIFY_THROWS_EXCEPTION(AppError, big * 2);
        Money sum = big;
        QVERIFY_THROWS_EXCEPTION(AppError, sum += big);
        QCOMPARE(sum, big);

        // Only style 1 and months 1..12 name a month; anything else keeps the text.
        const auto month = [](int style, int m) {
            QString text = u"keep"_s;
            monthName(style, m, text);
            return text;
        };
        QCOMPARE((QStringList{month(2, 5) + month(1, 13) + month(1, 0), month(1, 1), month(1, 12), stripDollar(u"$1$"_s), twoDigits(0), twoDigits(9), twoDigits(2009),
                              cutAtDot(u"  ventes.tlvdb "_s), cutAtDot(u"a.b.c"_s), dequote(u"abc"_s), dequote(u"\"a\"\"b\""_s),
                              dequote(u"\"ab\"cd"_s), dequote(u"\"open"_s), trimBlanks(u" \t a b \n"_s), dateStr(QDate(2009, 5, 18))}),
                 (QStringList{u"keepkeepkeep"_s, u"janvier"_s, u"décembre"_s, u"1$"_s, u"00"_s, u"09"_s, u"09"_s,
                              u"ventes"_s, u"a"_s, QString(), u"a\"b"_s,
                              u"ab"_s, u"open"_s, u"a b"_s, u"090518"_s}));
        QCOMPARE(countOf(0, u"a"_s, u"as"_s) + countOf(1, u"a"_s, u"as"_s) + countOf(2, u"a"_s, u"as"_s)
                     + countOf(-3, u"a"_s, u"as"_s), u"0 a1 a2 as-3 as"_s);
        QCOMPARE(strToDate(u"090518"_s), QDate(2009, 5, 18));
        QCOMPARE(strToDate(u"000229"_s), QDate(2000, 2, 29));
        for (const QString& bad : {u"090230"_s, u"09-518"_s, u" 90518"_s, u"0905189"_s})
            QVERIFY2(!strToDate(bad).isValid(), qPrintable(bad));
    }

    void wholeCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("end");
        const QString flower = u"\U0001F338"_s;
        QTest::newRow("plain") << u"abcdef"_s << 3 << 3;
        QTest::newRow("past the end") << u"ab"_s << 9 << 2;
        QTest::newRow("at the end") << u"ab"_s << 2 << 2;
        QTest::newRow("nothing") << u"ab"_s << 0 << 0;
        QTest::newRow("less than nothing") << u"ab"_s << -1 << 0;
        QTest::newRow("a pair at the very start") << flower + u"c"_s << 1 << 0;
        QTest::newRow("inside a pair") << u"ab"_s + flower + u"c"_s << 3 << 2;
        QTest::newRow("after a pair") << u"ab"_s + flower + u"c"_s << 4 << 4;
        QTest::newRow("before an accent") << u"aE\u0301b"_s << 2 << 1;
        QTest::newRow("emoji and its modifier") << u"a\U0001F44D\U0001F3FDb"_s << 3 << 1;
        QTest::newRow("far in a long text") << QString(500, u'x') + flower << 501 << 500;
        // A low half first, an accent on it, its high half in memory just before the text.
        static const char16_t units[] = {0xD83C, 0xDF38, 0x0301};
        QTest::newRow("after a half before it") << QString::fromRawData(reinterpret_cast<const QChar*>(units + 1), 2) << 1 << 0;
    }

    void wholeCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(int, end);
        QCOMPARE(wholeCharsEnd(text, n), end);
        QCOMPARE(wholeLeft(text, n), text.left(end));
    }

    void charactersAndCp1252()
    {
        // A half at either end, a low one first, a high one last.
        QString half = QString(QChar(0xDF38)) + u"Jo"_s + QChar(0xD83C) + u"x"_s + QChar(0xDF38) + u"\U0001F338"_s
                       + QChar(0xD83C);
        QCOMPARE(mendHalfChars(half), 4);
        QCOMPARE(half, u"\uFFFDJo\uFFFDx\uFFFD\U0001F338\uFFFD"_s);
        // The search finds the last n that fits, whatever the size, with few calls.
        for (const qsizetype size : {0, 1, 2, 7, 64, 32000}) {
            for (const qsizetype answer : {qsizetype(0), qsizetype(1), size / 2, size - 1, size}) {
                if (answer < 0)
                    continue;
                int calls = 0;
                qsizetype asked = 0; // the longest length asked about: never past the text
                const qsizetype got = longestFitting(size, [&](qsizetype k) {
                    ++calls;
                    asked = std::max(asked, k);
                    return k <= answer;
                });
                QCOMPARE(got, std::min(answer, size));
                QVERIFY2(calls <= 40, qPrintable(QString::number(calls)));
                QVERIFY2(asked <= size, qPrintable(u"%1 of %2"_s.arg(asked).arg(size)));
            }
        }

        // Every byte decodes and encodes back; characters without a byte are
        // reported, never dropped silently.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        const QString text = cp1252::decode(all);
        bool ok = false;
        QCOMPARE(cp1252::encode(text, &ok), all);
        QVERIFY(ok && text.size() == 256 && cp1252::fits(text));
        QCOMPARE(cp1252::decode(QByteArray("\x80\x92\x85\x9C\xE9\xA0\x9F", 7)), u"€’…œé\u00A0Ÿ"_s);
        QCOMPARE(cp1252::encode(u"a\u4E2Db"_s, &ok), QByteArray("a?b"));
        QVERIFY(!ok && !cp1252::fits(u"\u0100"_s) && !cp1252::fits(QChar(0x2028)) && cp1252::fits(QChar(0x0178)));
        // C1 controls that stand for cp1252 characters become them; 0x81 has none.
        QCOMPARE(cp1252::fixC1Controls(u"\u0080 \u0092 \u0081 é \u009F"_s), u"€ ’ \u0081 é Ÿ"_s);
    }
};

QTEST_GUILESS_MAIN(TstTextUtil)
#include "tst_textUtil.moc"
