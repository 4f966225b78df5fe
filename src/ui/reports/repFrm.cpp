#include "ui/reports/repFrm.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "export/reportDocs.h"
#include "model/uRep.h"
#include "model/uSale.h"
#include "report/settlement.h"
#include "report/shipped.h"
#include "report/statement.h"
#include "report/xslTransform.h"
#include "ui/dialogs/addPeriodFrm.h"
#include "ui/sales/saleFrm.h"
#include "ui/dashboard/salesCharts.h"
#include "ui/shell/main.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QListWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Headers of the three tabs, saying what each column holds: "Ventes" the
// sale rows, "Produits" each row's product with its "Valeur", "Inventaire"
// the artisan's products.
const QString HEADERS[] = {u"Date,Produit,Description,Prix de vente,Qté,Total des ventes"_s,
                           u"Produit,Description,Qté,Valeur,Prix de vente"_s,
                           u"Produit,Description,Reçus,Vendus,Reste"_s};

} // namespace

TrepForm::TrepForm(AppState& state, TmainForm& mainForm)
    : QWidget(&mainForm, Qt::Window), st(state), main(mainForm)
{
    setObjectName(u"repForm"_s);
    setWindowTitle(u"Rapport de consignation"_s);
    resize(640, 460);
    openPage = [this](const QString& path) { main.showWritten(path, true); };
    // A window of its own, closed from the keyboard too.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    formPanel = named<QFrame>("formPanel", this);
    rangePanel = named<QFrame>("rangePanel", formPanel);
    Label1 = named<QLabel>("Label1", u"Début:"_s, rangePanel);
    startDate = named<QLabel>("startDate", rangePanel);
    Label3 = named<QLabel>("Label3", u"Fin:"_s, rangePanel);
    endDate = named<QLabel>("endDate", rangePanel);
    artCB = named<QComboBox>("artCB", rangePanel);
    artCB->setToolTip(u"L'artisan du rapport (la fenêtre principale passe à lui aussi)"_s);
    artCB->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cListPanel = named<QFrame>("cListPanel", rangePanel);
    cListCB = named<QComboBox>("cListCB", cListPanel);
    cListCB->setMinimumWidth(180);
    auto* cl = new QHBoxLayout(cListPanel);
    cl->setContentsMargins(0, 0, 0, 0);
    cl->addWidget(cListCB);
    addPeriodBtn = speedButton(cListPanel, "addPeriodBtn", u"Ajouter/modifier item"_s, u"..."_s);
    cl->addWidget(addPeriodBtn);
    PrintBtn = named<QToolButton>("PrintBtn", rangePanel);
    PrintBtn->setText(u"PDF"_s);
    PrintBtn->setToolTip(u"Relevé de l'artisan pour la période (PDF)"_s);
    MailBtn = named<QToolButton>("MailBtn", rangePanel);
    MailBtn->setText(u"Courriel..."_s);
    MailBtn->setToolTip(u"Envoyer par courriel le relevé de la période à l'artisan"_s);
    viewModeBtn = speedButton(rangePanel, "viewModeBtn", u"Vue technique: les requêtes du registre"_s,
                              u"Requêtes..."_s);
    auto* range = new QHBoxLayout(rangePanel);
    for (QWidget* w : std::initializer_list<QWidget*>{artCB, Label1, startDate, Label3, endDate, cListPanel})
        range->addWidget(w);
    range->addStretch();
    range->addWidget(PrintBtn);
    range->addWidget(MailBtn);
    range->addWidget(viewModeBtn);

    ConsGrid = named<QTableWidget>("ConsGrid", formPanel);
    ConsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ConsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ConsGrid->verticalHeader()->hide();
    TabControl = named<QTabBar>("TabControl", formPanel);
    TabControl->setShape(QTabBar::RoundedSouth);
    TabControl->setUsesScrollButtons(false); // the three tabs whole, beside the amounts
    for (const QString& t : {u"Ventes"_s, u"Produits"_s, u"Inventaire"_s, u"Graphique"_s})
        TabControl->addTab(t);
    chartVw = chartView("chartVw", formPanel);
    chartVw->hide();
    chartSaveBtn = saveChartButton(chartVw, "chartSaveBtn", main,
                                   [this] { return st.xmlDir + u"ventes-"_s + safeFileName(shownArtNo); });
    chartSaveBtn->hide();
    tabInfoLab = named<QLabel>("tabInfoLab", formPanel);
    tabInfoLab->setStyleSheet(u"color: red"_s);
    totPanel = named<QFrame>("totPanel", formPanel);
    totalLab = named<QLabel>("totalLab", u"Ventes:"_s, totPanel);
    sTotLab = named<QLabel>("sTotLab", u"0.00$"_s, totPanel);
    sTotLab->setStyleSheet(u"color: red; font-weight: bold"_s);
    sTotLab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* tot = new QHBoxLayout(totPanel);
    tot->addWidget(totalLab);
    tot->addWidget(sTotLab, 1);
    // The split on its own line, under the total: whole whatever the amounts.
    shareLab = named<QLabel>("shareLab", formPanel);
    shareLab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Named on screen, not only in the PDF: a sale of them earns nothing.
    valeurLab = named<QLabel>("valeurLab", formPanel);
    valeurLab->setStyleSheet(u"color: red"_s);
    valeurLab->setWordWrap(true);
    valeurLab->hide();
    balanceLab = named<QLabel>("balanceLab", formPanel);
    payBtn = named<QPushButton>("payBtn", u"Payer l'artisan..."_s, formPanel);
    showANoChck = named<QCheckBox>("showANoChck", u"afficher No Art"_s, formPanel);
    XMLxPortBtn = named<QPushButton>("XMLxPortBtn", u"XMLxport"_s, formPanel);
    pmCons = named<QMenu>("pmCons", XMLxPortBtn);
    pmXportAllRec = pmCons->addAction(u"Tout exporter"_s);
    pmXportAllRec->setObjectName(u"pmXportAllRec"_s);
    pmPayAll = pmCons->addAction(u"Payer les artisans..."_s);
    pmPayAll->setObjectName(u"pmPayAll"_s);
    pmBooks = pmCons->addAction(u"Exporter pour le comptable..."_s);
    pmBooks->setObjectName(u"pmBooks"_s);
    XMLxPortBtn->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(XMLxPortBtn, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { pmCons->popup(XMLxPortBtn->mapToGlobal(p)); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(TabControl);
    bottom->addWidget(tabInfoLab);
    bottom->addWidget(chartSaveBtn);
    bottom->addStretch();
    bottom->addWidget(totPanel);
    allTransBtn = speedButton(formPanel, "allTransBtn", u"Liste complète..."_s, u"Toutes transactions"_s);
    allTransBtn->setCheckable(true);
    auto* cmds = new QHBoxLayout;
    cmds->addWidget(allTransBtn);
    cmds->addWidget(showANoChck);
    cmds->addStretch();
    cmds->addWidget(XMLxPortBtn);
    auto* fl = new QVBoxLayout(formPanel);
    fl->addWidget(rangePanel);
    fl->addWidget(ConsGrid, 1);
    fl->addWidget(chartVw, 1);
    fl->addLayout(bottom);
    fl->addWidget(shareLab);
    fl->addWidget(valeurLab);
    auto* account = new QHBoxLayout;
    account->addWidget(balanceLab, 1);
    account->addWidget(payBtn);
    fl->addLayout(account);
    fl->addLayout(cmds);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(formPanel);
    buildListView();
    layout->addWidget(listPanel);
    listPanel->hide();

    const auto guard = [this](void (TrepForm::*f)()) { return [this, f] { main.guarded([this, f] { (this->*f)(); }); }; };
    connect(cListCB, &QComboBox::activated, this, guard(&TrepForm::periodChanged));
    // Another artisan: the main window moves to it, and this window follows.
    connect(artCB, &QComboBox::activated, this, [this](int row) {
        const int index = artCB->itemData(row).toInt();
        if (index >= 0 && index < st.artList.count() && index != st.curArtInd)
            main.moveToArtisan(index);
        fillArtisanBox(); // refused or unchanged: the box names the shown one again
    });
    connect(TabControl, &QTabBar::currentChanged, this, guard(&TrepForm::refresh));
    connect(showANoChck, &QCheckBox::clicked, this, guard(&TrepForm::refresh));
    connect(XMLxPortBtn, &QPushButton::clicked, this, guard(&TrepForm::exportConsigne));
    connect(pmXportAllRec, &QAction::triggered, this, guard(&TrepForm::exportAll));
    connect(PrintBtn, &QToolButton::clicked, this, guard(&TrepForm::printStatement));
    connect(MailBtn, &QToolButton::clicked, this, guard(&TrepForm::mailStatement));
    connect(addPeriodBtn, &QToolButton::clicked, this, guard(&TrepForm::editPeriods));
    connect(allTransBtn, &QToolButton::clicked, this, guard(&TrepForm::allTransClick));
    connect(viewModeBtn, &QToolButton::clicked, this, guard(&TrepForm::switchView));
    connect(payBtn, &QPushButton::clicked, this, guard(&TrepForm::payArtisan));
    connect(pmBooks, &QAction::triggered, this, guard(&TrepForm::exportBooks));
    connect(pmPayAll, &QAction::triggered, this, guard(&TrepForm::payArtisans));
    sTotLab->installEventFilter(this);

    // Reached from the Special menu: the window is otherwise never shown.
    aRepForm = new QAction(u"Rapport de consignation..."_s, &main);
    aRepForm->setObjectName(u"aRepForm"_s);
    main.specialMenu->addAction(aRepForm);
    connect(aRepForm, &QAction::triggered, this, guard(&TrepForm::showReports));
    // While open, it follows the main window from artisan to artisan.
    // Periods edited on the sales side are listed here at once.
    connect(&main.doc(), &Boutique::periodsChanged, this, [this](const QObject* by) {
        if (by != this)
            reloadPeriods(st.curCIndex);
    });
    connect(&main.doc(), &Boutique::artisanSelected, this, [this] {
        if (isVisible())
            main.guarded([this] { refresh(); });
    });
    setupGrid();
}

void TrepForm::takeMainEdits()
{
    if (main.curPage >= 0 && main.mainReady)
        main.storeShown();
}

void TrepForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()
        && main.shownModified()) {
        main.guarded([this] {
            takeMainEdits();
            refresh();
        });
    }
}

