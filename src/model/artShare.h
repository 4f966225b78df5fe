#pragma once
// The artisan's share of a period's sales: what the boutique keeps and what
// it owes the artisan, under the rule the boutique chose.

#include "core/money.h"

#include <QString>
#include <QStringList>
#include <vector>

struct SaleRow;

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
// by artisan and product number. RangeError when an amount cannot be held.
ShareSplit shareOf(std::vector<SaleRow>& rows, const TArtList& arts, const ShareRule& rule);
// The French warning naming the products without a "Valeur"; "" when none.
QString missingValeurWarning(const QStringList& missing);
