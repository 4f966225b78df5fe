#include "model/uRep.h"

#include "core/appError.h"
#include "core/money.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "core/valueStream.h"
#include "core/uXMLTag.h"
#include "model/uProd.h"
#include "model/uSale.h"

#include <QHash>
#include <QSet>

#include <algorithm>

#include <string_view>
#include <unordered_map>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void indexError(int i)
{
    throw AppError(u"List index out of bounds (%1)"_s.arg(i));
}

// getCommaItem's rule on an already split list: the trimmed item, or the
// whole trimmed text past the end.
QString itemOf(const QStringList& items, const QString& text, int k)
{
    return k < items.size() ? items.at(k).trimmed() : text.trimmed();
}

} // namespace

// --- TReport -----------------------------------------------------------------

QString TReport::record() const
{
    return title + REC_SEP + startDate + REC_SEP + endDate;
}

void TReport::setRecord(const QString& rec)
{
    QString r = rec;
    title = takeField(r, REC_SEP);
    startDate = takeField(r, REC_SEP);
    endDate = r; // the last field keeps all that remains
}

QString TReport::storeProblem() const
{
    return recordProblem(u"Période « %1 »"_s.arg(title), recordFields(), REC_SEP);
}

QList<RecordField> TReport::recordFields() const
{
    return {{"title", title}, {"startDate", startDate}, {"endDate", endDate, RecordField::Remainder}};
}

// --- TRepList: list ------------------------------------------------------------

TRepList::TRepList() = default;
TRepList::~TRepList() = default;

const TReport& TRepList::at(int i) const
{
    if (i < 0 || i >= count())
        indexError(i);
    followAll();
    m_current = m_reports[size_t(i)].get();
    return *m_current;
}

void TRepList::clear()
{
    m_reports.clear();
    rangeRows.clear();
    m_current = nullptr;
    curPeriod = -1;
    rangeLines.clear();
    titles.clear();
    selLines.clear();
    spareLines.clear();
    total.clear();
    ++m_revision;
}

// --- periods -------------------------------------------------------------------

void TRepList::addPeriod(const QString& title, const QString& start, const QString& end)
{
    auto rep = std::make_unique<TReport>();
    rep->title = title;
    rep->startDate = start;
    rep->endDate = end;
    m_current = rep.get();
    m_reports.push_back(std::move(rep));
    ++m_revision;
}

TReport& TRepList::edit(int i)
{
    at(i); // an index outside the list is refused here
    ++m_revision;
    return *m_current;
}

void TRepList::editPeriod(int i, const QString& title, const QString& start, const QString& end)
{
    TReport& rep = edit(i);
    rep.title = title;
    rep.startDate = start;
    rep.endDate = end;
    refreshTitles();
}

int TRepList::indexAfterDelete(int index, int deleted)
{
    if (index == deleted)
        return -1;
    return index > deleted ? index - 1 : index;
}

void TRepList::deletePeriod(int i, int* otherIndex)
{
    if (i < 0 || i >= count())
        indexError(i);
    if (m_current == m_reports[size_t(i)].get())
        m_current = nullptr;
    m_reports.erase(m_reports.begin() + i);
    ++m_revision;
    curPeriod = indexAfterDelete(curPeriod, i);
    if (otherIndex)
        *otherIndex = indexAfterDelete(*otherIndex, i);
    refreshTitles();
}

QString TRepList::periodField(int i, int which, Prompt& prompt) const
{
    if (i < 0 || i >= count()) {
        prompt.information(
            u"Période n° %1 introuvable : la liste en compte %2."_s.arg(i).arg(count()));
        return {};
    }
    const TReport& rep = at(i);
    switch (which) {
    case 0: return rep.title;
    case 1: return rep.startDate;
    case 2: return rep.endDate;
    default: return {};
    }
}

int TRepList::indexOfTitle(const QString& title) const
{
    for (int i = count() - 1; i >= 0; --i)
        if (m_reports[size_t(i)]->title == title)
            return i;
    return -1;
}

void TRepList::refreshTitles()
{
    titles.clear();
    for (const auto& rep : m_reports)
        titles << rep->title;
}

QString TRepList::defaultStartDate() const
{
    QString d = todayStr();
    if (!m_reports.empty())
        d = m_reports.back()->endDate;
    return d;
}

QString TRepList::nextDay(const QString& date)
{
    const QDate d = strToDate(date);
    if (!d.isValid())
        return date;
    return dateStr(d.addDays(1));
}

// --- period sales and consignment ------------------------------------------------

void TRepList::updateAllPeriod(const TSaleList& sales)
{
    if (m_reports.empty() || sales.isEmpty())
        return;
    if (fitAllPeriod(sales))
        return;
    const auto [oldest, newest] = sales.dateSpan();
    // From the oldest sheet's date to the newest one's, whether or not rows
    // were prepared: statements print both ends.
    addPeriod(ALL_PERIOD_TITLE, oldest, newest);
    refreshTitles();
}

