#include "ui/widgets/monthHeader.h"

#include "ui/widgets/PCalendar.h"
#include "ui/widgets/controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

using namespace Qt::StringLiterals;

void MonthHeader::expose(QToolButton*& prev, QToolButton*& next, QLabel*& month, QLabel*& year,
                         QSpinBox*& spin) const
{
    prev = prevBtn;
    next = nextBtn;
    month = monthLab;
    year = yearLab;
    spin = yearSpin;
}

MonthHeader MonthHeader::make(QWidget* parent, const char* yearLabName)
{
    MonthHeader h;
    h.row = new QHBoxLayout;
    h.prevBtn = speedButton(parent, "prevBtn", u"Précédent"_s, {});
    h.prevBtn->setArrowType(Qt::LeftArrow);
    h.nextBtn = speedButton(parent, "nextBtn", u"Suivant"_s, {});
    h.nextBtn->setArrowType(Qt::RightArrow);
    h.monthLab = named<QLabel>("monthLab", parent);
    h.yearLab = named<QLabel>(yearLabName, parent);
    h.yearLab->hide();
    h.yearSpin = named<QSpinBox>("yearSpin", parent);
    h.yearSpin->setRange(2000, 2099); // the years a "yymmdd" date holds
    h.yearSpin->setToolTip(u"Année"_s);
    h.row->addWidget(h.prevBtn);
    h.row->addWidget(h.monthLab, 1, Qt::AlignCenter);
    h.row->addWidget(h.yearLab);
    h.row->addWidget(h.yearSpin);
    h.row->addWidget(h.nextBtn);
    return h;
}

void MonthHeader::showMonthOf(const TPCalendar& calendar) const
{
    monthLab->setText(TPCalendar::monthNames().at(calendar.Month() - 1));
    yearLab->setText(QString::number(calendar.Year()));
    const QSignalBlocker block(yearSpin);
    yearSpin->setValue(calendar.Year());
}
