#include "model/saleRows.h"

#include "core/appError.h"
#include "core/textUtil.h"
#include "model/uRep.h"
#include "model/uSale.h"

#include <QSet>

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// Digits with an optional sign and at most one ".": a number, even when it
// is too large to hold.
bool looksNumeric(QStringView t, bool allowDot)
{
    qsizetype p = 0;
    if (p < t.size() && (t.at(p) == u'-' || t.at(p) == u'+'))
        ++p;
    bool digit = false;
    bool dot = false;
    for (; p < t.size(); ++p) {
        const QChar c = t.at(p);
        if (c == u'.' && allowDot && !dot)
            dot = true;
        else if (c >= u'0' && c <= u'9')
            digit = true;
        else
            return false;
    }
    return digit;
}

// The price text without its first "$" (stripDollar's rule), trimmed.
QString plainPrice(QStringView price)
{
    return stripDollar(price.toString()).trimmed();
}

void setFault(SaleRow& r, const QString& key, const QString& french, const QString& english)
{
    if (!r.fault.isEmpty())
        return;
    r.fault = french.arg(key, r.date);
    r.faultEnglish = english.arg(key, r.date);
}

} // namespace

void SaleRow::check() const
{
    if (!fault.isEmpty())
        throw RangeError(fault, faultEnglish);
}

QString SaleRow::text() const
{
    // A row whose amount cannot be held has none to show: whatever prints
    // or sums it checks it first. Made in place: it runs once per sale row.
    QString out;
    out.reserve(date.size() + descript.size() + 40);
    appendCommaItem(out, date);
    for (const QString& v : {artNo, prodNo, descript, priceText(), QString::number(qnt),
                             fault.isEmpty() ? amount.format() : QString()}) {
        out += u',';
        appendCommaItem(out, v);
    }
    return out;
}

QString SaleRow::xml() const
{
    check();
    const QString values[] = {date, artNo, prodNo, descript, priceText(), QString::number(qnt), amount.format()};
    QStringView views[7];
    for (int k = 0; k < 7; ++k)
        views[k] = values[k];
    return TRepList::xmlDataLine(std::span<const QStringView>(views, 7));
}

SaleRow makeSaleRow(const QString& date, QStringView line)
{
    QVarLengthArray<QStringView, 8> f;
    QStringList held;
    commaViews(line, f, held);
    const auto field = [&](qsizetype k) { return k < f.size() ? f.at(k) : QStringView(); };
    SaleRow r;
    r.date = date;
    const QStringView pno = field(0).trimmed();
    // TSaleList::splitKey's positions, on the view.
    const qsizetype n = pno.size();
    const bool fromEnd = n >= 7 && n != 13 && (pno.at(n - 4) == u'-' || pno.at(n - 4) == u'*');
    const auto part = [&](qsizetype from, qsizetype len) {
        return from >= n ? QString() : pno.mid(from, std::min(len, n - from)).toString();
    };
    r.tag = fromEnd ? pno.left(n - 7).toString() : part(0, 6);
    r.artNo = fromEnd ? pno.mid(n - 7, 3).toString() : part(6, 3);
    r.prodNo = fromEnd ? pno.right(3).toString() : part(10, 3);
    r.descript = field(1).toString();
    // stripDollar's rule (the first "$" goes), copying only when it stands inside.
    const QStringView priceField = field(2);
    const qsizetype dollar = priceField.indexOf(u'$');
    const QString joined = dollar > 0 && dollar + 1 < priceField.size()
                               ? priceField.left(dollar).toString() + priceField.mid(dollar + 1).toString()
                               : QString();
    const QStringView price = (dollar > 0 && dollar + 1 < priceField.size() ? QStringView(joined)
                               : dollar < 0                                  ? priceField
                               : dollar == 0                                 ? priceField.mid(1)
                                                                             : priceField.left(dollar))
                                  .trimmed();
    if (const auto m = Money::tryParse(price))
        r.price = *m;
    else if (looksNumeric(price, true))
        setFault(r, pno.toString(), u"Prix hors limites : la ligne %1 de la feuille du %2 porte un prix que le programme "
                         "ne peut pas tenir (au plus 922337203685477.58$)."_s,
                 u"sheet %2, line %1: price out of range"_s);
    const QStringView qnt = field(3).trimmed();
    int q = 0;
    if (tryStrToInt(qnt, q))
        r.qnt = q;
    else if (looksNumeric(qnt, false))
        setFault(r, pno.toString(), u"Quantité hors limites : la ligne %1 de la feuille du %2 porte une quantité au-delà "
                         "de 2147483647."_s,
                 u"sheet %2, line %1: quantity out of range"_s);
    qint64 units = 0;
    if (__builtin_mul_overflow(r.price.units(), r.qnt, &units))
        setFault(r, pno.toString(), u"Montant trop grand : la ligne %1 de la feuille du %2 (prix × quantité) dépasse "
                         "922337203685477.58$."_s,
                 u"sheet %2, line %1: amount too large (price x quantity beyond 922337203685477.58$)"_s);
    else
        r.amount = Money::fromUnits(units).roundedToCent();
    return r;
}

