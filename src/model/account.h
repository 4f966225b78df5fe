#pragma once
// The artisans' account: what the boutique owes each artisan and what it paid.
// Holds what the database's three sections cannot: the share rules by date
// (the boutique's and each artisan's own), the share recorded for each sale
// line when it was made, the payouts, and the artisans who left. Stored in
// the file's extension section.

#include "core/money.h"
#include "model/artShare.h"
#include "model/stockBook.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class TArtList;
class TReader;
class TSaleList;
class TWriter;
struct SaleRow;

// How a payout was made.
inline const QStringList PAYOUT_MODES = {QStringLiteral("chèque"), QStringLiteral("virement"),
                                         QStringLiteral("comptant"), QStringLiteral("crédit en boutique")};

// One entry of the payout journal. Never removed: a payout is corrected or
// cancelled by an entry that reverses it.
struct Payout {
    int id = 0;      // 1, 2, ... in the order entered
    QString artNo;
    QString date;    // "yymmdd", the day it was paid
    Money amount;    // paid to the artisan; a reversal holds the opposite
    QString mode;    // one of PAYOUT_MODES
    QString ref;     // cheque number, transfer reference
    QString period;  // title of the period it settles, "" for none
    QString note;
    int reverses = 0; // id of the entry this one cancels, 0 for none
};

// The artisan's share of one sale line, as recorded when the line was made,
// with what identifies the line on its sheet.
struct LineShare {
    QString artNo;
    QString prodNo;
    qint64 qnt = 0;
    Money price;
    Money due;
    bool matches(const SaleRow& row) const;
};

// A share rule and the first sheet date it applies to.
struct RuleChange {
    QString from;    // "yymmdd"; "" since always
    QString artNo;   // "" for the boutique's default
    int percent = 0; // as ShareRule; -1 for an artisan: the boutique's again
};

class Account {
public:
    // --- share rules ---
    // The rule for artNo's sales on date: the artisan's own in force then,
    // else the boutique's, else fallback (the settings' rule of a file that
    // never held one).
    ShareRule ruleAt(const QString& artNo, const QString& date, ShareRule fallback) const;
    // The artisan's own rule in force on date, if any.
    std::optional<ShareRule> ownRuleAt(const QString& artNo, const QString& date) const;
    // Records a rule change (replacing one of the same artisan and date).
    void setRule(const QString& artNo, const QString& from, int percent);
    const QList<RuleChange>& rules() const { return m_rules; }

    // --- recorded shares ---
    // Records the share of every sale line that has none (new, or with a
    // quantity or price that changed) under the rules in force on its sheet's
    // date and the products' Valeurs in arts; forgets the shares of lines no
    // longer on the sheets. Returns how many shares were recorded.
    int recordShares(const TSaleList& sales, const TArtList& arts, ShareRule fallback);
    // Records again, with today's Valeurs and rules, the shares of artNo's
    // lines ("" for every artisan under the boutique's rule) dated from
    // `from` on, except lines dated up to the artisan's last payout. Returns
    // the lines whose share changed ("date artNo-prodNo old -> new").
    QStringList reshare(const TArtList& arts, ShareRule fallback, const QString& artNo, const QString& from);
    // The shares recorded for the lines of the sheets dated date, in line
    // order; null when none.
    const QList<LineShare>* sharesOn(const QString& date) const;
    bool hasShares() const { return !m_shares.isEmpty(); }
    QStringList shareDates() const { return m_shares.keys(); }
    // The day the shares of an older file's lines were first recorded, "" when
    // every share was recorded as its line was made.
    QString sharesRecordedOn;

    // --- payouts ---
    const QList<Payout>& payouts() const { return m_payouts; }
    // Records p (its id is given here) after the checks of checkPayout;
    // AppError with the French reason otherwise.
    const Payout& pay(Payout p);
    // Records the entry that cancels payout id, dated date; AppError when id
    // names no payout or one already reversed, or a reversal.
    const Payout& reverse(int id, const QString& date, const QString& note);
    bool isReversed(int id) const;
    // What was paid to artNo from `from` to `to` (inclusive; "" for no bound).
    Money paidTo(const QString& artNo, const QString& from, const QString& to) const;
    // The last day artNo was paid (reversals aside), "" when never.
    QString lastPaidOn(const QString& artNo) const;

    // --- artisans who left ---
    // The date each artisan who left was marked gone, by number.
    QHash<QString, QString> gone;

    // --- the shelves: the count under way, the stock movements ---
    StockBook stock;

    // --- file ---
    // The file read or last written holds the account section.
    bool inFile = false;
    // Nothing to keep: the file is written without its extension section.
    bool isEmpty() const;
    void clear();
    void write(TWriter& w) const;
    // Reads the section body written by write in that version of the
    // section (1 had no stock); ReadError when damaged.
    void read(TReader& r, int version);
    // Advanced by every change: what is computed from the account keeps the
    // revision it was computed at.
    quint64 revision() const { return m_revision; }

private:
    QList<RuleChange> m_rules;
    QList<Payout> m_payouts;
    struct DateShares {
        size_t linesHash = 0; // of the date's sheets' lines when recorded; 0: to be checked
        QList<LineShare> lines;
    };
    // Rebuilds the shares of date from its rows, keeping the recorded share
    // of every line still there; returns how many were recorded anew.
    int recordDate(DateShares& d, const std::vector<SaleRow>& rows, ValeurLookup& values, ShareRule fallback);
    // By sheet date, in date order so that the file is written the same way.
    QMap<QString, DateShares> m_shares;
    quint64 m_revision = 1;
};

// The French reason a payout cannot be recorded (an amount of zero or beyond
// the range, a date that is not a day, an unknown mode, no artisan); "" when
// it can. Every artisan number in knownArtNos is accepted.
QString payoutProblem(const Payout& p, const QStringList& knownArtNos);
