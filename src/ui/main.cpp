#include "ui/main.h"

#include "core/appError.h"
#include "core/appPaths.h"
#include "core/dbFile.h"
#include "core/safeWrite.h"
#include "core/settings.h"
#include "core/tilvarDB.h"
#include "core/textUtil.h"
#include "export/artListXML.h"
#include "model/uArt.h"
#include "ui/about.h"
#include "ui/artFrm.h"
#include "ui/named.h"
#include "ui/prefsForm.h"
#include "ui/prodFrm.h"
#include "ui/pubOptions.h"
#include "ui/repFrm.h"
#include "ui/saleFrm.h"
#include "ui/widgetPrompt.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QColor kMaroon(0x80, 0, 0);
const QColor kLocateGreen(0, 0x73, 0);
const QColor kTitleColors[2] = {QColor(0, 0x7F, 0), QColor(0xEC, 0x3C, 0)};
const QString kTitles[2] = {u"Artisans"_s, u"Ventes"_s};
const QString kListWords[2] = {u"liste"_s, u"vue d'ensemble"_s};
const QString kDetail = u"détail"_s;

QFont monoFont(int pointSize)
{
    QFont f(u"Courier New"_s, pointSize);
    f.setStyleHint(QFont::Monospace);
    return f;
}

// A 44 px picture for the page button: a coloured tile with its side's word.
QPixmap pageButtonPicture(const QColor& colour, const QString& word)
{
    QPixmap pix(44, 44);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(QPen(colour.darker(150), 2));
    p.drawRoundedRect(QRectF(2, 2, 40, 40), 8, 8);
    p.setPen(Qt::white);
    QFont f(u"Verdana"_s, 7, QFont::Bold);
    p.setFont(f);
    p.drawText(QRect(0, 0, 44, 44), Qt::AlignCenter, word);
    return pix;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& hint)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoRaise(true);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

QAction* makeAction(QObject* parent, const char* name, const QString& caption)
{
    auto* a = new QAction(caption, parent);
    a->setObjectName(QLatin1String(name));
    return a;
}

// Same file content: the copy in the data folder is the chosen file.
bool sameContent(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    return fa.size() == fb.size() && fa.readAll() == fb.readAll();
}

bool sameFolder(const QString& folderA, const QString& folderB)
{
    const QString a = QFileInfo(folderA).canonicalFilePath();
    const QString b = QFileInfo(folderB).canonicalFilePath();
    return !a.isEmpty() && a == b;
}

// Copies source over target in one step: target is either the old file or
// the complete copy, never a part.
// Replaces a database file of the data folder as a save does: the file it
// replaces is kept in the backups first.
void copyFileOver(const AppState& st, const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(u"Impossible de lire "_s + source + u" : "_s + in.errorString());
    safeWriteFile(target, in.readAll(), dbWriteOptions(st, target));
}
} // namespace

