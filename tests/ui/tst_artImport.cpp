// The artisans window: list mode and its grid, and the two ways of bringing
// artisans in from an artisan-list XML file (the whole list from the main
// menu, one artisan through the import dialog).

#include "uiHarness.h"

#include "export/artListXML.h"
#include "model/uArt.h"
#include "support/testFiles.h"
#include "ui/importArtDlg.h"

#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
// Three artisans in the older program's form (Windows-1252 bytes declared as
// ISO8859-1): one with a product, one with varData, one with neither.
QByteArray artListXml()
{
    const QString text =
        u"<?xml version=\"1.0\" encoding=\"ISO8859-1\"?>\r\n<artList>\r\n"
        u"<artItem artNo=\"001\">\n\t<artID>\n\t\t<artNo>001</artNo><nom>Verrier</nom><prenom>Art</prenom>"
        u"<adresse>\"12 rue Haute;Québec;G1A;555-1234;\"</adresse><eMail>v@x.ca</eMail><varData/><comment>verre soufflé</comment>\n\t</artID>\n"
        u"\t<product>\n\t\t<item id=\"001\" dsc=\"Bol\"><qntStr>090518=5</qntStr><totQnt>5</totQnt><soldQnt>0</soldQnt><valeur>12.50$</valeur><prix>20.00$</prix></item>\n\t</product>\n</artItem>\r\n"
        u"<artItem artNo=\"002\">\n\t<artID>\n\t\t<artNo>002</artNo><nom>Amiot</nom><prenom>Lise</prenom>"
        u"<adresse>\";Lévis;;;\"</adresse><eMail/><comment>tissage</comment>\n\t</artID>\n\t<product />\n</artItem>\r\n"
        u"<artItem artNo=\"003\">\n\t<artID>\n\t\t<artNo>003</artNo><nom>Côté</nom><prenom>Jean</prenom>"
        u"<adresse>\";;;;\"</adresse><eMail/><varData/><comment/>\n\t</artID>\n\t<product />\n</artItem>\r\n"
        u"</artList>\r\n"_s;
    return text.toLatin1();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeFileBytes(path, bytes));
}

// Picks the line of the import dialog that starts with name and accepts it.
std::function<int(QDialog&)> pick(const QString& name, QStringList* shown = nullptr)
{
    return [name, shown](QDialog& d) {
        auto* dlg = qobject_cast<TImpArtDlg*>(&d);
        if (!dlg)
            return int(QDialog::Rejected);
        dlg->show();
        for (int i = 0; i < dlg->artListBox->count(); ++i) {
            if (shown)
                *shown << dlg->artListBox->item(i)->text();
            if (dlg->artListBox->item(i)->text().startsWith(name))
                dlg->artListBox->setCurrentRow(i);
        }
        if (shown)
            *shown << dlg->windowTitle() << dlg->itemNoLab->text() << dlg->descriptLab->text();
        dlg->hide();
        return int(QDialog::Accepted);
    };
}
} // namespace

class TestArtImport : public QObject {
    Q_OBJECT
private slots:
    void listModeAndGrid();
    void importWholeList();
    void importWholeListCancelled();
    void importOneArtisanThroughDialog();
    void importFileMissingAsksForAnother();
    void changeFileAndExport();
};

