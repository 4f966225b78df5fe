#include "ui/products/prodFrm.h"
#include "ui/stock/stockActions.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "boutique/productState.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/uArt.h"
#include "ui/artisans/artFrm.h"
#include "ui/shell/main.h"
#include "ui/widgets/limitEdit.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::StringLiterals;

namespace {
const QString kListTitles = u"Prod,Descript,Qnt,Val,Prix"_s;

} // namespace

TProdForm::TProdForm(AppState& state, TmainForm& mainForm, QWidget* parent)
    : QWidget(parent), st(state), main(mainForm)
{
    setObjectName(u"ProdForm"_s);
    resize(830, 460);
    buildFormPanel();
    buildListPanel();
    connectEvents();
    // Each artisan shown brings its products.
    connect(&main.doc(), &Boutique::artisanSelected, this, &TProdForm::loadWindow);

    // Creation.
    prodListMode = false;
    prodViewPage = 1;
    st.curProdInd = -1;
    apListLabel->clear();
    formPanel->hide();
    listPanel->hide();
}

void TProdForm::buildFormPanel()
{
    formPanel = named<QFrame>("formPanel", this);
    auto* layout = new QGridLayout(formPanel);

    auto* top = new QHBoxLayout;
    viewModeBtn = speedButton(formPanel, "viewModeBtn", {}, u"Liste"_s, QSize(28, 26));
    artPageBtn = speedButton(formPanel, "artPageBtn", u"IDentité"_s, u"< Artisan"_s, QSize(28, 26));
    top->addWidget(viewModeBtn);
    top->addStretch();
    tagsBtn = named<QPushButton>("tagsBtn", u"Imprimer les étiquettes..."_s, formPanel);
    tagsBtn->setToolTip(u"Étiquettes de prix avec code-barres, en PDF"_s);
    connect(tagsBtn, &QPushButton::clicked, this, [this] { printTags(); });
    top->addWidget(tagsBtn);
    returnBtn = named<QPushButton>("returnBtn", u"Rendre à l'artisan..."_s, formPanel);
    returnBtn->setToolTip(u"Les invendus que l'artisan reprend, avec leur bon de retour"_s);
    connect(returnBtn, &QPushButton::clicked, this, [this] { returnToArtisan(main, st.curArtNo); });
    top->addWidget(returnBtn);
    top->addWidget(artPageBtn);
    layout->addLayout(top, 0, 0, 1, 2);

    leftPanel = named<QFrame>("leftPanel", formPanel);
    leftPanel->setFixedWidth(120);
    auto* left = new QVBoxLayout(leftPanel);
    left->setContentsMargins(0, 0, 0, 0);
    ProdListBox = named<QListWidget>("ProdListBox", leftPanel);
    listMenu = named<QMenu>("listMenu", ProdListBox);
    QAction* importProdList = listMenu->addAction(u"Importer la liste de produits"_s);
    QAction* clearListBox = listMenu->addAction(u"Vider la liste"_s);
    ProdListBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ProdListBox, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { listMenu->popup(ProdListBox->viewport()->mapToGlobal(p)); });
    connect(importProdList, &QAction::triggered, this, [this] {
        main.guarded([this] {
            main.doc().renumberProducts();
            loadWindow();
        });
    });
    connect(clearListBox, &QAction::triggered, ProdListBox, &QListWidget::clear);
    left->addWidget(ProdListBox, 1);

    navPanel = named<QFrame>("navPanel", leftPanel);
    auto* nav = new QHBoxLayout(navPanel);
    nav->setContentsMargins(0, 0, 0, 0);
    addProdBtn = speedButton(navPanel, "addProdBtn", u"Ajouter item"_s, u"+"_s, QSize(28, 26));
    delSBTN = speedButton(navPanel, "delSBTN", u"Supprimer item"_s, u"-"_s, QSize(28, 26));
    delSBTN->hide();
    prodCntLab = named<QLabel>("prodCntLab", u"0"_s, navPanel);
    nav->addWidget(addProdBtn);
    nav->addWidget(delSBTN);
    nav->addStretch();
    nav->addWidget(prodCntLab);
    left->addWidget(navPanel);

    impPanel = named<QFrame>("impPanel", leftPanel);
    auto* imp = new QVBoxLayout(impPanel);
    imp->setContentsMargins(0, 0, 0, 0);
    apListLabel = named<QLabel>("apListLabel", impPanel);
    importChk = named<QCheckBox>("importChk", u"import"_s, impPanel);
    imp->addWidget(apListLabel);
    imp->addWidget(importChk);
    impPanel->hide();
    left->addWidget(impPanel);
    layout->addWidget(leftPanel, 1, 0, 2, 1);

    buildFieldPanel();
    layout->addWidget(fieldPanel, 1, 1);

    locatePan = named<QFrame>("locatePan", formPanel);
    auto* loc = new QHBoxLayout(locatePan);
    prevBtn = speedButton(locatePan, "prevBtn", u"Précédent"_s, u"<"_s, QSize(28, 26));
    prodNoLab = named<QLabel>("prodNoLab", u"000"_s, locatePan);
    nextBtn = speedButton(locatePan, "nextBtn", u"Suivant"_s, u">"_s, QSize(28, 26));
    auto* imgcBox = named<QLabel>("imgcBox", locatePan);
    loc->addStretch();
    loc->addWidget(imgcBox);
    loc->addWidget(prevBtn);
    loc->addWidget(prodNoLab);
    loc->addWidget(nextBtn);
    loc->addStretch();
    layout->addWidget(locatePan, 2, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
}

