// A random walk (fixed seed) through the real windows as staff use them
// together: after every step the products' sold quantities equal the sheets'
// lines, the windows show what a fresh computation from the model gives, and
// every save reads back as the same model.

#include "uiHarness.h"

#include "core/money.h"
#include "core/textUtil.h"
#include "app/tlvdbTool.h"
#include "report/reportCommand.h"
#include "support/soldInvariant.h"
#include "ui/editor/addSItemFrm.h"
#include "ui/products/prodFrm.h"
#include "ui/reports/pubOptions.h"
#include "ui/sales/saleFrm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QTableWidget>

#include <random>

using namespace Qt::StringLiterals;

namespace {
constexpr unsigned kSeed = 19;
constexpr int kSteps = 400;

enum Action {
    NextArtisan, ProductsPage, ArtisansPage, NextProduct, AddProduct, RenameProduct, DeleteUnsoldProduct,
    DeleteSoldProduct, AddArtisan, RenameArtisan, OtherSide, NewSheet, Redate, OtherSheet, OpenEditor,
    PutOnOff, TypeQuantity, SearchEnter, CloseEditor, CancelEditor, DeleteSheet, ChangePeriod, OpenReport,
    XmlExport, Pdf, Save, SaveFromBar, CloseAndStart, Reopen, ActionCount
};

struct Walk {
    UiHarness& h;
    std::mt19937 rng{kSeed};
    TrepForm* rep = nullptr;
    int made = 0;
    bool repFresh = false; // the report window was just computed by a command of its own

    int pick(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng); }
    TmainForm& w() { return *h.w; }
    AppState& st() { return h.st(); }
    TsaleForm& s() { return *h.w->saleForm; }
    TProdForm& p() { return *h.w->prodForm; }
    TaddSItemDlg* e() { return s().sItemDlg; }
    bool artSide(int sub) { return w().curPage == 0 && w().artSubPage == sub; }
    bool sheetView() { return w().curPage == 1 && !s().editing && !s().listMode; }

    static void click(QAbstractItemView* v, int row, Qt::MouseButton b = Qt::LeftButton)
    {
        v->scrollTo(v->model()->index(row, 0));
        QTest::mouseClick(v->viewport(), b, {}, v->visualRect(v->model()->index(row, 0)).center());
    }
    static bool clicked(QWidget* b) { return QTest::mouseClick(b, Qt::LeftButton), true; }
    static bool typed(QLineEdit* ed, const QString& text) { return ed->setText(text), true; }
    int pickOf(const QList<int>& among) { return among.isEmpty() ? -1 : among.at(pick(int(among.size()))); }
    // Chooses an artisan with products in the editor, then one of its rows
    // (one on the sheet, left click; any, right click); false without one.
    bool editorRow(bool marked)
    {
        TaddSItemDlg& d = *e();
        QList<int> artisans, rows; // entries "TreMar    *0" end with the artisan's index
        for (int i = 0; i < d.artListBox->count(); ++i)
            if (!st().artList.at(d.artListBox->item(i)->text().section(u'*', -1).toInt()).products.isEmpty())
                artisans << i;
        if (artisans.isEmpty())
            return false;
        click(d.artListBox, pickOf(artisans));
        for (int r = 0; r < d.artProducts.count(); ++r)
            if (!marked || d.prodStrGrid->item(r, 0)->text().startsWith(u'*'))
                rows << r;
        return !rows.isEmpty() && (click(d.prodStrGrid, pickOf(rows), marked ? Qt::LeftButton : Qt::RightButton), true);
    }
    // A new sheet, or the shown one re-dated, on a free day.
    bool chooseDate(bool redate)
    {
        QString date;
        do
            date = u"09%1%2"_s.arg(numberText(3 + pick(6)).right(2), numberText(1 + pick(28)).right(2));
        while (st().saleList.indexOfDate(date) >= 0);
        h.onModal = UiHarness::answerDate(date);
        redate ? h.clickLabel(s().dateLab) : h.click(s().addReportBtn);
        return true;
    }

