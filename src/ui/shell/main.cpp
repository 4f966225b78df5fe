#include "ui/shell/main.h"
#include "ui/shell/artisanCommands.h"
#include "ui/shell/onScreen.h"

#include "core/appError.h"
#include "boutique/appPaths.h"
#include "boutique/artisanState.h"
#include "core/safeWrite.h"
#include "boutique/settings.h"
#include "export/tilvarDB.h"
#include "core/textUtil.h"
#include "model/artNumbers.h"
#include "model/soldSync.h"
#include "ui/shell/about.h"
#include "ui/shell/helpWindow.h"
#include "ui/artisans/artFrm.h"
#include "ui/shell/dbCommands.h"
#include "ui/widgets/named.h"
#include "ui/dialogs/prefsForm.h"
#include "ui/products/prodFrm.h"
#include "ui/reports/pubOptions.h"
#include "ui/dashboard/dashForm.h"
#include "ui/reports/repFrm.h"
#include "ui/sales/saleFrm.h"
#include "ui/stock/stockActions.h"
#include "ui/shell/translations.h"
#include "ui/widgets/frenchPrompt.h"
#include "ui/widgets/widgetPrompt.h"

#include <QAction>
#include <QDesktopServices>
#include <QStandardPaths>
#include <QUrl>
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
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QWindow>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QColor kMaroon(0x80, 0, 0);
const QColor kLocateGreen(0, 0x73, 0);
const QColor kTitleColors[2] = {QColor(0, 0x7F, 0), QColor(0xEC, 0x3C, 0)};
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

} // namespace