void TProdForm::buildFieldPanel()
{
    fieldPanel = named<QFrame>("fieldPanel", formPanel);
    fieldPanel->setFrameShape(QFrame::StyledPanel);
    fieldMenu = named<QMenu>("fieldMenu", fieldPanel);
    // Entries without effect: shown, in French, but not offered.
    fieldMenu->addAction(u"Supprimer la fiche"_s)->setEnabled(false);
    QMenu* fileOp = fieldMenu->addMenu(u"Fichier"_s);
    for (const QString& c : {u"Charger la copie de secours"_s, u"Enregistrer une copie de secours"_s,
                             u"Enregistrer en XML provisoire"_s, u"Charger le XML provisoire"_s,
                             u"Exporter les données"_s, u"Importer des données"_s})
        fileOp->addAction(c)->setEnabled(false);
    fieldPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(fieldPanel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { fieldMenu->popup(fieldPanel->mapToGlobal(p)); });

    auto* grid = new QGridLayout(fieldPanel);
    descriptEd = named<QLineEdit>("descriptEd", fieldPanel);
    valEd = named<QLineEdit>("valEd", fieldPanel);
    priceEd = named<QLineEdit>("priceEd", fieldPanel);
    limitEdit(descriptEd, "descript");
    limitEdit(valEd, "valeur");
    limitEdit(priceEd, "prix");
    btnList = named<QPushButton>("btnList", u"ProdList"_s, fieldPanel);
    btnUpdate = named<QPushButton>("btnUpdate", u"2 PList"_s, fieldPanel);
    btnList->hide();
    btnUpdate->hide();
    grid->addWidget(new QLabel(u"No Produit:"_s, fieldPanel), 0, 0);
    prodNumLab = named<QLabel>("prodNumLab", fieldPanel);
    prodNumLab->setStyleSheet(u"font-weight: bold"_s);
    grid->addWidget(prodNumLab, 0, 1);
    grid->addWidget(new QLabel(u"Description:"_s, fieldPanel), 1, 0);
    grid->addWidget(descriptEd, 1, 1, 1, 4);
    grid->addWidget(new QLabel(u"Valeur:"_s, fieldPanel), 2, 0);
    grid->addWidget(valEd, 2, 1);
    grid->addWidget(new QLabel(u"$"_s, fieldPanel), 2, 2);
    grid->addWidget(new QLabel(u"Prix Vente:"_s, fieldPanel), 2, 3);
    grid->addWidget(priceEd, 2, 4);
    grid->addWidget(new QLabel(u"$"_s, fieldPanel), 2, 5);

    quantBox = named<QGroupBox>("quantBox", fieldPanel);
    auto* q = new QGridLayout(quantBox);
    q->addWidget(new QLabel(u"Date"_s, quantBox), 0, 0);
    q->addWidget(new QLabel(u"Quantité:"_s, quantBox), 0, 1);
    dqStrGrid = rowGrid(quantBox, "dqStrGrid", {58, 32, 30});
    dqStrGrid->horizontalHeader()->hide();
    // Typing edits a cell; a double-click opens the quantity dialog.
    dqStrGrid->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    dqStrGrid->setToolTip(u"Les livraisons, par date. Tapez dans une ligne pour changer sa date (aammjj) ou sa "
                          "quantité, ou double-cliquez-la pour les changer dans la fenêtre de quantité."_s);
    gridMenu = named<QMenu>("gridMenu", dqStrGrid);
    pmSort = named<QAction>("pmSort", u"Trier par date"_s, gridMenu);
    gridMenu->addAction(pmSort);
    dqStrGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dqStrGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { gridMenu->popup(dqStrGrid->viewport()->mapToGlobal(p)); });
    q->addWidget(dqStrGrid, 1, 0, 1, 3);
    addDateBtn = speedButton(quantBox, "addDateBtn", u"Ajouter item"_s, u"+"_s, QSize(28, 26));
    remDateBtn = speedButton(quantBox, "remDateBtn", u"Supprimer item"_s, u"-"_s, QSize(28, 26));
    totQLab = named<QLabel>("totQLab", u"0"_s, quantBox);
    q->addWidget(addDateBtn, 2, 0);
    q->addWidget(remDateBtn, 2, 1);
    q->addWidget(new QLabel(u"Total:"_s, quantBox), 3, 0);
    q->addWidget(totQLab, 3, 1);
    grid->addWidget(quantBox, 3, 0, 1, 2);

    sQPanel = named<QGroupBox>("sQPanel", u"Historique des ventes "_s, fieldPanel);
    auto* s = new QGridLayout(sQPanel);
    Label17 = named<QLabel>("Label17", u"Aucune vente pour ce produit"_s, sQPanel);
    s->addWidget(Label17, 1, 0, 1, 3);
    // Each sale: its price, its amount and what it brings the artisan (the Valeur).
    sDQGrid = rowGrid(sQPanel, "sDQGrid", {58, 34, 64, 64, 64},
                      {u"Date"_s, u"Qté"_s, u"Prix"_s, u"Montant"_s, u"Valeur"_s});
    sDQGrid->setRowCount(13);
    s->addWidget(sDQGrid, 2, 0, 1, 3);
    sqInfoPanel = named<QFrame>("sqInfoPanel", sQPanel);
    auto* info = new QGridLayout(sqInfoPanel);
    totSQLab = named<QLabel>("totSQLab", sqInfoPanel);
    totAvailLab = named<QLabel>("totAvailLab", sqInfoPanel);
    totSQValLab = named<QLabel>("totSQValLab", sqInfoPanel);
    info->addWidget(new QLabel(u"Total:"_s, sqInfoPanel), 0, 0);
    info->addWidget(totSQLab, 0, 1);
    info->addWidget(totSQValLab, 0, 2);
    info->addWidget(new QLabel(u"Disponible:"_s, sqInfoPanel), 1, 0);
    info->addWidget(totAvailLab, 1, 1);
    sqInfoPanel->hide();
    s->addWidget(sqInfoPanel, 3, 0, 1, 3);
    grid->addWidget(sQPanel, 3, 2, 1, 4);
    grid->setRowStretch(3, 1);
}

