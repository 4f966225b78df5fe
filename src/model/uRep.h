#pragma once
// The periods (named date ranges over which sales are settled with the
// artisans), with their section of the database file, and what a period
// holds of the sales ledger: its sale rows, tallies and consignments.

#include "core/money.h"
#include "model/saleRows.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

struct RecordField;
class Prompt;
class TReader;
class TSaleList;
class TWriter;

// Title of the all-sales period that spans the whole ledger.
inline const QString ALL_PERIOD_TITLE = QStringLiteral("-[tout]-");
// Field names of a period's sale rows (line format 2 with the date first).
inline const QString PERIOD_ROW_FIELDS = QStringLiteral("date,aNo,pNo,descript,valeur,qnt,tot");

// One period: a titled range of dates with its sale rows and product tallies.
class TReport {
public:
    QString title;
    QString startDate; // "yymmdd"
    QString endDate;   // "yymmdd"
    QStringList periodLines; // sale rows "date,aNo,pNo,descript,valeur,qnt,tot"
    QStringList tallies;     // "key,q0,...,qN-1,total" per product key sold

    // title|:|startDate|:|endDate, the form stored in the database file.
    QString record() const;
    void setRecord(const QString& rec);
    // recordProblem of the three fields, owner "Période « <title> »".
    QString storeProblem() const;
    QList<RecordField> recordFields() const;
};

// The program's list of periods, in the order they were added.
class TRepList {
public:
    TRepList();
    ~TRepList();
    TRepList(const TRepList&) = delete;
    TRepList& operator=(const TRepList&) = delete;

    int curPeriod = -1;     // period chosen in the sales window
    QStringList rangeLines; // result of the consignment queries
    QStringList titles;     // the titles in list order (refreshTitles)
    QStringList selLines;   // sale rows of the period chosen last
    QStringList spareLines;
    QString total;          // "0.00$" total of the last consignment
    // The rows of rangeLines, typed: what the statements and windows print
    // (shared: every artisan of a number hands on the same rows).
    QList<SaleRow> rangeRows;

    // --- list ---
    int count() const { return int(m_reports.size()); }
    bool isEmpty() const { return m_reports.empty(); }
    // AppError "List index out of bounds (i)" outside the list.
    const TReport& at(int i) const;
    const TReport* current() const { return m_current; }
    // Advanced by every operation that changes a period; reading never moves it.
    quint64 revision() const { return m_revision; }
    void clear(); // curPeriod := -1 as well
    // The ledger "-[tout]-" follows: from then on, whenever the ledger
    // changed, the period spans it again before anything reads a period.
    void followLedger(const TSaleList* sales) { m_ledger = sales; }
    // The typed rows of the ledger, per artisan and period, brought up to
    // the ledger and the periods as they stand.
    const SaleBook& book(const TSaleList& sales) const;

    // --- periods ---
    void addPeriod(const QString& title, const QString& start, const QString& end);
    void editPeriod(int i, const QString& title, const QString& start, const QString& end);
    // Removes period i; curPeriod (and *otherIndex, the window's curCIndex,
    // when given) keep naming the same period, or -1 when it was period i.
    void deletePeriod(int i, int* otherIndex = nullptr);
    // Title (0), start (1) or end (2) of period i. Outside the list, shows
    // "Période n° i introuvable : la liste en compte N." and returns "".
    QString periodField(int i, int which, Prompt& prompt) const;
    int indexOfTitle(const QString& title) const;
    void refreshTitles();
    // The end of the last period, or today when there is none.
    QString defaultStartDate() const;
    // The day after a "yymmdd" date (years 2000..2099); a text that is not
    // a date comes back unchanged.
    static QString nextDay(const QString& date);
    // Where an index stands once the period at deleted is gone.
    static int indexAfterDelete(int index, int deleted);

