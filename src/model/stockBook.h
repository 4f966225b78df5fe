#pragma once
// The shelves' own records, which a product's dated quantities cannot hold:
// the count under way (kept until it is closed, across restarts) and why each
// received quantity was changed outside a delivery (a count, a return to the
// artisan). Kept in the account's part of the file.

#include "core/money.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class TReader;
class TWriter;

// Why stock left or came back outside a delivery or a sale.
enum class StockReason { Count = 0, Return = 1 };

// Who bears the units a count found missing.
enum class LossBearer { Nobody = 0, Boutique = 1 };

// One change of a product's received quantity made by the program.
struct StockMove {
    int id = 0;        // 1, 2, ... in the order recorded
    QString date;      // "yymmdd": the received event it went into
    QString artNo;
    QString prodNo;
    int qnt = 0;       // added to the received quantity (negative: units gone)
    StockReason reason = StockReason::Count;
    QString countDate; // the day the count began; "" for a return
    int counted = 0;   // what the count found (sales since the scan taken off)
    int expected = 0;  // what the books said then
    LossBearer bearer = LossBearer::Nobody;
    Money credit;      // credited to the artisan for missing units
    // How the product's history names it ("comptage du 260518 : 3 comptés
    // pour 5 attendus, perte à la boutique").
    QString text() const;
};

// A product counted so far.
struct CountLine {
    QString artNo;
    QString prodNo;
    int counted = 0;    // units scanned (or typed)
    int expected = 0;   // the stock in the books at the first scan
    int soldAtScan = 0; // units sold in the books at the first scan
};

// A count of the shelves, for the whole boutique or one artisan.
struct StockCount {
    QString started; // "yymmdd"
    QString artNo;   // "" for the whole boutique
    QList<CountLine> lines; // in the order first scanned

    bool covers(const QString& artNo) const { return this->artNo.isEmpty() || this->artNo == artNo; }
};

// The shelves' records of one file: the movements in the order recorded and
// the count under way.
class StockBook {
public:
    std::optional<StockCount> open;

    const QList<StockMove>& moves() const { return m_moves; }
    // Records m (its id is given here).
    const StockMove& add(StockMove m);
    // The moves of one product, in the order recorded.
    QList<StockMove> movesOf(const QString& artNo, const QString& prodNo) const;

    bool isEmpty() const { return !open && m_moves.isEmpty(); }
    void clear();
    void write(TWriter& w) const;
    // Reads what write wrote; ReadError when damaged.
    void read(TReader& r);

private:
    QList<StockMove> m_moves;
};

// What a day's received quantity dayQnt holds besides a delivery, for the
// product's history ("livraison 5 ; rendu à l'artisan : -2"); "" when no
// movement of moves falls on date.
QString stockDayNote(const QList<StockMove>& moves, const QString& date, int dayQnt);
