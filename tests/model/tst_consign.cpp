// The consignment of one artisan and of every artisan over a period: rows,
// XML data lines and totals.

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "support/fakePrompt.h"
#include "support/testFiles.h"
#include "model/uRep.h"
#include "support/modelSheets.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A ledger with two sales of artisan 005 (24.00$ and 12.50$) and one of 006
// inside period 0 ("Printemps"), one sale of 005 in period 1.
struct Fixture {
    TSaleList sales;
    TRepList reps;
    bool ready = false;
    QStringList xml;

    Fixture()
    {
        addSheet(sales, u"090601"_s, {u"TreMar005-003,Vase,12.00$,1,12.00$"_s});
        addSheet(sales, u"090531"_s, {u"TreMar005-001,\"Bol, bleu\",12.50$,1,12.50$"_s});
        addSheet(sales, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s,
                                      u"DupJea006-001,Cuillère,4.00$,1,4.00$"_s});
        addSheet(sales, u"090228"_s, {u"TreMar005-003,Vase,12.00$,9,108.00$"_s});
        reps.addPeriod(u"Printemps"_s, u"090301"_s, u"090531"_s);
        reps.addPeriod(u"Juin"_s, u"090601"_s, u"090630"_s);
        reps.addPeriod(u"Vide"_s, u"100101"_s, u"100131"_s);
    }
};

} // namespace

class TestConsign : public QObject {
    Q_OBJECT

private slots:
    void oneArtisan()
    {
        Fixture f;
        f.xml << u"old"_s;
        const TReport* const first = &f.reps.at(0);
        f.reps.at(1); // at() itself sets current
        f.reps.setConsigne(u"005"_s, 0, f.sales, f.ready, f.xml);
        QVERIFY(f.ready); // rows were prepared on the way
        QCOMPARE(f.reps.current(), first);
        QCOMPARE(f.reps.rangeLines, (QStringList{u"090531,005,001,\"Bol, bleu\",12.50$,1,12.50$"_s,
                                                 u"090518,005,003,Vase,12.00$,2,24.00$"_s}));
        QCOMPARE(f.reps.total, u"36.50$"_s);
        QCOMPARE(f.xml.size(), 2);
        QCOMPARE(f.xml.at(0), u"<date>090531</date><aNo>005</aNo><pNo>001</pNo><descript>Bol, bleu</descript>"
                               "<valeur>12.50$</valeur><qnt>1</qnt><tot>12.50$</tot>"_s);

        // No sale of this artisan in a period that has rows.
        f.reps.setConsigne(u"007"_s, 0, f.sales, f.ready, f.xml);
        QVERIFY(f.reps.rangeLines.isEmpty());
        QVERIFY(f.xml.isEmpty());
        QCOMPARE(f.reps.total, u"0.00$"_s);

        // A period without rows keeps the previous rows and total.
        f.reps.setConsigne(u"005"_s, 1, f.sales, f.ready, f.xml);
        QCOMPARE(f.reps.total, u"12.00$"_s);
        f.reps.setConsigne(u"005"_s, 2, f.sales, f.ready, f.xml);
        QCOMPARE(f.reps.total, u"12.00$"_s);
        QCOMPARE(f.reps.rangeLines.size(), 1);
        QVERIFY(f.xml.isEmpty());

        QVERIFY_THROWS_EXCEPTION(AppError, f.reps.setConsigne(u"005"_s, 3, f.sales, f.ready, f.xml));
        QVERIFY_THROWS_EXCEPTION(AppError, f.reps.setConsigne(u"005"_s, -1, f.sales, f.ready, f.xml));
    }

