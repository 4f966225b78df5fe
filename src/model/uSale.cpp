#include "model/uSale.h"

#include "core/appError.h"
#include "core/textUtil.h"
#include "core/valueStream.h"
#include "core/uXMLTag.h"
#include "model/uProd.h"
#include "model/uRep.h"
#include "model/saleRows.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void indexError(int i)
{
    throw AppError(u"List index out of bounds (%1)"_s.arg(i));
}

// The sale lines of a sheet; blank items (only a file written elsewhere
// holds them) are no sale and are left out.
QStringList linesOf(const QString& lines)
{
    QStringList out = readCommaList(lines);
    out.removeIf([](const QString& l) { return l.trimmed().isEmpty(); });
    return out;
}

// getCommaItem's rule on an already split line: the trimmed item, or the
// whole trimmed line past the end.
QString fieldOf(const QStringList& fields, const QString& line, int k)
{
    return k < fields.size() ? fields.at(k).trimmed() : line.trimmed();
}

} // namespace

namespace {

// QString::mid's rule on a view: past the end, nothing.
QStringView midOf(QStringView text, qsizetype pos, qsizetype n = -1)
{
    if (pos >= text.size())
        return {};
    return text.mid(pos, n < 0 ? -1 : std::min(n, text.size() - pos));
}

// formatSaleLine(m, line) for m of 1..3, appended to out: made in place, as
// it runs once per sale row of every period's rows.
void appendSaleLine(QString& out, int m, QStringView line)
{
    QVarLengthArray<QStringView, 8> f;
    QStringList held;
    commaViews(line, f, held);
    const QStringView pno = f.isEmpty() ? QStringView() : f.first();
    const auto [tag, artNo, prodNo] = TSaleList::splitKey(pno);
    if (m == 1) {
        appendCommaItem(out, tag);
        out += u',';
        appendCommaItem(out, midOf(pno, tag.size()));
    } else {
        appendCommaItem(out, artNo);
        out += u',';
        appendCommaItem(out, prodNo);
    }
    for (qsizetype k = m == 3 ? 3 : 1; k < f.size(); ++k) {
        out += u',';
        appendCommaItem(out, f.at(k));
    }
}

} // namespace

// --- TSaleItem ---------------------------------------------------------------

QString TSaleItem::record() const
{
    return date + REC_SEP + agent + REC_SEP + total + REC_SEP + lines;
}

void TSaleItem::setRecord(const QString& rec)
{
    // Each field runs to the next separator; once none is left, every later
    // field is all that remains.
    QStringView r(rec);
    for (QString* f : {&date, &agent, &total}) {
        const qsizetype at = r.indexOf(REC_SEP);
        *f = (at < 0 ? r : r.left(at)).toString();
        if (at >= 0)
            r = r.mid(at + REC_SEP.size());
    }
    // The lines are the last field: all that remains is theirs, so a
    // description holding the separator loses nothing.
    lines = r.size() == rec.size() ? rec : r.toString();
}

QString TSaleItem::storeProblem() const
{
    const QList<RecordField> f = recordFields();
    return recordFits(f, REC_SEP) ? QString() : recordProblem(u"Feuille %1"_s.arg(date), f, REC_SEP);
}

QList<RecordField> TSaleItem::recordFields() const
{
    return {{"date", date}, {"agent", agent}, {"total", total}, {"lines", lines, RecordField::Remainder}};
}

Money saleAmount(QStringView price, QStringView qnt)
{
    const Money unit = Money::parse(stripDollar(price.toString()).trimmed());
    return (unit * strToIntDef(qnt.trimmed(), 0)).roundedToCent();
}

Money sheetAmount(const TSaleItem& sheet)
{
    return amountOf(sheetRows(sheet));
}

bool dateInRange(const QString& date, const QString& from, const QString& to)
{
    return from.compare(date) <= 0 && date.compare(to) <= 0;
}

// --- TSaleList ---------------------------------------------------------------

TSaleList::TSaleList() = default;
TSaleList::~TSaleList() = default;

const TSaleItem& TSaleList::at(int i) const
{
    if (i < 0 || i >= count())
        indexError(i);
    m_current = m_sheets[size_t(i)].get();
    return *m_current;
}

TSaleItem& TSaleList::edit(int i)
{
    at(i); // an index outside the list is refused here
    ++m_revision;
    return *m_current;
}

void TSaleList::clear()
{
    m_sheets.clear();
    resultTotals.clear();
    ++m_revision;
    m_current = nullptr;
    curDate.clear();
    results.clear();
}

