#pragma once
// The typed sale rows every report reads: each sale line of the ledger made
// once into numbers, with its amount rounded once to the cent, and the book
// that keeps them per artisan and period.

#include "core/money.h"

#include <QHash>
#include <QString>
#include <QExplicitlySharedDataPointer>
#include <QStringList>
#include <span>
#include <vector>

class TRepList;
class TSaleList;
class TSaleItem;
class TextPool;

// One sale line of a sheet, as every report prints it.
struct SaleRow {
    QString date; // the sheet's, "yymmdd"
    QString artNo;
    QString prodNo;
    QString tag;
    QString descript;
    Money price;   // the unit price, with every decimal it holds
    qint64 qnt = 0;
    Money amount;  // price x qnt, rounded once to the cent
    Money due;     // the artisan's share of amount (set by shareOf)
    // Why the amount cannot be held, in French and in English; none when it
    // can (nearly every row: one pointer keeps the book small).
    struct Fault : QSharedData {
        QString french;
        QString english;
    };
    QExplicitlySharedDataPointer<const Fault> fault;

    // RangeError with the fault, when there is one.
    void check() const;
    QString priceText() const { return price.formatExact(); }
    // "date,aNo,pNo,descript,valeur,qnt,tot", the period row of the line
    // (tot empty when the amount cannot be held).
    QString text() const;
    void appendText(QString& out) const;
    // The row's XML data line (<date>...<tot>), each value escaped.
    QString xml() const;
};

// The one function that reads a sale line: the row of line on a sheet dated
// date. A price or a quantity that is not a number counts 0; one beyond the
// range the program holds makes a row with a fault.
// pool, when given, keeps one copy of each number, tag and description.
SaleRow makeSaleRow(const QString& date, QStringView line, TextPool* pool = nullptr);
// The rows of a sheet, in line order (blank lines are no sale).
std::vector<SaleRow> sheetRows(const TSaleItem& sheet, TextPool* pool = nullptr);

// The sum of the rows' amounts (and of their shares); RangeError when a row
// or the sum cannot be held.
Money amountOf(std::span<const SaleRow> rows);
Money dueOf(std::span<const SaleRow> rows);
// Units sold, returns taken off; RangeError when the sum cannot be held.
qint64 unitsOf(std::span<const SaleRow> rows);

// Where a sheet's or a line's stored total differs from its lines (a file
// the program did not write): one text per difference, in English or French.
QStringList storedTotalDifferences(const TSaleList& sales, bool french);

// Every sale row of the ledger, kept by artisan and sliced by period: made
// again only when the ledger's revision moved, sliced again only when the
// periods' did. Rows run newest sheet first whatever the ledger's order.
class SaleBook {
public:
    // Brings the book up to the ledger and the periods.
    void sync(const TSaleList& sales, const TRepList& reps);

    // Every row, newest sheet first (lines in sheet order).
    std::vector<SaleRow> allRows() const;
    // The period rows' texts (SaleRow::text) of period p, newest first
    // (every row when p < 0): made once per ledger revision, shared by the
    // periods that list them.
    QStringList periodTexts(int p) const;
    // The rows of artisan artNo over the whole ledger, newest first.
    std::span<const SaleRow> artisanRows(const QString& artNo) const;
    // Its rows of period p, newest first.
    std::span<const SaleRow> artisanRows(int p, const QString& artNo) const;
    // The texts (SaleRow::text) of rows, a span of this book's rows (as
    // artisanRows gives): the very texts the periods list.
    QStringList rowTexts(std::span<const SaleRow> rows) const;
    // Every row of period p, newest first.
    std::vector<SaleRow> periodRows(int p) const;
    // How many rows period p holds.
    qsizetype periodSize(int p) const;
    // The artisan numbers with rows in period p (every period when p < 0).
    QStringList artNos(int p) const;
    bool soldAnywhere(const QString& artNo) const
    {
        group();
        return m_artisans.contains(artNo);
    }

private:
    struct Range {
        qsizetype first = 0;
        qsizetype last = 0;
    };
    // rows [first, last) of an artisan's range dated within [from, to].
    std::span<const SaleRow> slice(Range r, const QString& from, const QString& to) const;
    // Positions in m_byDate of period p's rows.
    std::pair<std::vector<qint32>::const_iterator, std::vector<qint32>::const_iterator> span(int p) const;

    quint64 m_sales = 0; // revisions synced at; 0: never
    quint64 m_reps = 0;
    // The rows, newest sheet first, until group() lays them out by artisan
    // (in the order first met), each artisan's rows newest first.
    mutable std::vector<SaleRow> m_rows;
    mutable bool m_grouped = false;
    mutable QHash<QString, Range> m_artisans; // once grouped
    // Positions in m_rows, newest sheet first, lines in sheet order (32 bits:
    // the book is the larger part of the memory a large boutique takes).
    mutable std::vector<qint32> m_byDate;
    mutable std::vector<qint32> m_place; // once grouped: each row's position by date
    // Lays the rows out by artisan, once per ledger revision.
    void group() const;
    // SaleRow::text of each row, newest sheet first (m_byDate's order), made
    // on the first periodTexts or rowTexts after a change to the ledger.
    mutable QStringList m_texts;
    mutable bool m_textsMade = false;
    void makeTexts() const;
    struct Period {
        QString from;
        QString to;
        mutable QStringList texts; // its rows' texts, once asked for
        mutable bool made = false;
    };
    std::vector<Period> m_periods;
};
