// Products: the record string, quantities and totals, list operations, the
// row texts and the XML item.

#include "core/appError.h"
#include "core/appState.h"
#include "core/textUtil.h"
#include "model/uProd.h"
#include "model/uRep.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"

#include <QDomDocument>
#include <QTest>

using namespace Qt::StringLiterals;

class TstProd : public QObject {
    Q_OBJECT

private slots:
    void record();
    void recordFieldCheck();
    void totals();
    void soldOperations();
    void failedOperationsChangeNothing();
    void money();
    void listOperations();
    void addImported();
    void rowTexts();
    void inventory();
    void section();
    void xmlItem();
};

namespace {

TProduit& bol(TProdList& list)
{
    TProduit& p = list.append();
    p.setProdRecord(u"001:|:003:|:Bol:|:12.50$:|:20.00$:|:0905185:|:0905201:|:1:|:5:|::|::|:"_s);
    return p;
}

} // namespace

void TstProd::record()
{
    TProdList list;
    TProduit& p = bol(list);
    QCOMPARE(p.qntList.qntAt(u"090518"_s), u"5"_s);
    QCOMPARE(p.soldList.qntAt(u"090520"_s), u"1"_s);
    QCOMPARE(p.prodRecord(),
             u"001:|:003:|:Bol:|:12.50$:|:20.00$:|:0905185:|:0905201:|:1:|:5:|::|::|:"_s);
    // The reserved fields travel unchanged.
    p.reserved1 = u"r1"_s;
    p.reserved3 = u"r3"_s;
    TProduit q;
    q.setProdRecord(p.prodRecord());
    QCOMPARE(q.prodRecord(), p.prodRecord());
    QCOMPARE(q.reserved3, u"r3"_s);

    // No events: packed texts empty, totals "0".
    TProduit empty;
    QCOMPARE(empty.prodRecord(), u":|::|::|::|::|::|::|:0:|:0:|::|::|:"_s);

    // A short record repeats its last field in all the later text fields.
    TProduit shortRec;
    shortRec.setProdRecord(u"001:|:002:|:Vase"_s);
    QCOMPARE(shortRec.prix, u"Vase"_s);
    QCOMPARE(shortRec.reserved3, u"Vase"_s);

    // A quantity that is not an integer does not prevent building the record:
    // the totals keep their last text.
    TProduit bad;
    bad.setProdRecord(u"001:|:001:|:X:|::|::|:090518:|::|:0:|:7:|::|::|:"_s);
    QCOMPARE(bad.qntList.count(), 1);
    QCOMPARE(bad.qntList.at(0).qnt, QString());
    QCOMPARE(bad.prodRecord(), u"001:|:001:|:X:|::|::|:090518:|::|:0:|:7:|::|::|:"_s);
}

void TstProd::recordFieldCheck()
{
    QVERIFY(recordFieldProblem(u"a|:b :|x"_s, PROD_SEP).isEmpty());
    QVERIFY(recordFieldProblem(u"a:|:b"_s, REC_SEP).isEmpty());
    const QString inside = recordFieldProblem(u"a:|:b"_s, PROD_SEP);
    QVERIFY(inside.contains(u"« :|: »"_s));
    // A field ending in ":|" would be cut one character early.
    QVERIFY(recordFieldProblem(u"Vase :|"_s, PROD_SEP).contains(u"« :| »"_s));
    QVERIFY(!recordFieldProblem(u"Dupont|:"_s, REC_SEP).isEmpty());
    QVERIFY(recordFieldProblem(u"Dupont|"_s, REC_SEP).isEmpty());

    // What the check accepts really reads back as it was (accents included).
    for (const QString& text : {u"a|"_s, u"a:"_s, u":|a"_s, u"|"_s, u"::"_s, u"Théière « émaillée » 5€"_s}) {
        QVERIFY(recordFieldProblem(text, PROD_SEP).isEmpty());
        TProduit p;
        p.descript = text;
        TProduit q;
        q.setProdRecord(p.prodRecord());
        QCOMPARE(q.descript, text);
    }
}

