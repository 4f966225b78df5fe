#include "ui/shell/main.h"

#include "core/appError.h"
#include "model/uArt.h"
#include "ui/artisans/artFrm.h"
#include "ui/products/prodFrm.h"
#include "ui/sales/saleFrm.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
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

void TmainForm::storeShown()
{
    for (const Hosted& h : m_hosted)
        if (std::any_of(h.panels.begin(), h.panels.end(), [this](QWidget* p) { return shownIn(p, mainPanel); }))
            h.window->storeShown();
}

bool TmainForm::shownModified() const
{
    return std::any_of(m_hosted.begin(), m_hosted.end(), [](const Hosted& h) { return h.window->isModified(); });
}

void TmainForm::leaveShownBut(const QWidget* nextPanel)
{
    for (const Hosted& h : m_hosted) {
        const bool shown = std::any_of(h.panels.begin(), h.panels.end(),
                                       [this](QWidget* p) { return shownIn(p, mainPanel); });
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
    storeShown();
    // An empty artisan waiting at the end is the one to fill: no second.
    const int last = st.artList.count() - 1;
    if (last >= 0 && isBlank(st.artList.at(last))) {
        st.curArtInd = last;
        showCurrentArtisan();
        artForm->btnImpArtItem->setEnabled(true);
        artForm->nameEd->setFocus();
        return;
    }
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

