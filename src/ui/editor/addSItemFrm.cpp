// The sale-line editor's controls, its picture, its help lines and its
// keyboard: building the window and routing its events.

#include "ui/editor/addSItemFrm.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "ui/widgets/controls.h"
#include "ui/shell/main.h"
#include "ui/sales/saleFrm.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kProdColumns = u"N0,Descript, Disp, Prix,  Q, Tot "_s;
const QString kHelpLines = u"Accédez directement aux produits de la liste des ventes"_s;
const QString kHelpGrid = u"Ajoutez ou supprimez un produit avec le bouton de droite de la souris"_s;
const QString kHelpQnt = u"Modifiez ici les quantités associées au produit désiré"_s;
const QString kHelpArt = u"Accédez aux produits en choisissant d'abord l'artisan"_s;
const QString kHelpOK = u"Retour à la liste des ventes"_s;
const QString kHelpSearch =
    u"Tapez un numéro de produit (TreMar005-003) ou un mot de la description, puis Entrée"_s;
} // namespace

TaddSItemDlg::TaddSItemDlg(AppState& state, TmainForm& mainForm, TsaleForm& saleForm, QWidget* parent)
    : QWidget(parent), st(state), main(mainForm), sale(saleForm)
{
    setObjectName(u"addSItemDlg"_s);
    setWindowTitle(u"Liste de produits, modification de quantités"_s);
    buildControls();

    connect(artListBox, &QListWidget::currentRowChanged, this,
            [this](int pos) { main.guarded([this, pos] { chooseArtisan(pos); }); });
    connect(prodStrGrid, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0)
            main.guarded([this, row] { showRow(row + 1); });
    });
    connect(QuantEdit, &QLineEdit::returnPressed, this, [this] {
        main.guarded([this] { changeQuantity(); });
        searchEd->setFocus();
        searchEd->selectAll();
    });
    connect(upBtn, &QToolButton::clicked, this, [this] { main.guarded([this] { stepQuantity(1); }); });
    connect(downBtn, &QToolButton::clicked, this, [this] { main.guarded([this] { stepQuantity(-1); }); });
    connect(ProdListBox, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        main.guarded([this, item] { chooseLine(ProdListBox->row(item)); });
    });
    connect(ProdListBox, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        main.guarded([this, item] { chooseLine(ProdListBox->row(item)); });
    });
    connect(OKBtn, &QToolButton::clicked, this, [this] {
        main.showHint({});
        main.guarded([this] { sale.closeEditor(); });
    });
    connect(cancelBtn, &QToolButton::clicked, this, [this] {
        main.showHint({});
        main.guarded([this] { sale.cancelEditor(); });
    });
    connect(QuantEdit, &QLineEdit::textEdited, this, [this] { m_typed = true; });
    auto* done = new QShortcut(QKeySequence(u"Ctrl+Return"_s), this);
    done->setContext(Qt::WidgetWithChildrenShortcut);
    connect(done, &QShortcut::activated, OKBtn, &QToolButton::click);
    connect(searchEd, &QLineEdit::textEdited, this, [this](const QString& text) { search(text); });
    connect(searchEd, &QLineEdit::returnPressed, this,
            [this] { main.guarded([this] { takeSearchResult(); }); });
    connect(searchList, &QListWidget::itemActivated, this,
            [this] { main.guarded([this] { takeSearchResult(); }); });

    for (QObject* o : std::initializer_list<QObject*>{this, ProdListBox, prodStrGrid->viewport(),
                                                      prodStrGrid, QuantEdit, UDQuant, upBtn, downBtn,
                                                      qTableImg, artListBox, OKBtn, cancelBtn, searchEd,
                                                      GroupBox1, QntPanel})
        o->installEventFilter(this);

    // Creation: no artisan chosen yet.
    Label2->setText(u"Artisans (* : rang)"_s);
    descriptLab->setText(
        u"Choisir d'abord un artisan dans la liste de gauche  pour avoir accès aux produits,"_s);
    artPos = -1;
}

