// The main window and its database commands walked as a user would: the
// first start, entering artisans and finding them again after a restart,
// save / save-as / open, the unsaved-changes question and start-up failures.

#include "uiHarness.h"

#include "boutique/artisanState.h"
#include "core/textUtil.h"
#include "model/uArt.h"
#include "ui/dialogs/prefsForm.h"
#include "ui/dialogs/restoreDlg.h"

#include <QStatusBar>
#include <QCheckBox>
#include <QMenu>

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
} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void enterSaveRestartFindAgain()
    {
        UiHarness h;
        TmainForm& w = h.start();
        TArtForm& a = h.art();
        // First start: the folders, nothing said.
        QVERIFY(QFileInfo(h.dataDir()).isDir() && QFileInfo(h.progDir() + u"dXML"_s).isDir());
        QVERIFY(h.prompt.all.isEmpty());
        // "+" on the empty last artisan adds no second one; the arrows store
        // what was typed.
        h.click(w.addRecBtn);
        a.nameEd->setText(u"Alpha"_s);
        a.comMemo->setPlainText(u"ligne 1\nligne 2"_s);
        h.addArtisan(u"Beta"_s, u"Bé"_s);
        h.addArtisan(u"Gamma"_s, u"Gé"_s);
        h.click(w.nextBtn); // stores Gamma, wraps to the first
        QCOMPARE(a.comMemo->toPlainText(), u"ligne 1\nligne 2"_s);
        QCOMPARE(h.names(), (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));
        emit w.ArtListCB->activated(2); // the name picker moves too
        w.findChild<QAction*>(u"aCheckDb"_s)->trigger();
        QVERIFY(h.prompt.informations.value(0).startsWith(u"La base est cohérente"_s));

        // No file yet: the save dialog names it and ".tlvdb" is added.
        h.prompt.saveNames << h.dataDir() + u"boutique"_s;
        h.click(w.saveBtn);

        // Preferences, accepted as shown but for the splash: a first start
        // loads its database again by default.
        h.onModal = UiHarness::answer<TPrefsDialog>([](TPrefsDialog& d) {
            d.splashScreenChk->setChecked(false);
            return QDialog::Accepted;
        });
        w.aPrefs->trigger();
        QVERIFY(h.stop());
        QVERIFY(h.prompt.questions.isEmpty());
        QVERIFY(h.readIni().contains(u"autoLoad=1"_s) && h.readIni().contains(u"curArtNo=003"_s));

        // Started again: no splash, the list is back.
        h.modals.clear();
        h.onModal = {};
        h.start();
        QVERIFY(h.modals.isEmpty());
        QCOMPARE(h.names(), (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));
        // Keys go to the name field, never to a button; Alt+F opens the file menu.
        QCOMPARE(h.w->focusWidget(), h.art().nameEd);
        QApplication::setActiveWindow(h.w.get());
        QTest::keyClick(h.w.get(), Qt::Key_F, Qt::AltModifier);
        auto* fileMenu = h.w->findChild<QMenu*>(u"File1"_s);
        QVERIFY(fileMenu->isVisible());
        fileMenu->close();
        QCOMPARE(h.st().artList.at(1).prenom, u"Bé"_s);

        // Leaving for the sales page (it needs a product) stores the artisan shown.
        h.st().artList.productsOf(0).addProduct(u"001"_s, u"001"_s, u"260518"_s);
        h.w->updatePageBtn();
        QVERIFY(h.w->moveToArtisan(0));
        h.art().nameEd->setText(u"Potier"_s);
        h.w->pageBtn->click();
        QCOMPARE(h.st().artList.at(0).nom, u"Potier"_s);
    }

    void refusedFieldSaveAsAndOpenCopy()
    {
        UiHarness h;
        QTemporaryDir other;
        TmainForm& w = h.start();
        h.art().nameEd->setText(u"Bon"_s); // the record separator refused first
        h.addArtisan(u"Mau|:|vais"_s, u"Ok"_s);
        h.click(w.prevBtn);
        QCOMPARE(h.prompt.errors, QStringList{recordFieldProblem(u"Mau|:|vais"_s, REC_SEP)});
        // Nothing stored, nothing moved: the entry can still be corrected.
        QVERIFY(h.st().curArtInd == 1 && h.st().artList.at(1).prenom.isEmpty());

        h.prompt.saveNames << h.dataDir() + u"x.tlvdb"_s;
        w.aSave->trigger();
        QCOMPARE(h.prompt.errors.count(), 2);
        QVERIFY(!QFile::exists(h.dataDir() + u"x.tlvdb"_s));

        // Corrected, the artisan is stored.
        h.art().nameEd->setText(u"Mauvais"_s);
        h.click(w.prevBtn);
        QVERIFY(h.prompt.errors.count() == 2 && h.st().curArtInd == 0);
        QCOMPARE(h.st().artList.at(1).nom, u"Mauvais"_s);
        h.prompt.clear();

        // Saved elsewhere: the field being typed is written, a copy lands in
        // the data folder and later saves go there; the dots of the name stay.
        h.art().nameEd->setText(u"Tapé"_s);
        const QString outside = other.path() + u"/Boutique St. Jean.tlvdb"_s;
        const QString inData = h.dataDir() + u"Boutique St. Jean.tlvdb"_s;
        h.prompt.saveNames << other.path() + u"/Boutique St. Jean"_s;
        w.FileSaveAs->trigger();
        const QByteArray outsideBytes = readFileBytes(outside);
        QVERIFY(outsideBytes.contains("Tap") && QFile::exists(inData) && !h.st().modified);
        QCOMPARE(h.st().curFilePath, inData);

        h.art().nameEd->setText(u"Modifié"_s);
        w.aSave->trigger();
        QCOMPARE(readFileBytes(outside), outsideBytes);
        QVERIFY(readFileBytes(inData).contains("Modifi"));

        // Named again without ".tlvdb": the very file written is asked about; No keeps it.
        h.prompt.saveNames << other.path() + u"/Boutique St. Jean"_s;
        h.prompt.answers << Prompt::Answer::No;
        w.FileSaveAs->trigger();
        QVERIFY(h.prompt.questions.size() == 1
                && h.prompt.questions.first().contains(u"« Boutique St. Jean.tlvdb » existe déjà"_s));
        QVERIFY(readFileBytes(outside) == outsideBytes && h.st().curFilePath == inData);
        h.prompt.clear();
        // A file that only looks like a save's leftover is listed by the check, never removed.
        QVERIFY(writeFileBytes(inData + u".v2Copy"_s, "mine"));
        w.aSave->trigger();
        w.findChild<QAction*>(u"aCheckDb"_s)->trigger();
        QVERIFY(h.prompt.informations.last().contains(QDir::toNativeSeparators(inData + u".v2Copy"_s)));
        QCOMPARE(readFileBytes(inData + u".v2Copy"_s), QByteArray("mine"));
        h.prompt.clear();

        // Another database of that name in the data folder is never replaced
        // silently; answered No, later saves and the next start use the file chosen.
        writeDatabase(h.dataDir() + u"meme.tlvdb"_s, u"Autre base"_s);
        const QByteArray kept = readFileBytes(h.dataDir() + u"meme.tlvdb"_s);
        const QString outside2 = other.path() + u"/meme.tlvdb"_s;
        h.prompt.saveNames << outside2;
        h.prompt.answers << Prompt::Answer::No;
        w.FileSaveAs->trigger();
        QCOMPARE(h.prompt.questions.count(), 1);
        QCOMPARE(h.st().curFilePath, QFileInfo(outside2).absoluteFilePath());
        h.art().nameEd->setText(u"Ailleurs"_s);
        w.aSave->trigger();
        QCOMPARE(readFileBytes(h.dataDir() + u"meme.tlvdb"_s), kept);
        QVERIFY(readFileBytes(outside2).contains("Ailleurs"));
        h.st().autoload = true;
        QVERIFY(h.stop());
        h.start();
        QCOMPARE(h.names(), (QStringList{u"Ailleurs"_s, u"Mauvais"_s}));

        // "Nouveau" forgets the file: the next save asks for a name.
        h.w->aNew->trigger();
        QCOMPARE(h.prompt.questions.count(), 1); // nothing changed since the save
        h.prompt.dialogCaptions.clear();
        const QStringList files = QDir(h.dataDir()).entryList(QDir::Files);
        h.w->aSave->trigger(); // cancelled dialog: nothing written
        QCOMPARE(h.prompt.dialogCaptions, QStringList{u"Enregistrer sous"_s});
        QCOMPARE(QDir(h.dataDir()).entryList(QDir::Files), files);

        // A file opened from elsewhere is copied into the data folder.
        const QString extOut = other.path() + u"/ext.tlvdb"_s;
        const QString extIn = h.dataDir() + u"ext.tlvdb"_s;
        writeDatabase(extOut, u"Externe"_s);
        h.prompt.clear();
        const auto open = [&](const QString& path, Prompt::Answer answer, const QString& shown) {
            h.prompt.openNames << path;
            h.prompt.answers = {answer}; // unused when nothing is asked
            h.w->FileOpen->trigger();
            QCOMPARE(h.names(), QStringList{shown});
        };
        open(extOut, Prompt::Answer::Yes, u"Externe"_s);
        QCOMPARE(readFileBytes(extIn), readFileBytes(extOut));
        QCOMPARE(h.st().curFilePath, extIn);

        // Same name, other content in the data folder: asked first.
        writeDatabase(extIn, u"Interne"_s);
        open(extOut, Prompt::Answer::Cancel, u"Externe"_s);
        open(extOut, Prompt::Answer::No, u"Interne"_s);
        open(extOut, Prompt::Answer::Yes, u"Externe"_s);
        QCOMPARE(readFileBytes(extIn), readFileBytes(extOut));
        QCOMPARE(h.prompt.questions.count(), 3); // none for the first copy
        QVERIFY(h.prompt.errors.isEmpty());
    }

    void unsavedChangesQuestion_data()
    {
        QTest::addColumn<Prompt::Answer>("answer");
        QTest::addColumn<QString>("saveName");
        QTest::addColumn<bool>("closes");
        QTest::newRow("cancel") << Prompt::Answer::Cancel << QString() << false;
        QTest::newRow("no") << Prompt::Answer::No << QString() << true;
        QTest::newRow("yes") << Prompt::Answer::Yes << u"fin.tlvdb"_s << true;
        QTest::newRow("yes, dialog cancelled") << Prompt::Answer::Yes << QString() << false;
    }

    void unsavedChangesQuestion()
    {
        QFETCH(Prompt::Answer, answer);
        QFETCH(QString, saveName);
        QFETCH(bool, closes);
        const QString question = u"Enregistrer les modifications ?"_s;
        UiHarness h;
        TmainForm& w = h.start();
        h.art().nameEd->setText(u"X"_s); // unchanged, it closes unasked (enterSaveRestartFindAgain)
        h.prompt.answers << answer;
        if (!saveName.isEmpty())
            h.prompt.saveNames << h.dataDir() + saveName;
        QCOMPARE(h.stop(), closes);
        QCOMPARE(h.prompt.questions, QStringList{question});
        QCOMPARE(QDir(h.dataDir()).entryList(QDir::Files), saveName.isEmpty() ? QStringList() : QStringList{saveName});
        if (closes)
            return;

        // The database commands ask as well; cancelled, nothing changes.
        h.prompt.clear();
        for (QAction* a : {w.aNew, w.aClearAll, w.FileOpen}) {
            h.prompt.answers << Prompt::Answer::Cancel;
            a->trigger();
        }
        QCOMPARE(h.prompt.questions, (QStringList{question, question, question}));
        QVERIFY(h.prompt.dialogCaptions.isEmpty());
        QCOMPARE(h.st().artList.at(0).nom, u"X"_s);
        h.prompt.answers << Prompt::Answer::No;
        QVERIFY(h.stop());
    }

    void whereFilesWentRestoreAndRecent()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        QStringList opened;
        w.openWithSystem = [&](const QString& path) {
            opened << path;
            return false; // no program to show the page
        };
        const QString caption = w.windowTitle();
        QVERIFY(caption.startsWith(u"boutique.tlvdb[*] - "_s));
        const QString folder = QDir::toNativeSeparators(QDir::cleanPath(h.dataDir()));
        // Exported: the status bar and a short message say where.
        w.aExpArt->trigger();
        QVERIFY(h.prompt.informations.value(0).contains(folder) && h.prompt.informations.value(0).contains(u".xml"_s));
        QVERIFY(w.statusText(0).startsWith(u"Écrit : "_s) && w.StatusBar->currentMessage().contains(folder));
        // Published with no program to show the page: said, the folder offered.
        h.st().pubPrefs = u"00001"_s;
        h.prompt.answers << Prompt::Answer::Yes;
        w.WebPageBtn->click();
        QVERIFY(h.prompt.questions.value(0).contains(u"Aucun programme"_s) && h.prompt.questions.value(0).contains(folder));
        QCOMPARE(opened, (QStringList{h.dataDir() + u"index.htm"_s, QDir::cleanPath(h.dataDir())}));
        QCOMPARE(w.windowTitle(), caption); // never the last file published

        // The artisans' home address, telephone and e-mail: published only when chosen.
        const auto published = [&] { return QString::fromLatin1(readFileBytes(h.dataDir() + u"artList.xml"_s)); };
        for (const QString& privateText : {u"418 555-0101"_s, u"marie@example.org"_s, u"G1R 2B5"_s})
            QVERIFY(!published().contains(privateText));
        QVERIFY(published().contains(u"<nom>Tremblay</nom>"_s) && published().contains(u"<product>"_s));
        h.st().pubPrefs = u"000011"_s;
        w.WebPageBtn->click();
        QVERIFY(published().contains(u"marie@example.org"_s));

        // Saved, then restored from the backups.
        h.prompt.clear();
        const QString original = h.st().artList.at(0).nom;
        h.art().nameEd->setText(u"Changé"_s);
        w.aSave->trigger(); // the original goes to the backups
        const QString backups = h.dataDir() + u"backup/"_s;
        QVERIFY(writeFileBytes(backups + u"boutique-20250101-120000000.tlvdb"_s, "pas une base"));
        QStringList lines;
        QList<bool> choosable;
        h.onModal = UiHarness::answer<TRestoreDlg>([&](TRestoreDlg& dlg) {
            lines = UiHarness::texts(dlg.backupList);
            for (int i = 0; i < dlg.backupList->count(); ++i)
                choosable << bool(dlg.backupList->item(i)->flags() & Qt::ItemIsEnabled);
            return dlg.chosenPath().isEmpty() ? QDialog::Rejected : QDialog::Accepted;
        });
        w.aRestore->trigger();
        // Newest first: the saved original, whole; the damaged copy shown, not choosable.
        QCOMPARE(choosable, (QList<bool>{true, false}));
        // What tells copies apart: counts, sale lines and the newest sheet.
        const QString counts = u"%1 artisans, %2 feuilles, 5 lignes, dernière feuille 090601"_s.arg(
            h.st().artList.count()).arg(h.st().saleList.count());
        QVERIFY2(lines.first().contains(counts) && lines.first().contains(u" Ko"_s), qPrintable(lines.first()));
        QVERIFY(lines.last().startsWith(u"01/01/2025 12:00:00"_s) && lines.last().contains(u"endommagée"_s));
        QVERIFY(h.st().artList.at(0).nom == original && !h.st().modified);
        // The file replaced was kept too.
        QCOMPARE(QDir(backups).entryList({u"boutique-*"_s}, QDir::Files).count(), 3);
        // Copied to a key with its newest backups; the first start only noted the day.
        QCoreApplication::processEvents();
        QCOMPARE(h.st().lastCopy, QDate::currentDate().toString(Qt::ISODate));
        const qsizetype told = h.prompt.informations.size();
        w.db().remindCopy(); // not due
        h.st().lastCopy = u"2026-01-01"_s;
        w.db().remindCopy();
        QCOMPARE(h.prompt.informations.size(), told + 1);
        QVERIFY2(h.prompt.informations.last().startsWith(u"La dernière copie de la base ailleurs (une clé USB) date "
                                                          "du 1 janvier 2026."_s),
                 qPrintable(h.prompt.informations.last()));
        const QString key = h.progDir() + u"cle"_s;
        QVERIFY(QDir().mkpath(key));
        h.prompt.folderNames << key;
        w.aCopyTo->trigger();
        const QStringList made = QDir(key).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(made.size(), 1); // what a copy holds: tst_dbFile
        QCOMPARE(QDir(key + u'/' + made.first() + u"/backup"_s).entryList(QDir::Files).size(), 3);
        QCOMPARE(h.st().lastCopy, QDate::currentDate().toString(Qt::ISODate));

        // A picture opened by mistake: said in French; the database on screen,
        // the recent files and the one of the next start stay.
        const QString photo = h.progDir() + u"photo.tlvdb"_s;
        QVERIFY(writeFileBytes(photo, QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, 'x')));
        h.prompt.openNames << photo;
        w.FileOpen->trigger();
        const QString said = u"Le fichier "_s + QDir::toNativeSeparators(photo)
                             + u" n'est pas une base TilvarBD lisible : "_s;
        QVERIFY2(h.prompt.errors.value(0).startsWith(said), qPrintable(h.prompt.errors.value(0)));
        QVERIFY(h.st().artList.at(0).nom == original && !h.st().modified);
        QVERIFY(!QFile::exists(h.dataDir() + u"photo.tlvdb"_s));
        // "Fichiers récents": the database opened, once.
        QCOMPARE(h.st().recentFiles, QStringList{h.dataDir() + TEST_DB_NAME});
        QVERIFY(h.stop());
        QVERIFY(h.readIni().contains(u"recentFiles="_s + h.dataDir() + TEST_DB_NAME));
        QVERIFY(h.readIni().contains(u"artFileName=boutique.tlvdb"_s));
    }

    // A data folder that cannot be made is said at start, naming it, and
    // another can be chosen; a Save As that could not also write its copy in
    // the data folder is not taken for saved.
    void dataFolderUnusable()
    {
        UiHarness h;
        QTemporaryDir chosen;
        QTemporaryDir other;
        QVERIFY(writeFileBytes(h.progDir() + u"data"_s, "a file where the folder goes"));
        h.prompt.answers << Prompt::Answer::Yes;
        h.prompt.folderNames << chosen.path();
        TmainForm& w = h.start();
        QCOMPARE(h.st().dataDir, chosen.path() + u"/data/"_s); // the question: tst_settings
        QVERIFY(QFileInfo(h.st().dataDir).isDir());

        QVERIFY(QDir().mkpath(h.st().dataDir + u"caisse.tlvdb"_s));
        h.art().nameEd->setText(u"Tapé"_s);
        h.prompt.saveNames << other.path() + u"/caisse"_s;
        w.FileSaveAs->trigger(); // replacing "caisse.tlvdb" of the data folder: Yes
        QVERIFY(QFile::exists(other.path() + u"/caisse.tlvdb"_s) && !h.prompt.errors.isEmpty());
        QVERIFY(h.st().modified);
    }

    void startUpFailures_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<QString>("said");
        const QByteArray whole = readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb"));
        QTest::newRow("missing file") << QByteArray() << TEST_DB_NAME;
        QTest::newRow("damaged file") << whole.left(whole.size() * 2 / 3) << u"backup"_s;
        QTest::newRow("not a database") << QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, 'x')
                                        << u"n'est pas une base TilvarBD lisible"_s;
    }

    void startUpFailures()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        UiHarness h;
        const QString path = h.dataDir() + TEST_DB_NAME;
        h.copyRealistic(TEST_DB_NAME);
        if (content.isEmpty())
            QFile::remove(path);
        else
            writeFileBytes(path, content);
        TmainForm& w = h.start();
        // Said once the window is on screen, naming the file.
        QVERIFY(h.prompt.all.isEmpty() && h.modals.isEmpty());
        QTRY_VERIFY(!h.prompt.errors.isEmpty() && h.prompt.errors.last().contains(TEST_DB_NAME));
        QVERIFY(h.prompt.errors.last().contains(said));
        const bool damaged = said == u"backup"_s;
        // The loader's own text said inside the French sentence.
        QCOMPARE(h.prompt.errors.last().contains(u"(« "_s + READ_ERROR_MSG), damaged);
        if (damaged) {
            QVERIFY(h.st().modified);
            // Saving over the original asks; No writes nothing.
            h.prompt.answers << Prompt::Answer::No;
            w.aSave->trigger();
            QCOMPARE(h.prompt.questions.count(), 1);
            QCOMPARE(readFileBytes(path), content);
            h.prompt.answers << Prompt::Answer::No;
        } else {
            QVERIFY(h.prompt.errors.count() == 1 && h.st().artList.count() == 1);
        }
        QVERIFY(h.stop());
        QVERIFY(h.readIni().contains(u"artFileName=boutique.tlvdb"_s));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
