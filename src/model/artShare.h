#pragma once
// The artisan's share of a period's sales: what the boutique keeps and what
// it owes the artisan, under the rule the boutique chose.

#include "core/money.h"

#include <QString>
#include <QStringList>

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

// The split of sale rows "date,aNo,pNo,descript,prix,qnt,tot"; the products
// are looked up in arts by artisan and product number.
ShareSplit shareOf(const QStringList& rows, const TArtList& arts, const ShareRule& rule);
// The French warning naming the products without a "Valeur"; "" when none.
QString missingValeurWarning(const QStringList& missing);
