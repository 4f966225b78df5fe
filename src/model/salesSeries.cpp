#include "model/salesSeries.h"

#include "core/appError.h"
#include "model/account.h"
#include "model/saleRows.h"
#include "model/uRep.h"

#include <QDate>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The first day of the month of a "yymmdd" date (or "yymm" month); invalid
// when it is neither.
QDate monthOf(const QString& date)
{
    if ((date.size() != 6 && date.size() != 4) || !std::all_of(date.begin(), date.end(), [](QChar c) {
            return c.isDigit() && c.unicode() < 128;
        }))
        return {};
    const QDate d(2000 + date.left(2).toInt(), date.mid(2, 2).toInt(), 1);
    return d.isValid() && (date.size() == 4 || QDate(d.year(), d.month(), date.mid(4, 2).toInt()).isValid()) ? d
                                                                                                          : QDate();
}

QString monthKey(QDate d)
{
    return d.toString(u"yyMM"_s);
}

// The rows of one artisan (newest first) dated from..to.
std::span<const SaleRow> dated(std::span<const SaleRow> rows, const QString& from, const QString& to)
{
    auto first = rows.begin();
    if (!to.isEmpty())
        first = std::partition_point(rows.begin(), rows.end(), [&](const SaleRow& r) { return r.date.compare(to) > 0; });
    auto last = rows.end();
    if (!from.isEmpty())
        last = std::partition_point(first, rows.end(), [&](const SaleRow& r) { return from.compare(r.date) <= 0; });
    return {first, last};
}

// Units added as unitsOf adds them, refused beyond the range.
void addUnits(qint64& sum, qint64 qnt)
{
    if (__builtin_add_overflow(sum, qnt, &sum))
        throw RangeError(u"Quantité hors limites : la somme des quantités dépasse ce que le programme peut "
                         "tenir."_s,
                         u"quantity out of range: the sum of the quantities cannot be held"_s);
}

} // namespace

QStringList monthsBetween(const QString& from, const QString& to)
{
    const QDate first = monthOf(from);
    const QDate last = monthOf(to);
    QStringList out;
    for (QDate d = first; first.isValid() && last.isValid() && d <= last; d = d.addMonths(1))
        out << monthKey(d);
    return out;
}

QStringList lastTwelveMonths(const QString& to)
{
    const QDate last = monthOf(to);
    return last.isValid() ? monthsBetween(monthKey(last.addMonths(-11)), to) : QStringList();
}

QString yearEarlier(const QString& date)
{
    const QDate d = monthOf(date);
    if (!d.isValid() || d.year() == 2000)
        return {};
    return QString::number(d.year() - 2001).rightJustified(2, u'0') + date.mid(2);
}

QStringList yearBefore(const QStringList& months)
{
    QStringList out;
    for (const QString& m : months)
        out << yearEarlier(m);
    return out;
}

QStringList chartMonths(const QString& title, const QString& from, const QString& to)
{
    if (title == ALL_PERIOD_TITLE)
        return lastTwelveMonths(to);
    const QStringList all = monthsBetween(from, to);
    return all.mid(std::max<qsizetype>(0, all.size() - 24));
}

QString monthName(const QString& yymm, bool shortForm)
{
    static const char* const names[] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                        "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    static const char* const shortNames[] = {"janv.", "févr.", "mars", "avr.", "mai",  "juin",
                                             "juil.", "août",  "sept.", "oct.", "nov.", "déc."};
    const QDate d = monthOf(yymm);
    if (!d.isValid())
        return yymm;
    const int m = d.month() - 1;
    return shortForm ? QString::fromUtf8(shortNames[m]) + u' ' + yymm.left(2)
                     : QString::fromUtf8(names[m]) + u' ' + QString::number(d.year());
}

void MonthTally::add(const SaleRow& r)
{
    r.check();
    MonthFigures& f = m_months[r.date.left(4)];
    f.sales += r.amount;
    f.due += r.due;
    addUnits(f.items, r.qnt);
}

void MonthTally::add(std::span<const SaleRow> rows)
{
    for (const SaleRow& r : rows)
        add(r);
}

