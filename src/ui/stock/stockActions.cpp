#include "ui/stock/stockActions.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "model/stockCount.h"
#include "model/stockShelf.h"
#include "report/stockPdf.h"
#include "ui/artisans/artAccount.h"
#include "ui/artisans/artFrm.h"
#include "ui/products/prodFrm.h"
#include "ui/shell/main.h"
#include "ui/stock/countDlg.h"
#include "ui/stock/diffDlg.h"
#include "ui/stock/returnDlg.h"
#include "ui/stock/unsoldDlg.h"
#include "ui/widgets/named.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The products page shows what was just recorded.
void showRecorded(TmainForm& main)
{
    AppState& st = main.state();
    if (st.curProdInd >= 0 && st.curProdInd < st.prodList.count())
        main.prodForm->showCurrentProduct();
}

// Writes pdf where the user chooses; says where, or nothing when cancelled.
bool savePdf(TmainForm& main, const QString& caption, const QString& name, const QByteArray& pdf, const QString& done)
{
    AppState& st = main.state();
    const QString path =
        main.prompt().saveFileAsked(caption, st.xmlDir + name, u"Documents PDF (*.pdf)"_s, u"pdf"_s);
    if (path.isEmpty())
        return false;
    safeWriteFile(path, pdf, outputOptions(st));
    main.prompt().information(done.arg(QDir::toNativeSeparators(path)));
    return true;
}

QString scopeName(const AppState& st, const QString& artNo)
{
    const int a = st.artList.indexOfArtNo(artNo);
    return artNo.isEmpty() ? u"la boutique"_s : a >= 0 ? st.artList.displayName(a) : artNo;
}

// Shows the differences; true when the count was closed.
bool closeCount(TmainForm& main)
{
    AppState& st = main.state();
    const StockCount& count = *st.account.stock.open;
    const QList<CountDiff> diffs = countDifferences(count, st.artList);
    const QString today = todayStr();
    TDiffDlg dlg(diffs,
                 diffs.isEmpty() ? u"Aucun écart : le stock compté est celui des livres."_s
                                 : u"%1 produit(s) diffèrent des livres. Choisissez pour chacun ce qu'il faut "
                                   "enregistrer ; rien ne change dans les livres avant « Enregistrer et clore »."_s
                                       .arg(diffs.size()),
                 &main);
    dlg.print = [&](const QList<CountDiff>& shown) {
        main.guarded([&] {
            const DifferencesSheet sheet{st.shopName, count.started, today, scopeName(st, count.artNo), shown};
            savePdf(main, u"Enregistrer les écarts"_s, u"ecarts-%1.pdf"_s.arg(today), differencesPdf(sheet),
                    u"Écarts enregistrés dans %1"_s);
        });
    };
    if (main.runModal(dlg) != QDialog::Accepted)
        return false;
    const QList<CountDiff> chosen = dlg.chosen();
    const auto n = std::count_if(chosen.cbegin(), chosen.cend(),
                                 [](const CountDiff& d) { return d.choice != CountDiff::Nothing; });
    const QString ask = n == 0 ? u"Clore le comptage sans rien enregistrer ?"_s
                               : u"Enregistrer %1 ajustement(s) du stock, datés du %2, et clore le comptage ?"_s
                                     .arg(n)
                                     .arg(today);
    if (main.prompt().question(ask) != Prompt::Answer::Yes)
        return false;
    const Money before = [&] {
        Money m;
        for (const StockMove& mv : st.account.stock.moves())
            m += mv.credit;
        return m;
    }();
    main.doc().recordCount(chosen, today);
    Money credited;
    for (const StockMove& mv : st.account.stock.moves())
        credited += mv.credit;
    credited -= before;
    showRecorded(main);
    main.prompt().information(
        u"Comptage clos : %1 ajustement(s) enregistré(s)%2."_s.arg(n).arg(
            credited.isZero() ? QString() : u", %1 crédité(s) aux artisans"_s.arg(credited.format())));
    return true;
}

} // namespace

void addStockActions(TmainForm& main, QMenu* special)
{
    QAction* count = named<QAction>("aCountStock", u"Compter le stock..."_s, &main);
    count->setToolTip(u"Compter les produits en rayon avec le lecteur de code-barres"_s);
    QAction* unsold = named<QAction>("aUnsold", u"Invendus depuis..."_s, &main);
    unsold->setToolTip(u"Les produits en rayon depuis plusieurs mois"_s);
    special->addAction(count);
    special->addAction(unsold);
    QObject::connect(count, &QAction::triggered, &main, [&main] { countStock(main); });
    QObject::connect(unsold, &QAction::triggered, &main, [&main] { showUnsold(main); });
}

