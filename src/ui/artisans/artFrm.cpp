#include "ui/artisans/artFrm.h"
#include "ui/artisans/artAccount.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/artNumbers.h"
#include "model/uArt.h"
#include "ui/shell/dbCommands.h"
#include "ui/artisans/importArtDlg.h"
#include "ui/shell/main.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/limitEdit.h"
#include "ui/widgets/named.h"
#include "ui/products/prodFrm.h"

#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kGridTitles = u"ArtNo,Nom,Prenom,Adresse,Ville,CP,Tel,Courriel"_s;
const QString kXmlFilter = u"Fichiers XML (*.xml)"_s;

QLineEdit* editor(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QLabel* fieldLabel(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}
} // namespace

TArtForm::TArtForm(AppState& state, TmainForm& mainForm, QWidget* parent)
    : QWidget(parent), st(state), main(mainForm)
{
    setObjectName(u"ArtForm"_s);
    resize(830, 460);
    // A database read: its artisans, on the one it was left on.
    connect(&main.doc(), &Boutique::fileChanged, this, [this] {
        if (st.artList.count() > 0) {
            rebuildLists();
            fillGrid();
            showArtisan(st.curArtInd);
        }
    });

    // --- form mode ---
    formPanel = named<QFrame>("formPanel", this);
    auto* formLayout = new QVBoxLayout(formPanel);
    auto* formTop = new QHBoxLayout;
    formLayout->addLayout(formTop);

    artPageBtn = speedButton(formPanel, "artPageBtn", u"Produits"_s, u"Produits >"_s, QSize(28, 26));
    vModeBtn0 = speedButton(formPanel, "vModeBtn0", {}, u"Liste"_s, QSize(28, 26));
    viewModeBtn = speedButton(formPanel, "viewModeBtn", {}, u"Liste"_s, QSize(28, 26));
    viewModeBtn->hide();
    formTop->addWidget(vModeBtn0);
    formTop->addWidget(viewModeBtn);
    formTop->addStretch();
    formTop->addWidget(artPageBtn);

    fldsPanel = named<QFrame>("fldsPanel", formPanel);
    fldsPanel->setFrameShape(QFrame::StyledPanel);
    formLayout->addWidget(fldsPanel, 1);

    NoLabel = named<QLabel>("NoLabel", u"No:"_s, fldsPanel);
    NoLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    artNoLab = named<QLabel>("artNoLab", fldsPanel);
    infoLab = named<QLabel>("infoLab", fldsPanel);
    varDataLab = named<QLabel>("varDataLab", fldsPanel);
    nameEd = editor(fldsPanel, "nameEd");
    fNameEd = editor(fldsPanel, "fNameEd");
    addressEd = editor(fldsPanel, "addressEd");
    cityEd = editor(fldsPanel, "cityEd");
    CPEd = editor(fldsPanel, "CPEd");
    telEd = editor(fldsPanel, "telEd");
    eMailEd = editor(fldsPanel, "eMailEd");
    comMemo = named<QPlainTextEdit>("comMemo", fldsPanel);
    editors = {nameEd, fNameEd, addressEd, cityEd, CPEd, telEd, eMailEd};
    const char* const fields[] = {"nom", "prenom", "adresse", "ville", "CP", "tel", "courriel"};
    for (size_t i = 0; i < editors.size(); ++i)
        limitEdit(editors[i], fields[i]);
    limitEdit(comMemo, "comment");

    auto* grid = new QGridLayout(fldsPanel);
    grid->addWidget(NoLabel, 0, 0);
    grid->addWidget(artNoLab, 0, 1);
    grid->addWidget(varDataLab, 0, 3);
    grid->addWidget(fieldLabel(fldsPanel, u"Nom:"_s), 1, 0);
    grid->addWidget(nameEd, 1, 1);
    grid->addWidget(fieldLabel(fldsPanel, u"Prénom:"_s), 1, 2);
    grid->addWidget(fNameEd, 1, 3);
    grid->addWidget(fieldLabel(fldsPanel, u"Adresse:"_s), 2, 0);
    grid->addWidget(addressEd, 2, 1, 1, 3);
    grid->addWidget(fieldLabel(fldsPanel, u"Ville:"_s), 3, 0);
    grid->addWidget(cityEd, 3, 1);
    grid->addWidget(fieldLabel(fldsPanel, u"CP:"_s), 3, 2);
    grid->addWidget(CPEd, 3, 3);
    grid->addWidget(fieldLabel(fldsPanel, u"Tél:"_s), 4, 0);
    grid->addWidget(telEd, 4, 1);
    grid->addWidget(fieldLabel(fldsPanel, u"Courriel:"_s), 4, 2);
    grid->addWidget(eMailEd, 4, 3);
    grid->addWidget(fieldLabel(fldsPanel, u"Comment.:"_s), 5, 0, Qt::AlignTop | Qt::AlignRight);
    grid->addWidget(comMemo, 5, 1, 1, 3);
    grid->addWidget(infoLab, 6, 1, 1, 3);
    accountBox = new TArtAccountBox(mainForm.doc(), mainForm.prompt(), fldsPanel);
    grid->addWidget(accountBox, 7, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(5, 1);

    auto* formBottom = new QHBoxLayout;
    btnImpArtItem = named<QPushButton>("btnImpArtItem", u"Importer"_s, formPanel);
    Button2 = named<QPushButton>("Button2", u"updatePLists"_s, formPanel);
    Button2->hide();
    formBottom->addWidget(btnImpArtItem);
    formBottom->addWidget(Button2);
    formBottom->addStretch();
    inventBtn = named<QPushButton>("inventBtn", u"Imprimer l'inventaire..."_s, formPanel);
    auto* inventMenu = named<QMenu>("inventMenu", inventBtn);
    invArtAct = named<QAction>("invArtAct", u"De cet artisan"_s, inventMenu);
    invShopAct = named<QAction>("invShopAct", u"De toute la boutique"_s, inventMenu);
    inventMenu->addAction(invArtAct);
    inventMenu->addAction(invShopAct);
    inventBtn->setMenu(inventMenu);
    connect(invArtAct, &QAction::triggered, this, [this] { printInventory(false); });
    connect(invShopAct, &QAction::triggered, this, [this] { printInventory(true); });
    formBottom->addWidget(inventBtn);
    formLayout->addLayout(formBottom);

    // --- list mode ---
    listPanel = named<QFrame>("listPanel", this);
    auto* listLayout = new QVBoxLayout(listPanel);
    auto* listTop = new QHBoxLayout;
    listLayout->addLayout(listTop);
    sBackBtn = speedButton(listPanel, "sBackBtn", {}, u"< Fiche"_s, QSize(28, 26));
    listTop->addWidget(sBackBtn);
    listTop->addStretch();

    ArtGrid = named<QTableWidget>("ArtGrid", listPanel);
    ArtGrid->setCursor(Qt::PointingHandCursor);
    ArtGrid->viewport()->setCursor(Qt::PointingHandCursor);
    ArtGrid->setColumnCount(8);
    ArtGrid->setHorizontalHeaderLabels(readCommaList(kGridTitles));
    ArtGrid->verticalHeader()->hide();
    ArtGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ArtGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ArtGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int widths[8] = {46, 97, 99, 90, 75, 31, 86, 199};
    for (int c = 0; c < 8; ++c)
        ArtGrid->setColumnWidth(c, widths[c]);
    listLayout->addWidget(ArtGrid, 1);

    gridMenu = named<QMenu>("gridMenu", ArtGrid);
    // Entries without effect: shown, in French, but not offered.
    for (const QString& caption : {u"Modifier"_s, u"Ajouter une consignation"_s, u"Charger la copie de secours"_s,
                                   u"Enregistrer une copie de secours"_s})
        gridMenu->addAction(caption)->setEnabled(false);
    ArtGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ArtGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { gridMenu->popup(ArtGrid->viewport()->mapToGlobal(p)); });

    formPanel->hide();
    listPanel->hide();

    // --- events ---
    connect(vModeBtn0, &QToolButton::clicked, this, [this] { main.guarded([this] { toggleViewMode(); }); });
    connect(viewModeBtn, &QToolButton::clicked, this, [this] { main.guarded([this] { toggleViewMode(); }); });
    connect(sBackBtn, &QToolButton::clicked, this, [this] { main.guarded([this] { toggleViewMode(); }); });
    connect(ArtGrid, &QTableWidget::cellClicked, this, [this](int row, int) { gridClick(row); });
    // The keys move the current artisan with the highlighted row.
    connect(ArtGrid, &QTableWidget::currentCellChanged, this, [this](int row, int, int oldRow, int) {
        if (artListMode && row >= 0 && row != oldRow && row != st.curArtInd)
            gridClick(row);
    });
    ArtGrid->installEventFilter(this);
    connect(ArtGrid, &QTableWidget::cellDoubleClicked, this,
            [this](int, int) { main.guarded([this] { toggleViewMode(); }); });
    connect(artPageBtn, &QToolButton::clicked, this, [this] { main.guarded([this] { artPageBtnClick(); }); });
    connect(accountBox->ownRuleBtn, &QPushButton::clicked, this,
            [this] { main.guarded([this] { accountBox->applyOwnRule(); }); });
    connect(nameEd, &QLineEdit::textChanged, this, &TArtForm::nameChanged);
    connect(fNameEd, &QLineEdit::textChanged, this, &TArtForm::nameChanged);
    connect(btnImpArtItem, &QPushButton::clicked, this, [this] { main.guarded([this] { importOneArtisan(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] {
        main.guarded([this] {
            renumberAll(st);
            showArtisan(st.curArtInd);
        });
    });
    for (QObject* o : std::initializer_list<QObject*>{artPageBtn, vModeBtn0, sBackBtn, btnImpArtItem,
                                                      formPanel, listPanel, fldsPanel, NoLabel})
        o->installEventFilter(this);

    // Creation: form mode, every editor empty.
    artListMode = false;
    for (QLineEdit* e : editors)
        e->clear();
    comMemo->clear();
}

void TArtForm::setHelp(const QString& text)
{
    main.showHint(text);
}

bool TArtForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (watched == artPageBtn)
            setHelp(u"Basculer aux produits de l'artisan."_s);
        else if (watched == vModeBtn0)
            setHelp(u"Passage au mode liste."_s);
        else if (watched == sBackBtn)
            setHelp(u"Passage au mode formulaire."_s);
        else if (watched == btnImpArtItem)
            setHelp(u"Permet l'importation depuis un fichier externe  (format XML), de coordonnées d'artisans qui y figurent."_s);
        else if (watched == formPanel || watched == listPanel)
            setHelp({});
    } else if (type == QEvent::KeyPress && watched == ArtGrid) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && artListMode) {
            main.guarded([this] { toggleViewMode(); });
            return true;
        }
    } else if (type == QEvent::MouseButtonRelease && watched == fldsPanel) {
        main.guarded([this] { storeCurrent(); });
    } else if (type == QEvent::MouseButtonDblClick && watched == NoLabel) {
        if (artNoLab->text().isEmpty())
            showNumber(nextArtisanNumber(st.artList, st.saleList));
    }
    return QWidget::eventFilter(watched, event);
}

