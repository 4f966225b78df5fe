// Sold quantities kept equal to the sheets: re-dating and deleting a sheet,
// product numbers, renumbering and the check. (A renamed artisan's lines:
// tst_saleEditor.)

#include "support/modelErrors.h"
#include "boutique/artisanState.h"
#include "boutique/productState.h"
#include "support/modelSheets.h"
#include "support/soldInvariant.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Marie Tremblay (005) with three products; two sheets that sold them, and
// a line of product 004, deleted since.
struct Shop {
    AppState st;
    Shop()
    {
        TArtisan& a = newArtisan(st.artList, u"005"_s, u"Tremblay"_s, u"Marie"_s);
        for (const QString& sold : {u"0905181"_s, u""_s, u"0905182,0903011"_s})
            newProduct(a, numberText(a.products.count() + 1)).soldList.setQntText(sold);
        addSheet(st.saleList, u"090518"_s, {line(u"001"_s, 1), line(u"003"_s, 2)});
        addSheet(st.saleList, u"090301"_s, {line(u"003"_s, 1), line(u"004"_s, 5)});
        st.prodList.assign(a.products);
        st.curArtNo = a.artNo;
    }
    static QString line(const QString& prodNo, int qnt)
    {
        return saleLine(u"TreMar005-"_s + prodNo, u"Bol"_s, u"2.00$"_s, QString::number(qnt), {});
    }
    TProduit& product(int i) { return st.artList.at(0).products.at(i); }
    QString sold(int i) { return product(i).soldList.qntText(2); }
    // Every sheet and sold event: what a refused step must leave as it was.
    QString all()
    {
        QStringList out;
        for (int i = 0; i < 3; ++i)
            out << sold(i);
        for (int s = 0; s < st.saleList.count(); ++s)
            out << st.saleList.at(s).record();
        return out.join(u'/');
    }
};

} // namespace

class TestSoldSync : public QObject {
    Q_OBJECT

private slots:
    void redateAndDeleteMoveSoldEvents()
    {
        Shop s;
        s.st.saleList.curDate = u"090301"_s;
        redateSheet(s.st.artList, s.st.saleList, 1, u"090601"_s);
        QCOMPARE(s.st.saleList.sheetDates(), (QStringList{u"090601"_s, u"090518"_s}));
        QCOMPARE(s.st.saleList.curDate, u"090601"_s);
        QCOMPARE(s.sold(2), u"0905182,0906011"_s);
        QCOMPARE(soldGaps(s.st), QString());
        // A deleted sheet takes its sold events.
        deleteSheet(s.st.artList, s.st.saleList, 1);
        QCOMPARE(s.st.saleList.sheetDates(), QStringList{u"090601"_s});
        QCOMPARE(s.sold(0) + u'/' + s.sold(2), u"/0906011"_s);
        QCOMPARE(soldGaps(s.st), QString());
    }

    void refusedRedateChangesNothing_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::newRow("used") << u"090518"_s << u"Le 090518 a déjà sa feuille de ventes."_s;
        QTest::newRow("no day") << u"090231"_s << u"« 090231 » n'est pas une date valide."_s;
        // Product 003 moves first, then 001 meets a quantity that is no number.
        QTest::newRow("half way") << u"090601"_s << u"'x' is not a valid integer value"_s;
    }
    void refusedRedateChangesNothing()
    {
        QFETCH(QString, date);
        QFETCH(QString, message);
        Shop s;
        s.st.saleList.storeSheet(1, u"090301"_s, {}, {}, {Shop::line(u"003"_s, 1), Shop::line(u"001"_s, 1)});
        s.product(0).soldList.setQntText(u"0905181,0903011,090601x"_s);
        const QString before = s.all();
        QCOMPARE(errorOf([&] { redateSheet(s.st.artList, s.st.saleList, 1, date); }), message);
        QCOMPARE(s.all(), before);
    }

    void numbersAndCheck()
    {
        Shop s;
        // 004 went with its product but its sheet line stays.
        QCOMPARE(nextProdNo(s.st), u"005"_s);
        s.st.saleList.clear();
        QCOMPARE(nextProdNo(s.st), u"004"_s);
        s.st.artList.at(0).products.removeAt(2);
        s.st.prodList.assign(s.st.artList.at(0).products);
        QCOMPARE(nextProdNo(s.st), u"003"_s);

        // Renumbered, lines stay on their products: 003 becomes 002's
        // successor; 004 stays history, never given again.
        Shop r;
        r.st.artList.at(0).products.removeAt(1);
        r.st.artList.at(0).products.append().prodNo = u"009"_s;
        renumberAll(r.st);
        QStringList numbers;
        for (const auto& p : r.st.artList.at(0).products.items())
            numbers << p->prodNo;
        QCOMPARE(numbers, (QStringList{u"001"_s, u"002"_s, u"003"_s}));
        QCOMPARE(r.st.saleList.sheetLines(1), writeCommaList({Shop::line(u"002"_s, 1), Shop::line(u"004"_s, 5)}));
        QCOMPARE(soldGaps(r.st), QString());
        r.st.artList.at(0).products.append();
        renumberAll(r.st);
        QCOMPARE(r.st.artList.at(0).products.at(3).prodNo, u"005"_s);

        // The check lists the gaps and the history.
        Shop t;
        t.product(0).soldList.setQntText(u"0905183,0907071"_s);
        const SoldCheck check = checkSold(t.st.artList, t.st.saleList);
        QCOMPARE(soldCheckLines(check, false),
                 (QStringList{u"artisan 005, product 001, 090518: sold 3, on the sheets 1"_s,
                              u"artisan 005, product 001, 090707: sold 1, on the sheets 0"_s,
                              u"history: artisan 005, product 004 (deleted), 090301: 5 on the sheet"_s}));
        QVERIFY(soldCheckMessage(check, 1).startsWith(u"2 écart(s)"_s));
        // Three lines to show: those past the room are counted, none when all fit.
        for (const auto& [room, more] : {std::pair{1, u"2"_s}, {2, u"1"_s}, {3, QString()}})
            QCOMPARE(soldCheckMessage(check, room).section(u"\n... et "_s, 1).section(u' ', 0, 0), more);
    }
};

QTEST_GUILESS_MAIN(TestSoldSync)
#include "tst_soldSync.moc"
