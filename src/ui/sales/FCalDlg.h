#pragma once
// The date dialog of the sales sheets: picks the date and the sales agent of
// a new sheet, or a new date for the shown one. A date that a sheet already
// has is refused.

#include "ui/widgets/monthHeader.h"

#include <QDate>
#include <QDialog>
#include <QStringList>

class Prompt;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;
class TPCalendar;

class TCalDialog : public QDialog {
    Q_OBJECT
public:
    TCalDialog(Prompt& prompt, QWidget* parent = nullptr, const QDate& today = QDate::currentDate());

    // Days past today a date may lie without asking the user.
    static constexpr int kFutureDays = 3;

    TPCalendar* Calend;
    QToolButton* prevBtn;
    QToolButton* nextBtn;
    QLabel* monthLab;
    QLabel* Label1;
    QSpinBox* yearSpin; // the shown year, changed directly
    QLabel* Label3;
    QLabel* dInfoLab;
    QLabel* Label2;
    QComboBox* sNameCB;
    QPushButton* OkBtn;

    // Every sheet date ("yymmdd"), set by the caller before fillUsedDays().
    QStringList usedDates;

    // The days of the shown month that usedDates holds.
    void fillUsedDays();
    // Shows a "yymmdd" date (yy below 50 is 20yy, else 19yy); "?" is ignored.
    void setDateStr(const QString& date);
    // The chosen date as "yymmdd", and the agent.
    QString chosenDate() const;
    QString agent() const;

    void accept() override;

private:
    void dateChange();
    void moveMonth(int step);

    Prompt& prompt;
    QDate m_today;
    MonthHeader m_head;
};