TmainForm::TmainForm(const TStartOptions& options, QWidget* parent)
    : QMainWindow(parent),
      m_prompt(options.prompt),
      m_runModal(options.runModal ? options.runModal : ModalRunner(runModalDefault))
{
    setObjectName(u"mainForm"_s);
    if (!m_prompt) {
        m_ownPrompt = std::make_unique<WidgetPrompt>(this);
        m_prompt = m_ownPrompt.get();
    }
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFont(QFont(u"Arial"_s, 8));

    // Creation, in the order the program has always followed.
    setupStartPaths(st, options.progDir, options.today);
    ensureFolders(st);
    mainReady = false;
    st.curArtNo = u"001"_s;
    st.curItem.clear();
    st.curArtInd = -1;
    curPage = -1;
    tilvarDB = std::make_unique<TtilvarDB>(st);

    backPanel = named<QWidget>("backPanel", this);
    setCentralWidget(backPanel);
    auto* layout = new QVBoxLayout(backPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    buildTopPanel();
    buildLocatePanel();
    mainPanel = named<QWidget>("mainPanel", backPanel);
    mainPanel->setFocusPolicy(Qt::ClickFocus);
    auto* hostLayout = new QVBoxLayout(mainPanel);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    hostLayout->setSpacing(0);

    infoLab = named<QLabel>("infoLab", u"="_s, backPanel);
    infoLab->setWordWrap(true);
    infoLab->setFont(monoFont(8));
    infoLab->setStyleSheet(u"color: #008000;"_s);
    infoLab->setFixedHeight(30);
    infoLab->setContentsMargins(6, 0, 6, 0);

    layout->addWidget(topPanel);
    layout->addWidget(locatePan);
    layout->addWidget(mainPanel, 1);
    layout->addWidget(infoLab);

    buildMenus();
    buildStatusBar();
    new TPublisher(*this); // publishing and export commands (pubOptions.cpp)
    new TrepForm(st, *this); // the report window, from the Special menu

    artForm = new TArtForm(st, *this, this);
    saleForm = new TsaleForm(st, this);
    prodForm = new TProdForm(st, this);
    for (QWidget* w : std::initializer_list<QWidget*>{artForm, saleForm, prodForm}) {
        w->setWindowFlags(Qt::Widget);
        w->hide();
    }
    hostPanels = {artForm->formPanel, prodForm->formPanel, artForm->listPanel, prodForm->listPanel};

    for (QObject* o : std::initializer_list<QObject*>{topPanel, locatePan, backPanel, mainPanel,
                                                      pageBtn, addRecBtn, WebPageBtn, saveBtn,
                                                      subTLabel, artNoLab, Label1, artInfoLab})
        o->installEventFilter(this);

    guarded([this] { readSettings(st.iniPath, st); });
    if (st.showSplash)
        doVersion();

    QPalette pal = locatePan->palette();
    pal.setColor(QPalette::Window, kLocateGreen);
    pal.setColor(QPalette::WindowText, Qt::white);
    locatePan->setPalette(pal);
    locatePan->setAutoFillBackground(true);
}

TmainForm::~TmainForm() = default;

void TmainForm::buildTopPanel()
{
    topPanel = named<QFrame>("topPanel", backPanel);
    topPanel->setFixedHeight(62);

    TitleLab = named<QLabel>("TitleLab", u"Ventes"_s, topPanel);
    TitleLab->setFont(QFont(u"Verdana"_s, 32, QFont::Bold));
    TitleLab->setStyleSheet(u"color: #800000;"_s);
    TitleLab->setGeometry(10, 2, 330, 58);

    subTLabel = named<QLabel>("subTLabel", kDetail, topPanel);
    subTLabel->setFont(QFont(u"Verdana"_s, 16, QFont::Bold));
    subTLabel->setStyleSheet(u"color: #800000;"_s);
    subTLabel->setGeometry(350, 22, 330, 32);
    subTLabel->setCursor(Qt::PointingHandCursor);

    imgArtBtn = named<QLabel>("imgArtBtn", topPanel);
    imgArtBtn->setPixmap(pageButtonPicture(kTitleColors[0], u"Artisans"_s));
    imgArtBtn->hide();
    imgVBtn = named<QLabel>("imgVBtn", topPanel);
    imgVBtn->setPixmap(pageButtonPicture(kTitleColors[1], u"Ventes"_s));
    imgVBtn->hide();

    pageBtn = speedButton(topPanel, "pageBtn", {});
    pageBtn->setGeometry(700, 6, 50, 50);
    pageBtn->setIconSize(QSize(44, 44));
    pageBtn->setIcon(imgVBtn->pixmap());
    pageBtn->setCursor(Qt::PointingHandCursor);
    pageBtn->hide();
    connect(pageBtn, &QToolButton::clicked, this, [this] { guarded([this] { pageBtnClick(); }); });

    WebPageBtn = speedButton(topPanel, "WebPageBtn", {});
    WebPageBtn->setGeometry(760, 6, 50, 50);
    WebPageBtn->setIconSize(QSize(44, 44));
    WebPageBtn->setIcon(pageButtonPicture(QColor(0x20, 0x40, 0x90), u"Web"_s));
    wPMen = named<QMenu>("wPMen", WebPageBtn);
    pmPubPrefs = makeAction(wPMen, "pmPubPrefs", u"options..."_s);
    wPMen->addAction(pmPubPrefs);
    WebPageBtn->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(WebPageBtn, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { wPMen->popup(WebPageBtn->mapToGlobal(p)); });

    PrintBtn = speedButton(topPanel, "PrintBtn", u"Print form image"_s);
    PrintBtn->hide();

    mainBtn = speedButton(topPanel, "mainBtn", {});
    mainBtn->hide();
    connect(mainBtn, &QToolButton::clicked, this, [this] {
        artSubPage = artSubPage >= 3 ? 0 : artSubPage + 1;
        showArtSubPage(artSubPage);
    });

    devPMenu = named<QMenu>("devPMenu", topPanel);
    mResetVarData = makeAction(devPMenu, "mResetVarData", u"resetVarData"_s);
    devPMenu->addAction(mResetVarData);
    topPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(topPanel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { devPMenu->popup(topPanel->mapToGlobal(p)); });
}

void TmainForm::buildLocatePanel()
{
    locatePan = named<QFrame>("locatePan", backPanel);
    locatePan->setFixedHeight(32);
    locatePan->setFont(monoFont(10));

    Label1 = named<QLabel>("Label1", u"No:"_s, locatePan);
    Label1->setGeometry(8, 6, 32, 20);
    artNoLab = named<QLabel>("artNoLab", u"0000"_s, locatePan);
    artNoLab->setGeometry(42, 6, 60, 20);
    artInfoLab = named<QLabel>("artInfoLab", locatePan);
    artInfoLab->setGeometry(110, 6, 380, 20);

    // The pickers sit at their labels' left edge and cover them when shown.
    nListCB = named<QComboBox>("nListCB", locatePan);
    nListCB->setGeometry(artNoLab->x(), 4, 70, 24);
    nListCB->hide();
    ArtListCB = named<QComboBox>("ArtListCB", locatePan);
    ArtListCB->setGeometry(artInfoLab->x(), 4, 380, 24);
    ArtListCB->hide();
    connect(nListCB, &QComboBox::activated, this, [this](int index) { moveToArtisan(index); });
    connect(ArtListCB, &QComboBox::activated, this, [this](int index) {
        // The name line follows only when the move took place (an entry
        // refused by the model keeps the artisan shown).
        if (moveToArtisan(index))
            nListCB->setCurrentIndex(index);
        ArtListCB->hide();
    });

    prevBtn = speedButton(locatePan, "prevBtn", u"Précédent"_s);
    prevBtn->setGeometry(500, 3, 30, 26);
    prevBtn->setText(u"◀"_s);
    nextBtn = speedButton(locatePan, "nextBtn", u"Suivant"_s);
    nextBtn->setGeometry(534, 3, 30, 26);
    nextBtn->setText(u"▶"_s);
    connect(prevBtn, &QToolButton::clicked, this, [this] {
        const int count = st.artList.count();
        if (count == 0)
            return;
        moveToArtisan(st.curArtInd < 1 ? count - 1 : st.curArtInd - 1);
    });
    connect(nextBtn, &QToolButton::clicked, this, [this] {
        const int count = st.artList.count();
        if (count == 0)
            return;
        moveToArtisan(st.curArtInd >= count - 1 ? 0 : st.curArtInd + 1);
    });

    navPanel = named<QFrame>("navPanel", locatePan);
    navPanel->setGeometry(720, 0, 108, 32);
    addRecBtn = speedButton(navPanel, "addRecBtn", u"Ajouter artisan"_s);
    addRecBtn->setGeometry(4, 3, 30, 26);
    addRecBtn->setText(u"+"_s);
    delSBTN = speedButton(navPanel, "delSBTN", u"Supprimer item"_s);
    delSBTN->setGeometry(38, 3, 30, 26);
    delSBTN->setText(u"-"_s);
    delSBTN->hide();
    saveBtn = speedButton(navPanel, "saveBtn", u"Enregistrer"_s);
    saveBtn->setGeometry(72, 3, 30, 26);
    saveBtn->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    for (QToolButton* b : {prevBtn, nextBtn, addRecBtn, delSBTN, saveBtn})
        b->setStyleSheet(u"QToolButton { color: white; font-weight: bold; font-size: 15px; }"_s);
    connect(addRecBtn, &QToolButton::clicked, this, [this] { guarded([this] { addRecBtnClick(); }); });
    connect(saveBtn, &QToolButton::clicked, this, [this] { doSave(); });

    SpeedButton1 = speedButton(locatePan, "SpeedButton1", u"Print form image"_s);
    SpeedButton1->hide();
}

void TmainForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* fileMenu = bar->addMenu(u"Fichier"_s);
    fileMenu->setObjectName(u"File1"_s);
    QMenu* specialMenu = bar->addMenu(u"Special"_s);
    specialMenu->setObjectName(u"Special1"_s);
    QMenu* helpMenu = bar->addMenu(u"?"_s);
    helpMenu->setObjectName(u"Help1"_s);

    aNew = makeAction(this, "aNew", u"Nouveau"_s);
    FileOpen = makeAction(this, "FileOpen", u"&Ouvrir..."_s);
    FileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSaveAs = makeAction(this, "FileSaveAs", u"Renommer..."_s);
    aSave = makeAction(this, "aSave", u"Sauvegarde"_s);
    aSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    aExpArt = makeAction(this, "aExpArt", u"Exporter"_s);
    aExpSales = makeAction(this, "aExpSales", u"aExpSales"_s);
    aExpSales->setEnabled(false);
    aImpArt = makeAction(this, "aImpArt", u"Importer"_s);
    FileExit = makeAction(this, "FileExit", u"E&xit"_s);
    aClearAll = makeAction(this, "aClearAll", u"ClearAll"_s);
    aSetPeriods = makeAction(this, "aSetPeriods", u"SetPeriods"_s);
    aEmptyDB = makeAction(this, "aEmptyDB", u"aEmptyDB"_s);
    aPrefs = makeAction(this, "aPrefs", u"Preferences"_s);
    aVersion = makeAction(this, "aVersion", u"?"_s);
    aSetAdmin = makeAction(this, "aSetAdmin", u"admin Mode"_s);
    aExpAll = makeAction(this, "aExpAll", u"ExportAll"_s);

    // Hints: the short part shows as a tip, the long one on the help line.
    const auto hint = [](QAction* a, const QString& text) {
        a->setToolTip(text.section(QLatin1Char('|'), 0, 0));
        a->setStatusTip(text.section(QLatin1Char('|'), 1));
    };
    hint(FileOpen, u"Open|Opens an existing file"_s);
    hint(FileSaveAs, u"Save As|Saves the active file with a new name"_s);
    hint(FileExit, u"Exit|Quits the application"_s);

    fileMenu->addAction(aNew);
    fileMenu->addAction(FileOpen);
    fileMenu->addAction(FileSaveAs);
    fileMenu->addAction(aSave);
    fileMenu->addSeparator();
    fileMenu->addAction(aExpArt);
    fileMenu->addAction(aExpSales);
    fileMenu->addAction(aImpArt);
    fileMenu->addSeparator();
    fileMenu->addAction(FileExit);
    specialMenu->addAction(aClearAll);
    specialMenu->addAction(aSetPeriods);
    specialMenu->addAction(aEmptyDB);
    specialMenu->addSeparator();
    specialMenu->addAction(aPrefs);
    helpMenu->addAction(aVersion);
    // Kept in the window's action list without a menu entry.
    addAction(aSetAdmin);
    addAction(aExpAll);

    connect(aNew, &QAction::triggered, this, [this] { doNew(); });
    connect(FileOpen, &QAction::triggered, this, [this] { doFileOpen(); });
    connect(FileSaveAs, &QAction::triggered, this, [this] { doFileSaveAs(); });
    connect(aSave, &QAction::triggered, this, [this] { doSave(); });
    connect(aImpArt, &QAction::triggered, this, [this] { doImpArt(); });
    connect(FileExit, &QAction::triggered, this, &QWidget::close);
    connect(aClearAll, &QAction::triggered, this, [this] { doClearAll(); });
    connect(aPrefs, &QAction::triggered, this, [this] { doPrefs(); });
    connect(aVersion, &QAction::triggered, this, [this] { doVersion(); });
    connect(aSetAdmin, &QAction::triggered, this, [this] { st.adminMode = !st.adminMode; });
}

