#pragma once
// Builds a synthetic boutique database in memory at a chosen scale, for the
// benchmark and the fuzzers' seed files. The same scale and seed always give
// the same database.

#include <QString>

class AppState;

struct BoutiqueScale {
    int artisans = 300;
    int productsPerArtisan = 40;
    int receivedPerProduct = 8;
    int days = 3000;       // one sales sheet a day
    int linesPerDay = 25;
    int periods = 40;
    unsigned seed = 20091805;

    // The ten-year boutique times factor: artisans and days grow; products
    // per artisan, events per product, lines per day and periods stay.
    static BoutiqueScale tenYears(int factor = 1);
    QString describe() const;
};

// Fills st (expected empty) with artisans, products and their received
// quantities, sales sheets (newest first) whose lines are the products' sold
// events, and periods.
void generateBoutique(AppState& st, const BoutiqueScale& scale);
