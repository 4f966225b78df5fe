#include "ui/reports/payoutDlg.h"

#include "model/balance.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

void addPayoutFields(QWidget* owner, QFormLayout* form, const QString& date, QLineEdit*& dateEd, QComboBox*& modeCB,
                     QLineEdit*& refEd)
{
    dateEd = named<QLineEdit>("dateEd", date, owner);
    dateEd->setInputMask(u"999999"_s);
    modeCB = named<QComboBox>("modeCB", owner);
    modeCB->addItems(PAYOUT_MODES);
    refEd = named<QLineEdit>("refEd", owner);
    form->addRow(u"Date (aammjj) :"_s, dateEd);
    form->addRow(u"Mode :"_s, modeCB);
    form->addRow(u"Référence :"_s, refEd);
}

TPayoutDlg::TPayoutDlg(const QString& artName, Money balance, const QString& date, const QStringList& periods,
                       const QString& period, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"payoutDlg"_s);
    setWindowTitle(u"Payer l'artisan"_s);
    artLab = named<QLabel>("artLab", artName, this);
    artLab->setStyleSheet(u"font-weight: bold"_s);
    balanceLab = named<QLabel>("balanceLab", u"%1 : %2"_s.arg(balanceCaption(balance), balance.format()), this);
    amountEd = named<QLineEdit>("amountEd", balance > Money() ? balance.plain() : QString(), this);
    periodCB = named<QComboBox>("periodCB", this);
    periodCB->addItem(QString());
    periodCB->addItems(periods);
    periodCB->setCurrentText(period);
    noteEd = named<QLineEdit>("noteEd", this);

    auto* form = new QFormLayout;
    form->addRow(u"Montant :"_s, amountEd);
    addPayoutFields(this, form, date, dateEd, modeCB, refEd);
    form->addRow(u"Période réglée :"_s, periodCB);
    form->addRow(u"Note :"_s, noteEd);
    OkBtn = named<QPushButton>("OkBtn", u"Enregistrer le paiement"_s, this);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OkBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(artLab);
    layout->addWidget(balanceLab);
    layout->addLayout(form);
    layout->addLayout(row);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    keyboardDialog(this, OkBtn, row, amountEd);
}

Payout TPayoutDlg::payout(const QString& artNo) const
{
    Payout p;
    p.artNo = artNo;
    p.date = dateEd->text();
    p.amount = Money::parse(amountEd->text());
    p.mode = modeCB->currentText();
    p.ref = refEd->text();
    p.period = periodCB->currentText();
    p.note = noteEd->text();
    return p;
}
