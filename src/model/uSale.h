#pragma once
// The sales ledger: one sales sheet per date, with its section of the database
// file and the queries that the sales and report windows and the report
// documents make of it.

#include "core/money.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct RecordField;
class Prompt;
class TReader;
class TRepList;
class TWriter;

// One sales sheet: its date, agent, total and sale lines (a comma list whose
// items are the sale lines, each itself a comma list of five fields).
class TSaleItem {
public:
    QString date;  // "yymmdd"
    QString agent;
    QString total; // "0.00$"
    QString lines;

    // date|:|agent|:|total|:|lines, the form stored in the database file.
    QString record() const;
    void setRecord(const QString& rec);
    // recordProblem of the four fields, owner "Feuille <date>".
    QString storeProblem() const;
    QList<RecordField> recordFields() const;
};

// The parts of a product key ("TreMar005-003"): artisan tag, artisan number,
// product number.
struct TProductKey {
    QString tag;
    QString artNo;
    QString prodNo;
};

// The same parts as views of the key (splitKey's rule).
struct TProductKeyView {
    QStringView tag;
    QStringView artNo;
    QStringView prodNo;
};

// The program's ledger of sales sheets, ordered newest first.
class TSaleList {
public:
    TSaleList();
    ~TSaleList();
    TSaleList(const TSaleList&) = delete;
    TSaleList& operator=(const TSaleList&) = delete;

    // --- list ---
    int count() const { return int(m_sheets.size()); }
    bool isEmpty() const { return m_sheets.empty(); }
    // The sheet at i; AppError "List index out of bounds (i)" outside the list.
    const TSaleItem& at(int i) const;
    const TSaleItem* current() const { return m_current; }
    // Advanced by every operation that changes a sheet, never by reading one:
    // what is computed from the sheets keeps the revision it was computed at
    // and is computed again once it differs.
    quint64 revision() const { return m_revision; }
    void clear();
    // Appends a sheet (the list takes it); used by the loader and tests.
    TSaleItem& append(std::unique_ptr<TSaleItem> sheet);

    QString curDate; // date of the sheet the sales window shows, "" for none
    QStringList results; // rows of the last query
    // The sheet totals of periodSheets' rows, computed from their lines.
    QList<Money> resultTotals;

    // The oldest and the newest sheet date, whatever the ledger's order
    // (empty texts for an empty ledger); kept until the revision moves.
    std::pair<QString, QString> dateSpan() const;

    // --- sheets ---
    // A new empty sheet of agent at index 0; curDate := date. The window then
    // refreshes its sheet list.
    // The characters of every sheet's record, about the bytes writeSales writes.
    qsizetype recordSize() const;

    void addSheet(const QString& date, const QString& agent);
    int indexOfCurDate() const;
    // The last sheet of that date; -1 when none or date is empty.
    int indexOfDate(const QString& date) const;
    // Every sheet's date in ledger order: the sales window's date list.
    QStringList sheetDates() const;
    // The model half of showSheet: sheet i becomes current and curDate its date.
    const TSaleItem& selectSheet(int i);
    QString sheetDate(int i) const;
    QString sheetLines(int i) const;
    // Stores what the sales window shows into sheet i (the model half of its
    // storeSheet); returns the status-bar text curDate + "à jour!".
    QString storeSheet(int i, const QString& date, const QString& agent, const QString& total,
                       const QStringList& saleLines);
    // Sheet i's date or its sale lines (a comma list of lines) replaced; the
    // caller keeps the ledger's order and the sold quantities in step.
    void setSheetDate(int i, const QString& date);
    void setSheetLines(int i, const QString& lines);
    // The sale lines of sheet i, one comma list per line.
    QStringList saleLinesOf(int i) const;
    // Newest first; sheets sharing a date keep their relative order. Stable,
    // n log n.
    void sortByDate();

    // --- queries (each fills results and returns it as a comma list) ---
    // "date,agent,total" (a comma list) of each sheet within period p, in
    // ledger order.
    QString periodSheets(int p, const TRepList& reps, Prompt& prompt);
    QString sheetsInRange(const QString& from, const QString& to);
    // date + "," + formatSaleLine(m, line) for every line of every sheet.
    QString getAllSales(int m);
    QString getPeriodSales(int m, int p, const TRepList& reps, Prompt& prompt);
    QString salesInRange(int m, const QString& from, const QString& to);
    // The same rows into results only, for callers that do not need the text.
    void fillSalesInRange(int m, const QString& from, const QString& to);
    // Where a sheet's rows were made: rows [first, first + n) of list.
    struct SheetRows {
        const QStringList* list = nullptr;
        qsizetype first = 0;
        qsizetype n = 0;
    };
    // The same rows into rows; made (one entry per sheet) keeps where each
    // sheet's rows were made, and ranges that overlap share them instead of
    // making them again: the lists filled before must stay where they are.
    void fillSalesInRange(int m, const QString& from, const QString& to, QStringList& rows,
                          std::vector<SheetRows>& made);
    // "Quant: " + Qnt of the last line of sheet i whose key is pno; "" if none.
    QString lineQuantity(int i, const QString& pno) const;
    QString sheetLineRows(int i, const QString& prefix, int flag) const;

    // The line in format 0 (unchanged), 1 (tag split off), 2 (artisan and
    // product numbers, then the rest) or 3 (numbers, Qnt, Total); "" otherwise.
    static QString formatSaleLine(int m, const QString& line);
    static TProductKey splitKey(const QString& pno);
    static TProductKeyView splitKey(QStringView pno);
    // Whether the line key pno names product prodNo of artisan artNo. The tag
    // is a label written when the line was made: a renamed artisan keeps its lines.
    static bool keyNames(const QString& pno, const QString& artNo, const QString& prodNo);

    // Removes sheet i (the ledger only; see deleteSheet in model/soldSync.h,
    // which takes its sold quantities with it).
    void removeSheet(int i);

    // <saleItem> blocks of the sheets dated within [from, to].
    QString salesXML(const QString& from, const QString& to) const;
    static QString linesXML(const TSaleItem& sheet);

    // --- database file ---
    void writeSales(TWriter& w) const;
    // Replaces the ledger by the section read; on a read error the sheets read
    // so far stay.
    void readSales(TReader& r);

private:
    // Sheet i to be changed: advances the revision.
    TSaleItem& edit(int i);
    // The sheets [first, last) that may fall within [from, to]: when the
    // ledger is newest first (as it is kept), found by halving; else all.
    std::pair<std::size_t, std::size_t> rangeSpan(const QString& from, const QString& to) const;

    std::vector<std::unique_ptr<TSaleItem>> m_sheets;
    mutable TSaleItem* m_current = nullptr;
    quint64 m_revision = 1;
    // Whether the ledger was newest first at revision m_orderedAt.
    mutable quint64 m_orderedAt = 0;
    mutable bool m_newestFirst = false;
    mutable quint64 m_spanAt = 0;
    mutable std::pair<QString, QString> m_span;
};

// What a sale line brings in: unit price ("12.00$") x quantity, rounded once
// to the cent, negative for a return. Computed, never read from the stored
// line total, which older files leave empty for returns; a text that is not
// a number counts 0. RangeError when it cannot be held.
Money saleAmount(QStringView price, QStringView qnt);

// The sum of the amounts of the sheet's sale lines (makeSaleRow's).
Money sheetAmount(const TSaleItem& sheet);

// True when date lies within [from, to], compared as text (both ends included).
bool dateInRange(const QString& date, const QString& from, const QString& to);
