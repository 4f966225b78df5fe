// The artisans window walked as a user would: list mode and its grid, the
// artisan-list export, and the two ways of bringing artisans in from an
// artisan-list XML file (the whole list from the main menu, one artisan
// through the import dialog).

#include "uiHarness.h"

#include "core/dbFile.h"
#include "export/artListXML.h"
#include "model/uArt.h"
#include "support/testFiles.h"
#include "ui/importArtDlg.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
// Three artisans in the older program's form (Windows-1252 bytes declared as
// ISO8859-1): one with a product, one without varData, one with neither.
QByteArray artListXml()
{
    return readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/artList-older.xml"));
}

QByteArray artListFile(const QStringList& noms)
{
    TArtList list;
    for (const QString& nom : noms) {
        TArtisan& a = list.append();
        a.artNo = TArtList::artNoFor(list.count());
        a.nom = nom;
    }
    return artListXML(list);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeFileBytes(path, bytes));
}

// Picks the line of the import dialog starting with name; rejects when name
// is empty (Escape). Collects the lines, the caption, number and name shown.
std::function<int(QDialog&)> choose(const QString& name, QStringList* shown = nullptr)
{
    return [name, shown](QDialog& d) {
        auto* dlg = qobject_cast<TImpArtDlg*>(&d);
        if (!dlg)
            return int(QDialog::Rejected);
        dlg->show();
        for (int i = 0; i < dlg->artListBox->count(); ++i) {
            if (shown)
                *shown << dlg->artListBox->item(i)->text();
            if (!name.isEmpty() && dlg->artListBox->item(i)->text().startsWith(name))
                dlg->artListBox->setCurrentRow(i);
        }
        if (shown)
            *shown << dlg->windowTitle() << dlg->itemNoLab->text() << dlg->descriptLab->text();
        dlg->hide();
        return int(name.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
    };
}
} // namespace

