#pragma once
// A synthetic database of a chosen size, for tests that need real content.

class AppState;

// Fills st (whose lists must be empty) with artisans, each with products that
// have received and sold events. generation is written into every artisan's
// comment, so two generations of the same size differ in content.
void fillSampleDatabase(AppState& st, int artisans, int productsPerArtisan, int generation);
