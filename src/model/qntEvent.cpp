#include "model/qntEvent.h"

#include "core/appError.h"
#include "core/textUtil.h"

#include <QRegularExpression>
#include <QVarLengthArray>

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

namespace {

// The date of six digits as a number, -1 for any other text.
qint32 dateNumber(QStringView d)
{
    if (d.size() != 6)
        return -1;
    qint32 v = 0;
    for (const QChar c : d) {
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

// Whether q is the text QString::number gives for some int, that int in v.
bool plainNumber(QStringView q, qint32& v)
{
    const bool negative = q.startsWith(u'-');
    const QStringView digits = negative ? q.mid(1) : q;
    if (digits.isEmpty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == u'0')
        || (negative && digits == u"0"))
        return false;
    qint64 n = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        n = n * 10 + (c.unicode() - u'0');
    }
    n = negative ? -n : n;
    if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return false;
    v = qint32(n);
    return true;
}

void appendNumber(QString& out, qint64 v, int width)
{
    char buf[24];
    int n = 0;
    const bool negative = v < 0;
    quint64 u = negative ? quint64(-v) : quint64(v);
    do {
        buf[sizeof buf - 1 - n++] = char('0' + u % 10);
        u /= 10;
    } while (u > 0 || n < width);
    if (negative)
        buf[sizeof buf - 1 - n++] = '-';
    out.append(QLatin1String(buf + sizeof buf - n, n));
}

} // namespace

TQnt::Event TQnt::make(QStringView date, QStringView qnt)
{
    qint32 q = 0;
    const qint32 d = dateNumber(date);
    if (d >= 0 && plainNumber(qnt, q))
        return {d, q};
    m_texts.push_back(TDQEvent{date.toString(), qnt.toString()});
    return {-qint32(m_texts.size()), 0};
}

QString TQnt::dateOf(const Event& e) const
{
    QString out;
    appendDate(out, e);
    return out;
}

QString TQnt::qntOf(const Event& e) const
{
    QString out;
    appendQnt(out, e);
    return out;
}

void TQnt::appendDate(QString& out, const Event& e) const
{
    if (e.date >= 0)
        appendNumber(out, e.date, 6);
    else
        out += m_texts[std::size_t(-e.date - 1)].date;
}

void TQnt::appendQnt(QString& out, const Event& e) const
{
    if (e.date >= 0)
        appendNumber(out, e.qnt, 1);
    else
        out += m_texts[std::size_t(-e.date - 1)].qnt;
}

int TQnt::quantity(const Event& e) const
{
    return e.date >= 0 ? e.qnt : strToInt(m_texts[std::size_t(-e.date - 1)].qnt);
}

void TQnt::dropTexts(Event& e)
{
    if (e.date >= 0)
        return;
    const qint32 gone = e.date;
    m_texts.erase(m_texts.begin() + (-gone - 1));
    for (Event& other : m_events)
        if (other.date < gone)
            ++other.date; // the texts after it moved down by one
    e.date = 0;
}

int TQnt::count() const
{
    return int(m_events.size());
}

TDQEvent TQnt::at(int index) const
{
    if (index < 0 || index >= count())
        indexError(index);
    const Event& e = m_events[std::size_t(index)];
    return TDQEvent{dateOf(e), qntOf(e)};
}

void TQnt::addQnt(const QString& date, const QString& qnt)
{
    if (trimBlanks(date).isEmpty())
        return;
    const int i = findDate(date);
    if (i < 0) {
        m_events.push_back(make(date, qnt));
        m_current = count() - 1;
        return;
    }
    Event& e = m_events[std::size_t(i)];
    // Both conversions happen before the event changes.
    const int sum = checkedSum(quantity(e), strToInt(qnt));
    if (e.date >= 0)
        e.qnt = sum;
    else
        m_texts[std::size_t(-e.date - 1)].qnt = QString::number(sum);
}

int TQnt::findDate(const QString& date)
{
    const qint32 d = dateNumber(date);
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        m_current = int(i);
        const Event& e = m_events[i];
        if (e.date >= 0 ? e.date == d : m_texts[std::size_t(-e.date - 1)].date == date)
            return int(i);
    }
    return -1;
}

QString TQnt::qntAt(const QString& date)
{
    const int i = findDate(date);
    return i < 0 ? QStringLiteral("0") : qntOf(m_events[std::size_t(i)]);
}

void TQnt::setQntAt(int index, const QString& qnt)
{
    if (index < 0 || index >= count())
        indexError(index);
    m_current = index;
    const QString date = dateOf(m_events[std::size_t(index)]);
    dropTexts(m_events[std::size_t(index)]);
    m_events[std::size_t(index)] = make(date, qnt);
}

QString TQnt::eventStr(int index) const
{
    const TDQEvent e = at(index);
    return e.date + QLatin1Char(',') + e.qnt;
}

QString TQnt::qntText(int form) const
{
    if (form == 2)
        return packedText();
    QString out;
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        const Event& e = m_events[i];
        if (i > 0)
            out += QLatin1Char(',');
        switch (form) {
        case 0:
            appendDate(out, e);
            break;
        case 1:
            appendQnt(out, e);
            break;
        case 3:
            appendDate(out, e);
            out += QLatin1Char('=');
            appendQnt(out, e);
            break;
        default:
            out += QLatin1Char('"');
            appendDate(out, e);
            out += QStringLiteral(" | ");
            appendQnt(out, e);
            out += QLatin1Char('"');
            break;
        }
    }
    return out;
}

