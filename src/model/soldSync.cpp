#include "model/soldSync.h"

#include "core/appError.h"
#include "core/textUtil.h"
#include "model/uArt.h"
#include "model/uSale.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <limits>
#include <map>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// One line of a sheet as the rule reads it.
struct LineRef {
    QString artNo;
    QString prodNo;
    int qnt = 0;
};

int quantityOf(const QString& text)
{
    bool ok = false;
    const int q = text.trimmed().toInt(&ok);
    return ok ? q : 0;
}

QList<LineRef> linesOfSheet(const QString& lines)
{
    QList<LineRef> out;
    const QStringList items = readCommaList(lines);
    for (const QString& line : items) {
        if (line.trimmed().isEmpty())
            continue;
        const QStringList f = readCommaList(line);
        const TProductKey key = TSaleList::splitKey(f.value(0).trimmed());
        out.append({key.artNo, key.prodNo, quantityOf(f.value(3))});
    }
    return out;
}

QString productKey(const QString& artNo, const QString& prodNo)
{
    return artNo + u'-' + prodNo;
}

// The sold quantities of a set of products, put back as they were when a
// step fails half-way.
class SoldSnapshot {
public:
    void keep(TProduit* p)
    {
        if (!m_kept.contains(p))
            m_kept.insert(p, p->soldList);
    }
    void restore()
    {
        // Totals are left to availableStr when next shown: one that cannot
        // be computed must not stop the others from going back.
        for (auto it = m_kept.begin(); it != m_kept.end(); ++it)
            it.key()->soldList = it.value();
    }

private:
    QHash<TProduit*, TQnt> m_kept;
};

// A quantity that a product's dated event cannot hold: refused, never wrapped.
qint64 heldQuantity(qint64 q)
{
    if (q < std::numeric_limits<int>::min() || q > std::numeric_limits<int>::max())
        throw RangeError(u"Quantité hors limites : %1 dépasse ce qu'un produit peut tenir (au plus 2147483647)."_s
                             .arg(q),
                         u"quantity out of range: %1 (at most 2147483647)"_s.arg(q));
    return q;
}

// Takes qnt off the product's sold event of date; an event left at 0 goes.
void takeSold(TProduit& p, const QString& date, qint64 qnt)
{
    const int at = p.soldList.findDate(date);
    if (at < 0) {
        if (qnt != 0)
            p.soldList.addQnt(date, QString::number(heldQuantity(-qnt)));
        return;
    }
    const qint64 left = heldQuantity(qint64(strToInt(p.soldList.at(at).qnt)) - qnt);
    if (left == 0)
        p.soldList.deleteAt(at);
    else
        p.soldList.setQntAt(at, QString::number(left));
}

// Each product named on sheet i with its quantity there, in line order.
std::vector<std::pair<TProduit*, qint64>> productsOnSheet(TArtList& arts, const TSaleList& sales, int i)
{
    std::vector<std::pair<TProduit*, qint64>> out;
    const QList<LineRef> lines = linesOfSheet(sales.at(i).lines);
    for (const LineRef& l : lines) {
        TProduit* p = findProduct(arts, l.artNo, l.prodNo);
        if (!p)
            continue; // history: its product went, its events with it
        auto same = std::find_if(out.begin(), out.end(), [p](const auto& e) { return e.first == p; });
        if (same == out.end())
            out.emplace_back(p, l.qnt);
        else
            same->second += l.qnt;
    }
    return out;
}

} // namespace

SoldCheck checkSold(const TArtList& arts, const TSaleList& sales)
{
    QSet<QString> products;
    // product key -> date -> (sold, on the sheets)
    std::map<std::pair<QString, QString>, QMap<QString, std::pair<qint64, qint64>>> counts;
    for (int a = 0; a < arts.count(); ++a) {
        const TArtisan& artisan = arts.at(a);
        for (const TProdList::Ptr& p : artisan.products.items()) {
            products.insert(productKey(artisan.artNo, p->prodNo));
            auto& dates = counts[{artisan.artNo, p->prodNo}];
            for (int e = 0; e < p->soldList.count(); ++e)
                dates[p->soldList.at(e).date].first += quantityOf(p->soldList.at(e).qnt);
        }
    }
    SoldCheck check;
    for (int s = 0; s < sales.count(); ++s) {
        const TSaleItem& sheet = sales.at(s);
        const QList<LineRef> lines = linesOfSheet(sheet.lines);
        for (const LineRef& l : lines) {
            if (products.contains(productKey(l.artNo, l.prodNo)))
                counts[{l.artNo, l.prodNo}][sheet.date].second += l.qnt;
            else
                check.history.append({l.artNo, l.prodNo, sheet.date, l.qnt});
        }
    }
    for (const auto& [key, dates] : counts) {
        for (auto it = dates.cbegin(); it != dates.cend(); ++it)
            if (it->first != it->second)
                check.gaps.append({key.first, key.second, it.key(), it->first, it->second});
    }
    return check;
}

QStringList soldCheckLines(const SoldCheck& check, bool french)
{
    QStringList out;
    for (const SoldGap& g : check.gaps)
        out << (french ? u"Artisan %1, produit %2, %3 : vendu %4, sur les feuilles %5"_s
                       : u"artisan %1, product %2, %3: sold %4, on the sheets %5"_s)
                   .arg(g.artNo, g.prodNo, g.date, QString::number(g.sold), QString::number(g.onSheets));
    for (const HistoryLine& h : check.history)
        out << (french ? u"Historique : artisan %1, produit %2 (supprimé), %3 : %4 sur la feuille"_s
                       : u"history: artisan %1, product %2 (deleted), %3: %4 on the sheet"_s)
                   .arg(h.artNo, h.prodNo, h.date, QString::number(h.qnt));
    return out;
}

