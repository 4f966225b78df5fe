#pragma once
// The figures the charts draw: sales by month and the best sellers, summed
// from the typed sale rows and their recorded shares, so a chart shows the
// very amounts the tables print.

#include "core/money.h"
#include "model/artShare.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <vector>

class Account;
class SaleBook;
class TArtList;
struct SaleRow;

// One month of sales.
struct MonthFigures {
    QString month;    // "yymm"
    Money sales;      // at the selling price
    Money due;        // the artisans' share of those sales
    qint64 items = 0; // units sold, returns taken off
};

// The "yymm" months from that of the "yymmdd" date from to that of to, both
// included; none when either is not a date or to comes first.
QStringList monthsBetween(const QString& from, const QString& to);
// The twelve months that end with the month of the date to.
QStringList lastTwelveMonths(const QString& to);
// A "yymm" month or "yymmdd" date a year earlier; "" for year 2000.
QString yearEarlier(const QString& date);
// Each month a year earlier ("0905" -> "0805"); "" where there is none.
QStringList yearBefore(const QStringList& months);
// The months a chart of a period shows: the last twelve for the all-sales
// period, else the period's own, at most the last 24 so that bars stay legible.
QStringList chartMonths(const QString& title, const QString& from, const QString& to);
// "mai 2009" for "0905"; shortForm: "mai 09".
QString monthName(const QString& yymm, bool shortForm = false);

// Sales summed by the month of their sheet.
class MonthTally {
public:
    void add(const SaleRow& r);
    void add(std::span<const SaleRow> rows);
    // The figures of each month in that order, zero for a month without sales.
    std::vector<MonthFigures> series(const QStringList& months) const;

private:
    QHash<QString, MonthFigures> m_months;
};

// The rows of artNo dated from..to ("" for no bound), each with its recorded
// share (else the rule's), tallied by month. RangeError when a sum cannot be held.
MonthTally artisanMonths(const SaleBook& book, const TArtList& arts, const Account& account, ShareRule fallback,
                         const QString& artNo, const QString& from, const QString& to);
// Every row of the book dated from..to, tallied by month (no shares).
MonthTally boutiqueMonths(const SaleBook& book, const QString& from, const QString& to);

// A chart's months and the same months a year earlier.
struct YearOnYear {
    std::vector<MonthFigures> months;
    // Empty when the ledger (whose oldest sheet is dated oldest) does not
    // reach back into them.
    std::vector<MonthFigures> before;
};
// The months chartMonths gives for the period title from..to, with the rows
// dated within the period (and within those months), and the same days a
// year earlier; tally(a, b) sums the rows dated a..b.
YearOnYear yearOnYear(const QString& title, const QString& from, const QString& to, const QString& oldest,
                      const std::function<MonthTally(const QString&, const QString&)>& tally);

// An artisan or a product with what it sold.
struct Ranked {
    QString key;   // artisan number, or "artNo-prodNo"
    QString label; // the product's description (empty for an artisan)
    Money sales;
    qint64 items = 0;
};

// The best sellers of a period: artisans and products, most sales first.
struct BestSellers {
    std::vector<Ranked> artisans;
    std::vector<Ranked> products;
    Money total; // every row's sales
};
// The n artisans and the n products of period p (every row when p < 0) that
// sold the most at the selling price.
BestSellers bestSellers(const SaleBook& book, int p, int n);
// The n largest of all by sales, then units, then key; none that sold nothing.
std::vector<Ranked> topOf(std::vector<Ranked> all, int n);
// part as a share of whole, "12,3 %"; "" when whole is not above zero.
QString shareText(Money part, Money whole);
