// Periods: record strings and the reports section, the list operations and
// index alignment, look-ups, dates, the all-sales period, period rows and
// XML data lines.

#include "core/appError.h"
#include "model/uRep.h"
#include "support/fakePrompt.h"
#include "support/modelSheets.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray saveSection(const TRepList& l)
{
    return writeSection([&](TWriter& w) { l.writeReports(w); });
}

void loadSection(TRepList& l, const QByteArray& bytes)
{
    readSection(bytes, [&](TReader& r) { l.readReports(r); });
}

} // namespace

class TestRep : public QObject {
    Q_OBJECT

private slots:
    void recordAndSection()
    {
        TReport r;
        r.title = u"Printemps"_s;
        r.startDate = u"090301"_s;
        r.endDate = u"090531"_s;
        QCOMPARE(r.record(), u"Printemps|:|090301|:|090531"_s);
        TReport s;
        s.setRecord(u"Été|:|090601"_s);
        QCOMPARE(s.title, u"Été"_s);
        QCOMPARE(s.startDate, u"090601"_s);
        QCOMPARE(s.endDate, u"090601"_s); // takeField's rule: the remainder repeats

        TRepList l;
        QCOMPARE(saveSection(l), QByteArray("\x02\xff\x01\x00", 4)); // -1, then an empty list
        l.addPeriod(u"Printemps"_s, u"090301"_s, u"090531"_s);
        l.addPeriod(u"Été, \"chaud\""_s, u"090601"_s, u"090831"_s);
        l.addPeriod(QString(), QString(), QString());
        for (int cur : {-1, 1, 300}) {
            l.curPeriod = cur;
            const QByteArray bytes = saveSection(l);
            TRepList back;
            back.addPeriod(u"old"_s, u"1"_s, u"2"_s);
            loadSection(back, bytes);
            QCOMPARE(back.curPeriod, cur);
            QCOMPARE(back.count(), 3);
            for (int i = 0; i < 3; ++i)
                QCOMPARE(back.at(i).record(), l.at(i).record());
            QVERIFY(back.titles.isEmpty()); // rebuilt by the caller after loading
            QCOMPARE(saveSection(back), bytes);
        }
        TRepList empty;
        empty.curPeriod = 4;
        loadSection(empty, QByteArray("\x02\xff\x01\x00", 4));
        QCOMPARE(empty.count(), 0);
        QCOMPARE(empty.curPeriod, -1);
    }

    void addEditDeleteAndTitles()
    {
        TRepList l;
        l.addPeriod(u"A"_s, u"090101"_s, u"090131"_s);
        QVERIFY(l.titles.isEmpty()); // addPeriod leaves titles to the caller
        l.addPeriod(u"B"_s, u"090201"_s, u"090228"_s);
        l.addPeriod(u"C"_s, u"090301"_s, u"090331"_s);
        l.refreshTitles();
        QCOMPARE(l.titles, (QStringList{u"A"_s, u"B"_s, u"C"_s}));
        l.editPeriod(1, u"B2"_s, u"090202"_s, u"090227"_s);
        QCOMPARE(l.titles, (QStringList{u"A"_s, u"B2"_s, u"C"_s}));
        QVERIFY_THROWS_EXCEPTION(AppError, l.editPeriod(3, u"x"_s, u"x"_s, u"x"_s));
        QVERIFY_THROWS_EXCEPTION(AppError, l.deletePeriod(-1));

        FakePrompt prompt;
        QCOMPARE(l.periodField(2, 0, prompt), u"C"_s);
        QCOMPARE(l.current()->title, u"C"_s);
        QCOMPARE(l.periodField(0, 3, prompt), QString());
        QVERIFY(prompt.all.isEmpty());
        QCOMPARE(l.periodField(5, 0, prompt), QString());
        QCOMPARE(l.periodField(-1, 0, prompt), QString());
        QCOMPARE(prompt.informations,
                 (QStringList{u"count is: 3 with ind of: 5"_s, u"count is: 3 with ind of: -1"_s}));
    }