bool TRepList::fitAllPeriod(const TSaleList& sales)
{
    const int i = indexOfTitle(ALL_PERIOD_TITLE);
    if (i < 0 || sales.isEmpty())
        return i >= 0;
    // The oldest and newest dates, whatever order the ledger is in.
    const auto [oldest, newest] = sales.dateSpan();
    const TReport& now = at(i);
    if (now.startDate == oldest && now.endDate == newest)
        return true; // no change: the revision stays
    TReport& all = edit(i);
    all.startDate = oldest;
    all.endDate = newest;
    return true;
}

void TRepList::followAll() const
{
    if (!m_ledger || (m_fittedSales == m_ledger->revision() && m_fittedReps == m_revision))
        return;
    m_fittedSales = m_ledger->revision();
    m_fittedReps = m_revision;
    const int i = indexOfTitle(ALL_PERIOD_TITLE);
    if (i < 0 || m_ledger->isEmpty())
        return;
    // Follows the ledger, which changed: no change of the periods' own, so
    // their revision stays (what is computed from both follows the ledger's).
    const auto [oldest, newest] = m_ledger->dateSpan();
    TReport& all = *m_reports[size_t(i)];
    all.startDate = oldest;
    all.endDate = newest;
}

const SaleBook& TRepList::book(const TSaleList& sales) const
{
    followAll();
    m_book.sync(sales, *this);
    return m_book;
}

void TRepList::prepareLines(TSaleList& sales)
{
    // Each row's text is made once, by the book: the periods' rows are
    // ranges of the ledger's, newest first ("-[tout]-" holds them all).
    const SaleBook& b = book(sales);
    // Made whole before anything is replaced.
    std::vector<QStringList> lines(m_reports.size());
    for (size_t p = 0; p < m_reports.size(); ++p)
        lines[p] = b.periodTexts(int(p));
    m_linesSales = sales.revision();
    m_linesReps = m_revision;
    for (size_t p = 0; p < m_reports.size(); ++p)
        m_reports[p]->periodLines = std::move(lines[p]);
    selLines.clear();
    sales.results.clear();
    if (m_reports.empty())
        return;
    m_current = m_reports.back().get();
    selLines = m_current->periodLines;
    sales.results = selLines;
}

bool TRepList::linesCurrent(const TSaleList& sales) const
{
    return m_linesSales == sales.revision() && m_linesReps == m_revision;
}

void TRepList::ensureLines(TSaleList& sales)
{
    if (!linesCurrent(sales))
        prepareLines(sales);
}

void TRepList::setConsigne(const QString& artNo, int i, TSaleList& sales, QStringList& xmlDataLines)
{
    xmlDataLines.clear();
    at(i); // current := period i; an index outside the list is refused here
    const SaleBook& b = book(sales);
    if (b.periodSize(i) == 0) {
        selLines.clear();
        return; // rangeLines and total stay as they were
    }
    ensureLines(sales);
    selLines = at(i).periodLines;
    // Made whole first: an amount that cannot be held changes nothing.
    const std::span<const SaleRow> rows = b.artisanRows(i, artNo);
    const Money sum = amountOf(rows);
    QStringList xml;
    xml.reserve(qsizetype(rows.size()));
    for (const SaleRow& r : rows)
        xml << r.xml();
    rangeRows = QList<SaleRow>(rows.begin(), rows.end());
    rangeLines = b.rowTexts(rows); // the period's own texts, not copies
    xmlDataLines = std::move(xml);
    total = sum.format();
}

void TRepList::checkConsignes(const QStringList& artNos, int i, const TSaleList& sales) const
{
    if (artNos.isEmpty())
        return;
    at(i);
    const SaleBook& b = book(sales);
    if (b.periodSize(i) == 0)
        return;
    QSet<QString> seen;
    for (const QString& a : artNos)
        if (!seen.contains(a)) {
            seen.insert(a);
            amountOf(b.artisanRows(i, a));
        }
}

QString TRepList::getAllRange(int i, TSaleList& sales)
{
    rangeLines.clear();
    rangeRows.clear();
    if (i < 0)
        return {};
    at(i);
    // The ledger's results hold every sale, as the technical view lists them.
    sales.getAllSales(2);
    const SaleBook& b = book(sales);
    std::vector<SaleRow> rows = b.periodRows(i);
    amountOf(rows);
    rangeLines = b.periodTexts(i);
    rangeRows = QList<SaleRow>(rows.begin(), rows.end());
    return writeCommaList(rangeLines);
}

void TRepList::allTrans(const QString& artNo, TSaleList& sales)
{
    rangeLines.clear();
    for (int i = 0; i < sales.count(); ++i) {
        const QString rows = sales.sheetLineRows(i, artNo, 0);
        if (!rows.isEmpty())
            rangeLines << dequote(rows);
    }
}

QString TRepList::xmlDataLine(const QString& row)
{
    return xmlDataLine(readCommaList(row));
}