void TArtForm::nameChanged()
{
    btnImpArtItem->setEnabled(nameEd->text().isEmpty());
}

// --- list mode ----------------------------------------------------------------

void TArtForm::fillGrid()
{
    ArtGrid->setHorizontalHeaderLabels(readCommaList(kGridTitles));
    if (st.artList.isEmpty()) {
        ArtGrid->setRowCount(0);
        return;
    }
    const int count = st.artList.count();
    ArtGrid->setRowCount(count);
    for (int i = 0; i < count; ++i) {
        const QStringList cells = readCommaList(st.artList.csvLine(i));
        for (int c = 0; c < 8; ++c)
            ArtGrid->setItem(i, c, new QTableWidgetItem(cells.value(c)));
    }
    if (st.curArtInd >= 0 && st.curArtInd < count)
        ArtGrid->selectRow(st.curArtInd);
}

void TArtForm::toggleViewMode()
{
    if (!artListMode) {
        // The grid shows what was just typed, and a click in it must not
        // drop that typing.
        storeCurrent();
    }
    artListMode = !artListMode;
    auto* formTop = static_cast<QBoxLayout*>(formPanel->layout()->itemAt(0)->layout());
    auto* listTop = static_cast<QBoxLayout*>(listPanel->layout()->itemAt(0)->layout());
    if (artListMode) {
        main.subTLabel->setText(u"liste"_s);
        main.showArtSubPage(2);
        formTop->removeWidget(artPageBtn);
        artPageBtn->setParent(listPanel);
        listTop->addWidget(artPageBtn);
        artPageBtn->show();
        fillGrid();
    } else {
        main.showArtSubPage(0);
        listTop->removeWidget(artPageBtn);
        artPageBtn->setParent(formPanel);
        formTop->addWidget(artPageBtn);
        artPageBtn->show();
        main.subTLabel->setText(u"détail"_s);
    }
}

