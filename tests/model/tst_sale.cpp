// The sales ledger: record strings and its file section, queries, line
// formats, XML fragment and ordering.

#include "core/appError.h"
#include "core/textUtil.h"
#include "core/valueStream.h"
#include "model/uRep.h"
#include "model/uSale.h"
#include "support/fakePrompt.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString VASE = u"TreMar005-003,Vase,12.00$,2,24.00$"_s;

QString line(const QString& pno, const QString& descr, const QString& prix, const QString& qnt,
             const QString& tot)
{
    return writeCommaList({pno, descr, prix, qnt, tot});
}

void addSheet(TSaleList& l, const QString& date, const QStringList& lines,
              const QString& agent = u"Julie"_s, const QString& total = u"24.00$"_s)
{
    auto s = std::make_unique<TSaleItem>();
    s->date = date;
    s->agent = agent;
    s->total = total;
    s->lines = writeCommaList(lines);
    l.append(std::move(s));
}

QByteArray saveSection(const TSaleList& l)
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    {
        TWriter w(buf);
        l.writeSales(w);
        w.flush();
    }
    return buf.data();
}

void loadSection(TSaleList& l, const QByteArray& bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    TReader r(buf);
    l.readSales(r);
}

} // namespace

class TestSale : public QObject {
    Q_OBJECT

private slots:
    void recordStrings()
    {
        TSaleItem s;
        s.date = u"090518"_s;
        s.agent = u"Préposé"_s;
        s.total = u"24.00$"_s;
        s.lines = writeCommaList({VASE});
        QCOMPARE(s.record(), u"090518|:|Préposé|:|24.00$|:|\"TreMar005-003,Vase,12.00$,2,24.00$\""_s);

        TSaleItem t;
        t.setRecord(s.record());
        QCOMPARE(t.date, s.date);
        QCOMPARE(t.agent, s.agent);
        QCOMPARE(t.total, s.total);
        QCOMPARE(t.lines, s.lines);

        // Without separators every field gets the whole text.
        t.setRecord(u"abc"_s);
        QCOMPARE(t.date, u"abc"_s);
        QCOMPARE(t.lines, u"abc"_s);

        // A description holding the separator stays whole in the last field.
        s.lines = writeCommaList({line(u"TreMar005-003"_s, u"a|:|b"_s, u"1.00$"_s, u"1"_s, u"1.00$"_s)});
        t.setRecord(s.record());
        QCOMPARE(t.lines, s.lines);
    }

    void nestedQuotingOfLines()
    {
        // One line whose description holds a blank: the line is quoted and
        // the quotes around the description doubled inside it.
        const QString l = line(u"TreMar005-003"_s, u"Vase bleu"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s);
        QCOMPARE(l, u"TreMar005-003,\"Vase bleu\",12.00$,2,24.00$"_s);
        QCOMPARE(writeCommaList({l}), u"\"TreMar005-003,\"\"Vase bleu\"\",12.00$,2,24.00$\""_s);
    }

    void sectionRoundTrip()
    {
        const QStringList hostile = {
            line(u"TreMar005-003"_s, u"Vase, \"bleu\"  nuit"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s),
            line(u"VerArt001-001"_s, u" éèà ç€ "_s, u"1.50$"_s, u"0"_s, QString()),
            line(u"VerArt001-002"_s, QString(), u"3.00$"_s, u"-1"_s, QString()),
            line(u"VerArt001-003"_s, u"tab\there\nnewline"_s, u"3.00$"_s, u"1"_s, u"3.00$"_s),
        };
        TSaleList l;
        addSheet(l, u"090518"_s, hostile, u"Marie-Ève"_s);
        addSheet(l, u"090301"_s, {}, QString(), QString());
        addSheet(l, u"081224"_s, {VASE});
        const QByteArray bytes = saveSection(l);

        TSaleList back;
        addSheet(back, u"999999"_s, {VASE}); // replaced by the load
        back.curDate = u"999999"_s;
        loadSection(back, bytes);
        QCOMPARE(back.count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(back.at(i).record(), l.at(i).record());
        }
        QCOMPARE(back.saleLinesOf(0), hostile);
        QCOMPARE(readCommaList(back.saleLinesOf(0).at(0)).at(1), u"Vase, \"bleu\"  nuit"_s);
        QCOMPARE(back.curDate, QString());
        QCOMPARE(saveSection(back), bytes);

        // Empty ledger: list begin, list end.
        TSaleList empty;
        QCOMPARE(saveSection(empty), QByteArray("\x01\x00", 2));
    }

