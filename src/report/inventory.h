#pragma once
// "Imprimer l'inventaire...": what each artisan's products are and how many
// are on the shelves, to check the boutique's stock or to hand an artisan
// who takes unsold goods back; as a PDF.

#include "core/money.h"

#include <QByteArray>
#include <QList>
#include <QString>

class AppState;

struct InventoryRow {
    QString key;      // "TreMar005-003"
    QString descript;
    Money price;      // selling price of one unit
    Money value;      // the artisan's value of one unit
    int received = 0;
    int sold = 0;
    int stock = 0;    // received - sold; below zero when more were sold
};

// Sums of rows (of an artisan or of the boutique); stock counts only what is there.
struct InventoryTotals {
    int received = 0;
    int sold = 0;
    int stock = 0;
    Money stockValue; // the stock at the artisans' values
    Money stockPrice; // the stock at selling prices
    void add(const InventoryRow& r);
    void add(const InventoryTotals& t);
};

struct ArtisanInventory {
    QString artNo;
    QString name; // display name
    QList<InventoryRow> rows;
    InventoryTotals totals;
};

struct Inventory {
    QString shopName;
    QString date; // "yymmdd", the day it was made
    QList<ArtisanInventory> artisans;
    InventoryTotals totals;
};

// The inventory of the artisan at position artisan, or of every artisan
// (-1). A quantity or amount that does not read counts 0.
Inventory inventoryOf(const AppState& st, int artisan, const QString& today);
// The PDF (US Letter): one table per artisan with its totals, then the
// boutique's totals when it covers several artisans.
QByteArray inventoryPdf(const Inventory& inv);