TSaleItem& TSaleList::append(std::unique_ptr<TSaleItem> sheet)
{
    ++m_revision;
    m_current = sheet.get();
    m_sheets.push_back(std::move(sheet));
    return *m_current;
}

void TSaleList::addSheet(const QString& date, const QString& agent)
{
    auto sheet = std::make_unique<TSaleItem>();
    sheet->date = date;
    sheet->agent = agent;
    m_current = sheet.get();
    m_sheets.insert(m_sheets.begin(), std::move(sheet));
    ++m_revision;
    curDate = date;
}

void TSaleList::removeSheet(int i)
{
    if (i < 0 || i >= count())
        indexError(i);
    if (m_current == m_sheets[size_t(i)].get())
        m_current = nullptr;
    if (m_sheets[size_t(i)]->date == curDate)
        curDate.clear();
    m_sheets.erase(m_sheets.begin() + i);
    ++m_revision;
}

int TSaleList::indexOfCurDate() const
{
    return indexOfDate(curDate);
}

int TSaleList::indexOfDate(const QString& date) const
{
    if (date.isEmpty())
        return -1;
    for (int i = count() - 1; i >= 0; --i) {
        if (m_sheets[size_t(i)]->date == date) {
            m_current = m_sheets[size_t(i)].get();
            return i;
        }
    }
    return -1;
}

QStringList TSaleList::sheetDates() const
{
    QStringList dates;
    dates.reserve(count());
    for (const auto& s : m_sheets)
        dates << s->date;
    return dates;
}

const TSaleItem& TSaleList::selectSheet(int i)
{
    // Showing a sheet changes nothing in it: the revision stays.
    const TSaleItem& s = at(i);
    curDate = s.date;
    return *m_sheets[size_t(i)];
}

QString TSaleList::sheetDate(int i) const
{
    return at(i).date;
}

QString TSaleList::sheetLines(int i) const
{
    return at(i).lines;
}

QString TSaleList::storeSheet(int i, const QString& date, const QString& agent,
                              const QString& total, const QStringList& saleLines)
{
    const QString lines = writeCommaList(saleLines);
    const TSaleItem& now = at(i);
    // Storing what the sheet already holds is no change: the revision stays.
    if (now.date != date || now.agent != agent || now.total != total || now.lines != lines) {
        TSaleItem& s = edit(i);
        s.date = date;
        s.agent = agent;
        s.total = total;
        s.lines = lines;
    }
    return curDate + u"à jour!"_s;
}

void TSaleList::setSheetDate(int i, const QString& date)
{
    edit(i).date = date;
}

void TSaleList::setSheetLines(int i, const QString& lines)
{
    edit(i).lines = lines;
}

QStringList TSaleList::saleLinesOf(int i) const
{
    return readCommaList(at(i).lines);
}

void TSaleList::sortByDate()
{
    // Dates of six digits (all the program writes) sort as numbers, in the
    // same order as their texts, without reaching into every text at each
    // comparison; any other date falls back to comparing the texts.
    std::vector<std::pair<int, std::unique_ptr<TSaleItem>>> keyed;
    keyed.reserve(m_sheets.size());
    bool numeric = true;
    for (auto& sheet : m_sheets) {
        int key = 0;
        const QString& d = sheet->date;
        numeric = numeric && d.size() == 6;
        for (qsizetype i = 0; numeric && i < 6; ++i) {
            const char16_t c = d.at(i).unicode();
            numeric = c >= u'0' && c <= u'9';
            key = key * 10 + (c - u'0');
        }
        keyed.emplace_back(key, std::move(sheet));
    }
    if (numeric) {
        // Keys below 10^6 < 2^20: two stable passes of ten bits each order
        // them in time linear in the sheets (newest first: on 999999 - key).
        decltype(keyed) other(keyed.size());
        for (const int shift : {0, 10}) {
            std::array<std::size_t, 1025> start{};
            const auto digit = [shift](int key) { return std::size_t((999999 - key) >> shift) & 1023; };
            for (const auto& k : keyed)
                ++start[digit(k.first) + 1];
            for (std::size_t d = 1; d < start.size(); ++d)
                start[d] += start[d - 1];
            for (auto& k : keyed)
                other[start[digit(k.first)]++] = std::move(k);
            keyed.swap(other);
        }
    } else
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
            return b.second->date.compare(a.second->date) < 0;
        });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        m_sheets[i] = std::move(keyed[i].second);
    ++m_revision;
}

