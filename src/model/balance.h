#pragma once
// What the boutique owes each artisan at a date: the shares their sales earned
// up to that day less what was paid up to it. Periods may overlap, so the
// balance is taken by date, never by period.

#include "core/money.h"
#include "model/artShare.h"

#include <QList>
#include <QString>
#include <QStringList>

class Account;
class SaleBook;
class TArtList;

// One artisan's figures over the days from..to (inclusive, "" for no bound).
struct AccountFigures {
    QString artNo;
    Money sales;   // sold in the days, at the selling price
    Money earned;  // the artisan's share of those sales
    Money paid;    // paid in the days (reversals subtracted)
    Money credited; // for units a count found missing, the boutique bearing the loss
    Money before;  // the balance at the end of the day before `from`
    // The balance at the end of `to`: positive is owed to the artisan,
    // negative an advance paid.
    Money after() const { return before + earned + credited - paid; }
    Money shop() const { return sales - earned; }
};

// The figures of artNo; RangeError when a sum cannot be held.
AccountFigures accountFigures(const SaleBook& book, const TArtList& arts, const Account& account, ShareRule fallback,
                              const QString& artNo, const QString& from, const QString& to);

// Every artisan an account may name: the list's, then those with sales or
// payouts and no longer in the list, in number order.
QStringList accountArtNos(const SaleBook& book, const TArtList& arts, const Account& account);

// How a statement names a balance: "Solde à payer" when owed, "Avance versée"
// when the boutique paid more than was earned.
QString balanceCaption(Money balance);
// The amount printed after that caption: what is owed, or the advance, unsigned.
Money balanceAmount(Money balance);
