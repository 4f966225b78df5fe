// The windows' charts over the reference boutique: their bars read back
// the model's sums, a bar's tip, the year before beside,
// saving a chart as PNG and PDF, and drawing without a warning.

#include "uiHarness.h"
#include "model/salesSeries.h"
#include "model/uRep.h"
#include "report/statement.h"
#include "support/modelSheets.h"
#include "ui/dashboard/dashForm.h"
#include "ui/dashboard/salesCharts.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QTabBar>
#include <QTableWidget>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

QStringList warnings;

void collect(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    // The offscreen platform's notices on windows shown say nothing here.
    if (type != QtDebugMsg && !text.startsWith(u"This plugin does not support"_s))
        warnings << text;
}

// Each month's sales of a tally (whose sums equal the sheets': tst_salesSeries), in cents.
QList<qint64> sales(const MonthTally& t, const QStringList& months)
{
    QList<qint64> out;
    for (const MonthFigures& m : t.series(months))
        out << m.sales.units() / 100;
    return out;
}

QAbstractBarSeries* series(QChartView* view, int k)
{
    return qobject_cast<QAbstractBarSeries*>(view->chart()->series().value(k));
}

// Each bar's height (its sets stacked) in cents; with set >= 0, that set's alone.
QList<qint64> bars(QAbstractBarSeries* s, int set = -1)
{
    QList<qint64> out;
    for (int i = 0; s && i < s->barSets().at(0)->count(); ++i) {
        qreal v = 0;
        for (int k = 0; k < s->count(); ++k)
            v += set < 0 || set == k ? s->barSets().at(k)->at(i) : 0;
        out << qRound64(v * 100);
    }
    return out;
}

} // namespace

class TstCharts : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        warnings.clear();
        qInstallMessageHandler(collect);
    }
    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(u'\n')));
    }

    // The boutique's twelve months up to the period chosen, its artisans by
    // sales; each chart saved as a picture and as a page; then the report's tab.
    void dashboardAndReportTab()
    {
        UiHarness h;
        h.startRealistic();
        h.w->findChild<QAction*>(u"aDashboard"_s)->trigger();
        auto* dash = h.w->findChild<TdashForm*>(u"dashForm"_s);
        QVERIFY(dash->isVisible());
        const int spring = h.st().repList.indexOfTitle(u"Printemps"_s);
        dash->periodCB->setCurrentIndex(spring);
        dash->refresh();
        const QStringList months = lastTwelveMonths(h.st().repList.at(spring).endDate);
        QCOMPARE(dash->monthsView->chart()->series().size(), 1); // the ledger holds no year before
        QCOMPARE(bars(series(dash->monthsView, 0)),
                 sales(boutiqueMonths(h.st().repList.book(h.st().saleList), {}, {}), months));
        // The artisans, largest on top: 001's 63.00$, then 002's 45.00$.
        QCOMPARE(bars(series(dash->artisansView, 0)), (QList<qint64>{4500, 6300}));

        for (const QString& name : {u"mois.png"_s, u"produits.pdf"_s}) {
            const QString path = h.dataDir() + name;
            h.prompt.saveNames << path;
            const bool pdf = name.endsWith(u".pdf"_s);
            h.w->findChild<QAction*>(pdf ? u"productsSavePdf"_s : u"monthsSavePng"_s)->trigger();
            QVERIFY(readFileBytes(path).startsWith(pdf ? QByteArray("%PDF") : QByteArray("\x89PNG")));
        }

        // The report's chart tab: the artisan's months of the period, the
        // share within each bar equal to the statement's amount due; the tip
        // of a bar; the year before beside once the ledger holds it.
        TrepForm& rep = h.report(true);
        rep.cListCB->setCurrentIndex(spring);
        rep.periodChanged();
        rep.TabControl->setCurrentIndex(3);
        QVERIFY(rep.chartVw->isVisible() && !rep.ConsGrid->isVisible());
        const QString artNo = h.st().curArtNo;
        const QStringList springMonths{u"0903"_s, u"0904"_s, u"0905"_s};
        QAbstractBarSeries* now = series(rep.chartVw, 0);
        QCOMPARE(bars(now), sales(artisanMonths(h.st().repList.book(h.st().saleList), h.st().artList, h.st().account,
                                                ShareRule{h.st().artSharePercent}, artNo, {}, {}),
                                  springMonths));
        const Statement s = statementFor(h.st(), statementHeader(h.st(), h.st().curCIndex), artNo);
        QCOMPARE(bars(now, 0).value(2), s.split.due.units() / 100);

        emit now->hovered(true, 2, now->barSets().at(0));
        QCOMPARE(QToolTip::text(), u"mai 2009\nVentes : 63.00$\nPart de l'artisan : 32.50$\nArticles : 3"_s);

        addSheet(h.st().saleList, u"080410"_s, {saleLine(u"TreMar001-001"_s, u"Vase"_s, u"24.00$"_s, u"2"_s, u"48.00$"_s)});
        rep.refresh();
        QCOMPARE(rep.chartVw->chart()->series().size(), 2);
        QCOMPARE(bars(series(rep.chartVw, 0)), (QList<qint64>{0, 4800, 0}));
        QVERIFY(!chartBytes(*rep.chartVw, false).isEmpty());
    }
};

QTEST_MAIN(TstCharts)
#include "tst_charts.moc"
