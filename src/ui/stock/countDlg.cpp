#include "ui/stock/countDlg.h"

#include "boutique/appState.h"
#include "boutique/boutique.h"
#include "core/prompt.h"
#include "model/productSearch.h"
#include "model/stockCount.h"
#include "ui/widgets/named.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kChoices = 12;

QTableWidgetItem* cellOf(const QString& text, bool right = false)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (right)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TCountDlg::TCountDlg(Boutique& boutique, Prompt& pr, QWidget* parent)
    : QDialog(parent), doc(boutique), st(boutique.state()), prompt(pr)
{
    setObjectName(u"countDlg"_s);
    const StockCount& c = count();
    const int artisan = st.artList.indexOfArtNo(c.artNo);
    setWindowTitle(u"Comptage du stock de %1, commencé le %2"_s.arg(
        c.artNo.isEmpty() ? u"la boutique"_s : artisan >= 0 ? st.artList.displayName(artisan) : c.artNo, c.started));
    resize(720, 520);
    keyEd = named<QLineEdit>("keyEd", this);
    keyEd->setPlaceholderText(u"Scannez ou tapez la clé d'un produit, puis Entrée"_s);
    sayLab = named<QLabel>("sayLab", this);
    sayLab->setWordWrap(true);
    QFont big = sayLab->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    sayLab->setFont(big);
    chooseList = named<QListWidget>("chooseList", this);
    chooseList->setMaximumHeight(110);
    chooseList->hide();
    countGrid = named<QTableWidget>("countGrid", 0, 4, this);
    countGrid->setHorizontalHeaderLabels({u"Produit"_s, u"Description"_s, u"Compté"_s, u"Attendu"_s});
    countGrid->verticalHeader()->hide();
    countGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    countGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    countGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    totalLab = named<QLabel>("totalLab", this);
    takeOffBtn = named<QPushButton>("takeOffBtn", u"Retirer un"_s, this);
    takeOffBtn->setToolTip(u"Un scan de trop : retire une unité du produit choisi"_s);
    setCountBtn = named<QPushButton>("setCountBtn", u"Corriger le compte..."_s, this);
    pauseBtn = named<QPushButton>("pauseBtn", u"Interrompre"_s, this);
    pauseBtn->setToolTip(u"Garde le comptage pour le reprendre plus tard (il est enregistré avec la base)"_s);
    closeBtn = named<QPushButton>("closeBtn", u"Clore le comptage..."_s, this);
    closeBtn->setToolTip(u"Montre les écarts avec les livres"_s);
    abandonBtn = named<QPushButton>("abandonBtn", u"Abandonner le comptage"_s, this);
    for (QPushButton* b : {takeOffBtn, setCountBtn, pauseBtn, closeBtn, abandonBtn})
        b->setAutoDefault(false);

    auto* lineBtns = new QHBoxLayout;
    lineBtns->addWidget(takeOffBtn);
    lineBtns->addWidget(setCountBtn);
    lineBtns->addStretch();
    lineBtns->addWidget(totalLab);
    auto* endBtns = new QHBoxLayout;
    endBtns->addWidget(abandonBtn);
    endBtns->addStretch();
    endBtns->addWidget(pauseBtn);
    endBtns->addWidget(closeBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(keyEd);
    layout->addWidget(sayLab);
    layout->addWidget(chooseList);
    layout->addWidget(countGrid, 1);
    layout->addLayout(lineBtns);
    layout->addLayout(endBtns);

    connect(keyEd, &QLineEdit::returnPressed, this, [this] { scan(keyEd->text()); });
    connect(chooseList, &QListWidget::itemActivated, this, [this] {
        const int row = chooseList->currentRow();
        if (row < 0 || row >= m_choices.size())
            return;
        counted(doc.countChosen(m_choices.at(row).first, m_choices.at(row).second));
        chooseList->hide();
        keyEd->setFocus();
    });
    connect(takeOffBtn, &QPushButton::clicked, this, [this] { takeOff(); });
    connect(setCountBtn, &QPushButton::clicked, this, [this] { setCount(); });
    connect(pauseBtn, &QPushButton::clicked, this, [this] { done(Paused); });
    connect(closeBtn, &QPushButton::clicked, this, [this] { done(Closing); });
    connect(abandonBtn, &QPushButton::clicked, this, [this] {
        if (prompt.question(u"Abandonner ce comptage ? Ce qui a été compté est oublié ; les livres restent tels "
                            "quels."_s) == Prompt::Answer::Yes)
            done(Abandoned);
    });
    fillGrid();
    say(c.lines.isEmpty() ? u"Prêt : scannez le premier produit."_s
                          : u"Comptage repris : %1 produit(s) déjà comptés."_s.arg(c.lines.size()),
        false);
    keyEd->setFocus();
}

const StockCount& TCountDlg::count() const
{
    return *st.account.stock.open;
}

void TCountDlg::say(const QString& text, bool bad)
{
    sayLab->setText(text);
    sayLab->setStyleSheet(bad ? u"color: #b00000;"_s : u"color: #006000;"_s);
}

void TCountDlg::scan(const QString& key)
{
    const QString typed = key.trimmed();
    keyEd->clear();
    chooseList->hide();
    if (typed.isEmpty())
        return;
    const ScanResult r = doc.countScan(typed);
    switch (r.kind) {
    case ScanResult::Counted:
        counted(r.line);
        return;
    case ScanResult::OtherArtisan:
        say(u"« %1 » est un produit de %2 : ce comptage ne couvre pas cet artisan, non compté."_s.arg(
                typed, st.artList.displayName(r.artisan)),
            true);
        return;
    case ScanResult::Unknown:
        say(u"Clé inconnue : « %1 ». Rien n'est compté."_s.arg(typed), true);
        return;
    case ScanResult::Choose:
        break;
    }
    // Not a whole key: the products it may name, to pick from.
    m_choices.clear();
    chooseList->clear();
    for (const ProductHit& hit : findProducts(st.artList, typed, kChoices)) {
        const TArtisan& a = st.artList.at(hit.artisan);
        if (!count().covers(a.artNo))
            continue;
        const TProduit& p = *a.products.ptrAt(hit.product);
        m_choices.append({hit.artisan, hit.product});
        chooseList->addItem(a.artTag() + a.artNo + u'-' + p.prodNo + u"  "_s + p.descript);
    }
    if (m_choices.isEmpty()) {
        say(u"Clé inconnue : « %1 ». Rien n'est compté."_s.arg(typed), true);
        return;
    }
    chooseList->show();
    chooseList->setCurrentRow(0);
    say(u"« %1 » n'est pas une clé entière : choisissez le produit dans la liste (double-clic). Rien n'est compté."_s
            .arg(typed),
        true);
}

void TCountDlg::counted(int line)
{
    const CountLine& l = count().lines.at(line);
    if (line >= countGrid->rowCount())
        fillGrid();
    else
        showLine(line);
    countGrid->selectRow(line);
    say(u"%1  %2 : %3 compté(s), %4 attendu(s)"_s.arg(countGrid->item(line, 0)->text(),
                                                      countGrid->item(line, 1)->text().trimmed())
            .arg(l.counted)
            .arg(l.expected),
        false);
}

void TCountDlg::showLine(int row)
{
    const CountLine& l = count().lines.at(row);
    const int a = st.artList.indexOfArtNo(l.artNo);
    QString key = l.artNo + u'-' + l.prodNo;
    QString descript;
    if (a >= 0) {
        key = st.artList.at(a).artTag() + key;
        for (const TProdList::Ptr& p : st.artList.at(a).products.items())
            if (p->prodNo == l.prodNo)
                descript = p->descript;
    }
    countGrid->setItem(row, 0, cellOf(key));
    countGrid->setItem(row, 1, cellOf(descript));
    countGrid->setItem(row, 2, cellOf(QString::number(l.counted), true));
    countGrid->setItem(row, 3, cellOf(QString::number(l.expected), true));
    int units = 0;
    for (const CountLine& c : count().lines)
        units += c.counted;
    totalLab->setText(u"%1 produit(s), %2 unité(s) comptées"_s.arg(count().lines.size()).arg(units));
}

void TCountDlg::fillGrid()
{
    countGrid->setRowCount(int(count().lines.size()));
    for (int r = 0; r < countGrid->rowCount(); ++r)
        showLine(r);
    if (countGrid->rowCount() == 0)
        totalLab->setText(u"Rien de compté"_s);
}

void TCountDlg::takeOff()
{
    const int row = countGrid->currentRow();
    if (row < 0 || row >= count().lines.size() || count().lines.at(row).counted == 0)
        return;
    doc.setCounted(row, count().lines.at(row).counted - 1);
    showLine(row);
    say(u"Une unité retirée de %1."_s.arg(countGrid->item(row, 0)->text()), false);
}

void TCountDlg::setCount()
{
    const int row = countGrid->currentRow();
    if (row < 0 || row >= count().lines.size())
        return;
    QString value = QString::number(count().lines.at(row).counted);
    if (!prompt.inputText(u"Corriger le compte"_s, u"Unités comptées sur les rayons :"_s, value))
        return;
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    if (!ok || n < 0 || n > 99999) {
        prompt.error(u"« %1 » n'est pas un nombre d'unités (0 à 99999)."_s.arg(value));
        return;
    }
    doc.setCounted(row, n);
    showLine(row);
}