void TstProd::totals()
{
    TProdList list;
    TProduit& p = list.addProduct(u"004"_s, u"001"_s, u"090518"_s);
    QCOMPARE(p.qntList.qntText(2), u"0905180"_s);
    QCOMPARE(p.availableStr(), u"0"_s);

    p.qntList.addQnt(u"090519"_s, u"5"_s);
    p.soldList.addQnt(u"090520"_s, u"7"_s);
    QCOMPARE(list.qntInfo(0, 0), u"5"_s);
    QCOMPARE(list.qntInfo(0, 1), u"7"_s);
    QCOMPARE(list.qntInfo(0, 2), u"-2"_s);
    QCOMPARE(list.qntInfo(1, 0), u"na"_s);
}

void TstProd::soldOperations()
{
    TProdList list;
    TProduit& p = bol(list);
    list.addSoldAt(0, u"090521"_s, u"2"_s);
    list.addSoldAt(0, u"090521"_s, u"1"_s);
    QCOMPARE(p.soldList.qntAt(u"090521"_s), u"3"_s);
    QCOMPARE(p.available, 1);

    list.setSoldAt(0, u"090521"_s, u"2"_s);
    list.setSoldAt(0, u"090530"_s, u"9"_s); // absent date: nothing
    list.delSoldAt(0, u"090520"_s);
    list.delSoldAt(0, u"090530"_s); // absent date: nothing
    QCOMPARE(p.soldList.qntText(2), u"0905212"_s);
    QCOMPARE(p.totSold, 2);
    QCOMPARE(p.available, 3);

    // Received events by position.
    list.addReceived(0, u"090501"_s, u"2"_s);
    QCOMPARE(p.qntList.qntText(2), u"0905185,0905012"_s);
    list.sortReceived(0);
    QCOMPARE(p.qntList.qntText(2), u"0905012,0905185"_s);
    list.delReceived(0, 0);
    QCOMPARE(p.qntList.qntText(2), u"0905185"_s);
    QVERIFY_THROWS_EXCEPTION(AppError, list.delReceived(0, 5));
}

void TstProd::failedOperationsChangeNothing()
{
    TProdList list;
    TProduit& p = bol(list);
    QVERIFY_THROWS_EXCEPTION(AppError, p.addSold(u"090522"_s, u"x"_s));
    QCOMPARE(p.soldList.qntText(2), u"0905201"_s);

    // A bad received quantity stops addSold before the sale is recorded.
    p.qntList.addQnt(u"090523"_s, u"beaucoup"_s);
    QCOMPARE(errorOf([&] { p.addSold(u"090524"_s, u"1"_s); }), u"'beaucoup' is not a valid integer value"_s);
    QCOMPARE(p.soldList.qntText(2), u"0905201"_s);

    // delSold with a bad sold quantity elsewhere keeps the event.
    TProduit q;
    q.soldList.addQnt(u"090501"_s, u"1"_s);
    q.soldList.addQnt(u"090502"_s, u"?"_s);
    QVERIFY_THROWS_EXCEPTION(AppError, q.delSold(u"090501"_s));
    QCOMPARE(q.soldList.count(), 2);
}

void TstProd::money()
{
    TProdList list;
    TProduit& p = bol(list);
    QCOMPARE(p.soldValue(u"3"_s), u"37.50$"_s);
    QCOMPARE(p.soldValue(u"0"_s), QString());
    QCOMPARE(p.soldValue(u"-1"_s), QString());
    QVERIFY_THROWS_EXCEPTION(AppError, p.soldValue(u"x"_s));
    p.valeur = u"douze"_s;
    QCOMPARE(errorOf([&] { p.soldValue(u"1"_s); }), u"'douze' is not a valid floating point value"_s);
    // A product never stored from the window has no value yet: 0.
    p.valeur.clear();
    QCOMPARE(p.soldValue(u"2"_s), u"0.00$"_s);

    QCOMPARE(TProduit::unitAmount(u"3"_s, u" 0.10$ "_s), u"0.30$"_s);
    QCOMPARE(TProduit::unitAmount(u"0"_s, u"12.50$"_s), QString());
    QCOMPARE(TProduit::unitAmount(u"x"_s, u"12.50$"_s), QString());
}

