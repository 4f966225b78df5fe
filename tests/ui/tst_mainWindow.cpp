// The main window driven as a user would: start-up with and without
// settings, menus, status bar, help line, artisan navigation, the database
// commands, the unsaved-changes question and the shut-down.

#include "uiHarness.h"

#include "core/dbFile.h"
#include "core/textUtil.h"
#include "model/uArt.h"
#include "support/testFiles.h"
#include "ui/prefsForm.h"
#include "ui/prodFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {
// A database file holding one artisan of that name.
void writeDatabase(const QString& path, const QString& nom)
{
    AppState s;
    s.dataDir = QFileInfo(path).absolutePath() + u"/"_s;
    addArtisan(s, u"001"_s).nom = nom;
    saveDB(path, s);
}

QStringList names(AppState& st)
{
    QStringList out;
    for (int i = 0; i < st.artList.count(); ++i)
        out << st.artList.at(i).nom;
    return out;
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startWithoutSettings();
    void menusStatusBarAndHelpLine();
    void navigationWrapsAndSavedListComesBack();
    void autoloadOfMissingFile();
    void saveAsElsewhere();
    void saveAfterNewAsksForName();
    void unsavedChangesQuestion();
    void recordSeparatorRefused();
    void openCopiesIntoDataFolder();
    void pageButtonNeedsAProduct();
    void preferencesRoundTrip();
    void shutDownKeepsRealSize();
};

void TestMainWindow::startWithoutSettings()
{
    UiHarness h;
    TmainForm& w = h.start();
    QCOMPARE(h.modals, QStringList{u"TaboutForm"_s}); // the splash, on by default
    QCOMPARE(w.windowTitle(), u"tilvarDB version 0.8.5   09.05.18"_s);
    QVERIFY(QFileInfo(h.dataDir()).isDir());
    QVERIFY(QFileInfo(h.progDir() + u"dXML"_s).isDir());
    QCOMPARE(h.st().defaultFileName, u"bArtisan26"_s);

    // One empty artisan shown in the form; no product, so no sales page.
    QCOMPARE(h.st().artList.count(), 1);
    QVERIFY(w.mainReady);
    QCOMPARE(w.artNoLab->text(), u"001"_s);
    QVERIFY(!w.pageBtn->isVisible());
    QVERIFY(h.art().formPanel->isVisible());
    QCOMPARE(w.statusText(0), u"curFile: "_s);
    QCOMPARE(w.statusText(1), u"CurArtNo: 001"_s);
    QCOMPARE(w.statusText(2), u"curArtInd: 0"_s);
    QCOMPARE(w.statusText(3), u"maxRecs: 1"_s);
    QVERIFY(h.prompt.all.isEmpty());

    QVERIFY(h.stop());
    const QString ini = h.readIni();
    QVERIFY(ini.contains(u"autoLoad=0"_s));
    QVERIFY(ini.contains(u"showSplash=1"_s));
    QVERIFY(ini.contains(u"curArtNo=001"_s));
}

