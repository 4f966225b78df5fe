#include "ui/sales/saleFrm.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "ui/editor/addSItemFrm.h"
#include "ui/reports/repFrm.h"
#include "ui/shell/main.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// Column titles of the sales grid and of the period grid.
const QString kSaleColumns = u"PNo,Description,Prix,Qnt,Total"_s;
const QString kPeriodColumns = u"RapportNo,Préposé,Total"_s;
// Captions of viewModeBtn in the sheet view and in the all-sales view.
const QString kToListGlyph = u"Ventes par période >"_s;
const QString kBackGlyph = u"< Rapport"_s;

} // namespace

TsaleForm::TsaleForm(AppState& state, TmainForm& mainForm, QWidget* parent)
    : QWidget(parent), st(state), main(mainForm)
{
    setObjectName(u"saleForm"_s);
    resize(830, 460);
    buildTopBar();
    buildSheetBody();
    buildListView();
    connect(&main.doc(), &Boutique::fileChanged, this, &TsaleForm::showCurrent);
    // Periods edited elsewhere: the box would choose by old positions.
    connect(&main.doc(), &Boutique::periodsChanged, this, [this](const QObject* by) {
        if (by != this)
            reloadPeriodBox(st.repList.curPeriod);
    });

    for (QObject* o : std::initializer_list<QObject*>{dateLab, bInfoLab1, Label13, sNameLab,
                                                      Label12, sTotLab, sNameCB->lineEdit()})
        o->installEventFilter(this);
    connect(addReportBtn, &QToolButton::clicked, this,
            [this] { main.guarded([this] { chooseDate(false); }); });
    connect(redateBtn, &QToolButton::clicked, this, [this] { main.guarded([this] { chooseDate(true); }); });
    // The key works wherever the focus is in the main window, while the
    // button is there to press.
    auto* aRedate = new QAction(u"Changer la date de la feuille"_s, &main);
    aRedate->setObjectName(u"aRedate"_s);
    aRedate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    main.addAction(aRedate);
    connect(aRedate, &QAction::triggered, this, [this] {
        if (redateBtn->isVisible() && redateBtn->isEnabled())
            redateBtn->click();
    });
    connect(saveBtn, &QToolButton::clicked, this, [this] { main.aSave->trigger(); });
    connect(sNameCB->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { main.guarded([this] { commitAgent(); }); });
    connect(sListBox, &QListWidget::currentRowChanged, this,
            [this](int row) { main.guarded([this, row] { moveToSheet(row); }); });
    connect(SalesGrid, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (!st.saleList.isEmpty())
            curRow = row;
    });
    connect(SalesGrid, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { main.guarded([this, row] { openEditor(row); }); });
    connect(addProdBtn, &QToolButton::clicked, this, [this] {
        main.guarded([this] { st.saleList.isEmpty() ? chooseDate(false) : openEditor(-1); });
    });
    connect(delSBTN, &QToolButton::clicked, this, [this] { main.guarded([this] { deleteShownSheet(); }); });
    connect(viewModeBtn, &QToolButton::clicked, this,
            [this] { main.guarded([this] { setListMode(!listMode); }); });
    connect(pListCB, &QComboBox::currentIndexChanged, this,
            [this] { main.guarded([this] { periodChange(); }); });
    connect(addPeriodBtn, &QToolButton::clicked, this,
            [this] { main.guarded([this] { editPeriods(); }); });
    connect(gGrid, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { main.guarded([this, row] { openPeriodRow(row); }); });

    // To the report window, on the period chosen here.
    auto* repBtn = speedButton(bPanel, "repFormBtn", u"Consignation par artisan pour la période"_s,
                               u"Consignation..."_s);
    QPalette white = repBtn->palette();
    white.setColor(QPalette::ButtonText, Qt::white);
    repBtn->setPalette(white);
    bPanel->layout()->addWidget(repBtn);
    connect(repBtn, &QToolButton::clicked, &main, [this] {
        st.curCIndex = st.repList.curPeriod;
        main.guarded([this] { main.repForm->showReports(); });
    });

    // Creation: the sheet view, no sheet shown yet.
    editing = false;
    listMode = false;
    clearSheetView();
    listPanel->hide();
    bPanel->hide();
}

