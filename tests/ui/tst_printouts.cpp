// What the boutique prints from the windows: price tags from the products
// page (the dialog, the sheet kept in the settings) and inventories from the
// artisans page.

#include "uiHarness.h"

#include "ui/products/prodFrm.h"
#include "ui/tags/tagsDlg.h"

#include <QDateEdit>
#include <QRadioButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

class TstPrintouts : public QObject {
    Q_OBJECT

private slots:
    void tagsAndInventories()
    {
        UiHarness h;
        h.startRealistic();
        h.click(h.art().artPageBtn);
        TProdForm& p = *h.w->prodForm;
        const QString out = h.progDir() + u"tags.pdf"_s;

        // The shown product, one tag per unit received, on a partly used A4 sheet.
        h.onModal = UiHarness::answer<TTagsDlg>([](TTagsDlg& t) {
            if (!t.productRadio->isChecked() || t.dateEd->date() != QDate(2009, 4, 10))
                return int(QDialog::Rejected);
            t.presetCombo->activated(1);
            t.startSpin->setValue(23);
            return int(QDialog::Accepted);
        });
        h.prompt.saveNames << out;
        p.tagsBtn->click();
        QCOMPARE(h.prompt.informations.value(0),
                 u"7 étiquette(s) sur 2 feuille(s) enregistrées dans %1"_s.arg(out));
        QCOMPARE(readTagLayout(h.iniPath()), tagPresets().at(1).layout);

        // The next time: the kept sheet, the artisan's products, two each.
        h.onModal = UiHarness::answer<TTagsDlg>([](TTagsDlg& t) {
            t.artisanRadio->setChecked(true);
            t.copiesSpin->setValue(2);
            return t.presetCombo->currentIndex() == 1 ? QDialog::Accepted : QDialog::Rejected;
        });
        h.prompt.saveNames << out;
        p.tagsBtn->click();
        QCOMPARE(h.prompt.informations.value(1),
                 u"6 étiquette(s) sur 1 feuille(s) enregistrées dans %1"_s.arg(out));

        // A sheet the labels overflow is refused before any file dialog.
        h.onModal = UiHarness::answer<TTagsDlg>([](TTagsDlg& t) {
            t.rowsSpin->setValue(9);
            const bool refused = t.presetCombo->currentIndex() == 2 && !t.problemLab->text().isEmpty();
            return refused ? QDialog::Accepted : QDialog::Rejected;
        });
        const qsizetype dialogs = h.prompt.dialogCaptions.size();
        p.tagsBtn->click();
        QCOMPARE(h.prompt.informations.value(2), u"Les étiquettes dépassent de la page."_s);
        QCOMPARE(h.prompt.dialogCaptions.size(), dialogs);
        QCOMPARE(readTagLayout(h.iniPath()), tagPresets().at(1).layout);

        // Inventories from the artisans page.
        h.click(p.artPageBtn);
        const QString inv = h.progDir() + u"inventaire.pdf"_s;
        h.prompt.saveNames << inv;
        h.art().invArtAct->trigger();
        QCOMPARE(h.prompt.informations.value(3), u"Inventaire enregistré dans %1"_s.arg(inv));
        // Key, description, price, value, received, sold, in stock; then the
        // artisan's totals (stock at prices and at values, counted units).
        UiHarness::pdfHolds(inv, {u"Inventaire de Tremblay Marie-Ève (001)"_s,
                                  u"TreMar001-001 Vase bleu, grand 24.00$ 12.00$ 7 3 4"_s,
                                  u"TreMar001-002 Bol \"Océan\" 15.00$ 8.50$ 3 1 2"_s,
                                  u"Total Stock au prix, à la valeur 126.00$ 65.00$ 10 4 6"_s});
        QVERIFY(!pdfText(inv).contains(u"Li_Bo_"_s));

        h.prompt.saveNames << inv;
        h.art().invShopAct->trigger();
        UiHarness::pdfHolds(inv, {u"Inventaire de la boutique"_s, u"Li Bo (002)"_s, u"Li_Bo_002-001"_s,
                                  u"Total boutique"_s});

        // Never over the database being read, whatever name leads to it.
        const QString db = h.st().curFilePath;
        const QByteArray before = readFileBytes(db);
        const QString link = h.progDir() + u"base.pdf"_s;
        QVERIFY(QFile::link(db, link));
        h.prompt.saveNames << link;
        h.art().invShopAct->trigger();
        QVERIFY2(h.prompt.errors.size() == 1 && h.prompt.errors.first().contains(link)
                     && h.prompt.errors.first().contains(db), qPrintable(h.prompt.errors.join(u'\n')));
        QCOMPARE(readFileBytes(db), before);
    }
};

QTEST_MAIN(TstPrintouts)
#include "tst_printouts.moc"
