// The products window and the quantity dialog, driven through the main
// window: one whole task, then every entry the window must refuse.

#include "uiHarness.h"

#include "core/textUtil.h"
#include "ui/products/AddEditQntFrm.h"
#include "ui/products/prodFrm.h"

#include <QCheckBox>
#include <QMenu>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
// Answers the quantity dialog with date and qnt, through "Fermer" when close.
std::function<int(QDialog&)> answerQnt(const QString& date, const QString& qnt, bool close = true)
{
    return UiHarness::answer<TEditQntDlg>([=](TEditQntDlg& q) {
        q.DateCB->setEditText(date);
        q.QuantEdit->setText(qnt);
        if (close)
            q.OKBtn->click();
        return q.result();
    });
}

const QByteArray kImportXml =
    "<?xml version=\"1.0\" encoding=\"ISO8859-1\"?>\n<artList><artItem artNo=\"001\"><artID>"
    "<artNo>001</artNo><nom>Tisse</nom><prenom>Ana</prenom><adresse>\";;;;\"</adresse><eMail/>"
    "<varData/><comment/></artID><product><item id=\"001\" dsc=\"Coupe\"><qntStr>090518=5</qntStr>"
    "<totQnt>5</totQnt><soldQnt>0</soldQnt><valeur>15.00$</valeur><prix>25.00$</prix></item>"
    "</product></artItem></artList>\n";

struct ProdFixture {
    UiHarness h;
    TProdForm* p = nullptr;

    // Shows the main window, on the products page unless told otherwise.
    void start(bool toProducts = true)
    {
        h.start();
        p = h.w->prodForm;
        if (toProducts)
            h.click(h.art().artPageBtn);
    }
    void addQnt(const QString& date, const QString& qnt)
    {
        h.onModal = answerQnt(date, qnt);
        h.click(p->addDateBtn);
    }
    QStringList gridRows() const
    {
        QStringList rows;
        for (int r = 0; r < p->dqStrGrid->rowCount(); ++r)
            rows << p->dqStrGrid->item(r, 0)->text() + u'=' + p->dqStrGrid->item(r, 1)->text();
        return rows;
    }
};
} // namespace