void TaddSItemDlg::buildControls()
{
    auto* body = new QHBoxLayout(this);
    body->setContentsMargins(4, 4, 4, 4);

    auto* left = new QVBoxLayout;
    body->addLayout(left);
    Label2 = named<QLabel>("Label2", this);
    artListBox = named<QListWidget>("artListBox", this);
    artListBox->setSortingEnabled(true);
    artListBox->setFixedWidth(150);
    artListBox->setToolTip(u"Les artisans par leur étiquette : trois lettres du nom, trois du prénom, puis "
                           "« * » et leur rang dans la liste des artisans (le premier est *0)."_s);
    searchEd = named<QLineEdit>("searchEd", this);
    searchEd->setPlaceholderText(u"Chercher un produit..."_s);
    searchEd->setClearButtonEnabled(true);
    searchEd->setFixedWidth(150);
    searchList = named<QListWidget>("searchList", this);
    searchList->setFixedWidth(150);
    searchList->setFocusPolicy(Qt::NoFocus);
    left->addWidget(Label2);
    left->addWidget(artListBox, 3);
    left->addWidget(searchEd);
    left->addWidget(searchList, 2);

    auto* right = new QVBoxLayout;
    body->addLayout(right, 1);
    auto* who = new QHBoxLayout;
    curTagLab = named<QLabel>("curTagLab", this);
    curTagLab->setMinimumWidth(80);
    NameLab = named<QLabel>("NameLab", this);
    who->addWidget(curTagLab);
    who->addWidget(NameLab, 1);
    right->addLayout(who);
    prodStrGrid = rowGrid(this, "prodStrGrid", {41, 349, 35, 65, 30, 58}, readCommaList(kProdColumns));
    prodStrGrid->setContextMenuPolicy(Qt::PreventContextMenu);
    // Tab leaves the grid for the quantity, as in the rest of the editor.
    prodStrGrid->setTabKeyNavigation(false);
    right->addWidget(prodStrGrid, 1);

    auto* bottom = new QHBoxLayout;
    valeurLab = named<QLabel>("valeurLab", this);
    valeurLab->setStyleSheet(u"color: red"_s);
    valeurLab->setWordWrap(true);
    right->addWidget(valeurLab);
    right->addLayout(bottom);
    buildQntPanel();
    bottom->addWidget(QntPanel);
    GroupBox1 = named<QGroupBox>("GroupBox1", u"Liste courante"_s, this);
    auto* lines = new QVBoxLayout(GroupBox1);
    ProdListBox = named<QListWidget>("ProdListBox", GroupBox1);
    ProdListBox->setFont(QFont(u"DejaVu Sans Mono"_s, 9));
    lines->addWidget(ProdListBox);
    GroupBox1->setMinimumWidth(190);
    GroupBox1->setFixedHeight(160);
    bottom->addWidget(GroupBox1, 1);
    auto* end = new QVBoxLayout;
    OKBtn = speedButton(this, "OKBtn", u"Terminé!"_s, u"Terminé"_s, QSize(70, 40));
    infoLab = named<QLabel>("infoLab", u"="_s, this);
    cancelBtn = speedButton(this, "cancelBtn", u"Remettre la feuille comme à l'ouverture (Échap)"_s,
                            u"Annuler"_s, QSize(70, 26));
    end->addStretch();
    end->addWidget(infoLab);
    end->addWidget(cancelBtn);
    end->addWidget(OKBtn);
    bottom->addLayout(end);

    // At the keyboard: a key in the search, Enter, Tab to the quantity,
    // Enter, and back to the search for the next product.
    setTabOrder(searchEd, QuantEdit);
    setTabOrder(QuantEdit, prodStrGrid);
    setTabOrder(prodStrGrid, ProdListBox);
    setTabOrder(ProdListBox, OKBtn);
    setTabOrder(OKBtn, cancelBtn);
    setTabOrder(OKBtn, artListBox);
}

void TaddSItemDlg::buildQntPanel()
{
    QntPanel = named<QFrame>("QntPanel", this);
    QntPanel->setFrameShape(QFrame::StyledPanel);
    QntPanel->setFixedHeight(160);
    auto* grid = new QGridLayout(QntPanel);
    grid->setVerticalSpacing(4);
    prodNoLab = named<QLabel>("prodNoLab", QntPanel);
    descriptLab = named<QLabel>("descriptLab", QntPanel);
    descriptLab->setWordWrap(true);
    descriptLab->setFixedWidth(260);
    priceLab = named<QLabel>("priceLab", QntPanel);
    grid->addWidget(prodNoLab, 0, 0);
    grid->addWidget(priceLab, 0, 1);
    grid->addWidget(descriptLab, 1, 0, 1, 3);

    // The quantities sit in the cells of a small drawn table.
    auto* table = new QWidget(QntPanel);
    table->setFixedSize(192, 52);
    qTableImg = named<QLabel>("qTableImg", table);
    QImageReader reader(u":/pictures/qTableImg.jpg"_s, "jpeg");
    qTableImg->setPixmap(QPixmap::fromImage(reader.read()));
    qTableImg->setGeometry(0, 0, 192, 52);
    const char* names[3] = {"qTlab0", "qTlab1", "qTlab2"};
    const QString hints[3] = {u"Totale"_s, u"Vendue"_s, u"Disponible"_s};
    QLabel* labs[3];
    for (int i = 0; i < 3; ++i) {
        labs[i] = named<QLabel>(names[i], table);
        labs[i]->setToolTip(hints[i]);
        labs[i]->setAlignment(Qt::AlignCenter);
        labs[i]->setGeometry(1 + 64 * i, 21, 62, 30);
    }
    qTlab0 = labs[0];
    qTlab1 = labs[1];
    qTlab2 = labs[2];
    // A rounded red frame around the available quantity when it is below 0.
    alertShape = named<QFrame>("alertShape", table);
    alertShape->setGeometry(131, 22, 58, 28);
    alertShape->setStyleSheet(u"#alertShape { border: 2px solid #c0282d; border-radius: 10px; }"_s);
    alertShape->setAttribute(Qt::WA_TransparentForMouseEvents);
    alertShape->hide();
    grid->addWidget(table, 2, 0, 1, 2);

    auto* qnt = new QHBoxLayout;
    QuantEdit = named<QLineEdit>("QuantEdit", u"1"_s, QntPanel);
    QuantEdit->setValidator(new QIntValidator(-999, 999, QuantEdit));
    QuantEdit->setFixedWidth(48);
    UDQuant = named<QFrame>("UDQuant", QntPanel);
    auto* ud = new QVBoxLayout(UDQuant);
    ud->setContentsMargins(0, 0, 0, 0);
    ud->setSpacing(0);
    upBtn = speedButton(UDQuant, "upBtn", {}, {}, QSize(18, 12));
    upBtn->setArrowType(Qt::UpArrow);
    downBtn = speedButton(UDQuant, "downBtn", {}, {}, QSize(18, 12));
    downBtn->setArrowType(Qt::DownArrow);
    ud->addWidget(upBtn);
    ud->addWidget(downBtn);
    qnt->addWidget(QuantEdit);
    qnt->addWidget(UDQuant);
    grid->addLayout(qnt, 2, 2);
    sTotLab = named<QLabel>("sTotLab", QntPanel);
    grid->addWidget(sTotLab, 0, 2);
    grid->setRowStretch(3, 1);
    QntPanel->setEnabled(false);
}