void TrepForm::showReports()
{
    takeMainEdits();
    st.repList.refreshTitles();
    cListCB->clear();
    cListCB->addItems(st.repList.titles);
    if (st.curCIndex < 0 || st.curCIndex >= st.repList.count())
        st.curCIndex = st.repList.curPeriod;
    cListCB->setCurrentIndex(st.curCIndex >= 0 && st.curCIndex < st.repList.count() ? st.curCIndex : -1);
    if (allTransBtn->isChecked()) {
        allTransBtn->setChecked(false);
        cListPanel->show();
    }
    if (isVisible())
        periodChanged();
    show(); // a window shown anew computes what it shows
    raise();
}

void TrepForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    main.guarded([this] {
        if (allTransBtn->isChecked())
            allTransClick();
        else
            periodChanged();
    });
}

void TrepForm::reloadPeriods(int i)
{
    {
        const QSignalBlocker block(cListCB);
        cListCB->clear();
        cListCB->addItems(st.repList.titles);
        cListCB->setCurrentIndex(i >= 0 && i < cListCB->count() ? i : -1);
    }
    if (isVisible())
        periodChanged();
}

void TrepForm::periodChanged()
{
    st.curCIndex = cListCB->currentIndex();
    if (st.curCIndex < 0)
        return refresh(); // no period: no rows, the artisan still named
    const TReport& r = st.repList.at(st.curCIndex);
    startDate->setText(r.startDate);
    endDate->setText(r.endDate);
    setReportPeriod(st, r.title);
    refresh();
    if (viewMode)
        pQntClick();
}