    void truncatedSectionKeepsWhatWasRead()
    {
        TSaleList l;
        addSheet(l, u"090518"_s, {VASE});
        addSheet(l, u"090301"_s, {VASE});
        QByteArray bytes = saveSection(l);
        bytes.chop(5); // inside the second sheet's string
        TSaleList back;
        QVERIFY_THROWS_EXCEPTION(ReadError, loadSection(back, bytes));
        QCOMPARE(back.count(), 1);
        QCOMPARE(back.at(0).date, u"090518"_s);
    }

    void sheetsAndLookups()
    {
        TSaleList l;
        QCOMPARE(l.indexOfCurDate(), -1);
        l.addSheet(u"090518"_s, u"Julie"_s);
        QCOMPARE(l.count(), 1);
        QCOMPARE(l.curDate, u"090518"_s);
        QCOMPARE(l.at(0).agent, u"Julie"_s);
        QVERIFY(l.at(0).total.isEmpty());
        QVERIFY(l.at(0).lines.isEmpty());
        l.addSheet(u"090601"_s, u"Marc"_s);
        QCOMPARE(l.sheetDate(0), u"090601"_s); // inserted at the front
        QCOMPARE(l.indexOfCurDate(), 0);
        QCOMPARE(l.indexOfDate(u"090518"_s), 1);
        QCOMPARE(l.indexOfDate(QString()), -1);
        QCOMPARE(l.indexOfDate(u"000000"_s), -1);
        QCOMPARE(l.sheetDates(), (QStringList{u"090601"_s, u"090518"_s}));
        QCOMPARE(l.selectSheet(1).date, u"090518"_s);
        QCOMPARE(l.curDate, u"090518"_s);
        QCOMPARE(l.current(), &l.at(1));
        QVERIFY_THROWS_EXCEPTION(AppError, l.sheetDate(2));
        QVERIFY_THROWS_EXCEPTION(AppError, l.sheetLines(-1));

        l.curDate = u"090601"_s;
        const QString status = l.storeSheet(0, u"090601"_s, u"Marc"_s, u"24.00$"_s, {VASE});
        QCOMPARE(status, u"090601à jour!"_s);
        QCOMPARE(l.sheetLines(0), writeCommaList({VASE}));
        QCOMPARE(l.at(0).total, u"24.00$"_s);

        // Several sheets of one date (a file written elsewhere): the last.
        addSheet(l, u"090518"_s, {});
        QCOMPARE(l.indexOfDate(u"090518"_s), 2);
    }

    void sortByDate()
    {
        TSaleList l;
        addSheet(l, u"090301"_s, {});
        addSheet(l, u"090518"_s, {});
        addSheet(l, u"081224"_s, {});
        l.sortByDate();
        QCOMPARE(l.sheetDate(0), u"090518"_s);
        QCOMPARE(l.sheetDate(1), u"090301"_s);
        QCOMPARE(l.sheetDate(2), u"081224"_s);

        // Repeated dates: no sheet is lost and their order is kept.
        TSaleList d;
        addSheet(d, u"090301"_s, {}, u"a"_s);
        addSheet(d, u"090518"_s, {}, u"b"_s);
        addSheet(d, u"090301"_s, {}, u"c"_s);
        addSheet(d, u"090518"_s, {}, u"d"_s);
        d.sortByDate();
        QStringList agents;
        for (int i = 0; i < d.count(); ++i)
            agents << d.at(i).agent;
        QCOMPARE(agents, (QStringList{u"b"_s, u"d"_s, u"a"_s, u"c"_s}));
    }

    void sortByDateScales()
    {
        // 60 000 sheets, many sharing dates: every sheet is kept, in order.
        TSaleList l;
        for (int i = 0; i < 60000; ++i)
            addSheet(l, u"%1"_s.arg(i % 997, 6, 10, QLatin1Char('0')), {}, QString::number(i));
        l.sortByDate();
        QCOMPARE(l.count(), 60000);
        for (int i = 1; i < l.count(); ++i) {
            const int c = l.at(i - 1).date.compare(l.at(i).date);
            QVERIFY(c >= 0);
            if (c == 0)
                QVERIFY(l.at(i - 1).agent.toInt() < l.at(i).agent.toInt());
        }
    }