void TsaleForm::buildTopBar()
{
    sTopPan = named<QFrame>("sTopPan", this);
    auto* top = new QHBoxLayout(sTopPan);
    top->setContentsMargins(4, 0, 4, 0);
    sNoLab = named<QLabel>("sNoLab", u"Rapport courant:"_s, sTopPan);
    dateLab = named<QLabel>("dateLab", u"Date:"_s, sTopPan);
    dateLab->setToolTip(u"Modifier la date"_s);
    dateLab->setCursor(Qt::PointingHandCursor);
    dateLab->setMinimumWidth(60);
    addReportBtn = speedButton(sTopPan, "addReportBtn", u"Nouvelle feuille"_s, u"+"_s);
    // Re-dating said in words, with its key (the date itself can be clicked too).
    redateBtn = speedButton(sTopPan, "redateBtn", u"Changer la date de la feuille affichée (Ctrl+D)"_s,
                            u"Changer la date..."_s);
    redateBtn->setEnabled(false);
    Label13 = named<QLabel>("Label13", u"Agent:"_s, sTopPan);
    sNameLab = named<QLabel>("sNameLab", u"nom..."_s, sTopPan);
    sNameLab->setCursor(Qt::PointingHandCursor);
    sNameLab->setMinimumWidth(120);
    sNameCB = named<QComboBox>("sNameCB", sTopPan);
    sNameCB->setEditable(true);
    sNameCB->setInsertPolicy(QComboBox::NoInsert);
    sNameCB->setMinimumWidth(160);
    sNameCB->hide();
    saveBtn = speedButton(sTopPan, "saveBtn", u"Enregistrer"_s, u"Enregistrer"_s);
    PrintBtn = speedButton(sTopPan, "PrintBtn", u"Print form image"_s, {});
    PrintBtn->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{sNoLab, dateLab, redateBtn, addReportBtn, Label13,
                                                      sNameLab, sNameCB})
        top->addWidget(w);
    top->addStretch();
    top->addWidget(saveBtn);
    top->addWidget(PrintBtn);
    sTopPan->hide();

    bPanel = named<QFrame>("bPanel", this);
    auto* b = new QHBoxLayout(bPanel);
    b->setContentsMargins(4, 0, 4, 0);
    bInfoLab = named<QLabel>("bInfoLab", u"Ensemble des ventes"_s, bPanel);
    bInfoLab1 = named<QLabel>("bInfoLab1", u"Période:"_s, bPanel);
    bInfoLab1->setToolTip(u"Modifier la date"_s);
    pListCB = named<QComboBox>("pListCB", bPanel);
    pListCB->setMinimumWidth(150);
    addPeriodBtn = speedButton(bPanel, "addPeriodBtn", u"Ajouter/modifier item"_s, u"..."_s);
    pStartDate = named<QLabel>("pStartDate", u"Début"_s, bPanel);
    Label6 = named<QLabel>("Label6", u"->"_s, bPanel);
    pEndDate = named<QLabel>("pEndDate", u"Fin"_s, bPanel);
    for (QWidget* w : std::initializer_list<QWidget*>{bInfoLab, bInfoLab1, pListCB, addPeriodBtn,
                                                      pStartDate, Label6, pEndDate})
        b->addWidget(w);
    b->addStretch();
    // Hosted on the main window's green bar: buttons in white like its labels.
    for (QToolButton* button : {addReportBtn, redateBtn, saveBtn, addPeriodBtn}) {
        QPalette pal = button->palette();
        pal.setColor(QPalette::ButtonText, Qt::white);
        button->setPalette(pal);
    }
}

