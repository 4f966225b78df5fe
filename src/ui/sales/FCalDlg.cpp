#include "ui/sales/FCalDlg.h"

#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/uProd.h"
#include "ui/widgets/PCalendar.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/monthHeader.h"
#include "ui/widgets/named.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kUsed = u"Date déjà utilisée!"_s;
} // namespace

TCalDialog::TCalDialog(Prompt& p, QWidget* parent, const QDate& today)
    : QDialog(parent), prompt(p), m_today(today)
{
    setObjectName(u"CalDialog"_s);
    auto* layout = new QVBoxLayout(this);

    m_head = MonthHeader::make(this, "Label1");
    m_head.expose(prevBtn, nextBtn, monthLab, Label1, yearSpin);
    layout->addLayout(m_head.row);

    Calend = new TPCalendar(this, today);
    Calend->setStartOfWeek(0);
    layout->addWidget(Calend, 1);

    auto* fields = new QGridLayout;
    Label3 = named<QLabel>("Label3", u"Date:"_s, this);
    dInfoLab = named<QLabel>("dInfoLab", this);
    Label2 = named<QLabel>("Label2", u"Préposé(e):"_s, this);
    sNameCB = named<QComboBox>("sNameCB", this);
    sNameCB->setEditable(true);
    sNameCB->setInsertPolicy(QComboBox::NoInsert);
    fields->addWidget(Label3, 0, 0);
    fields->addWidget(dInfoLab, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(sNameCB, 1, 1);
    layout->addLayout(fields);

    OkBtn = named<QPushButton>("OkBtn", u"Ok"_s, this);
    OkBtn->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    layout->addLayout(buttons);
    keyboardDialog(this, OkBtn, buttons, Calend);

    connect(Calend, &TPCalendar::changed, this, &TCalDialog::fillUsedDays);
    connect(Calend, &TPCalendar::clicked, this, &TCalDialog::dateChange);
    connect(Calend, &TPCalendar::doubleClicked, this, [this] {
        if (OkBtn->isEnabled())
            OkBtn->click();
    });
    connect(prevBtn, &QToolButton::clicked, this, [this] { moveMonth(-1); });
    connect(nextBtn, &QToolButton::clicked, this, [this] { moveMonth(1); });
    connect(OkBtn, &QPushButton::clicked, this, &TCalDialog::accept);

    connect(yearSpin, &QSpinBox::valueChanged, this, [this](int year) {
        if (year == Calend->Year())
            return;
        Calend->setYear(year);
        fillUsedDays();
    });
    // Opens with the shown day chosen: Ok at once, unless a sheet has it.
    fillUsedDays();
}

void TCalDialog::fillUsedDays()
{
    Calend->usedDatesList.clear();
    const QString yy = twoDigits(Calend->Year() % 100);
    const QString mm = twoDigits(Calend->Month());
    for (const QString& d : std::as_const(usedDates)) {
        if (d.size() >= 6 && d.mid(0, 2) == yy && d.mid(2, 2) == mm)
            Calend->usedDatesList << QString::number(d.mid(4, 2).toInt());
    }
    Calend->update();
    // The shown day may be one a sheet has: judged again.
    dateChange();
}

void TCalDialog::setDateStr(const QString& date)
{
    if (date == u"?"_s || date.size() < 6)
        return;
    const int yy = date.mid(0, 2).toInt();
    const QDate d(yy < 50 ? 2000 + yy : 1900 + yy, date.mid(2, 2).toInt(), date.mid(4, 2).toInt());
    if (!d.isValid())
        return;
    // Set in one step: a day refused by the month being left is not lost.
    Calend->setDate(d);
    fillUsedDays();
}

void TCalDialog::dateChange()
{
    m_head.showMonthOf(*Calend);
    dInfoLab->setText(twoDigits(Calend->Year() % 100) + twoDigits(Calend->Month())
                      + twoDigits(Calend->Day()));
    bool used = false;
    for (const QString& d : std::as_const(Calend->usedDatesList))
        used = used || d.trimmed().toInt() == Calend->Day();
    if (used)
        dInfoLab->setText(kUsed);
    OkBtn->setEnabled(!used);
}

void TCalDialog::moveMonth(int step)
{
    Calend->stepMonths(step);
    fillUsedDays(); // the day now shown may be taken in this month
}

QString TCalDialog::chosenDate() const
{
    return dInfoLab->text();
}

QString TCalDialog::agent() const
{
    return sNameCB->currentText();
}

void TCalDialog::accept()
{
    if (!OkBtn->isEnabled())
        return;
    // The agent is a field of the sheet's record: it must not hold the
    // record separator.
    const QString problem = recordFieldProblem(agent(), REC_SEP);
    if (!problem.isEmpty()) {
        prompt.error(problem);
        return;
    }
    // A date well ahead of today is most often a slip of the month or year.
    const QDate chosen = Calend->date();
    if (chosen > m_today.addDays(kFutureDays)
        && prompt.question(u"La date choisie (%1) est dans %2 jours. La garder quand même ?"_s.arg(
                               dateStr(chosen), QString::number(m_today.daysTo(chosen))))
               != Prompt::Answer::Yes)
        return;
    QDialog::accept();
}