std::vector<SaleRow> sheetRows(const TSaleItem& sheet)
{
    std::vector<SaleRow> rows;
    QVarLengthArray<QStringView, 8> lines;
    QStringList held;
    commaViews(sheet.lines, lines, held);
    for (const QStringView line : std::as_const(lines))
        if (!line.trimmed().isEmpty())
            rows.push_back(makeSaleRow(sheet.date, line));
    return rows;
}

namespace {

// The sum of one amount of every row; a row that could not be held says so.
Money sumOf(std::span<const SaleRow> rows, Money SaleRow::*field)
{
    Money sum;
    for (const SaleRow& r : rows) {
        r.check();
        sum += r.*field;
    }
    return sum;
}

} // namespace

Money amountOf(std::span<const SaleRow> rows)
{
    return sumOf(rows, &SaleRow::amount);
}

Money dueOf(std::span<const SaleRow> rows)
{
    return sumOf(rows, &SaleRow::due);
}

qint64 unitsOf(std::span<const SaleRow> rows)
{
    qint64 sum = 0;
    for (const SaleRow& r : rows)
        if (__builtin_add_overflow(sum, r.qnt, &sum))
            throw RangeError(u"Quantité hors limites : la somme des quantités dépasse ce que le programme peut "
                             "tenir."_s,
                             u"quantity out of range: the sum of the quantities cannot be held"_s);
    return sum;
}

QStringList storedTotalDifferences(const TSaleList& sales, bool french)
{
    QStringList out;
    for (int s = 0; s < sales.count(); ++s) {
        const TSaleItem& sheet = sales.at(s);
        const std::vector<SaleRow> rows = sheetRows(sheet);
        QVarLengthArray<QStringView, 8> lines;
        QStringList held;
        commaViews(sheet.lines, lines, held);
        bool whole = true;
        qsizetype k = 0;
        for (const QStringView line : std::as_const(lines)) {
            if (line.trimmed().isEmpty())
                continue;
            const SaleRow& r = rows.at(size_t(k++));
            if (!r.fault.isEmpty()) {
                out << (french ? r.fault : r.faultEnglish);
                whole = false;
                continue;
            }
            QVarLengthArray<QStringView, 8> f;
            QStringList fh;
            commaViews(line, f, fh);
            const QString storedText = f.size() > 4 ? f.at(4).toString() : QString();
            const QString stored = plainPrice(storedText);
            // A return's total is left empty; any other total is price x quantity.
            const bool same = stored.isEmpty() ? r.qnt <= 0 : Money::tryParse(stored) == r.amount;
            if (!same)
                out << (french ? u"Feuille %1, ligne %2 : total inscrit « %3 », %4 × %5 = %6"_s
                               : u"sheet %1, line %2: stored total \"%3\", %4 x %5 = %6"_s)
                           .arg(sheet.date, f.value(0).toString(), storedText, r.priceText(), QString::number(r.qnt),
                                r.amount.format());
        }
        if (!whole)
            continue;
        qint64 units = 0;
        bool fits = true;
        for (const SaleRow& r : rows)
            fits = fits && !__builtin_add_overflow(units, r.amount.units(), &units);
        if (!fits) {
            out << (french ? u"Feuille %1 : "_s.arg(sheet.date) + Money::overflowMessage()
                           : u"sheet %1: amount too large (its lines sum beyond 922337203685477.58$)"_s.arg(sheet.date));
            continue;
        }
        const Money sum = Money::fromUnits(units);
        const QString stored = plainPrice(sheet.total);
        const bool same = stored.isEmpty() ? sum.isZero() : Money::tryParse(stored) == sum;
        if (!same)
            out << (french ? u"Feuille %1 : total inscrit « %2 », ses lignes font %3"_s
                           : u"sheet %1: stored total \"%2\", its lines sum to %3"_s)
                       .arg(sheet.date, sheet.total, sum.format());
    }
    return out;
}

// --- SaleBook ----------------------------------------------------------------