void TestMainWindow::menusStatusBarAndHelpLine()
{
    UiHarness h;
    TmainForm& w = h.start();
    const auto entries = [&](int i) {
        QStringList out;
        for (QAction* a : w.menuBar()->actions().at(i)->menu()->actions())
            out << (a->isSeparator() ? u"-"_s : a->objectName());
        return out;
    };
    QCOMPARE(entries(0), (QStringList{u"aNew"_s, u"FileOpen"_s, u"FileSaveAs"_s, u"aSave"_s, u"-"_s,
                                      u"aExpArt"_s, u"aExpSales"_s, u"aImpArt"_s, u"-"_s, u"FileExit"_s}));
    QCOMPARE(w.FileOpen->shortcut(), QKeySequence(u"Ctrl+O"_s));
    QCOMPARE(w.aSave->shortcut(), QKeySequence(u"Ctrl+S"_s));
    QVERIFY(w.aExpSales->isEnabled() && w.aExpSales->text() == u"Exporter les ventes"_s);

    // aSetAdmin only toggles its flag; the dead entries change nothing.
    const bool admin = h.st().adminMode;
    w.aSetAdmin->trigger();
    QCOMPARE(h.st().adminMode, !admin);
    w.aEmptyDB->trigger();
    w.mResetVarData->trigger();
    QCOMPARE(h.st().artList.count(), 1);

    h.modals.clear();
    w.aVersion->trigger();
    QCOMPARE(h.modals, QStringList{u"TaboutForm"_s});

    QLabel* panel = h.find<QLabel>("statusPanel0");
    QTest::mouseClick(panel, Qt::LeftButton);
    QCOMPARE(w.statusText(0), u"current file: "_s);
    QCOMPARE(w.statusText(3), u"importFName: "_s);
    QTest::mouseClick(panel, Qt::LeftButton);
    QCOMPARE(w.statusText(3), u"mainPanCount: 4"_s);
    QTest::mouseClick(h.find<QLabel>("statusPanel3"), Qt::LeftButton); // any panel cycles
    QCOMPARE(w.statusText(2), u"curProdInd:-1 curArtInd:0"_s);
    QTest::mouseClick(panel, Qt::LeftButton);
    QCOMPARE(w.statusMode, 0);
    QCOMPARE(w.statusText(1), u"CurArtNo: 001"_s);

    QCOMPARE(w.infoLab->text(), u"="_s);
    h.hover(w.addRecBtn);
    QCOMPARE(w.infoLab->text(), u"Ajouter un artisan"_s);
    // The artisans window's controls fill the same line; other panels clear it.
    h.hover(h.art().vModeBtn0);
    QCOMPARE(w.infoLab->text(), u"Passage au mode liste."_s);
    h.hover(w.topPanel);
    QCOMPARE(w.infoLab->text(), QString());

    // The subtitle flips between the detail and list words.
    h.clickLabel(w.subTLabel);
    QCOMPARE(w.subTLabel->text(), u"liste"_s);
    h.clickLabel(w.subTLabel);
    QCOMPARE(w.subTLabel->text(), u"détail"_s);

    // The number label opens the number picker, "No:" closes it.
    h.clickLabel(w.artNoLab);
    QVERIFY(w.nListCB->isVisible());
    h.clickLabel(w.Label1);
    QVERIFY(!w.nListCB->isVisible());
}

