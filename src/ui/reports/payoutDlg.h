#pragma once
// The payout of one artisan: the day, the amount (their balance proposed),
// how it was paid and its reference, the period it settles and a note.

#include "model/account.h"

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// The fields every payout dialog asks: the day (dated date), the mode and
// the reference, added to form.
void addPayoutFields(QWidget* owner, QFormLayout* form, const QString& date, QLineEdit*& dateEd, QComboBox*& modeCB,
                     QLineEdit*& refEd);

class TPayoutDlg : public QDialog {
    Q_OBJECT
public:
    // artName as the windows name the artisan; balance, what is owed at the
    // end of the period shown (proposed when positive); periods, the titles
    // offered, period first.
    TPayoutDlg(const QString& artName, Money balance, const QString& date, const QStringList& periods,
               const QString& period, QWidget* parent = nullptr);

    QLabel* artLab;
    QLabel* balanceLab;
    QLineEdit* dateEd;   // "yymmdd"
    QLineEdit* amountEd; // "12.50"
    QComboBox* modeCB;
    QLineEdit* refEd;
    QComboBox* periodCB; // "" for no period
    QLineEdit* noteEd;
    QPushButton* OkBtn;

    // What was typed, for artNo; an amount that does not read counts 0,
    // which the checks refuse.
    Payout payout(const QString& artNo) const;
};
