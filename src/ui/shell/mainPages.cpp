#include "ui/shell/main.h"

#include "boutique/artisanState.h"
#include "core/appError.h"
#include "core/textUtil.h"
#include "core/prompt.h"
#include "model/artNumbers.h"
#include "model/uArt.h"
#include "ui/artisans/artFrm.h"
#include "ui/products/prodFrm.h"
#include "ui/sales/saleFrm.h"
#include "ui/widgets/named.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

using namespace Qt::StringLiterals;

// Pages, the hosted windows, artisan navigation and the status bar.

namespace {
const QColor kTitleColors[2] = {QColor(0, 0x7F, 0), QColor(0xEC, 0x3C, 0)};
const QString kTitles[2] = {u"Artisans"_s, u"Ventes"_s};
const QString kDetail = u"détail"_s;

bool isBlank(const TArtisan& a)
{
    for (const QString* f : {&a.nom, &a.prenom, &a.adresse, &a.ville, &a.CP, &a.tel, &a.courriel,
                             &a.varData, &a.comment})
        if (!f->isEmpty())
            return false;
    return a.products.isEmpty();
}

bool shownIn(const QWidget* panel, const QWidget* host)
{
    return panel->parentWidget() == host && !panel->isHidden();
}
} // namespace

// --- hosted windows -----------------------------------------------------------

void TmainForm::hostPanel(QWidget* panel)
{
    if (panel->parentWidget() != mainPanel)
        m_panelOwner[panel] = panel->parentWidget();
    mainPanel->layout()->addWidget(panel);
}

void TmainForm::hostWindow(QWidget* window, std::vector<QWidget*> panels)
{
    // A working window takes part once it implements the hosted interface.
    // Every panel goes back to its window when unhosted, even one the window
    // swaps into the main panel by itself.
    for (QWidget* panel : panels)
        m_panelOwner[panel] = window;
    if (auto* hosted = dynamic_cast<THostedWindow*>(window))
        m_hosted.push_back({hosted, std::move(panels)});
}

bool TmainForm::isHosted(const QWidget* window) const
{
    return std::any_of(m_hosted.begin(), m_hosted.end(), [window](const Hosted& h) {
        return dynamic_cast<const QWidget*>(h.window) == window;
    });
}

bool TmainForm::isShown(const Hosted& h) const
{
    const QWidget* standIn = h.window->standIn();
    return (standIn && shownIn(standIn, mainPanel))
           || std::any_of(h.panels.begin(), h.panels.end(), [this](QWidget* p) { return shownIn(p, mainPanel); });
}

void TmainForm::storeShown()
{
    for (const Hosted& h : m_hosted)
        if (isShown(h))
            h.window->storeShown();
}

bool TmainForm::shownModified() const
{
    return std::any_of(m_hosted.begin(), m_hosted.end(), [](const Hosted& h) { return h.window->isModified(); });
}

void TmainForm::leaveShownBut(const QWidget* nextPanel)
{
    for (const Hosted& h : m_hosted) {
        const bool shown = isShown(h);
        const bool stays = std::find(h.panels.begin(), h.panels.end(), nextPanel) != h.panels.end();
        if (shown && !stays)
            h.window->leave();
    }
}

// --- pages ------------------------------------------------------------------

void TmainForm::showPage(int side)
{
    if (side == curPage)
        return;
    // The side left stores what it shows first; refused, nothing moves.
    if (curPage >= 0)
        leaveShownBut(side == 0 ? hostPanels[size_t(artSubPage)] : saleForm->formPanel);
    curPage = side;
    updateHeader();

    QLayout* host = mainPanel->layout();
    const QList<QWidget*> hosted = mainPanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : hosted) {
        host->removeWidget(w);
        w->hide();
        // Every panel goes back to the window it came from.
        const auto owner = m_panelOwner.find(w);
        if (owner != m_panelOwner.end())
            w->setParent(owner->second);
    }
    if (side == 0) {
        pageBtn->setIcon(imgVBtn->pixmap());
        for (QWidget* panel : hostPanels)
            hostPanel(panel);
        showArtSubPage(artSubPage);
    } else {
        pageBtn->setIcon(imgArtBtn->pixmap());
        hostPanel(saleForm->formPanel);
        saleForm->formPanel->show();
        saleForm->showCurrent();
    }
    refreshStatus(0);
}

void TmainForm::hideGoneArtisans(QComboBox* chooser) const
{
    // Rows are hidden, not removed: a row stays the artisan of that index.
    auto* view = qobject_cast<QListView*>(chooser->view());
    if (!view)
        return;
    for (int i = 0; i < chooser->count() && i < st.artList.count(); ++i)
        view->setRowHidden(i, i != st.curArtInd && st.account.gone.contains(std::as_const(st.artList).at(i).artNo));
}

void TmainForm::showHint(const QString& text)
{
    infoLab->setText(text);
}

void TmainForm::setPageBtnShown(bool shown)
{
    pageBtn->setVisible(shown);
}

void TmainForm::setPageBtnEnabled(bool enabled)
{
    pageBtn->setEnabled(enabled);
}

void TmainForm::setAddRecShown(bool shown)
{
    addRecBtn->setVisible(shown);
}