QString TQnt::packedText() const
{
    // Made in one buffer: every save goes through here for each product's
    // two lists.
    QString joined;
    joined.reserve(qsizetype(m_events.size()) * 9);
    for (const Event& e : m_events) {
        if (&e != &m_events.front())
            joined += QLatin1Char(',');
        appendDate(joined, e);
        appendQnt(joined, e);
    }
    // Dates and numbers alone read back by setQntText's own splitting.
    if (m_texts.empty())
        return joined;
    // The packed form is read back by setQntText: digits, signs and commas by
    // its own splitting, anything else as a comma list. Items that would not
    // read back as they are (a date or quantity holding a comma, a quote or a
    // blank; never one the program writes) are quoted instead.
    // An item must be digits and signs itself: one that is empty or holds a
    // comma would split into other items even when the whole text is plain.
    QStringList items;
    for (const Event& e : m_events)
        items.append(dateOf(e) + qntOf(e));
    const bool plain = std::all_of(items.cbegin(), items.cend(), [](const QString& item) {
        return !item.isEmpty() && std::all_of(item.cbegin(), item.cend(), [](QChar c) {
            return (c >= u'0' && c <= u'9') || c == u'-';
        });
    });
    if (plain)
        return joined;
    return readCommaList(joined) == items ? joined : writeCommaList(items);
}

void TQnt::appendPacked(QString& out) const
{
    if (!isPlain()) {
        out += packedText();
        return;
    }
    // Written straight into out's characters: a save goes through every
    // product's two lists. At most 6 + 11 characters and a comma an event.
    const qsizetype at = out.size();
    out.resize(at + qsizetype(m_events.size()) * 18);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data()) + at;
    char16_t* p = begin;
    const auto digits = [&p](quint32 v, int width) {
        char16_t buf[10];
        int n = 0;
        do {
            buf[n++] = char16_t(u'0' + v % 10);
            v /= 10;
        } while (v > 0 || n < width);
        while (n > 0)
            *p++ = buf[--n];
    };
    for (const Event& e : m_events) {
        if (p != begin)
            *p++ = u',';
        digits(quint32(e.date), 6);
        if (e.qnt < 0)
            *p++ = u'-';
        digits(e.qnt < 0 ? quint32(0) - quint32(e.qnt) : quint32(e.qnt), 1);
    }
    out.resize(at + (p - begin));
}

bool TQnt::setPlainQntText(QStringView packed)
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
    QVarLengthArray<QStringView, 64> items;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= packed.size(); ++i) {
        if (i == packed.size() || packed[i] == u',') {
            items.push_back(packed.mid(from, i - from));
            from = i + 1;
        }
    }
    const auto before = [](QStringView a, QStringView b) {
        return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(), b.utf16() + b.size());
    };
    if (items.size() <= 64) {
        // Stable, in place: a product's list is short and most often sorted.
        for (qsizetype i = 1; i < items.size(); ++i)
            for (qsizetype j = i; j > 0 && before(items[j], items[j - 1]); --j)
                std::swap(items[j], items[j - 1]);
    } else {
        std::stable_sort(items.begin(), items.end(), before);
    }
    // Built aside, so that a failing merge leaves the list as it was.
    TQnt rebuilt;
    rebuilt.m_events.reserve(items.size());
    QStringView lastDate;
    for (const QStringView item : items) {
        if (item.isEmpty())
            continue; // a blank date adds nothing
        const QStringView date = item.left(6);
        const QStringView qnt = item.size() > 6 ? item.mid(6) : QStringView();
        if (!rebuilt.m_events.empty() && lastDate == date) {
            Event& e = rebuilt.m_events.back();
            const int sum = checkedSum(rebuilt.quantity(e), strToInt(qnt.toString()));
            rebuilt.dropTexts(e);
            e = rebuilt.make(date, QString::number(sum));
        } else {
            rebuilt.m_events.push_back(rebuilt.make(date, qnt));
            lastDate = date;
        }
    }
    m_events = std::move(rebuilt.m_events);
    m_texts = std::move(rebuilt.m_texts);
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
    m_texts = std::move(rebuilt.m_texts);
    m_current = rebuilt.m_current;
}

void TQnt::sortEvents()
{
    const QString text = writeCommaList(readCommaList(qntText(2)));
    setQntText(text);
}

int TQnt::totalQnt() const
{
    if (isPlain()) {
        qint64 sum = 0; // each partial sum must fit, as checkedSum requires
        for (const Event& e : m_events) {
            sum += e.qnt;
            if (sum < std::numeric_limits<int>::min() || sum > std::numeric_limits<int>::max())
                throw AppError(QStringLiteral("Integer overflow"));
        }
        return int(sum);
    }
    int total = 0;
    for (const Event& e : m_events)
        total = checkedSum(total, quantity(e));
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
    dropTexts(m_events[std::size_t(index)]);
    m_events.erase(m_events.begin() + index);
}

void TQnt::clear()
{
    m_events.clear();
    m_texts.clear();
    m_current = -1;
}
