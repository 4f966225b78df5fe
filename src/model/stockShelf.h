#pragma once
// How long goods have been on the shelf, and handing unsold ones back to
// their artisan. Units leave in the order they came: sales, returns and
// adjustments take the oldest units first.

#include "core/money.h"

#include <QList>
#include <QString>

class Account;
class StockBook;
class TArtList;
class TProduit;
struct StockMove;

// Units still on the shelf that came in on one day.
struct ShelfLot {
    QString date; // "yymmdd"
    int qnt = 0;
};

// The units of p on the shelf by the day they came in, oldest first; moves
// are p's stock movements, which tell apart what a day's merged received
// quantity holds besides a delivery.
QList<ShelfLot> shelfLots(const TProduit& p, const QList<StockMove>& moves);

// A product in stock, with the age of its oldest units.
struct ShelfLine {
    QString artNo;
    QString artName; // display name
    QString prodNo;
    QString key;     // "TreMar001-003"
    QString descript;
    QString oldest;  // "yymmdd": the day its oldest units on the shelf came in
    int stock = 0;
    int old = 0;     // units come in before the date asked (unsold lists)
    Money price;
    Money value;
};

// The products of artNo ("" every artisan) in stock, by artisan then product.
QList<ShelfLine> shelfLines(const TArtList& arts, const StockBook& book, const QString& artNo);
// Those whose oldest units came in before since, each with how many did.
QList<ShelfLine> unsoldSince(const TArtList& arts, const StockBook& book, const QString& artNo, const QString& since);

// Units of a product handed back.
struct ReturnLine {
    QString prodNo;
    int qnt = 0;
};

// The French reason the return cannot be recorded (nothing chosen, more than
// the stock, a product unknown); "" when it can.
QString returnProblem(const TArtList& arts, const QString& artNo, const QList<ReturnLine>& lines);
// Records the return as received quantities taken off on date, each with its
// movement; the sold quantities stay as they are. AppError with
// returnProblem (nothing changed) when it cannot be recorded.
QList<StockMove> recordReturn(TArtList& arts, Account& account, const QString& artNo, const QList<ReturnLine>& lines,
                              const QString& date);