class TestArtisans : public QObject {
    Q_OBJECT
private slots:
    void listMode()
    {
        UiHarness h;
        TmainForm& w = h.start();
        TArtForm& a = h.art();
        a.nameEd->setText(u"Alpha"_s);
        h.addArtisan(u"Beta"_s, u"B"_s);
        a.cityEd->setText(u"Québec"_s);

        // Entering list mode keeps what was typed.
        h.click(a.vModeBtn0);
        QVERIFY(a.listPanel->isVisible() && !a.formPanel->isVisible());
        QCOMPARE(w.subTLabel->text(), u"liste"_s);
        QCOMPARE(a.artPageBtn->parentWidget(), a.listPanel);
        QCOMPARE(a.ArtGrid->rowCount(), 2);
        QCOMPARE(a.ArtGrid->item(1, 4)->text(), u"Québec"_s);
        QCOMPARE(a.ArtGrid->currentRow(), 1);

        // A click shows that artisan, a double-click goes back to the form on it.
        const QRect cell = a.ArtGrid->visualItemRect(a.ArtGrid->item(0, 1));
        QTest::mouseClick(a.ArtGrid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(h.st().curArtInd, 0);
        QCOMPARE(a.nameEd->text(), u"Alpha"_s);
        QTest::mouseDClick(a.ArtGrid->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(a.formPanel->isVisible());
        QCOMPARE(a.artPageBtn->parentWidget(), a.formPanel);

        // The arrow keys move the current artisan, Enter opens it.
        h.click(a.vModeBtn0);
        a.ArtGrid->setFocus();
        a.ArtGrid->setCurrentCell(0, 1);
        QTest::keyClick(a.ArtGrid, Qt::Key_Down);
        QCOMPARE(h.st().curArtInd, 1);
        QTest::keyClick(a.ArtGrid, Qt::Key_Return);
        QVERIFY(!a.artListMode);
        QCOMPARE(a.nameEd->text(), u"Beta"_s);

        // The add button leaves list mode first.
        h.click(a.vModeBtn0);
        h.click(w.addRecBtn);
        QVERIFY(!a.artListMode);
        QCOMPARE(w.artNoLab->text(), u"003"_s);
        QCOMPARE(h.st().artList.at(1).ville, u"Québec"_s);

        // Emptying the database comes back to the form.
        h.click(a.vModeBtn0);
        h.prompt.answers << Prompt::Answer::No;
        w.aClearAll->trigger();
        QVERIFY(a.formPanel->isVisible());
        QCOMPARE(a.artPageBtn->parentWidget(), a.formPanel);
    }

    void importWholeList_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<Prompt::Answer>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<QStringList>("informations");
        QTest::addColumn<int>("errors");
        QTest::newRow("accepted") << artListXml() << Prompt::Answer::Yes << true << QStringList() << 0;
        QTest::newRow("declined") << artListFile({u"Un"_s}) << Prompt::Answer::No << false << QStringList() << 0;
        QTest::newRow("broken") << QByteArray("<artList><artItem>") << Prompt::Answer::Yes << false << QStringList() << 1;
        QTest::newRow("foreign") << QByteArray("<?xml version=\"1.0\"?><autre/>") << Prompt::Answer::Yes << false
                                 << QStringList{u"Le fichier liste.xml ne contient aucune liste d'artisans : rien n'a été importé."_s}
                                 << 0;
        QTest::newRow("no file chosen") << QByteArray() << Prompt::Answer::Yes << false
                                        << QStringList{u"File  was not found"_s} << 0;
    }

    void importWholeList()
    {
        QFETCH(QByteArray, xml);
        QFETCH(Prompt::Answer, answer);
        QFETCH(bool, replaced);
        QFETCH(QStringList, informations);
        QFETCH(int, errors);
        UiHarness h;
        h.copyRealistic(TEST_DB_NAME, true);
        TmainForm& w = h.start();
        AppState& st = h.st();
        const int artisans = st.artList.count(), sheets = st.saleList.count();
        QVERIFY(sheets > 0 && st.repList.count() > 0);
        if (!xml.isEmpty()) {
            writeFile(h.dataDir() + u"liste.xml"_s, xml);
            h.prompt.openNames << h.dataDir() + u"liste.xml"_s;
        }
        h.prompt.answers << answer;
        w.aImpArt->trigger();
        // The file opened is untouched (its comment has Windows line ends): nothing to save.
        QCOMPARE(h.prompt.questions.count(), informations.isEmpty() && errors == 0 ? 1 : 0);
        QCOMPARE(h.prompt.informations, informations);
        QCOMPARE(h.prompt.errors.count(), errors);
        if (!replaced) {
            QCOMPARE(st.artList.count(), artisans);
            QCOMPARE(st.saleList.count(), sheets);
            QCOMPARE(st.artFileName, TEST_DB_NAME);
            QVERIFY(!st.modified);
            // The window still works.
            const int shown = st.curArtInd;
            h.art().nameEd->setText(u"Encore"_s);
            h.click(w.nextBtn);
            QCOMPARE(st.artList.at(shown).nom, u"Encore"_s);
            h.prompt.answers << Prompt::Answer::No;
            return;
        }
        // A new unnamed database: the artisans and their products, no sales, no periods.
        QVERIFY(h.prompt.questions.first().contains(u"sans ventes ni périodes"_s));
        QCOMPARE(st.artList.count(), 3);
        QCOMPARE(st.saleList.count() + st.repList.count(), 0);
        QCOMPARE(st.artList.at(1).comment, u"tissage"_s); // six children: no varData
        QVERIFY(st.artFileName.isEmpty() && st.curFilePath.isEmpty());
        QCOMPARE(h.art().nameEd->text(), u"Verrier"_s);
        QCOMPARE(w.nListCB->count(), 3);
        QVERIFY(w.pageBtn->isVisible()); // a product came with the list
        // A change that the close asks about; the save asks for a name.
        h.prompt.answers << Prompt::Answer::Yes;
        h.prompt.saveNames << h.dataDir() + u"importe"_s;
        QVERIFY(h.stop());
        QVERIFY(QFile::exists(h.dataDir() + u"importe.tlvdb"_s));
    }

    void importOneArtisan()
    {
        UiHarness h;
        QTemporaryDir other;
        writeFile(h.dataDir() + u"imp.xml"_s, artListXml());
        writeFile(h.dataDir() + u"B.xml"_s, artListFile({u"Bernier"_s}));
        writeFile(other.path() + u"/ailleurs.xml"_s, artListXml());
        TmainForm& w = h.start();
        TArtForm& a = h.art();
        AppState& st = h.st();
        a.nameEd->setText(u"x"_s);
        h.addArtisan(u"Dupont"_s, {});
        h.click(w.prevBtn);
        // Only for an artisan without a name: a typed name turns the import off.
        a.nameEd->setText(u"N"_s);
        QVERIFY(!a.btnImpArtItem->isEnabled());
        a.nameEd->clear(); // 001 empty, not the last
        QVERIFY(a.btnImpArtItem->isEnabled());

        // Escape: nothing imported, nothing said, the button still offered.
        h.prompt.openNames << h.dataDir() + u"imp.xml"_s;
        QStringList shown;
        h.onModal = choose({}, &shown);
        a.btnImpArtItem->click();
        QCOMPARE(shown.value(3), u"Liste courante de : imp.xml"_s);
        QVERIFY2(h.prompt.all.isEmpty(), qPrintable(h.prompt.all.join(u'|')));
        QVERIFY(a.btnImpArtItem->isEnabled());
        QVERIFY(!w.statusText(1).startsWith(u"Imported"_s));

        // Into the shown artisan, keeping its number; the window stays on it.
        shown.clear();
        h.onModal = choose(u"Verrier"_s, &shown);
        a.btnImpArtItem->click();
        QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Ouvrir"_s}); // the list is kept
        QCOMPARE(st.importFName, u"imp.xml"_s); // in the data folder: the name only
        // Sorted display names, then the caption and the chosen number and name.
        QCOMPARE(shown, (QStringList{u"Amiot Lise (002)"_s, u"Côté Jean (003)"_s, u"Verrier Art (001)"_s,
                                     u"Importer un artisan depuis la liste imp.xml"_s, u"001"_s, u"Verrier Art "_s}));
        QCOMPARE(st.artList.at(0).artRecord(), u"001|:|Verrier|:|Art|:|12 rue Haute|:|Québec|:|G1A|:|555-1234|:|"
                                               u"v@x.ca|:|imp.xml,0|:|verre soufflé|:|"_s);
        QCOMPARE(st.artList.at(0).products.count(), 0);
        QCOMPARE(st.artList.at(1).nom, u"Dupont"_s);
        QCOMPARE(st.curArtInd, 0);
        QCOMPARE(a.nameEd->text(), u"Verrier"_s);
        QCOMPARE(a.varDataLab->text(), u"0"_s);
        QCOMPARE(w.statusText(1), u"Imported artNo :001"_s);
        QVERIFY(!a.btnImpArtItem->isEnabled());

        // A second import reads no file and asks for none.
        h.click(w.addRecBtn);
        h.onModal = choose(u"Côté"_s);
        a.btnImpArtItem->click();
        QCOMPARE(h.prompt.dialogCaptions.count(), 1);
        QCOMPARE(st.artList.at(2).nom, u"Côté"_s);
        QCOMPARE(st.artList.at(2).varData, u"imp.xml,2"_s);

        // After showing an artisan from B.xml, the import lists B's artisans.
        st.artList.at(1).varData = u"B.xml,0"_s;
        h.click(w.prevBtn);
        h.click(w.addRecBtn);
        shown.clear();
        h.onModal = choose(u"Bernier"_s, &shown);
        a.btnImpArtItem->click();
        QCOMPARE(shown.first(), u"Bernier  (001)"_s);
        QCOMPARE(shown.count(), 4);
        QCOMPARE(st.artList.at(3).varData, u"B.xml,0"_s);

        // Closed without a choice: nothing imported, nothing said.
        h.click(w.addRecBtn);
        h.onModal = [](QDialog&) { return int(QDialog::Accepted); };
        a.btnImpArtItem->click();
        QVERIFY(h.prompt.errors.isEmpty());
        QCOMPARE(st.artList.at(4).nom, QString());

        // The list file gone: said once, another file is asked for, copied
        // into the data folder and used.
        st.importFName = u"parti.xml"_s;
        h.prompt.clear();
        h.prompt.openNames << other.path() + u"/ailleurs.xml"_s;
        h.onModal = choose(u"Amiot"_s);
        a.btnImpArtItem->click();
        QCOMPARE(h.prompt.informations, QStringList{u"Le fichier parti.xmlsemble inaccessible."_s});
        QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Ouvrir"_s});
        QCOMPARE(st.importFName, u"ailleurs.xml"_s);
        QVERIFY(QFile::exists(h.dataDir() + u"ailleurs.xml"_s));
        QCOMPARE(st.artList.at(4).nom, u"Amiot"_s);
        QCOMPARE(st.artList.at(4).varData, u"ailleurs.xml,1"_s);

        // Gone again and no other file chosen: said once, no loop.
        st.importFName = u"encore-parti.xml"_s;
        h.prompt.clear();
        a.btnImpArtItem->setEnabled(true);
        a.btnImpArtItem->click();
        a.btnImpArtItem->click();
        QCOMPARE(h.prompt.informations, QStringList{u"Le fichier encore-parti.xmlsemble inaccessible."_s});
        QCOMPARE(h.prompt.dialogCaptions.count(), 2);
        h.prompt.answers << Prompt::Answer::No;
    }

    void exportsAndImportDialogFiles()
    {
        UiHarness h;
        writeFile(h.dataDir() + u"a.xml"_s, artListXml());
        writeFile(h.dataDir() + u"b.xml"_s, artListFile({u"Bernier"_s}));
        writeFile(h.dataDir() + u"vide.xml"_s, "<?xml version=\"1.0\"?><autre/>");
        h.writeIni("[PREFS]\r\nimportFName=a.xml\r\nshowSplash=0\r\n");
        TmainForm& w = h.start();

        // The artisan list goes beside the database, under its name.
        h.art().nameEd->setText(u"Exporté"_s);
        h.prompt.saveNames << h.dataDir() + u"stock09"_s;
        w.aSave->trigger();
        w.aExpArt->trigger();
        QVERIFY(readFileBytes(h.dataDir() + u"stock09.xml"_s).contains("Export"));
        QCOMPARE(w.windowTitle(), QDir::toNativeSeparators(h.dataDir() + u"stock09.xml"_s));
        QVERIFY(w.aSetPeriods->isEnabled() && h.art().artPageBtn->isEnabled());

        TImpArtDlg dlg(h.st(), w, &w);
        QCOMPARE(dlg.windowTitle(), u"Importer un artisan depuis la liste a.xml"_s);
        dlg.show();
        QCOMPARE(dlg.artListBox->count(), 3);
        QCOMPARE(w.statusText(2), u"list from a.xml"_s);

        h.prompt.openNames << h.dataDir() + u"b.xml"_s;
        dlg.BtnChangeFile->click();
        QCOMPARE(h.st().importFName, u"b.xml"_s);
        QCOMPARE(dlg.artListBox->count(), 1);

        dlg.mXPortFile->trigger();
        const QString exported = h.dataDir() + u"ImportTest.xml"_s;
        QCOMPARE(w.windowTitle(), exported);
        AppState again;
        QVERIFY(readArtListFile(again.artList, exported));
        QCOMPARE(again.artList.count(), 1);
        QCOMPARE(again.artList.at(0).artRecord(), h.st().impArtList.at(0).artRecord());
        dlg.hide();

        // A file without an artisan list leaves the list empty and says so.
        h.st().impArtList.clear();
        h.st().importFName = u"vide.xml"_s;
        TImpArtDlg empty(h.st(), w, &w);
        empty.show();
        QCOMPARE(h.prompt.informations.last(), u"Impossible de recréer la liste0"_s);
        empty.hide();
    }
};

QTEST_MAIN(TestArtisans)
#include "tst_artisans.moc"