void TProdForm::buildListPanel()
{
    listPanel = named<QFrame>("listPanel", this);
    auto* layout = new QVBoxLayout(listPanel);
    auto* top = new QHBoxLayout;
    sBackBtn = speedButton(listPanel, "sBackBtn", {}, u"< Fiche"_s, QSize(28, 26));
    imProdBtn = named<QPushButton>("imProdBtn", u"import"_s, listPanel);
    imProdBtn->hide();
    gridTotLab = named<QLabel>("gridTotLab", u"0"_s, listPanel);
    top->addWidget(sBackBtn);
    top->addWidget(imProdBtn);
    top->addStretch();
    top->addWidget(gridTotLab);
    layout->addLayout(top);
    transList = rowGrid(listPanel, "transList", {50, 357, 35, 63, 69, 46, 40});
    transList->setHorizontalHeaderLabels(readCommaList(kListTitles) << QString() << QString());
    layout->addWidget(transList, 1);

    // Developer controls, kept hidden.
    for (const auto& [name, text] : {std::pair{"allRecsBtn", u"tous produits"_s},
                                     std::pair{"XPortBtn", u"publier XML"_s},
                                     std::pair{"invenTRBtn", u"I"_s}})
        named<QPushButton>(name, text, listPanel)->hide();
    named<QCheckBox>("pubAllChk", u"tous"_s, listPanel)->hide();
    named<QLabel>("infoLab", listPanel)->hide();
}

