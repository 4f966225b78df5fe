// Products: the record string and its field check, quantities and money,
// list operations, the row texts and an older file's XML item.

#include "boutique/appState.h"
#include "boutique/productState.h"
#include "model/uProd.h"
#include "model/uRep.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"

#include <QDomDocument>
#include <QTest>

using namespace Qt::StringLiterals;

static const QString BOL = u"001:|:003:|:Bol:|:12.50$:|:20.00$:|:0905185:|:0905201:|:1:|:5:|::|::|:"_s;

static TProduit& bol(TProdList& list)
{
    TProduit& p = list.append();
    p.setProdRecord(BOL);
    return p;
}

class TstProd : public QObject {
    Q_OBJECT

private slots:
    void record()
    {
        TProdList list;
        TProduit& p = bol(list);
        QCOMPARE(p.qntList.qntAt(u"090518"_s), u"5"_s);
        QCOMPARE(p.prodRecord(), BOL);
        p.reserved3 = u"r3"_s; // reserved fields travel unchanged
        TProduit q;
        q.setProdRecord(p.prodRecord());
        QCOMPARE(q.prodRecord(), p.prodRecord());
        // A short record repeats its last field in all the later text fields.
        q.setProdRecord(u"001:|:002:|:Vase"_s);
        QCOMPARE(q.reserved3, u"Vase"_s);
        // A quantity that is not an integer keeps the totals' last text.
        const QString bad = u"001:|:001:|:X:|::|::|:090518:|::|:0:|:7:|::|::|:"_s;
        TProduit r;
        r.setProdRecord(bad);
        QCOMPARE(r.prodRecord(), bad);
        // So do totals past the largest number, as a save writes them.
        const QString big = u"001:|:004:|:X:|::|::|:2601012147483647,2601022147483647:|::|:0:|:7:|::|::|:"_s;
        r.setProdRecord(big);
        QCOMPARE(r.storedRecord(), big);

        // (Separators typed are refused: tst_prodFrm.) Each record's own
        // separator only; what the check accepts really reads back as it was.
        QVERIFY(recordFieldProblem(u"Dupont|"_s, REC_SEP).isEmpty() && recordFieldProblem(u"a:|:b"_s, REC_SEP).isEmpty());
        for (const QString& text : {u"a|"_s, u"a:"_s, u":|a"_s, u"|"_s, u"::"_s, u"Théière « émaillée » 5€"_s}) {
            QVERIFY(recordFieldProblem(text, PROD_SEP).isEmpty());
            p.descript = text;
            q.setProdRecord(p.prodRecord());
            QCOMPARE(q.descript, text);
        }
        // Our items read back through the artisan-list tests; a quoted
        // description of an older file loses its quotes.
        QDomDocument doc;
        QVERIFY(doc.setContent(u"<item id=\"2\" dsc='\"a \"\"b\"\"\" x'><q>1</q></item>"_s));
        q.readItemXML(doc.documentElement());
        QCOMPARE(q.descript + u'|' + q.qntStr, u"a \"b\"|1"_s);
    }

    void quantitiesAndAmounts()
    {
        TProdList list;
        TProduit& p = bol(list);
        list.addSoldAt(0, u"090521"_s, u"2"_s);
        list.addSoldAt(0, u"090521"_s, u"1"_s);
        QCOMPARE(p.available, 1);
        list.setSoldAt(0, u"090521"_s, u"2"_s);
        list.setSoldAt(0, u"090530"_s, u"9"_s); // absent date: nothing
        list.delSoldAt(0, u"090520"_s);
        list.delSoldAt(0, u"090530"_s);
        QCOMPARE(p.soldList.qntText(2), u"0905212"_s);
        QCOMPARE(list.qntInfo(0, 0) + list.qntInfo(0, 1) + list.qntInfo(0, 2) + list.qntInfo(1, 0), u"523na"_s);
        list.addSoldAt(0, u"090522"_s, u"7"_s);
        QCOMPARE(p.availableStr(), u"-4"_s);

        list.addReceived(0, u"090501"_s, u"2"_s);
        list.sortReceived(0);
        QCOMPARE(p.qntList.qntText(2), u"0905012,0905185"_s);
        list.delReceived(0, 0);
        QCOMPARE(p.qntList.qntText(2), u"0905185"_s);
        QVERIFY_THROWS_EXCEPTION(AppError, list.delReceived(0, 5));

        // Failures change nothing.
        QVERIFY_THROWS_EXCEPTION(AppError, p.addSold(u"090523"_s, u"x"_s));
        p.qntList.addQnt(u"090523"_s, u"beaucoup"_s);
        QCOMPARE(errorOf([&] { p.addSold(u"090524"_s, u"1"_s); }), u"'beaucoup' is not a valid integer value"_s);
        QCOMPARE(p.soldList.qntText(2), u"0905212,0905227"_s);
        TProduit q;
        q.soldList.addQnt(u"090501"_s, u"1"_s);
        q.soldList.addQnt(u"090502"_s, u"?"_s);
        QVERIFY_THROWS_EXCEPTION(AppError, q.delSold(u"090501"_s));
        QCOMPARE(q.soldList.count(), 2);

        // Amounts at the product's Valeur.
        TProduit m;
        m.valeur = u" 0.10$ "_s;
        QCOMPARE(m.soldValue(u"3"_s) + TProduit::unitAmount(u"3"_s, m.valeur), u"0.30$0.30$"_s);
        QCOMPARE(m.soldValue(u"0"_s) + TProduit::unitAmount(u"0"_s, m.valeur), QString());
        // A return takes its amount back.
        QCOMPARE(m.soldValue(u"-1"_s) + TProduit::unitAmount(u"-2"_s, m.valeur), u"-0.10$-0.20$"_s);
        QCOMPARE(TProduit::unitAmount(u"x"_s, m.valeur), QString());
        QCOMPARE(errorOf([&] { m.soldValue(u"x"_s); }), u"'x' is not a valid integer value"_s);
        m.valeur.clear(); // a product never stored from the window has no value yet
        QCOMPARE(m.soldValue(u"2"_s), u"0.00$"_s);
        m.valeur = u"douze"_s;
        QCOMPARE(errorOf([&] { m.soldValue(u"1"_s); }), u"'douze' is not a valid floating point value"_s);
    }

