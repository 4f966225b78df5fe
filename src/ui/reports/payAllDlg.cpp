#include "ui/reports/payAllDlg.h"

#include "ui/reports/payoutDlg.h"

#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TPayAllDlg::TPayAllDlg(const QList<DueLine>& due, const QString& caption, const QString& date, Money minimum,
                       QWidget* parent)
    : QDialog(parent), m_due(due)
{
    setObjectName(u"payAllDlg"_s);
    setWindowTitle(u"Payer les artisans"_s);
    resize(560, 420);
    infoLab = named<QLabel>("infoLab", caption, this);
    infoLab->setWordWrap(true);
    dueGrid = named<QTableWidget>("dueGrid", int(due.size()), 4, this);
    dueGrid->setHorizontalHeaderLabels({u"Payer"_s, u"Artisan"_s, u"Solde"_s, u"Montant payé"_s});
    dueGrid->verticalHeader()->hide();
    dueGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int r = 0; r < due.size(); ++r) {
        auto* tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        tick->setCheckState(Qt::Checked);
        dueGrid->setItem(r, 0, tick);
        for (int c = 1; c < 3; ++c) {
            auto* item = new QTableWidgetItem(c == 1 ? due.at(r).name : due.at(r).balance.format());
            item->setFlags(Qt::ItemIsEnabled);
            if (c == 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            dueGrid->setItem(r, c, item);
        }
        auto* amount = new QTableWidgetItem(due.at(r).balance.plain());
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        dueGrid->setItem(r, 3, amount);
    }
    auto* form = new QFormLayout;
    minEd = named<QLineEdit>("minEd", minimum.plain(), this);
    minEd->setToolTip(u"Les soldes plus petits ne sont pas proposés."_s);
    form->addRow(u"Solde d'au moins :"_s, minEd);
    connect(minEd, &QLineEdit::textChanged, this, &TPayAllDlg::applyMinimum);
    addPayoutFields(this, form, date, dateEd, modeCB, refEd);
    OkBtn = named<QPushButton>("OkBtn", u"Enregistrer les paiements"_s, this);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OkBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLab);
    layout->addWidget(dueGrid, 1);
    layout->addLayout(form);
    layout->addLayout(row);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    keyboardDialog(this, OkBtn, row, dueGrid);
    applyMinimum();
}

Money TPayAllDlg::minimum() const
{
    const auto m = Money::tryParse(minEd->text().trimmed());
    return m && *m >= Money() ? *m : Money();
}

void TPayAllDlg::applyMinimum()
{
    const Money least = minimum();
    for (int r = 0; r < m_due.size(); ++r) {
        const bool proposed = m_due.at(r).balance >= least;
        if (proposed == dueGrid->isRowHidden(r))
            dueGrid->item(r, 0)->setCheckState(proposed ? Qt::Checked : Qt::Unchecked);
        dueGrid->setRowHidden(r, !proposed);
    }
}

QList<Payout> TPayAllDlg::payouts() const
{
    QList<Payout> out;
    for (int r = 0; r < m_due.size(); ++r) {
        if (dueGrid->item(r, 0)->checkState() != Qt::Checked)
            continue;
        Payout p;
        p.artNo = m_due.at(r).artNo;
        p.date = dateEd->text();
        p.amount = Money::parse(dueGrid->item(r, 3)->text());
        p.mode = modeCB->currentText();
        p.ref = refEd->text();
        out << p;
    }
    return out;
}