void TmainForm::buildStatusBar()
{
    StatusBar = named<QStatusBar>("StatusBar", this);
    StatusBar->setSizeGripEnabled(false);
    setStatusBar(StatusBar);
    const int widths[4] = {250, 150, 250, 50};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(StatusBar);
        panel->setObjectName(u"statusPanel"_s + QString::number(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i < 3)
            panel->setFixedWidth(widths[i]);
        else
            panel->setMinimumWidth(widths[i]);
        StatusBar->addWidget(panel, i == 3 ? 1 : 0);
        panel->installEventFilter(this);
        statusPanels[size_t(i)] = panel;
    }
    StatusBar->installEventFilter(this);
}

// --- events -----------------------------------------------------------------

bool TmainForm::guarded(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const AppError& e) {
        m_prompt->error(e.message());
    } catch (const std::exception& e) {
        m_prompt->error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

bool TmainForm::event(QEvent* event)
{
    // The menus' long hints go to the help line, not to the status panels.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty())
            infoLab->setText(tip);
        return true;
    }
    return QMainWindow::event(event);
}

bool TmainForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (watched == pageBtn)
            infoLab->setText(u"Basculer des ventes aux artisans et produits"_s);
        else if (watched == addRecBtn)
            infoLab->setText(u"Ajouter un artisan"_s);
        else if (watched == WebPageBtn)
            infoLab->setText(
                u"Publication: produit le fichier d'exportation et son affichage dans le fureteur... "_s);
        else if (watched == saveBtn)
            infoLab->setText(u"Enregistrer... "_s);
        else if (watched == topPanel || watched == locatePan || watched == backPanel)
            infoLab->clear();
    } else if (type == QEvent::FocusIn && watched == mainPanel) {
        infoLab->clear();
    } else if (type == QEvent::MouseButtonRelease) {
        if (watched == subTLabel) {
            subTLabelClick();
        } else if (watched == artNoLab) {
            nListCB->setCurrentText(artNoLab->text());
            nListCB->show();
            nListCB->raise();
        } else if (watched == Label1) {
            nListCB->hide();
        } else if (watched == artInfoLab) {
            ArtListCB->setCurrentText(artInfoLab->text());
            ArtListCB->show();
            ArtListCB->raise();
        }
    } else if (type == QEvent::MouseButtonPress
               && (watched == StatusBar || statusPanels.end()
                       != std::find(statusPanels.begin(), statusPanels.end(), watched))) {
        statusMode = statusMode >= 3 ? 0 : statusMode + 1;
        refreshStatus(statusMode);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TmainForm::subTLabelClick()
{
    const int side = curPage == 1 ? 1 : 0;
    subTLabel->setText(subTLabel->text() == kDetail ? kListWords[side] : kDetail);
}

void TmainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShown) {
        m_firstShown = true;
        firstShow();
    }
}