    // Takes the action when it applies now; false otherwise.
    bool act(Action a)
    {
        const int sheets = st().saleList.count();
        switch (a) {
        case NextArtisan:
            return w().curPage == 0 && st().artList.count() > 1 && clicked(w().nextBtn);
        case ProductsPage:
            return artSide(0) && clicked(h.art().artPageBtn);
        case ArtisansPage:
            return artSide(1) && clicked(p().artPageBtn);
        case NextProduct:
            return artSide(1) && st().prodList.count() > 1 && clicked(p().nextBtn);
        case AddProduct:
            return artSide(1) && clicked(p().addProdBtn) && typed(p().priceEd, u"12"_s)
                   && typed(p().descriptEd, u"Objet %1"_s.arg(++made));
        case RenameProduct:
            return artSide(1) && !st().prodList.isEmpty() && typed(p().descriptEd, u"Autre %1"_s.arg(++made));
        case DeleteUnsoldProduct:
        case DeleteSoldProduct:
            // A line that sold units has its sold events (checked at every step).
            return artSide(1) && p().delSBTN->isVisible()
                   && (st().prodList.at(st().curProdInd).soldList.count() > 0) == (a == DeleteSoldProduct)
                   && clicked(p().delSBTN);
        case AddArtisan:
            return artSide(0) && clicked(w().addRecBtn) && typed(h.art().nameEd, u"Nouveau%1"_s.arg(++made));
        case RenameArtisan:
            return artSide(0) && typed(h.art().nameEd, u"Renomme%1"_s.arg(++made));
        case OtherSide:
            return !s().editing && (w().curPage == 1 || st().artList.totalProducts() > 0) && clicked(w().pageBtn);
        case NewSheet:
        case Redate:
            return sheetView() && (a == NewSheet || sheets > 0) && chooseDate(a == Redate);
        case OtherSheet:
            return sheetView() && sheets > 1 && (s().sListBox->setCurrentRow(pick(sheets)), true);
        case OpenEditor:
            return sheetView() && sheets > 0 && clicked(s().addProdBtn);
        case PutOnOff:
            return e() && editorRow(false);
        case TypeQuantity:
            return e() && editorRow(true)
                   && (e()->QuantEdit->selectAll(), true)
                   && (QTest::keyClicks(e()->QuantEdit, QString::number(pick(6))), true);
        case SearchEnter: {
            const TArtisan& art = st().artList.at(pick(st().artList.count()));
            if (!e() || art.products.isEmpty())
                return false;
            const QString key = art.artTag() + art.artNo + art.products.at(pick(art.products.count())).prodNo;
            e()->searchEd->setText(key);
            e()->search(key);
            QTest::keyClick(e()->searchEd, Qt::Key_Return);
            return true;
        }
        case CloseEditor:
        case CancelEditor:
            return e() && clicked(a == CloseEditor ? e()->OKBtn : e()->cancelBtn);
        case DeleteSheet:
            return sheetView() && sheets > 0 && clicked(s().delSBTN);
        case ChangePeriod: {
            if (!rep->isVisible())
                return false;
            const int i = pick(rep->cListCB->count());
            if (rep->allTransBtn->isChecked() || pick(4) == 0)
                h.click(rep->allTransBtn);
            else
                emit rep->cListCB->activated((rep->cListCB->setCurrentIndex(i), i));
            return true;
        }
        case OpenReport:
            w().findChild<QAction*>(u"aRepForm"_s)->trigger();
            return true;
        case XmlExport:
            return rep->isVisible() && clicked(rep->XMLxPortBtn);
        case Pdf:
            return rep->isVisible() && clicked(rep->PrintBtn);
        // Closed with "Oui" to saving, then started again on the file.
        case CloseAndStart: {
            const QString file = st().curFilePath;
            h.prompt.answers << Prompt::Answer::Yes;
            if (!h.stop())
                return false;
            h.prompt.answers.clear();
            AppState back;
            checkFileClean(file, back);
            h.start();
            rep = &h.report();
            return true;
        }
        case Save:
        case SaveFromBar:
        case Reopen:
            if (a == Reopen && s().editing)
                return false;
            a == SaveFromBar ? h.click(w().saveBtn) : w().aSave->trigger();
            if (a == Reopen)
                w().db().openDB(QFileInfo(st().curFilePath).fileName());
            checkReload();
            return true;
        case ActionCount:
            break;
        }
        return false;
    }

    // --- what must hold ---

    // Every sheet line's date and fields; the open editor's sheet as it holds it.
    template <typename F> void eachLine(bool withEditor, F f)
    {
        const int edited = withEditor && e() ? st().saleList.indexOfDate(e()->saleDate) : -1;
        for (int i = 0; i < st().saleList.count(); ++i)
            for (const QString& line : i == edited ? e()->sheetLines() : st().saleList.saleLinesOf(i))
                f(st().saleList.at(i).date, readCommaList(line));
    }

