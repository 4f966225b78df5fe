#include "core/valueStream.h"

#include "core/appError.h"
#include "core/cp1252.h"
#include "core/wholeChars.h"

#include <QtEndian>
#include <algorithm>
#include <string_view>
#include <cstring>

namespace {

enum Tag : quint8 {
    TagEndOfList = 0x00,
    TagList = 0x01,
    TagInt8 = 0x02,
    TagInt16 = 0x03,
    TagInt32 = 0x04,
    TagString = 0x06,
    TagLString = 0x0C,
    TagWString = 0x12,
    TagUtf8String = 0x14,
};

// Without an early exit, so that the compiler makes it a vector loop.
bool isAscii(const QString& text)
{
    char16_t all = 0;
    for (const char16_t u : std::u16string_view(QStringView(text).utf16(), size_t(text.size())))
        all |= u;
    return all < 0x80;
}

} // namespace

bool isStorable(QStringView text)
{
    // Without an early exit, so that the compiler makes it a vector loop.
    char16_t surrogate = 0;
    for (const char16_t u : std::u16string_view(text.utf16(), size_t(text.size())))
        surrogate |= char16_t((u & 0xF800) == 0xD800);
    if (!surrogate)
        return true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

// --- TWriter -----------------------------------------------------------------

TWriter::TWriter(QIODevice& device) : TFiler(device)
{
    m_buffer.reserve(BufferSize);
}

TWriter::~TWriter()
{
    if (m_failed)
        return;
    try {
        flush();
    } catch (const AppError&) {
        // A destructor cannot report: callers that care call flush() first.
    }
}

void TWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    const qint64 n = m_device.write(m_buffer);
    const bool ok = n == m_buffer.size();
    m_buffer.resize(0);
    if (!ok)
        failWrite();
}

void TWriter::writeEncoded(const QByteArray& bytes)
{
    if (m_failed)
        throw AppError(QStringLiteral("Erreur d'écriture"));
    flush();
    if (!bytes.isEmpty() && m_device.write(bytes) != bytes.size())
        failWrite();
}

void TWriter::failWrite()
{
    m_failed = true;
    QString why = m_device.errorString();
    if (why.isEmpty())
        why = QStringLiteral("Erreur d'écriture");
    throw AppError(why);
}

void TWriter::put(const char* data, qsizetype size)
{
    if (m_failed)
        throw AppError(QStringLiteral("Erreur d'écriture"));
    while (size > 0) {
        if (m_buffer.size() == BufferSize)
            flush();
        const qsizetype k = std::min<qsizetype>(size, BufferSize - m_buffer.size());
        m_buffer.append(data, k);
        data += k;
        size -= k;
    }
}

void TWriter::writeInteger(qint32 value)
{
    char bytes[5];
    qsizetype n;
    if (value >= -128 && value <= 127) {
        bytes[0] = char(TagInt8);
        bytes[1] = char(qint8(value));
        n = 2;
    } else if (value >= -32768 && value <= 32767) {
        bytes[0] = char(TagInt16);
        qToLittleEndian<qint16>(qint16(value), bytes + 1);
        n = 3;
    } else {
        bytes[0] = char(TagInt32);
        qToLittleEndian<qint32>(value, bytes + 1);
        n = 5;
    }
    put(bytes, n);
}

void TWriter::writeString(const QString& text)
{
    char head[5];
    if (!isAscii(text)) {
        // Any other character goes as UTF-8, so nothing outside Windows-1252 is
        // lost; a lone surrogate has no UTF-8 form and is refused, not replaced.
        if (!isStorable(text))
            throw AppError(QStringLiteral("Erreur d'écriture : un texte contient un caractère "
                                          "incomplet (demi-paire UTF-16)"));
        const QByteArray utf8 = text.toUtf8();
        head[0] = char(TagUtf8String);
        qToLittleEndian<qint32>(qint32(utf8.size()), head + 1);
        put(head, 5);
        put(utf8.constData(), utf8.size());
        return;
    }
    if (text.size() <= 255) {
        head[0] = char(TagString);
        head[1] = char(quint8(text.size()));
        put(head, 2);
    } else {
        head[0] = char(TagLString);
        qToLittleEndian<qint32>(qint32(text.size()), head + 1);
        put(head, 5);
    }
    // ASCII: one byte per character, written straight into the buffer.
    const QChar* from = text.constData();
    qsizetype left = text.size();
    while (left > 0) {
        if (m_buffer.size() == BufferSize)
            flush();
        const qsizetype k = std::min<qsizetype>(left, BufferSize - m_buffer.size());
        const qsizetype at = m_buffer.size();
        m_buffer.resize(at + k);
        char* to = m_buffer.data() + at;
        for (qsizetype i = 0; i < k; ++i)
            to[i] = char(from[i].unicode());
        from += k;
        left -= k;
    }
}

void TWriter::writeListBegin()
{
    putByte(TagList);
}

void TWriter::writeListEnd()
{
    putByte(TagEndOfList);
}

// --- TReader -----------------------------------------------------------------

TReader::TReader(QIODevice& device) : TFiler(device)
{
}

void TReader::fail(const QString& what) const
{
    throw ReadError(QStringLiteral("Error reading file: %1 at byte %2").arg(what, QString::number(position())));
}

bool TReader::fill()
{
    m_base += m_buffer.size();
    m_buffer.resize(ReadBufferSize);
    m_pos = 0;
    const qint64 n = m_device.read(m_buffer.data(), ReadBufferSize);
    m_buffer.resize(n > 0 ? qsizetype(n) : 0);
    return n > 0;
}

