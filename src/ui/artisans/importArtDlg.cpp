#include "ui/artisans/importArtDlg.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "export/tilvarDB.h"
#include "export/artListXML.h"
#include "model/uArt.h"
#include "ui/shell/dbCommands.h"
#include "ui/shell/main.h"
#include "ui/widgets/named.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QString importFilePath(const AppState& st)
{
    return importFilePath(st, st.importFName);
}

QString importFilePath(const AppState& st, const QString& name)
{
    return QFileInfo(name).isAbsolute() ? name : st.dataDir + name;
}

TImpArtDlg::TImpArtDlg(AppState& state, TmainForm& mainForm, QWidget* parent)
    : QDialog(parent), st(state), main(mainForm)
{
    setObjectName(u"ImpArtDlg"_s);

    // Each button says what it does: this one imports, Annuler (or Escape)
    // imports nothing.
    OKBtn = named<QPushButton>("OKBtn", u"Importer"_s, this);
    OKBtn->setDefault(true);
    OKBtn->setEnabled(false);
    cancelBtn = named<QPushButton>("cancelBtn", u"Annuler"_s, this);
    exportBtn = named<QPushButton>("exportBtn", u"Exporter la liste..."_s, this);
    exportBtn->setToolTip(u"Enregistre la liste affichée dans ImportTest.xml du dossier des données."_s);
    okMenu = new QMenu(OKBtn);
    mXPortFile = named<QAction>("mXPortFile", u"Exporter vers un fichier..."_s, okMenu);
    okMenu->addAction(mXPortFile);
    OKBtn->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(OKBtn, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { okMenu->popup(OKBtn->mapToGlobal(p)); });
    Label2 = named<QLabel>("Label2", u"N° artisan"_s, this);
    itemNoLab = named<QLabel>("itemNoLab", this);
    descriptLab = named<QLabel>("descriptLab", this);
    infoLab = named<QLabel>("infoLab", this);
    indLab = named<QLabel>("indLab", this);
    artListBox = named<QListWidget>("artListBox", this);
    prodListBox = named<QListWidget>("prodListBox", this);
    prodListBox->hide();
    BtnChangeFile = named<QPushButton>("BtnChangeFile", u"Changer de fichier..."_s, this);

    auto* info = new QGridLayout;
    info->addWidget(Label2, 0, 0);
    info->addWidget(itemNoLab, 0, 1);
    info->addWidget(indLab, 0, 2);
    info->addWidget(descriptLab, 1, 0, 1, 3);
    info->addWidget(infoLab, 2, 0, 1, 3);
    auto* lists = new QHBoxLayout;
    lists->addWidget(artListBox, 1);
    lists->addWidget(prodListBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnChangeFile);
    buttons->addWidget(exportBtn);
    buttons->addStretch();
    buttons->addWidget(cancelBtn);
    buttons->addWidget(OKBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(info);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(420, 360);

    // Return imports the chosen artisan whichever button has the focus last.
    for (QPushButton* b : {BtnChangeFile, exportBtn, cancelBtn})
        b->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(exportBtn, &QPushButton::clicked, mXPortFile, &QAction::trigger);
    connect(artListBox, &QListWidget::currentRowChanged, this, &TImpArtDlg::chooseRow);
    connect(artListBox, &QListWidget::itemDoubleClicked, this, [this] {
        if (chosenIndex >= 0)
            accept();
    });
    connect(BtnChangeFile, &QPushButton::clicked, this, [this] { main.guarded([this] { changeFile(); }); });
    connect(mXPortFile, &QAction::triggered, this, [this] { main.guarded([this] { exportList(); }); });

    // Creation.
    importName = QFileInfo(st.importFName).fileName();
    setWindowTitle(u"Importer un artisan depuis la liste "_s + importName);
    itemNoLab->clear();
    descriptLab->setText(u"Choisir parmi les noms de la liste. "_s);
    chosenIndex = -1;
}

void TImpArtDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        main.guarded([this] {
            readList();
            fillList();
        });
        artListBox->setFocus();
    }
}

void TImpArtDlg::readList()
{
    if (!st.impArtList.isEmpty())
        return;
    const QString path = importFilePath(st);
    if (QFileInfo(path).isFile()) {
        if (readArtListFile(st.impArtList, path)) {
            main.setStatusText(2, u"Liste lue dans "_s + QFileInfo(st.importFName).fileName());
            setWindowTitle(u"Liste courante de : "_s + QFileInfo(path).fileName());
        }
    } else {
        main.prompt().information(st.importFName + u" was not found"_s);
    }
}

void TImpArtDlg::fillList()
{
    artListBox->clear();
    if (st.impArtList.isEmpty()) {
        main.prompt().information(u"Impossible de recréer la liste : "_s
                                  + countOf(st.impArtList.count(), u"artisan lu"_s, u"artisans lus"_s)
                                  + u" dans le fichier « "_s + QFileInfo(st.importFName).fileName()
                                  + u" ». Choisissez un autre fichier avec Fichier > Importer."_s);
        return;
    }
    // Each line remembers its artisan, so that the choice does not depend on
    // reading the number back out of the text.
    const QStringList names = st.impArtList.fillItems(0);
    QList<int> order;
    for (int i = 0; i < names.count(); ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(),
                     [&names](int a, int b) { return compareText(names[a], names[b]) < 0; });
    for (int i : order) {
        auto* item = new QListWidgetItem(names[i], artListBox);
        item->setData(Qt::UserRole, i);
    }
}

void TImpArtDlg::chooseRow(int row)
{
    QListWidgetItem* item = artListBox->item(row);
    if (!item)
        return;
    const QString line = item->text();
    const int open = line.indexOf(QLatin1Char('('));
    const QString name = open < 0 ? line : line.left(open);
    chosenNo = open < 0 ? QString() : line.mid(open + 1, line.size() - open - 2);
    itemNoLab->setText(chosenNo);
    chosenIndex = item->data(Qt::UserRole).toInt();
    OKBtn->setEnabled(true);
    indLab->setText(QString::number(chosenIndex));
    descriptLab->setText(name);
    if (prodListBox->isVisible()) {
        prodListBox->clear();
        const TProdList& prods = st.impArtList.productsOf(chosenIndex);
        for (int i = 0; i < prods.count(); ++i)
            prodListBox->addItem(prods.at(i).prodNo + u" "_s + prods.at(i).descript);
    }
}

void TImpArtDlg::changeFile()
{
    const QString path =
        main.prompt().openFileName(u"Ouvrir"_s, st.dataDir, u"Fichiers XML (*.xml)"_s);
    if (path.isEmpty())
        return;
    const QString name = main.db().adoptFile(path);
    if (name.isEmpty())
        return;
    st.importFName = name;
    // The list now comes from the file just chosen.
    st.impArtList.clear();
    chosenIndex = -1;
    OKBtn->setEnabled(false);
    chosenNo.clear();
    itemNoLab->clear();
    indLab->clear();
    // Nothing of the previous file's artisans stays on show.
    descriptLab->setText(u"Choisir parmi les noms de la liste. "_s);
    prodListBox->clear();
    importName = QFileInfo(path).fileName();
    setWindowTitle(u"Importer un artisan depuis la liste "_s + importName);
    readList();
    fillList();
}

void TImpArtDlg::exportList()
{
    main.showWritten(TtilvarDB::writeArtListFile(st.impArtList, st.dataDir, u"ImportTest.xml"_s, outputOptions(st)));
}