    void lineFormats()
    {
        QCOMPARE(TSaleList::formatSaleLine(0, VASE), VASE);
        QCOMPARE(TSaleList::formatSaleLine(1, VASE), u"TreMar,005-003,Vase,12.00$,2,24.00$"_s);
        QCOMPARE(TSaleList::formatSaleLine(2, VASE), u"005,003,Vase,12.00$,2,24.00$"_s);
        QCOMPARE(TSaleList::formatSaleLine(3, VASE), u"005,003,2,24.00$"_s);
        QCOMPARE(TSaleList::formatSaleLine(4, VASE), QString());
        QCOMPARE(TSaleList::formatSaleLine(-1, VASE), QString());

        // The rest keeps its quoting.
        const QString blue = line(u"TreMar005-003"_s, u"Vase, bleu"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s);
        QCOMPARE(TSaleList::formatSaleLine(2, blue), u"005,003,\"Vase, bleu\",12.00$,2,24.00$"_s);

        // A short artisan tag (a name under three letters) still yields the
        // numbers; a tag padded to six characters keeps the fixed positions.
        const QString shortTag = u"LiAr005-003,Bol,1.00$,1,1.00$"_s;
        QCOMPARE(TSaleList::formatSaleLine(2, shortTag), u"005,003,Bol,1.00$,1,1.00$"_s);
        QCOMPARE(TSaleList::formatSaleLine(1, shortTag), u"LiAr,005-003,Bol,1.00$,1,1.00$"_s);
        const QString padded = line(u"LiArt 005-003"_s, u"Bol"_s, u"1.00$"_s, u"1"_s, u"1.00$"_s);
        QCOMPARE(TSaleList::formatSaleLine(3, padded), u"005,003,1,1.00$"_s);
    }

    void queries()
    {
        TSaleList l;
        addSheet(l, u"090518"_s, {VASE});
        QCOMPARE(l.getAllSales(1), u"\"090518,TreMar,005-003,Vase,12.00$,2,24.00$\""_s);
        QCOMPARE(l.results, QStringList{u"090518,TreMar,005-003,Vase,12.00$,2,24.00$"_s});

        addSheet(l, u"090301"_s, {line(u"VerArt001-002"_s, u"Bol"_s, u"5.00$"_s, u"1"_s, u"5.00$"_s), VASE},
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
        QCOMPARE(readCommaList(l.results.at(1)).at(1), u"Ann Marie"_s);
        l.getPeriodSales(2, 1, reps, prompt);
        QCOMPARE(l.results, QStringList{u"090518,005,003,Vase,12.00$,2,24.00$"_s});
        QVERIFY(prompt.all.isEmpty());

        // A period index outside the list is reported and matches nothing
        // but sheets dated "" (none).
        l.periodSheets(7, reps, prompt);
        QVERIFY(l.results.isEmpty());
        QCOMPARE(prompt.informations.value(0), u"count is: 2 with ind of: 7"_s);

        QCOMPARE(l.lineQuantity(1, u"VerArt001-002"_s), u"Quant: 1"_s);
        QCOMPARE(l.lineQuantity(1, u"Absent000-000"_s), QString());
        QCOMPARE(l.lineQuantity(2, u"VerArt001-002"_s), QString());

        // sheetLineRows: one row per line, the key and quantity left out.
        QCOMPARE(l.sheetLineRows(1, u"005"_s, 0), u"\",090301\",\",090301\""_s);
        QCOMPARE(l.sheetLineRows(1, u"005"_s, 1), u"\"005,,090301\",\"005,,090301\""_s);
        QCOMPARE(l.sheetLineRows(1, QString(), 1), QString());
        QCOMPARE(l.sheetLineRows(2, u"005"_s, 0), QString());
    }

    void salesXml()
    {
        TSaleList l;
        addSheet(l, u"090518"_s, {VASE, line(u"A&B<x>001-002"_s, u"Bol"_s, u"5.00$"_s, u"1"_s, u"5.00$"_s)});
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