    void checkSoldEqualsSheets()
    {
        QMap<QString, int> lines, sold;
        eachLine(true, [&](const QString& date, const QStringList& f) {
            const TProductKey k = TSaleList::splitKey(f.value(0));
            lines[k.artNo + k.prodNo + date] += f.value(3).toInt();
        });
        for (int a = 0; a < st().artList.count(); ++a)
            for (const auto& p : st().artList.at(a).products.items())
                for (int k = 0; k < p->soldList.count(); ++k)
                    sold[st().artList.at(a).artNo + p->prodNo + p->soldList.at(k).date] += p->soldList.at(k).qnt.toInt();
        for (auto* m : {&lines, &sold})
            m->removeIf([](const auto& it) { return it.value() == 0; });
        QCOMPARE(sold, lines);
    }

    void checkWindows()
    {
        if (artSide(1) && st().curProdInd >= 0 && st().curProdInd < st().prodList.count()) {
            TProduit& prod = st().prodList.at(st().curProdInd);
            QCOMPARE(p().sDQGrid->rowCount(), prod.soldList.count());
            if (prod.soldList.count() > 0)
                QCOMPARE(p().totAvailLab->text(), prod.availableStr());
        }
        if (sheetView() && s().curSheet >= 0 && s().curSheet < st().saleList.count()) {
            QCOMPARE(s().dateLab->text(), st().saleList.at(s().curSheet).date);
            QCOMPARE(s().tCntLab->text().toInt(), st().saleList.saleLinesOf(s().curSheet).size());
        }
        if (TaddSItemDlg* d = e()) {
            for (int r = 0; r < d->artProducts.count(); ++r) {
                TProduit& prod = d->artProducts.at(r);
                // On the sheet by artisan and product number, whatever the tag.
                const bool on = std::ranges::any_of(d->sheetLines(), [&prod](const QString& line) {
                    const TProductKey k = TSaleList::splitKey(readCommaList(line).value(0));
                    return k.artNo == prod.artNo && k.prodNo == prod.prodNo;
                });
                QCOMPARE(d->prodStrGrid->item(r, 0)->text().startsWith(u'*'), on);
                if (on)
                    QCOMPARE(d->prodStrGrid->item(r, 4)->text(), prod.soldList.qntAt(d->saleDate));
            }
        }
        if (rep->isVisible() && repFresh) {
            const int at = st().artList.indexOfArtNo(st().curArtNo);
            QCOMPARE(rep->artCB->currentText(), at >= 0 ? st().artList.displayName(at) : u"("_s + st().curArtNo + u')');
            QCOMPARE(rep->sTotLab->text(), expectedTotal().format());
        }
    }

    // The artisan's sales over the report's range, summed from the sheets.
    Money expectedTotal()
    {
        const bool all = rep->allTransBtn->isChecked();
        const int c = st().curCIndex;
        if (!all && (c < 0 || c >= st().repList.count()))
            return {};
        Money total;
        eachLine(false, [&](const QString& date, const QStringList& f) {
            if ((all || dateInRange(date, st().repList.at(c).startDate, st().repList.at(c).endDate))
                && TSaleList::splitKey(f.value(0)).artNo == st().curArtNo)
                total += Money::parse(QString(f.value(4)).remove(u'$'));
        });
        return total;
    }

    // The saved file holds every sold quantity with its sheet line.
    void checkFileClean(const QString& file, AppState& back)
    {
        QVERIFY(UiHarness::load(file, back));
        QCOMPARE(soldGaps(back), QString());
    }

    // The file read back and written again gives the bytes of the model:
    // nothing was lost or changed on the way.
    void checkReload()
    {
        QVERIFY(!st().modified);
        AppState back;
        checkFileClean(st().curFilePath, back);
        saveDB(h.progDir() + u"again.tlvdb"_s, back, nullptr, false);
        // Loading puts each product's dated quantities in date order; the
        // model in that order gives the same bytes.
        for (int a = 0; a < st().artList.count(); ++a)
            for (const auto& p : st().artList.at(a).products.items())
                p->qntList.sortEvents(), p->soldList.sortEvents();
        saveDB(h.progDir() + u"mine.tlvdb"_s, st(), nullptr, false);
        QCOMPARE(readFileBytes(h.progDir() + u"again.tlvdb"_s), readFileBytes(h.progDir() + u"mine.tlvdb"_s));
        checkCommandReport();
    }