void TaddSItemDlg::setHelp(const QString& text)
{
    main.showHint(text);
}

void TaddSItemDlg::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shown)
        main.guarded([this] { showFirst(); });
}

bool TaddSItemDlg::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (watched == ProdListBox)
            setHelp(kHelpLines);
        else if (watched == prodStrGrid || watched == prodStrGrid->viewport())
            setHelp(kHelpGrid);
        else if (watched == QuantEdit || watched == UDQuant || watched == upBtn || watched == downBtn
                 || watched == qTableImg)
            setHelp(kHelpQnt);
        else if (watched == artListBox)
            setHelp(kHelpArt);
        else if (watched == OKBtn)
            setHelp(kHelpOK);
        else if (watched == searchEd)
            setHelp(kHelpSearch);
        else if (watched == this || watched == GroupBox1 || watched == QntPanel)
            setHelp({});
    } else if (type == QEvent::FocusOut && watched == ProdListBox) {
        setHelp({});
    } else if (type == QEvent::MouseButtonRelease && watched == GroupBox1) {
        // The lines as the sheet will hold them, until the next change.
        const QSignalBlocker block(ProdListBox);
        ProdListBox->clear();
        ProdListBox->addItems(dlgLines);
    } else if (watched == prodStrGrid->viewport()
               && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)) {
        const auto* me = static_cast<QMouseEvent*>(event);
        const int row = prodStrGrid->rowAt(me->position().toPoint().y());
        if (type == QEvent::MouseButtonPress) {
            setHelp(kHelpGrid);
            if (me->button() == Qt::RightButton && row >= 0)
                prodStrGrid->selectRow(row);
        } else if (artPos > -1 && row >= 0) {
            main.guarded([this, me, row] {
                prodStrGrid->selectRow(row);
                prodRow = row + 1;
                if (me->button() == Qt::RightButton)
                    putOnOff();
                showRow(prodRow);
            });
        }
    } else if (type == QEvent::KeyPress) {
        const auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Escape) {
            // In the search, Escape only empties it.
            if (watched == searchEd) {
                searchEd->clear();
                search({});
            } else {
                main.guarded([this] { sale.cancelEditor(); });
            }
            return true;
        }
        if (watched == prodStrGrid && artPos > -1) {
            if (ke->key() == Qt::Key_Space) {
                main.guarded([this] { putOnOff(); });
                return true;
            }
            if (ke->key() == Qt::Key_Plus || ke->key() == Qt::Key_Minus) {
                main.guarded([this, ke] { stepQuantity(ke->key() == Qt::Key_Plus ? 1 : -1); });
                return true;
            }
        }
        if (watched == searchEd && (ke->key() == Qt::Key_Down || ke->key() == Qt::Key_Up)) {
            const int n = searchList->count();
            if (n > 0) {
                const int step = ke->key() == Qt::Key_Down ? 1 : -1;
                searchList->setCurrentRow(qBound(0, searchList->currentRow() + step, n - 1));
            }
            return true;
        }
        if (watched == QuantEdit && (ke->key() == Qt::Key_Up || ke->key() == Qt::Key_Down)) {
            main.guarded([this, ke] { stepQuantity(ke->key() == Qt::Key_Up ? 1 : -1); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
