// Faults a user met in the main window and the artisans window, each walked
// through as the user did: the artisan imports, saving and opening, the
// artisans list and the commands that are not built yet.

#include "uiHarness.h"

#include "core/dbFile.h"
#include "export/artListXML.h"
#include "model/uArt.h"
#include "support/testFiles.h"
#include "ui/importArtDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
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

// The realistic database (sales, periods) as the data folder's boutique.tlvdb.
QByteArray copyRealistic(const UiHarness& h)
{
    QDir().mkpath(h.dataDir());
    const QByteArray bytes = readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb"));
    writeFileBytes(h.dataDir() + TEST_DB_NAME, bytes);
    return bytes;
}

// Picks the first line of the import dialog starting with name; rejects when
// name is empty (Escape or Annuler).
std::function<int(QDialog&)> choose(const QString& name, QStringList* lines = nullptr)
{
    return [name, lines](QDialog& d) {
        auto& dlg = static_cast<TImpArtDlg&>(d);
        dlg.show();
        const auto found = dlg.artListBox->findItems(name, Qt::MatchStartsWith);
        if (lines)
            for (int i = 0; i < dlg.artListBox->count(); ++i)
                *lines << dlg.artListBox->item(i)->text();
        if (!name.isEmpty() && !found.isEmpty())
            dlg.artListBox->setCurrentItem(found.first());
        dlg.hide();
        return int(name.isEmpty() || !dlg.OKBtn->isEnabled() ? QDialog::Rejected : QDialog::Accepted);
    };
}
} // namespace

class TestShellFaults : public QObject {
    Q_OBJECT
private slots:
    void importOneArtisan();
    void importWholeList_data();
    void importWholeList();
    void renameAndReopen();
    void startUpFailures_data();
    void startUpFailures();
    void artisansWindow();
    void exportAndCommandsReachable();
};

void TestShellFaults::importOneArtisan()
{
    UiHarness h;
    QDir().mkpath(h.dataDir());
    writeFileBytes(h.dataDir() + u"A.xml"_s, artListFile({u"Verrier"_s, u"Amiot"_s}));
    writeFileBytes(h.dataDir() + u"B.xml"_s, artListFile({u"Bernier"_s}));
    TmainForm& w = h.start();
    h.art().nameEd->setText(u"x"_s);
    h.addArtisan(u"Dupont"_s, {});
    h.click(w.prevBtn);
    h.art().nameEd->clear(); // 001 empty, not the last

    // Escape: nothing imported, nothing said, the button still offered.
    h.prompt.openNames << h.dataDir() + u"A.xml"_s;
    h.onModal = choose({});
    h.art().btnImpArtItem->click();
    QVERIFY2(h.prompt.all.isEmpty(), qPrintable(h.prompt.all.join(u'|')));
    QVERIFY(h.art().btnImpArtItem->isEnabled());
    QVERIFY(!w.statusText(1).startsWith(u"Imported"_s));

    // Into the shown artisan, keeping its number; the window stays on it.
    h.onModal = choose(u"Verrier"_s);
    h.art().btnImpArtItem->click();
    QCOMPARE(h.st().artList.at(0).nom, u"Verrier"_s);
    QCOMPARE(h.st().artList.at(0).artNo, u"001"_s);
    QCOMPARE(h.st().artList.at(1).nom, u"Dupont"_s);
    QCOMPARE(h.st().curArtInd, 0);
    QCOMPARE(h.art().nameEd->text(), u"Verrier"_s);

    // An artisan from B.xml: the next import lists B's artisans under B's name.
    h.st().artList.at(1).varData = u"B.xml,0"_s;
    h.click(w.nextBtn);
    h.click(w.addRecBtn);
    QStringList lines;
    h.onModal = choose(u"Bernier"_s, &lines);
    h.art().btnImpArtItem->click();
    QCOMPARE(lines, QStringList{u"Bernier  (001)"_s});
    QCOMPARE(h.st().artList.at(2).varData, u"B.xml,0"_s);

    // A file gone: said once, then another file or nothing (no loop).
    h.click(w.addRecBtn);
    h.st().importFName = u"parti.xml"_s;
    h.prompt.informations.clear();
    h.art().btnImpArtItem->click();
    h.art().btnImpArtItem->click();
    QCOMPARE(h.prompt.informations.count(), 1);
    QCOMPARE(h.prompt.dialogCaptions.count(), 3);
}

