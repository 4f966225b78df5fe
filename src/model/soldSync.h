#pragma once
// The sheets and the products' sold quantities kept equal: for every product
// and date, the product's sold quantity is the sum of its lines on the sheet
// of that date. The operations here change both sides in one step, and the
// check finds every place where a file breaks the rule.
//
// A line names its product by artisan number and product number; the tag in
// front of them is a label written when the line was made, never matched.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TArtList;
class TProdList;
class TProduit;
class TSaleList;

// A product and date where the sold quantity differs from the sheets.
struct SoldGap {
    QString artNo;
    QString prodNo;
    QString date;
    qint64 sold = 0;     // sums of 32-bit quantities: held without wrapping
    qint64 onSheets = 0;
};

// A sheet line naming a product that is no longer in the list: history, not
// a fault (the product was deleted after it sold).
struct HistoryLine {
    QString artNo;
    QString prodNo;
    QString date;
    int qnt = 0;
};

struct SoldCheck {
    QList<SoldGap> gaps;         // by artisan, product, date
    QList<HistoryLine> history;  // in ledger order
};

// Compares every product's sold events with the sheets; changes nothing.
// A quantity that is not an integer counts as 0.
SoldCheck checkSold(const TArtList& arts, const TSaleList& sales);
// One line per gap, then one per history line; English for tlvdb, French
// for the main window's "Vérifier la base...".
QStringList soldCheckLines(const SoldCheck& check, bool french);
// The French report of the check for a message box: a verdict, then at most
// maxLines of soldCheckLines.
QString soldCheckMessage(const SoldCheck& check, int maxLines = 40);

// The product numbered prodNo of artisan artNo; nullptr when none.
TProduit* findProduct(TArtList& arts, const QString& artNo, const QString& prodNo);

// Moves sheet i to date newDate, its lines' sold quantities with it. A date
// that is not a day, or that another sheet has, raises an AppError with a
// French message and nothing changes; so does any failure on the way. The
// ledger is then ordered newest first again.
void redateSheet(TArtList& arts, TSaleList& sales, int i, const QString& newDate);
// Deletes sheet i and takes its lines' quantities off the products' sold
// events of its date (the sales window's "Supprimer"). All or nothing.
void deleteSheet(TArtList& arts, TSaleList& sales, int i);

// The number of sheet lines naming each artisan number.
QHash<QString, int> linesPerArtisan(const TSaleList& sales);

// The number a new product of artisan artNo takes: one above every number
// its products and the sheets' lines use, so a number still named by a sheet
// is never given again.
QString nextProductNumber(const TProdList& products, const TSaleList& sales, const QString& artNo);
// Numbers every artisan's products 001, 002, ... in list order, skipping
// numbers that lines of deleted products still use, and rewrites the sheet
// lines of the products renumbered: every line keeps naming its product.
void renumberProducts(TArtList& arts, TSaleList& sales);
