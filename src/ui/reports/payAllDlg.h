#pragma once
// "Payer les artisans...": every artisan with a balance due at the end of the
// period, ticked with that balance proposed; staff untick or change amounts,
// then one payout is recorded for each ticked line.

#include "model/account.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

struct DueLine {
    QString artNo;
    QString name;
    Money balance;
};

class TPayAllDlg : public QDialog {
    Q_OBJECT
public:
    TPayAllDlg(const QList<DueLine>& due, const QString& caption, const QString& date, Money minimum,
               QWidget* parent = nullptr);

    QLabel* infoLab;
    QTableWidget* dueGrid; // ticked, artisan, balance, amount to pay
    // Balances below it are not proposed (their lines hidden and unticked).
    QLineEdit* minEd;
    QLineEdit* dateEd;
    QComboBox* modeCB;
    QLineEdit* refEd;
    QPushButton* OkBtn;

    // The payouts of the ticked lines (period and ids left to the caller).
    QList<Payout> payouts() const;
    Money minimum() const;

private:
    void applyMinimum();
    QList<DueLine> m_due;
};