void TestShellFaults::importWholeList_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<Prompt::Answer>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("accepted") << artListFile({u"Un"_s, u"Deux"_s}) << Prompt::Answer::Yes << true;
    QTest::newRow("declined") << artListFile({u"Un"_s}) << Prompt::Answer::No << false;
    QTest::newRow("broken") << QByteArray("<artList><artItem>") << Prompt::Answer::Yes << false;
    QTest::newRow("foreign") << QByteArray("<?xml version=\"1.0\"?><autre/>") << Prompt::Answer::Yes << false;
}

void TestShellFaults::importWholeList()
{
    QFETCH(QByteArray, xml);
    QFETCH(Prompt::Answer, answer);
    QFETCH(bool, replaced);
    UiHarness h;
    copyRealistic(h);
    h.writeIni("[PREFS]\r\nautoload=1\r\nartFileName=boutique.tlvdb\r\nshowSplash=0\r\n");
    writeFileBytes(h.dataDir() + u"liste.xml"_s, xml);
    TmainForm& w = h.start();
    const int artisans = h.st().artList.count(), sheets = h.st().saleList.count();
    QVERIFY(sheets > 0 && h.st().repList.count() > 0);

    h.prompt.openNames << h.dataDir() + u"liste.xml"_s;
    h.prompt.answers << answer << Prompt::Answer::No;
    w.aImpArt->trigger();
    if (replaced) {
        QVERIFY(h.prompt.questions.value(0).contains(u"sans ventes ni périodes"_s));
        QCOMPARE(h.st().artList.count(), 2);
        QCOMPARE(h.st().saleList.count() + h.st().repList.count(), 0);
        QCOMPARE(h.st().artFileName, QString());
    } else {
        QCOMPARE(h.st().artList.count(), artisans);
        QCOMPARE(h.st().saleList.count(), sheets);
        QCOMPARE(h.st().artFileName, TEST_DB_NAME);
        QVERIFY(!h.st().modified);
    }
}

void TestShellFaults::renameAndReopen()
{
    UiHarness h;
    QTemporaryDir other;
    TmainForm& w = h.start();
    // The field being typed goes into the file "Renommer..." writes.
    h.art().nameEd->setText(u"Tapé"_s);
    h.prompt.saveNames << h.dataDir() + u"Boutique St. Jean"_s;
    w.FileSaveAs->trigger();
    QVERIFY(readFileBytes(h.dataDir() + u"Boutique St. Jean.tlvdb"_s).contains("Tap"));
    QVERIFY(!h.st().modified);
    QCOMPARE(h.st().artFileName, u"Boutique St. Jean.tlvdb"_s);
    h.onModal = [](QDialog&) { return int(QDialog::Accepted); };
    w.aPrefs->trigger(); // OK: the name stays whole
    QCOMPARE(h.st().artFileName, u"Boutique St. Jean.tlvdb"_s);

    // Elsewhere, keeping the data folder's file of that name: the next
    // start opens the file worked in.
    writeFileBytes(h.dataDir() + u"meme.tlvdb"_s, readFileBytes(h.dataDir() + u"Boutique St. Jean.tlvdb"_s));
    h.st().autoload = true;
    h.art().nameEd->setText(u"Ailleurs"_s);
    h.prompt.saveNames << other.path() + u"/meme.tlvdb"_s;
    h.prompt.answers << Prompt::Answer::No;
    w.FileSaveAs->trigger();
    QVERIFY(h.stop());
    h.start();
    QCOMPARE(h.st().artList.at(0).nom, u"Ailleurs"_s);
    QCOMPARE(h.w->statusText(0), u"curFile: meme.tlvdb"_s);
}

