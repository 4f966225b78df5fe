#include "ui/stock/unsoldDlg.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "ui/widgets/named.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TUnsoldDlg::TUnsoldDlg(const AppState& state, const QDate& today, QWidget* parent)
    : QDialog(parent), st(state), m_today(today)
{
    setObjectName(u"unsoldDlg"_s);
    setWindowTitle(u"Invendus"_s);
    resize(900, 520);
    monthsSpin = named<QSpinBox>("monthsSpin", this);
    monthsSpin->setRange(1, 120);
    monthsSpin->setValue(6);
    monthsSpin->setSuffix(u" mois"_s);
    scopeCB = named<QComboBox>("scopeCB", this);
    scopeCB->addItem(u"Toute la boutique"_s);
    for (int a = 0; a < st.artList.count(); ++a)
        scopeCB->addItem(st.artList.displayName(a), st.artList.at(a).artNo);
    if (st.curArtInd >= 0 && st.curArtInd < st.artList.count())
        scopeCB->setCurrentIndex(st.curArtInd + 1);
    infoLab = named<QLabel>("infoLab", this);
    unsoldGrid = named<QTableWidget>("unsoldGrid", 0, 8, this);
    unsoldGrid->setHorizontalHeaderLabels({u"Artisan"_s, u"Produit"_s, u"Description"_s, u"Reçu le"_s,
                                           u"Arrivés avant"_s, u"En stock"_s, u"Au prix"_s, u"À la valeur"_s});
    unsoldGrid->verticalHeader()->hide();
    unsoldGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    unsoldGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    unsoldGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    unsoldGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    returnBtn = named<QPushButton>("returnBtn", u"Rendre à l'artisan..."_s, this);
    returnBtn->setToolTip(u"Les produits de l'artisan de la ligne choisie, cochés, à lui rendre"_s);
    auto* closeBtn = named<QPushButton>("closeBtn", u"Fermer"_s, this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Reçus il y a plus de"_s, this));
    top->addWidget(monthsSpin);
    top->addWidget(scopeCB, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(infoLab, 1);
    row->addWidget(returnBtn);
    row->addWidget(closeBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(unsoldGrid, 1);
    layout->addLayout(row);
    connect(monthsSpin, &QSpinBox::valueChanged, this, &TUnsoldDlg::refill);
    connect(scopeCB, &QComboBox::currentIndexChanged, this, &TUnsoldDlg::refill);
    connect(closeBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(returnBtn, &QPushButton::clicked, this, [this] {
        const int row = unsoldGrid->currentRow();
        if (row < 0 || row >= m_lines.size() || !giveBack)
            return;
        const QString artNo = m_lines.at(row).artNo;
        QList<ShelfLine> mine;
        for (const ShelfLine& l : std::as_const(m_lines))
            if (l.artNo == artNo)
                mine << l;
        giveBack(artNo, mine);
    });
    refill();
}

void TUnsoldDlg::refill()
{
    const QString since = dateStr(m_today.addMonths(-monthsSpin->value()));
    m_lines = unsoldSince(st.artList, st.account.stock, scopeCB->currentData().toString(), since);
    unsoldGrid->setRowCount(int(m_lines.size()));
    int units = 0;
    Money price;
    for (int r = 0; r < m_lines.size(); ++r) {
        const ShelfLine& l = m_lines.at(r);
        const QStringList cells{l.artName, l.key, l.descript, l.oldest, QString::number(l.old), QString::number(l.stock),
                                (l.price * l.old).format(), (l.value * l.old).format()};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells.at(c));
            if (c >= 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            unsoldGrid->setItem(r, c, item);
        }
        units += l.old;
        price += l.price * l.old;
    }
    if (!m_lines.isEmpty())
        unsoldGrid->setCurrentCell(0, 0);
    returnBtn->setEnabled(!m_lines.isEmpty());
    infoLab->setText(m_lines.isEmpty() ? u"Aucun produit reçu avant le %1 n'est encore en stock."_s.arg(since)
                                       : u"%1 produit(s), %2 unité(s) reçues avant le %3, %4 au prix"_s
                                             .arg(m_lines.size())
                                             .arg(units)
                                             .arg(since, price.format()));
}