void TProdForm::connectEvents()
{
    const auto on = [this](auto* sender, auto signal, void (TProdForm::*handler)()) {
        connect(sender, signal, this, [this, handler] { main.guarded([this, handler] { (this->*handler)(); }); });
    };
    on(viewModeBtn, &QToolButton::clicked, &TProdForm::toggleProdViewMode);
    on(sBackBtn, &QToolButton::clicked, &TProdForm::toggleProdViewMode);
    on(artPageBtn, &QToolButton::clicked, &TProdForm::artPageBtnClick);
    on(addProdBtn, &QToolButton::clicked, &TProdForm::addProdBtnClick);
    on(delSBTN, &QToolButton::clicked, &TProdForm::delSBTNClick);
    on(imProdBtn, &QPushButton::clicked, &TProdForm::imProdBtnClick);
    on(addDateBtn, &QToolButton::clicked, &TProdForm::addDateBtnClick);
    on(remDateBtn, &QToolButton::clicked, &TProdForm::remDateBtnClick);
    on(pmSort, &QAction::triggered, &TProdForm::sortEvents);
    on(transList, &QTableWidget::cellDoubleClicked, &TProdForm::transListDoubleClick);
    on(btnUpdate, &QPushButton::clicked, &TProdForm::syncArtisan);
    connect(prevBtn, &QToolButton::clicked, this, [this] { navigate(-1); });
    connect(nextBtn, &QToolButton::clicked, this, [this] { navigate(1); });
    connect(ProdListBox, &QListWidget::currentRowChanged, this, &TProdForm::listRowChanged);
    connect(transList, &QTableWidget::cellClicked, this, [this](int row, int) {
        main.guarded([this, row] { transListClick(row); });
    });
    connect(importChk, &QCheckBox::toggled, this, [this](bool on) {
        main.guarded([this, on] { setImportMode(on); });
    });
    connect(dqStrGrid, &QTableWidget::currentCellChanged, this, [this](int row) { qtyRow = row; });
    connect(dqStrGrid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        main.guarded([this, row] { gridDoubleClick(row); });
    });
    connect(dqStrGrid, &QTableWidget::itemChanged, this, [this] {
        if (!m_filling)
            m_dirty = true;
    });
    for (QLineEdit* e : {descriptEd, valEd, priceEd})
        connect(e, &QLineEdit::textEdited, this, [this] { m_dirty = true; });
    for (QObject* o : std::initializer_list<QObject*>{artPageBtn, viewModeBtn, sBackBtn, formPanel, listPanel,
                                                      fieldPanel, totQLab, Label17, totSQLab,
                                                      totAvailLab, totSQValLab, prodCntLab})
        o->installEventFilter(this);
}

void TProdForm::setHelp(const QString& text)
{
    main.showHint(text);
}