std::vector<MonthFigures> MonthTally::series(const QStringList& months) const
{
    std::vector<MonthFigures> out;
    out.reserve(size_t(months.size()));
    for (const QString& m : months) {
        MonthFigures f = m.isEmpty() ? MonthFigures() : m_months.value(m);
        f.month = m;
        out.push_back(f);
    }
    return out;
}

MonthTally artisanMonths(const SaleBook& book, const TArtList& arts, const Account& account, ShareRule fallback,
                         const QString& artNo, const QString& from, const QString& to)
{
    const std::span<const SaleRow> within = dated(book.artisanRows(artNo), from, to);
    std::vector<SaleRow> rows(within.begin(), within.end());
    shareOf(rows, arts, fallback, &account);
    MonthTally t;
    t.add(rows);
    return t;
}

MonthTally boutiqueMonths(const SaleBook& book, const QString& from, const QString& to)
{
    MonthTally t;
    for (const QString& a : book.artNos(-1))
        t.add(dated(book.artisanRows(a), from, to));
    return t;
}

YearOnYear yearOnYear(const QString& title, const QString& from, const QString& to, const QString& oldest,
                      const std::function<MonthTally(const QString&, const QString&)>& tally)
{
    YearOnYear y;
    const QStringList months = chartMonths(title, from, to);
    if (months.isEmpty())
        return y;
    // Only the rows of the months shown are summed (the all-sales period and
    // a long one show only their last months).
    const QString first = std::max(from, months.front() + u"01"_s);
    y.months = tally(first, to).series(months);
    const QStringList before = yearBefore(months);
    const QString end = yearEarlier(to);
    if (!oldest.isEmpty() && oldest.compare(end) <= 0)
        y.before = tally(yearEarlier(first), end).series(before);
    return y;
}

BestSellers bestSellers(const SaleBook& book, int p, int n)
{
    BestSellers b;
    std::vector<Ranked> products;
    for (const QString& a : book.artNos(p)) {
        const std::span<const SaleRow> rows = p < 0 ? book.artisanRows(a) : book.artisanRows(p, a);
        Ranked artisan{a, {}, amountOf(rows), unitsOf(rows)};
        b.total += artisan.sales;
        b.artisans.push_back(artisan);
        // Each product once, named by its newest row (rows run newest first).
        QHash<QString, size_t> at;
        for (const SaleRow& r : rows) {
            const QString key = a + u'-' + r.prodNo;
            auto found = at.find(key);
            if (found == at.end()) {
                found = at.insert(key, products.size());
                products.push_back({key, r.descript, {}, 0});
            }
            Ranked& prod = products[*found];
            prod.sales += r.amount;
            addUnits(prod.items, r.qnt);
        }
    }
    b.artisans = topOf(std::move(b.artisans), n);
    b.products = topOf(std::move(products), n);
    return b;
}

std::vector<Ranked> topOf(std::vector<Ranked> all, int n)
{
    // Nothing sold (a gift at 0.00$, returns only) is no best seller.
    std::erase_if(all, [](const Ranked& r) { return r.sales <= Money(); });
    std::sort(all.begin(), all.end(), [](const Ranked& a, const Ranked& b) {
        if (a.sales != b.sales)
            return a.sales > b.sales;
        if (a.items != b.items)
            return a.items > b.items;
        return a.key < b.key;
    });
    all.resize(std::min(all.size(), size_t(std::max(0, n))));
    return all;
}

QString shareText(Money part, Money whole)
{
    if (whole <= Money())
        return {};
    // Tenths of a percent, rounded half up, in integers: part x 1000 / whole
    // (divided first when part x 1000 could not be held).
    const qint64 p = part.units();
    const qint64 w = whole.units();
    qint64 tenths = 0;
    if (qint64 scaled = 0; !__builtin_mul_overflow(p, 2000, &scaled))
        tenths = (scaled / w + (scaled / w >= 0 ? 1 : -1)) / 2;
    else
        tenths = p / (w / 1000 > 0 ? w / 1000 : 1);
    const QString sign = tenths < 0 ? u"-"_s : QString();
    const qint64 a = tenths < 0 ? -tenths : tenths;
    return sign + QString::number(a / 10) + u',' + QString::number(a % 10) + u" %"_s;
}
