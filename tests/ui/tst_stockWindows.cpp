// The shelves through the windows: a count scanned as a scanner types the
// keys, its differences recorded; a count abandoned or resumed after a
// restart; goods handed back with their "bon de retour"; the unsold list.

#include "uiHarness.h"

#include "core/textUtil.h"
#include "model/stockCount.h"
#include "support/modelSheets.h"
#include "ui/artisans/artAccount.h"
#include "ui/products/prodFrm.h"
#include "ui/stock/countDlg.h"
#include "ui/stock/diffDlg.h"
#include "ui/stock/returnDlg.h"
#include "ui/stock/unsoldDlg.h"

#include <QSpinBox>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

const QDate TODAY = QDate::currentDate();

// Côté Hélène: a vase (6 in stock, 4 of them for eight months) and a bowl
// (3, for two months); Li Bo, whose key is padded: a scarf (2); no sales. The
// main window is started on them.
void startShelves(UiHarness& h)
{
    AppState st;
    const QString old = dateStr(TODAY.addMonths(-8));
    const QString recent = dateStr(TODAY.addMonths(-2));
    TArtisan& a = newArtisan(st.artList, u"001"_s, u"Côté"_s, u"Hélène"_s);
    newProduct(a, u"001"_s, u"Vase"_s, u"12.00$"_s, u"24.00$"_s).qntList.setQntText(old + u"4,"_s + recent + u'2');
    newProduct(a, u"002"_s, u"Bol"_s, u"8.50$"_s, u"15.00$"_s).qntList.setQntText(recent + u'3');
    TArtisan& b = newArtisan(st.artList, u"002"_s, u"Li"_s, u"Bo"_s);
    newProduct(b, u"001"_s, u"Foulard"_s, u"20.00$"_s, u"45.00$"_s).qntList.setQntText(recent + u'2');
    h.startOn(st);
}

// Types each key and Return, as a scanner does.
void scanAll(TCountDlg& c, const QStringList& keys)
{
    for (const QString& k : keys) {
        QTest::keyClicks(c.keyEd, k);
        QTest::keyClick(c.keyEd, Qt::Key_Return);
    }
}

} // namespace

class TstStockWindows : public QObject {
    Q_OBJECT

private slots:
    void countScannedThenAdjusted()
    {
        UiHarness h;
        startShelves(h);
        const QString pdf = h.progDir() + u"ecarts.pdf"_s;
        QStringList said;
        h.onModal = [&](QDialog& d) {
            if (auto* c = dynamic_cast<TCountDlg*>(&d)) {
                // Accents stripped, dash and padding dropped, any case.
                scanAll(*c, {u"CotHel001-001"_s, u"cothel001001"_s, u"COTHEL001-001"_s, u"CotHel001001"_s});
                scanAll(*c, {u"LiBo002001"_s, u"LiBo002-001"_s, u"libo002001"_s, u"LiBo002001"_s});
                c->takeOffBtn->click(); // one scan too many: 3 scarves
                scanAll(*c, {u"XYZ999-999"_s});
                said << c->sayLab->text();
                scanAll(*c, {u"CotHel00"_s});
                said << c->sayLab->text();
                said << c->countGrid->item(1, 2)->text();
                c->closeBtn->click();
                return c->result();
            }
            auto& diff = dynamic_cast<TDiffDlg&>(d);
            // Vase 4 of 6 (the boutique bears 2), scarf 3 of 2, bowl never scanned.
            for (int r = 0; r < 3; ++r)
                said << diff.diffGrid->item(r, 1)->text() + u' ' + diff.diffGrid->item(r, 5)->text();
            diff.allBoutiqueBtn->click();
            diff.setChoice(1, CountDiff::Adjust);
            h.prompt.saveNames << pdf;
            diff.printBtn->click();
            diff.OkBtn->click();
            return diff.result();
        };
        h.w->findChild<QAction*>(u"aCountStock"_s)->trigger();
        QCOMPARE(said, QStringList({u"Clé inconnue : « XYZ999-999 ». Rien n'est compté."_s,
                                    u"« CotHel00 » n'est pas une clé entière : choisissez le produit dans la liste "
                                    "(double-clic). Rien n'est compté."_s,
                                    u"3"_s, u"CôtHél001-001 -2"_s, u"CôtHél001-002 -3"_s, u"Li_Bo_002-001 1"_s}));
        QCOMPARE(h.prompt.questions.last(), u"Enregistrer 3 ajustement(s) du stock, datés du %1, et clore le "
                                            "comptage ?"_s.arg(dateStr(TODAY)));
        QCOMPARE(h.prompt.informations.last(),
                 u"Comptage clos : 3 ajustement(s) enregistré(s), 24.00$ crédité(s) aux artisans."_s);
        AppState& st = h.st();
        QCOMPARE(stockOf(st.artList.at(0).products.at(0)), 6 - 2);
        QCOMPARE(stockOf(st.artList.at(0).products.at(1)), 3 - 3);
        QCOMPARE(stockOf(st.artList.at(1).products.at(0)), 2 + 1);
        // The artisan's page shows the credit at once.
        QVERIFY2(h.art().accountBox->balanceLab->text().contains(u"crédité pour pertes 24.00$"_s),
                 qPrintable(h.art().accountBox->balanceLab->text()));
        UiHarness::pdfHolds(pdf, {u"Produits manquants"_s, u"Produits en trop"_s, u"Produits jamais scannés"_s,
                                  u"CôtHél001-002 Bol 3 0 -3 45.00$ 25.50$"_s});
    }

