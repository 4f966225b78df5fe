// The report window's side of the artisan's account: the balance of the
// artisan shown at the end of the period, and "Payer l'artisan...".

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "export/books.h"
#include "export/reportDocs.h"
#include "model/balance.h"
#include "model/saleRows.h"
#include "report/payoutRegister.h"
#include "ui/artisans/artAccount.h"
#include "ui/artisans/artFrm.h"
#include "ui/reports/payAllDlg.h"
#include "ui/reports/payoutDlg.h"
#include "ui/reports/repFrm.h"
#include "ui/shell/main.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

// The period's bounds: the whole ledger for none.
std::pair<QString, QString> periodSpan(const AppState& st)
{
    if (st.curCIndex < 0 || st.curCIndex >= st.repList.count())
        return {};
    const TReport& r = std::as_const(st.repList).at(st.curCIndex);
    return {r.startDate, r.endDate};
}

} // namespace

AccountFigures TrepForm::shownAccount() const
{
    const auto [from, to] = periodSpan(st);
    return accountFigures(st.repList.book(st.saleList), st.artList, st.account, ShareRule{st.artSharePercent},
                          shownArtNo, from, to);
}

void TrepForm::showBalance()
{
    const AccountFigures f = shownAccount();
    const QString end = periodSpan(st).second;
    balanceLab->setText(u"Solde avant : %1   Payé : %2   %3%4 : %5"_s.arg(
        f.before.format(), f.paid.format(), balanceCaption(f.after()), end.isEmpty() ? QString() : u" au "_s + end,
        balanceAmount(f.after()).format()));
}

void TrepForm::payArtisan()
{
    takeMainEdits();
    if (shownArtNo.isEmpty())
        return;
    const AccountFigures f = shownAccount();
    const QString period =
        st.curCIndex >= 0 && st.curCIndex < st.repList.count() ? std::as_const(st.repList).at(st.curCIndex).title
                                                               : QString();
    TPayoutDlg dlg(shownName, f.after(), todayStr(), st.repList.titles, period, this);
    const QStringList known = accountArtNos(st.repList.book(st.saleList), st.artList, st.account);
    while (main.runModal(dlg) == QDialog::Accepted) {
        const Payout p = dlg.payout(shownArtNo);
        if (const QString why = payoutProblem(p, known); !why.isEmpty()) {
            main.prompt().error(why);
            continue;
        }
        const Payout& made = main.doc().pay(p);
        main.setStatusText(2, u"Paiement n° %1 enregistré : %2 à %3"_s.arg(QString::number(made.id),
                                                                          made.amount.format(), shownName));
        showBalance();
        return;
    }
}

void TrepForm::exportBooks()
{
    if (st.curCIndex < 0 || st.curCIndex >= st.repList.count())
        return;
    const TReport& period = std::as_const(st.repList).at(st.curCIndex);
    const QString dir = main.prompt().folderName(u"Exporter pour le comptable : dossier des fichiers"_s,
                                                 reportDir(st.xmlDir, period.title));
    if (dir.isEmpty())
        return;
    makeFolder(dir);
    const BooksInput in{st.repList.book(st.saleList), st.artList, st.account, ShareRule{st.artSharePercent}};
    const QStringList files = writeBooks(in, period, dir, outputOptions(st));
    QStringList names;
    for (const QString& f : files)
        names << QFileInfo(f).fileName();
    main.setStatusText(2, u"Comptable : "_s + names.join(u", "_s));
    main.prompt().information(u"Pour le comptable, période « %1 » : %2, dans le dossier %3. Un double clic les ouvre "
                              "dans le tableur."_s.arg(period.title, names.join(u" et "_s),
                                                       QDir::toNativeSeparators(dir)));
}

void TrepForm::payArtisans()
{
    takeMainEdits();
    const auto [from, to] = periodSpan(st);
    if (to.isEmpty())
        return;
    const TReport& period = st.repList.at(st.curCIndex);
    const SaleBook& book = st.repList.book(st.saleList);
    const QStringList known = accountArtNos(book, st.artList, st.account);
    QList<DueLine> due;
    for (const QString& no : known) {
        const Money balance =
            accountFigures(book, st.artList, st.account, ShareRule{st.artSharePercent}, no, from, to).after();
        const int a = st.artList.indexOfArtNo(no);
        if (balance > Money())
            due << DueLine{no, a >= 0 ? st.artList.displayName(a) : u"("_s + no + u')', balance};
    }
    if (due.isEmpty()) {
        main.prompt().information(u"Aucun artisan n'a un solde à payer au %1."_s.arg(to));
        return;
    }
    TPayAllDlg dlg(due,
                   u"Soldes à payer à la fin de la période « %1 » (%2). Décochez ceux que vous ne payez pas, "
                   "corrigez les montants au besoin."_s.arg(period.title, to),
                   todayStr(), st.payoutMinimum, this);
    while (main.runModal(dlg) == QDialog::Accepted) {
        st.payoutMinimum = dlg.minimum();
        QList<Payout> payouts = dlg.payouts();
        QStringList problems;
        for (Payout& p : payouts) {
            p.period = period.title;
            if (const QString why = payoutProblem(p, known); !why.isEmpty())
                problems << p.artNo + u" : "_s + why;
        }
        if (!problems.isEmpty()) {
            main.prompt().error(u"Aucun paiement n'est enregistré :\n"_s + problems.join(u'\n'));
            continue;
        }
        if (payouts.isEmpty())
            return;
        QList<RegisterLine> lines;
        for (const Payout& p : main.doc().pay(payouts)) {
            const int a = st.artList.indexOfArtNo(p.artNo);
            lines << RegisterLine{p, a >= 0 ? st.artList.displayName(a) : p.artNo};
        }
        const QString dir = reportDir(st.xmlDir, period.title);
        makeFolder(dir);
        const QString path = QDir(dir).filePath(payoutRegisterName(payouts.first().date));
        safeWriteFile(path, payoutRegisterPdf(st.shopName, period.title, payouts.first().date, lines),
                      outputOptions(st));
        showBalance();
        openPage(path);
        return;
    }
}