void TmainForm::firstShow()
{
    setFixedSize(830, 655);
    move(st.wLeft, st.wTop);
    setWindowTitle(st.appCaption);
    // The pickers' left edges follow their labels.
    nListCB->move(artNoLab->x(), nListCB->y());
    ArtListCB->move(artInfoLab->x(), ArtListCB->y());

    if (st.autoload && !st.artFileName.isEmpty() && QFile::exists(st.dataDir + st.artFileName)) {
        resetState();
        showPage(0);
        guarded([this] { openDB(st.artFileName); });
    } else {
        clearAll();
    }
    mainReady = true;
    refreshStatus(0);
}

void TmainForm::closeEvent(QCloseEvent* event)
{
    if (!m_shutDown) {
        if (!confirmDiscard()) {
            event->ignore();
            return;
        }
        shutDown();
    }
    event->accept();
}

void TmainForm::shutDown()
{
    m_shutDown = true;
    st.wLeft = x();
    st.wTop = y();
    st.wWidth = width();
    st.wHeight = height();
    st.lastTab = 0;
    guarded([this] { writeSettings(st.iniPath, st); });
}

// --- pages ------------------------------------------------------------------

void TmainForm::showPage(int side)
{
    if (side == curPage)
        return;
    curPage = side;
    updateHeader();

    QLayout* host = mainPanel->layout();
    const QList<QWidget*> hosted = mainPanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : hosted) {
        host->removeWidget(w);
        w->hide();
        if (w == saleForm->formPanel)
            w->setParent(saleForm);
        else if (w == artForm->formPanel || w == artForm->listPanel)
            w->setParent(artForm);
        else
            w->setParent(prodForm);
    }
    if (side == 0) {
        pageBtn->setIcon(imgVBtn->pixmap());
        for (QWidget* panel : hostPanels)
            host->addWidget(panel);
        showArtSubPage(artSubPage);
    } else {
        pageBtn->setIcon(imgArtBtn->pixmap());
        host->addWidget(saleForm->formPanel);
        saleForm->formPanel->show();
    }
    refreshStatus(0);
}