void TstProd::listOperations()
{
    QCOMPARE(TProdList::numberFor(998), u"999"_s);
    QCOMPARE(TProdList::numberFor(999), u"000"_s);
    QCOMPARE(numberText(1001), u"001"_s);

    TProdList list;
    for (int i = 0; i < 3; ++i)
        list.append().prodNo = u"x"_s;
    list.renumber();
    QCOMPARE(list.prodNumbers(), (QStringList{u"001"_s, u"002"_s, u"003"_s}));

    TProduit& p = bol(list);
    QCOMPARE(list.productField(3, 3), u"0905185"_s);
    QCOMPARE(list.productField(3, 7), QString());
    QCOMPARE(errorOf([&] { list.productField(5, 0); }), u"List index out of bounds (5)"_s);

    TProduit& n = list.addProduct(u"002"_s, u"005"_s, u"090601"_s);
    QCOMPARE(list.current(), &n);
    list.removeAt(4);
    QCOMPARE(list.current(), nullptr);
    QCOMPARE(&list.at(3), &p);
}

void TstProd::addImported()
{
    TProduit src;
    src.descript = u"Bol"_s;
    src.valeur = u"12.50$"_s;
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
    QCOMPARE(two.count(), 2);
    QCOMPARE(&got, &blank);
    QCOMPARE(got.prix, u"20.00$"_s);
    QCOMPARE(got.qntList.qntText(2), u"0905180,0905191"_s);

    // A described last product is kept; a new one is appended.
    TProduit& again = two.addImported(src, u"002"_s, u"003"_s, u"090519"_s);
    QCOMPARE(two.count(), 3);
    QCOMPARE(again.prodNo, u"003"_s);
    QCOMPARE(again.qntList.qntText(2), u"0905191"_s);

    // Through the program state: today's date, the shown artisan's number.
    AppState st;
    st.curArtNo = u"004"_s;
    QCOMPARE(::addProduct(st, u"001"_s).qntList.qntText(2), todayStr() + u"0"_s);
    QCOMPARE(::addImported(st, src, u"002"_s).artNo, u"004"_s);
    QCOMPARE(st.prodNoList, (QStringList{u"001"_s, u"002"_s}));
}

void TstProd::rowTexts()
{
    TProdList list;
    TProduit& p = bol(list);
    QCOMPARE(list.saleLine(0, u"090520"_s), u"003,\"Bol\",4,20.00$,1,20.00$"_s);
    QCOMPARE(list.saleLine(0, u"090601"_s), u"003,\"Bol\",4,20.00$,0,"_s);
    QCOMPARE(list.listLine(0), u"003,\"Bol\",5,12.50$,20.00$"_s);
    QCOMPARE(list.importLine(0), u"001,\"Bol\",12.50$,20.00$,"_s);
    p.prodNo = u"*007"_s;
    QVERIFY(list.importLine(0).endsWith(u",007"_s));
    QCOMPARE(TProdList().saleLine(0, u"090520"_s), QString());

    // A quote in a description reads back whole from the row.
    p.descript = u"Vase 12\" bleu, grand"_s;
    const QStringList cells = readCommaList(list.listLine(0));
    QCOMPARE(cells.size(), 5);
    QCOMPARE(cells.at(1), p.descript);
    QCOMPARE(readCommaList(list.saleLine(0, u"090520"_s)).at(1), p.descript);
    QCOMPARE(readCommaList(list.importLine(0)).at(1), p.descript);
}

