#pragma once
// The row above a month calendar that both date dialogs show: month arrows,
// the month's name, the year (a label kept hidden, since the box shows it)
// and a year box.

class QHBoxLayout;
class QLabel;
class QSpinBox;
class QToolButton;
class QWidget;
class TPCalendar;

struct MonthHeader {
    QHBoxLayout* row = nullptr;
    QToolButton* prevBtn = nullptr;
    QToolButton* nextBtn = nullptr;
    QLabel* monthLab = nullptr;
    QLabel* yearLab = nullptr;
    QSpinBox* yearSpin = nullptr;

    // Children of parent; yearLabName is the year label's object name.
    static MonthHeader make(QWidget* parent, const char* yearLabName);
    // The controls into a dialog's members that carry their names.
    void expose(QToolButton*& prev, QToolButton*& next, QLabel*& month, QLabel*& year,
                QSpinBox*& spin) const;
    // Shows the calendar's month and year; the year box changes without a signal.
    void showMonthOf(const TPCalendar& calendar) const;
};