void TmainForm::updateHeader()
{
    const int side = curPage == 1 ? 1 : 0;
    TitleLab->setText(kTitles[side]);
    TitleLab->setStyleSheet(u"color: %1;"_s.arg(kTitleColors[side].name()));
    subTLabel->setText(kDetail);
    updatePageBtn();

    saleForm->sTopPan->hide();
    nListCB->clear();
    nListCB->addItems(st.numItems);
    ArtListCB->clear();
    ArtListCB->addItems(st.nameItems);
    artInfoLab->setText(displayNameOf(st, st.curArtNo));
    navPanel->show();
    locatePan->show();

    if (curPage == 1) {
        QWidget* top = saleForm->sTopPan;
        top->setParent(locatePan);
        // It covers the artisan part of the bar, in the bar's colour.
        top->setGeometry(0, 0, navPanel->x(), locatePan->height());
        top->setAutoFillBackground(true);
        top->show();
        top->raise();
        saleForm->sNameCB->hide();
        saleForm->sNameLab->setText(st.lastSAgent);
    } else if (saleForm->sTopPan->parent() != saleForm) {
        saleForm->sTopPan->setParent(saleForm);
    }
}

void TmainForm::showArtSubPage(int index)
{
    for (QWidget* panel : hostPanels)
        panel->hide();
    hostPanels[size_t(index)]->show();
    artSubPage = index;
    if (index == 0)
        addRecBtn->show();
    if (index == 1)
        prodForm->fieldPanel->setEnabled(!st.prodList.isEmpty());
}