class TestProdFrm : public QObject {
    Q_OBJECT
private slots:
    void wholeTask()
    {
        ProdFixture f;
        f.h.put(u"imp.xml"_s, kImportXml);
        f.start(false);
        TmainForm& w = *f.h.w;
        TProdForm& p = *f.p;
        AppState& st = f.h.st();
        const QString today = todayStr();

        // First artisan: two products, then a third that is deleted.
        f.h.art().nameEd->setText(u"Verrier"_s);
        f.h.click(f.h.art().artPageBtn);
        f.h.click(p.addProdBtn);
        p.descriptEd->setText(u"Bol"_s);
        p.valEd->setText(u"12,5"_s);
        p.priceEd->setText(u"20"_s);
        f.addQnt(u"260518"_s, u"3"_s);
        f.addQnt(u"260518"_s, u"2"_s); // the same date adds up
        QCOMPARE(f.gridRows(), (QStringList{u"260518=5"_s, today + u"=0"_s})); // by date
        f.h.click(p.addProdBtn);
        p.descriptEd->setText(u"Vase"_s);
        f.h.click(p.prevBtn);
        p.ProdListBox->setCurrentRow(1);
        f.h.click(p.addProdBtn);
        f.h.click(p.delSBTN);
        QCOMPARE(p.descriptEd->text(), u"Vase"_s);
        QCOMPARE(st.artList.at(0).products.count(), 2);

        // A product with sales is deleted only when the user says so.
        st.prodList.at(1).addSold(u"260601"_s, u"1"_s);
        p.showCurrentProduct();
        f.h.prompt.answers << Prompt::Answer::No;
        f.h.click(p.delSBTN);
        QCOMPARE(f.h.prompt.questions.last(), u"Le produit 002 a 1 unités vendues. Supprimer ?"_s);
        QCOMPARE(st.prodList.count(), 2);
        // "ClearListBox" empties the list only: "+" then shows the new product.
        p.listMenu->actions().at(1)->trigger();
        f.h.click(p.addProdBtn);
        QCOMPARE(p.prodNoLab->text() + p.descriptEd->text(), u"003"_s);
        f.h.click(p.delSBTN);
        QCOMPARE(st.prodList.at(0).descript + st.prodList.at(1).descript, u"BolVase"_s);

        // Second artisan from the import file; its product copied from the list.
        f.h.click(p.artPageBtn);
        f.h.click(w.addRecBtn);
        f.h.onModal = UiHarness::choose(u"Tisse"_s);
        f.h.prompt.openNames << f.h.dataDir() + u"imp.xml"_s;
        f.h.art().btnImpArtItem->click();
        f.h.click(f.h.art().artPageBtn);
        p.importChk->setChecked(true);
        p.transList->cellClicked(0, 0);
        p.imProdBtn->click();
        QCOMPARE(st.impArtList.at(0).products.at(0).prodNo, u"*001"_s);
        p.transList->cellClicked(0, 0); // imported once only
        QCOMPARE(w.statusText(2), u"produit déjà importé..."_s);
        f.h.click(p.sBackBtn);
        QCOMPARE(f.gridRows(), QStringList{today + u"=1"_s});

        // What the fields became (the walk reads every save back); a change
        // after a save is one the close asks about.
        const TProduit& bol = st.artList.at(0).products.at(0);
        QCOMPARE(bol.descript + bol.valeur + bol.prix, u"Bol12.50$20.00$"_s);
        QCOMPARE(st.artList.at(1).products.at(0).descript, u"Coupe"_s);
        f.h.prompt.saveNames << f.h.dataDir() + u"prod"_s;
        w.aSave->trigger();
        f.addQnt(u"260520"_s, u"4"_s);
        QVERIFY(st.modified);
        f.h.prompt.answers << Prompt::Answer::No;
        QVERIFY(f.h.stop());
        QVERIFY(f.h.readIni().contains(u"pDateStr=260518,260520"_s));
    }

    // A new product's delivery row takes the real delivery in place (date
    // and quantity, checked as the dialog checks them); rows by date; the
    // list names the product; the history shows price, amount and Valeur.
    void deliveriesInPlaceAndHistory()
    {
        ProdFixture f;
        f.start();
        TProdForm& p = *f.p;
        f.h.click(p.addProdBtn);
        p.descriptEd->setText(u"Bol en grès"_s);
        const auto redate = [&](int row, const QString& date, const QString& qnt) {
            f.h.onModal = answerQnt(date, qnt);
            p.dqStrGrid->setCurrentCell(row, 0);
            emit p.dqStrGrid->cellDoubleClicked(row, 0);
        };
        redate(0, u"260110"_s, u"5"_s); // the row "today, 0"
        f.addQnt(u"251201"_s, u"2"_s); // before it, by date
        redate(1, u"251115"_s, u"6"_s);
        redate(0, u"251201"_s, u"6"_s); // another row's date: refused, rows as they were
        QVERIFY(f.h.prompt.errors.size() == 1 && f.h.prompt.errors.at(0).contains(u"a déjà sa ligne"_s));
        QCOMPARE(f.gridRows(), (QStringList{u"251115=6"_s, u"251201=2"_s}));
        TProduit& bol = f.h.st().prodList.at(0);
        QCOMPARE(bol.qntList.qntText(3) + p.ProdListBox->item(0)->text() + p.prodNumLab->text(),
                 u"251115=6,251201=2001 - Bol en grès001"_s);
        bol.valeur = u"6.00$"_s;
        bol.prix = u"10.00$"_s;
        bol.addSold(u"260301"_s, u"2"_s);
        p.showCurrentProduct();
        QStringList cells;
        for (int c = 0; c < p.sDQGrid->columnCount(); ++c)
            cells << p.sDQGrid->horizontalHeaderItem(c)->text() + u'=' + p.sDQGrid->item(0, c)->text();
        QCOMPARE(cells, (QStringList{u"Date=260301"_s, u"Qté=2"_s, u"Prix=10.00$"_s, u"Montant=20.00$"_s, u"Valeur=12.00$"_s}));
    }