    void deleteKeepsCurrentPeriodAligned()
    {
        auto make = [] {
            auto l = std::make_unique<TRepList>();
            for (const QString& t : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
                l->addPeriod(t, QString(), QString());
            return l;
        };
        struct Case { int cur; int deleted; int after; };
        for (const Case c : {Case{2, 0, 1}, Case{2, 2, -1}, Case{2, 3, 2}, Case{-1, 1, -1}, Case{0, 0, -1}}) {
            auto l = make();
            l->curPeriod = c.cur;
            int curCIndex = c.cur;
            const QString before = c.cur >= 0 && c.cur != c.deleted ? l->at(c.cur).title : QString();
            l->deletePeriod(c.deleted, &curCIndex);
            QCOMPARE(l->curPeriod, c.after);
            QCOMPARE(curCIndex, c.after);
            QCOMPARE(l->count(), 3);
            if (c.after >= 0)
                QCOMPARE(l->at(c.after).title, before);
            QCOMPARE(l->titles.size(), 3);
        }
    }

    void lookupsAndDates()
    {
        TRepList l;
        QCOMPARE(l.indexOfTitle(u"x"_s), -1);
        QCOMPARE(l.defaultStartDate(), todayStr());
        for (const QString& t : {u"a"_s, u"T"_s, u"b"_s, u"c"_s, u"T"_s})
            l.addPeriod(t, u"090101"_s, u"090131"_s);
        QCOMPARE(l.indexOfTitle(u"T"_s), 4);
        QCOMPARE(l.indexOfTitle(u"t"_s), -1);
        l.addPeriod(u"early"_s, u"080101"_s, u"080131"_s); // ends before the others
        QCOMPARE(l.defaultStartDate(), u"080131"_s);

        QCOMPARE(TRepList::nextDay(u"090228"_s), u"090301"_s);
        QCOMPARE(TRepList::nextDay(u"080228"_s), u"080229"_s);
        QCOMPARE(TRepList::nextDay(u"091231"_s), u"100101"_s);
        QCOMPARE(TRepList::nextDay(u"991231"_s), u"000101"_s);
        QCOMPARE(TRepList::nextDay(u"zz"_s), u"zz"_s);
        QCOMPARE(TRepList::nextDay(u"091340"_s), u"091340"_s);
    }

    void allSalesPeriod()
    {
        TSaleList sales;
        TRepList l;
        for (const QString& d : {u"090518"_s, u"090301"_s, u"081224"_s})
            addSheet(sales, d, {});
        l.updateAllPeriod(sales); // nothing without periods
        QCOMPARE(l.count(), 0);

        TSaleList none;
        l.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
        l.updateAllPeriod(none);
        QCOMPARE(l.count(), 1);

        // No rows prepared yet: the new period starts with an empty date.
        l.updateAllPeriod(sales);
        QCOMPARE(l.count(), 2);
        QCOMPARE(l.at(1).title, ALL_PERIOD_TITLE);
        QCOMPARE(l.at(1).startDate, QString());
        QCOMPARE(l.at(1).endDate, u"090518"_s);
        QCOMPARE(l.titles, (QStringList{u"Mai"_s, ALL_PERIOD_TITLE}));
        l.updateAllPeriod(sales);
        QCOMPARE(l.count(), 2);
        QCOMPARE(l.at(1).startDate, u"081224"_s);
        QCOMPARE(l.at(1).endDate, u"090518"_s);
    }

    void periodRowsAndRange()
    {
        const QString vase = u"TreMar005-003,Vase,12.00$,2,24.00$"_s;
        const QString bol = u"VerArt001-002,\"Bol, grand\",5.00$,1,5.00$"_s;
        TSaleList sales;
        addSheet(sales, u"090518"_s, {vase});
        addSheet(sales, u"090301"_s, {bol, vase});
        addSheet(sales, u"081224"_s, {bol});
        TRepList l;
        bool ready = false;
        l.prepareLines(sales, ready);
        QVERIFY(!ready); // no period

        l.addPeriod(u"Mars"_s, u"090301"_s, u"090331"_s);
        l.addPeriod(u"Tout"_s, u"081224"_s, u"090518"_s);
        l.prepareLines(sales, ready);
        QVERIFY(ready);
        QCOMPARE(l.at(0).periodLines, (QStringList{u"090301,001,002,\"Bol, grand\",5.00$,1,5.00$"_s,
                                                   u"090301,005,003,Vase,12.00$,2,24.00$"_s}));
        QCOMPARE(l.at(1).periodLines.size(), 4);
        QCOMPARE(l.selLines, l.at(1).periodLines);
        QCOMPARE(l.current(), &l.at(1));

        // getAllRange works on the ledger's results, filling them when empty.
        sales.results.clear();
        QCOMPARE(l.getAllRange(-1, sales), QString());
        QVERIFY(l.rangeLines.isEmpty());
        l.getAllRange(0, sales);
        QCOMPARE(l.rangeLines, l.at(0).periodLines);
        QCOMPARE(sales.results.size(), 4);
        FakePrompt prompt;
        sales.getPeriodSales(2, 0, l, prompt);
        QCOMPARE(l.getAllRange(1, sales), writeCommaList(l.at(0).periodLines));
        QVERIFY_THROWS_EXCEPTION(AppError, l.getAllRange(2, sales));

        l.allTrans(u"005"_s, sales);
        QCOMPARE(l.rangeLines, (QStringList{u",090518"_s, u",090301"_s, u",081224"_s}));
        // ... leaving the ledger's results to the query before it.
        QCOMPARE(l.getAllRange(1, sales), writeCommaList(l.at(0).periodLines));
    }

    void xmlDataLines()
    {
        QStringList out;
        TRepList::XMLData(u"090518,005,003,Vase,12.00$,2,24.00$"_s, out);
        QCOMPARE(out, QStringList{u"<date>090518</date><aNo>005</aNo><pNo>003</pNo><descript>Vase</descript>"
                                  "<valeur>12.00$</valeur><qnt>2</qnt><tot>24.00$</tot>"_s});
        // Six fields: no artisan number; an empty value self-closes.
        QCOMPARE(TRepList::xmlDataLine(u"090518,003,,12.00$,2,24.00$"_s),
                 u"<date>090518</date><pNo>003</pNo><descript/><valeur>12.00$</valeur><qnt>2</qnt>"
                 "<tot>24.00$</tot>"_s);
        // Extra values beyond the names are dropped; fewer values stop early.
        QCOMPARE(TRepList::xmlDataLine(u"1,2,3,4,5,6,7,8"_s),
                 u"<date>1</date><aNo>2</aNo><pNo>3</pNo><descript>4</descript><valeur>5</valeur>"
                 "<qnt>6</qnt><tot>7</tot>"_s);
        QCOMPARE(TRepList::xmlDataLine(u"090518,003"_s), u"<date>090518</date><pNo>003</pNo>"_s);
        // Leaf values are escaped.
        QCOMPARE(TRepList::xmlDataLine(u"090518,005,003,\"<b>&\"\"x\"\"\",1.00$,1,1.00$"_s),
                 u"<date>090518</date><aNo>005</aNo><pNo>003</pNo><descript>&lt;b&gt;&amp;&quot;x&quot;</descript>"
                 "<valeur>1.00$</valeur><qnt>1</qnt><tot>1.00$</tot>"_s);
    }

    void tallies()
    {
        TSaleList sales;
        addSheet(sales, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s});
        addSheet(sales, u"090301"_s, {u"VerArt001-002,Bol,5.00$,1,5.00$"_s, u"TreMar005-003,Vase,12.00$,3,36.00$"_s,
                                      u"VerArt001-002,Bol,5.00$,x,"_s});
        TRepList l;
        l.addPeriod(u"Mars"_s, u"090301"_s, u"090331"_s);
        l.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
        l.addPeriod(u"Last"_s, u"000000"_s, u"999999"_s);
        l.at(2).tallies << u"stale"_s;
        l.fillTallies(sales);
        QCOMPARE(l.at(0).tallies, (QStringList{u"VerArt001-002,1,0,1"_s, u"TreMar005-003,3,0,3"_s}));
        QCOMPARE(l.at(1).tallies, QStringList{u"TreMar005-003,0,2,2"_s});
        QVERIFY(l.at(2).tallies.isEmpty()); // the last period is not exported
    }
};

QTEST_GUILESS_MAIN(TestRep)
#include "tst_rep.moc"