// --- queries -----------------------------------------------------------------

QString TSaleList::sheetsInRange(const QString& from, const QString& to)
{
    QStringList rows;
    QList<Money> totals;
    for (const auto& s : m_sheets) {
        if (dateInRange(s->date, from, to)) {
            m_current = s.get();
            // The total from the lines: a sheet kept by an older version
            // left its returns out of the stored one.
            totals << sheetAmount(*s);
            // Written as a comma list so that an agent named with a blank or
            // a comma still reads back as one field.
            rows << writeCommaList({s->date, s->agent, totals.constLast().format()});
        }
    }
    results = std::move(rows);
    resultTotals = std::move(totals);
    return writeCommaList(results);
}

std::pair<QString, QString> TSaleList::dateSpan() const
{
    if (m_spanAt != m_revision) {
        m_spanAt = m_revision;
        m_span = {};
        for (const auto& s : m_sheets) {
            if (m_span.first.isNull() || s->date.compare(m_span.first) < 0)
                m_span.first = s->date;
            if (m_span.second.isNull() || s->date.compare(m_span.second) > 0)
                m_span.second = s->date;
        }
    }
    return m_span;
}

QString TSaleList::periodSheets(int p, const TRepList& reps, Prompt& prompt)
{
    const QString from = reps.periodField(p, 1, prompt);
    const QString to = reps.periodField(p, 2, prompt);
    return sheetsInRange(from, to);
}

std::pair<std::size_t, std::size_t> TSaleList::rangeSpan(const QString& from, const QString& to) const
{
    if (m_orderedAt != m_revision) {
        m_orderedAt = m_revision;
        m_newestFirst = std::is_sorted(m_sheets.begin(), m_sheets.end(), [](const auto& a, const auto& b) {
            return a->date.compare(b->date) > 0;
        });
    }
    if (!m_newestFirst)
        return {0, m_sheets.size()};
    // The same comparisons as dateInRange: the newest dates after to come
    // first, then those within, then those before from.
    const auto begin = m_sheets.begin();
    const auto first = std::partition_point(begin, m_sheets.end(), [&](const auto& s) {
        return s->date.compare(to) > 0;
    });
    const auto last = std::partition_point(first, m_sheets.end(), [&](const auto& s) {
        return from.compare(s->date) <= 0;
    });
    return {std::size_t(first - begin), std::size_t(last - begin)};
}

void TSaleList::fillSalesInRange(int m, const QString& from, const QString& to)
{
    std::vector<SheetRows> made;
    fillSalesInRange(m, from, to, results, made);
}

void TSaleList::fillSalesInRange(int m, const QString& from, const QString& to, QStringList& rows,
                                 std::vector<SheetRows>& made)
{
    rows.clear();
    made.resize(m_sheets.size());
    // Ten years hold tens of thousands of sheets: only those of the range
    // are read (every period used to read every sheet's date).
    const auto [first, last] = rangeSpan(from, to);
    QVarLengthArray<QStringView, 8> lines;
    QStringList held;
    for (std::size_t i = first; i < last; ++i) {
        const TSaleItem& s = *m_sheets[i];
        if (!dateInRange(s.date, from, to))
            continue;
        m_current = m_sheets[i].get();
        if (const SheetRows& had = made[i]; had.list) {
            for (qsizetype k = had.first; k < had.first + had.n; ++k)
                rows.append(had.list->at(k));
            continue;
        }
        commaViews(s.lines, lines, held);
        const qsizetype firstRow = rows.size();
        for (const QStringView line : std::as_const(lines)) {
            if (line.trimmed().isEmpty())
                continue; // linesOf's rule
            QString row;
            row.reserve(s.date.size() + line.size() + 8);
            row += s.date;
            row += u',';
            if (m >= 1 && m <= 3)
                appendSaleLine(row, m, line);
            else if (m == 0)
                row += line;
            rows << row;
        }
        made[i] = {&rows, firstRow, rows.size() - firstRow};
    }
}

QString TSaleList::salesInRange(int m, const QString& from, const QString& to)
{
    fillSalesInRange(m, from, to);
    return writeCommaList(results);
}

QString TSaleList::getAllSales(int m)
{
    results.clear();
    for (const auto& s : m_sheets) {
        m_current = s.get();
        const QStringList lines = linesOf(s->lines);
        for (const QString& line : lines)
            results << s->date + u',' + formatSaleLine(m, line);
    }
    return writeCommaList(results);
}