QString TRepList::xmlDataLine(const QStringList& values)
{
    QVarLengthArray<QStringView, 8> views;
    for (const QString& v : values)
        views.append(v);
    return xmlDataLine(std::span<const QStringView>(views.constData(), size_t(views.size())));
}

QString TRepList::xmlDataLine(std::span<const QStringView> values)
{
    // A six-field row has no artisan number.
    static const QString seven[] = {u"date"_s, u"aNo"_s, u"pNo"_s, u"descript"_s,
                                    u"valeur"_s, u"qnt"_s, u"tot"_s};
    static const QString six[] = {u"date"_s, u"pNo"_s, u"descript"_s,
                                  u"valeur"_s, u"qnt"_s, u"tot"_s};
    const QString* names = values.size() < 7 ? six : seven;
    const qsizetype n = std::min<qsizetype>(qsizetype(values.size()), values.size() < 7 ? 6 : 7);
    // Built in place and to size (escapes aside): this runs once per sale
    // row of a consignment, and every artisan sharing a number keeps them.
    qsizetype size = 0;
    for (qsizetype k = 0; k < n; ++k)
        size += values[size_t(k)].isEmpty() ? names[k].size() + 3 : 2 * names[k].size() + 5 + values[size_t(k)].size();
    QString line;
    line.reserve(size);
    for (qsizetype k = 0; k < n; ++k) {
        const QStringView value = values[size_t(k)];
        line += QLatin1Char('<');
        line += names[k];
        if (value.isEmpty()) {
            line += u"/>"_s;
            continue;
        }
        line += QLatin1Char('>');
        appendXmlEscaped(line, value);
        line += u"</"_s;
        line += names[k];
        line += QLatin1Char('>');
    }
    return line;
}

void TRepList::XMLData(const QString& row, QStringList& xmlDataLines)
{
    xmlDataLines << xmlDataLine(row);
}

QList<int> TRepList::exportedPeriods() const
{
    followAll();
    QList<int> out;
    for (int p = 0; p < count(); ++p)
        if (m_reports[size_t(p)]->title != ALL_PERIOD_TITLE)
            out << p;
    return out;
}

void TRepList::fillTallies(const TSaleList& sales)
{
    followAll();
    const QList<int> exported = exportedPeriods();
    for (const auto& rep : m_reports)
        rep->tallies.clear();
    for (qsizetype col = 0; col < exported.size(); ++col) {
        TReport& rep = *m_reports[size_t(exported.at(col))];
        QStringList keys;
        // A product is its artisan and product numbers: lines written before
        // and after a rename (other tags) add up under the first key seen.
        QHash<QString, QString> keyOf;
        QHash<QString, qint64> sold;
        for (int s = 0; s < sales.count(); ++s) {
            const TSaleItem& sheet = sales.at(s);
            if (!dateInRange(sheet.date, rep.startDate, rep.endDate))
                continue;
            const QStringList lines = readCommaList(sheet.lines);
            for (const QString& line : lines) {
                const QStringList f = readCommaList(line);
                const QString pno = itemOf(f, line, 0);
                if (line.trimmed().isEmpty() || pno.isEmpty())
                    continue;
                const TProductKey k = TSaleList::splitKey(pno);
                // A key without both numbers stands for itself.
                const QString number = k.artNo.size() == 3 && k.prodNo.size() == 3
                                           ? k.artNo + u'-' + k.prodNo
                                           : u'?' + pno;
                const auto seen = keyOf.constFind(number);
                const QString key = seen == keyOf.constEnd() ? pno : *seen;
                if (seen == keyOf.constEnd()) {
                    keyOf.insert(number, pno);
                    keys << key;
                }
                sold[key] += strToIntDef(itemOf(f, line, 3), 0);
            }
        }
        for (const QString& key : std::as_const(keys)) {
            QStringList row(key);
            const QString q = QString::number(sold.value(key));
            for (qsizetype c = 0; c < exported.size(); ++c)
                row << (c == col ? q : u"0"_s);
            row << q;
            rep.tallies << writeCommaList(row);
        }
    }
}

void TRepList::sortTallies()
{
    for (const auto& rep : m_reports)
        sortTextList(rep->tallies);
}

// --- database file -----------------------------------------------------------

void TRepList::writeReports(TWriter& w) const
{
    followAll();
    w.writeInteger(curPeriod);
    w.writeListBegin();
    for (const auto& rep : m_reports) {
        if (const QString why = rep->storeProblem(); !why.isEmpty())
            throw AppError(why);
        w.writeString(rep->record());
    }
    w.writeListEnd();
}

void TRepList::readReports(TReader& r)
{
    clear();
    curPeriod = r.readInteger();
    r.readListBegin();
    while (!r.endOfList()) {
        auto rep = std::make_unique<TReport>();
        rep->setRecord(r.readString());
        if (const QString why = rep->storeProblem(); !why.isEmpty())
            r.fail(why);
        m_current = rep.get();
        m_reports.push_back(std::move(rep));
    }
    ++m_revision;
    r.readListEnd();
}