void SaleBook::sync(const TSaleList& sales, const TRepList& reps)
{
    const bool ledgerMoved = m_sales != sales.revision();
    if (ledgerMoved) {
        m_sales = sales.revision();
        // Newest sheet first whatever the ledger's order; sheets sharing a
        // date keep theirs.
        std::vector<int> order(size_t(sales.count()));
        std::iota(order.begin(), order.end(), 0);
        const auto newer = [&](int a, int b) { return sales.at(b).date.compare(sales.at(a).date) < 0; };
        if (!std::is_sorted(order.begin(), order.end(), newer))
            std::stable_sort(order.begin(), order.end(), newer);
        // Read newest first, each row's text made as it is read: the texts
        // lie in the ledger's order, as the periods list them. Equal texts of
        // the rows share one copy: the book holds a few per product instead
        // of four per row, and a consignment reads them from a few places.
        QSet<QString> pool;
        const auto share = [&pool](QString& t) {
            if (t.isEmpty())
                return; // a null text and an empty one stay what they are
            const auto at = pool.constFind(t);
            if (at == pool.cend())
                pool.insert(t);
            else
                t = *at;
        };
        m_rows.clear();
        QStringList texts;
        for (const int i : order)
            for (SaleRow& r : sheetRows(sales.at(i))) {
                share(r.artNo);
                share(r.prodNo);
                share(r.tag);
                share(r.descript);
                texts.append(r.text());
                m_rows.push_back(std::move(r));
            }
        // Each artisan's rows side by side, in the order met.
        QHash<QString, Range> ranges;
        QStringList met;
        for (const SaleRow& r : m_rows) {
            auto at = ranges.find(r.artNo);
            if (at == ranges.end()) {
                at = ranges.insert(r.artNo, {});
                met << r.artNo;
            }
            ++at->last;
        }
        qsizetype pos = 0;
        for (const QString& a : std::as_const(met)) {
            Range& r = ranges[a];
            const qsizetype n = r.last;
            r.first = r.last = pos;
            pos += n;
        }
        m_byDate.assign(m_rows.size(), 0);
        for (size_t k = 0; k < m_rows.size(); ++k)
            m_byDate[k] = ranges[m_rows[k].artNo].last++;
        // The rows moved to their places by swaps along each cycle of the
        // permutation: no second copy of every row.
        std::vector<qsizetype> to = m_byDate;
        for (size_t k = 0; k < to.size(); ++k)
            while (to[k] != qsizetype(k)) {
                const size_t t = size_t(to[k]);
                std::swap(m_rows[k], m_rows[t]);
                std::swap(to[k], to[t]);
            }
        m_artisans = std::move(ranges);
        m_texts = std::move(texts);
    }
    if (ledgerMoved || m_reps != reps.revision()) {
        m_reps = reps.revision();
        m_periods.clear();
        for (int p = 0; p < reps.count(); ++p) {
            const TReport& rep = reps.at(p);
            m_periods.push_back({rep.startDate, rep.endDate});
        }
    }
}

std::span<const SaleRow> SaleBook::slice(Range r, const QString& from, const QString& to) const
{
    const auto begin = m_rows.begin() + r.first;
    const auto end = m_rows.begin() + r.last;
    // dateInRange's comparisons: the dates after to come first, then those within.
    const auto first = std::partition_point(begin, end, [&](const SaleRow& s) { return s.date.compare(to) > 0; });
    const auto last = std::partition_point(first, end, [&](const SaleRow& s) { return from.compare(s.date) <= 0; });
    return {m_rows.data() + (first - m_rows.begin()), size_t(last - first)};
}

std::vector<SaleRow> SaleBook::allRows() const
{
    std::vector<SaleRow> out;
    out.reserve(m_byDate.size());
    for (const qsizetype k : m_byDate)
        out.push_back(m_rows[size_t(k)]);
    return out;
}

std::span<const SaleRow> SaleBook::artisanRows(const QString& artNo) const
{
    const auto at = m_artisans.constFind(artNo);
    if (at == m_artisans.constEnd())
        return {};
    return {m_rows.data() + at->first, size_t(at->last - at->first)};
}

std::span<const SaleRow> SaleBook::artisanRows(int p, const QString& artNo) const
{
    const auto at = m_artisans.constFind(artNo);
    if (at == m_artisans.constEnd() || p < 0 || p >= qsizetype(m_periods.size()))
        return {};
    return slice(*at, m_periods[size_t(p)].from, m_periods[size_t(p)].to);
}

std::pair<std::vector<qsizetype>::const_iterator, std::vector<qsizetype>::const_iterator> SaleBook::span(int p) const
{
    if (p < 0 || p >= qsizetype(m_periods.size()))
        return {m_byDate.end(), m_byDate.end()};
    const QString& from = m_periods[size_t(p)].from;
    const QString& to = m_periods[size_t(p)].to;
    const auto first = std::partition_point(m_byDate.begin(), m_byDate.end(), [&](qsizetype k) {
        return m_rows[size_t(k)].date.compare(to) > 0;
    });
    const auto last = std::partition_point(first, m_byDate.end(), [&](qsizetype k) {
        return from.compare(m_rows[size_t(k)].date) <= 0;
    });
    return {first, last};
}

std::vector<SaleRow> SaleBook::periodRows(int p) const
{
    const auto [first, last] = span(p);
    std::vector<SaleRow> out;
    out.reserve(size_t(last - first));
    for (auto it = first; it != last; ++it)
        out.push_back(m_rows[size_t(*it)]);
    return out;
}

QStringList SaleBook::periodTexts(int p) const
{
    if (p < 0)
        return m_texts;
    const auto [first, last] = span(p);
    return m_texts.mid(first - m_byDate.begin(), last - first);
}

qsizetype SaleBook::periodSize(int p) const
{
    const auto [first, last] = span(p);
    return last - first;
}

QStringList SaleBook::artNos(int p) const
{
    QStringList out;
    for (auto it = m_artisans.constBegin(); it != m_artisans.constEnd(); ++it)
        if (p < 0 ? it->last > it->first : !artisanRows(p, it.key()).empty())
            out << it.key();
    return out;
}
