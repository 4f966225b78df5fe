#include "model/stockShelf.h"

#include "core/appError.h"
#include "core/textUtil.h"
#include "model/account.h"
#include "model/stockCount.h"
#include "model/uArt.h"

#include <QHash>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

Money amountOf(const QString& text)
{
    return Money::tryParse(stripDollar(text).trimmed()).value_or(Money());
}

TProduit* productOf(const TArtisan& a, const QString& prodNo)
{
    for (const TProdList::Ptr& p : a.products.items())
        if (p->prodNo == prodNo)
            return p.get();
    return nullptr;
}

} // namespace

QList<ShelfLot> shelfLots(const TProduit& p, const QList<StockMove>& moves)
{
    QHash<QString, int> moved;
    for (const StockMove& m : moves)
        moved[m.date] += m.qnt;
    QList<ShelfLot> in;
    qint64 out = soldOf(p);
    const auto take = [&](const QString& date, int qnt) {
        if (qnt > 0)
            in.append({date, qnt});
        else
            out -= qnt;
    };
    for (int i = 0; i < p.qntList.count(); ++i) {
        const TDQEvent e = p.qntList.at(i);
        const int qnt = strToIntDef(e.qnt, 0);
        // A day's quantity is its delivery and the movements recorded that day.
        const auto m = moved.constFind(e.date);
        if (m == moved.cend()) {
            take(e.date, qnt);
            continue;
        }
        take(e.date, qnt - *m);
        for (const StockMove& mv : moves)
            if (mv.date == e.date)
                take(e.date, mv.qnt);
    }
    std::stable_sort(in.begin(), in.end(), [](const ShelfLot& a, const ShelfLot& b) { return a.date < b.date; });
    QList<ShelfLot> lots;
    for (ShelfLot& lot : in) {
        const qint64 gone = std::min<qint64>(out, lot.qnt);
        out -= gone;
        lot.qnt -= int(gone);
        if (lot.qnt == 0)
            continue;
        if (!lots.isEmpty() && lots.last().date == lot.date)
            lots.last().qnt += lot.qnt;
        else
            lots << lot;
    }
    return lots;
}

QList<ShelfLine> shelfLines(const TArtList& arts, const StockBook& book, const QString& artNo)
{
    return unsoldSince(arts, book, artNo, QString());
}

QList<ShelfLine> unsoldSince(const TArtList& arts, const StockBook& book, const QString& artNo, const QString& since)
{
    // The moves by product, looked up once.
    QHash<QString, QList<StockMove>> moves;
    for (const StockMove& m : book.moves())
        if (artNo.isEmpty() || m.artNo == artNo)
            moves[m.artNo + u'-' + m.prodNo] << m;
    QList<ShelfLine> out;
    for (int a = 0; a < arts.count(); ++a) {
        const TArtisan& artisan = arts.at(a);
        if (!artNo.isEmpty() && artisan.artNo != artNo)
            continue;
        for (const TProdList::Ptr& p : artisan.products.items()) {
            const QList<ShelfLot> lots = shelfLots(*p, moves.value(artisan.artNo + u'-' + p->prodNo));
            if (lots.isEmpty() || (!since.isEmpty() && lots.first().date >= since))
                continue;
            ShelfLine l{artisan.artNo, arts.displayName(a), p->prodNo, artisan.artTag() + artisan.artNo + u'-' + p->prodNo,
                        p->descript, lots.first().date, 0, 0, amountOf(p->prix), amountOf(p->valeur)};
            for (const ShelfLot& lot : lots) {
                l.stock += lot.qnt;
                if (!since.isEmpty() && lot.date < since)
                    l.old += lot.qnt;
            }
            out << l;
        }
    }
    return out;
}

QString returnProblem(const TArtList& arts, const QString& artNo, const QList<ReturnLine>& lines)
{
    const int a = arts.indexOfArtNo(artNo);
    if (a < 0)
        return u"Aucun artisan numéro %1."_s.arg(artNo);
    int units = 0;
    for (const ReturnLine& l : lines) {
        if (l.qnt < 0)
            return u"Quantité à rendre négative pour le produit %1."_s.arg(l.prodNo);
        const TProduit* p = productOf(arts.at(a), l.prodNo);
        if (!p)
            return u"L'artisan %1 n'a pas de produit %2."_s.arg(artNo, l.prodNo);
        const int stock = stockOf(*p);
        if (l.qnt > stock)
            return u"Impossible de rendre %1 unité(s) du produit %2 « %3 » : il n'en reste que %4 en stock."_s
                .arg(l.qnt)
                .arg(l.prodNo, p->descript.trimmed())
                .arg(std::max(stock, 0));
        units += l.qnt;
    }
    return units == 0 ? u"Aucun produit à rendre : cochez les produits et leurs quantités."_s : QString();
}

QList<StockMove> recordReturn(TArtList& arts, Account& account, const QString& artNo, const QList<ReturnLine>& lines,
                              const QString& date)
{
    if (const QString why = returnProblem(arts, artNo, lines); !why.isEmpty())
        throw AppError(why);
    const TArtisan& a = arts.at(arts.indexOfArtNo(artNo));
    QList<StockMove> done;
    for (const ReturnLine& l : lines) {
        if (l.qnt == 0)
            continue;
        TProduit& p = *productOf(a, l.prodNo);
        const int stock = stockOf(p);
        p.qntList.addQnt(date, QString::number(-l.qnt));
        StockMove m;
        m.date = date;
        m.artNo = artNo;
        m.prodNo = l.prodNo;
        m.qnt = -l.qnt;
        m.reason = StockReason::Return;
        m.counted = stock - l.qnt;
        m.expected = stock;
        done << account.stock.add(m);
    }
    return done;
}
