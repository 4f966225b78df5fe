#pragma once
// The model halves of the products window's operations on the working
// product list of the current artisan.

#include <QString>

class AppState;
class TProduit;
class TQnt;

// Whether the events run by date, as the products page shows them.
bool inDateOrder(const TQnt& events);

// The number the next product of prodList takes (nextProductNumber of
// model/soldSync.h: never one the sheets still name).
QString nextProdNo(const AppState& st);
// A new product of prodList numbered number, for artisan curArtNo, dated
// today; curItem := number and number appended to prodNoList.
TProduit& addProduct(AppState& st, const QString& number);
// addImported into prodList for artisan curArtNo, dated today; prodNo
// appended to prodNoList.
TProduit& addImported(AppState& st, const TProduit& source, const QString& prodNo);
