// The report window's list view: the raw rows of the ledger and period
// queries, split into a wide grid, for looking into what a report is made of.

#include "ui/reports/repFrm.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/textUtil.h"
#include "export/reportDocs.h"
#include "model/uRep.h"
#include "model/uSale.h"
#include "ui/widgets/controls.h"
#include "ui/shell/main.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Column widths and header of the split rows, by line format.
struct DebugSetup {
    int widths[7];
    const char16_t* header;
};
const DebugSetup DEBUG_SETUPS[] = {
    {{50, 100, 220, 70, 20, 100, 100}, u"dte,artisan,descript,prix,qnt,tot,"},
    {{50, 50, 55, 250, 70, 20, 70}, u"dte,ANo,noProd,descript,prix,qnt,tot"},
    {{50, 30, 30, 270, 70, 20, 70}, u"dte,ANo,noProd,descript,prix,qnt,tot"},
    {{50, 30, 30, 20, 70, 20, 300}, u"dte,ANo,noProd,qnt,tot,,"},
};
const QString FORMAT_HINTS[] = {u"Toutes les ventes"_s, u"Date et toutes les ventes"_s,
                                u"Date, artisan, produit et vente (prix, qté, total)"_s, QString()};
constexpr int DEBUG_COLUMNS = 127;

} // namespace

void TrepForm::buildListView()
{
    listPanel = named<QFrame>("listPanel", this);
    auto* lay = new QVBoxLayout(listPanel);
    auto* top = new QHBoxLayout;
    lay->addLayout(top);

    auto* left = new QVBoxLayout;
    top->addLayout(left, 3);
    cInfoLab = named<QLabel>("cInfoLab", listPanel);
    cInfoLab->setStyleSheet(u"color: red"_s);
    lCntLab = named<QLabel>("lCntLab", u"Total:"_s, listPanel);
    auto* info = new QHBoxLayout;
    info->addWidget(cInfoLab, 1);
    info->addWidget(lCntLab);
    left->addLayout(info);
    RepListBox = named<QListWidget>("RepListBox", listPanel);
    left->addWidget(RepListBox, 1);

    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);
    Label2 = named<QLabel>("Label2", u"Ventes par date"_s, listPanel);
    cListBox = named<QListWidget>("cListBox", listPanel);
    right->addWidget(Label2);
    right->addWidget(cListBox, 1);

    auto* cmds = new QHBoxLayout;
    lay->addLayout(cmds);
    getAllSalesGrp = named<QGroupBox>("getAllSalesGrp", u"Toutes les ventes"_s, listPanel);
    getAllSalesBtns = new QButtonGroup(getAllSalesGrp);
    auto* grp = new QHBoxLayout(getAllSalesGrp);
    for (int m = 0; m < 4; ++m) {
        auto* b = new QRadioButton(QString::number(m), getAllSalesGrp);
        b->setObjectName(u"getAllSales"_s + QString::number(m));
        b->setToolTip(FORMAT_HINTS[m]);
        getAllSalesBtns->addButton(b, m);
        grp->addWidget(b);
    }
    cmds->addWidget(getAllSalesGrp);
    rangeChk = named<QCheckBox>("rangeChk", u"Période choisie seulement"_s, listPanel);
    cmds->addWidget(rangeChk);
    const auto button = [&](const char* name, const QString& text) {
        auto* b = named<QPushButton>(name, text, listPanel);
        cmds->addWidget(b);
        return b;
    };
    allRepsBtn = button("allRepsBtn", u"Registre entier"_s);
    allRangeBtn = button("allRangeBtn", u"Lignes de la période"_s);
    aNoSBtn = button("aNoSBtn", u"Lignes de l'artisan"_s);
    invGBtn = button("invGBtn", u"Inventaire"_s);
    pQntBtn = button("pQntBtn", u"Quantités"_s);
    expCurBtn = button("expCurBtn", u"Exporter la liste"_s);
    gridChck = named<QCheckBox>("gridChck", u"Grille"_s, listPanel);
    gridChck->setChecked(true);
    cmds->addWidget(gridChck);
    cmds->addStretch();

    rGrid1 = named<QTableWidget>("rGrid1", listPanel);
    rGrid1->setColumnCount(DEBUG_COLUMNS);
    rGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    lay->addWidget(rGrid1, 1);

    const auto guard = [this](void (TrepForm::*f)()) {
        return [this, f] { main.guarded([this, f] { (this->*f)(); }); };
    };
    connect(getAllSalesBtns, &QButtonGroup::idClicked, this,
            [this](int m) { main.guarded([this, m] { allSalesClick(m); }); });
    connect(allRepsBtn, &QPushButton::clicked, this, guard(&TrepForm::allRepsClick));
    connect(allRangeBtn, &QPushButton::clicked, this, guard(&TrepForm::allRangeClick));
    connect(aNoSBtn, &QPushButton::clicked, this, guard(&TrepForm::aNoSalesClick));
    connect(invGBtn, &QPushButton::clicked, this, guard(&TrepForm::invGClick));
    connect(pQntBtn, &QPushButton::clicked, this, guard(&TrepForm::pQntClick));
    connect(expCurBtn, &QPushButton::clicked, this, guard(&TrepForm::expCurClick));
    connect(cListBox, &QListWidget::itemClicked, this, guard(&TrepForm::cListBoxClick));
    connect(RepListBox, &QListWidget::itemClicked, this, guard(&TrepForm::repListBoxClick));
    connect(gridChck, &QCheckBox::toggled, rGrid1, &QWidget::setVisible);
}

