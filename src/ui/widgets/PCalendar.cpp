#include "ui/widgets/PCalendar.h"

#include "core/textUtil.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {
constexpr int kGridLine = 1;
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kRed(0xFF, 0, 0);
} // namespace

TPCalendar::TPCalendar(QWidget* parent, const QDate& today) : QWidget(parent), m_date(today)
{
    setObjectName(u"Calend"_s);
    setMinimumSize(sizeHint());
    resize(sizeHint());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    rebuild();
}

const QStringList& TPCalendar::dayNames()
{
    static const QStringList names = {u"Dim"_s, u"Lun"_s, u"Mar"_s, u"Mer"_s,
                                      u"Jeu"_s, u"Ven"_s, u"Sam"_s};
    return names;
}

const QStringList& TPCalendar::monthNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (int m = 1; m <= 12; ++m) {
            QString text;
            monthName(1, m, text);
            n << text;
        }
        return n;
    }();
    return names;
}

bool TPCalendar::isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int TPCalendar::daysPerMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

void TPCalendar::changeTo(const QDate& date)
{
    if (!date.isValid() || date == m_date)
        return;
    m_date = date;
    m_useCurrentDate = false;
    rebuild();
    emit changed();
}

void TPCalendar::setYear(int year)
{
    if (year <= 0 || year == Year())
        return;
    changeTo(QDate(year, Month(), qMin(Day(), daysPerMonth(year, Month()))));
}

void TPCalendar::setMonth(int month)
{
    if (month <= 0 || month > 12 || month == Month())
        return;
    // The chosen day may not exist there (the 31st, or February): the
    // month's last day stands for it.
    changeTo(QDate(Year(), month, qMin(Day(), daysPerMonth(Year(), month))));
}

void TPCalendar::setDay(int day)
{
    if (day <= 0 || day > daysThisMonth() || day == Day())
        return;
    changeTo(QDate(Year(), Month(), day));
}

void TPCalendar::setDate(const QDate& date)
{
    changeTo(date);
}

void TPCalendar::stepMonths(int months)
{
    changeTo(m_date.addMonths(months));
}

void TPCalendar::setStartOfWeek(int day)
{
    m_startOfWeek = ((day % 7) + 7) % 7;
    rebuild();
}

void TPCalendar::setUseCurrentDate(bool on)
{
    m_useCurrentDate = on;
    if (on)
        changeTo(QDate::currentDate());
}

void TPCalendar::setRange(const QString& from, const QString& to)
{
    m_rangeFrom = strToDate(from);
    m_rangeTo = strToDate(to);
    update();
}

void TPCalendar::setRangeActive(bool on)
{
    m_rangeActive = on;
    update();
}

void TPCalendar::rebuild()
{
    // Weekday of the 1st, 1 = Sunday ... 7 = Saturday.
    const int w = QDate(Year(), Month(), 1).dayOfWeek() % 7 + 1;
    // Column of the 1st, counted from the first day of the week.
    const int firstCol = (w - 1 - m_startOfWeek + 7) % 7;
    m_monthOffset = 1 - firstCol;
    const int cell = Day() - m_monthOffset;
    m_selCol = cell % 7;
    m_selRow = cell / 7 + 1;
    update();
}

int TPCalendar::dayAt(int col, int row) const
{
    if (row < 1 || row > 6 || col < 0 || col > 6)
        return 0;
    const int d = col + m_monthOffset + 7 * (row - 1);
    return d >= 1 && d <= daysThisMonth() ? d : 0;
}

QString TPCalendar::cellText(int col, int row) const
{
    if (row == 0)
        return col >= 0 && col < 7 ? dayNames().at((col + m_startOfWeek) % 7) : QString();
    const int d = dayAt(col, row);
    return d ? QString::number(d) : QString();
}

QRect TPCalendar::cellRect(int col, int row) const
{
    const int cw = (width() - 6 * kGridLine) / 7;
    const int rh = (height() - 6 * kGridLine) / 7;
    return {col * (cw + kGridLine), row * (rh + kGridLine), cw, rh};
}

bool TPCalendar::inRange(int day) const
{
    if (!m_rangeActive || !m_rangeFrom.isValid() || !m_rangeTo.isValid())
        return false;
    const QDate d(Year(), Month(), day);
    return m_rangeFrom <= d && d <= m_rangeTo;
}

void TPCalendar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Mid));
    QFont bold = font();
    bold.setBold(true);
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            const QRect cell = cellRect(c, r);
            const QString text = cellText(c, r);
            QColor back = r == 0 ? palette().color(QPalette::Button) : palette().color(QPalette::Base);
            QColor ink = Qt::black;
            const bool selected = r > 0 && c == m_selCol && r == m_selRow;
            if (selected) {
                back = palette().color(QPalette::Highlight);
                ink = Qt::white;
            }
            if (r > 0 && !text.isEmpty()) {
                if (usedDatesList.contains(text))
                    ink = kSilver;
                if (inRange(text.toInt())) {
                    ink = Qt::white;
                    back = kRed;
                }
            }
            p.fillRect(cell, back);
            if (selected) {
                p.setPen(QPen(Qt::black, 1, Qt::DotLine));
                p.drawRect(cell.adjusted(1, 1, -2, -2));
            }
            p.setFont(r == 0 ? bold : font());
            p.setPen(ink);
            p.drawText(cell, Qt::AlignCenter, text);
        }
    }
}

void TPCalendar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || ReadOnly)
        return;
    const QPoint at = event->position().toPoint();
    for (int r = 1; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            if (!cellRect(c, r).contains(at))
                continue;
            const int d = dayAt(c, r);
            if (!d)
                return;
            // The click's handlers see the day just chosen.
            setDay(d);
            emit clicked();
            return;
        }
    }
}

void TPCalendar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !ReadOnly)
        emit doubleClicked();
}

void TPCalendar::keyPressEvent(QKeyEvent* event)
{
    int days = 0;
    int months = 0;
    switch (event->key()) {
    case Qt::Key_Left: days = -1; break;
    case Qt::Key_Right: days = 1; break;
    case Qt::Key_Up: days = -7; break;
    case Qt::Key_Down: days = 7; break;
    case Qt::Key_PageUp: months = -1; break;
    case Qt::Key_PageDown: months = 1; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (ReadOnly)
        return;
    changeTo(months ? m_date.addMonths(months) : m_date.addDays(days));
    emit clicked();
}