void countStock(TmainForm& main)
{
    main.guarded([&main] {
        main.storeShown();
        AppState& st = main.state();
        const std::optional<StockCount>& open = st.account.stock.open;
        const bool modifiedBefore = st.modified;
        const bool started = !open;
        if (started) {
            if (st.artList.isEmpty()) {
                main.prompt().information(u"Aucun artisan : rien à compter."_s);
                return;
            }
            QString artNo;
            if (st.curArtInd >= 0 && st.curArtInd < st.artList.count()) {
                const auto whole = main.prompt().question(
                    u"Compter le stock de toute la boutique ?\n\nNon : seulement celui de %1."_s.arg(
                        st.artList.displayName(st.curArtInd)),
                    true);
                if (whole == Prompt::Answer::Cancel)
                    return;
                if (whole == Prompt::Answer::No)
                    artNo = st.artList.at(st.curArtInd).artNo;
            }
            main.doc().openCount(StockCount{todayStr(), artNo, {}});
        }
        for (;;) {
            TCountDlg dlg(main.doc(), main.prompt(), &main);
            const int outcome = main.runModal(dlg);
            if (outcome == TCountDlg::Abandoned) {
                // A count begun and dropped here leaves the file as it was.
                main.doc().dropCount(started ? modifiedBefore : true);
                main.prompt().information(u"Comptage abandonné : rien n'a changé dans les livres."_s);
                return;
            }
            if (outcome != TCountDlg::Closing) {
                main.prompt().information(u"Comptage interrompu : il est gardé avec la base, « Compter le stock... » "
                                          "le reprend là où il en était."_s);
                return;
            }
            if (closeCount(main))
                return;
        }
    });
}

void showUnsold(TmainForm& main)
{
    main.guarded([&main] {
        main.storeShown();
        TUnsoldDlg dlg(main.state(), QDate::currentDate(), &main);
        dlg.giveBack = [&](const QString& artNo, const QList<ShelfLine>& lines) {
            QHash<QString, int> ticked;
            for (const ShelfLine& l : lines)
                ticked.insert(l.prodNo, l.old);
            returnToArtisan(main, artNo, ticked);
            dlg.refill();
        };
        main.runModal(dlg);
    });
}

void returnToArtisan(TmainForm& main, const QString& artNo, const QHash<QString, int>& ticked)
{
    main.guarded([&] {
        main.storeShown();
        AppState& st = main.state();
        const int a = st.artList.indexOfArtNo(artNo);
        if (a < 0) {
            main.prompt().information(u"Choisissez d'abord un artisan."_s);
            return;
        }
        const QString name = st.artList.displayName(a);
        const QList<ShelfLine> lines = shelfLines(st.artList, st.account.stock, artNo);
        if (lines.isEmpty()) {
            main.prompt().information(u"%1 n'a aucun produit en stock."_s.arg(name));
            return;
        }
        const QDate today = QDate::currentDate();
        TReturnDlg dlg(name, lines, ticked, today, &main);
        dlg.problem = [&](const QList<ReturnLine>& chosen) { return returnProblem(st.artList, artNo, chosen); };
        dlg.refuse = [&](const QString& why) { main.prompt().error(why); };
        if (main.runModal(dlg) != QDialog::Accepted)
            return;
        const QList<ReturnLine> chosen = dlg.chosen();
        int units = 0;
        for (const ReturnLine& l : chosen)
            units += l.qnt;
        if (main.prompt().question(u"Rendre %1 unité(s) à %2 ? Le stock baisse d'autant ; les ventes ne changent "
                                   "pas."_s.arg(units)
                                       .arg(name))
            != Prompt::Answer::Yes)
            return;
        const QString date = dateStr(today);
        const QList<StockMove> moves = main.doc().recordReturn(artNo, chosen, date);
        showRecorded(main);
        const TArtisan& art = st.artList.at(a);
        ReturnSlip slip{st.shopName, st.shopAddress, name,
                        art.adresse.trimmed() + u'\n' + (art.ville.trimmed() + u"  "_s + art.CP.trimmed()).trimmed(),
                        date, {}};
        for (const ShelfLine& l : lines)
            for (const StockMove& m : moves)
                if (m.prodNo == l.prodNo)
                    slip.lines.append({l.key, l.descript, -m.qnt, l.price, l.value});
        if (!savePdf(main, u"Enregistrer le bon de retour"_s, u"bon-de-retour-%1-%2.pdf"_s.arg(artNo, date),
                     returnSlipPdf(slip), u"Retour enregistré ; bon de retour dans %1"_s))
            main.prompt().information(u"Retour de %1 unité(s) enregistré ; aucun bon de retour n'a été fait."_s.arg(units));
    });
}