void TmainForm::updatePageBtn()
{
    if (st.artList.count() > 0)
        st.totProdCount = st.artList.totalProducts();
    pageBtn->setVisible(st.totProdCount >= 1);
}

void TmainForm::pageBtnClick()
{
    st.totProdCount = st.artList.totalProducts();
    if (pageBtnSide == 0 && st.totProdCount > 0) {
        // What was typed for the shown artisan goes into it before the
        // artisans side is left.
        if (curPage == 0)
            artForm->storeCurrent();
        pageBtnSide = 1;
        showPage(1);
    } else {
        pageBtnSide = 0;
        showPage(0);
    }
}

// --- artisan navigation -----------------------------------------------------

bool TmainForm::moveToArtisan(int index)
{
    return guarded([this, index] {
        artForm->storeArtisan(st.curArtInd);
        st.curArtInd = index;
        showCurrentArtisan();
    });
}

void TmainForm::showCurrentArtisan()
{
    st.curProdInd = -1;
    st.curItem.clear();
    artForm->showArtisan(st.curArtInd);
    st.linesReady = false;
    if (artSubPage == 1) {
        prodForm->impPanel->setVisible(!st.importFName.isEmpty()
                                       && !artForm->varDataLab->text().isEmpty());
        prodForm->fieldPanel->setEnabled(!st.prodNoList.isEmpty());
        prodForm->prodCntLab->setText(QString::number(st.prodNoList.count()));
    }
    nListCB->hide();
    refreshStatus(0);
}

void TmainForm::addRecBtnClick()
{
    if (artForm->artListMode)
        artForm->toggleViewMode();
    artForm->storeArtisan(st.curArtInd);
    st.curArtNo = TArtList::artNoFor(st.artList.count() + 1);
    st.curArtInd += 1;
    artForm->addArtisan(st.curArtNo);
    st.modified = true;
    refreshStatus(0);
    artForm->btnImpArtItem->setEnabled(true);
    artForm->nameEd->setFocus();
}

// --- status bar ---------------------------------------------------------------

void TmainForm::setStatusText(int panel, const QString& text)
{
    statusPanels[size_t(panel)]->setText(text);
}

QString TmainForm::statusText(int panel) const
{
    return statusPanels[size_t(panel)]->text();
}

void TmainForm::refreshStatus(int mode)
{
    const QString ind = QString::number(st.curArtInd);
    const QString count = QString::number(st.artList.count());
    const QString importName = QFileInfo(st.importFName).fileName();
    const QString fileName = QFileInfo(st.artFileName).fileName();
    QString p[4];
    switch (mode) {
    case 0:
        p[0] = u"curFile: "_s + fileName;
        p[1] = u"CurArtNo: "_s + st.curArtNo;
        p[2] = u"curArtInd: "_s + ind;
        p[3] = u"maxRecs: "_s + count;
        break;
    case 1:
        p[0] = u"current file: "_s + fileName;
        p[1] = u"curArtInd: "_s + ind;
        p[2] = u"maxRecs: "_s + count;
        p[3] = u"importFName: "_s + importName;
        break;
    case 2:
        p[0] = u"curArtInd: "_s + ind;
        p[1] = u" "_s;
        p[2] = u"importFName: "_s + importName;
        p[3] = u"mainPanCount: "_s
               + QString::number(mainPanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).count());
        break;
    default:
        p[0] = u"curArtdNo:"_s + st.curArtNo;
        p[1] = u"curProdNo:"_s + st.curItem;
        p[2] = u"curProdInd:"_s + QString::number(st.curProdInd) + u" curArtInd:"_s + ind;
        p[3] = u"totProdCount: "_s + QString::number(st.artList.totalProducts());
        break;
    }
    for (int i = 0; i < 4; ++i)
        setStatusText(i, p[i]);
}