TmainForm::TmainForm(const TStartOptions& options, QWidget* parent)
    : QMainWindow(parent),
      m_prompt(options.prompt),
      m_runModal(options.runModal ? options.runModal : ModalRunner(runModalDefault))
{
    setObjectName(u"mainForm"_s);
    useBoutiqueLocale();
    // Without a program to hand it to (xdg-open), nothing can show a file.
    openWithSystem = [](const QString& path) {
        return !QStandardPaths::findExecutable(u"xdg-open"_s).isEmpty()
               && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    if (!m_prompt) {
        m_ownPrompt = std::make_unique<WidgetPrompt>(this);
        m_prompt = m_ownPrompt.get();
    }
    // Every notice reaches staff in French, whatever layer gave it.
    m_frenchPrompt = std::make_unique<FrenchPrompt>(*m_prompt);
    m_prompt = m_frenchPrompt.get();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFont(QFont(u"Arial"_s, 8));

    // Creation, in the order the program has always followed.
    setupStartPaths(st, options.progDir, options.today);
    checkDataFolder(st, *m_prompt);
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

    infoLab = named<QLabel>("infoLab", backPanel);
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
    repForm = new TrepForm(st, *this); // the report window, from the Special menu
    new TdashForm(st, *this); // the dashboard, from the Special menu

    artForm = new TArtForm(st, *this, this);
    connect(artForm, &TArtForm::numberShown, artNoLab, &QLabel::setText);
    // Artisans stored, added, removed or read: the choosers and the name line.
    connect(&m_doc, &Boutique::artisansChanged, this, [this] {
        fillChoosers();
        artInfoLab->setText(st.curArtInd >= 0 && st.curArtInd < st.nameItems.size() ? st.nameItems.at(st.curArtInd)
                                                                                   : displayNameOf(st, st.curArtNo));
    });
    saleForm = new TsaleForm(st, *this, this);
    prodForm = new TProdForm(st, *this, this);
    new TArtisanCommands(*this); // the Artisans menu (artisanCommands.cpp)
    for (QWidget* w : std::initializer_list<QWidget*>{artForm, saleForm, prodForm}) {
        w->setWindowFlags(Qt::Widget);
        w->hide();
    }
    hostPanels = {artForm->formPanel, prodForm->formPanel, artForm->listPanel, prodForm->listPanel};
    hostWindow(artForm, {artForm->formPanel, artForm->listPanel});
    hostWindow(prodForm, {prodForm->formPanel, prodForm->listPanel});
    hostWindow(saleForm, {saleForm->formPanel, saleForm->listPanel});
    // No way into the products (nor back) until their window takes part.
    if (!isHosted(prodForm)) {
        artForm->artPageBtn->setEnabled(false);
        artForm->artPageBtn->setToolTip(u"À venir : la fenêtre des produits."_s);
    }
    m_db = std::make_unique<TDbCommands>(*this, st, *m_prompt);

    for (QObject* o : std::initializer_list<QObject*>{topPanel, locatePan, backPanel, mainPanel,
                                                      pageBtn, addRecBtn, WebPageBtn, saveBtn,
                                                      subTLabel, artNoLab, Label1, artInfoLab})
        o->installEventFilter(this);

    guarded([this] { readSettings(st.iniPath, st); });
    if (st.showSplash)
        doVersion(true);

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
    subTLabel->setGeometry(350, 22, 345, 32); // up to the page button
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
    pmPubPrefs = makeAction(wPMen, "pmPubPrefs", u"Options de publication..."_s);
    wPMen->addAction(pmPubPrefs);
    WebPageBtn->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(WebPageBtn, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { wPMen->popup(WebPageBtn->mapToGlobal(p)); });

    PrintBtn = speedButton(topPanel, "PrintBtn", u"Imprimer l'image de la fenêtre"_s);
    PrintBtn->hide();

    mainBtn = speedButton(topPanel, "mainBtn", {});
    mainBtn->hide();
    connect(mainBtn, &QToolButton::clicked, this, [this] {
        artSubPage = artSubPage >= 3 ? 0 : artSubPage + 1;
        showArtSubPage(artSubPage);
    });

    devPMenu = named<QMenu>("devPMenu", topPanel);
    mResetVarData = makeAction(devPMenu, "mResetVarData", u"Réinitialiser les données variables"_s);
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
    // However the window moved (arrows, keys, another window), an open
    // chooser closes and both name the artisan shown.
    connect(&m_doc, &Boutique::artisanSelected, this, [this] {
        artInfoLab->setText(st.artList.displayName(st.curArtInd));
        const QSignalBlocker numbers(nListCB), names(ArtListCB);
        nListCB->setCurrentIndex(st.curArtInd < nListCB->count() ? st.curArtInd : -1);
        ArtListCB->setCurrentIndex(st.curArtInd < ArtListCB->count() ? st.curArtInd : -1);
        nListCB->hide();
        ArtListCB->hide();
    });
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
        // Hovered, the button keeps a dark face: white symbols stay readable.
        b->setStyleSheet(u"QToolButton { color: white; font-weight: bold; font-size: 15px;"
                         u" border: 1px solid transparent; border-radius: 3px; }"
                         u" QToolButton:hover { background-color: #0a8f0a; border-color: white; }"
                         u" QToolButton:pressed { background-color: #004d00; }"_s);
    connect(addRecBtn, &QToolButton::clicked, this, [this] { guarded([this] { addRecBtnClick(); }); });
    connect(saveBtn, &QToolButton::clicked, this, [this] { m_db->save(); });

    SpeedButton1 = speedButton(locatePan, "SpeedButton1", u"Imprimer l'image de la fenêtre"_s);
    SpeedButton1->hide();
}

void TmainForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* fileMenu = bar->addMenu(u"&Fichier"_s);
    fileMenu->setObjectName(u"File1"_s);
    specialMenu = bar->addMenu(u"&Spécial"_s);
    specialMenu->setObjectName(u"Special1"_s);
    helpMenu = bar->addMenu(u"?"_s);
    helpMenu->setObjectName(u"Help1"_s);

    aNew = makeAction(this, "aNew", u"Nouveau"_s);
    FileOpen = makeAction(this, "FileOpen", u"&Ouvrir..."_s);
    FileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSaveAs = makeAction(this, "FileSaveAs", u"Renommer..."_s);
    aSave = makeAction(this, "aSave", u"Sauvegarde"_s);
    aSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    // Ctrl+S saves from the sale-line editor too, while the menus are off.
    addAction(aSave);
    aExpArt = makeAction(this, "aExpArt", u"Exporter"_s);
    aExpSales = makeAction(this, "aExpSales", u"Exporter les ventes"_s);
    aExpSales->setEnabled(false);
    aImpArt = makeAction(this, "aImpArt", u"Importer"_s);
    FileExit = makeAction(this, "FileExit", u"&Quitter"_s);
    aClearAll = makeAction(this, "aClearAll", u"Tout effacer"_s);
    aSetPeriods = makeAction(this, "aSetPeriods", u"Périodes..."_s);
    aEmptyDB = makeAction(this, "aEmptyDB", u"Vider la base"_s);
    aPrefs = makeAction(this, "aPrefs", u"Préférences..."_s);
    aVersion = makeAction(this, "aVersion", u"À propos"_s);
    aSetAdmin = makeAction(this, "aSetAdmin", u"Mode administrateur"_s);
    aExpAll = makeAction(this, "aExpAll", u"Tout exporter"_s);
    aRestore = makeAction(this, "aRestore", u"Restaurer une sauvegarde..."_s);
    aCopyTo = makeAction(this, "aCopyTo", u"Copier la base vers..."_s);
    aHelp = makeAction(this, "aHelp", u"Aide"_s);
    aHelp->setShortcut(QKeySequence::HelpContents);
    recentMenu = named<QMenu>("recentMenu", this);
    recentMenu->setTitle(u"Fichiers récents"_s);
    connect(recentMenu, &QMenu::aboutToShow, this, &TmainForm::fillRecentMenu);

    // Hints: the short part shows as a tip, the long one on the help line.
    const auto hint = [](QAction* a, const QString& text) {
        a->setToolTip(text.section(QLatin1Char('|'), 0, 0));
        a->setStatusTip(text.section(QLatin1Char('|'), 1));
    };
    hint(FileOpen, u"Ouvrir|Ouvre une base existante"_s);
    hint(FileSaveAs, u"Renommer|Enregistre la base ouverte sous un autre nom"_s);
    hint(FileExit, u"Quitter|Ferme le programme"_s);
    specialMenu->setToolTipsVisible(true);

    fileMenu->addAction(aNew);
    fileMenu->addAction(FileOpen);
    fileMenu->addAction(FileSaveAs);
    fileMenu->addAction(aSave);
    fileMenu->addMenu(recentMenu);
    fileMenu->addAction(aRestore);
    fileMenu->addAction(aCopyTo);
    fileMenu->addSeparator();
    fileMenu->addAction(aExpArt);
    fileMenu->addAction(aExpSales);
    fileMenu->addAction(aImpArt);
    fileMenu->addSeparator();
    fileMenu->addAction(FileExit);
    specialMenu->addAction(aClearAll);
    specialMenu->addAction(aSetPeriods);
    // No effect: kept in the window's actions, not offered.
    addAction(aEmptyDB);
    // The sold quantities against the sheets, as "tlvdb check" lists them.
    QAction* aCheckDb = makeAction(this, "aCheckDb", u"Vérifier la base..."_s);
    specialMenu->addAction(aCheckDb);
    connect(aCheckDb, &QAction::triggered, this, [this] {
        guarded([this] {
            storeShown();
            const QStringList twice = duplicateArtNoLines(st.artList, true);
            prompt().information(soldCheckMessage(checkSold(st.artList, st.saleList))
                                 + (twice.isEmpty() ? QString() : u"\n\n"_s + twice.join(u'\n')) + leftoversNote(unprovenLeftovers(st.curFilePath) + unprovenLeftovers(st.iniPath)));
        });
    });
    addStockActions(*this, specialMenu);
    specialMenu->addSeparator();
    specialMenu->addAction(aPrefs);
    helpMenu->addAction(aHelp);
    helpMenu->addAction(aVersion);
    // Kept in the window's action list without a menu entry.
    addAction(aSetAdmin);
    addAction(aExpAll);

    connect(aNew, &QAction::triggered, this, [this] { m_db->newDb(); });
    connect(FileOpen, &QAction::triggered, this, [this] { m_db->fileOpen(); });
    connect(FileSaveAs, &QAction::triggered, this, [this] { m_db->fileSaveAs(); });
    connect(aSave, &QAction::triggered, this, [this] { m_db->save(); });
    connect(aRestore, &QAction::triggered, this, [this] { m_db->restoreBackup(); });
    connect(aCopyTo, &QAction::triggered, this, [this] { m_db->copyDatabase(); });
    connect(aImpArt, &QAction::triggered, this, [this] { m_db->impArt(); });
    connect(aExpArt, &QAction::triggered, this, [this] { m_db->expArt(); });
    connect(aExpAll, &QAction::triggered, this, [this] { m_db->expArt(); });
    connect(FileExit, &QAction::triggered, this, &QWidget::close);
    connect(aClearAll, &QAction::triggered, this, [this] { m_db->clearAllAsked(); });
    connect(aSetPeriods, &QAction::triggered, this,
            [this] { guarded([this] { saleForm->editPeriods(); }); });
    connect(aPrefs, &QAction::triggered, this, [this] { doPrefs(); });
    connect(aHelp, &QAction::triggered, this, [this] {
        THelpWindow help(this);
        m_runModal(help);
    });
    connect(aVersion, &QAction::triggered, this, [this] { doVersion(false); });
    connect(aSetAdmin, &QAction::triggered, this, [this] { st.adminMode = !st.adminMode; });
}

