// Periods: record strings and the reports section, the list operations and
// index alignment, dates, the all-sales period, period rows, tallies, XML data
// lines and the consignment of one artisan and of every artisan.

#include "core/appError.h"
#include "model/saleRows.h"
#include "model/uRep.h"
#include "support/fakePrompt.h"
#include "support/modelSheets.h"

#include <QMap>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

// Two sales of artisan 005 (24.00$ and 12.50$) and one of 006 in period 0,
// one sale of 005 in period 1, none in period 2.
struct Ledger {
    TSaleList sales;
    TRepList reps;
    QStringList xml{u"old"_s};
    Ledger()
    {
        addSheet(sales, u"090601"_s, {u"TreMar005-003,Vase,12.00$,1,12.00$"_s});
        addSheet(sales, u"090531"_s, {u"TreMar005-001,\"Bol, bleu\",12.50$,1,12.50$"_s});
        addSheet(sales, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s, u"DupJea006-001,Cuillère,4.00$,1,4.00$"_s});
        addSheet(sales, u"090228"_s, {u"TreMar005-003,Vase,12.00$,9,108.00$"_s});
        reps.addPeriod(u"Printemps"_s, u"090301"_s, u"090531"_s);
        reps.addPeriod(u"Juin"_s, u"090601"_s, u"090630"_s);
        reps.addPeriod(u"Vide"_s, u"100101"_s, u"100131"_s);
    }
    void consigne(const QString& artNo, int i) { reps.setConsigne(artNo, i, sales, xml); }
};