// --- database commands ------------------------------------------------------------

QString TmainForm::dbFilter() const
{
    return u"Fichiers tlvdb (*.tlvdb)"_s;
}

void TmainForm::resetState()
{
    st.curArtNo = u"001"_s;
    st.curItem.clear();
    st.curArtInd = 0;
    st.totProdCount = 0;
    artSubPage = 0;
    if (st.artList.count() > 0) {
        st.numItems.clear();
        st.nameItems.clear();
        st.prodNoList.clear();
        st.artList.clear();
        st.prodList.clear();
        st.saleList.clear();
        st.repList.clear();
    }
}

void TmainForm::clearAll()
{
    // The artisans side comes back in form mode.
    if (artForm->artListMode)
        artForm->toggleViewMode();
    st.curFilePath.clear();
    st.artFileName.clear();
    resetState();
    artInfoLab->clear();
    artForm->clearWindow();
    curPage = -1;
    pageBtnSide = 0;
    pageBtn->hide();
    showPage(0);
    artForm->addArtisan(st.curArtNo);
    st.modified = false;
    if (mainReady)
        artForm->nameEd->setFocus();
}

void TmainForm::openDB(const QString& fileName)
{
    if (mainReady)
        clearAll();
    st.artFileName = fileName;
    st.curFilePath = st.dataDir + fileName;
    loadDB(st.curFilePath, st, *m_prompt);
    st.modified = false;
    mainReady = true;
    if (st.artList.count() > 0) {
        artForm->rebuildLists();
        artForm->fillGrid();
        artForm->showArtisan(st.curArtInd);
    }
    if (st.repList.count() > 0) {
        st.repList.refreshTitles();
        saleForm->pListCB->clear();
        saleForm->pListCB->addItems(st.repList.titles);
    }
    updatePageBtn();
    refreshStatus(1);
}

bool TmainForm::confirmDiscard()
{
    if (curPage == 0 && mainReady && !guarded([this] { artForm->storeCurrent(); }))
        return false;
    if (!st.modified)
        return true;
    switch (m_prompt->question(u"Enregistrer les modifications ?"_s, true)) {
    case Prompt::Answer::Yes:
        return doSave();
    case Prompt::Answer::No:
        return true;
    case Prompt::Answer::Cancel:
        break;
    }
    return false;
}

bool TmainForm::doFileOpen()
{
    if (!confirmDiscard())
        return false;
    const QString path = m_prompt->openFileName(u"Ouvrir"_s, st.dataDir, dbFilter());
    if (path.isEmpty())
        return false;
    return guarded([this, &path] {
        const QString name = adoptFile(path);
        if (!name.isEmpty())
            openDB(name);
    });
}

QString TmainForm::adoptFile(const QString& path)
{
    const QFileInfo chosen(path);
    const QString name = chosen.fileName();
    const QString target = st.dataDir + name;
    if (!chosen.exists() || sameFolder(chosen.absolutePath(), st.dataDir))
        return name;
    if (!QFile::exists(target)) {
        copyFileOver(st, path, target);
    } else if (!sameContent(path, target)) {
        const Prompt::Answer a = m_prompt->question(
            u"Le fichier "_s + name + u" existe déjà dans le dossier des données ("_s
                + QDir::toNativeSeparators(st.dataDir)
                + u").\nLe remplacer par le fichier choisi ?\n(Non : garder celui du dossier des données)"_s,
            true);
        if (a == Prompt::Answer::Cancel)
            return {};
        if (a == Prompt::Answer::Yes)
            copyFileOver(st, path, target);
    }
    return name;
}

