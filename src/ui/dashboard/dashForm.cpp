#include "ui/dashboard/dashForm.h"

#include "boutique/appState.h"
#include "model/salesSeries.h"
#include "model/uRep.h"
#include "model/uSale.h"
#include "ui/dashboard/salesCharts.h"
#include "ui/shell/main.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TdashForm::TdashForm(AppState& state, TmainForm& mainForm)
    : QWidget(&mainForm, Qt::Window), st(state), main(mainForm)
{
    setObjectName(u"dashForm"_s);
    setWindowTitle(u"Tableau de bord"_s);
    resize(980, 700);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    periodCB = named<QComboBox>("periodCB", this);
    periodCB->setMinimumWidth(180);
    periodCB->setToolTip(u"La période des meilleurs vendeurs ; les douze mois finissent avec elle"_s);
    rangeLab = named<QLabel>("rangeLab", this);
    monthsView = chartView("monthsView", this);
    artisansView = chartView("artisansView", this);
    productsView = chartView("productsView", this);
    monthsSave = saveChartButton(monthsView, "monthsSave", main, [this] { return proposedPath(u"ventes-par-mois"_s); });
    artisansSave = saveChartButton(artisansView, "artisansSave", main,
                                   [this] { return proposedPath(u"meilleurs-artisans"_s); });
    productsSave = saveChartButton(productsView, "productsSave", main,
                                   [this] { return proposedPath(u"meilleurs-produits"_s); });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Période :"_s, this));
    top->addWidget(periodCB);
    top->addWidget(rangeLab, 1);
    auto* grid = new QGridLayout;
    const auto place = [grid](QChartView* view, QToolButton* save, int row, int col, int span) {
        grid->addWidget(view, row, col, 1, span);
        grid->addWidget(save, row + 1, col, 1, span, Qt::AlignRight);
    };
    place(monthsView, monthsSave, 0, 0, 2);
    place(artisansView, artisansSave, 2, 0, 1);
    place(productsView, productsSave, 2, 1, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid, 1);

    connect(periodCB, &QComboBox::activated, this, [this] { main.guarded([this] { refresh(); }); });

    aDashboard = new QAction(u"Tableau de bord..."_s, &main);
    aDashboard->setObjectName(u"aDashboard"_s);
    main.specialMenu->addAction(aDashboard);
    connect(aDashboard, &QAction::triggered, this, [this] { main.guarded([this] { showDashboard(); }); });
}

void TdashForm::showDashboard()
{
    {
        const QSignalBlocker block(periodCB);
        st.repList.refreshTitles();
        periodCB->clear();
        periodCB->addItems(st.repList.titles);
        // The report window's period, else the sales window's, else all sales.
        int p = st.curCIndex >= 0 && st.curCIndex < st.repList.count() ? st.curCIndex : st.repList.curPeriod;
        if (p < 0 || p >= st.repList.count())
            p = st.repList.indexOfTitle(ALL_PERIOD_TITLE);
        periodCB->setCurrentIndex(p);
    }
    if (isVisible())
        refresh();
    show(); // a window shown anew computes what it shows
    raise();
}

void TdashForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    main.guarded([this] { refresh(); });
}

void TdashForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()
        && (m_sales != st.saleList.revision() || m_reps != st.repList.revision())) {
        const QString chosen = periodCB->currentText();
        main.guarded([this] { showDashboard(); });
        // The period chosen here stays chosen while it exists.
        if (const int at = periodCB->findText(chosen); at >= 0 && at != periodCB->currentIndex()) {
            periodCB->setCurrentIndex(at);
            main.guarded([this] { refresh(); });
        }
    }
}

void TdashForm::refresh()
{
    WaitCursor wait;
    const SaleBook& book = st.repList.book(st.saleList);
    const auto [oldest, newest] = st.saleList.dateSpan();
    const int p = periodCB->currentIndex() < st.repList.count() ? periodCB->currentIndex() : -1;
    // The twelve months end with the period chosen, else with the last sale.
    const QString end = p >= 0 ? st.repList.at(p).endDate : newest;
    const YearOnYear year = yearOnYear(ALL_PERIOD_TITLE, {}, end, oldest,
                                       [&book](const QString& from, const QString& to) {
                                           return boutiqueMonths(book, from, to);
                                       });
    replaceChart(monthsView, monthChart(u"Ventes de la boutique par mois"_s, year.months,
                                year.before.empty() ? nullptr : &year.before, {}));
    rangeLab->setText(year.months.empty() ? u"Aucune vente"_s
                                          : u"Mois de %1 à %2"_s.arg(monthName(year.months.front().month),
                                                                      monthName(year.months.back().month)));

    const BestSellers best = bestSellers(book, p, 10);
    QStringList names;
    for (const Ranked& r : best.artisans) {
        const int at = st.artList.indexOfArtNo(r.key);
        names << (at >= 0 ? st.artList.displayName(at) : u"("_s + r.key + u')');
    }
    replaceChart(artisansView, rankChart(u"Les dix artisans qui ont le plus vendu"_s, best.artisans, names, best.total));
    names.clear();
    for (const Ranked& r : best.products)
        names << r.key + u' ' + r.label;
    replaceChart(productsView, rankChart(u"Les produits les plus vendus"_s, best.products, names, best.total));
    // Read once the book is made: making it may fit "-[tout]-" to the ledger.
    m_sales = st.saleList.revision();
    m_reps = st.repList.revision();
}

QString TdashForm::proposedPath(const QString& stem) const
{
    return st.xmlDir + stem;
}