    void refusedEntries_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString badDate = u"n'est pas valide : entrez le jour"_s;
        const QString badQnt = u"n'est pas valide : entrez un nombre entier"_s;
        const QString badAmount = u"n'est pas un montant"_s;
        QTest::newRow("separator") << u"descript"_s << u"a:|:b"_s << u"qui sépare les champs"_s;
        QTest::newRow("separator start") << u"descript"_s << u"ab:|"_s << u"mal relu"_s;
        QTest::newRow("value") << u"valeur"_s << u"douze"_s << badAmount;
        QTest::newRow("negative price") << u"prix"_s << u"-3"_s << badAmount;
        QTest::newRow("grid date blank") << u"gridDate"_s << u"26 518"_s << badDate;
        QTest::newRow("another row's date: not merged") << u"gridDate"_s << u"090510"_s << u"a déjà sa ligne"_s;
        QTest::newRow("grid qnt comma") << u"gridQnt"_s << u"1,5"_s << badQnt;
        QTest::newRow("grid qnt range") << u"gridQnt"_s << u"1000"_s << badQnt;
        QTest::newRow("grid qnt empty") << u"gridQnt"_s << u""_s << badQnt;
        QTest::newRow("dialog date") << u"dialogDate"_s << u"hier"_s << badDate;
        QTest::newRow("dialog qnt") << u"dialogQnt"_s << u"\"2\""_s << badQnt;
        QTest::newRow("dialog closed") << u"dialogClosed"_s << u"9"_s << QString();
        QTest::newRow("1500 received kept by Fermer") << u"dialogOpen"_s << QString() << QString();
    }

    void refusedEntries()
    {
        QFETCH(QString, where);
        QFETCH(QString, text);
        QFETCH(QString, message);
        ProdFixture f;
        f.start();
        TProdForm& p = *f.p;
        f.h.click(p.addProdBtn);
        p.descriptEd->setText(u"Bol"_s);
        p.priceEd->setText(u"2"_s);
        f.h.click(p.addProdBtn);
        TProduit& bol = f.h.st().prodList.at(0);
        bol.qntList.setQntText(u"0905012,0905101500"_s);
        f.h.click(p.prevBtn);
        const QString before = bol.prodRecord();

        if (where == u"dialogOpen"_s) { // row 2 (1500) shown and kept whole, not cut to 999
            f.h.onModal = UiHarness::answer<TEditQntDlg>([](TEditQntDlg& q) {
                q.OKBtn->click();
                return q.result();
            });
            p.dqStrGrid->setCurrentCell(1, 0);
            emit p.dqStrGrid->cellDoubleClicked(1, 0);
        } else if (where.startsWith(u"dialog"_s)) {
            const bool date = where == u"dialogDate"_s;
            f.h.onModal = answerQnt(date ? text : u"260518"_s, date ? u"1"_s : text, where != u"dialogClosed"_s);
            f.h.click(p.addDateBtn);
        } else {
            const QHash<QString, QLineEdit*> eds{
                {u"descript"_s, p.descriptEd}, {u"valeur"_s, p.valEd}, {u"prix"_s, p.priceEd}};
            if (QLineEdit* ed = eds.value(where))
                ed->setText(text);
            else
                p.dqStrGrid->item(0, where == u"gridDate"_s ? 0 : 1)->setText(text);
            f.h.click(p.nextBtn);
            QCOMPARE(p.prodNoLab->text(), u"001"_s); // stays on the refused entry
        }
        // Said once (nothing said when the dialog is closed without "Fermer").
        const QStringList& errors = f.h.prompt.errors;
        QVERIFY2(errors.count() == !message.isEmpty() && errors.value(0).contains(message), qPrintable(errors.join(u'|')));
        QCOMPARE(bol.prodRecord(), before);
        QCOMPARE(f.h.st().pDateStr, where == u"dialogOpen"_s ? u"090510"_s : QString());
    }
};

QTEST_MAIN(TestProdFrm)
#include "tst_prodFrm.moc"
