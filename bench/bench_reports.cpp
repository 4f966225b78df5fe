// Measures the settlement reports of the ten-year boutique: one artisan's
// report (XML, HTML page, PDF statement), the settlement summary, and the
// statements of every artisan with the summary ("XportTout").
//   bench_reports [--runs N]

#include "boutiqueGen.h"

#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "export/reportDocs.h"
#include "report/inventory.h"
#include "report/priceTags.h"
#include "report/settlement.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// "wall ms (cpu ms)", medians of runs: on a shared machine the process's
// CPU time says what the work costs, the wall time what the user waits.
QString median(int runs, const std::function<void()>& work)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        const std::clock_t c0 = std::clock();
        t.start();
        work();
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(double(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return QStringLiteral("%1 ms (cpu %2 ms)").arg(wall[wall.size() / 2], 0, 'f', 1).arg(cpu[cpu.size() / 2], 0, 'f', 1);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int at = int(args.indexOf(QStringLiteral("--runs")));
    const int runs = at > 0 ? std::max(1, args.value(at + 1).toInt()) : 3;

    QTextStream out(stdout);
    AppState st;
    const BoutiqueScale scale = BoutiqueScale::tenYears(1);
    generateBoutique(st, scale);
    rebuildLists(st);
    QTemporaryDir dir;
    st.xmlDir = dir.path() + QStringLiteral("/dXML/");
    // The busiest period: the statements of the most artisans.
    int p = 0;
    for (int i = 1; i < st.repList.count(); ++i)
        if (st.repList.at(i).endDate.toInt() - st.repList.at(i).startDate.toInt()
            > st.repList.at(p).endDate.toInt() - st.repList.at(p).startDate.toInt())
            p = i;
    setReportPeriod(st, st.repList.at(p).title);
    st.repList.prepareLines(st.saleList);

    out << scale.describe() << ", period " << st.repList.at(p).title << " ("
        << st.repList.at(p).periodLines.size() << " rows), median of " << runs << " runs\n";
    out << "one artisan's report (xml, html, pdf): "
        << median(runs, [&] { writeArtisanReport(st, p, st.numItems.at(0), st.repDir); }) << "\n";
    Summary sum;
    out << "settlement summary (computed):         "
        << median(runs, [&] { sum = settlementSummary(st, p); }) << " (" << sum.lines.size()
        << " artisans)\n";
    out << "XportTout (every statement + summary): "
        << median(runs, [&] { writeSettlement(st, p, st.repDir, nullptr, {}, true); })
        << "\n";
    // What the charts on the statements and the summary cost.
    st.reportCharts = false;
    out << "XportTout without the charts:          "
        << median(runs, [&] { writeSettlement(st, p, st.repDir, nullptr, {}, true); }) << "\n";
    st.reportCharts = true;
    // Price tags: one each for the first 300 products (ten sheets of 30).
    QList<PriceTag> tags;
    for (int a = 0; a < st.artList.count() && tags.size() < 300; ++a)
        for (int j = 0; j < st.artList.at(a).products.count() && tags.size() < 300; ++j)
            tags << tagsFor(st, {a, j, {}, 1});
    QByteArray pdf;
    out << "price tags (" << tags.size() << " tags, barcodes):      "
        << median(runs, [&] { pdf = tagsPdf(tags, tagPresets().at(0).layout, 0); }) << " ("
        << pdf.size() / 1024 << " KiB)\n";
    out << "inventory of the boutique (pdf):        "
        << median(runs, [&] { pdf = inventoryPdf(inventoryOf(st, -1, QStringLiteral("260101"))); }) << " ("
        << pdf.size() / 1024 << " KiB)\n";
    return 0;
}
