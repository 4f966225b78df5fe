#include "core/money.h"

#include "core/appError.h"

#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

// Rounds |units| to a multiple of 100 ten-thousandths, half away from zero,
// and returns hundredths.
qint64 hundredths(qint64 units)
{
    const bool negative = units < 0;
    // Work on the unsigned magnitude so the most negative value cannot overflow.
    const quint64 mag = negative ? quint64(0) - quint64(units) : quint64(units);
    const quint64 r = (mag + 50) / 100;
    return negative ? -qint64(r) : qint64(r);
}

} // namespace

std::optional<Money> Money::tryParse(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text.at(b)))
        ++b;
    while (e > b && isBlank(text.at(e - 1)))
        --e;
    if (b == e)
        return std::nullopt;

    bool negative = false;
    if (text.at(b) == QLatin1Char('-') || text.at(b) == QLatin1Char('+')) {
        negative = text.at(b) == QLatin1Char('-');
        ++b;
    }

    constexpr quint64 limit = quint64(std::numeric_limits<qint64>::max());
    quint64 whole = 0;
    quint64 frac = 0; // ten-thousandths
    int fracDigits = 0;
    bool roundUp = false;
    bool seenDot = false;
    bool anyDigit = false;
    for (qsizetype p = b; p < e; ++p) {
        const char16_t c = text.at(p).unicode();
        if (c == u'.') {
            if (seenDot)
                return std::nullopt;
            seenDot = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        anyDigit = true;
        const unsigned d = c - u'0';
        if (!seenDot) {
            whole = whole * 10 + d;
            if (whole > limit / quint64(Scale))
                return std::nullopt;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else if (fracDigits == 4) {
            roundUp = d >= 5; // only the fifth decimal decides: half away from zero
            ++fracDigits;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    for (int i = fracDigits; i < 4; ++i)
        frac *= 10;
    quint64 mag = whole * quint64(Scale) + frac + (roundUp ? 1 : 0);
    if (mag > limit)
        return std::nullopt;
    const qint64 v = negative ? -qint64(mag) : qint64(mag);
    return fromUnits(v);
}

Money Money::parse(QStringView text)
{
    return tryParse(text).value_or(Money());
}

namespace {

// "-123.4567" with decimals digits after the dot (trailing zeros beyond
// minDecimals dropped), written into one buffer: amounts are printed once
// per sale row of every report.
char* writeDigits(char* end, bool negative, quint64 whole, quint64 frac, int decimals, int minDecimals, bool dollar)
{
    char* p = end;
    if (dollar)
        *--p = '$';
    char fracDigits[4];
    for (int k = decimals - 1; k >= 0; --k) {
        fracDigits[k] = char('0' + frac % 10);
        frac /= 10;
    }
    int keep = decimals;
    while (keep > minDecimals && fracDigits[keep - 1] == '0')
        --keep;
    for (int k = keep - 1; k >= 0; --k)
        *--p = fracDigits[k];
    *--p = '.';
    do {
        *--p = char('0' + whole % 10);
        whole /= 10;
    } while (whole);
    if (negative)
        *--p = '-';
    return p;
}

QString digitsText(bool negative, quint64 whole, quint64 frac, int decimals, int minDecimals, bool dollar)
{
    char buf[48];
    const char* p = writeDigits(buf + sizeof buf, negative, whole, frac, decimals, minDecimals, dollar);
    return QString::fromLatin1(p, buf + sizeof buf - p);
}

void appendDigits(QString& out, bool negative, quint64 whole, quint64 frac, int decimals, int minDecimals, bool dollar)
{
    char buf[48];
    const char* p = writeDigits(buf + sizeof buf, negative, whole, frac, decimals, minDecimals, dollar);
    out += QLatin1StringView(p, buf + sizeof buf - p);
}

} // namespace

QString Money::plain() const
{
    const qint64 h = hundredths(m_units);
    const quint64 mag = h < 0 ? quint64(0) - quint64(h) : quint64(h);
    return digitsText(h < 0, mag / 100, mag % 100, 2, 2, false);
}

QString Money::formatExact() const
{
    const quint64 mag = m_units < 0 ? quint64(0) - quint64(m_units) : quint64(m_units);
    return digitsText(m_units < 0, mag / quint64(Scale), mag % quint64(Scale), 4, 2, true);
}

void Money::appendFormatExact(QString& out) const
{
    const quint64 mag = m_units < 0 ? quint64(0) - quint64(m_units) : quint64(m_units);
    appendDigits(out, m_units < 0, mag / quint64(Scale), mag % quint64(Scale), 4, 2, true);
}

QString Money::plainExact() const
{
    const quint64 mag = m_units < 0 ? quint64(0) - quint64(m_units) : quint64(m_units);
    return digitsText(m_units < 0, mag / quint64(Scale), mag % quint64(Scale), 4, 2, false);
}

Money Money::roundedToCent() const
{
    return fromUnits(hundredths(m_units) * 100);
}

Money Money::percentOf(int percent) const
{
    // units x percent / 100 is in ten-thousandths; to the cent is / 10000.
    qint64 scaled = 0;
    if (__builtin_mul_overflow(m_units, qint64(percent), &scaled))
        overflow();
    const bool negative = scaled < 0;
    const quint64 mag = negative ? quint64(0) - quint64(scaled) : quint64(scaled);
    const qint64 cents = qint64((mag + 5000) / 10000);
    return fromUnits((negative ? -cents : cents) * 100);
}

QString Money::format() const
{
    const qint64 h = hundredths(m_units);
    const quint64 mag = h < 0 ? quint64(0) - quint64(h) : quint64(h);
    return digitsText(h < 0, mag / 100, mag % 100, 2, 2, true);
}

void Money::appendFormat(QString& out) const
{
    const qint64 h = hundredths(m_units);
    const quint64 mag = h < 0 ? quint64(0) - quint64(h) : quint64(h);
    appendDigits(out, h < 0, mag / 100, mag % 100, 2, 2, true);
}

QString Money::overflowMessage()
{
    return QStringLiteral("Montant trop grand : le calcul dépasse 922337203685477.58$.");
}

void Money::overflow()
{
    throw RangeError(overflowMessage(), QStringLiteral("amount too large: beyond 922337203685477.58$"));
}