    // --- period sales and consignment ---
    // Creates or brings up to date the "-[tout]-" period from the ledger's
    // oldest and newest sheets.
    void updateAllPeriod(const TSaleList& sales);
    // Only brings an existing "-[tout]-" to the ledger's dates (files written
    // before kept an empty start); false when there is none.
    bool fitAllPeriod(const TSaleList& sales);
    // Each period's sale rows (periodLines) from the ledger, computed now.
    void prepareLines(TSaleList& sales);
    // Whether the periods' rows were prepared from the ledger and the periods
    // as they stand (the revisions they were prepared at are still theirs).
    bool linesCurrent(const TSaleList& sales) const;
    // prepareLines unless linesCurrent: callers never reset anything.
    void ensureLines(TSaleList& sales);
    // One artisan's rows of period i into rangeLines, their XML data lines
    // into xmlDataLines and their sum into total.
    void setConsigne(const QString& artNo, int i, TSaleList& sales, QStringList& xmlDataLines);
    // Every artisan's consignment of period i: for each k, once the rows of
    // artNos[k] are in rangeLines, total and xmlDataLines (as setConsigne
    // leaves them), calls each(k). The artisans sharing a number come one
    // after the other, at the place of the first of them.
    template <typename Fn>
    void forEachConsigne(const QStringList& artNos, int i, TSaleList& sales,
                         QStringList& xmlDataLines, Fn each);
    // Throws what forEachConsigne would (an index outside the list, an
    // amount that cannot be held) without making any consignment.
    void checkConsignes(const QStringList& artNos, int i, const TSaleList& sales) const;
    QString getAllRange(int i, TSaleList& sales);
    void allTrans(const QString& artNo, TSaleList& sales);
    // The row's XML data line, each value escaped.
    static QString xmlDataLine(const QString& row);
    static QString xmlDataLine(const QStringList& values);
    static QString xmlDataLine(std::span<const QStringView> values);
    static void XMLData(const QString& row, QStringList& xmlDataLines);

    // The periods the sales export holds: all but "-[tout]-", which only
    // repeats them (wherever it stands in the list).
    QList<int> exportedPeriods() const;
    // Fills the tallies of the exported periods from the ledger, one row per
    // product key sold: the key, one quantity per exported period (this
    // period's in its column, 0 elsewhere) and the period's total.
    void fillTallies(const TSaleList& sales);
    // Each period's tallies in text order, as the sales export lists them.
    void sortTallies();

    // --- database file ---
    void writeReports(TWriter& w) const;
    // Replaces the list by the section read; on a read error the periods read
    // so far stay.
    void readReports(TReader& r);

private:
    // Period i to be changed: advances the revision.
    TReport& edit(int i);
    // "-[tout]-" from the ledger's oldest to its newest sheet, when the
    // ledger followed changed since it was last fitted.
    void followAll() const;

    std::vector<std::unique_ptr<TReport>> m_reports;
    mutable TReport* m_current = nullptr;
    quint64 m_revision = 1;
    // The ledger's and the periods' revisions the rows were prepared at; 0: never.
    quint64 m_linesSales = 0;
    quint64 m_linesReps = 0;
    const TSaleList* m_ledger = nullptr;
    mutable quint64 m_fittedSales = 0;
    mutable quint64 m_fittedReps = 0;
    mutable SaleBook m_book;
};

template <typename Fn>
void TRepList::forEachConsigne(const QStringList& artNos, int i, TSaleList& sales,
                               QStringList& xmlDataLines, Fn each)
{
    // A number several artisans share (three digits: a large boutique's
    // numbers wrap around) has its consignment made once, and its artisans
    // are visited together at the place of the first: the consignment is let
    // go before the next number's is made, so only one is ever held.
    QHash<QString, QList<qsizetype>> others;
    for (qsizetype k = 0; k < artNos.size(); ++k)
        if (const auto at = others.find(artNos.at(k)); at != others.end())
            at->append(k);
        else
            others.insert(artNos.at(k), {});
    for (qsizetype k = 0; k < artNos.size(); ++k) {
        const auto at = others.find(artNos.at(k));
        if (at == others.end())
            continue; // visited with the first artisan of its number
        const QList<qsizetype> same = std::move(*at);
        others.erase(at);
        setConsigne(artNos.at(k), i, sales, xmlDataLines);
        if (same.isEmpty()) {
            each(k);
            continue;
        }
        // Shared copies, given back before each artisan in case one changed them.
        const QStringList rows = rangeLines;
        const QStringList xml = xmlDataLines;
        const QList<SaleRow> typed = rangeRows;
        const QString sum = total;
        each(k);
        for (const qsizetype o : same) {
            rangeLines = rows;
            xmlDataLines = xml;
            rangeRows = typed;
            total = sum;
            each(o);
        }
    }
}
