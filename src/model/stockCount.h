#pragma once
// Counting the shelves with a scanner: what each scan counts, how the count
// compares with the books once closed, and the adjustments staff choose to
// record. Nothing here changes the books until recordAdjustments.

#include "core/money.h"
#include "model/artShare.h"
#include "model/stockBook.h"

#include <QList>
#include <QString>

class Account;
class TArtList;
class TProduit;

// What one scan (a key typed or read by the scanner) did.
struct ScanResult {
    enum Kind { Counted, Unknown, Choose, OtherArtisan };
    Kind kind = Unknown;
    int artisan = -1; // positions in the artisan list (Counted, OtherArtisan)
    int product = -1;
    int line = -1;    // the count's line (Counted)
};

// Counts one unit of the product the key names: a whole key (accents, case,
// dash and padding aside) counts at once; a key that only starts a product's
// key or names nothing is never counted (Choose, Unknown), nor a product of
// another artisan than the count's.
ScanResult scanKey(StockCount& count, const TArtList& arts, const QString& key);
// Counts one unit of the product at (artisan, product); its line takes the
// books' stock when first scanned. Returns the line's position.
int countProduct(StockCount& count, const TArtList& arts, int artisan, int product);

// The product's stock in the books (received - sold) and units sold.
int stockOf(const TProduit& p);
int soldOf(const TProduit& p);

// One product whose count differs from the books.
struct CountDiff {
    enum Kind { Missing, Excess, Unscanned };
    Kind kind = Missing;
    QString artNo;
    QString artName; // display name
    QString prodNo;
    QString key;     // "TreMar001-003"
    QString descript;
    int expected = 0; // the books' stock, sales since the scan taken off
    int counted = 0;  // as counted, sales since the scan taken off
    int diff() const { return counted - expected; }
    Money price; // one unit's
    Money value; // one unit's Valeur
    // What staff chose to record.
    enum Choice { Nothing, Adjust, AdjustBoutiqueBears };
    Choice choice = Nothing;
};

// Every product the count covers whose count differs from the books, by
// artisan then product, as lists first scanned (each product's sales since
// its first scan taken off both figures) and unscanned products counted 0.
QList<CountDiff> countDifferences(const StockCount& count, const TArtList& arts);

// Records the chosen differences as received quantities dated date (units
// gone negative), each with its movement; for missing units the boutique
// bears, the artisan's share of them under the rule in force that day is
// credited on their account. Closes the count. Returns how many were
// recorded. AppError (nothing changed) when a product is no longer there.
int recordAdjustments(TArtList& arts, Account& account, const QList<CountDiff>& diffs, const QString& date,
                      ShareRule fallback);

// The artisan's share of qnt units of p sold on date (the credit of units
// the boutique loses).
Money shareOfUnits(const TArtList& arts, const Account& account, const QString& artNo, const TProduit& p, int qnt,
                   const QString& date, ShareRule fallback);
