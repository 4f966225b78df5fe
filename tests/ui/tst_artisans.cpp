// The artisans window walked as a user would: list mode and its grid, and
// the two ways of bringing artisans in from an artisan-list XML file (the
// whole list from the main menu, one artisan through the import dialog).

#include "uiHarness.h"

#include "export/artListXML.h"
#include "model/uArt.h"
#include "support/modelSheets.h"

#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
// Three artisans in the older program's form (Windows-1252 bytes declared as
// ISO8859-1): one with a product, one without varData, one with neither.
const QString OLDER_LIST = QStringLiteral(TILVAR_TEST_DATA "/artList-older.xml");

// Artisans named noms, numbered 001, 002... unless numbers says otherwise.
QByteArray artListFile(const QStringList& noms, const QStringList& numbers = {})
{
    TArtList list;
    for (const QString& nom : noms)
        newArtisan(list, numbers.value(list.count(), TArtList::artNoFor(list.count() + 1)), nom);
    return artListXML(list);
}

} // namespace

class TestArtisans : public QObject {
    Q_OBJECT
private slots:
    void importWholeList_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<Prompt::Answer>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<QStringList>("informations");
        QTest::addColumn<int>("errors");
        QTest::newRow("accepted") << readFileBytes(OLDER_LIST) << Prompt::Answer::Yes << true << QStringList() << 0;
        QTest::newRow("declined") << artListFile({u"Un"_s}) << Prompt::Answer::No << false << QStringList() << 0;
        QTest::newRow("broken") << QByteArray("<artList><artItem>") << Prompt::Answer::Yes << false << QStringList() << 1;
        QTest::newRow("foreign") << QByteArray("<?xml version=\"1.0\"?><autre/>") << Prompt::Answer::Yes << false
                                 << QStringList{u"Le fichier liste.xml ne contient aucune liste d'artisans : rien n'a été importé."_s}
                                 << 0;
        QTest::newRow("no file chosen") << QByteArray() << Prompt::Answer::Yes << false
                                        << QStringList() << 0; // a cancelled dialog says nothing
    }

    void importWholeList()
    {
        QFETCH(QByteArray, xml);
        QFETCH(Prompt::Answer, answer);
        QFETCH(bool, replaced);
        QFETCH(QStringList, informations);
        QFETCH(int, errors);
        UiHarness h;
        TmainForm& w = h.startRealistic();
        AppState& st = h.st();
        const int artisans = st.artList.count(), sheets = st.saleList.count();
        if (!xml.isEmpty()) {
            h.put(u"liste.xml"_s, xml);
            h.prompt.openNames << h.dataDir() + u"liste.xml"_s;
        }
        h.prompt.answers << answer;
        w.aImpArt->trigger();
        // The file opened is untouched (its comment has Windows line ends): nothing to save.
        QCOMPARE(h.prompt.questions.count(), informations.isEmpty() && errors == 0 && !xml.isEmpty() ? 1 : 0);
        QCOMPARE(h.prompt.informations, informations);
        QCOMPARE(h.prompt.errors.count(), errors);
        if (!replaced) {
            QCOMPARE((QList<int>{st.artList.count(), st.saleList.count()}), (QList<int>{artisans, sheets}));
            QCOMPARE(st.artFileName, TEST_DB_NAME);
            QVERIFY(!st.modified);
            return;
        }
        // A new unnamed database: the artisans and their products, no sales, no periods.
        QVERIFY(h.prompt.questions.first().contains(u"sans ventes ni périodes"_s));
        QVERIFY(h.prompt.questions.first().contains(u"Les quantités reçues et vendues ne sont pas importées"_s));
        QCOMPARE((QList<int>{st.artList.count(), st.saleList.count(), st.repList.count()}), (QList<int>{3, 0, 0}));
        QVERIFY(st.artFileName.isEmpty() && st.curFilePath.isEmpty());
        QCOMPARE(h.art().nameEd->text(), u"Verrier"_s);
    }

    void importOneArtisan()
    {
        UiHarness h;
        QTemporaryDir other;
        h.put(u"imp.xml"_s, readFileBytes(OLDER_LIST));
        QVERIFY(writeFileBytes(other.path() + u"/ailleurs.xml"_s, readFileBytes(OLDER_LIST)));
        TmainForm& w = h.start();
        TArtForm& a = h.art();
        AppState& st = h.st();
        a.nameEd->setText(u"x"_s);
        h.addArtisan(u"Dupont"_s, {});
        h.click(w.prevBtn);
        // Only for an artisan without a name.
        a.nameEd->clear(); // 001 empty, not the last
        QVERIFY(a.btnImpArtItem->isEnabled());

        // Escape: nothing imported, nothing said, the button still offered.
        h.prompt.openNames << h.dataDir() + u"imp.xml"_s;
        QStringList shown;
        h.onModal = UiHarness::choose({}, &shown);
        a.btnImpArtItem->click();
        QVERIFY2(h.prompt.all.isEmpty(), qPrintable(h.prompt.all.join(u'|')));
        QVERIFY(a.btnImpArtItem->isEnabled() && a.nameEd->text().isEmpty());

        // Into the shown artisan, keeping its number; the window stays on it.
        shown.clear();
        h.onModal = UiHarness::choose(u"Verrier"_s, &shown);
        a.btnImpArtItem->click();
        QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Ouvrir"_s}); // the list is kept
        // Sorted display names.
        QCOMPARE(shown.mid(0, 3), (QStringList{u"Amiot Lise (002)"_s, u"Côté Jean (003)"_s, u"Verrier Art (001)"_s}));
        QCOMPARE(st.artList.at(0).artRecord(), u"001|:|Verrier|:|Art|:|12 rue Haute|:|Québec|:|G1A|:|555-1234|:|"
                                               u"v@x.ca|:|imp.xml,0|:|verre soufflé|:|"_s);
        QCOMPARE(st.artList.at(1).nom, u"Dupont"_s);
        QCOMPARE(a.nameEd->text(), u"Verrier"_s);

        // Closed without a choice: nothing imported, nothing said.
        h.click(w.addRecBtn);
        h.onModal = [](QDialog&) { return int(QDialog::Accepted); };
        a.btnImpArtItem->click();
        QVERIFY(h.prompt.errors.isEmpty());
        QCOMPARE(st.artList.at(2).nom, QString());

        // The list file gone: said once, another file is asked for, copied
        // into the data folder and used.
        st.importFName = u"parti.xml"_s;
        h.prompt.clear();
        h.prompt.openNames << other.path() + u"/ailleurs.xml"_s;
        h.onModal = UiHarness::choose(u"Amiot"_s);
        a.btnImpArtItem->click();
        QCOMPARE(h.prompt.informations, QStringList{u"Le fichier parti.xml semble inaccessible. Choisissez le fichier de la liste à importer."_s});
        QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Ouvrir"_s});
        QCOMPARE(st.importFName, u"ailleurs.xml"_s);
        QVERIFY(QFile::exists(h.dataDir() + u"ailleurs.xml"_s));
        QCOMPARE(st.artList.at(2).nom, u"Amiot"_s);

        // Gone again and no other file chosen: said once, no loop.
        st.importFName = u"encore-parti.xml"_s;
        h.prompt.clear();
        a.btnImpArtItem->setEnabled(true);
        a.btnImpArtItem->click();
        a.btnImpArtItem->click();
        QCOMPARE(h.prompt.informations, QStringList{u"Le fichier encore-parti.xml semble inaccessible. Choisissez le fichier de la liste à importer."_s});
        QCOMPARE(h.prompt.dialogCaptions.count(), 2);
    }

    // The import file is the one chosen: moving over an artisan imported from
    // another file keeps it, and the dialog shows only the chosen file's
    // artisans; list mode keeps what was typed.
    void importDialogAndListMode()
    {
        UiHarness h;
        h.put(u"a.xml"_s, readFileBytes(OLDER_LIST));
        h.put(u"b.xml"_s, artListFile({u"Bernier"_s}));
        h.writeIni("[PREFS]\r\nimportFName=a.xml\r\nshowSplash=0\r\n");
        TmainForm& w = h.start();
        TArtForm& a = h.art();
        a.nameEd->setText(u"Alpha"_s);
        h.addArtisan(u"Beta"_s, u"B"_s);
        h.st().artList.at(1).varData = u"b.xml,0"_s;
        h.click(w.prevBtn);
        h.click(w.nextBtn);
        QCOMPARE(a.varDataLab->text(), u"0"_s);
        QCOMPARE(h.st().importFName, u"a.xml"_s);

        TImpArtDlg dlg(h.st(), w, &w); // opens the list of the settings
        dlg.show();
        QCOMPARE(dlg.artListBox->count(), 3);
        dlg.artListBox->setCurrentRow(2); // Verrier Art (001)
        QCOMPARE(dlg.descriptLab->text(), u"Verrier Art "_s);
        h.prompt.openNames << h.dataDir() + u"b.xml"_s;
        dlg.BtnChangeFile->click();
        QCOMPARE(h.st().importFName, u"b.xml"_s);
        QCOMPARE(UiHarness::texts(dlg.artListBox), QStringList{u"Bernier  (001)"_s});
        QVERIFY(!dlg.descriptLab->text().contains(u"Verrier"_s) && dlg.itemNoLab->text().isEmpty());
        QVERIFY(!dlg.OKBtn->isEnabled());

        dlg.mXPortFile->trigger();
        AppState again;
        QVERIFY(readArtListFile(again.artList, h.dataDir() + u"ImportTest.xml"_s));
        QCOMPARE(again.artList.count(), 1);
        QCOMPARE(again.artList.at(0).artRecord(), h.st().impArtList.at(0).artRecord());
        dlg.hide();

        // List mode: entering it keeps what was typed.
        a.cityEd->setText(u"Québec"_s);
        h.click(a.vModeBtn0);
        QCOMPARE(a.ArtGrid->rowCount(), 2);
        QCOMPARE(a.ArtGrid->item(1, 4)->text(), u"Québec"_s);

        // The add button leaves list mode first.
        h.click(w.addRecBtn);
        QVERIFY(!a.artListMode && a.formPanel->isVisible());
        QCOMPARE(w.artNoLab->text(), u"003"_s);
    }

    // Typing stops at a field's limit; a longer text a file holds is shown
    // whole and stored back whole, never cut by the window.
    void longTextsKeptWhole()
    {
        UiHarness h;
        AppState st;
        newArtisan(st.artList, u"001"_s, QString(300, u'N')).comment = QString(5000, u'c');
        st.artList.append().artNo = u"002"_s;
        TmainForm& w = h.startOn(st);
        TArtForm& a = h.art();
        QCOMPARE((QList<qsizetype>{a.nameEd->text().size(), a.comMemo->toPlainText().size()}), (QList<qsizetype>{300, 5000}));
        h.click(w.nextBtn);
        QCOMPARE(h.st().artList.at(0).nom.size(), 300);
        QCOMPARE(h.st().artList.at(0).comment.size(), 5000);
        QTest::keyClicks(a.nameEd, QString(100, u'x'));
        QCOMPARE(a.nameEd->text(), QString(80, u'x'));
        a.comMemo->setFocus();
        a.comMemo->insertPlainText(QString(4100, u'y'));
        QCOMPARE(a.comMemo->toPlainText().size(), 4000);
    }

    // Two artisans never share a number: an import with duplicates renumbers
    // and says so, a new artisan takes one above every number in use.
    void numbersNeverShared()
    {
        UiHarness h;
        TmainForm& w = h.start();
        h.put(u"liste.xml"_s, artListFile({u"Un"_s, u"Trois"_s, u"Double"_s}, {u"001"_s, u"003"_s, u"003"_s}));
        h.prompt.openNames << h.dataDir() + u"liste.xml"_s;
        h.prompt.answers << Prompt::Answer::Yes;
        w.aImpArt->trigger();
        QVERIFY2(h.prompt.questions.value(0).contains(u"Double (003) reçoit le numéro 004"_s),
                 qPrintable(h.prompt.questions.value(0)));
        h.click(w.addRecBtn);
        QCOMPARE(w.artNoLab->text(), u"005"_s); // above the 004 the import gave
    }

    // Ctrl+Shift+N adds an artisan; one with nothing attached is removed
    // after a question naming it, one with a payout is kept and the user
    // told why (every other reason: tst_artNumbers).
    void keysAndRemoval()
    {
        UiHarness h;
        TmainForm& w = h.start();
        TArtForm& a = h.art();
        a.nameEd->setText(u"Un"_s);
        h.addArtisan(u"Deux"_s, {});
        h.addArtisan(u"Trois"_s, {});
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        a.nameEd->setFocus(); // Ctrl+PgUp / Ctrl+PgDown: tst_crossWindows
        QTest::keyClick(a.nameEd, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE((QList<int>{h.st().artList.count(), h.st().curArtInd}), (QList<int>{4, 3}));

        QVERIFY(w.moveToArtisan(1));
        QAction* remove = w.findChild<QAction*>(u"aDelArt"_s);
        // An advance paid keeps an artisan without sales.
        h.st().account.pay(Payout{0, u"002"_s, u"261201"_s, Money::parse(u"5.00"), u"comptant"_s, {}, {}, {}, 0});
        remove->trigger();
        QVERIFY(h.prompt.informations.last().endsWith(u"un paiement lui est inscrit. Ses ventes et son stock font "
                                                      "partie des comptes de la boutique."_s));
        h.st().account.clear();
        h.prompt.answers << Prompt::Answer::No;
        remove->trigger();
        QCOMPARE(h.names(), (QStringList{u"Un"_s, u"Deux"_s, u"Trois"_s, QString()}));
        h.prompt.answers << Prompt::Answer::Yes;
        remove->trigger();
        QCOMPARE(h.prompt.questions.last(), u"Supprimer l'artisan Deux  (002) ?"_s);
        QCOMPARE(h.names(), (QStringList{u"Un"_s, u"Trois"_s, QString()}));
        QCOMPARE((QStringList{a.nameEd->text(), w.artNoLab->text()}), (QStringList{u"Trois"_s, u"003"_s}));
        QVERIFY(h.st().modified);
    }

};

QTEST_MAIN(TestArtisans)
#include "tst_artisans.moc"