void TrepForm::switchView()
{
    viewMode = !viewMode;
    formPanel->setVisible(!viewMode);
    listPanel->setVisible(viewMode);
    RepListBox->show();
    cListBox->clear();
    cListBox->addItems(st.saleList.sheetDates());
    // The period bar, with this button, goes with the shown view.
    QFrame* from = viewMode ? formPanel : listPanel;
    QFrame* into = viewMode ? listPanel : formPanel;
    from->layout()->removeWidget(rangePanel);
    static_cast<QBoxLayout*>(into->layout())->insertWidget(0, rangePanel);
    rangePanel->show();
    viewModeBtn->setText(viewMode ? u"< Rapport"_s : u"Requêtes..."_s);
}

void TrepForm::showQuery(const QString& name, const QStringList& rows, int m)
{
    cInfoLab->setText(name);
    RepListBox->clear();
    RepListBox->addItems(rows);
    fillDebugGrid(m);
}

void TrepForm::fillDebugGrid(int m)
{
    const int n = RepListBox->count();
    // An empty result empties the grid too: the last rows would pass for it.
    rGrid1->setRowCount(0);
    if (n > 0) {
        const DebugSetup& d = DEBUG_SETUPS[qBound(0, m, 3)];
        gridChck->setChecked(true);
        rGrid1->show();
        rGrid1->clear();
        rGrid1->setRowCount(n);
        for (int c = 0; c < DEBUG_COLUMNS; ++c)
            rGrid1->setColumnWidth(c, c < 7 ? d.widths[c] : 50);
        rGrid1->setHorizontalHeaderLabels(readCommaList(QString::fromUtf16(d.header)));
        for (int r = 0; r < n; ++r) {
            const QStringList cells = readCommaList(RepListBox->item(r)->text());
            for (int c = 0; c < cells.size() && c < DEBUG_COLUMNS; ++c)
                rGrid1->setItem(r, c, new QTableWidgetItem(cells.at(c)));
        }
    }
    lCntLab->setText(QString::number(n));
}

void TrepForm::allSalesClick(int m)
{
    main.showHint(FORMAT_HINTS[qBound(0, m, 3)]);
    // Restricted to the period only when one is chosen.
    if (rangeChk->isChecked() && st.curCIndex >= 0)
        st.saleList.getPeriodSales(m, st.curCIndex, st.repList, main.prompt());
    else
        st.saleList.getAllSales(m);
    showQuery(u"saleList.getAllSales"_s, st.saleList.results, m);
}

void TrepForm::allRepsClick()
{
    st.saleList.getAllSales(3);
    main.showHint(u"Toutes les ventes, feuille par feuille"_s);
    showQuery(u"saleList.getAllRep"_s, st.saleList.results, 3);
}

void TrepForm::allRangeClick()
{
    if (st.curCIndex < 0)
        return;
    // The period's rows from every sale, whatever the last query left.
    st.saleList.getAllSales(2);
    st.repList.getAllRange(st.curCIndex, st.saleList);
    showQuery(u"RepList.getAllRange("_s + cListCB->currentText() + u')', st.repList.rangeLines, 2);
}

void TrepForm::aNoSalesClick()
{
    if (st.curCIndex < 0)
        return;
    st.repList.setConsigne(st.curArtNo, st.curCIndex, st.saleList, st.xmlDataLines);
    showQuery(u"(RepList.setConsigne"_s + st.curArtNo + u')', st.repList.rangeLines, 2);
}

void TrepForm::invGClick()
{
    cInfoLab->setText(u"prodList.getCurInvent("_s + st.curArtNo + u')');
    const int at = st.artList.indexOfArtNo(st.curArtNo);
    cListBox->clear();
    if (at >= 0)
        cListBox->addItems(
            readCommaList(st.artList.at(at).products.getCurInvent(st.curArtNo, st.saleList, st.repList)));
    fillDebugGrid(3);
}

void TrepForm::pQntClick()
{
    cInfoLab->setText(u"prodList.getCurQnt("_s + st.curArtNo + u')');
    fillDebugGrid(2);
}

void TrepForm::expCurClick()
{
    if (st.curCIndex < 0)
        return;
    const QString name = showANoChck->isChecked() ? u"consAll1"_s : u"consAll"_s;
    st.xmlDataLines.clear();
    // Its total is its own rows' (price x quantity), not the last consignment's.
    Money total;
    for (int i = 0; i < RepListBox->count(); ++i) {
        const QString row = RepListBox->item(i)->text();
        TRepList::XMLData(row, st.xmlDataLines);
        const QStringList f = readCommaList(row);
        const int price = f.size() < 7 ? 3 : 4; // a six-field row has no artisan number
        total += saleAmount(f.value(price), f.value(price + 1));
    }
    if (st.xmlDataLines.isEmpty())
        return;
    const QString kept = st.repList.total;
    st.repList.total = total.format();
    try {
        main.setStatusText(2, writeSalesReport(st, name, main.prompt(), outputOptions(st)));
    } catch (...) {
        st.repList.total = kept;
        throw;
    }
    st.repList.total = kept;
}

void TrepForm::cListBoxClick()
{
    const int i = cListBox->currentRow();
    // The inventory rows of invGBtn are no sheets.
    if (i < 0 || i >= st.saleList.count() || cListBox->item(i)->text() != st.saleList.sheetDate(i))
        return;
    RepListBox->clear();
    RepListBox->addItems(readCommaList(st.saleList.sheetLines(i)));
    lCntLab->setText(QString::number(RepListBox->count()));
}

void TrepForm::repListBoxClick()
{
    const int i = cListBox->currentRow();
    if (i >= 0 && RepListBox->currentRow() >= 0 && i < st.saleList.count())
        cInfoLab->setText(
            st.saleList.lineQuantity(i, getCommaItem(RepListBox->currentItem()->text(), 0)));
    gridChck->setChecked(false);
    rGrid1->hide();
}