void TrepForm::setupGrid()
{
    tabIndex = TabControl->currentIndex();
    totPanel->setVisible(tabIndex == 0);
    shareLab->setVisible(tabIndex == 0);
    ConsGrid->setVisible(tabIndex != 3);
    chartVw->setVisible(tabIndex == 3);
    chartSaveBtn->setVisible(tabIndex == 3);
    tabInfoLab->clear();
    const QStringList header = HEADERS[qBound(0, tabIndex, 2)].split(u',');
    ConsGrid->clear();
    ConsGrid->setColumnCount(int(header.size()));
    ConsGrid->setHorizontalHeaderLabels(header);
    ConsGrid->setRowCount(0);
    ConsGrid->horizontalHeader()->setSectionResizeMode(tabIndex == 0 ? 2 : 1, QHeaderView::Stretch);
}

void TrepForm::fillArtisanBox()
{
    const QSignalBlocker block(artCB);
    artCB->clear();
    int shown = -1;
    for (int i = 0; i < st.artList.count(); ++i) {
        artCB->addItem(st.artList.displayName(i), i);
        if (st.artList.at(i).artNo == shownArtNo && (shown < 0 || i == st.curArtInd))
            shown = artCB->count() - 1;
    }
    if (shown < 0 && !shownName.isEmpty()) { // sales of an artisan no longer listed
        artCB->addItem(shownName, -1);
        shown = artCB->count() - 1;
    }
    artCB->setCurrentIndex(shown);
}

void TrepForm::fillGrid(const QStringList& rows, const QList<int>& fields)
{
    ConsGrid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList f = readCommaList(rows.at(r));
        for (int c = 0; c < fields.size(); ++c)
            ConsGrid->setItem(r, c, new QTableWidgetItem(f.value(fields.at(c))));
    }
}

