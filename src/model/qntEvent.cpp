#include "model/qntEvent.h"

#include "core/appError.h"
#include "core/textUtil.h"

#include <limits>

namespace {

[[noreturn]] void indexError(int index)
{
    throw AppError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

int checkedSum(qint64 a, qint64 b)
{
    const qint64 s = a + b;
    if (s < std::numeric_limits<int>::min() || s > std::numeric_limits<int>::max())
        throw AppError(QStringLiteral("Integer overflow"));
    return int(s);
}

} // namespace

int TQnt::count() const
{
    return int(m_events.size());
}

const TDQEvent& TQnt::at(int index) const
{
    if (index < 0 || index >= count())
        indexError(index);
    return *m_events[std::size_t(index)];
}

void TQnt::addQnt(const QString& date, const QString& qnt)
{
    if (trimBlanks(date).isEmpty())
        return;
    const int i = findDate(date);
    if (i < 0) {
        m_events.push_back(std::make_unique<TDQEvent>(TDQEvent{date, qnt}));
        m_current = m_events.back().get();
        return;
    }
    TDQEvent& e = *m_events[std::size_t(i)];
    // Both conversions happen before the event changes.
    const int sum = checkedSum(strToInt(e.qnt), strToInt(qnt));
    e.qnt = QString::number(sum);
}

int TQnt::findDate(const QString& date)
{
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        m_current = m_events[i].get();
        if (m_current->date == date)
            return int(i);
    }
    return -1;
}

QString TQnt::qntAt(const QString& date)
{
    const int i = findDate(date);
    return i < 0 ? QStringLiteral("0") : m_events[std::size_t(i)]->qnt;
}

void TQnt::setQntAt(int index, const QString& qnt)
{
    if (index < 0 || index >= count())
        indexError(index);
    m_current = m_events[std::size_t(index)].get();
    m_current->qnt = qnt;
}

QString TQnt::eventStr(int index) const
{
    const TDQEvent& e = at(index);
    return e.date + QLatin1Char(',') + e.qnt;
}

QString TQnt::qntText(int form) const
{
    QString out;
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        const TDQEvent& e = *m_events[i];
        if (i > 0)
            out += QLatin1Char(',');
        switch (form) {
        case 0:
            out += e.date;
            break;
        case 1:
            out += e.qnt;
            break;
        case 2:
            out += e.date + e.qnt;
            break;
        case 3:
            out += e.date + QLatin1Char('=') + e.qnt;
            break;
        default:
            out += QLatin1Char('"') + e.date + QStringLiteral(" | ") + e.qnt + QLatin1Char('"');
            break;
        }
    }
    return out;
}

void TQnt::setQntText(const QString& packed)
{
    const int n = commaCount(packed);
    if (n == 0)
        return;
    QStringList work = readCommaList(packed);
    sortTextList(work);
    // Built aside, so that a failing merge leaves the list as it was.
    TQnt rebuilt;
    for (const QString& item : std::as_const(work))
        rebuilt.addQnt(item.left(6), item.mid(6));
    m_events = std::move(rebuilt.m_events);
    m_current = rebuilt.m_current;
}

void TQnt::sortEvents()
{
    const QString text = writeCommaList(readCommaList(qntText(2)));
    setQntText(text);
}

int TQnt::totalQnt() const
{
    int total = 0;
    for (const auto& e : m_events)
        total = checkedSum(total, strToInt(e->qnt));
    return total;
}

QString TQnt::totalQntStr() const
{
    return QString::number(totalQnt());
}

void TQnt::deleteAt(int index)
{
    if (index < 0 || index >= count())
        indexError(index);
    if (m_current == m_events[std::size_t(index)].get())
        m_current = nullptr;
    m_events.erase(m_events.begin() + index);
}

void TQnt::clear()
{
    m_events.clear();
    m_current = nullptr;
}
