#include "model/saleRows.h"

#include "core/appError.h"
#include "core/textPool.h"
#include "core/textUtil.h"
#include "model/uRep.h"
#include "model/uSale.h"

#include <QSet>

#include <algorithm>
#include <charconv>
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
    if (r.fault)
        return;
    auto* f = new SaleRow::Fault;
    f->french = french.arg(key, r.date);
    f->english = english.arg(key, r.date);
    r.fault = QExplicitlySharedDataPointer<const SaleRow::Fault>(f);
}

} // namespace

void SaleRow::check() const
{
    if (fault)
        throw RangeError(fault->french, fault->english);
}

QString SaleRow::text() const
{
    QString out;
    out.reserve(date.size() + descript.size() + 40);
    appendText(out);
    return out;
}

void SaleRow::appendText(QString& out) const
{
    // A row whose amount cannot be held has none to show: whatever prints
    // or sums it checks it first. Made in place: it runs once per sale row.
    appendCommaItem(out, date);
    for (const QStringView v : {QStringView(artNo), QStringView(prodNo), QStringView(descript)}) {
        out += u',';
        appendCommaItem(out, v);
    }
    // Numbers never need quotes.
    out += u',';
    price.appendFormatExact(out);
    out += u',';
    char digits[24];
    out += QLatin1StringView(digits, std::to_chars(digits, digits + sizeof digits, qnt).ptr);
    out += u',';
    if (!fault)
        amount.appendFormat(out);
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

SaleRow makeSaleRow(const QString& date, QStringView line, TextPool* pool)
{
    const auto text = [pool](QStringView v) { return pool ? pool->get(v) : v.toString(); };
    QVarLengthArray<QStringView, 8> f;
    QStringList held;
    commaViews(line, f, held);
    const auto field = [&](qsizetype k) { return k < f.size() ? f.at(k) : QStringView(); };
    SaleRow r;
    r.date = date;
    const QStringView pno = field(0).trimmed();
    const TProductKeyView key = TSaleList::splitKey(pno);
    r.tag = text(key.tag);
    r.artNo = text(key.artNo);
    r.prodNo = text(key.prodNo);
    r.descript = text(field(1));
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

namespace {

// Appends the rows of sheet to rows (blank lines are no sale).
void appendSheetRows(const TSaleItem& sheet, TextPool* pool, std::vector<SaleRow>& rows)
{
    QVarLengthArray<QStringView, 8> lines;
    QStringList held;
    commaViews(sheet.lines, lines, held);
    // With a pool, the rows share a copy of the date made beside their other
    // texts: the sheet's own sits among the ledger's lines, far from them.
    const QString date = pool ? QString(sheet.date.constData(), sheet.date.size()) : sheet.date;
    for (const QStringView line : std::as_const(lines))
        if (!line.trimmed().isEmpty())
            rows.push_back(makeSaleRow(date, line, pool));
}

} // namespace

std::vector<SaleRow> sheetRows(const TSaleItem& sheet, TextPool* pool)
{
    std::vector<SaleRow> rows;
    appendSheetRows(sheet, pool, rows);
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
            if (r.fault) {
                out << (french ? r.fault->french : r.fault->english);
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
        // Room for every line, counted first: growing the rows by doubling
        // held up to three times their size at the last step.
        qsizetype lineCount = 0;
        {
            QVarLengthArray<QStringView, 8> lines;
            QStringList held;
            for (int i = 0; i < sales.count(); ++i) {
                lines.clear();
                held.clear();
                commaViews(sales.at(i).lines, lines, held);
                lineCount += lines.size();
            }
        }
        // The rows' room is kept from the last time when it is about right:
        // memory already in use is filled faster than fresh pages.
        m_rows.clear();
        if (m_rows.capacity() > 2 * size_t(lineCount))
            m_rows.shrink_to_fit();
        m_rows.reserve(size_t(lineCount));
        // Read newest first. Equal texts of the rows share one copy: the book
        // holds a few per product instead of four per row, and a consignment
        // reads them from a few places.
        {
            TextPool pool;
            for (const int i : order)
                appendSheetRows(sales.at(i), &pool, m_rows);
        }
        // In date order until an artisan's rows are asked for: the periods'
        // texts, made after each edit of a sheet, read them front to back.
        m_byDate.resize(m_rows.size());
        std::iota(m_byDate.begin(), m_byDate.end(), 0);
        m_place.clear(); // made by group()
        m_grouped = false;
        m_artisans.clear();
        m_texts.clear();
        m_textsMade = false;
    }
    if (ledgerMoved || m_reps != reps.revision()) {
        m_reps = reps.revision();
        m_periods.clear();
        for (int p = 0; p < reps.count(); ++p) {
            const TReport& rep = reps.at(p);
            m_periods.push_back({rep.startDate, rep.endDate, {}, false});
        }
    }
}

void SaleBook::group() const
{
    if (m_grouped)
        return;
    // Each artisan's rows side by side, in the order met; each row's
    // artisan is looked up once (to holds its index meanwhile).
    QHash<QString, qint32> index;
    std::vector<Range> ranges;
    QStringList met;
    std::vector<qint32> to(m_rows.size());
    for (size_t k = 0; k < m_rows.size(); ++k) {
        const QString& a = m_rows[k].artNo;
        auto at = index.constFind(a);
        if (at == index.cend()) {
            at = index.insert(a, qint32(met.size()));
            met << a;
            ranges.emplace_back();
        }
        to[k] = *at;
        ++ranges[size_t(*at)].last;
    }
    qsizetype pos = 0;
    for (Range& r : ranges) {
        const qsizetype n = r.last;
        r.first = r.last = pos;
        pos += n;
    }
    for (size_t k = 0; k < m_rows.size(); ++k)
        to[k] = qint32(ranges[size_t(to[k])].last++);
    // All that may fail is made before anything moves. The rows are in date
    // order: row k goes to to[k], and its text stays where it is.
    QHash<QString, Range> artisans;
    artisans.reserve(met.size());
    for (size_t i = 0; i < ranges.size(); ++i)
        artisans.insert(met.at(qsizetype(i)), ranges[i]);
    std::vector<qint32> byDate = to;
    std::vector<qint32> place(to.size());
    for (size_t k = 0; k < to.size(); ++k)
        place[size_t(to[k])] = qint32(k);
    // The rows moved to their places by swaps along each cycle of the
    // permutation: no second copy of every row.
    // Each cycle is walked a few rows ahead of the swaps, and the rows
    // it reaches are fetched meanwhile: a large ledger's rows are far
    // apart, and each swap would otherwise wait for the next row.
    constexpr int ahead = 16;
    const auto fetch = [this](size_t t) {
        const char* row = reinterpret_cast<const char*>(&m_rows[t]);
        for (size_t b = 0; b < sizeof(SaleRow); b += 64)
            __builtin_prefetch(row + b, 1);
    };
    for (size_t k = 0; k < to.size(); ++k) {
        size_t next = size_t(to[k]);
        for (int d = 0; d < ahead && next != k; ++d) {
            fetch(next);
            next = size_t(to[next]);
        }
        while (to[k] != qint32(k)) {
            if (next != k) {
                fetch(next);
                next = size_t(to[next]);
            }
            const size_t t = size_t(to[k]);
            std::swap(m_rows[k], m_rows[t]);
            std::swap(to[k], to[t]);
        }
    }
    m_artisans.swap(artisans);
    m_byDate.swap(byDate);
    m_place.swap(place);
    m_grouped = true;
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
    for (const qint32 k : m_byDate)
        out.push_back(m_rows[size_t(k)]);
    return out;
}

std::span<const SaleRow> SaleBook::artisanRows(const QString& artNo) const
{
    group();
    const auto at = m_artisans.constFind(artNo);
    if (at == m_artisans.constEnd())
        return {};
    return {m_rows.data() + at->first, size_t(at->last - at->first)};
}

std::span<const SaleRow> SaleBook::artisanRows(int p, const QString& artNo) const
{
    group();
    const auto at = m_artisans.constFind(artNo);
    if (at == m_artisans.constEnd() || p < 0 || p >= qsizetype(m_periods.size()))
        return {};
    return slice(*at, m_periods[size_t(p)].from, m_periods[size_t(p)].to);
}

std::pair<std::vector<qint32>::const_iterator, std::vector<qint32>::const_iterator> SaleBook::span(int p) const
{
    if (p < 0 || p >= qsizetype(m_periods.size()))
        return {m_byDate.end(), m_byDate.end()};
    const QString& from = m_periods[size_t(p)].from;
    const QString& to = m_periods[size_t(p)].to;
    const auto first = std::partition_point(m_byDate.begin(), m_byDate.end(), [&](qint32 k) {
        return m_rows[size_t(k)].date.compare(to) > 0;
    });
    const auto last = std::partition_point(first, m_byDate.end(), [&](qint32 k) {
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

void SaleBook::makeTexts() const
{
    if (m_textsMade)
        return;
    // The texts are made in date order into buffers of some 64 KiB, each
    // text followed by a '\0' as any string's is, and each row's text is a
    // string over its part of a buffer. The texts of a buffer share its one
    // count: copying them into a period's or a consignment's list touches a
    // few places, not one allocation per row scattered over the heap, and
    // making them takes no allocation per row. A buffer goes with its last
    // text. (Buffers this small are taken from memory the program already
    // holds; one buffer of every text would come from fresh pages.)
    constexpr qsizetype bufferChars = 32 * 1024;
    const qsizetype n = qsizetype(m_rows.size());
    QStringList texts;
    texts.reserve(n);
    QString buffer;
    std::vector<std::pair<qsizetype, qsizetype>> parts; // of buffer: start, size
    const auto share = [&] {
        QStringPrivate& d = buffer.data_ptr();
        for (const auto& [start, size] : parts) {
            d.d_ptr()->ref();
            texts.append(QString(QStringPrivate(d.d_ptr(), d.data() + start, size)));
        }
        parts.clear();
    };
    QString made;
    for (qsizetype j = 0; j < n; ++j) {
        made.resize(0);
        m_rows[size_t(m_byDate[size_t(j)])].appendText(made);
        if (buffer.size() + made.size() + 1 > buffer.capacity()) {
            share();
            buffer = QString();
            buffer.reserve(std::max(bufferChars, made.size() + 1));
        }
        parts.emplace_back(buffer.size(), made.size());
        buffer.append(made.constData(), made.size());
        buffer.append(QChar(u'\0'));
    }
    share();
    m_texts = std::move(texts);
    m_textsMade = true;
}

QStringList SaleBook::rowTexts(std::span<const SaleRow> rows) const
{
    if (rows.empty())
        return {};
    makeTexts();
    QStringList out;
    out.reserve(qsizetype(rows.size()));
    const size_t first = size_t(rows.data() - m_rows.data());
    const size_t end = first + rows.size();
    // The texts lie in date order, an artisan's far apart in the list: each
    // is fetched a few rows ahead.
    constexpr size_t ahead = 16;
    for (size_t k = first; k < end; ++k) {
        if (k + ahead < end)
            __builtin_prefetch(m_texts.constData() + m_place[k + ahead]);
        out.append(m_texts.at(m_place[k]));
    }
    return out;
}

QStringList SaleBook::periodTexts(int p) const
{
    makeTexts();
    if (p < 0)
        return m_texts;
    if (p >= qsizetype(m_periods.size()))
        return {};
    // Kept: the periods' lists are asked for again at every preparation.
    const Period& period = m_periods[size_t(p)];
    if (!period.made) {
        // A range of the texts in date order ("-[tout]-", and any period
        // holding every row, shares the whole list).
        const auto [first, last] = span(p);
        period.texts = m_texts.mid(first - m_byDate.begin(), last - first);
        period.made = true;
    }
    return period.texts;
}

qsizetype SaleBook::periodSize(int p) const
{
    const auto [first, last] = span(p);
    return last - first;
}

QStringList SaleBook::artNos(int p) const
{
    group();
    QStringList out;
    for (auto it = m_artisans.constBegin(); it != m_artisans.constEnd(); ++it)
        if (p < 0 ? it->last > it->first : !artisanRows(p, it.key()).empty())
            out << it.key();
    return out;
}
