// The report window's "Graphique" tab: the artisan's sales per month, the
// share within each bar, beside the same months of the year before.

#include "boutique/appState.h"
#include "model/salesSeries.h"
#include "model/uRep.h"
#include "model/uSale.h"
#include "ui/dashboard/salesCharts.h"
#include "ui/reports/repFrm.h"

#include <QLabel>
#include <QToolButton>

using namespace Qt::StringLiterals;

void TrepForm::showChart()
{
    QString title;
    QString from;
    QString to;
    if (allTransBtn->isChecked()) {
        title = ALL_PERIOD_TITLE; // the whole ledger: its last twelve months
        to = st.saleList.dateSpan().second;
    } else if (st.curCIndex >= 0 && st.curCIndex < st.repList.count()) {
        const TReport& r = st.repList.at(st.curCIndex);
        title = r.title;
        from = r.startDate;
        to = r.endDate;
    }
    const SaleBook& book = st.repList.book(st.saleList);
    const ShareRule fallback{st.artSharePercent};
    const QString artNo = shownArtNo;
    const YearOnYear year = yearOnYear(title, from, to, st.saleList.dateSpan().first,
                                       [&](const QString& a, const QString& b) {
                                           return artisanMonths(book, st.artList, st.account, fallback, artNo, a, b);
                                       });
    replaceChart(chartVw, monthChart(u"Ventes de %1 par mois"_s.arg(shownName), year.months,
                                 year.before.empty() ? nullptr : &year.before, u"Part de l'artisan"_s));
    tabInfoLab->setText(year.months.empty() ? u"Aucune période"_s
                                            : u"%1 mois"_s.arg(year.months.size()));
}