    // tlvdb report of the saved file writes the artisan's report as the
    // report window writes it (the command takes the last period of a title).
    void checkCommandReport()
    {
        const int c = st().curCIndex;
        if (!rep->isVisible() || rep->allTransBtn->isChecked() || c < 0 || c >= st().repList.count()
            || st().repList.titles.lastIndexOf(st().repList.titles.value(c)) != c)
            return;
        QFile::remove(st().repDir + u"consigne1.xml"_s);
        rep->showANoChck->setChecked(false);
        rep->XMLxPortBtn->click();
        if (rep->shownRows.empty())
            return;
        const QString dir = h.progDir() + u"cli/"_s;
        QByteArray out, err;
        runTlvdb({u"report"_s, st().curFilePath, st().repList.titles.at(c), dir, st().curArtNo}, out, err,
                 {tlvdbReportCommand()});
        QCOMPARE(readFileBytes(dir + u"c"_s + st().curArtNo + u".xml"_s),
                 readFileBytes(st().repDir + u"consigne1.xml"_s));
    }
};
} // namespace

class TestCrossWindows : public QObject {
    Q_OBJECT
private slots:
    // Every page and window shown and every report written only reads the
    // boutique: neither the sheets' nor the periods' revision moves (the
    // periods' rows, once made, are not made again) and nothing is to save.
    void readingMovesNoRevision()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        TrepForm* rep = &h.report();
        w.findChild<TPublisher*>(u"publisher"_s)->openPage = [](const QString&) {};
        AppState& st = h.st();
        st.repList.ensureLines(st.saleList);
        const auto revisions = [&st] { return std::pair(st.saleList.revision(), st.repList.revision()); };
        const auto before = revisions();
        const auto read = [&](const char* what, const std::function<void()>& act) {
            act();
            QVERIFY2(revisions() == before && !st.modified, what);
        };
        const auto each = [](QAbstractButton* b, int times) {
            for (int i = 0; i < times; ++i)
                b->click();
        };
        read("artisans", [&] { each(w.nextBtn, st.artList.count()); });
        read("products", [&] {
            h.click(h.art().artPageBtn);
            each(w.prodForm->nextBtn, st.prodList.count());
            h.click(w.prodForm->artPageBtn);
        });
        read("sales", [&] {
            h.click(w.pageBtn);
            for (int i = 0; i < st.saleList.count(); ++i)
                w.saleForm->sListBox->setCurrentRow(i);
            h.click(w.saleForm->viewModeBtn);
            for (int i = 0; i < w.saleForm->pListCB->count(); ++i)
                w.saleForm->pListCB->setCurrentIndex(i);
            h.click(w.saleForm->viewModeBtn);
        });
        read("report window", [&] {
            w.findChild<QAction*>(u"aRepForm"_s)->trigger();
            for (int i = 0; i < rep->cListCB->count(); ++i)
                emit rep->cListCB->activated((rep->cListCB->setCurrentIndex(i), i));
            for (int t = 0; t < rep->TabControl->count(); ++t)
                rep->TabControl->setCurrentIndex(t);
            each(rep->allTransBtn, 2);
            h.click(rep->viewModeBtn);
            for (QPushButton* b : {rep->allRepsBtn, rep->allRangeBtn, rep->aNoSBtn, rep->invGBtn, rep->pQntBtn})
                b->click();
            for (QAbstractButton* b : rep->getAllSalesBtns->buttons())
                b->click();
            h.click(rep->viewModeBtn);
        });
        read("reports", [&] {
            for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{rep->XMLxPortBtn, rep->PrintBtn,
                                                                               rep->expCurBtn})
                b->click();
            rep->pmXportAllRec->trigger();
            h.click(w.WebPageBtn);
            w.aExpSales->trigger();
            w.aExpArt->trigger();
            h.prompt.saveNames << h.progDir() + u"a.pdf"_s << h.progDir() + u"b.pdf"_s;
            h.art().invArtAct->trigger();
            h.art().invShopAct->trigger();
        });
        QVERIFY2(h.prompt.errors.isEmpty(), qPrintable(h.prompt.errors.join(u'|')));
    }

    // Every way of moving to another artisan, on both pages, with the green
    // bar's choosers left open: every control naming the artisan names it.
    void everyNameFollowsEveryMove()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        // A name typed on the artisan form, not yet stored by moving on: the
        // report opened now, and the statement it prints, carry it.
        h.art().nameEd->setText(u"Tremblay-Roy"_s);
        TrepForm* rep = &h.report(true);
        QCOMPARE(rep->artCB->currentText(), u"Tremblay-Roy Marie-Ève (001)"_s);
        QCOMPARE(h.st().artList.at(0).nom, u"Tremblay-Roy"_s);
        const int n = h.st().artList.count();
        const auto choose = [](QComboBox* box, int i) { emit box->activated((box->setCurrentIndex(i), i)); };
        const auto key = [&](Qt::Key k) {
            QApplication::setActiveWindow(&w);
            QTest::keyClick(w.artSubPage ? w.prodForm->descriptEd : h.art().nameEd, k, Qt::ControlModifier);
        };
        const std::vector<std::pair<int, std::function<void(int)>>> ways{ // step, move to the artisan
            {1, [&](int) { h.click(w.nextBtn); }}, {-1, [&](int) { h.click(w.prevBtn); }},
            {1, [&](int i) { choose(w.nListCB, i); }}, {1, [&](int i) { choose(w.ArtListCB, i); }},
            {1, [&](int) { key(Qt::Key_PageDown); }}, {-1, [&](int) { key(Qt::Key_PageUp); }},
            {1, [&](int i) { choose(rep->artCB, i); }}, {1, [&](int i) { emit h.art().ArtGrid->cellClicked(i, 0); }},
            {1, [&](int) { // a save, the choosers open again, fills them again
                 h.click(w.nextBtn);
                 h.clickLabel(w.artNoLab);
                 h.clickLabel(w.artInfoLab);
                 w.aSave->trigger();
             }}};
        for (int k = 0; k < 2 * int(ways.size()); ++k) {
            if (k == int(ways.size()))
                h.click(h.art().artPageBtn); // the same on the products page
            const int to = (h.st().curArtInd + ways[size_t(k) % ways.size()].first + n) % n;
            h.clickLabel(w.artNoLab);
            h.clickLabel(w.artInfoLab);
            ways[size_t(k) % ways.size()].second(to);
            const TArtisan& a = h.st().artList.at(to);
            const QString no = a.artNo, name = h.st().artList.displayName(to);
            const QStringList shown{w.artNoLab->text(), w.artInfoLab->text(), h.art().artNoLab->text(),
                                    rep->artCB->currentText(), w.nListCB->isVisible() ? w.nListCB->currentText() : no,
                                    w.ArtListCB->isVisible() ? w.ArtListCB->currentText() : name,
                                    QString::number(w.prodForm->ProdListBox->count())};
            QVERIFY2(shown == (QStringList{no, name, no, name, no, name, QString::number(a.products.count())}),
                     qPrintable(QString::number(k) + u": "_s + shown.join(u" | "_s)));
        }
        QVERIFY(h.prompt.errors.isEmpty());
    }

    void randomWalk()
    {
        UiHarness h;
        h.startRealistic(u"walk.tlvdb"_s);
        Walk walk{h};
        walk.rep = &h.report();
        int steps = 0;
        while (steps < kSteps) {
            // With the editor open, mostly its own actions.
            static const Action inEditor[] = {PutOnOff, PutOnOff, PutOnOff, PutOnOff, TypeQuantity, TypeQuantity,
                                              SearchEnter, SearchEnter, CloseEditor, CancelEditor, Save, SaveFromBar,
                                              CloseAndStart};
            const auto a = walk.e() ? inEditor[walk.pick(std::size(inEditor))] : Action(walk.pick(ActionCount));
            if (!walk.act(a))
                continue;
            ++steps;
            walk.repFresh = a == OpenReport || a == ChangePeriod || a == XmlExport || a == Pdf
                            || (a == NextArtisan && walk.rep->isVisible());
            QVERIFY2(h.prompt.errors.isEmpty(), qPrintable(h.prompt.errors.join(u'|')));
            walk.checkSoldEqualsSheets();
            if (!QTest::currentTestFailed())
                walk.checkWindows();
            if (QTest::currentTestFailed())
                return qWarning("failed at step %d, action %d of enum Action", steps, int(a));
        }
        qInfo("seed %u, %d steps", kSeed, steps);
    }
};

QTEST_MAIN(TestCrossWindows)
#include "tst_crossWindows.moc"