void TstProd::inventory()
{
    TProdList list;
    bol(list);
    TProduit& other = list.append();
    other.setProdRecord(u"002:|:001:|:Tasse:|::|::|:0905183:|::|:0:|:3:|::|::|:"_s);
    TProduit& second = list.append();
    second.setProdRecord(u"001:|:004:|:Vase bleu:|::|::|:0905182:|::|:0:|:2:|::|::|:"_s);

    // The query empties the ledger's results and the periods' spareLines.
    TSaleList sales;
    TRepList reps;
    sales.results << u"row"_s;
    reps.spareLines << u"spare"_s;
    const QStringList rows = readCommaList(list.getCurInvent(u"001"_s, sales, reps));
    QVERIFY(sales.results.isEmpty());
    QVERIFY(reps.spareLines.isEmpty());
    QCOMPARE(rows.size(), 2);
    QCOMPARE(readCommaList(rows.at(0)),
             (QStringList{u"003"_s, u"Bol"_s, u"5"_s, u"1"_s, u"4"_s}));
    QCOMPARE(readCommaList(rows.at(1)),
             (QStringList{u"004"_s, u"Vase bleu"_s, u"2"_s, u"0"_s, u"2"_s}));
    QCOMPARE(list.getCurInvent(u"009"_s, sales, reps), QString());
}

void TstProd::section()
{
    TProdList list;
    bol(list);
    list.addProduct(u"004"_s, u"001"_s, u"090518"_s).descript = u"Théière"_s;

    const QByteArray bytes = writeSection([&](TWriter& w) {
        list.writeProducts(w);
        TProdList().writeProducts(w);
    });
    QVERIFY(bytes.endsWith(QByteArray("\x00\x01\x00", 3)));

    TProdList back;
    back.append(); // replaced by the read
    TProdList none;
    none.append();
    readSection(bytes, [&](TReader& r) {
        back.readProducts(r);
        none.readProducts(r);
    });
    QCOMPARE(back.count(), 2);
    const TProduit* const last = back.items().at(1).get(); // at() itself would set current
    QCOMPARE(back.current(), last);
    QCOMPARE(back.at(0).prodRecord(), list.at(0).prodRecord());
    QCOMPARE(back.at(1).descript, u"Théière"_s);
    QVERIFY(none.isEmpty());
}

void TstProd::xmlItem()
{
    TProdList list;
    TProduit& p = bol(list);
    QCOMPARE(list.itemXML(0),
             u"<item id=\"003\" dsc=\"Bol\"><qntStr>090518=5</qntStr><totQnt>5</totQnt>"
             u"<soldQnt>1</soldQnt><valeur>12.50$</valeur><prix>20.00$</prix></item>"_s);
    QCOMPARE(list.itemsXML(), u"\t\t"_s + list.itemXML(0) + u"\n"_s);

    TProduit empty;
    QCOMPARE(empty.itemXML(),
             u"<item id=\"\" dsc=\"\"><qntStr/><totQnt/><soldQnt/><valeur/><prix/></item>"_s);

    // Escaped, and read back by position.
    p.descript = u"Bol \"Tom & Léa\" <3>\tfin"_s;
    const QString xml = p.itemXML();
    QVERIFY(xml.contains(u"dsc=\"Bol &quot;Tom &amp; Léa&quot; &lt;3&gt;&#9;fin\""_s));
    QDomDocument doc;
    QVERIFY(doc.setContent(xml));
    TProduit q;
    q.artNo = u"x"_s;
    q.readItemXML(doc.documentElement());
    QCOMPARE(q.descript, p.descript);
    QCOMPARE(q.qntStr, u"090518=5"_s);
    QCOMPARE(q.prix, u"20.00$"_s);
    QCOMPARE(q.qntList.count(), 0);

    // A quoted description of an older file loses its quotes.
    QVERIFY(doc.setContent(u"<item id=\"2\" dsc='\"a \"\"b\"\"\" x'><q>1</q></item>"_s));
    TProduit r;
    r.readItemXML(doc.documentElement());
    QCOMPARE(r.descript, u"a \"b\""_s);
    QCOMPARE(r.qntStr, u"1"_s);
}

QTEST_GUILESS_MAIN(TstProd)
#include "tst_prod.moc"
