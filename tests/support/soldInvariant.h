// The rule every test of sales keeps: each product's sold quantity on a date
// is the sum of its lines on that date's sheet.
#pragma once

#include "boutique/appState.h"
#include "model/soldSync.h"

// The differences, one line each; empty when sold quantities equal the sheets.
inline QString soldGaps(const AppState& st)
{
    return soldCheckLines({checkSold(st.artList, st.saleList).gaps, {}}, false).join(u'\n');
}