void TrepForm::fillGrid(const std::function<QStringList(const SaleRow&)>& cells)
{
    ConsGrid->setRowCount(int(shownRows.size()));
    for (int r = 0; r < int(shownRows.size()); ++r) {
        const QStringList f = cells(shownRows[size_t(r)]);
        for (int c = 0; c < f.size(); ++c)
            ConsGrid->setItem(r, c, new QTableWidgetItem(f.at(c)));
    }
}

void TrepForm::refresh()
{
    const bool all = allTransBtn->isChecked();
    WaitCursor wait;
    st.repList.rangeLines.clear();
    st.repList.rangeRows.clear();
    if (all)
        artisanRowsAllSheets();
    else if (st.curCIndex >= 0 && st.curCIndex < st.repList.count())
        st.repList.setConsigne(st.curArtNo, st.curCIndex, st.saleList, st.xmlDataLines);
    shownTotal = amountOf(st.repList.rangeRows);
    shownRows.assign(st.repList.rangeRows.begin(), st.repList.rangeRows.end());
    st.repList.total = shownTotal.format();
    shownArtNo = st.curArtNo;
    const int artisan = st.artList.indexOfArtNo(shownArtNo);
    shownName = artisan >= 0 ? st.artList.displayName(artisan) : u"("_s + shownArtNo + u')';
    fillArtisanBox();
    setWindowTitle(u"Rapport de consignation - "_s + shownName);
    setupGrid();
    valeurLab->hide();
    if (tabIndex == 0) {
        fillGrid([](const SaleRow& r) {
            return QStringList{r.date, r.prodNo, r.descript, r.priceText(), QString::number(r.qnt), r.amount.format()};
        });
        sumTotal();
        const Statement s = statementFor(st, statementHeader(st, st.curCIndex), st.curArtNo);
        shareLab->setText(u"Part de la boutique : %1   Montant dû à l'artisan : %2"_s.arg(s.split.shop().format(),
                                                                                   s.split.due.format()));
        shareLab->setToolTip(u"Part de l'artisan : "_s + s.rule.text());
        valeurLab->setText(missingValeurWarning(s.split.missing));
        valeurLab->setVisible(!valeurLab->text().isEmpty());
    } else if (tabIndex == 1) {
        fillGrid([](const SaleRow& r) {
            return QStringList{r.prodNo, r.descript, QString::number(r.qnt), QString(), r.priceText()};
        });
        // The fourth column: the product's own "Valeur", what the artisan gets.
        const int at = st.artList.indexOfArtNo(st.curArtNo);
        for (int r = 0; r < ConsGrid->rowCount(); ++r) {
            QString valeur;
            for (int k = 0; at >= 0 && k < st.artList.at(at).products.count(); ++k)
                if (st.artList.at(at).products.at(k).prodNo == ConsGrid->item(r, 0)->text())
                    valeur = st.artList.at(at).products.at(k).valeur;
            ConsGrid->item(r, 3)->setText(valeur);
        }
        tabInfoLab->setText(QString::number(shownRows.size()));
    } else if (tabIndex == 2) {
        const int at = st.artList.indexOfArtNo(st.curArtNo);
        const QStringList inv =
            at < 0 ? QStringList()
                   : readCommaList(st.artList.at(at).products.getCurInvent(st.curArtNo, st.saleList, st.repList));
        fillGrid(inv, {0, 1, 2, 3, 4});
        tabInfoLab->setText(QString::number(inv.size()));
    } else {
        showChart();
    }
    sTotLab->setText(shownTotal.format()); // the sales' total, whatever the tab
    showBalance();
    main.setStatusText(1, u"Artisan n° "_s + st.curArtNo);
}

void TrepForm::sumTotal()
{
    // The sum of the amounts the Total column prints, taken from the rows
    // themselves rather than read back from the grid's texts.
    gridTotal = tabIndex == 0 ? amountOf(shownRows) : Money();
    sTotLab->setText(gridTotal.format());
}

bool TrepForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sTotLab && event->type() == QEvent::MouseButtonRelease)
        main.guarded([this] { sumTotal(); });
    return QWidget::eventFilter(watched, event);
}

void TrepForm::artisanRowsAllSheets()
{
    // Every sale row of the artisan in the whole ledger, newest first: the
    // rows of the ledger's query that carry its number.
    const std::span<const SaleRow> rows = st.repList.book(st.saleList).artisanRows(st.curArtNo);
    amountOf(rows);
    for (const SaleRow& r : rows)
        st.repList.rangeLines << r.text();
    st.repList.rangeRows = QList<SaleRow>(rows.begin(), rows.end());
}

