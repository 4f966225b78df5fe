// The document: each change says what it touched, the modified mark is said
// once when it turns and again when a save or a load below it turned it back.

#include "boutique/artisanState.h"
#include "boutique/boutique.h"
#include "boutique/dbSummary.h"
#include "core/appError.h"
#include "support/fakePrompt.h"
#include "model/uArt.h"
#include "model/uProd.h"
#include "model/uRep.h"

#include <QSignalSpy>
#include <functional>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstBoutique : public QObject {
    Q_OBJECT

private slots:
    // Each named operation says what it touched, modifies when the file would
    // differ, and says nothing when it changed nothing or was refused.
    void operationsAndTheirSignals()
    {
        Boutique doc;
        AppState& st = doc.state();
        QSignalSpy arts(&doc, &Boutique::artisansChanged), prods(&doc, &Boutique::productsChanged),
            sheets(&doc, &Boutique::sheetsChanged), periods(&doc, &Boutique::periodsChanged),
            account(&doc, &Boutique::accountChanged), mark(&doc, &Boutique::modifiedChanged);
        QSignalSpy* spies[] = {&arts, &prods, &sheets, &periods, &account};
        // Which signals the step said ("apsPA" for artisans, products, sheets,
        // periods, account), and whether the boutique is modified after it.
        const auto step = [&](const char* what, const std::function<void()>& op, const QString& said, bool modified) {
            doc.setModified(false);
            for (QSignalSpy* s : spies)
                s->clear();
            op();
            QString got;
            for (int i = 0; i < 5; ++i)
                if (!spies[i]->isEmpty())
                    got += u"apsPA"_s.at(i);
            QVERIFY2(got == said, qPrintable(u"%1: said %2"_s.arg(QLatin1String(what), got)));
            QVERIFY2(doc.isModified() == modified, what);
        };
        const auto refused = [](const std::function<void()>& op) {
            QVERIFY_THROWS_EXCEPTION(AppError, op());
        };

        step("add artisan", [&] { doc.addArtisan(u"001"_s); }, u"a"_s, true);
        step("names", [&] { doc.refreshNames(); }, u"a"_s, false);
        ArtisanFields fields{u"001"_s};
        step("same fields", [&] { QVERIFY(!doc.storeArtisan(0, fields)); }, {}, false);
        fields[1] = u"Roy"_s;
        step("a name", [&] { QVERIFY(doc.storeArtisan(0, fields)); }, u"a"_s, true);
        fields[2] = u"A|:|B"_s; // the record's separator
        step("refused field", [&] { refused([&] { doc.storeArtisan(0, fields); }); }, {}, false);
        QVERIFY(st.artList.at(0).prenom.isEmpty());

        step("add product", [&] { doc.addProduct(u"001"_s).descript = u"Bol"_s; }, u"p"_s, true);
        QCOMPARE(st.artList.at(0).products.count(), 1);
        ProductEntry entry{u"Bol"_s, u"5.00$"_s, u"9.00$"_s, {}};
        entry.received.addQnt(u"260301"_s, u"2"_s);
        entry.received.addQnt(u"260201"_s, u"3"_s);
        step("store product", [&] { QVERIFY(doc.storeProduct(0, entry)); }, u"p"_s, true);
        QCOMPARE(st.prodList.at(0).qntList.qntText(0), u"260201,260301"_s); // by date
        QCOMPARE(st.prodList.at(0).totIn, 5);
        entry.received = st.prodList.at(0).qntList;
        step("product as stored", [&] { QVERIFY(!doc.storeProduct(0, entry)); }, {}, false);
        step("delivery past the range", [&] { refused([&] { doc.addDelivery(0, u"260401"_s, u"2147483647"_s); }); },
             {}, false);
        QCOMPARE(st.prodList.at(0).qntList.count(), 2);
        step("no such delivery", [&] { QVERIFY(!doc.removeDelivery(0, 2)); }, {}, false);
        step("last delivery", [&] { QVERIFY(doc.removeDelivery(0, 1)); }, u"p"_s, true);
        step("no such product", [&] { refused([&] { doc.removeProduct(1); }); }, {}, false);

        step("sheets", [&] { doc.addSheet(u"260301"_s, u"Julie"_s), doc.addSheet(u"260310"_s, u"Julie"_s); }, u"s"_s, true);
        QCOMPARE(st.saleList.at(0).date, u"260310"_s); // newest first
        step("sheet looked at", [&] { doc.storeSheet(0, u"260310"_s, u"Julie"_s, u"9.00$"_s, {}); }, {}, false);
        QVERIFY(st.saleList.at(0).total.isEmpty()); // its stored total kept
        step("sheet edited", [&] { doc.storeSheet(0, u"260310"_s, u"Luc"_s, u"9.00$"_s, {}); }, u"s"_s, true);
        QCOMPARE(st.saleList.at(0).total, u"9.00$"_s);
        Payout pay{0, u"001"_s, u"260312"_s, Money::fromUnits(-1), u"chèque"_s, {}, {}, {}, 0};
        step("payout refused", [&] { refused([&] { doc.pay(pay); }); }, {}, false);
        pay.amount = Money::fromUnits(500);
        step("payouts", [&] { QCOMPARE(doc.pay(QList<Payout>{pay, pay}).last().id, 2); }, u"A"_s, true);
        TProduit& bol = st.prodList.at(0);
        step("sold", [&] { doc.setSold(bol, u"260310"_s, 2); }, u"s"_s, true);
        QCOMPARE(bol.soldList.qntText(3), u"260310=2"_s);
        const TQnt soldBefore = bol.soldList;
        step("sold again", [&] { doc.setSold(bol, u"260310"_s, 1); }, u"s"_s, true);
        QCOMPARE(bol.soldList.qntText(3), u"260310=1"_s); // the day's quantity, not a second event
        step("nothing that day", [&] { doc.clearSold(bol, u"260310"_s); }, u"s"_s, true);
        step("given back", [&] { doc.restoreSold({{&bol, soldBefore}}); }, u"s"_s, true);
        QCOMPARE(bol.soldList.qntText(3), u"260310=2"_s);
        step("nothing to give back", [&] { doc.restoreSold({}); }, {}, false);

        // The period dialog edits the list itself; closing it without an edit
        // is no change, "-[tout]-" coming back included.
        QStringList before = doc.periodRecords();
        step("periods looked at", [&] { doc.periodsEdited(before, this); }, u"P"_s, false);
        QCOMPARE(periods.first().first().value<const QObject*>(), this);
        st.repList.addPeriod(u"Mars"_s, u"260301"_s, u"260331"_s);
        step("a period", [&] { doc.periodsEdited(before, nullptr); }, u"P"_s, true);
        QCOMPARE(doc.periodRecords().count(), 1);

        step("count opened", [&] { doc.openCount(StockCount{u"260320"_s, {}, {}}); }, u"A"_s, true);
        step("unknown key", [&] { QCOMPARE(doc.countScan(u"zzz"_s).kind, ScanResult::Unknown); }, {}, false);
        step("counted", [&] { QCOMPARE(doc.countChosen(0, 0), 0); }, {}, true);
        step("corrected", [&] { doc.setCounted(0, 4); }, {}, true);
        QCOMPARE(st.account.stock.open->lines.at(0).counted, 4);
        step("no such line", [&] { refused([&] { doc.setCounted(1, 4); }); }, {}, false);
        step("count dropped", [&] { doc.dropCount(false); }, {}, false);
        QVERIFY(!st.account.stock.open);

        st.curArtInd = -1;
        step("artisan removed", [&] { doc.removeArtisan(0); }, u"a"_s, true);

        // The mark is said when it turns: a save and a load turn it back.
        doc.setModified(false);
        mark.clear();
        doc.setModified(true);
        doc.setModified(true);
        QCOMPARE(mark.count(), 1);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"b.tlvdb"_s);
        doc.save(path);
        QCOMPARE(mark.count(), 2);
        QCOMPARE(mark.last().first().toBool(), false);
        doc.addArtisan(u"002"_s);
        FakePrompt prompt;
        QCOMPARE(doc.load(path, prompt), LoadResult::Loaded);
        QCOMPARE(mark.count(), 4);
        QCOMPARE(mark.last().first().toBool(), false);

        // "Nouveau" leaves nothing of the boutique, its last artisan gone or not.
        for (const int artisans : {1, 0}) {
            QCOMPARE(doc.load(path, prompt), LoadResult::Loaded); // saved with its artisan removed
            if (artisans == 1)
                doc.addArtisan(u"002"_s);
            QVERIFY(st.artList.count() == artisans && st.saleList.count() == 2 && st.repList.count() > 0);
            doc.startAnew();
            QCOMPARE((QList<qsizetype>{st.artList.count(), st.prodList.count(), st.numItems.size(), st.nameItems.size(),
                                       st.prodNoList.size(), st.saleList.count(), st.repList.count()}),
                     (QList<qsizetype>{0, 0, 0, 0, 0, 0, 0}));
        }
    }

    void choosingAnArtisan()
    {
        Boutique doc;
        QSignalSpy chosen(&doc, &Boutique::artisanSelected);
        QVERIFY(!doc.selectArtisan(0)); // none to choose
        QCOMPARE(chosen.count(), 0);
        doc.state().artList.append().artNo = u"007"_s;
        QCOMPARE(doc.selectArtisan(-1)->artNo, u"007"_s);
        QCOMPARE(doc.state().curArtNo, u"007"_s);
        QCOMPARE(chosen.count(), 1);
        doc.state().artList.at(0).nom = u"Roy"_s;
        rebuildLists(doc.state());
        QCOMPARE(displayNameOf(doc.state(), u"007"_s), doc.state().artList.displayName(0));
        QVERIFY(displayNameOf(doc.state(), u"008"_s).isEmpty());

        // The five databases opened last, newest first, each once.
        QStringList recent;
        for (const char* f : {"/a", "/b", "/c", "/a", "/d", "/e", "/f"})
            rememberRecent(recent, QString::fromLatin1(f));
        QCOMPARE(recent, (QStringList{u"/f"_s, u"/e"_s, u"/d"_s, u"/a"_s, u"/c"_s}));
    }
};

QTEST_GUILESS_MAIN(TstBoutique)
#include "tst_boutique.moc"