void TestShellFaults::startUpFailures_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::newRow("missing file") << false;
    QTest::newRow("damaged file") << true;
}

void TestShellFaults::startUpFailures()
{
    QFETCH(bool, damaged);
    UiHarness h;
    const QString path = h.dataDir() + TEST_DB_NAME;
    const QByteArray whole = copyRealistic(h);
    writeFileBytes(path, damaged ? whole.left(whole.size() * 2 / 3) : QByteArray());
    if (!damaged)
        QFile::remove(path);
    h.writeIni("[PREFS]\r\nautoload=1\r\nartFileName=boutique.tlvdb\r\nshowSplash=0\r\n");
    TmainForm& w = h.start();
    // Said once the window is on screen, naming the file.
    QVERIFY(h.prompt.all.isEmpty());
    QTRY_VERIFY(!h.prompt.errors.isEmpty() && h.prompt.errors.last().contains(TEST_DB_NAME));
    if (damaged) {
        QCOMPARE(h.prompt.errors.first(), READ_ERROR_MSG);
        QVERIFY(h.prompt.errors.last().contains(u"backup"_s));
        QVERIFY(h.st().modified);
        // Saving over the original asks; No writes nothing.
        h.prompt.answers << Prompt::Answer::No;
        w.aSave->trigger();
        QCOMPARE(h.prompt.questions.count(), 1);
        QCOMPARE(readFileBytes(path), whole.left(whole.size() * 2 / 3));
        h.prompt.answers << Prompt::Answer::No;
    }
    QVERIFY(h.stop());
    QVERIFY(h.readIni().contains(u"artFileName=boutique.tlvdb"_s));
}

void TestShellFaults::artisansWindow()
{
    UiHarness h;
    TmainForm& w = h.start();
    // "+" on an empty last artisan: no second empty one.
    h.click(w.addRecBtn);
    QCOMPARE(h.st().artList.count(), 1);
    h.art().nameEd->setText(u"A"_s);
    h.addArtisan(u"B"_s, {});
    h.addArtisan(u"C"_s, {});

    // List mode: the arrows move the current artisan, Enter opens it.
    h.art().vModeBtn0->click();
    QTableWidget* grid = h.art().ArtGrid;
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(h.st().curArtInd, 1);
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(!h.art().artListMode);
    QCOMPARE(h.art().nameEd->text(), u"B"_s);

    // Hovered, the navigation symbols stay readable on their face.
    for (QToolButton* b : {w.prevBtn, w.nextBtn, w.addRecBtn}) {
        b->setAttribute(Qt::WA_UnderMouse);
        const QImage img = w.locatePan->grab(b->geometry().translated(b->parentWidget()->mapTo(w.locatePan, QPoint()))).toImage();
        const QColor face = img.pixelColor(2, img.height() / 2);
        QVERIFY2(face.lightness() < 160, qPrintable(b->objectName()));
    }
}

void TestShellFaults::exportAndCommandsReachable()
{
    UiHarness h;
    TmainForm& w = h.start();
    h.art().nameEd->setText(u"Exporté"_s);
    h.prompt.saveNames << h.dataDir() + u"stock09"_s;
    w.aSave->trigger();
    w.aExpArt->trigger();
    QVERIFY(readFileBytes(h.dataDir() + u"stock09.xml"_s).contains("Export"));
    QCOMPARE(w.windowTitle(), QDir::toNativeSeparators(h.dataDir() + u"stock09.xml"_s));

    QVERIFY(w.aSetPeriods->isEnabled() && h.art().artPageBtn->isEnabled());
}

QTEST_MAIN(TestShellFaults)
#include "tst_shellFaults.moc"
