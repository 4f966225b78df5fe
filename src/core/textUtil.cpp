#include "core/textUtil.h"

#include "core/appError.h"
#include "core/money.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <string_view>
#include <vector>
#include <array>
#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

// Reads a quoted item starting at text[pos] == '"': runs to the matching
// closing quote (a doubled quote stands for one), or to the end of the text.
// pos is left just after the closing quote.
QString readQuoted(QStringView text, qsizetype& pos)
{
    // Sized first, then copied a run at a time up to each doubled quote:
    // sheets hold their lines as quoted items, and every report reads them.
    ++pos; // opening quote
    const qsizetype n = text.size();
    qsizetype end = pos;
    qsizetype doubled = 0;
    for (;;) {
        const qsizetype quote = text.indexOf(u'"', end);
        if (quote < 0) {
            end = n; // unclosed: the item runs to the end
            break;
        }
        if (quote + 1 < n && text[quote + 1] == u'"') {
            ++doubled;
            end = quote + 2;
            continue;
        }
        end = quote;
        break;
    }
    QString out(end - pos - doubled, Qt::Uninitialized);
    QChar* to = out.data();
    while (pos < end) {
        qsizetype quote = text.indexOf(u'"', pos);
        if (quote < 0 || quote > end)
            quote = end;
        std::copy(text.begin() + pos, text.begin() + quote, to);
        to += quote - pos;
        if (quote == end)
            break;
        *to++ = u'"';
        pos = quote + 2;
    }
    pos = end < n ? end + 1 : n;
    return out;
}

bool needsQuotes(QStringView item)
{
    for (const QChar c : item) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || isBlank(c))
            return true;
    }
    return false;
}

[[noreturn]] void indexError(int index)
{
    throw AppError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

const QCollator& textCollator()
{
    // French order, fixed so that sorting is the same on every machine.
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::French, QLocale::France)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator;
}

// Texts of digits and minus signs only (packed quantities, dates, numbers)
// sort the same by code point as by the collator, which is many times slower;
// loading a database sorts hundreds of thousands of them.
bool plainNumeric(const QString& s)
{
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if ((u < u'0' || u > u'9') && u != u'-')
            return false;
    }
    return true;
}

int compareTexts(const QCollator& c, const QString& a, const QString& b)
{
    if (plainNumeric(a) && plainNumeric(b))
        return QString::compare(a, b);
    return c.compare(a, b);
}

// Where text stands once the characters up to the space are cut off both ends.
std::pair<qsizetype, qsizetype> blankTrimmed(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text.at(b).unicode() <= 32)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 32)
        --e;
    return {b, e - b};
}

} // namespace

QString trimBlanks(const QString& text)
{
    const auto [from, n] = blankTrimmed(text);
    return text.mid(from, n);
}

QString takeField(QString& rec, const QString& sep)
{
    const qsizetype p = rec.indexOf(sep);
    if (p < 0)
        return rec;
    const QString field = rec.left(p);
    rec.remove(0, p + sep.size());
    return field;
}

QStringList readCommaList(const QString& text)
{
    QStringList items;
    const QChar* const d = text.constData();
    const qsizetype n = text.size();
    qsizetype p = 0;
    while (p < n && isBlank(d[p]))
        ++p;
    while (p < n) {
        if (d[p] == QLatin1Char('"')) {
            items << readQuoted(text, p);
        } else {
            const qsizetype start = p;
            while (p < n && !isBlank(d[p]) && d[p] != QLatin1Char(','))
                ++p;
            items << QString(d + start, p - start);
        }
        while (p < n && isBlank(d[p]))
            ++p;
        if (p < n && d[p] == QLatin1Char(',')) {
            if (p + 1 == n)
                items << QString();
            ++p;
            while (p < n && isBlank(d[p]))
                ++p;
        }
    }
    return items;
}

void commaViews(QStringView text, QVarLengthArray<QStringView, 8>& items, QStringList& held)
{
    // readCommaList's items, as views of text; only an item holding a
    // doubled quote is made apart (into held).
    items.clear();
    held.clear();
    const qsizetype n = text.size();
    qsizetype p = 0;
    while (p < n && isBlank(text[p]))
        ++p;
    while (p < n) {
        if (text[p] == u'"') {
            const qsizetype quote = text.indexOf(u'"', p + 1);
            if (quote >= 0 && quote + 1 < n && text[quote + 1] == u'"') {
                held.append(readQuoted(text, p));
                items.append(held.last());
            } else {
                const qsizetype end = quote < 0 ? n : quote;
                items.append(text.mid(p + 1, end - p - 1));
                p = quote < 0 ? n : quote + 1;
            }
        } else {
            const qsizetype start = p;
            while (p < n && !isBlank(text[p]) && text[p] != u',')
                ++p;
            items.append(text.mid(start, p - start));
        }
        while (p < n && isBlank(text[p]))
            ++p;
        if (p < n && text[p] == u',') {
            if (p + 1 == n)
                items.append(QStringView());
            ++p;
            while (p < n && isBlank(text[p]))
                ++p;
        }
    }
}

