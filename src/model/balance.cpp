#include "model/balance.h"

#include "model/account.h"
#include "model/saleRows.h"
#include "model/uArt.h"

#include <vector>

using namespace Qt::StringLiterals;

AccountFigures accountFigures(const SaleBook& book, const TArtList& arts, const Account& account, ShareRule fallback,
                              const QString& artNo, const QString& from, const QString& to)
{
    AccountFigures f;
    f.artNo = artNo;
    // The artisan's rows up to `to`, each with its recorded share.
    std::vector<SaleRow> rows;
    for (const SaleRow& r : book.artisanRows(artNo))
        if (to.isEmpty() || r.date <= to)
            rows.push_back(r);
    shareOf(rows, arts, fallback, &account);
    Money earnedBefore;
    for (const SaleRow& r : rows) {
        if (!from.isEmpty() && r.date < from) {
            earnedBefore += r.due;
            continue;
        }
        f.sales += r.amount;
        f.earned += r.due;
    }
    Money paidBefore;
    for (const Payout& p : account.payouts()) {
        if (p.artNo != artNo || (!to.isEmpty() && p.date > to))
            continue;
        if (!from.isEmpty() && p.date < from)
            paidBefore += p.amount;
        else
            f.paid += p.amount;
    }
    for (const StockMove& m : account.stock.moves()) {
        if (m.artNo != artNo || m.credit.isZero() || (!to.isEmpty() && m.date > to))
            continue;
        if (!from.isEmpty() && m.date < from)
            earnedBefore += m.credit;
        else
            f.credited += m.credit;
    }
    f.before = earnedBefore - paidBefore;
    return f;
}

QStringList accountArtNos(const SaleBook& book, const TArtList& arts, const Account& account)
{
    QStringList listed;
    for (int i = 0; i < arts.count(); ++i)
        if (!listed.contains(arts.at(i).artNo))
            listed << arts.at(i).artNo;
    QStringList others;
    for (const QString& no : book.artNos(-1))
        if (!listed.contains(no) && !others.contains(no))
            others << no;
    for (const Payout& p : account.payouts())
        if (!listed.contains(p.artNo) && !others.contains(p.artNo))
            others << p.artNo;
    others.sort();
    return listed + others;
}

QString balanceCaption(Money balance)
{
    return balance < Money() ? u"Avance versée"_s : u"Solde à payer"_s;
}

Money balanceAmount(Money balance)
{
    return balance < Money() ? Money() - balance : balance;
}