void TArtForm::gridClick(int row)
{
    main.guarded([this, row] {
        st.curArtInd = row;
        showArtisan(st.curArtInd);
        main.refreshStatus(0);
    });
}

void TArtForm::artPageBtnClick()
{
    main.setAddRecShown(false);
    TProdForm* prod = main.prodForm;
    main.showArtSubPage(prod->prodViewPage);
    if (prod->prodViewPage == 1)
        prod->showFormPage();
    main.refreshStatus(2);
}

// --- glue between the artisan list and the windows ----------------------------------

void TArtForm::rebuildLists()
{
    main.doc().refreshNames();
}

void TArtForm::addArtisan(const QString& number)
{
    main.doc().addArtisan(number);
    rebuildLists();
    st.curArtNo = number;
    clearWindow();
    st.prodNoList.clear();
    st.curProdInd = -1;
    main.prodForm->resetWindow();
    st.curArtInd = st.artList.count() - 1;
    showArtisan(st.curArtInd);
}

void TArtForm::showArtisan(int index)
{
    TArtisan* a = main.doc().selectArtisan(index);
    if (!a)
        return;
    artNoLab->setText(a->artNo);
    showNumber(a->artNo);
    showWhole(nameEd, a->nom);
    showWhole(fNameEd, a->prenom);
    showWhole(addressEd, a->adresse);
    showWhole(cityEd, a->ville);
    showWhole(CPEd, a->CP);
    showWhole(telEd, a->tel);
    showWhole(eMailEd, a->courriel);
    // The import file stays the one staff chose: moving onto an imported
    // artisan does not change it.
    varDataLab->setText(TArtList::varSource(*a));
    showWhole(comMemo, a->comment);
    accountBox->showAccount(a->artNo);
}

