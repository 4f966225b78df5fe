#pragma once
// The artisan's share of a period's sales: what the boutique keeps and what
// it owes the artisan, under the rule the boutique chose.

#include "core/money.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct SaleRow;

class Account;
class TArtList;

// artSharePercent of the settings: 0 is the products' "Valeur" x quantity,
// 1..100 that percentage of the selling price.
struct ShareRule {
    int percent = 0;
    bool byValeur() const { return percent <= 0 || percent > 100; }
    // How a page names the rule.
    QString text() const;
};

// One artisan's sales of a period split between the boutique and the artisan.
struct ShareSplit {
    Money sales; // at the selling price (price x quantity)
    Money due;   // to the artisan
    Money shop() const { return sales - due; }
    // Products without a "Valeur" under the first rule ("003 Vase"), once each.
    QStringList missing;
};

// The split of the sale rows, each row's share (its due) computed and rounded
// to the cent on its own, so the boutique's part and the amount due add up
// to the sales row by row and in total; the products are looked up in arts
// by artisan and product number. With an account, a row takes the share
// recorded for its line, else the rule in force for its artisan on its date
// (rule when the account holds none). RangeError when an amount cannot be held.
ShareSplit shareOf(std::vector<SaleRow>& rows, const TArtList& arts, const ShareRule& rule,
                   const Account* account = nullptr);

// The products' "Valeur" texts of the artisans met, looked up by artisan and
// product number.
class ValeurLookup {
public:
    explicit ValeurLookup(const TArtList& arts) : m_arts(arts) {}
    // The Valeur of the product, nullopt when it has none that reads as an amount.
    std::optional<Money> valeur(const QString& artNo, const QString& prodNo);

private:
    const TArtList& m_arts;
    QHash<QString, QHash<QString, QString>> m_values;
};

// The share of one row under rule; nullopt when the rule pays the Valeur and
// the product has none (the row then counts 0).
std::optional<Money> rowShare(const SaleRow& r, ValeurLookup& values, const ShareRule& rule);
// The French warning naming the products without a "Valeur"; "" when none.
QString missingValeurWarning(const QStringList& missing);