void TmainForm::fillChoosers()
{
    // Filled again (a save, a rename, a page turned) while one may be open:
    // each keeps naming the artisan shown.
    const QSignalBlocker numbers(nListCB), names(ArtListCB);
    nListCB->clear();
    nListCB->addItems(st.numItems);
    ArtListCB->clear();
    ArtListCB->addItems(st.nameItems);
    for (QComboBox* chooser : {nListCB, ArtListCB}) {
        chooser->setCurrentIndex(st.curArtInd < chooser->count() ? st.curArtInd : -1);
        hideGoneArtisans(chooser);
    }
}

void TmainForm::updateHeader()
{
    const int side = curPage == 1 ? 1 : 0;
    TitleLab->setText(kTitles[side]);
    TitleLab->setStyleSheet(u"color: %1;"_s.arg(kTitleColors[side].name()));
    subTLabel->setText(kDetail);
    updatePageBtn();
    emit pageShown();

    saleForm->sTopPan->hide();
    fillChoosers();
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
        saleForm->showAgent(st.lastSAgent);
        // An artisan added from here would not be seen: "+" beside the save
        // button would read as a new sheet.
        addRecBtn->hide();
    } else if (saleForm->sTopPan->parent() != saleForm) {
        saleForm->sTopPan->setParent(saleForm);
    }
}

void TmainForm::showArtSubPage(int index)
{
    if (curPage == 0)
        leaveShownBut(hostPanels[size_t(index)]);
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
    const int side = pageBtnSide == 0 && st.totProdCount > 0 ? 1 : 0;
    showPage(side);
    pageBtnSide = side;
}

// --- artisan navigation -----------------------------------------------------

bool TmainForm::moveToArtisan(int index)
{
    return guarded([this, index] {
        storeShown();
        st.curArtInd = index;
        showCurrentArtisan();
    });
}

void TmainForm::showCurrentArtisan()
{
    st.curProdInd = -1;
    st.curItem.clear();
    artForm->showArtisan(st.curArtInd);
    if (artSubPage == 1)
        prodForm->showFormPage();
    nListCB->hide();
    refreshStatus(0);
}

void TmainForm::addRecBtnClick()
{
    if (artForm->artListMode)
        artForm->toggleViewMode();
    storeShown();
    // An empty artisan waiting at the end is the one to fill: no second.
    const int last = st.artList.count() - 1;
    if (last >= 0 && isBlank(st.artList.at(last))) {
        st.curArtInd = last;
        showCurrentArtisan();
        artForm->focusEntry(true);
        return;
    }
    // One above every number in use: the list's, and the sheets' lines'.
    const QString number = nextArtisanNumber(st.artList, st.saleList);
    if (number.isEmpty()) {
        prompt().error(ART_NO_FULL_MSG);
        return;
    }
    st.curArtNo = number;
    st.curArtInd += 1;
    artForm->addArtisan(st.curArtNo);
    refreshStatus(0);
    artForm->focusEntry(true);
}

// --- status bar ---------------------------------------------------------------

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
    modifiedLab = named<QLabel>("modifiedLab", StatusBar);
    modifiedLab->setStyleSheet(u"color: #A00000; font-weight: bold"_s);
    StatusBar->addPermanentWidget(modifiedLab);
    StatusBar->installEventFilter(this);
    // The boutique says when it is modified or saved; what is typed and not
    // stored yet shows after each handled event and a few times a second.
    connect(&m_doc, &Boutique::modifiedChanged, this, &TmainForm::showModifiedMark);
    auto* markTimer = new QTimer(this);
    markTimer->setInterval(400);
    connect(markTimer, &QTimer::timeout, this, &TmainForm::showModifiedMark);
    markTimer->start();
}

void TmainForm::setStatusText(int panel, const QString& text)
{
    StatusBar->clearMessage(); // a file's path shown over the panels gives way
    statusPanels[size_t(panel)]->setText(text);
    statusPanels[size_t(panel)]->setToolTip(QString());
}

QString TmainForm::statusText(int panel) const
{
    return statusPanels[size_t(panel)]->text();
}

void TmainForm::refreshStatus(int mode)
{
    // Said in words for the boutique; the modes show more or less of it.
    const qsizetype count = st.artList.count();
    const QString fileName = QFileInfo(st.artFileName).fileName();
    const QString base = fileName.isEmpty() ? u"Base non enregistrée"_s : u"Base : "_s + fileName;
    const QString which = count > 0 && st.curArtInd >= 0
                              ? u"Artisan %1 sur %2"_s.arg(st.curArtInd + 1).arg(count)
                              : QString();
    const QString artisans = count == 0 ? u"Aucun artisan"_s : countOf(count, u"artisan"_s, u"artisans"_s);
    const QString importName = QFileInfo(st.importFName).fileName();
    const QString imported = importName.isEmpty() ? QString() : u"Importation : "_s + importName;
    QString p[4];
    switch (mode) {
    case 0:
        p[0] = base;
        p[1] = u"Artisan n° "_s + st.curArtNo;
        p[2] = which;
        p[3] = artisans;
        break;
    case 1:
        p[0] = base;
        p[1] = which;
        p[2] = artisans;
        p[3] = imported;
        break;
    case 2:
        p[0] = which;
        p[2] = imported;
        break;
    default: {
        const int products = st.artList.totalProducts();
        p[0] = u"Artisan n° "_s + st.curArtNo;
        p[1] = st.curItem.isEmpty() ? QString() : u"Produit n° "_s + st.curItem;
        p[2] = which;
        p[3] = countOf(products, u"produit"_s, u"produits"_s) + u" en tout"_s;
        break;
    }
    }
    for (int i = 0; i < 4; ++i)
        setStatusText(i, p[i]);
    updateCaption();
}
