// A random walk (fixed seed) through the real windows as staff use them
// together: after every step the products' sold quantities equal the sheets'
// lines, the windows show what a fresh computation from the model gives, and
// every save reads back as the same model.

#include "uiHarness.h"

#include "core/dbFile.h"
#include "core/money.h"
#include "core/textUtil.h"
#include "ui/editor/addSItemFrm.h"
#include "ui/products/prodFrm.h"
#include "ui/reports/repFrm.h"
#include "ui/sales/FCalDlg.h"
#include "ui/sales/saleFrm.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScopeGuard>
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
    XmlExport, Pdf, Save, Reopen, ActionCount
};
const char* const kNames[] = {
    "NextArtisan", "ProductsPage", "ArtisansPage", "NextProduct", "AddProduct", "RenameProduct",
    "DeleteUnsoldProduct", "DeleteSoldProduct", "AddArtisan", "RenameArtisan", "OtherSide", "NewSheet",
    "Redate", "OtherSheet", "OpenEditor", "PutOnOff", "TypeQuantity", "SearchEnter", "CloseEditor",
    "CancelEditor", "DeleteSheet", "ChangePeriod", "OpenReport", "XmlExport", "Pdf", "Save", "Reopen"};

// Broken today by faults of the model that its own change mends (a re-dated
// sheet leaves its sold events behind, an artisan's rename orphans its lines,
// a deleted product's number is reused by the next one): walked once it is in.
constexpr bool kModelFixLanded = false;
const QList<Action> kPendingModelFix = {Redate, RenameArtisan, DeleteSoldProduct};

