#include "model/qntEvent.h"

#include "core/appError.h"
#include "core/textUtil.h"

#include <QRegularExpression>

#include <algorithm>
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

QString qntEventProblem(const QString& date, const QString& qnt, const QString& stored)
{
    if (!strToDate(date).isValid())
        return QStringLiteral("La date « %1 » n'est pas valide : entrez le jour en six chiffres "
                              "aammjj, par exemple 090518 pour le 18 mai 2009.")
            .arg(date);
    static const QRegularExpression quantity(QStringLiteral("^-?[0-9]{1,3}$"));
    bool isInt = false;
    (void)qnt.toInt(&isInt);
    const bool kept = !stored.isEmpty() && qnt == stored && isInt;
    if (!kept && !quantity.match(qnt).hasMatch())
        return QStringLiteral("La quantité « %1 » n'est pas valide : entrez un nombre entier "
                              "de -999 à 999.")
            .arg(qnt);
    return QString();
}

int TQnt::count() const
{
    return int(m_events.size());
}

const TDQEvent& TQnt::at(int index) const
{
    if (index < 0 || index >= count())
        indexError(index);
    return m_events[std::size_t(index)];
}

const TDQEvent* TQnt::current() const
{
    return m_current < 0 ? nullptr : &m_events[std::size_t(m_current)];
}

void TQnt::addQnt(const QString& date, const QString& qnt)
{
    if (trimBlanks(date).isEmpty())
        return;
    const int i = findDate(date);
    if (i < 0) {
        m_events.push_back(TDQEvent{date, qnt});
        m_current = count() - 1;
        return;
    }
    TDQEvent& e = m_events[std::size_t(i)];
    // Both conversions happen before the event changes.
    const int sum = checkedSum(strToInt(e.qnt), strToInt(qnt));
    e.qnt = QString::number(sum);
}

int TQnt::findDate(const QString& date)
{
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        m_current = int(i);
        if (m_events[i].date == date)
            return int(i);
    }
    return -1;
}

QString TQnt::qntAt(const QString& date)
{
    const int i = findDate(date);
    return i < 0 ? QStringLiteral("0") : m_events[std::size_t(i)].qnt;
}

void TQnt::setQntAt(int index, const QString& qnt)
{
    if (index < 0 || index >= count())
        indexError(index);
    m_current = index;
    m_events[std::size_t(index)].qnt = qnt;
}

QString TQnt::eventStr(int index) const
{
    const TDQEvent& e = at(index);
    return e.date + QLatin1Char(',') + e.qnt;
}

QString TQnt::qntText(int form) const
{
    if (form == 2)
        return packedText();
    QString out;
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        const TDQEvent& e = m_events[i];
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

QString TQnt::packedText() const
{
    // Made in one buffer: every save and every load goes through here for
    // each product's two lists.
    qsizetype size = 0;
    for (const TDQEvent& e : m_events)
        size += e.date.size() + e.qnt.size() + 1;
    QString joined;
    joined.reserve(size);
    for (const TDQEvent& e : m_events) {
        if (&e != &m_events.front())
            joined += QLatin1Char(',');
        joined += e.date;
        joined += e.qnt;
    }
    // The packed form is read back by setQntText: digits, signs and commas by
    // its own splitting, anything else as a comma list. Items that would not
    // read back as they are (a date or quantity holding a comma, a quote or a
    // blank; never one the program writes) are quoted instead.
    const bool plain = std::all_of(joined.cbegin(), joined.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || c == u'-' || c == u',';
    });
    if (plain)
        return joined;
    QStringList items;
    for (const TDQEvent& e : m_events)
        items.append(e.date + e.qnt);
    return readCommaList(joined) == items ? joined : writeCommaList(items);
}

bool TQnt::setPlainQntText(const QString& packed)
{
    for (const QChar c : packed) {
        const char16_t u = c.unicode();
        if ((u < u'0' || u > u'9') && u != u'-' && u != u',')
            return false;
    }
    if (packed.isEmpty())
        return true; // an empty text leaves the list as it is
    // Such a text reads as its comma-separated pieces, and sorts by code
    // point exactly as the program's text order sorts it; after sorting,
    // items of the same date are neighbours, so merging looks at the last
    // event only.
    std::vector<QStringView> items;
    const QStringView all(packed);
    qsizetype from = 0;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        if (i == all.size() || all[i] == u',') {
            items.push_back(all.mid(from, i - from));
            from = i + 1;
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](QStringView a, QStringView b) { return a.compare(b) < 0; });
    std::vector<TDQEvent> rebuilt;
    rebuilt.reserve(items.size());
    for (const QStringView item : items) {
        if (item.isEmpty())
            continue; // a blank date adds nothing
        const QStringView date = item.left(6);
        const QStringView qnt = item.size() > 6 ? item.mid(6) : QStringView();
        if (!rebuilt.empty() && rebuilt.back().date == date) {
            TDQEvent& e = rebuilt.back();
            e.qnt = QString::number(checkedSum(strToInt(e.qnt), strToInt(qnt.toString())));
        } else {
            rebuilt.push_back(TDQEvent{date.toString(), qnt.toString()});
        }
    }
    m_events = std::move(rebuilt);
    m_current = count() - 1;
    return true;
}

void TQnt::setQntText(const QString& packed)
{
    if (setPlainQntText(packed))
        return;
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
        total = checkedSum(total, strToInt(e.qnt));
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
    if (m_current == index)
        m_current = -1;
    else if (m_current > index)
        --m_current;
    m_events.erase(m_events.begin() + index);
}

void TQnt::clear()
{
    m_events.clear();
    m_current = -1;
}
