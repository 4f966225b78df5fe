#include "ui/reports/pubOptions.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "export/artListXML.h"
#include "export/reportDocs.h"
#include "report/publish.h"
#include "report/shipped.h"
#include "report/statement.h"
#include "report/xslTransform.h"
#include "ui/widgets/controls.h"
#include "ui/shell/main.h"
#include "ui/widgets/named.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const char* const CHOICES[] = {"Menu", "Feuille des ventes", "Feuille de consignation",
                               "Rapport d'inventaire", "Ouverture du fureteur",
                               "Publier les coordonnées des artisans"};

} // namespace

TpubDlgForm::TpubDlgForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"pubDlgForm"_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Panel1 = named<QFrame>("Panel1", this);
    Panel1->setFrameShape(QFrame::StyledPanel);
    infoLab = named<QLabel>("infoLab", u"Choisissez les opérations à effectuer:"_s, Panel1);
    auto* choices = new QVBoxLayout(Panel1);
    choices->addWidget(infoLab);
    for (int n = 0; n < checkCount; ++n) {
        checks[size_t(n)] = new QCheckBox(QString::fromUtf8(CHOICES[n]), Panel1);
        checks[size_t(n)]->setObjectName(u"CheckBox"_s + QString::number(n + 1));
        choices->addWidget(checks[size_t(n)]);
    }
    periodPanel = named<QFrame>("periodPanel", this);
    Label1 = named<QLabel>("Label1", u"Période:"_s, periodPanel);
    RepCB = named<QComboBox>("RepCB", periodPanel);
    auto* period = new QHBoxLayout(periodPanel);
    period->addWidget(Label1);
    period->addWidget(RepCB, 1);
    infoLab1 = named<QLabel>("infoLab1", this);
    OKBtn = named<QPushButton>("OKBtn", u"Fermer"_s, this);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(periodPanel);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(infoLab1);
    bottom->addStretch();
    bottom->addWidget(OKBtn);
    layout->addLayout(bottom);
    keyboardDialog(this, OKBtn, bottom, checks[0]);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TpubDlgForm::setPrefs(const QString& prefs, const QStringList& titles, int curCIndex)
{
    // Older settings have five choices: the ones missing stay off.
    for (int n = 0; n < checkCount; ++n)
        checks[size_t(n)]->setChecked(n < prefs.size() && prefs.at(n) == u'1');
    RepCB->clear();
    RepCB->addItems(titles);
    RepCB->setCurrentIndex(curCIndex >= 0 && curCIndex < titles.size() ? curCIndex : -1);
}

QString TpubDlgForm::getPrefs() const
{
    QString prefs;
    for (const QCheckBox* c : checks)
        prefs += c->isChecked() ? u'1' : u'0';
    return prefs;
}

TPublisher::TPublisher(TmainForm& mainForm) : QObject(&mainForm), main(mainForm)
{
    setObjectName(u"publisher"_s);
    openPage = [this](const QString& path) { main.showWritten(path, true); };
    main.aExpSales->setText(u"Exporter les ventes"_s);
    main.aExpSales->setEnabled(true);
    connect(main.pmPubPrefs, &QAction::triggered, this, [this] { main.guarded([this] { pubOptions(); }); });
    connect(main.WebPageBtn, &QToolButton::clicked, this, [this] { main.guarded([this] { webPage(); }); });
    connect(main.aExpSales, &QAction::triggered, this, [this] { main.guarded([this] { exportSales(); }); });
}

void TPublisher::pubOptions()
{
    AppState& st = main.state();
    st.curCIndex = st.repList.curPeriod;
    if (st.curCIndex >= 0 && st.curCIndex < st.repList.titles.size())
        st.curRepName = st.repList.titles.at(st.curCIndex);
    TpubDlgForm dlg(&main);
    dlg.setWindowTitle(u"Publication XML des données"_s);
    dlg.periodPanel->setVisible(!st.curRepName.isEmpty());
    dlg.setPrefs(st.pubPrefs, st.repList.titles, st.curCIndex);
    if (main.runModal(dlg) != QDialog::Accepted)
        return;
    // The period chosen is the one the pages are published for.
    const int chosen = dlg.RepCB->currentIndex();
    if (dlg.periodPanel->isVisibleTo(&dlg) && chosen >= 0 && chosen < st.repList.titles.size()) {
        st.curCIndex = chosen;
        st.curRepName = st.repList.titles.at(chosen);
    }
    setReportPeriod(st, st.curRepName);
    st.pubPrefs = dlg.getPrefs();
}

void TPublisher::webPage()
{
    AppState& st = main.state();
    WaitCursor wait;
    const int p = st.curCIndex >= 0 ? st.curCIndex : st.repList.curPeriod;
    main.installShipped();
    publish::publishPages(st, st.pubPrefs, p);
    const QString start = st.dataDir + u"index.htm"_s;
    if (publish::chosen(st.pubPrefs, 5) && QFileInfo::exists(start))
        openPage(start);
    else
        main.showWritten(st.dataDir + u"artList.xml"_s);
}

void TPublisher::exportSales()
{
    AppState& st = main.state();
    WaitCursor wait;
    ::exportSales(st);
    main.installShipped();
    QStringList names;
    for (const QString& root : {u"allSales"_s, u"periodSales"_s, u"shortSalesRep"_s}) {
        const QString page = xslt::transformFile(st.dataDir + root + u".xml"_s, xslt::trustedStyleDirs(st), {}, outputOptions(st),
                                                 {shopHtml(statementHeader(st, -1)), {}});
        names << root + u".xml"_s << QFileInfo(page).fileName();
    }
    const QString folder = QDir::toNativeSeparators(QFileInfo(st.dataDir + u"allSales.xml"_s).absolutePath());
    main.setStatusText(0, u"Ventes exportées"_s);
    main.setStatusText(1, u"Dossier : "_s + folder);
    main.prompt().information(u"Les ventes ont été exportées dans le dossier "_s + folder + u" :\n"_s
                              + names.join(u", "_s) + u"."_s);
}