    void listsAndRowTexts()
    {
        QCOMPARE(TProdList::numberFor(998) + TProdList::numberFor(999), u"999000"_s);
        TProdList list;
        for (int i = 0; i < 3; ++i)
            list.append().prodNo = u"x"_s;
        list.renumber();
        QCOMPARE(list.prodNumbers(), (QStringList{u"001"_s, u"002"_s, u"003"_s}));
        TProduit& p = bol(list);
        list.addProduct(u"002"_s, u"005"_s, u"090601"_s);
        list.removeAt(4);
        QCOMPARE(list.current(), nullptr);
        QCOMPARE(&list.at(3), &p);

        // Imported products.
        TProduit src;
        src.descript = u"Bol"_s;
        src.prix = u"20.00$"_s;
        // One product with an empty description still gets a second product.
        TProdList one;
        one.addProduct(u"001"_s, u"002"_s, u"090518"_s);
        one.addImported(src, u"002"_s, u"002"_s, u"090519"_s);
        QCOMPARE(one.count(), 2);
        // With two, an empty last product is filled in place.
        TProdList two;
        two.append().descript = u"Tasse"_s;
        TProduit& blank = two.addProduct(u"002"_s, u"002"_s, u"090518"_s);
        TProduit& got = two.addImported(src, u"002"_s, u"002"_s, u"090519"_s);
        QCOMPARE(&got, &blank);
        QCOMPARE(got.prix, u"20.00$"_s);
        QCOMPARE(got.qntList.qntText(2), u"0905180,0905191"_s);
        // A described last product is kept; a new one is appended.
        QCOMPARE(two.addImported(src, u"002"_s, u"003"_s, u"090519"_s).qntList.qntText(2), u"0905191"_s);
        QCOMPARE(two.count(), 3);

        AppState st;
        st.curArtNo = u"004"_s;
        QCOMPARE(::addProduct(st, u"001"_s).qntList.qntText(2), todayStr() + u"0"_s);
        QCOMPARE(::addImported(st, src, u"002"_s).artNo, u"004"_s);
        QCOMPARE(st.prodNoList, (QStringList{u"001"_s, u"002"_s}));

        TProdList rows;
        TProduit& first = bol(rows);
        rows.append().setProdRecord(u"002:|:001:|:Tasse:|::|::|:0905183:|::|:0:|:3:|::|::|:"_s);
        rows.append().setProdRecord(u"001:|:004:|:Vase bleu:|::|::|:0905182:|::|:0:|:2:|::|::|:"_s);
        // The inventory query empties the ledger's results and the periods' spareLines.
        TSaleList sales;
        TRepList reps;
        sales.results << u"row"_s;
        reps.spareLines << u"spare"_s;
        QCOMPARE((QStringList{rows.saleLine(0, u"090520"_s), rows.saleLine(0, u"090601"_s), rows.listLine(0),
                              rows.importLine(0), rows.getCurInvent(u"001"_s, sales, reps),
                              rows.getCurInvent(u"009"_s, sales, reps)}),
                 (QStringList{u"003,\"Bol\",4,20.00$,1,20.00$"_s, u"003,\"Bol\",4,20.00$,0,"_s, u"003,\"Bol\",5,12.50$,20.00$"_s,
                              u"001,\"Bol\",12.50$,20.00$,"_s, writeCommaList({u"003,Bol,5,1,4"_s, u"004,\"Vase bleu\",2,0,2"_s}), {}}));
        QVERIFY(sales.results.isEmpty() && reps.spareLines.isEmpty());
        first.prodNo = u"*007"_s;
        QVERIFY(rows.importLine(0).endsWith(u",007"_s));
        // A quote in a description reads back whole from each row.
        first.descript = u"Vase 12\" bleu, grand"_s;
        QCOMPARE(readCommaList(rows.listLine(0)).value(1), first.descript);
        QCOMPARE(readCommaList(rows.saleLine(0, u"090520"_s)).value(1), first.descript);
        QCOMPARE(readCommaList(rows.importLine(0)).value(1), first.descript);
    }
};

QTEST_GUILESS_MAIN(TstProd)
#include "tst_prod.moc"
