#pragma once
// A month drawn as a 7 x 7 grid (day names, then six week rows): the date
// pickers of the sales sheets and the periods. Days already used show in
// silver; a range of dates is painted in red.

#include <QDate>
#include <QStringList>
#include <QWidget>

class TPCalendar : public QWidget {
    Q_OBJECT
public:
    explicit TPCalendar(QWidget* parent = nullptr, const QDate& today = QDate::currentDate());

    static const QStringList& dayNames();
    // "janvier" ... "décembre", index 0 for January.
    static const QStringList& monthNames();
    static bool isLeapYear(int year);
    static int daysPerMonth(int year, int month);

    QDate date() const { return m_date; }
    int Year() const { return m_date.year(); }
    int Month() const { return m_date.month(); }
    int Day() const { return m_date.day(); }
    int daysThisMonth() const { return daysPerMonth(Year(), Month()); }
    // Each element: a value that is not above 0, not valid, or the same as
    // now changes nothing; otherwise the date changes and changed() follows.
    // A month or year without the chosen day keeps its last day.
    void setYear(int year);
    void setMonth(int month);
    void setDay(int day);
    // The whole date in one step (no element is refused for the month it
    // leaves); an invalid date changes nothing.
    void setDate(const QDate& date);
    // Months forward (or back when negative), across years; a month without
    // the chosen day keeps its last day.
    void stepMonths(int months);

    int StartOfWeek() const { return m_startOfWeek; }
    void setStartOfWeek(int day); // 0 = Sunday
    bool ReadOnly = false;
    bool UseCurrentDate() const { return m_useCurrentDate; }
    void setUseCurrentDate(bool on);

    // Day numbers of the shown month that are taken: drawn in silver.
    QStringList usedDatesList;
    // Paints the dates from..to ("yymmdd", both included) in red while
    // pRangeActive, in whichever months they fall.
    void setRange(const QString& from, const QString& to);
    void setRangeActive(bool on);
    bool pRangeActive() const { return m_rangeActive; }
    QDate rangeStart() const { return m_rangeFrom; }
    QDate rangeEnd() const { return m_rangeTo; }
    // True when day of the shown month is painted as part of the range.
    bool inRange(int day) const;

    // Day shown in column c of week row r is c + monthOffset + 7 (r - 1).
    int monthOffset() const { return m_monthOffset; }
    // Text of a cell: a day name in row 0, the day number or "" below.
    QString cellText(int col, int row) const;
    int dayAt(int col, int row) const;
    int selectedCol() const { return m_selCol; }
    int selectedRow() const { return m_selRow; }
    QRect cellRect(int col, int row) const;

    QSize sizeHint() const override { return {231, 161}; }

signals:
    void changed();
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Arrows move the day (a week up and down), PageUp/PageDown the month:
    // each move is a day chosen, as a click. Return and Escape go on to the
    // dialog (Ok, cancel).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void changeTo(const QDate& date);
    void rebuild();

    QDate m_date;
    int m_startOfWeek = 0;
    bool m_useCurrentDate = true;
    bool m_rangeActive = false;
    QDate m_rangeFrom;
    QDate m_rangeTo;
    int m_monthOffset = 0;
    int m_selCol = 0;
    int m_selRow = 1;
};