class TestRep : public QObject {
    Q_OBJECT

private slots:
    void sectionAndListOperations()
    {
        TReport s;
        s.setRecord(u"Été|:|090601"_s);
        QCOMPARE(s.record(), u"Été|:|090601|:|090601"_s); // the remainder repeats
        TRepList l; // (an empty list's bytes: db-empty.tlvdb)
        l.addPeriod(u"Printemps"_s, u"090301"_s, u"090531"_s);
        l.addPeriod(u"Été, \"chaud\""_s, u"090601"_s, u"090831"_s);
        l.addPeriod(QString(), QString(), QString());
        for (int cur : {-1, 1, 300}) {
            l.curPeriod = cur;
            const QByteArray bytes = writeSection([&](TWriter& w) { l.writeReports(w); });
            TRepList back;
            back.addPeriod(u"old"_s, u"1"_s, u"2"_s);
            readSection(bytes, [&](TReader& r) { back.readReports(r); });
            QCOMPARE(back.curPeriod, cur);
            QCOMPARE(writeSection([&](TWriter& w) { back.writeReports(w); }), bytes);
        }

        TRepList ops;
        QCOMPARE(ops.defaultStartDate(), todayStr());
        for (const QString& t : {u"A"_s, u"T"_s, u"C"_s, u"T"_s})
            ops.addPeriod(t, u"090101"_s, u"090131"_s);
        QCOMPARE(ops.indexOfTitle(u"T"_s) * 10 + ops.indexOfTitle(u"t"_s), 29);
        ops.addPeriod(u"early"_s, u"080101"_s, u"080131"_s); // ends before the others
        QCOMPARE(ops.defaultStartDate(), u"080131"_s);
        ops.editPeriod(1, u"B"_s, u"090202"_s, u"090227"_s);
        QCOMPARE(ops.titles, (QStringList{u"A"_s, u"B"_s, u"C"_s, u"T"_s, u"early"_s}));
        QVERIFY_THROWS_EXCEPTION(AppError, ops.editPeriod(5, u"x"_s, u"x"_s, u"x"_s));
        QVERIFY_THROWS_EXCEPTION(AppError, ops.deletePeriod(-1));

        FakePrompt prompt;
        QCOMPARE(ops.periodField(1, 1, prompt) + ops.periodField(1, 2, prompt) + ops.periodField(1, 3, prompt), u"090202090227"_s);
        QCOMPARE(ops.current()->title, u"B"_s);
        QVERIFY(prompt.all.isEmpty());
        QCOMPARE((QStringList{TRepList::nextDay(u"090228"_s), TRepList::nextDay(u"080228"_s), TRepList::nextDay(u"991231"_s),
                              TRepList::nextDay(u"091340"_s)}),
                 (QStringList{u"090301"_s, u"080229"_s, u"000101"_s, u"091340"_s}));

        // A deletion keeps the current period on the same period, or none.
        struct Case { int cur; int deleted; int after; };
        for (const Case c : {Case{2, 0, 1}, Case{2, 2, -1}, Case{2, 3, 2}, Case{-1, 1, -1}, Case{0, 0, -1}}) {
            TRepList d;
            for (const QString& t : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
                d.addPeriod(t, QString(), QString());
            d.curPeriod = c.cur;
            int curCIndex = c.cur;
            const QString before = c.cur >= 0 && c.cur != c.deleted ? d.at(c.cur).title : QString();
            d.deletePeriod(c.deleted, &curCIndex);
            // The list's and the window's current period, and the periods left.
            QCOMPARE((QList<int>{d.curPeriod, curCIndex, int(d.titles.size())}), (QList<int>{c.after, c.after, 3}));
            if (c.after >= 0)
                QCOMPARE(d.at(c.after).title, before);
        }
    }

    // Rows and texts kept from one preparation to the next read as a list
    // prepared afresh would, whatever the edit between them.
    void rowsFollowEveryEdit()
    {
        Ledger kept;
        // The same sheets in the same order, in a ledger never prepared.
        const auto copyInto = [&](Ledger& f) {
            while (f.sales.count() > 0)
                f.sales.removeSheet(0);
            for (int i = 0; i < kept.sales.count(); ++i)
                addSheet(f.sales, kept.sales.sheetDate(i), kept.sales.saleLinesOf(i));
        };
        // The fresh ledger's rows are first asked for by artisan, the kept
        // one's first by period.
        const auto rowsOf = [](Ledger& l, const QStringList& artisansFirst = {}) {
            l.reps.checkConsignes(artisansFirst, 0, l.sales);
            l.reps.prepareLines(l.sales);
            QStringList out;
            for (int p = 0; p < l.reps.count(); ++p)
                out << l.reps.at(p).periodLines.join(u'|');
            for (const QString& a : {u"005"_s, u"006"_s, u"007"_s}) {
                l.consigne(a, 0);
                out << a + l.reps.rangeLines.join(u'|') + l.reps.total;
            }
            return out;
        };
        rowsOf(kept);
        // A text held across edits reads as it did, and once nothing else
        // holds what it was made with, it changes alone.
        QString held = kept.reps.at(0).periodLines.first();
        const QString was(held.constData(), held.size());
        const struct {
            const char* edit;
            std::function<void(TSaleList&)> apply;
        } edits[] = {
            {"a quantity changed",
             [](TSaleList& s) { s.setSheetLines(1, writeCommaList({u"TreMar005-001,\"Bol, bleu\",12.50$,3,"_s})); }},
            {"a newest sheet whose first line is an artisan not met before",
             [](TSaleList& s) { addSheet(s, u"090602"_s, {u"BleLun007-001,Nappe,8.00$,1,"_s, u"TreMar005-003,Vase,12.00$,1,"_s}); }},
            {"the oldest sheet removed", [](TSaleList& s) { s.removeSheet(3); }},
            {"a sheet re-dated out of order", [](TSaleList& s) { s.setSheetDate(0, u"090415"_s); }},
            {"a sheet emptied", [](TSaleList& s) { s.setSheetLines(1, QString()); }},
        };
        for (const auto& e : edits) {
            e.apply(kept.sales);
            Ledger f;
            copyInto(f);
            QCOMPARE(f.sales.count(), kept.sales.count());
            QVERIFY2(rowsOf(kept) == rowsOf(f, {u"006"_s}), e.edit);
            QCOMPARE(held.utf16()[held.size()], u'\0');
            QCOMPARE(held += u'x', was + u'x');
            held.chop(1);
        }
    }

    void rowsAndConsignments()
    {
        const QString vase = u"TreMar005-003,Vase,12.00$,2,24.00$"_s;
        const QString bol = u"VerArt001-002,\"Bol, grand\",5.00$,1,5.00$"_s;
        TSaleList sales;
        addSheet(sales, u"090518"_s, {vase});
        addSheet(sales, u"090301"_s, {bol, vase, u"VerArt001-002,Bol,5.00$,x,"_s});
        addSheet(sales, u"081224"_s, {bol});
        TRepList l;
        l.updateAllPeriod(sales); // nothing without periods
        l.prepareLines(sales);
        QCOMPARE(l.count(), 0);

        l.addPeriod(u"Mars"_s, u"090301"_s, u"090331"_s);
        l.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
        l.updateAllPeriod(TSaleList()); // nothing without sales
        // The all-sales period runs from the first sheet to the last, rows prepared or not.
        l.updateAllPeriod(sales);
        QCOMPARE(l.at(2).record(), ALL_PERIOD_TITLE + u"|:|081224|:|090518"_s);
        // A span read stale at either end is mended.
        for (const auto& [start, end] : {std::pair{u"081224"_s, u"090401"_s}, std::pair{u"081201"_s, u"090518"_s}}) {
            l.editPeriod(2, ALL_PERIOD_TITLE, start, end);
            QVERIFY(l.fitAllPeriod(sales));
            QCOMPARE(l.at(2).record(), ALL_PERIOD_TITLE + u"|:|081224|:|090518"_s);
        }
        l.prepareLines(sales);
        QVERIFY(l.linesCurrent(sales));
        l.updateAllPeriod(sales);
        QCOMPARE(l.titles, (QStringList{u"Mars"_s, u"Mai"_s, ALL_PERIOD_TITLE}));
        QCOMPARE(l.at(2).record(), ALL_PERIOD_TITLE + u"|:|081224|:|090518"_s);
        QCOMPARE(l.at(0).periodLines, (QStringList{u"090301,001,002,\"Bol, grand\",5.00$,1,5.00$"_s,
                                                   u"090301,005,003,Vase,12.00$,2,24.00$"_s,
                                                   u"090301,001,002,Bol,5.00$,0,0.00$"_s})); // typed: no quantity is 0
        QCOMPARE(l.at(2).periodLines.size(), 5);
        QCOMPARE(l.selLines, l.at(2).periodLines);

        l.fillTallies(sales);
        QCOMPARE(l.at(0).tallies, (QStringList{u"VerArt001-002,1,0,1"_s, u"TreMar005-003,2,0,2"_s}));
        QCOMPARE(l.at(1).tallies, QStringList{u"TreMar005-003,0,2,2"_s});
        QVERIFY(l.at(2).tallies.isEmpty()); // the last period is not exported
        TSaleList blanks; // a blank line, a line without its product: no product to tally
        addSheet(blanks, u"090305"_s, {QString(), u",Vase,1.00$,1,1.00$"_s, vase});
        l.fillTallies(blanks);
        QCOMPARE(l.at(0).tallies, QStringList{u"TreMar005-003,2,0,2"_s});
        l.fillTallies(sales);

        // getAllRange works on the ledger's results, filling them when empty.
        sales.results.clear();
        QCOMPARE(l.getAllRange(-1, sales), QString());
        l.getAllRange(0, sales);
        QCOMPARE(l.rangeLines, l.at(0).periodLines);
        QCOMPARE(sales.results.size(), 5);
        QVERIFY_THROWS_EXCEPTION(AppError, l.getAllRange(3, sales));

        // A sheet out of date order (not sorted yet) on the period's last day
        // is found, and the rows run newest first, sorted or not; a blank
        // line makes no row.
        addSheet(sales, u"090331"_s, {u" "_s, vase});
        l.prepareLines(sales);
        QCOMPARE(l.at(0).periodLines.size(), 4);
        QCOMPARE(l.at(0).periodLines.first(), u"090331,005,003,Vase,12.00$,2,24.00$"_s);
        sales.sortByDate();
        l.prepareLines(sales);
        QCOMPARE(l.at(0).periodLines.first(), u"090331,005,003,Vase,12.00$,2,24.00$"_s);
        QCOMPARE(l.at(1).periodLines, QStringList{u"090518,005,003,Vase,12.00$,2,24.00$"_s});
        QCOMPARE(l.at(2).periodLines.size(), 6);
        // Two sheets of one date (another program's file) keep their order.
        TSaleList twins;
        addSheet(twins, u"090310"_s, {bol});
        addSheet(twins, u"090310"_s, {vase});
        l.prepareLines(twins);
        QCOMPARE(l.at(0).periodLines, (QStringList{u"090310,001,002,\"Bol, grand\",5.00$,1,5.00$"_s,
                                                   u"090310,005,003,Vase,12.00$,2,24.00$"_s}));
        l.prepareLines(sales);
        l.addPeriod(u"Avant"_s, u"090519"_s, u"090301"_s); // ends before it starts
        l.prepareLines(sales);
        QVERIFY(l.at(3).periodLines.isEmpty());

        // The XML data lines made from period rows.
        const std::pair<QString, QString> cases[] = {
            // Six fields: no artisan number; an empty value self-closes.
            {u"090518,003,,1$,2,2$"_s, u"<date>090518</date><pNo>003</pNo><descript/><valeur>1$</valeur><qnt>2</qnt><tot>2$</tot>"_s},
            // Extra values beyond the names are dropped; fewer values stop early; values are escaped.
            {u"1,2,3,4,5,6,7,8"_s, u"<date>1</date><aNo>2</aNo><pNo>3</pNo><descript>4</descript><valeur>5</valeur>"
             "<qnt>6</qnt><tot>7</tot>"_s},
            {u"090518,003"_s, u"<date>090518</date><pNo>003</pNo>"_s},
            {u"0,5,3,\"<b>&\"\"x\"\"\",1,1,1"_s, u"<date>0</date><aNo>5</aNo><pNo>3</pNo><descript>&lt;b&gt;&amp;&quot;x&quot;"
             "</descript><valeur>1</valeur><qnt>1</qnt><tot>1</tot>"_s},
        };
        for (const auto& [row, xml] : cases) {
            QStringList out{u"kept"_s};
            TRepList::XMLData(row, out);
            QCOMPARE(out, (QStringList{u"kept"_s, xml}));
        }

        // The consignment of one artisan, then of every artisan.
        Ledger f;
        f.consigne(u"005"_s, 0);
        QVERIFY(f.reps.linesCurrent(f.sales)); // rows were prepared on the way
        QCOMPARE(f.reps.rangeLines, (QStringList{u"090531,005,001,\"Bol, bleu\",12.50$,1,12.50$"_s,
                                                 u"090518,005,003,Vase,12.00$,2,24.00$"_s}));
        QCOMPARE(f.reps.total, u"36.50$"_s);
        // A new sheet, then a corrected one: the next consignment has them,
        // nobody resets anything.
        addSheet(f.sales, u"090401"_s, {u"TreMar005-009,Neuf,1.00$,1,1.00$"_s});
        f.consigne(u"005"_s, 0);
        QCOMPARE(f.reps.total, u"37.50$"_s);
        const int s = f.sales.indexOfDate(u"090401"_s);
        f.sales.storeSheet(s, u"090401"_s, {}, {}, {u"TreMar005-009,Neuf,1.00$,3,3.00$"_s});
        f.consigne(u"005"_s, 0);
        QCOMPARE(f.reps.total, u"39.50$"_s);
        // No sale of this artisan in a period that has rows.
        f.consigne(u"007"_s, 0);
        QCOMPARE(f.reps.rangeLines + f.xml + QStringList{f.reps.total}, QStringList{u"0.00$"_s});
        // A period without rows keeps the previous rows and total.
        f.consigne(u"005"_s, 1);
        f.consigne(u"005"_s, 2);
        QCOMPARE(f.xml + QStringList{f.reps.total}, QStringList{u"12.00$"_s});
        QCOMPARE(f.reps.rangeLines.size(), 1);
        QVERIFY_THROWS_EXCEPTION(AppError, f.consigne(u"005"_s, 3));
        QVERIFY_THROWS_EXCEPTION(AppError, f.consigne(u"005"_s, -1));

        // Amounts are price x quantity, whatever the stored total says: a
        // return (older files left its total empty) takes its amount off; a
        // line with neither price nor quantity is a row of nothing.
        Ledger g;
        addSheet(g.sales, u"090519"_s, {u"TreMar005-004,Pot,1.25$,3,abc"_s, u"TreMar005-005,Rendu,1.00$,-1,"_s,
                                        u"TreMar005-006,Tasse,1.00$,x,9.99$"_s, u"TreMar005-007,Vide,,,"_s});
        g.consigne(u"005"_s, 0);
        QCOMPARE(g.reps.total + QString::number(g.reps.rangeLines.size()), u"39.25$6"_s); // 36.50 + 3.75 - 1.00
        // A line whose amount cannot be held is named once, not again for its
        // stored total; a blank line is no line.
        TSaleList faulty;
        addSheet(faulty, u"090518"_s, {u" "_s, u"TreMar001-001,Bol,922337203685477.00$,2,1.00$"_s,
                                        u"TreMar001-002,Tasse,1.00$,2,2.00$"_s});
        QCOMPARE(storedTotalDifferences(faulty, false).size(), 1);

        // Every artisan at once matches each made alone; a number two
        // artisans share (a large boutique's numbers wrap) is visited for
        // both, one after the other, with its consignment made once.
        Ledger all;
        const QStringList artNos{u"006"_s, u"005"_s, u"006"_s, u"007"_s};
        QMap<qsizetype, QString> seen;
        QList<qsizetype> order;
        all.reps.forEachConsigne(artNos, 0, all.sales, all.xml, [&](qsizetype k) {
            order << k;
            seen[k] = artNos.at(k) + all.reps.rangeLines.join(u'|') + all.reps.total + all.xml.join(u'|');
            all.xml.clear(); // what one artisan's report does to the lines is not seen by the next
        });
        QCOMPARE(order, (QList<qsizetype>{0, 2, 1, 3}));
        QVERIFY(seen.value(0).endsWith(u"4.00$"_s + TRepList::xmlDataLine(u"090518,006,001,Cuillère,4.00$,1,4.00$"_s)));
        for (qsizetype k = 0; k < artNos.size(); ++k) {
            Ledger alone;
            alone.consigne(artNos.at(k), 0);
            QCOMPARE(seen.value(k), artNos.at(k) + alone.reps.rangeLines.join(u'|') + alone.reps.total + alone.xml.join(u'|'));
        }
    }
};

QTEST_GUILESS_MAIN(TestRep)
#include "tst_rep.moc"
