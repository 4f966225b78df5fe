#include "core/cp1252.h"

#include <array>

namespace {

// Characters of bytes 0x80..0x9F; the five unassigned bytes map to their own
// code point so that every byte survives a decode/encode round trip.
constexpr std::array<char16_t, 32> high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

// The byte of c, or -1 when Windows-1252 has none.
int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < high.size(); ++i) {
        if (high[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

} // namespace

namespace cp1252 {

bool fits(QChar c)
{
    return byteOf(c.unicode()) >= 0;
}

bool fits(const QString& text)
{
    for (const QChar c : text) {
        if (!fits(c))
            return false;
    }
    return true;
}

QByteArray encode(const QString& text, bool* ok)
{
    // One byte per character, written in place: reports run to megabytes.
    QByteArray out(text.size(), Qt::Uninitialized);
    char* to = out.data();
    bool all = true;
    for (const QChar c : text) {
        const int b = byteOf(c.unicode());
        all = all && b >= 0;
        *to++ = b < 0 ? '?' : char(b);
    }
    if (ok)
        *ok = all;
    return out;
}

QString decode(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        d[i] = (b >= 0x80 && b <= 0x9F) ? QChar(high[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

QString decode(const QByteArray& bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QString fixC1Controls(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= 0x80 && u <= 0x9F)
            c = QChar(high[u - 0x80]);
    }
    return out;
}

} // namespace cp1252