QString TSaleList::getPeriodSales(int m, int p, const TRepList& reps, Prompt& prompt)
{
    const QString from = reps.periodField(p, 1, prompt);
    const QString to = reps.periodField(p, 2, prompt);
    return salesInRange(m, from, to);
}

QString TSaleList::lineQuantity(int i, const QString& pno) const
{
    const QStringList lines = linesOf(at(i).lines);
    const TProductKey key = splitKey(pno);
    QString found;
    bool any = false;
    for (const QString& line : lines) {
        const QStringList f = readCommaList(line);
        if (keyNames(fieldOf(f, line, 0), key.artNo, key.prodNo)) {
            found = fieldOf(f, line, 3);
            any = true;
        }
    }
    return any ? u"Quant: "_s + found : QString();
}

QString TSaleList::sheetLineRows(int i, const QString& prefix, int flag) const
{
    // Its own rows: the ledger's results keep the last query's rows, which
    // getAllRange goes on filtering.
    QStringList rows;
    const TSaleItem& s = at(i);
    const QStringList lines = linesOf(s.lines);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (flag == 0)
            rows << u',' + s.date;
        else if (!prefix.isEmpty())
            rows << prefix + u",,"_s + s.date;
    }
    return writeCommaList(rows);
}

bool TSaleList::keyNames(const QString& pno, const QString& artNo, const QString& prodNo)
{
    const TProductKey key = splitKey(pno);
    return key.artNo == artNo && key.prodNo == prodNo;
}

TProductKey TSaleList::splitKey(const QString& pno)
{
    const TProductKeyView v = splitKey(QStringView(pno));
    return {v.tag.toString(), v.artNo.toString(), v.prodNo.toString()};
}

TProductKeyView TSaleList::splitKey(QStringView pno)
{
    // Keys are tag (6) + artisan number (3) + separator + product number (3);
    // when the tag is shorter the numbers are still found from the end.
    const qsizetype n = pno.size();
    if (n >= 7 && n != 13 && (pno.at(n - 4) == u'-' || pno.at(n - 4) == u'*'))
        return {pno.left(n - 7), pno.mid(n - 7, 3), pno.right(3)};
    return {midOf(pno, 0, 6), midOf(pno, 6, 3), midOf(pno, 10, 3)};
}

QString TSaleList::formatSaleLine(int m, const QString& line)
{
    if (m == 0)
        return line;
    if (m < 1 || m > 3)
        return {};
    QString out;
    appendSaleLine(out, m, line);
    return out;
}

QString TSaleList::linesXML(const TSaleItem& sheet)
{
    QString out;
    const QStringList lines = linesOf(sheet.lines);
    for (const QString& line : lines) {
        const QStringList f = readCommaList(line);
        out += u"\t\t<prod>"_s + TXMLUtil::xmlTag(u"aNo"_s, xmlEscape(fieldOf(f, line, 0)))
               + TXMLUtil::xmlTag(u"xStr"_s, xmlEscape(fieldOf(f, line, 3))) + u"</prod>\n"_s;
    }
    return out;
}

QString TSaleList::salesXML(const QString& from, const QString& to) const
{
    QString out;
    for (const auto& s : m_sheets) {
        if (!dateInRange(s->date, from, to))
            continue;
        m_current = s.get();
        out += u"<saleItem date=\""_s + xmlAttrEscape(s->date) + u"\">\n"_s;
        out += linesXML(*s);
        out += u"</saleItem>\n"_s;
    }
    return out;
}

// --- database file -----------------------------------------------------------

qsizetype TSaleList::recordSize() const
{
    qsizetype n = 0;
    for (const auto& s : m_sheets)
        n += s->date.size() + s->agent.size() + s->total.size() + s->lines.size() + 3 * REC_SEP.size() + 5;
    return n;
}

void TSaleList::writeSales(TWriter& w) const
{
    w.writeListBegin();
    for (const auto& s : m_sheets) {
        if (const QString why = s->storeProblem(); !why.isEmpty())
            throw AppError(why);
        w.writeString(s->record());
    }
    w.writeListEnd();
}

void TSaleList::readSales(TReader& r)
{
    clear();
    r.readListBegin();
    while (!r.endOfList()) {
        auto sheet = std::make_unique<TSaleItem>();
        sheet->setRecord(r.readString());
        if (const QString why = sheet->storeProblem(); !why.isEmpty())
            r.fail(why);
        append(std::move(sheet));
    }
    r.readListEnd();
}
