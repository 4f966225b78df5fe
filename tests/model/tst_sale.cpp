// The sales ledger: record strings and its file section, queries, line
// formats, XML fragment and ordering.

#include "core/appError.h"
#include "model/uRep.h"
#include "support/fakePrompt.h"
#include "support/modelSheets.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString VASE = u"TreMar005-003,Vase,12.00$,2,24.00$"_s;

QByteArray saveSection(const TSaleList& l)
{
    return writeSection([&](TWriter& w) { l.writeSales(w); });
}

void loadSection(TSaleList& l, const QByteArray& bytes)
{
    readSection(bytes, [&](TReader& r) { l.readSales(r); });
}

} // namespace

class TestSale : public QObject {
    Q_OBJECT

private slots:
    void recordStrings()
    {
        // A line whose description holds a blank is quoted inside the quoted lines.
        TSaleItem s;
        s.date = u"090518"_s;
        s.agent = u"Préposé"_s;
        s.total = u"24.00$"_s;
        s.lines = writeCommaList({saleLine(u"TreMar005-003"_s, u"Vase bleu"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s)});
        QCOMPARE(s.record(),
                 u"090518|:|Préposé|:|24.00$|:|\"TreMar005-003,\"\"Vase bleu\"\",12.00$,2,24.00$\""_s);
        TSaleItem t;
        t.setRecord(s.record());
        QCOMPARE(t.record(), s.record());

        // A description holding the separator stays whole in the last field.
        s.lines = writeCommaList({saleLine(u"TreMar005-003"_s, u"a|:|b"_s, u"1.00$"_s, u"1"_s, u"1.00$"_s)});
        t.setRecord(s.record());
        QCOMPARE(t.lines, s.lines);
    }

    void sectionRoundTrip()
    {
        const QStringList hostile = {
            saleLine(u"TreMar005-003"_s, u"Vase, \"bleu\"  nuit"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s),
            saleLine(u"VerArt001-001"_s, u" éèà ç€ "_s, u"1.50$"_s, u"0"_s, QString()),
            saleLine(u"VerArt001-002"_s, QString(), u"3.00$"_s, u"-1"_s, QString()),
            saleLine(u"VerArt001-003"_s, u"tab\there\nnewline"_s, u"3.00$"_s, u"1"_s, u"3.00$"_s),
        };
        TSaleList l;
        QCOMPARE(saveSection(l), QByteArray("\x01\x00", 2)); // list begin, list end
        addSheet(l, u"090518"_s, hostile, u"Marie-Ève"_s, u"24.00$"_s);
        addSheet(l, u"090301"_s, {});
        addSheet(l, u"081224"_s, {VASE}, u"Julie"_s);
        const QByteArray bytes = saveSection(l);

        TSaleList back;
        addSheet(back, u"999999"_s, {VASE}); // replaced by the load
        back.curDate = u"999999"_s;
        loadSection(back, bytes);
        QCOMPARE(back.count(), 3);
        QCOMPARE(back.saleLinesOf(0), hostile);
        QCOMPARE(readCommaList(back.saleLinesOf(0).at(0)).at(1), u"Vase, \"bleu\"  nuit"_s);
        QCOMPARE(back.curDate, QString());
        QCOMPARE(saveSection(back), bytes);

        // Cut inside the second sheet's string: the first one is kept.
        QByteArray cut = saveSection(back);
        cut.chop(5);
        TSaleList part;
        QVERIFY_THROWS_EXCEPTION(ReadError, loadSection(part, cut));
        QCOMPARE(part.count(), 2);
        QCOMPARE(part.at(0).agent, u"Marie-Ève"_s);
    }

    void sheetsAndLookups()
    {
        TSaleList l;
        QCOMPARE(l.indexOfCurDate(), -1);
        l.addSheet(u"090518"_s, u"Julie"_s);
        l.addSheet(u"090601"_s, u"Marc"_s);
        QCOMPARE(l.sheetDates(), (QStringList{u"090601"_s, u"090518"_s})); // inserted at the front
        QCOMPARE(l.indexOfCurDate(), 0);
        QCOMPARE(l.indexOfDate(QString()), -1);
        QCOMPARE(l.selectSheet(1).date, u"090518"_s);
        QCOMPARE(l.curDate, u"090518"_s);
        QVERIFY_THROWS_EXCEPTION(AppError, l.sheetDate(2));
        QVERIFY_THROWS_EXCEPTION(AppError, l.sheetLines(-1));

        l.curDate = u"090601"_s;
        QCOMPARE(l.storeSheet(0, u"090601"_s, u"Marc"_s, u"24.00$"_s, {VASE}), u"090601à jour!"_s);
        QCOMPARE(l.sheetLines(0), writeCommaList({VASE}));

        // Several sheets of one date (a file written elsewhere): the last.
        addSheet(l, u"090518"_s, {});
        QCOMPARE(l.indexOfDate(u"090518"_s), 2);
    }

    void sortByDateIsStable()
    {
        // Newest first; sheets of one date keep their order, none is lost,
        // also with 60 000 sheets.
        TSaleList d;
        for (const QString& s : {u"090301a"_s, u"090518b"_s, u"081224c"_s, u"090301d"_s, u"090518e"_s})
            addSheet(d, s.left(6), {}, s.mid(6));
        d.sortByDate();
        QStringList order;
        for (int i = 0; i < d.count(); ++i)
            order << d.at(i).date + d.at(i).agent;
        QCOMPARE(order, (QStringList{u"090518b"_s, u"090518e"_s, u"090301a"_s, u"090301d"_s, u"081224c"_s}));

        TSaleList l;
        for (int i = 0; i < 60000; ++i)
            addSheet(l, u"%1"_s.arg(i % 997, 6, 10, QLatin1Char('0')), {}, QString::number(i));
        l.sortByDate();
        QCOMPARE(l.count(), 60000);
        for (int i = 1; i < l.count(); ++i) {
            const int c = l.at(i - 1).date.compare(l.at(i).date);
            QVERIFY(c > 0 || (c == 0 && l.at(i - 1).agent.toInt() < l.at(i).agent.toInt()));
        }
    }