    void countAbandonedOrResumed()
    {
        UiHarness h;
        startShelves(h);
        const QByteArray before = readFileBytes(h.st().curFilePath);
        h.onModal = UiHarness::answer<TCountDlg>([](TCountDlg& c) {
            scanAll(c, {u"CotHel001-001"_s});
            c.abandonBtn->click();
            return c.result();
        });
        h.w->findChild<QAction*>(u"aCountStock"_s)->trigger();
        QVERIFY(!h.st().account.stock.open && !h.st().modified);
        h.w->db().save();
        QCOMPARE(readFileBytes(h.st().curFilePath), before);

        // Paused, saved, and taken up again after a restart.
        h.onModal = UiHarness::answer<TCountDlg>([](TCountDlg& c) {
            scanAll(c, {u"CotHel001-001"_s, u"CotHel001-001"_s});
            c.pauseBtn->click();
            return c.result();
        });
        h.prompt.answers << Prompt::Answer::No; // the shown artisan only
        h.w->findChild<QAction*>(u"aCountStock"_s)->trigger();
        h.w->db().save();
        QVERIFY(h.stop());
        h.start();
        const qsizetype asked = h.prompt.questions.size();
        QStringList shown;
        h.onModal = UiHarness::answer<TCountDlg>([&](TCountDlg& c) {
            shown << c.windowTitle() << c.countGrid->item(0, 2)->text();
            scanAll(c, {u"LiBo002001"_s});
            shown << c.sayLab->text().section(u':', 0, 0);
            c.reject();
            return c.result();
        });
        h.w->findChild<QAction*>(u"aCountStock"_s)->trigger();
        QCOMPARE(h.prompt.questions.size(), asked);
        QCOMPARE(shown, QStringList({u"Comptage du stock de Côté Hélène (001), commencé le %1"_s.arg(dateStr(TODAY)),
                                     u"2"_s, u"« LiBo002001 » est un produit de Li Bo (002) "_s}));
        QCOMPARE(h.st().account.stock.open->lines.size(), 1);
    }

    // The unsold list opens the return on its old units (rejected there, so
    // nothing changes); then goods handed back, with their slip.
    void unsoldListThenHandedBack()
    {
        UiHarness h;
        startShelves(h);
        QStringList seen;
        h.onModal = [&](QDialog& d) {
            if (auto* r = dynamic_cast<TReturnDlg*>(&d)) {
                seen << r->retGrid->item(0, TReturnDlg::QntCol)->text()
                     << QString::number(int(r->retGrid->item(1, TReturnDlg::TickCol)->checkState()));
                return int(QDialog::Rejected);
            }
            auto& u = dynamic_cast<TUnsoldDlg&>(d);
            u.scopeCB->setCurrentIndex(0);
            seen << QString::number(u.unsoldGrid->rowCount()) << u.unsoldGrid->item(0, 1)->text()
                 << u.unsoldGrid->item(0, 4)->text();
            u.monthsSpin->setValue(1);
            seen << QString::number(u.unsoldGrid->rowCount());
            u.monthsSpin->setValue(6);
            u.returnBtn->click();
            return int(QDialog::Accepted);
        };
        h.w->findChild<QAction*>(u"aUnsold"_s)->trigger();
        // Only the vase's 4 oldest units came in more than six months ago.
        QCOMPARE(seen, QStringList({u"1"_s, u"CôtHél001-001"_s, u"4"_s, u"3"_s, u"4"_s, u"0"_s}));

        h.click(h.art().artPageBtn);
        const QString pdf = h.progDir() + u"retour.pdf"_s;
        QStringList days;
        h.onModal = UiHarness::answer<TReturnDlg>([&](TReturnDlg& r) {
            days << r.retGrid->item(0, 3)->text() << r.retGrid->item(0, 4)->text();
            r.retGrid->item(0, TReturnDlg::TickCol)->setCheckState(Qt::Checked);
            r.retGrid->item(0, TReturnDlg::QntCol)->setText(u"7"_s);
            r.OkBtn->click(); // refused: stays open
            r.retGrid->item(0, TReturnDlg::QntCol)->setText(u"2"_s);
            r.OkBtn->click();
            return r.result();
        });
        h.prompt.saveNames << pdf;
        h.w->prodForm->returnBtn->click();
        QCOMPARE(days, QStringList({dateStr(TODAY.addMonths(-8)),
                                    QString::number(TODAY.addMonths(-8).daysTo(TODAY))}));
        QCOMPARE(h.prompt.errors, QStringList({u"Impossible de rendre 7 unité(s) du produit 001 « Vase » : il n'en "
                                               "reste que 6 en stock."_s}));
        QCOMPARE(stockOf(h.st().artList.at(0).products.at(0)), 4);
        UiHarness::pdfHolds(pdf, {u"Bon de retour"_s, u"Marchandises rendues à Côté Hélène (001)"_s,
                                  u"CôtHél001-001 Vase 2 48.00$ 24.00$"_s, u"signature de l'artisan"_s});
    }
};

QTEST_MAIN(TstStockWindows)
#include "tst_stockWindows.moc"