QString soldCheckMessage(const SoldCheck& check, int maxLines)
{
    QString text = check.gaps.isEmpty()
                       ? u"La base est cohérente : chaque quantité vendue est celle des feuilles de ventes."_s
                       : u"%1 écart(s) entre les quantités vendues et les feuilles de ventes. "
                         u"Rien n'a été changé."_s.arg(check.gaps.size());
    if (!check.history.isEmpty())
        text += u"\n%1 ligne(s) de produits supprimés (historique)."_s.arg(check.history.size());
    const QStringList lines = soldCheckLines(check, true);
    for (qsizetype k = 0; k < lines.size() && k < maxLines; ++k)
        text += u'\n' + lines.at(k);
    if (lines.size() > maxLines)
        text += u"\n... et %1 autre(s) : « tlvdb check » les liste toutes."_s.arg(lines.size() - maxLines);
    return text;
}

TProduit* findProduct(TArtList& arts, const QString& artNo, const QString& prodNo)
{
    const int a = arts.indexOfArtNo(artNo);
    if (a < 0)
        return nullptr;
    for (const TProdList::Ptr& p : std::as_const(arts.at(a)).products.items())
        if (p->prodNo == prodNo)
            return p.get();
    return nullptr;
}

void redateSheet(TArtList& arts, TSaleList& sales, int i, const QString& newDate)
{
    const QString oldDate = sales.at(i).date;
    if (newDate == oldDate)
        return;
    if (!strToDate(newDate).isValid())
        throw AppError(u"« %1 » n'est pas une date valide."_s.arg(newDate));
    if (sales.indexOfDate(newDate) >= 0)
        throw AppError(u"Le %1 a déjà sa feuille de ventes."_s.arg(newDate));
    SoldSnapshot before;
    try {
        for (const auto& [p, qnt] : productsOnSheet(arts, sales, i)) {
            before.keep(p);
            takeSold(*p, oldDate, qnt);
            if (qnt != 0)
                p->addSold(newDate, QString::number(heldQuantity(qnt)));
        }
    } catch (...) {
        before.restore();
        throw;
    }
    sales.setSheetDate(i, newDate);
    if (sales.curDate == oldDate)
        sales.curDate = newDate;
    sales.sortByDate();
}

void deleteSheet(TArtList& arts, TSaleList& sales, int i)
{
    const QString date = sales.at(i).date;
    SoldSnapshot before;
    try {
        for (const auto& [p, qnt] : productsOnSheet(arts, sales, i)) {
            before.keep(p);
            takeSold(*p, date, qnt);
        }
    } catch (...) {
        before.restore();
        throw;
    }
    sales.removeSheet(i);
}

QHash<QString, int> linesPerArtisan(const TSaleList& sales)
{
    QHash<QString, int> count;
    for (int s = 0; s < sales.count(); ++s) {
        const QList<LineRef> lines = linesOfSheet(sales.at(s).lines);
        for (const LineRef& l : lines)
            ++count[l.artNo];
    }
    return count;
}

QString nextProductNumber(const TProdList& products, const TSaleList& sales, const QString& artNo)
{
    int top = 0;
    for (const TProdList::Ptr& p : products.items())
        top = std::max(top, p->prodNo.toInt());
    for (int s = 0; s < sales.count(); ++s) {
        const QList<LineRef> lines = linesOfSheet(sales.at(s).lines);
        for (const LineRef& l : lines)
            if (l.artNo == artNo)
                top = std::max(top, l.prodNo.toInt());
    }
    return numberText(top < std::numeric_limits<int>::max() ? top + 1 : top);
}

void renumberProducts(TArtList& arts, TSaleList& sales)
{
    // Numbers still named by lines of deleted products, per artisan.
    const SoldCheck check = checkSold(arts, sales);
    QHash<QString, QSet<QString>> taken;
    for (const HistoryLine& h : check.history)
        taken[h.artNo].insert(h.prodNo);
    // (artisan, old number) -> new number, for the products that move.
    QHash<QString, QString> moved;
    for (int a = 0; a < arts.count(); ++a) {
        TArtisan& artisan = arts.at(a);
        const QSet<QString>& used = taken[artisan.artNo];
        int n = 0;
        for (const TProdList::Ptr& p : artisan.products.items()) {
            QString number;
            do
                number = numberText(++n);
            while (used.contains(number));
            if (p->prodNo != number && !moved.contains(productKey(artisan.artNo, p->prodNo)))
                moved.insert(productKey(artisan.artNo, p->prodNo), number);
            p->prodNo = number;
        }
    }
    if (moved.isEmpty())
        return;
    for (int s = 0; s < sales.count(); ++s) {
        QStringList lines = readCommaList(sales.at(s).lines);
        bool changed = false;
        for (QString& line : lines) {
            QStringList f = readCommaList(line);
            const QString key = f.value(0).trimmed();
            const TProductKey k = TSaleList::splitKey(key);
            const auto to = moved.constFind(productKey(k.artNo, k.prodNo));
            if (line.trimmed().isEmpty() || to == moved.constEnd())
                continue;
            f[0] = key.chopped(3) + *to;
            line = writeCommaList(f);
            changed = true;
        }
        if (changed)
            sales.setSheetLines(s, writeCommaList(lines));
    }
}