// --- events -----------------------------------------------------------------

bool TmainForm::guarded(const std::function<void()>& action)
{
    const struct Mark {
        TmainForm* w;
        ~Mark() { w->showModifiedMark(); }
    } mark{this};
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
            hideGoneArtisans(nListCB);
            nListCB->show();
            nListCB->raise();
        } else if (watched == Label1) {
            nListCB->hide();
        } else if (watched == artInfoLab) {
            ArtListCB->setCurrentText(artInfoLab->text());
            hideGoneArtisans(ArtListCB);
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

void TmainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // A window manager (or none) may force the window below its size, where
    // the navigation and page buttons fall off: it comes back to that size.
    const QSize least = minimumSize();
    if (m_firstShown && (event->size().width() < least.width() || event->size().height() < least.height()))
        QTimer::singleShot(0, this, [this] {
            if (windowHandle() && (width() < minimumWidth() || height() < minimumHeight()))
                windowHandle()->resize(size().expandedTo(minimumSize()));
        });
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
    // A kept position off every screen would lose the window, and be kept again.
    const QPoint at = placeOnScreens({st.wLeft, st.wTop}, {830, 655});
    st.wLeft = at.x();
    st.wTop = at.y();
    move(at);
    updateCaption();
    // The pickers' left edges follow their labels.
    nListCB->move(artNoLab->x(), nListCB->y());
    ArtListCB->move(artInfoLab->x(), ArtListCB->y());

    m_db->autoload();
    mainReady = true;
    refreshStatus(0);
    // Once the window is on screen, not over an empty one.
    QTimer::singleShot(0, this, [this] { m_db->remindCopy(); });
    // Typing after the opening screen goes into the artisan's name, never
    // into a button a stray Space or Return would press.
    artForm->focusEntry();
}

void TmainForm::closeEvent(QCloseEvent* event)
{
    if (!m_shutDown) {
        if (!m_db->confirmDiscard()) {
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
    m_db->keepAutoloadSetting();
    guarded([this] { writeSettings(st.iniPath, st); });
}