    void totalsIgnoreUnreadableAmounts()
    {
        TSaleList sales;
        addSheet(sales, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,abc"_s, u"TreMar005-004,Pot,1.25$,3,3.75$"_s,
                                      u"TreMar005-005,Tasse,1.00$,0,"_s, u"TreMar005-006,Rendu,1.00$,-1,-1.10$"_s});
        TRepList reps;
        reps.addPeriod(u"P"_s, u"090101"_s, u"091231"_s);
        bool ready = false;
        QStringList xml;
        reps.setConsigne(u"005"_s, 0, sales, ready, xml);
        QCOMPARE(reps.rangeLines.size(), 4);
        QCOMPARE(reps.total, u"2.65$"_s);
    }

    void usesPreparedRowsUntilReset()
    {
        Fixture f;
        f.reps.setConsigne(u"005"_s, 0, f.sales, f.ready, f.xml);
        addSheet(f.sales, u"090401"_s, {u"TreMar005-009,Neuf,1.00$,1,1.00$"_s});
        f.reps.setConsigne(u"005"_s, 0, f.sales, f.ready, f.xml);
        QCOMPARE(f.reps.total, u"36.50$"_s); // rows as prepared
        f.ready = false; // another artisan shown
        f.reps.setConsigne(u"005"_s, 0, f.sales, f.ready, f.xml);
        QCOMPARE(f.reps.total, u"37.50$"_s);
    }

    void everyArtisanMatchesOneByOne()
    {
        Fixture f;
        const QStringList artNos{u"005"_s, u"006"_s, u"007"_s};
        QStringList rows, totals, xmlOut;
        f.reps.forEachConsigne(artNos, 0, f.sales, f.ready, f.xml, [&](qsizetype k) {
            rows << artNos.at(k) + u':' + f.reps.rangeLines.join(u'|');
            totals << f.reps.total;
            xmlOut << f.xml.join(u'|');
        });
        QCOMPARE(totals, (QStringList{u"36.50$"_s, u"4.00$"_s, u"0.00$"_s}));
        for (qsizetype k = 0; k < artNos.size(); ++k) {
            Fixture g;
            g.reps.setConsigne(artNos.at(k), 0, g.sales, g.ready, g.xml);
            QCOMPARE(rows.at(k), artNos.at(k) + u':' + g.reps.rangeLines.join(u'|'));
            QCOMPARE(totals.at(k), g.reps.total);
            QCOMPARE(xmlOut.at(k), g.xml.join(u'|'));
        }
    }

    void largePeriodForEveryArtisan()
    {
        // 100 artisans over 20 000 rows: each gets exactly its own rows. (What
        // it costs is measured by the benchmark, not here.)
        TSaleList sales;
        QStringList lines;
        for (int i = 0; i < 20000; ++i)
            lines << u"TreMar%1-001,\"Vase, bleu\",1.00$,1,1.00$"_s.arg(i % 100 + 1, 3, 10, QLatin1Char('0'));
        addSheet(sales, u"090518"_s, lines);
        TRepList reps;
        reps.addPeriod(u"P"_s, u"090101"_s, u"091231"_s);
        QStringList artNos;
        for (int a = 1; a <= 100; ++a)
            artNos << u"%1"_s.arg(a, 3, 10, QLatin1Char('0'));
        bool ready = false;
        QStringList xml;
        reps.prepareLines(sales, ready);

        reps.setConsigne(u"001"_s, 0, sales, ready, xml);
        QCOMPARE(reps.total, u"200.00$"_s);

        int seen = 0;
        reps.forEachConsigne(artNos, 0, sales, ready, xml, [&](qsizetype) {
            QCOMPARE(reps.total, u"200.00$"_s);
            QCOMPARE(xml.size(), 200);
            ++seen;
        });
        QCOMPARE(seen, 100);
    }

    void nextDatabaseIsPreparedAgain()
    {
        // After a consignment, the next database's ledger (emptied, or
        // loaded, even when its sales section is damaged) is prepared anew.
        QTemporaryDir dir;
        AppState next;
        addSheet(next.saleList, u"090520"_s, {u"TreMar005-001,Bol,5.00$,1,5.00$"_s});
        next.repList.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
        const QString path = dir.filePath(u"next.tlvdb"_s);
        saveDB(path, next);
        QByteArray cut = readFileBytes(path);
        cut.chop(30); // into the sales section
        const QString damaged = dir.filePath(u"cut.tlvdb"_s);
        QVERIFY(writeFileBytes(damaged, cut));
        for (int way = 0; way < 3; ++way) {
            AppState st;
            addSheet(st.saleList, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s});
            st.repList.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
            st.repList.setConsigne(u"005"_s, 0, st.saleList, st.linesReady, st.xmlDataLines);
            QCOMPARE(st.repList.total, u"24.00$"_s);
            FakePrompt prompt;
            if (way == 0)
                st.repList.clear();
            else
                loadDB(way == 1 ? path : damaged, st, prompt);
            QVERIFY(!st.linesReady);
            if (way == 1) {
                st.repList.setConsigne(u"005"_s, 0, st.saleList, st.linesReady, st.xmlDataLines);
                QCOMPARE(st.repList.total, u"5.00$"_s);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestConsign)
#include "tst_consign.moc"
