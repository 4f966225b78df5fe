#pragma once
// The model halves of the windows' operations on the whole boutique: the
// current artisan and its working product list, the artisan lists the main
// window shows, adding, importing and removing artisans.

#include <QString>

class AppState;
class TArtisan;
class TArtList;

// The entry of nameItems at the last position of number in numItems, empty if
// none; MaxRecs := count of numItems.
QString displayNameOf(AppState& st, const QString& number);
// When artList is not empty: numItems, nameItems and totProdCount rebuilt,
// MaxRecs updated through displayNameOf(curArtNo).
void rebuildLists(AppState& st);
// What showArtisan sets besides the controls: index -1 on a non-empty list
// means 0; curArtInd, curArtNo (importFName stays as chosen), prodList (the
// artisan's products), prodNoList and curProdInd (0, or -1 without products).
// Returns the artisan, or nullptr when the list is empty.
TArtisan* selectArtisan(AppState& st, int index);
// Appends an artisan numbered number with every other field empty, rebuilds
// the lists and selects it.
TArtisan& addArtisan(AppState& st, const QString& number);
// Fills the current artisan of artList (the one addArtisan just made) from
// artisan sourceIndex of source: number artNoFor(count), contact fields copied,
// varData naming importFName's file and sourceIndex; no products. Then selects
// the last artisan and rebuilds the lists. An invalid sourceIndex raises the
// list index error and changes nothing.
void importArtisan(AppState& st, const TArtList& source, int sourceIndex);
// prodList -> products of artisan curArtInd (when curArtInd >= 0 and
// prodNoList is not empty).
void saveProdList(AppState& st);
// products of artisan curArtInd -> prodList.
void loadProdList(AppState& st);
// renumber every artisan's products, the sheet lines with them (see
// renumberProducts); curItem := "001".
void renumberAll(AppState& st);

// What keeps artisan index from being removed, in French (the sheet lines
// naming it, its products with quantities); empty when nothing does.
QString artisanKept(const AppState& st, int index);
// Removes artisan index (artisanKept must be empty) and selects the artisan
// now at its place (or the one before it); the lists are rebuilt.
void removeArtisan(AppState& st, int index);