void TestArtImport::listModeAndGrid()
{
    UiHarness h;
    TmainForm& w = h.start();
    TArtForm& a = h.art();
    a.nameEd->setText(u"Alpha"_s);
    h.addArtisan(u"Beta"_s, u"B"_s);
    a.cityEd->setText(u"Québec"_s);

    // Entering list mode keeps what was typed.
    h.click(a.vModeBtn0);
    QVERIFY(a.listPanel->isVisible());
    QVERIFY(!a.formPanel->isVisible());
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

void TestArtImport::importWholeList()
{
    UiHarness h;
    QTemporaryDir other;
    const QString xml = other.path() + u"/liste.xml"_s;
    writeFile(xml, artListXml());
    TmainForm& w = h.start();
    h.prompt.openNames << xml;
    w.aImpArt->trigger();

    AppState& st = h.st();
    QCOMPARE(st.artList.count(), 3);
    QCOMPARE(st.artList.at(1).comment, u"tissage"_s); // six children: no varData
    QCOMPARE(st.curFilePath, QString());
    QCOMPARE(h.art().nameEd->text(), u"Verrier"_s);
    QCOMPARE(w.nListCB->count(), 3);
    QVERIFY(w.pageBtn->isVisible()); // a product came with the list
    QCOMPARE(h.prompt.questions.count(), 1);

    // Replacing the list is a change that the close asks about; the save
    // asks for a name.
    h.prompt.answers << Prompt::Answer::Yes;
    h.prompt.saveNames << h.dataDir() + u"importe"_s;
    QVERIFY(h.stop());
    QVERIFY(QFile::exists(h.dataDir() + u"importe.tlvdb"_s));
}

void TestArtImport::importWholeListCancelled()
{
    UiHarness h;
    TmainForm& w = h.start();
    h.art().nameEd->setText(u"Zéro"_s);
    h.addArtisan(u"Un"_s, {});
    QCOMPARE(h.st().curArtInd, 1);
    h.prompt.answers << Prompt::Answer::No;
    w.aImpArt->trigger();
    QCOMPARE(h.prompt.informations, QStringList{u"File  was not found"_s});
    QCOMPARE(h.st().curArtInd, 0);
    QCOMPARE(h.st().artList.count(), 2);
    QVERIFY(w.mainReady);

    // An XML file that cannot be read: its error, and the window still works.
    QTemporaryDir other;
    writeFile(other.path() + u"/bad.xml"_s, "<artList><artItem>");
    h.prompt.openNames << other.path() + u"/bad.xml"_s;
    h.prompt.answers << Prompt::Answer::No;
    w.aImpArt->trigger();
    QCOMPARE(h.prompt.errors.count(), 1);
    QCOMPARE(h.st().artList.count(), 2);
    h.art().nameEd->setText(u"Encore"_s);
    h.click(w.nextBtn);
    QCOMPARE(h.st().artList.at(0).nom, u"Encore"_s);
}

void TestArtImport::importOneArtisanThroughDialog()
{
    UiHarness h;
    writeFile(h.dataDir() + u"imp.xml"_s, artListXml());
    TmainForm& w = h.start();
    h.art().nameEd->setText(u"Existant"_s);
    h.click(w.addRecBtn);
    // Only for a new artisan: a typed name turns the import off.
    h.art().nameEd->setText(u"N"_s);
    QVERIFY(!h.art().btnImpArtItem->isEnabled());
    h.art().nameEd->clear();
    QVERIFY(h.art().btnImpArtItem->isEnabled());

    QStringList shown;
    h.onModal = pick(u"Verrier"_s, &shown);
    h.prompt.openNames << h.dataDir() + u"imp.xml"_s;
    h.art().btnImpArtItem->click();
    QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Ouvrir"_s});
    QCOMPARE(h.st().importFName, u"imp.xml"_s); // in the data folder: the name only
    // Sorted display names, then the caption and the chosen number and name.
    QCOMPARE(shown, (QStringList{u"Amiot Lise (002)"_s, u"Côté Jean (003)"_s, u"Verrier Art (001)"_s,
                                 u"Liste courante de : imp.xml"_s, u"001"_s, u"Verrier Art "_s}));

    AppState& st = h.st();
    QCOMPARE(st.artList.count(), 2);
    const TArtisan& got = st.artList.at(1);
    QCOMPARE(got.artRecord(), u"002|:|Verrier|:|Art|:|12 rue Haute|:|Québec|:|G1A|:|555-1234|:|v@x.ca|:|"
                              u"imp.xml,0|:|verre soufflé|:|"_s);
    QCOMPARE(got.products.count(), 0);
    QCOMPARE(h.art().nameEd->text(), u"Verrier"_s);
    QCOMPARE(h.art().varDataLab->text(), u"0"_s);
    QCOMPARE(w.statusText(1), u"Imported artNo :002"_s);
    QVERIFY(!h.art().btnImpArtItem->isEnabled());

    // The list is kept: a second import reads no file and asks for none.
    h.click(w.addRecBtn);
    h.prompt.dialogCaptions.clear();
    h.onModal = pick(u"Côté"_s);
    h.art().btnImpArtItem->click();
    QVERIFY(h.prompt.dialogCaptions.isEmpty());
    QCOMPARE(st.artList.at(2).nom, u"Côté"_s);
    QCOMPARE(st.artList.at(2).varData, u"imp.xml,2"_s);

    // Closed without a choice: nothing imported, nothing said.
    h.click(w.addRecBtn);
    h.onModal = [](QDialog&) { return int(QDialog::Accepted); };
    h.art().btnImpArtItem->click();
    QVERIFY(h.prompt.errors.isEmpty());
    QCOMPARE(st.artList.at(3).nom, QString());
}

void TestArtImport::importFileMissingAsksForAnother()
{
    UiHarness h;
    QTemporaryDir other;
    writeFile(other.path() + u"/ailleurs.xml"_s, artListXml());
    h.writeIni("[PREFS]\r\nimportFName=parti.xml\r\nshowSplash=0\r\n");
    h.start();
    h.art().nameEd->setText(u"Existant"_s);
    h.click(h.w->addRecBtn);
    h.art().nameEd->clear();
    h.prompt.openNames << other.path() + u"/ailleurs.xml"_s;
    h.onModal = pick(u"Amiot"_s);
    h.art().btnImpArtItem->click();
    QCOMPARE(h.prompt.informations, QStringList{u"Le fichier parti.xmlsemble inaccessible."_s});
    QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Ouvrir"_s});
    // The file chosen elsewhere is copied into the data folder.
    QCOMPARE(h.st().importFName, u"ailleurs.xml"_s);
    QVERIFY(QFile::exists(h.dataDir() + u"ailleurs.xml"_s));
    QCOMPARE(h.st().artList.at(1).nom, u"Amiot"_s);
    QCOMPARE(h.st().artList.at(1).varData, u"ailleurs.xml,1"_s);

    // Each time, another file is offered; cancelled, nothing happens.
    h.st().importFName = u"encore-parti.xml"_s;
    h.prompt.informations.clear();
    h.prompt.dialogCaptions.clear();
    h.art().btnImpArtItem->setEnabled(true);
    h.art().btnImpArtItem->click();
    QCOMPARE(h.prompt.informations, QStringList{u"Le fichier encore-parti.xmlsemble inaccessible."_s});
    QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Ouvrir"_s});
}

void TestArtImport::changeFileAndExport()
{
    UiHarness h;
    writeFile(h.dataDir() + u"a.xml"_s, artListXml());
    QByteArray oneArtisan = artListXml();
    oneArtisan = oneArtisan.left(oneArtisan.indexOf("<artItem artNo=\"002\">")) + "</artList>\r\n";
    writeFile(h.dataDir() + u"b.xml"_s, oneArtisan);
    h.writeIni("[PREFS]\r\nimportFName=a.xml\r\nshowSplash=0\r\n");
    h.start();

    TImpArtDlg dlg(h.st(), *h.w, h.w.get());
    QCOMPARE(dlg.windowTitle(), u"Importer un artisan depuis la liste a.xml"_s);
    dlg.show();
    QCOMPARE(dlg.artListBox->count(), 3);
    QCOMPARE(h.w->statusText(2), u"list from a.xml"_s);

    h.prompt.openNames << h.dataDir() + u"b.xml"_s;
    dlg.BtnChangeFile->click();
    QCOMPARE(h.st().importFName, u"b.xml"_s);
    QCOMPARE(dlg.artListBox->count(), 1);

    dlg.mXPortFile->trigger();
    const QString exported = h.dataDir() + u"ImportTest.xml"_s;
    QVERIFY(QFile::exists(exported));
    QCOMPARE(h.w->windowTitle(), exported);
    AppState again;
    QVERIFY(readArtListFile(again.artList, exported));
    QCOMPARE(again.artList.at(0).artRecord(), h.st().impArtList.at(0).artRecord());
    QCOMPARE(again.artList.count(), 1);
    dlg.hide();

    // A file without an artisan list leaves the list empty and says so.
    writeFile(h.dataDir() + u"vide.xml"_s, "<?xml version=\"1.0\"?><autre/>");
    h.st().impArtList.clear();
    h.st().importFName = u"vide.xml"_s;
    TImpArtDlg empty(h.st(), *h.w, h.w.get());
    empty.show();
    QCOMPARE(h.prompt.informations.last(), u"Impossible de recréer la liste0"_s);
    empty.hide();
}

QTEST_MAIN(TestArtImport)
#include "tst_artImport.moc"
