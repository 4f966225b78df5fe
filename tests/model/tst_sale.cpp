// The sales ledger: record strings and its file section, sheets, queries,
// line formats, XML fragment and ordering. (The reference database file's
// exact bytes after a load and a save are checked through tlvdb resave.)

#include "core/appError.h"
#include "boutique/appState.h"
#include "model/uRep.h"
#include "support/fakePrompt.h"
#include "support/modelSheets.h"

#include <QTest>

using namespace Qt::StringLiterals;

static const QString VASE = u"TreMar005-003,Vase,12.00$,2,24.00$"_s;

class TestSale : public QObject {
    Q_OBJECT

private slots:
    void sheetsLinesAndQueries()
    {
        const QStringList hostile = {
            saleLine(u"TreMar005-003"_s, u"Vase, \"bleu\"  nuit"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s),
            saleLine(u"VerArt001-001"_s, u" éèà ç€ a|:|b"_s, u"1.50$"_s, u"0"_s, QString()),
            saleLine(u"VerArt001-003"_s, u"tab\there\nnewline"_s, u"3.00$"_s, u"-1"_s, u"3.00$"_s),
        };
        TSaleList l; // (an empty list's bytes: db-empty.tlvdb)
        addSheet(l, u"090518"_s, {saleLine(u"A001-001"_s, u"Vase bleu"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s)},
                 u"Préposé"_s, u"24.00$"_s);
        // A line whose description holds a blank is quoted inside the quoted lines.
        QCOMPARE(l.at(0).record(), u"090518|:|Préposé|:|24.00$|:|\"A001-001,\"\"Vase bleu\"\",12.00$,2,24.00$\""_s);
        addSheet(l, u"090301"_s, hostile, u"Marie-Ève"_s);
        addSheet(l, u"081224"_s, {});
        const QByteArray bytes = writeSection([&](TWriter& w) { l.writeSales(w); });

        TSaleList back;
        addSheet(back, u"999999"_s, {VASE}); // replaced by the load
        back.curDate = u"999999"_s;
        readSection(bytes, [&](TReader& r) { back.readSales(r); });
        QCOMPARE(back.saleLinesOf(1), hostile);
        QCOMPARE(back.curDate, QString());
        QCOMPARE(writeSection([&](TWriter& w) { back.writeSales(w); }), bytes);
        // Cut inside the last sheet's string: the others are kept.
        QVERIFY_THROWS_EXCEPTION(ReadError, readSection(bytes.chopped(5), [&](TReader& r) { back.readSales(r); }));
        QCOMPARE(back.count(), 2);
        QCOMPARE(back.at(1).agent, u"Marie-Ève"_s);

        // Sheets: added, chosen, stored and ordered.
        TSaleList sh;
        QCOMPARE(sh.indexOfCurDate(), -1);
        sh.addSheet(u"090518"_s, u"Julie"_s);
        sh.addSheet(u"090601"_s, u"Marc"_s);
        QCOMPARE(sh.sheetDates(), (QStringList{u"090601"_s, u"090518"_s})); // inserted at the front
        QCOMPARE(sh.indexOfCurDate(), 0);
        QCOMPARE(sh.selectSheet(1).date, u"090518"_s);
        QCOMPARE(sh.curDate, u"090518"_s);
        QVERIFY_THROWS_EXCEPTION(AppError, sh.sheetLines(-1));
        for (const int outside : {-1, 2}) // just before the first sheet, just past the last
            QVERIFY_THROWS_EXCEPTION(AppError, sh.removeSheet(outside));
        QCOMPARE(sh.count(), 2);
        sh.curDate = u"090601"_s;
        QCOMPARE(sh.storeSheet(0, u"090601"_s, u"Marc"_s, u"24.00$"_s, {VASE}), u"090601à jour!"_s);
        QCOMPARE(sh.sheetLines(0), writeCommaList({VASE}));
        // Several sheets of one date (a file written elsewhere): the last.
        addSheet(sh, u"090518"_s, {});
        QCOMPARE(sh.indexOfDate(u"090518"_s), 2);

        // Newest first; sheets of one date keep their order, none is lost: with
        // six-digit dates (sorted as numbers) and with any other date text.
        TSaleList d;
        for (const QString& s : {u"090301a"_s, u"090518b"_s, u"081224c"_s, u"090301d"_s, u"090518e"_s})
            addSheet(d, s.left(6), {}, s.mid(6));
        auto order = [&d] {
            d.sortByDate();
            QStringList out;
            for (int i = 0; i < d.count(); ++i)
                out << d.at(i).date + d.at(i).agent;
            return out.join(u' ');
        };
        QCOMPARE(order(), u"090518b 090518e 090301a 090301d 081224c"_s);
        addSheet(d, u"09051"_s, {}, u"f"_s);
        QCOMPARE(order(), u"090518b 090518e 09051f 090301a 090301d 081224c"_s);

        // Line formats and the queries over the sheets.
        const QString quoted = saleLine(u"TreMar005-003"_s, u"Vase, bleu"_s, u"12.00$"_s, u"2"_s, u"24.00$"_s);
        const QString shortTag = u"LiAr005-003,Bol,1.00$,1,1.00$"_s;
        const QString padded = saleLine(u"LiArt 005-003"_s, u"Bol"_s, u"1.00$"_s, u"1"_s, u"1.00$"_s);
        QCOMPARE((QStringList{TSaleList::formatSaleLine(0, VASE), TSaleList::formatSaleLine(1, VASE),
                              TSaleList::formatSaleLine(2, VASE), TSaleList::formatSaleLine(3, VASE),
                              TSaleList::formatSaleLine(4, VASE), TSaleList::formatSaleLine(-1, VASE),
                              TSaleList::formatSaleLine(2, quoted), TSaleList::formatSaleLine(2, shortTag),
                              TSaleList::formatSaleLine(1, shortTag), TSaleList::formatSaleLine(3, padded)}),
                 (QStringList{VASE, u"TreMar,005-003,Vase,12.00$,2,24.00$"_s, u"005,003,Vase,12.00$,2,24.00$"_s,
                              u"005,003,2,24.00$"_s, {}, {}, u"005,003,\"Vase, bleu\",12.00$,2,24.00$"_s,
                              // A tag under six letters still yields the numbers; a padded one keeps its positions.
                              u"005,003,Bol,1.00$,1,1.00$"_s, u"LiAr,005-003,Bol,1.00$,1,1.00$"_s, u"005,003,1,1.00$"_s}));

        TSaleList q;
        addSheet(q, u"090518"_s, {VASE});
        QCOMPARE(q.getAllSales(1), u"\"090518,TreMar,005-003,Vase,12.00$,2,24.00$\""_s);
        addSheet(q, u"090301"_s, {saleLine(u"VerArt001-002"_s, u"Bol"_s, u"5.00$"_s, u"1"_s, u"5.00$"_s), VASE},
                 u"Marc"_s, u"29.00$"_s);
        addSheet(q, u"090228"_s, {}, u"Ann Marie"_s, u"0.00$"_s);
        q.getAllSales(3);
        QCOMPARE(q.results, (QStringList{u"090518,005,003,2,24.00$"_s, u"090301,001,002,1,5.00$"_s,
                                         u"090301,005,003,2,24.00$"_s}));
        TRepList reps;
        reps.addPeriod(u"Mars"_s, u"090228"_s, u"090301"_s);
        reps.addPeriod(u"Mai"_s, u"090401"_s, u"090531"_s);
        FakePrompt prompt;
        // Both ends of the period count.
        q.periodSheets(0, reps, prompt);
        QCOMPARE(q.results, (QStringList{u"090301,Marc,29.00$"_s, u"090228,\"Ann Marie\",0.00$"_s}));
        q.getPeriodSales(2, 1, reps, prompt);
        QCOMPARE(q.results, QStringList{u"090518,005,003,Vase,12.00$,2,24.00$"_s});
        q.getPeriodSales(3, 1, reps, prompt); // the last form: numbers, quantity and amount
        QCOMPARE(q.results, QStringList{u"090518,005,003,2,24.00$"_s});
        QVERIFY(prompt.all.isEmpty());
        // A period index outside the list is reported and matches nothing.
        q.periodSheets(7, reps, prompt);
        QVERIFY(q.results.isEmpty());
        QCOMPARE(prompt.informations.value(0),
                 u"Période n° 7 introuvable : la liste en compte 2."_s);

        QCOMPARE(q.lineQuantity(1, u"VerArt001-002"_s) + q.lineQuantity(1, u"Absent000-000"_s), u"Quant: 1"_s);
        // sheetLineRows: one row per line, the key and quantity left out.
        QCOMPARE(q.sheetLineRows(1, u"005"_s, 0) + q.sheetLineRows(2, u"005"_s, 0), u"\",090301\",\",090301\""_s);
        QCOMPARE(q.sheetLineRows(1, u"005"_s, 1), u"\"005,,090301\",\"005,,090301\""_s);

        addSheet(q, u"090101"_s, {VASE, saleLine(u"A&B<x>001-002"_s, u"Bol"_s, u"5.00$"_s, u"1"_s, u"5.00$"_s),
                                  u"X001-001,,1.00$,,"_s, u"Y001-001,Bol,1.00$"_s});
        QCOMPARE(q.salesXML(u"090102"_s, u"090227"_s), QString());
        QCOMPARE(q.salesXML(u"090101"_s, u"090228"_s),
                 u"<saleItem date=\"090228\">\n</saleItem>\n"
                 "<saleItem date=\"090101\">\n"
                 "\t\t<prod><aNo>TreMar005-003</aNo><xStr>2</xStr></prod>\n"
                 "\t\t<prod><aNo>A&amp;B&lt;x&gt;001-002</aNo><xStr>1</xStr></prod>\n"
                 "\t\t<prod><aNo>X001-001</aNo><xStr/></prod>\n"
                 "\t\t<prod><aNo>Y001-001</aNo><xStr>Y001-001,Bol,1.00$</xStr></prod>\n"
                 "</saleItem>\n"_s);
    }
};

QTEST_GUILESS_MAIN(TestSale)
#include "tst_sale.moc"