void TArtForm::storeArtisan(int index)
{
    if (!main.mainReady || index < 0 || index >= st.artList.count())
        return;
    const bool formShown = formPanel->parentWidget() == main.mainPanel && !formPanel->isHidden();
    if (formShown) {
        main.doc().storeArtisan(index, {m_shownNo, nameEd->text(), fNameEd->text(), addressEd->text(), cityEd->text(),
                                        CPEd->text(), telEd->text(), eMailEd->text(), memoText(index)});
    } else {
        if (!st.prodList.isEmpty() && st.curProdInd > -1)
            main.prodForm->setPData(st.curProdInd);
        main.doc().keepProducts();
    }
    // On the artisans side, the choosers name it as stored.
    if (main.curPage == 0)
        main.doc().refreshNames(index);
}

void TArtForm::focusEntry(bool canImport)
{
    if (canImport)
        btnImpArtItem->setEnabled(true);
    nameEd->setFocus();
}

void TArtForm::showNumber(const QString& number)
{
    m_shownNo = number;
    emit numberShown(number);
}

void TArtForm::storeCurrent()
{
    storeArtisan(st.curArtInd);
}

void TArtForm::showCurrent()
{
    showArtisan(st.curArtInd);
}

void TArtForm::storeShown()
{
    storeCurrent();
}

bool TArtForm::isModified() const
{
    const bool formShown = formPanel->parentWidget() == main.mainPanel && !formPanel->isHidden();
    if (!formShown || st.curArtInd < 0 || st.curArtInd >= st.artList.count())
        return false;
    const TArtisan& a = st.artList.at(st.curArtInd);
    return a.nom != nameEd->text() || a.prenom != fNameEd->text() || a.adresse != addressEd->text()
           || a.ville != cityEd->text() || a.CP != CPEd->text() || a.tel != telEd->text()
           || a.courriel != eMailEd->text() || a.comment != memoText(st.curArtInd);
}

QString TArtForm::memoText(int index) const
{
    // The memo shows "\r\n" (files of the older program) as "\n": an
    // untouched comment keeps its stored line ends and is no change.
    const QString shown = comMemo->toPlainText();
    const QString& stored = st.artList.at(index).comment;
    return QString(stored).replace(u"\r\n"_s, u"\n"_s) == shown ? stored : shown;
}

void TArtForm::clearWindow()
{
    artNoLab->setText(st.curArtNo);
    showNumber(st.curArtNo);
    for (QLineEdit* e : editors)
        e->clear();
    varDataLab->clear();
    comMemo->clear();
    main.prodForm->resetWindow();
}

void TArtForm::importArtisan(int sourceIndex)
{
    // The shown artisan takes the details and keeps its number: two artisans
    // never share one, whichever artisan the import started on.
    const int target = st.curArtInd;
    main.doc().importArtisan(target, st.impArtList, sourceIndex);
    showArtisan(target);
    rebuildLists();
}

// --- import of one artisan ------------------------------------------------------

void TArtForm::importOneArtisan()
{
    // Until a file that exists is chosen, or the user gives up.
    for (;;) {
        if (st.importFName.isEmpty()) {
            const QString path = main.prompt().openFileName(u"Ouvrir"_s, st.dataDir, kXmlFilter);
            importAsked = true;
            if (path.isEmpty())
                return;
            st.importFName = main.db().adoptFile(path);
            if (st.importFName.isEmpty())
                return;
        }
        if (QFileInfo(importFilePath(st)).isFile())
            break;
        main.prompt().information(u"Le fichier "_s + st.importFName
                                  + u" semble inaccessible. Choisissez le fichier de la liste à importer."_s);
        st.importFName.clear();
    }
    // The list shown is the one of the file named, which moving over an
    // artisan imported from another file changes.
    if (impListSource != importFilePath(st))
        st.impArtList.clear();
    TImpArtDlg dlg(st, main, &main);
    const bool accepted = main.runModal(dlg) == QDialog::Accepted && dlg.chosenIndex >= 0;
    impListSource = st.impArtList.isEmpty() ? QString() : importFilePath(st);
    if (!accepted)
        return;
    importArtisan(dlg.chosenIndex);
    main.refreshStatus(1);
    main.setStatusText(1, u"Artisan importé : n° "_s + st.curArtNo);
    btnImpArtItem->setEnabled(false);
}