void appendCommaItem(QString& out, QStringView item)
{
    if (!needsQuotes(item)) {
        out += item;
        return;
    }
    out += QLatin1Char('"');
    for (const QChar c : item) {
        if (c == QLatin1Char('"'))
            out += QLatin1Char('"');
        out += c;
    }
    out += QLatin1Char('"');
}

QString writeCommaList(const QStringList& items)
{
    if (items.size() == 1 && items.first().isEmpty())
        return QStringLiteral("\"\"");
    QString out;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        const QString& item = items.at(i);
        if (needsQuotes(item)) {
            QString q = item;
            q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            out += QLatin1Char('"') + q + QLatin1Char('"');
        } else {
            out += item;
        }
    }
    return out;
}

QString getCommaItem(const QString& list, int index)
{
    if (index < 0)
        indexError(index);
    const QStringList items = readCommaList(list);
    if (index < items.size())
        return trimBlanks(items.at(index));
    return trimBlanks(list);
}

void setCommaItem(QString& list, int index, const QString& value)
{
    QStringList items = readCommaList(list);
    if (index < 0 || index >= items.size())
        indexError(index);
    items[index] = value;
    list = writeCommaList(items);
}

QString delCommaItem(const QString& list, int index)
{
    QStringList items = readCommaList(list);
    if (index < 0 || index >= items.size())
        indexError(index);
    items.removeAt(index);
    return writeCommaList(items);
}

int commaCount(const QString& list)
{
    if (trimBlanks(list).isEmpty())
        return 0;
    return int(readCommaList(list).size());
}

int commaIndexOf(const QString& list, const QString& item)
{
    return int(readCommaList(list).indexOf(item));
}

QString commaSum(const QString& list)
{
    // The list is read once: reading it again for every item made long rows
    // (one quantity per period) quadratic.
    qint64 sum = 0;
    if (commaCount(list) == 0)
        return QStringLiteral("0");
    for (const QString& item : readCommaList(list))
        sum += strToIntDef(item, 0);
    return QString::number(sum);
}

QString addCommaItem(const QString& item, const QString& list)
{
    QStringList items = readCommaList(list);
    sortTextList(items);
    const bool present = std::any_of(items.cbegin(), items.cend(), [&](const QString& s) {
        return s.compare(item, Qt::CaseInsensitive) == 0;
    });
    if (!present)
        items << item;
    return writeCommaList(items);
}

QString uniqueName(const QString& base, const QString& list)
{
    if (commaIndexOf(list, base) < 0)
        return base;
    const QStringList items = readCommaList(list);
    for (qint64 i = 1;; ++i) {
        const QString candidate = base + QString::number(i);
        if (!items.contains(candidate))
            return candidate;
    }
}

int compareText(const QString& a, const QString& b)
{
    return compareTexts(textCollator(), a, b);
}