    void lineFormats_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0 as stored") << 0 << VASE << VASE;
        QTest::newRow("1 tag apart") << 1 << VASE << u"TreMar,005-003,Vase,12.00$,2,24.00$"_s;
        QTest::newRow("2 numbers") << 2 << VASE << u"005,003,Vase,12.00$,2,24.00$"_s;
        QTest::newRow("3 short") << 3 << VASE << u"005,003,2,24.00$"_s;
        QTest::newRow("4 unknown") << 4 << VASE << QString();
        QTest::newRow("-1 unknown") << -1 << VASE << QString();
        QTest::newRow("quoting kept")
            << 2 << saleLine(u"TreMar005-003"_s, u"Vase, bleu"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s)
            << u"005,003,\"Vase, bleu\",12.00$,2,24.00$"_s;
        // A tag under six letters still yields the numbers; a padded one keeps its positions.
        QTest::newRow("short tag 2") << 2 << u"LiAr005-003,Bol,1.00$,1,1.00$"_s << u"005,003,Bol,1.00$,1,1.00$"_s;
        QTest::newRow("short tag 1") << 1 << u"LiAr005-003,Bol,1.00$,1,1.00$"_s << u"LiAr,005-003,Bol,1.00$,1,1.00$"_s;
        QTest::newRow("padded tag")
            << 3 << saleLine(u"LiArt 005-003"_s, u"Bol"_s, u"1.00$"_s, u"1"_s, u"1.00$"_s) << u"005,003,1,1.00$"_s;
    }

    void lineFormats()
    {
        QFETCH(int, format);
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(TSaleList::formatSaleLine(format, line), expected);
    }

    void queries()
    {
        TSaleList l;
        addSheet(l, u"090518"_s, {VASE});
        QCOMPARE(l.getAllSales(1), u"\"090518,TreMar,005-003,Vase,12.00$,2,24.00$\""_s);

        addSheet(l, u"090301"_s, {saleLine(u"VerArt001-002"_s, u"Bol"_s, u"5.00$"_s, u"1"_s, u"5.00$"_s), VASE},
                 u"Marc"_s, u"29.00$"_s);
        addSheet(l, u"090228"_s, {}, u"Ann Marie"_s, u"0.00$"_s);
        l.getAllSales(3);
        QCOMPARE(l.results, (QStringList{u"090518,005,003,2,24.00$"_s, u"090301,001,002,1,5.00$"_s,
                                         u"090301,005,003,2,24.00$"_s}));

        TRepList reps;
        reps.addPeriod(u"Mars"_s, u"090228"_s, u"090301"_s);
        reps.addPeriod(u"Mai"_s, u"090401"_s, u"090531"_s);
        FakePrompt prompt;
        // Both ends of the period count.
        l.periodSheets(0, reps, prompt);
        QCOMPARE(l.results, (QStringList{u"090301,Marc,29.00$"_s, u"090228,\"Ann Marie\",0.00$"_s}));
        l.getPeriodSales(2, 1, reps, prompt);
        QCOMPARE(l.results, QStringList{u"090518,005,003,Vase,12.00$,2,24.00$"_s});
        QVERIFY(prompt.all.isEmpty());

        // A period index outside the list is reported and matches nothing.
        l.periodSheets(7, reps, prompt);
        QVERIFY(l.results.isEmpty());
        QCOMPARE(prompt.informations.value(0), u"count is: 2 with ind of: 7"_s);

        QCOMPARE(l.lineQuantity(1, u"VerArt001-002"_s), u"Quant: 1"_s);
        QCOMPARE(l.lineQuantity(1, u"Absent000-000"_s), QString());

        // sheetLineRows: one row per line, the key and quantity left out.
        QCOMPARE(l.sheetLineRows(1, u"005"_s, 0), u"\",090301\",\",090301\""_s);
        QCOMPARE(l.sheetLineRows(1, u"005"_s, 1), u"\"005,,090301\",\"005,,090301\""_s);
        QCOMPARE(l.sheetLineRows(2, u"005"_s, 0), QString());
    }

    void salesXml()
    {
        TSaleList l;
        addSheet(l, u"090518"_s, {VASE, saleLine(u"A&B<x>001-002"_s, u"Bol"_s, u"5.00$"_s, u"1"_s, u"5.00$"_s)});
        addSheet(l, u"090301"_s, {});
        QCOMPARE(l.salesXML(u"090101"_s, u"090131"_s), QString());
        QCOMPARE(l.salesXML(u"090301"_s, u"090518"_s),
                 u"<saleItem date=\"090518\">\n"
                 "\t\t<prod><aNo>TreMar005-003</aNo><xStr>2</xStr></prod>\n"
                 "\t\t<prod><aNo>A&amp;B&lt;x&gt;001-002</aNo><xStr>1</xStr></prod>\n"
                 "</saleItem>\n"
                 "<saleItem date=\"090301\">\n"
                 "</saleItem>\n"_s);
        TSaleItem empty;
        empty.lines = writeCommaList({u"X001-001,,1.00$,,"_s});
        QCOMPARE(TSaleList::linesXML(empty), u"\t\t<prod><aNo>X001-001</aNo><xStr/></prod>\n"_s);
    }
};

QTEST_GUILESS_MAIN(TestSale)
#include "tst_sale.moc"