QString keyOf(const QString& artNo, const QString& prodNo, const QString& date)
{
    return artNo + u'-' + prodNo + u' ' + date;
}

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

    QString freeDate()
    {
        QString d;
        do
            d = u"09%1%2"_s.arg(numberText(3 + pick(6)).right(2), numberText(1 + pick(28)).right(2));
        while (st().saleList.indexOfDate(d) >= 0);
        return d;
    }
    void answerCalendar(const QString& date)
    {
        h.onModal = [date](QDialog& d) {
            auto& cal = dynamic_cast<TCalDialog&>(d);
            cal.setDateStr(date);
            cal.sNameCB->setEditText(u"Zoé"_s);
            cal.OkBtn->click();
            return d.result();
        };
    }
    static void click(QAbstractItemView* v, const QModelIndex& i, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(v->viewport(), b, {}, v->visualRect(i).center());
    }
    // Chooses a random artisan in the editor, then one of its rows; false without one.
    bool editorRow(bool markedOnly)
    {
        TaddSItemDlg& d = *e();
        QList<int> withProducts; // entries "TreMar    *0" end with the artisan's index
        for (int i = 0; i < d.artListBox->count(); ++i)
            if (!st().artList.at(d.artListBox->item(i)->text().section(u'*', -1).toInt()).products.isEmpty())
                withProducts << i;
        if (withProducts.isEmpty())
            return false;
        click(d.artListBox, d.artListBox->model()->index(withProducts.at(pick(int(withProducts.size()))), 0));
        QList<int> rows;
        for (int r = 0; r < d.artProducts.count(); ++r)
            if (!markedOnly || d.prodStrGrid->item(r, 0)->text().startsWith(u'*'))
                rows << r;
        if (rows.isEmpty())
            return false;
        const int r = rows.at(pick(int(rows.size())));
        d.prodStrGrid->scrollToItem(d.prodStrGrid->item(r, 0));
        click(d.prodStrGrid, d.prodStrGrid->model()->index(r, 0), markedOnly ? Qt::LeftButton : Qt::RightButton);
        return true;
    }

    // Takes the action when it applies now; false otherwise.
    bool act(Action a)
    {
        const bool editing = s().editing;
        const int sheets = st().saleList.count();
        switch (a) {
        case NextArtisan:
            if (w().curPage != 0 || st().artList.count() < 2)
                return false;
            h.click(w().nextBtn);
            return true;
        case ProductsPage:
            return artSide(0) && (h.click(h.art().artPageBtn), true);
        case ArtisansPage:
            return artSide(1) && (h.click(p().artPageBtn), true);
        case NextProduct:
            return artSide(1) && st().prodList.count() > 1 && (h.click(p().nextBtn), true);
        case AddProduct:
            if (!artSide(1))
                return false;
            h.click(p().addProdBtn);
            p().descriptEd->setText(u"Objet %1"_s.arg(++made));
            p().priceEd->setText(QString::number(5 + pick(40)));
            return true;
        case RenameProduct:
            return artSide(1) && !st().prodList.isEmpty() && (p().descriptEd->setText(u"Autre %1"_s.arg(++made)), true);
        case DeleteUnsoldProduct:
        case DeleteSoldProduct: {
            if (!artSide(1) || !p().delSBTN->isVisible())
                return false;
            const bool sold = st().prodList.at(st().curProdInd).soldList.count() > 0 || named(st().curArtNo, st().curItem);
            return sold == (a == DeleteSoldProduct) && (h.click(p().delSBTN), true);
        }
        case AddArtisan:
            return artSide(0) && (h.addArtisan(u"Nouveau%1"_s.arg(++made), u"Ana"_s), true);
        case RenameArtisan:
            return artSide(0) && (h.art().nameEd->setText(u"Renomme%1"_s.arg(++made)), true);
        case OtherSide:
            if (editing || (w().curPage == 0 && st().artList.totalProducts() == 0))
                return false;
            h.click(w().pageBtn);
            return true;
        case NewSheet:
        case Redate:
            if (!sheetView() || (a == Redate && sheets == 0))
                return false;
            answerCalendar(freeDate());
            a == NewSheet ? h.click(s().addReportBtn) : h.clickLabel(s().dateLab);
            return true;
        case OtherSheet:
            return sheetView() && sheets > 1 && (s().sListBox->setCurrentRow(pick(sheets)), true);
        case OpenEditor:
            return sheetView() && sheets > 0 && (h.click(s().addProdBtn), true);
        case PutOnOff:
            return e() && editorRow(false);
        case TypeQuantity:
            if (!e() || !editorRow(true))
                return false;
            e()->QuantEdit->selectAll();
            QTest::keyClicks(e()->QuantEdit, QString::number(pick(6)));
            return true;
        case SearchEnter: {
            if (!e())
                return false;
            const TArtisan& art = st().artList.at(pick(st().artList.count()));
            if (art.products.isEmpty())
                return false;
            const QString key = art.artTag() + art.artNo + art.products.at(pick(art.products.count())).prodNo;
            e()->searchEd->setText(key);
            e()->search(key);
            QTest::keyClick(e()->searchEd, Qt::Key_Return);
            return true;
        }
        case CloseEditor:
            return e() && (h.click(e()->OKBtn), true);
        case CancelEditor:
            return e() && (h.click(e()->cancelBtn), true);
        case DeleteSheet:
            return sheetView() && sheets > 0 && (h.click(s().delSBTN), true);
        case ChangePeriod:
            if (!rep->isVisible())
                return false;
            if (rep->allTransBtn->isChecked() || pick(4) == 0) {
                h.click(rep->allTransBtn);
            } else {
                const int i = pick(rep->cListCB->count());
                rep->cListCB->setCurrentIndex(i);
                emit rep->cListCB->activated(i);
            }
            return true;
        case OpenReport:
            w().findChild<QAction*>(u"aRepForm"_s)->trigger();
            return true;
        case XmlExport:
            if (!rep->isVisible())
                return false;
            QTest::mouseClick(rep->XMLxPortBtn, Qt::LeftButton);
            checkReportFile();
            return true;
        case Pdf:
            return rep->isVisible() && (QTest::mouseClick(rep->PrintBtn, Qt::LeftButton), true);
        case Save:
            w().aSave->trigger();
            checkReload();
            return true;
        case Reopen:
            if (editing)
                return false;
            w().aSave->trigger();
            w().db().openDB(QFileInfo(st().curFilePath).fileName());
            checkReload();
            return true;
        case ActionCount:
            break;
        }
        return false;
    }

    // Whether a sheet line names that product.
    bool named(const QString& artNo, const QString& prodNo)
    {
        for (int i = 0; i < st().saleList.count(); ++i)
            for (const QString& line : st().saleList.saleLinesOf(i)) {
                const TProductKey k = TSaleList::splitKey(readCommaList(line).value(0));
                if (k.artNo == artNo && k.prodNo == prodNo)
                    return true;
            }
        return false;
    }

    // --- what must hold ---

    void checkSoldEqualsSheets()
    {
        QMap<QString, int> lines, sold;
        const int editedSheet = e() ? st().saleList.indexOfDate(e()->saleDate) : -1;
        for (int i = 0; i < st().saleList.count(); ++i) {
            const QString date = st().saleList.at(i).date;
            for (const QString& line : i == editedSheet ? e()->sheetLines() : st().saleList.saleLinesOf(i)) {
                const QStringList f = readCommaList(line);
                const TProductKey k = TSaleList::splitKey(f.value(0));
                lines[keyOf(k.artNo, k.prodNo, date)] += f.value(3).toInt();
            }
        }
        for (int a = 0; a < st().artList.count(); ++a)
            for (const auto& p : st().artList.at(a).products.items())
                for (int k = 0; k < p->soldList.count(); ++k)
                    sold[keyOf(st().artList.at(a).artNo, p->prodNo, p->soldList.at(k).date)] += p->soldList.at(k).qnt.toInt();
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
                const bool on = d->findLine(d->curTag, prod.prodNo) >= 0;
                QCOMPARE(d->prodStrGrid->item(r, 0)->text().startsWith(u'*'), on);
                if (on)
                    QCOMPARE(d->prodStrGrid->item(r, 4)->text(), prod.soldList.qntAt(d->saleDate));
            }
        }
        if (rep->isVisible() && repFresh) {
            const int at = st().artList.indexOfArtNo(st().curArtNo);
            QCOMPARE(rep->artNameLab->text(), at >= 0 ? st().artList.displayName(at) : u"("_s + st().curArtNo + u')');
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
        for (int i = 0; i < st().saleList.count(); ++i) {
            const QString date = st().saleList.at(i).date;
            if (!all && !dateInRange(date, st().repList.at(c).startDate, st().repList.at(c).endDate))
                continue;
            for (const QString& line : st().saleList.saleLinesOf(i)) {
                const QStringList f = readCommaList(line);
                if (TSaleList::splitKey(f.value(0)).artNo == st().curArtNo)
                    total += Money::parse(f.value(4).remove(u'$'));
            }
        }
        return total;
    }

    void checkReportFile()
    {
        if (rep->shownRows.isEmpty())
            return;
        const QString xml = QString::fromLatin1(readFileBytes(st().repDir + u"consigne1.xml"_s));
        QCOMPARE(xml.count(u"<item>"_s), rep->shownRows.size());
        QVERIFY(xml.contains(u"<total>"_s + rep->sTotLab->text() + u"</total>"_s));
    }

    static QStringList canon(AppState& db)
    {
        QStringList out;
        for (int a = 0; a < db.artList.count(); ++a) {
            const TArtisan& art = db.artList.at(a);
            out << art.artNo + u' ' + art.nom + u' ' + art.prenom;
            for (const auto& p : art.products.items())
                out << p->prodNo + u'|' + p->descript + u'|' + p->prix + u'|' + p->qntList.qntText(2) + u'|'
                           + p->soldList.qntText(2);
        }
        for (int i = 0; i < db.saleList.count(); ++i)
            out << db.saleList.at(i).record();
        for (int i = 0; i < db.repList.count(); ++i)
            out << db.repList.at(i).record();
        return out;
    }

    void checkReload()
    {
        QVERIFY(!st().modified);
        AppState back;
        FakePrompt say;
        loadDB(st().curFilePath, back, say);
        QCOMPARE(canon(back), canon(st()));
    }
};
} // namespace