void TsaleForm::buildSheetBody()
{
    formPanel = named<QFrame>("formPanel", this);
    auto* body = new QHBoxLayout(formPanel);
    sListBox = named<QListWidget>("sListBox", formPanel);
    sListBox->setFixedWidth(90);
    body->addWidget(sListBox);

    auto* right = new QVBoxLayout;
    body->addLayout(right, 1);
    SalesGrid = rowGrid(formPanel, "SalesGrid", {103, 282, 58, 29, 56}, readCommaList(kSaleColumns));
    right->addWidget(SalesGrid, 1);

    formBottom = new QHBoxLayout;
    right->addLayout(formBottom);
    navPanel = named<QFrame>("navPanel", formPanel);
    auto* nav = new QHBoxLayout(navPanel);
    nav->setContentsMargins(0, 0, 0, 0);
    addProdBtn = speedButton(navPanel, "addProdBtn", u"Ajouter produit"_s, u"Ajouter produit"_s);
    addProdBtn->setShortcut(Qt::Key_Insert);
    delSBTN = speedButton(navPanel, "delSBTN", u"Supprimer la feuille affichée"_s, u"Supprimer"_s);
    delSBTN->setEnabled(false);
    nav->addWidget(addProdBtn);
    nav->addWidget(delSBTN);
    formBottom->addWidget(navPanel);
    tCntLab = named<QLabel>("tCntLab", u"0"_s, formPanel);
    formBottom->addWidget(tCntLab);
    formBottom->addStretch();
    Label12 = named<QLabel>("Label12", u"Total:"_s, formPanel);
    Label12->setCursor(Qt::PointingHandCursor);
    sTotLab = named<QLabel>("sTotLab", u"0.00$"_s, formPanel);
    sTotLab->setMinimumWidth(70);
    formBottom->addWidget(Label12);
    formBottom->addWidget(sTotLab);
    infoLab = named<QLabel>("infoLab", formPanel);
    infoLab->hide();
    viewModeBtn = speedButton(formPanel, "viewModeBtn", {}, kToListGlyph);
    formBottom->addWidget(viewModeBtn);
}

void TsaleForm::buildListView()
{
    listPanel = named<QFrame>("listPanel", this);
    auto* body = new QVBoxLayout(listPanel);
    gGrid = rowGrid(listPanel, "gGrid", {82, 380, 121}, readCommaList(kPeriodColumns));
    gGrid->setCursor(Qt::PointingHandCursor);
    body->addWidget(gGrid, 1);
    listBottom = new QHBoxLayout;
    body->addLayout(listBottom);
    gTotPanel = named<QFrame>("gTotPanel", listPanel);
    auto* tot = new QHBoxLayout(gTotPanel);
    tot->setContentsMargins(0, 0, 0, 0);
    tot->addWidget(new QLabel(u"Total:"_s, gTotPanel));
    gTotLab = named<QLabel>("gTotLab", u"0.00$"_s, gTotPanel);
    gTotLab->setMinimumWidth(90);
    tot->addWidget(gTotLab);
    listBottom->addStretch();
    listBottom->addWidget(gTotPanel);
}

void TsaleForm::setHelp(const QString& text)
{
    main.showHint(text);
}

bool TsaleForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonRelease) {
        if (watched == dateLab || watched == bInfoLab1)
            main.guarded([this] { chooseDate(true); });
        else if (watched == Label13)
            sNameCB->hide();
        else if (watched == sNameLab)
            showAgentBox();
        else if (watched == Label12)
            computeTotal();
    } else if (type == QEvent::MouseButtonDblClick) {
        if (watched == sTotLab)
            computeTotal();
        else if (watched == sNameCB->lineEdit())
            main.guarded([this] { commitAgent(); });
    }
    return QWidget::eventFilter(watched, event);
}

// --- hosting -----------------------------------------------------------------------

void TsaleForm::showCurrent()
{
    // The sheet view comes back whenever the data behind the window is
    // replaced (a file opened, the data emptied); an open editor goes.
    dropEditor();
    if (listMode)
        setListMode(false);
    st.repList.refreshTitles();
    reloadPeriodBox(st.repList.curPeriod);
    sNameCB->clear();
    sNameCB->addItems(readCommaList(st.sAgentList));
    const int shown = st.saleList.indexOfCurDate();
    refreshSheetList();
    if (shown > 0) {
        showSheet(shown);
        const QSignalBlocker block(sListBox);
        sListBox->setCurrentRow(shown);
    }
}