bool TmainForm::saveAsTo(const QString& chosenPath)
{
    QString path = chosenPath;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".tlvdb"_s;
    const QFileInfo chosen(path);
    const QString name = chosen.fileName();
    const QString target = st.dataDir + name;
    saveDB(path, st);
    QString working = target;
    // Saved elsewhere: the data folder gets the same file, so that later
    // saves and the next autoload find it, without ever replacing another
    // database silently.
    if (!sameFolder(chosen.absolutePath(), st.dataDir)) {
        bool write = true;
        if (QFile::exists(target))
            write = m_prompt->question(u"Le fichier "_s + name
                                       + u" existe déjà dans le dossier des données ("_s
                                       + QDir::toNativeSeparators(st.dataDir)
                                       + u").\nLe remplacer ?"_s)
                    == Prompt::Answer::Yes;
        if (write)
            saveDB(target, st);
        else
            working = chosen.absoluteFilePath();
    }
    st.artFileName = name;
    st.curFilePath = working;
    st.modified = false;
    updatePageBtn();
    setStatusText(0, u"saved file: "_s + st.artFileName);
    return true;
}

bool TmainForm::doFileSaveAs()
{
    const QString path =
        m_prompt->saveFileName(u"Enregistrer sous"_s, st.dataDir, dbFilter(), u"tlvdb"_s);
    if (path.isEmpty())
        return false;
    bool saved = false;
    guarded([&] { saved = saveAsTo(path); });
    return saved;
}

bool TmainForm::doSave()
{
    bool saved = false;
    guarded([&] {
        setStatusText(0, u"creating: "_s + st.curFilePath);
        setStatusText(1, u"curInd: "_s + QString::number(st.curArtInd));
        curPage = pageBtnSide;
        if (curPage == 0)
            artForm->storeCurrent();
        if (!st.curFilePath.isEmpty() && QFile::exists(st.curFilePath)) {
            saveDB(st.curFilePath, st);
            st.modified = false;
            setStatusText(0, u"saved: "_s + st.artFileName);
            saved = true;
        } else {
            saved = doFileSaveAs();
        }
        updatePageBtn();
    });
    return saved;
}

bool TmainForm::doNew()
{
    if (!doClearAll())
        return false;
    st.curFilePath.clear();
    st.artFileName.clear();
    updatePageBtn();
    return true;
}

bool TmainForm::doClearAll()
{
    if (!confirmDiscard())
        return false;
    clearAll();
    return true;
}

void TmainForm::doPrefs()
{
    TPrefsDialog dlg(this);
    dlg.setWindowTitle(u"Préférences"_s);
    dlg.autoLoadChk->setChecked(st.autoload);
    dlg.splashScreenChk->setChecked(st.showSplash);
    dlg.BDNameEd->setText(cutAtDot(st.artFileName));
    dlg.extLab->setText(u".tlvdb"_s);
    dlg.autoSaveSalesChk->setChecked(st.saveSales);
    if (m_runModal(dlg) == QDialog::Accepted) {
        st.autoload = dlg.autoLoadChk->isChecked();
        st.showSplash = dlg.splashScreenChk->isChecked();
        // No name, no file: ".tlvdb" alone would name nothing.
        if (!dlg.BDNameEd->text().isEmpty())
            st.artFileName = dlg.BDNameEd->text() + dlg.extLab->text();
        st.saveSales = dlg.autoSaveSalesChk->isChecked();
    }
}

void TmainForm::doVersion()
{
    TaboutForm about(this);
    about.versionLab->setText(st.appCaption);
    // As the splash, the main window is not shown yet: centre on where it will be.
    if (!isVisible()) {
        const QRect future(st.wLeft, st.wTop, 830, 655);
        about.move(future.center() - QPoint(about.width() / 2, about.height() / 2));
    }
    m_runModal(about);
    unsetCursor();
}

bool TmainForm::doImpArt()
{
    if (!confirmDiscard())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mainReady = false;
    const QString path =
        m_prompt->openFileName(u"Ouvrir"_s, st.dataDir, u"Fichiers XML (*.xml)"_s);
    bool done = false;
    // Whatever happens, the window is usable again afterwards.
    guarded([&] {
        if (!path.isEmpty() && QFileInfo(path).isFile()) {
            st.curFilePath.clear();
            st.artFileName.clear();
            if (readArtListFile(st.artList, path)) {
                st.modified = true;
                artForm->rebuildLists();
                artForm->fillGrid();
            }
            done = true;
        } else {
            m_prompt->information(u"File "_s + QFileInfo(path).fileName() + u" was not found"_s);
        }
    });
    st.curArtInd = 0;
    mainReady = true;
    guarded([this] {
        if (!st.artList.isEmpty())
            artForm->showArtisan(0);
        prodForm->loadWindow();
    });
    updatePageBtn();
    setStatusText(1, u"fVersion: "_s + QString::number(st.dbVersion));
    QApplication::restoreOverrideCursor();
    return done;
}
