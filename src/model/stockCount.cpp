#include "model/stockCount.h"

#include "core/appError.h"
#include "core/textUtil.h"
#include "model/account.h"
#include "model/productSearch.h"
#include "model/saleRows.h"
#include "model/uArt.h"

#include <QHash>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

Money amountOf(const QString& text)
{
    return Money::tryParse(stripDollar(text).trimmed()).value_or(Money());
}

} // namespace

int stockOf(const TProduit& p)
{
    return TProduit::availableOf(p.qntList.totalQnt(), p.soldList.totalQnt());
}

int soldOf(const TProduit& p)
{
    return p.soldList.totalQnt();
}

int countProduct(StockCount& count, const TArtList& arts, int artisan, int product)
{
    const TArtisan& a = arts.at(artisan);
    const TProduit& p = *a.products.ptrAt(product);
    int at = 0;
    while (at < count.lines.size() && (count.lines.at(at).prodNo != p.prodNo || count.lines.at(at).artNo != a.artNo))
        ++at;
    if (at == count.lines.size())
        count.lines << CountLine{a.artNo, p.prodNo, 0, stockOf(p), soldOf(p)};
    ++count.lines[at].counted;
    return at;
}

ScanResult scanKey(StockCount& count, const TArtList& arts, const QString& key)
{
    ScanResult r;
    const QList<ProductHit> hits = findProducts(arts, key, 1);
    if (hits.isEmpty())
        return r;
    const ProductHit& hit = hits.first();
    if (!hit.exactKey) {
        r.kind = ScanResult::Choose;
        return r;
    }
    r.artisan = hit.artisan;
    r.product = hit.product;
    if (!count.covers(arts.at(hit.artisan).artNo)) {
        r.kind = ScanResult::OtherArtisan;
        return r;
    }
    r.kind = ScanResult::Counted;
    r.line = countProduct(count, arts, hit.artisan, hit.product);
    return r;
}

QList<CountDiff> countDifferences(const StockCount& count, const TArtList& arts)
{
    QHash<QString, const CountLine*> scanned;
    scanned.reserve(count.lines.size());
    for (const CountLine& l : count.lines)
        scanned.insert(l.artNo + u'-' + l.prodNo, &l);
    QList<CountDiff> out;
    for (int a = 0; a < arts.count(); ++a) {
        const TArtisan& artisan = arts.at(a);
        if (!count.covers(artisan.artNo))
            continue;
        const QString name = arts.displayName(a);
        const QString tag = artisan.artTag() + artisan.artNo + u'-';
        for (const TProdList::Ptr& p : artisan.products.items()) {
            CountDiff d;
            const CountLine* line = scanned.value(artisan.artNo + u'-' + p->prodNo);
            if (line) {
                // A unit scanned, then sold, left the shelf after it was counted.
                const int soldSince = soldOf(*p) - line->soldAtScan;
                d.expected = line->expected - soldSince;
                d.counted = line->counted - soldSince;
                d.kind = d.diff() < 0 ? CountDiff::Missing : CountDiff::Excess;
            } else {
                d.expected = stockOf(*p);
                d.kind = CountDiff::Unscanned;
            }
            if (d.diff() == 0)
                continue;
            d.artNo = artisan.artNo;
            d.artName = name;
            d.prodNo = p->prodNo;
            d.key = tag + p->prodNo;
            d.descript = p->descript;
            d.price = amountOf(p->prix);
            d.value = amountOf(p->valeur);
            out << d;
        }
    }
    return out;
}

Money shareOfUnits(const TArtList& arts, const Account& account, const QString& artNo, const TProduit& p, int qnt,
                   const QString& date, ShareRule fallback)
{
    SaleRow row;
    row.date = date;
    row.artNo = artNo;
    row.prodNo = p.prodNo;
    row.price = amountOf(p.prix);
    row.qnt = qnt;
    row.amount = (row.price * qnt).roundedToCent();
    ValeurLookup values(arts);
    return rowShare(row, values, account.ruleAt(artNo, date, fallback)).value_or(Money());
}

int recordAdjustments(TArtList& arts, Account& account, const QList<CountDiff>& diffs, const QString& date,
                      ShareRule fallback)
{
    // Every product first, so that a missing one changes nothing.
    QList<std::pair<const CountDiff*, TProduit*>> chosen;
    for (const CountDiff& d : diffs) {
        if (d.choice == CountDiff::Nothing || d.diff() == 0)
            continue;
        const int a = arts.indexOfArtNo(d.artNo);
        TProduit* p = nullptr;
        if (a >= 0)
            for (const TProdList::Ptr& q : arts.at(a).products.items())
                if (q->prodNo == d.prodNo)
                    p = q.get();
        if (!p)
            throw AppError(u"Le produit %1 n'existe plus : aucun ajustement enregistré."_s.arg(d.key));
        stockOf(*p); // a quantity that does not read fails here, before any change
        chosen.append({&d, p});
    }
    const QString countDate = account.stock.open ? account.stock.open->started : date;
    for (const auto& [d, p] : chosen) {
        StockMove m;
        m.date = date;
        m.artNo = d->artNo;
        m.prodNo = d->prodNo;
        m.qnt = d->diff();
        m.reason = StockReason::Count;
        m.countDate = countDate;
        m.counted = std::max(0, d->counted);
        m.expected = d->expected;
        if (m.qnt < 0 && d->choice == CountDiff::AdjustBoutiqueBears) {
            m.bearer = LossBearer::Boutique;
            m.credit = shareOfUnits(arts, account, d->artNo, *p, -m.qnt, date, fallback);
        }
        p->qntList.addQnt(date, QString::number(m.qnt));
        account.stock.add(m);
    }
    account.stock.open.reset();
    return int(chosen.size());
}