void TsaleForm::storeShown()
{
    // While lines are edited the sheet takes them as they stand, so that what
    // is saved never has sold quantities without their lines.
    if (editing && sItemDlg)
        return takeEditedLines();
    if (!editing && curSheet >= 0 && curSheet < st.saleList.count() && !st.saleList.curDate.isEmpty())
        storeSheet(curSheet);
}

void TsaleForm::leave()
{
    storeShown();
    sNameCB->hide();
    if (listMode)
        setListMode(false);
}

bool TsaleForm::isModified() const
{
    if (editing || curSheet < 0 || curSheet >= st.saleList.count() || st.saleList.curDate.isEmpty())
        return false;
    const TSaleItem& s = st.saleList.at(curSheet);
    // The total shown follows the lines: a stored total that differs is no edit.
    return s.date != dateLab->text() || s.agent != sNameLab->text() || s.lines != writeCommaList(saleLines);
}

const QWidget* TsaleForm::standIn() const
{
    // The editor takes the sheet's place: a save made while it is open must
    // reach storeShown, which hands its lines to the sheet.
    return editing ? sItemDlg : nullptr;
}

// Puts in where out is hosted (or just swaps them when neither is hosted).
void TsaleForm::swapHosted(QWidget* out, QWidget* in)
{
    QWidget* host = out->parentWidget();
    if (host && host != this) {
        if (QLayout* l = host->layout()) {
            delete l->replaceWidget(out, in); // the item that held out
        } else {
            in->setParent(host);
            in->setGeometry(out->geometry());
        }
        out->hide();
        out->setParent(this);
        in->setAutoFillBackground(out->autoFillBackground());
        in->show();
        in->raise();
    } else {
        out->hide();
        in->show();
    }
}

void TsaleForm::placeViewButton()
{
    formBottom->removeWidget(viewModeBtn);
    listBottom->removeWidget(viewModeBtn);
    if (listMode) {
        viewModeBtn->setParent(listPanel);
        listBottom->addWidget(viewModeBtn);
        viewModeBtn->setText(kBackGlyph);
    } else {
        viewModeBtn->setParent(formPanel);
        formBottom->addWidget(viewModeBtn);
        viewModeBtn->setText(kToListGlyph);
    }
    viewModeBtn->setVisible(!st.saleList.isEmpty());
}

void TsaleForm::setListMode(bool on)
{
    if (editing || on == listMode)
        return;
    if (on)
        // The period grid shows the sheets' stored totals: the shown
        // sheet's goes in first.
        storeShown();
    listMode = on;
    if (on) {
        main.setPageBtnShown(false);
        swapHosted(sTopPan, bPanel);
        swapHosted(formPanel, listPanel);
        gTotPanel->show();
        placeViewButton();
        reloadPeriodBox(st.repList.curPeriod);
        periodChange();
    } else {
        swapHosted(bPanel, sTopPan);
        swapHosted(listPanel, formPanel);
        placeViewButton();
        main.updatePageBtn();
    }
}

void TsaleForm::setEditing(bool on)
{
    editing = on;
    saveBtn->setVisible(!on);
    addReportBtn->setVisible(!on);
    sTopPan->setEnabled(!on);
    main.subTLabel->setText(on ? u"création du rapport de vente"_s : u"détail"_s);
    main.subTLabel->setEnabled(!on);
    const QList<QAction*> menus = main.menuBar()->actions();
    for (qsizetype i = 0; i < 2 && i < menus.size(); ++i)
        menus.at(i)->setEnabled(!on);
    main.setPageBtnEnabled(!on);
    delSBTN->setEnabled(!on && curSheet >= 0 && curSheet < st.saleList.count());
    redateBtn->setEnabled(delSBTN->isEnabled());
}

void TsaleForm::showAgent(const QString& agent)
{
    sNameCB->hide();
    sNameLab->setText(agent);
}