quint8 TReader::takeByte()
{
    if (m_pos >= m_buffer.size() && !fill())
        fail(QStringLiteral("unexpected end of file"));
    return quint8(m_buffer.at(m_pos++));
}

void TReader::takeRaw(char* dst, qsizetype size)
{
    while (size > 0) {
        if (m_pos >= m_buffer.size() && !fill())
            fail(QStringLiteral("unexpected end of file"));
        const qsizetype k = std::min<qsizetype>(size, m_buffer.size() - m_pos);
        std::memcpy(dst, m_buffer.constData() + m_pos, size_t(k));
        m_pos += k;
        dst += k;
        size -= k;
    }
}

QByteArray TReader::takeBytes(qint64 size)
{
    // Never trust a length field: refuse one beyond the end of a file, and
    // otherwise grow the result only with bytes actually read.
    const qint64 buffered = m_buffer.size() - m_pos;
    if (size <= buffered) {
        // Nearly always: taken from the buffer, without asking the file its
        // size (a system call per text).
        QByteArray out(m_buffer.constData() + m_pos, qsizetype(size));
        m_pos += qsizetype(size);
        return out;
    }
    if (!m_device.isSequential()) {
        const qint64 remaining = buffered + std::max<qint64>(0, m_device.size() - m_device.pos());
        if (size > remaining)
            fail(QStringLiteral("length %1 beyond the end of file").arg(size));
    }
    QByteArray out;
    if (size <= buffered || !m_device.isSequential())
        out.reserve(qsizetype(size));
    while (out.size() < size) {
        if (m_pos >= m_buffer.size() && !fill())
            fail(QStringLiteral("unexpected end of file"));
        const qsizetype k = qsizetype(std::min<qint64>(size - out.size(), m_buffer.size() - m_pos));
        out.append(m_buffer.constData() + m_pos, k);
        m_pos += k;
    }
    return out;
}

qint32 TReader::takeLength()
{
    char b[4];
    takeRaw(b, 4);
    const qint32 n = qFromLittleEndian<qint32>(b);
    if (n < 0)
        fail(QStringLiteral("negative length"));
    return n;
}

qint32 TReader::readInteger()
{
    const quint8 tag = takeByte();
    char b[4];
    switch (tag) {
    case TagInt8:
        takeRaw(b, 1);
        return qint8(b[0]);
    case TagInt16:
        takeRaw(b, 2);
        return qFromLittleEndian<qint16>(b);
    case TagInt32:
        takeRaw(b, 4);
        return qFromLittleEndian<qint32>(b);
    default:
        --m_pos;
        fail(QStringLiteral("integer expected, tag 0x%1").arg(tag, 2, 16, QLatin1Char('0')));
    }
}

QString TReader::takeCp1252(qint64 size)
{
    // Decoded where it lies when the buffer holds it whole (nearly always).
    if (size <= m_buffer.size() - m_pos) {
        const QString text = cp1252::decode(m_buffer.constData() + m_pos, qsizetype(size));
        m_pos += qsizetype(size);
        return text;
    }
    return cp1252::decode(takeBytes(size));
}

QString TReader::readString()
{
    const quint8 tag = takeByte();
    switch (tag) {
    case TagString:
        return takeCp1252(takeByte());
    case TagLString:
        return takeCp1252(takeLength());
    case TagWString: {
        const qint64 units = takeLength();
        const QByteArray raw = takeBytes(units * 2);
        QString out(qsizetype(units), Qt::Uninitialized);
        for (qsizetype i = 0; i < units; ++i)
            out[i] = QChar(qFromLittleEndian<quint16>(raw.constData() + 2 * i));
        // A lone surrogate has no UTF-8 form and no reader could show it: it
        // is replaced now, and the loader says where.
        if (!isStorable(out))
            m_mended += mendHalfChars(out);
        return out;
    }
    case TagUtf8String: {
        // Decoding must not replace anything: the text is saved back as UTF-8
        // and has to give the very bytes read.
        // Valid UTF-8 decodes and encodes back to itself; only a leading
        // byte order mark might not, so that case is compared in full.
        const qint32 size = takeLength();
        QByteArray held;
        QByteArrayView bytes;
        if (size <= m_buffer.size() - m_pos) {
            // Decoded where it lies when the buffer holds it whole.
            bytes = QByteArrayView(m_buffer.constData() + m_pos, size);
            m_pos += size;
        } else {
            held = takeBytes(size);
            bytes = held;
        }
        if (!bytes.isValidUtf8())
            fail(QStringLiteral("invalid UTF-8 text"));
        QString out = QString::fromUtf8(bytes);
        if (bytes.startsWith("\xEF\xBB\xBF") && out.toUtf8() != bytes)
            fail(QStringLiteral("invalid UTF-8 text"));
        return out;
    }
    default:
        --m_pos;
        fail(QStringLiteral("string expected, tag 0x%1").arg(tag, 2, 16, QLatin1Char('0')));
    }
}

void TReader::readListBegin()
{
    const quint8 tag = takeByte();
    if (tag != TagList) {
        --m_pos;
        fail(QStringLiteral("list begin expected, tag 0x%1").arg(tag, 2, 16, QLatin1Char('0')));
    }
}

void TReader::readListEnd()
{
    const quint8 tag = takeByte();
    if (tag != TagEndOfList) {
        --m_pos;
        fail(QStringLiteral("list end expected, tag 0x%1").arg(tag, 2, 16, QLatin1Char('0')));
    }
}

bool TReader::atEnd()
{
    return m_pos >= m_buffer.size() && !fill();
}

bool TReader::endOfList()
{
    if (m_pos >= m_buffer.size() && !fill())
        fail(QStringLiteral("unexpected end of file"));
    return quint8(m_buffer.at(m_pos)) == TagEndOfList;
}