bool TProdForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && (watched == formPanel || watched == listPanel)) {
        // Sales made meanwhile change the sold history and the stock: shown
        // as they are now, typing in progress left alone.
        main.guarded([this, watched] {
            if (watched == listPanel && !importChk->isChecked())
                fillProductGrid();
            else if (watched == formPanel && validProduct())
                soldToGrid(st.prodList.at(st.curProdInd));
        });
    } else if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (watched == artPageBtn)
            setHelp(u"Basculer page des Artisans."_s);
        else if (watched == viewModeBtn)
            setHelp(u"Passage en mode liste."_s);
        else if (watched == sBackBtn)
            setHelp(u"Passage en mode formulaire"_s);
        else if (watched == formPanel || watched == fieldPanel)
            setHelp({});
    } else if (type == QEvent::MouseButtonRelease) {
        if (watched == prodCntLab) {
            main.guarded([this] { fillProductGrid(); });
        } else if (watched == totQLab || watched == Label17 || watched == totSQLab
                   || watched == totAvailLab || watched == totSQValLab) {
            main.guarded([this] {
                if (validProduct())
                    totQLab->setText(st.prodList.receivedTotalStr(st.curProdInd));
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TProdForm::validProduct() const
{
    return st.curProdInd >= 0 && st.curProdInd < st.prodList.count();
}

void TProdForm::syncArtisan()
{
    main.doc().keepProducts();
}

// --- THostedWindow ------------------------------------------------------------

void TProdForm::storeShown()
{
    if (validProduct())
        setPData(st.curProdInd);
}

void TProdForm::leave()
{
    storeShown();
    if (importChk->isChecked())
        importChk->setChecked(false);
}

// --- navigation ---------------------------------------------------------------

void TProdForm::showCurrentProduct()
{
    if (st.curProdInd < 0 && !st.prodList.isEmpty())
        st.curProdInd = qMax(0, ProdListBox->currentRow());
    prevBtn->setEnabled(ProdListBox->count() > 1);
    nextBtn->setEnabled(ProdListBox->count() > 1);
    prodCntLab->setText(QString::number(ProdListBox->count()));
    if (prodListMode && !importChk->isChecked() && st.curProdInd < transList->rowCount())
        transList->selectRow(st.curProdInd);
    showProduct(st.curProdInd);
}

void TProdForm::navigate(int step)
{
    main.guarded([this, step] {
        const int count = st.prodList.count();
        if (count == 0)
            return;
        if (st.curProdInd > -1)
            saveAs(st.curItem);
        int next = st.curProdInd + step;
        if (next < 0)
            next = count - 1;
        else if (next >= count)
            next = 0;
        st.curProdInd = next;
        showCurrentProduct();
    });
}

void TProdForm::listRowChanged(int row)
{
    if (m_filling || row < 0 || row == st.curProdInd)
        return;
    const bool moved = main.guarded([this, row] {
        if (st.curProdInd > st.prodList.count())
            throw AppError(u"out of range"_s + QString::number(st.prodList.count()));
        if (validProduct())
            setPData(st.curProdInd);
        fieldPanel->setEnabled(!st.prodNoList.isEmpty());
        if (row < st.prodList.count()) {
            st.curProdInd = row;
            showCurrentProduct();
        }
    });
    if (!moved && validProduct()) {
        // The shown product stays: so does its line.
        const QSignalBlocker block(ProdListBox);
        ProdListBox->setCurrentRow(st.curProdInd);
    }
}

void TProdForm::addProdBtnClick()
{
    if (prodListMode)
        toggleProdViewMode();
    if (validProduct())
        setPData(st.curProdInd);
    st.curItem = nextProdNo(st);
    main.doc().addProduct(st.curItem);
    {
        // The list shows every product again, even after "ClearListBox".
        const QSignalBlocker block(ProdListBox);
        ProdListBox->clear();
        ProdListBox->addItems(productLines());
    }
    prodNoLab->setText(st.curItem);
    st.curProdInd = st.prodList.count() - 1;
    fieldPanel->setEnabled(ProdListBox->count() > 0);
    showCurrentProduct();
    main.updatePageBtn();
    descriptEd->setFocus();
}

void TProdForm::delSBTNClick()
{
    // Only the last product goes: the numbers of the others stay unique.
    if (!validProduct() || st.curProdInd != st.prodList.count() - 1)
        return;
    // Its sales would lose their product: only on purpose.
    TProduit& p = st.prodList.at(st.curProdInd);
    if (p.soldList.count() > 0
        && main.prompt().question(u"Le produit "_s + p.prodNo + u" a "_s + p.soldList.totalQntStr()
                                  + u" unités vendues. Supprimer ?"_s)
               != Prompt::Answer::Yes)
        return;
    const int index = st.curProdInd;
    {
        const QSignalBlocker block(ProdListBox);
        delete ProdListBox->takeItem(index);
    }
    main.doc().removeProduct(index);
    m_dirty = false;
    st.curProdInd = index - 1;
    if (st.curProdInd < 0) {
        st.curProdInd = -1;
        resetWindow();
        delSBTN->hide();
    } else {
        showCurrentProduct();
    }
    main.updatePageBtn();
}

void TProdForm::artPageBtnClick()
{
    leave();
    syncArtisan();
    main.setAddRecShown(true);
    main.showArtSubPage(main.artForm->artListMode ? 2 : 0);
    main.updatePageBtn();
    main.refreshStatus(3);
}

void TProdForm::showFormPage()
{
    const bool known = st.curArtInd >= 0 && st.curArtInd < st.artList.count();
    impPanel->setVisible(known && !TArtList::varSource(st.artList.at(st.curArtInd)).isEmpty());
    fieldPanel->setEnabled(!st.prodNoList.isEmpty());
    prodCntLab->setText(QString::number(st.prodNoList.count()));
}