class TestCrossWindows : public QObject {
    Q_OBJECT
private slots:
    void randomWalk()
    {
        UiHarness h;
        h.copyRealistic(u"walk.tlvdb"_s, true);
        h.start();
        Walk walk{h};
        walk.rep = h.w->findChild<TrepForm*>(u"repForm"_s);
        walk.rep->openPage = [](const QString&) {};
        QElapsedTimer timer;
        timer.start();
        QStringList taken;
        int steps = 0;
        while (steps < kSteps) {
            // With the editor open, mostly its own actions.
            static const Action inEditor[] = {PutOnOff, PutOnOff, PutOnOff, PutOnOff, TypeQuantity, TypeQuantity,
                                              SearchEnter, SearchEnter, CloseEditor, CancelEditor, Save};
            const auto a = walk.e() ? inEditor[walk.pick(std::size(inEditor))] : Action(walk.pick(ActionCount));
            if ((!kModelFixLanded && kPendingModelFix.contains(a)) || !walk.act(a))
                continue;
            ++steps;
            taken << QString::fromLatin1(kNames[a]);
            if (QTest::currentTestFailed())
                return;
            walk.repFresh = a == OpenReport || a == ChangePeriod || a == XmlExport || a == Pdf
                            || (a == NextArtisan && walk.rep->isVisible());
            const auto where = qScopeGuard([&] {
                if (QTest::currentTestFailed())
                    qWarning("step %d, after: %s", steps, qPrintable(taken.mid(taken.size() - 12).join(u' ')));
            });
            QVERIFY2(h.prompt.errors.isEmpty(), qPrintable(h.prompt.errors.join(u'|')));
            walk.checkSoldEqualsSheets();
            if (QTest::currentTestFailed())
                return;
            walk.checkWindows();
            if (QTest::currentTestFailed())
                return;
        }
        QMap<QString, int> counts;
        for (const QString& a : std::as_const(taken))
            ++counts[a];
        QStringList tally;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            tally << it.key() + u' ' + QString::number(it.value());
        qInfo("seed %u, %d steps in %lld ms (%s)", kSeed, steps, qint64(timer.elapsed()), qPrintable(tally.join(u", ")));
    }
};

QTEST_MAIN(TestCrossWindows)
#include "tst_crossWindows.moc"
