#include "boutique/productState.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "model/soldSync.h"
#include "model/uProd.h"

#include <algorithm>

bool inDateOrder(const TQnt& events)
{
    const QStringList dates = readCommaList(events.qntText(0));
    return std::is_sorted(dates.cbegin(), dates.cend());
}

QString nextProdNo(const AppState& st)
{
    return nextProductNumber(st.prodList, st.saleList, st.curArtNo);
}

TProduit& addProduct(AppState& st, const QString& number)
{
    TProduit& p = st.prodList.addProduct(number, st.curArtNo, todayStr());
    st.curItem = number;
    st.prodNoList.append(number);
    return p;
}

TProduit& addImported(AppState& st, const TProduit& source, const QString& prodNo)
{
    TProduit& p = st.prodList.addImported(source, st.curArtNo, prodNo, todayStr());
    st.prodNoList.append(prodNo);
    return p;
}