void TrepForm::allTransClick()
{
    const bool down = allTransBtn->isChecked();
    cListPanel->setHidden(down);
    if (down) {
        refresh();
        // The rows run newest first, whatever the ledger's order.
        if (!shownRows.empty()) {
            startDate->setText(shownRows.back().date);
            endDate->setText(shownRows.front().date);
        }
    } else {
        periodChanged();
    }
}

void TrepForm::editPeriods()
{
    const QStringList before = main.doc().periodRecords();
    const QString shown = cListCB->currentText();
    TaddPeriodDlg dlg(st.repList, main.prompt(), st.curCIndex, this);
    dlg.setWindowTitle(u"Ajouter une période de consignation"_s);
    const auto found = dlg.sPeriodList->findItems(shown, Qt::MatchExactly);
    if (!found.isEmpty()) {
        dlg.sPeriodList->setCurrentItem(found.first());
        dlg.listClick();
    }
    main.runModal(dlg);
    // The dialog changes the list as it goes, however it is closed; the sales
    // side's period box lists them too (a stale one would choose by old
    // positions).
    main.doc().periodsEdited(before, this);
    // The period the dialog was on, by position: two periods may share a title.
    reloadPeriods(dlg.selIndex >= 0 && dlg.selIndex < st.repList.count() ? dlg.selIndex : 0);
    periodChanged();
}

QStringList TrepForm::shownRange() const
{
    if (!allTransBtn->isChecked())
        return {};
    return {allTransBtn->text(), startDate->text(), endDate->text()};
}

void TrepForm::exportConsigne()
{
    // Computed afresh, so that the file holds what the window now shows.
    refresh();
    const QString name = showANoChck->isChecked() ? u"consigne"_s : u"consigne1"_s;
    st.xmlDataLines.clear();
    for (const SaleRow& r : shownRows)
        st.xmlDataLines << r.xml();
    if (!st.xmlDataLines.isEmpty()) {
        st.repArtName = shownName;
        st.repList.total = shownTotal.format();
        writeSalesReport(st, name, main.prompt(), outputOptions(st), shownRange());
        main.setStatusText(2, countOf(st.xmlDataLines.size(), u"ligne de ventes"_s, u"lignes de ventes"_s));
        main.installShipped();
        const Statement s = statementFor(st, statementHeader(st, st.curCIndex), st.curArtNo);
        openPage(xslt::transformFile(salesReportDir(st, shownRange()) + safeFileName(name) + u".xml"_s,
                                     xslt::trustedStyleDirs(st), {}, outputOptions(st), {shopHtml(s.head), splitHtml(s)}));
        return;
    }
    main.setStatusText(2, u"Aucune ligne de ventes"_s);
}

void TrepForm::exportAll()
{
    if (st.curCIndex < 0)
        return;
    main.installShipped();
    std::unique_ptr<QProgressDialog> dlg;
    Progress step = progress;
    if (!step) {
        dlg = std::make_unique<QProgressDialog>(u"Relevés de la période..."_s, u"Annuler"_s, 0, 1, this);
        dlg->setWindowModality(Qt::WindowModal);
        step = [&](int done, int total) {
            dlg->setMaximum(total);
            dlg->setValue(done);
            return !dlg->wasCanceled();
        };
    }
    Summary sum;
    // Every artisan's report as exportAllConsigne writes it, with the pages
    // and statements of those with sales.
    const QString dir = salesReportDir(st);
    if (writeSettlement(st, st.curCIndex, dir, &sum, step, true))
        openPage(dir + SUMMARY_NAME + u".html"_s);
    refresh();
}

void TrepForm::printStatement()
{
    if (const QString path = writeStatement(); !path.isEmpty())
        openPage(path);
}

QString TrepForm::writeStatement()
{
    const QStringList range = shownRange();
    if (st.curCIndex < 0 && range.isEmpty())
        return {};
    WaitCursor wait;
    refresh();
    StatementHeader head = statementHeader(st, st.curCIndex);
    if (!range.isEmpty()) {
        head.periodTitle = range.at(0);
        head.startDate = range.at(1);
        head.endDate = range.at(2);
    }
    const Statement s = statementFor(st, head, shownArtNo);
    const QString dir = salesReportDir(st, range);
    makeFolder(dir);
    // The name "Tout exporter" gives the same statement: one file, wherever
    // it was asked from. Without sales, the statement says so.
    const QString path = dir + safeFileName(u"c"_s + shownArtNo) + u".pdf"_s;
    safeWriteFile(path, statementPdf(s), outputOptions(st));
    return path;
}