void sortTextList(QStringList& list)
{
    // Texts the collator holds equal (case only) fall back to their code
    // points, so the result never depends on the input order.
    const QCollator& c = textCollator();
    const bool numeric = std::all_of(list.cbegin(), list.cend(), plainNumeric);
    if (numeric || list.size() < 32) {
        std::stable_sort(list.begin(), list.end(), [&c](const QString& a, const QString& b) {
            const int r = compareTexts(c, a, b);
            if (r != 0)
                return r < 0;
            return a < b;
        });
        return;
    }
    // Long lists (the tallies of a period, thousands of rows) are sorted on
    // collation keys made once per text instead of collating at every compare.
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keyed;
    keyed.reserve(size_t(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        keyed.emplace_back(c.sortKey(list.at(i)), i);
    std::stable_sort(keyed.begin(), keyed.end(), [&list](const auto& a, const auto& b) {
        const int r = a.first.compare(b.first);
        if (r != 0)
            return r < 0;
        return list.at(a.second) < list.at(b.second);
    });
    QStringList sorted;
    sorted.reserve(list.size());
    for (const auto& k : keyed)
        sorted << list.at(k.second);
    list = std::move(sorted);
}

bool tryStrToInt(QStringView text, int& value)
{
    const auto [from, n] = blankTrimmed(text);
    const QStringView t = text.mid(from, n); // trimBlanks, without a copy
    qsizetype p = 0;
    bool negative = false;
    if (p < t.size() && (t.at(p) == QLatin1Char('+') || t.at(p) == QLatin1Char('-'))) {
        negative = t.at(p) == QLatin1Char('-');
        ++p;
    }
    if (p >= t.size())
        return false;
    qint64 v = 0;
    for (; p < t.size(); ++p) {
        const char16_t c = t.at(p).unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    value = int(v);
    return true;
}

int strToInt(const QString& text)
{
    int v = 0;
    if (!tryStrToInt(text, v))
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

int strToIntDef(QStringView text, int fallback)
{
    int v = 0;
    return tryStrToInt(text, v) ? v : fallback;
}

int compareNum(const QString& a, const QString& b)
{
    const qint64 d = qint64(strToIntDef(a, 0)) - qint64(strToIntDef(b, 0));
    return int(std::clamp<qint64>(d, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString formatMoney(const QString& text)
{
    return Money::parse(text).format();
}

QString stripDollar(const QString& text)
{
    QString s = text;
    const qsizetype p = s.indexOf(QLatin1Char('$'));
    if (p >= 0)
        s.remove(p, 1);
    return s;
}

QString twoDigits(int n)
{
    const QString s = QString::number(n);
    if (n >= 0 && n <= 9)
        return QLatin1Char('0') + s;
    return s.right(2);
}

void monthName(int language, int month, QString& text)
{
    static const std::array<const char16_t*, 12> names = {
        u"janvier", u"fevrier", u"mars", u"avril", u"mai_", u"juin",
        u"juillet", u"aout", u"septembre", u"octobre", u"novembre", u"décembre"};
    if (language != 1 || month < 1 || month > 12)
        return;
    text = QString::fromUtf16(names[std::size_t(month - 1)]);
}

QString cutAtDot(const QString& text)
{
    const QString t = trimBlanks(text);
    const qsizetype p = t.indexOf(QLatin1Char('.'));
    return p < 0 ? t : t.left(p);
}

QString dequote(const QString& text)
{
    if (!text.startsWith(QLatin1Char('"')))
        return QString();
    qsizetype p = 0;
    return readQuoted(text, p);
}

QString countOf(qint64 n, const QString& one, const QString& many)
{
    return QString::number(n) + QLatin1Char(' ') + (n >= -1 && n <= 1 ? one : many);
}

QString dateStr(const QDate& date)
{
    return date.toString(QStringLiteral("yyMMdd"));
}

QString todayStr()
{
    return dateStr(QDate::currentDate());
}

bool isDay(const QString& text)
{
    return strToDate(text).isValid();
}

QDate strToDate(const QString& text)
{
    if (text.size() != 6)
        return QDate();
    int v[3] = {0, 0, 0};
    for (int i = 0; i < 6; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return QDate();
        v[i / 2] = v[i / 2] * 10 + (c - u'0');
    }
    return QDate(2000 + v[0], v[1], v[2]);
}

QString reportCharProblem(const QString& text)
{
    // Every record of a file goes through here on loading: most texts hold
    // no control character, surrogate or U+FFFE/U+FFFF at all.
    char16_t odd = 0;
    for (const char16_t u : std::u16string_view(QStringView(text).utf16(), size_t(text.size()))) // a vector loop
        odd |= char16_t((u < 0x20) | ((u & 0xF800) == 0xD800) | (u >= 0xFFFE));
    if (!odd)
        return QString();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || c.isSurrogate() || u == 0xFFFE
            || u == 0xFFFF)
            return QStringLiteral("Le texte contient le caractère U+%1, qu'un rapport ne peut pas "
                                  "contenir : retirez-le.")
                .arg(QStringLiteral("%1").arg(uint(u), 4, 16, QLatin1Char('0')).toUpper());
    }
    return QString();
}

QString frenchDate(const QString& yymmdd)
{
    static const char* const months[] = {"janvier", "février", "mars", "avril", "mai", "juin",
                                         "juillet", "août", "septembre", "octobre", "novembre",
                                         "décembre"};
    bool ok = false;
    const int n = yymmdd.toInt(&ok);
    if (yymmdd.size() != 6 || !ok)
        return yymmdd;
    const QDate d(2000 + n / 10000, n / 100 % 100, n % 100);
    if (!d.isValid())
        return yymmdd;
    return QStringLiteral("%1 %2 %3").arg(d.day()).arg(QString::fromUtf8(months[d.month() - 1])).arg(d.year());
}