void TestMainWindow::navigationWrapsAndSavedListComesBack()
{
    UiHarness h;
    TmainForm& w = h.start();
    TArtForm& a = h.art();
    a.nameEd->setText(u"Alpha"_s);
    a.comMemo->setPlainText(u"ligne 1\nligne 2"_s);
    h.addArtisan(u"Beta"_s, u"Bé"_s);
    h.addArtisan(u"Gamma"_s, u"Gé"_s);
    QCOMPARE(w.nListCB->count(), 3);

    h.click(w.nextBtn); // stores Gamma, wraps to the first
    QCOMPARE(h.st().curArtInd, 0);
    QCOMPARE(a.nameEd->text(), u"Alpha"_s);
    QCOMPARE(a.comMemo->toPlainText(), u"ligne 1\nligne 2"_s);
    QCOMPARE(w.artInfoLab->text(), u"Alpha  (001)"_s);
    h.click(w.prevBtn); // wraps to the last
    QCOMPARE(a.nameEd->text(), u"Gamma"_s);
    QCOMPARE(w.artNoLab->text(), u"003"_s);
    h.click(w.prevBtn);
    QCOMPARE(a.fNameEd->text(), u"Bé"_s);
    QCOMPARE(names(h.st()), (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));

    // The pickers move too; the name picker hides itself after use.
    emit w.nListCB->activated(0);
    QCOMPARE(a.nameEd->text(), u"Alpha"_s);
    h.clickLabel(w.artInfoLab);
    QVERIFY(w.ArtListCB->isVisible());
    QCOMPARE(w.ArtListCB->itemText(2), u"Gamma Gé (003)"_s);
    emit w.ArtListCB->activated(2);
    QCOMPARE(a.nameEd->text(), u"Gamma"_s);
    QVERIFY(!w.ArtListCB->isVisible());

    // Save: no file yet, so the save dialog names it; ".tlvdb" is added.
    h.prompt.saveNames << h.dataDir() + u"boutique"_s;
    h.click(w.saveBtn);
    QVERIFY(QFile::exists(h.dataDir() + u"boutique.tlvdb"_s));
    QCOMPARE(w.statusText(0), u"saved file: boutique.tlvdb"_s);
    QVERIFY(!h.st().modified);

    // Autoload on through the preferences, then start again.
    h.onModal = [](QDialog& d) {
        if (auto* p = qobject_cast<TPrefsDialog*>(&d)) {
            p->autoLoadChk->setChecked(true);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    w.aPrefs->trigger();
    QVERIFY(h.st().autoload);
    QVERIFY(h.stop());
    QVERIFY(h.prompt.questions.isEmpty());

    h.start();
    QCOMPARE(names(h.st()), (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));
    QCOMPARE(h.st().artList.at(1).prenom, u"Bé"_s);
    QCOMPARE(h.art().nameEd->text(), u"Alpha"_s);
    QCOMPARE(h.w->statusText(0), u"curFile: boutique.tlvdb"_s);
    QVERIFY(h.prompt.errors.isEmpty());

    // To the shown artisan's products and back through the sub-pages.
    h.art().nameEd->setText(u"Alpha 2"_s);
    h.click(h.art().artPageBtn);
    QCOMPARE(h.st().artList.at(0).nom, u"Alpha 2"_s);
    QVERIFY(!h.w->addRecBtn->isVisible());
    QVERIFY(h.w->prodForm->formPanel->isVisible());
    for (int i = 0; i < 3; ++i)
        h.w->mainBtn->click();
    QCOMPARE(h.w->artSubPage, 0);
    QVERIFY(h.art().formPanel->isVisible());
    h.prompt.answers << Prompt::Answer::No;
}

void TestMainWindow::autoloadOfMissingFile()
{
    UiHarness h;
    h.writeIni("[PREFS]\r\nautoload=1\r\nartFileName=absent.tlvdb\r\nshowSplash=0\r\n");
    TmainForm& w = h.start();
    QVERIFY(h.modals.isEmpty());
    QCOMPARE(h.st().artList.count(), 1);
    QCOMPARE(h.st().artFileName, QString());
    QTRY_COMPARE(h.prompt.errors.count(), 1); // which file did not open, once the window is up
    QVERIFY(w.mainReady);

    // With one artisan the arrows stay on it and store what was typed.
    h.art().nameEd->setText(u"Seul"_s);
    h.click(w.nextBtn);
    QCOMPARE(h.st().curArtInd, 0);
    h.click(w.prevBtn);
    QCOMPARE(h.st().curArtInd, 0);
    QCOMPARE(h.art().nameEd->text(), u"Seul"_s);
    QCOMPARE(h.st().artList.at(0).nom, u"Seul"_s);
}

void TestMainWindow::saveAsElsewhere()
{
    UiHarness h;
    QTemporaryDir other;
    TmainForm& w = h.start();
    h.art().nameEd->setText(u"Premier"_s);
    const QString outside = other.path() + u"/copie.tlvdb"_s;
    h.prompt.saveNames << outside;
    w.FileSaveAs->trigger();
    const QString inData = h.dataDir() + u"copie.tlvdb"_s;
    QVERIFY(QFile::exists(outside));
    QVERIFY(QFile::exists(inData));
    QCOMPARE(h.st().curFilePath, inData);
    QCOMPARE(h.st().artFileName, u"copie.tlvdb"_s);
    const QByteArray outsideBytes = readFileBytes(outside);

    h.art().nameEd->setText(u"Modifié"_s);
    w.aSave->trigger();
    QCOMPARE(h.prompt.dialogCaptions.count(), 1); // no second dialog
    QCOMPARE(w.statusText(0), u"saved: copie.tlvdb"_s);
    QCOMPARE(readFileBytes(outside), outsideBytes);
    QVERIFY(readFileBytes(inData) != outsideBytes);
    QVERIFY(readFileBytes(inData).contains("Modifi"));

    // Another database of that name in the data folder is never replaced
    // silently; answered No, later saves go to the file chosen.
    writeDatabase(h.dataDir() + u"meme.tlvdb"_s, u"Autre base"_s);
    const QByteArray kept = readFileBytes(h.dataDir() + u"meme.tlvdb"_s);

    h.art().nameEd->setText(u"Nouvelle"_s);
    const QString outside2 = other.path() + u"/meme.tlvdb"_s;
    h.prompt.saveNames << outside2;
    h.prompt.answers << Prompt::Answer::No;
    w.FileSaveAs->trigger();
    QCOMPARE(h.prompt.questions.count(), 1);
    QCOMPARE(readFileBytes(h.dataDir() + u"meme.tlvdb"_s), kept);
    QCOMPARE(h.st().curFilePath, QFileInfo(outside2).absoluteFilePath());
    h.art().nameEd->setText(u"Nouvelle 2"_s);
    w.aSave->trigger();
    QCOMPARE(readFileBytes(h.dataDir() + u"meme.tlvdb"_s), kept);
    QVERIFY(readFileBytes(outside2).contains("Nouvelle 2"));
}

void TestMainWindow::saveAfterNewAsksForName()
{
    UiHarness h;
    TmainForm& w = h.start();
    h.prompt.saveNames << h.dataDir() + u"a.tlvdb"_s;
    w.aSave->trigger();
    QVERIFY(QFile::exists(h.dataDir() + u"a.tlvdb"_s));
    w.aNew->trigger();
    QVERIFY(h.prompt.questions.isEmpty()); // nothing changed since the save
    QCOMPARE(h.st().artFileName, QString());
    QCOMPARE(h.st().curFilePath, QString());
    QCOMPARE(h.st().artList.count(), 1);
    h.prompt.dialogCaptions.clear();
    w.aSave->trigger(); // cancelled dialog: nothing written
    QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Enregistrer sous"_s});
    QCOMPARE(QDir(h.dataDir()).entryList(QDir::Files), QStringList{u"a.tlvdb"_s});
}

void TestMainWindow::unsavedChangesQuestion()
{
    const QString question = u"Enregistrer les modifications ?"_s;
    {
        UiHarness h;
        h.start();
        QVERIFY(h.stop()); // nothing changed: nothing asked
        QVERIFY(h.prompt.questions.isEmpty());
    }
    {
        UiHarness h;
        h.start();
        h.art().nameEd->setText(u"Tapé"_s);
        h.prompt.answers << Prompt::Answer::Cancel;
        QVERIFY(!h.stop());
        QCOMPARE(h.prompt.questions, QStringList{question});
        QVERIFY(h.w->isVisible());
        h.prompt.answers << Prompt::Answer::No;
        QVERIFY(h.stop());
        QVERIFY(QDir(h.dataDir()).entryList(QDir::Files).isEmpty());
    }
    {
        UiHarness h;
        h.start();
        h.addArtisan(u"Deux"_s, {});
        h.prompt.answers << Prompt::Answer::Yes;
        h.prompt.saveNames << h.dataDir() + u"fin.tlvdb"_s;
        QVERIFY(h.stop());
        QVERIFY(QFile::exists(h.dataDir() + u"fin.tlvdb"_s));
    }
    {
        // Yes, then the save dialog cancelled: the window stays open.
        UiHarness h;
        TmainForm& w = h.start();
        h.art().nameEd->setText(u"X"_s);
        h.prompt.answers << Prompt::Answer::Yes;
        QVERIFY(!h.stop());
        // The database commands ask as well.
        h.prompt.questions.clear();
        h.prompt.dialogCaptions.clear();
        h.prompt.answers << Prompt::Answer::Cancel;
        w.aNew->trigger();
        QCOMPARE(h.prompt.questions, QStringList{question});
        QCOMPARE(h.st().artList.at(0).nom, u"X"_s);
        h.prompt.answers << Prompt::Answer::Cancel;
        w.aClearAll->trigger();
        h.prompt.answers << Prompt::Answer::Cancel;
        w.FileOpen->trigger();
        QCOMPARE(h.prompt.questions.count(), 3);
        QVERIFY(h.prompt.dialogCaptions.isEmpty());
        QCOMPARE(h.st().artList.at(0).nom, u"X"_s);
        h.prompt.answers << Prompt::Answer::No;
        w.aClearAll->trigger();
        QCOMPARE(h.st().artList.at(0).nom, QString());
        QVERIFY(h.stop());
    }
}

void TestMainWindow::recordSeparatorRefused()
{
    UiHarness h;
    TmainForm& w = h.start();
    h.art().nameEd->setText(u"Bon"_s);
    h.addArtisan(u"Mau|:|vais"_s, u"Ok"_s);
    h.click(w.prevBtn);
    QCOMPARE(h.prompt.errors.count(), 1);
    QCOMPARE(h.prompt.errors.first(), recordFieldProblem(u"Mau|:|vais"_s, REC_SEP));
    // Nothing stored, nothing moved: the entry can still be corrected.
    QCOMPARE(h.st().curArtInd, 1);
    QCOMPARE(h.st().artList.at(1).prenom, QString());
    QCOMPARE(h.art().nameEd->text(), u"Mau|:|vais"_s);

    h.prompt.saveNames << h.dataDir() + u"x.tlvdb"_s;
    w.aSave->trigger();
    QCOMPARE(h.prompt.errors.count(), 2);
    QVERIFY(!QFile::exists(h.dataDir() + u"x.tlvdb"_s));

    h.art().comMemo->setPlainText(u"fin|:|"_s);
    h.art().nameEd->setText(u"Mauvais"_s);
    h.click(w.prevBtn);
    QCOMPARE(h.prompt.errors.count(), 3);
    h.art().comMemo->setPlainText(u"fin"_s);
    h.click(w.prevBtn);
    QCOMPARE(h.prompt.errors.count(), 3);
    QCOMPARE(h.st().artList.at(1).nom, u"Mauvais"_s);
    QCOMPARE(h.st().curArtInd, 0);
    h.prompt.answers << Prompt::Answer::No;
}

void TestMainWindow::openCopiesIntoDataFolder()
{
    UiHarness h;
    QTemporaryDir other;
    const QString outside = other.path() + u"/ext.tlvdb"_s;
    writeDatabase(outside, u"Externe"_s);
    TmainForm& w = h.start();

    h.prompt.openNames << outside;
    w.FileOpen->trigger();
    const QString inData = h.dataDir() + u"ext.tlvdb"_s;
    QCOMPARE(readFileBytes(inData), readFileBytes(outside));
    QCOMPARE(names(h.st()), QStringList{u"Externe"_s});
    QCOMPARE(h.st().artFileName, u"ext.tlvdb"_s);
    QCOMPARE(h.st().curFilePath, inData);
    QCOMPARE(w.statusText(0), u"current file: ext.tlvdb"_s); // status mode 1 after opening
    QVERIFY(h.prompt.questions.isEmpty());

    // Same name, other content in the data folder: asked first.
    writeDatabase(inData, u"Interne"_s);
    h.prompt.openNames << outside;
    h.prompt.answers << Prompt::Answer::Cancel;
    w.FileOpen->trigger();
    QCOMPARE(h.prompt.questions.count(), 1);
    QCOMPARE(names(h.st()), QStringList{u"Externe"_s}); // nothing happened

    h.prompt.openNames << outside;
    h.prompt.answers << Prompt::Answer::No;
    w.FileOpen->trigger();
    QCOMPARE(names(h.st()), QStringList{u"Interne"_s});

    h.prompt.openNames << outside;
    h.prompt.answers << Prompt::Answer::Yes;
    w.FileOpen->trigger();
    QCOMPARE(names(h.st()), QStringList{u"Externe"_s});
    QCOMPARE(readFileBytes(inData), readFileBytes(outside));

    // A file of the data folder opens as it is.
    h.prompt.openNames << inData;
    w.FileOpen->trigger();
    QCOMPARE(h.prompt.questions.count(), 3);
    QCOMPARE(names(h.st()), QStringList{u"Externe"_s});
    QVERIFY(h.prompt.errors.isEmpty());
}

void TestMainWindow::pageButtonNeedsAProduct()
{
    UiHarness h;
    TmainForm& w = h.start();
    w.pageBtn->click();
    QCOMPARE(w.curPage, 0);

    h.st().artList.productsOf(0).addProduct(u"001"_s, u"001"_s, u"260518"_s);
    w.updatePageBtn();
    // Shown again, the artisan's products stay selected for the products page.
    QVERIFY(w.moveToArtisan(0));
    QCOMPARE(h.st().prodNoList, QStringList{u"001"_s});
    QCOMPARE(w.prodForm->prodCntLab->text(), u"1"_s);
    QVERIFY(w.pageBtn->isVisible());
    h.art().nameEd->setText(u"Potier"_s);
    w.pageBtn->click();
    QCOMPARE(w.curPage, 1);
    QCOMPARE(w.TitleLab->text(), u"Ventes"_s);
    QCOMPARE(h.st().artList.at(0).nom, u"Potier"_s);
    QVERIFY(!h.art().formPanel->isVisible());
    QCOMPARE(w.mainPanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).count(), 1);
    w.pageBtn->click();
    QCOMPARE(w.TitleLab->text(), u"Artisans"_s);
    QCOMPARE(h.art().nameEd->text(), u"Potier"_s);
    h.prompt.answers << Prompt::Answer::No;
}

void TestMainWindow::preferencesRoundTrip()
{
    UiHarness h;
    h.writeIni("[PREFS]\r\nartFileName=vente.2026.tlvdb\r\n");
    TmainForm& w = h.start();
    // Closing with the close box keeps every setting.
    w.aPrefs->trigger();
    QCOMPARE(h.modals.last(), u"TPrefsDialog"_s);
    QVERIFY(!h.st().autoload);
    QVERIFY(h.st().showSplash);

    bool splashShown = false;
    h.onModal = [&](QDialog& d) {
        auto* p = qobject_cast<TPrefsDialog*>(&d);
        if (!p)
            return int(QDialog::Rejected);
        splashShown = p->splashScreenChk->isChecked();
        p->autoLoadChk->setChecked(true);
        p->splashScreenChk->setChecked(false);
        return int(QDialog::Accepted);
    };
    // First show ran a clear, so set the name as the dialog would find it.
    h.st().artFileName = u"vente.2026.tlvdb"_s;
    w.aPrefs->trigger();
    QVERIFY(splashShown);
    QVERIFY(h.st().autoload);
    QVERIFY(!h.st().showSplash);
    QCOMPARE(h.st().artFileName, u"vente.2026.tlvdb"_s); // a dot of the name stays
    QVERIFY(h.stop());
    const QString ini = h.readIni();
    QVERIFY(ini.contains(u"autoLoad=1"_s));
    QVERIFY(ini.contains(u"showSplash=0"_s));
    QVERIFY(ini.contains(u"artFileName=vente.2026.tlvdb"_s));

    // Started again: no splash, and the dialog shows the stored choices.
    h.modals.clear();
    bool stored = false;
    h.onModal = [&](QDialog& d) {
        auto* p = qobject_cast<TPrefsDialog*>(&d);
        stored = p && p->autoLoadChk->isChecked() && !p->splashScreenChk->isChecked();
        return int(QDialog::Rejected);
    };
    h.start();
    QVERIFY(h.modals.isEmpty());
    h.w->aPrefs->trigger();
    QVERIFY(stored);
}

void TestMainWindow::shutDownKeepsRealSize()
{
    UiHarness h;
    h.writeIni("[PREFS]\r\nwWidth=900\r\nwHeight=700\r\nwLeft=12\r\nwTop=34\r\nshowSplash=0\r\n");
    TmainForm& w = h.start();
    QCOMPARE(w.size(), QSize(830, 655));
    QCOMPARE(w.pos(), QPoint(12, 34));
    QVERIFY(h.stop());
    const QString ini = h.readIni();
    QVERIFY(ini.contains(u"wWidth=830"_s) && ini.contains(u"wHeight=655"_s));
    QVERIFY(ini.contains(u"wLeft=12"_s));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainWindow.moc"
