#pragma once
// The tagged value stream of the database file: integers, strings and list
// markers, written and read front to back through a 4096-byte buffer.

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Whether a string value holds text exactly: false for a lone UTF-16
// surrogate, which has no UTF-8 form.
bool isStorable(QStringView text);

// Common base of the writer and the reader: the device and the buffer.
class TFiler {
public:
    static constexpr int BufferSize = 4096;
    explicit TFiler(QIODevice& device) : m_device(device) {}
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

protected:
    QIODevice& m_device;
    QByteArray m_buffer;
};

class TWriter : public TFiler {
public:
    explicit TWriter(QIODevice& device);
    // Flushes what is left; errors there are lost, so call flush() first.
    ~TWriter();

    void writeInteger(qint32 value);   // smallest of tags 0x02, 0x03, 0x04
    void writeString(const QString& text); // 0x06 / 0x0C for ASCII, 0x14 UTF-8 otherwise
    void writeListBegin();
    void writeListEnd();
    // Writes the buffer to the device; raises AppError with the device's error.
    void flush();
    // Values another writer encoded (into memory), written as they are.
    void writeEncoded(const QByteArray& bytes);

private:
    void put(const char* data, qsizetype size);
    void putByte(quint8 b) { put(reinterpret_cast<const char*>(&b), 1); }
    // After a failed write: raises AppError with the device's error.
    [[noreturn]] void failWrite();
    bool m_failed = false; // a flush failed: the destructor must not write again
};

class TReader : public TFiler {
public:
    explicit TReader(QIODevice& device);

    // Each raises ReadError on a wrong tag, a short stream or a length field
    // larger than what remains.
    qint32 readInteger();
    // 0x06, 0x0C (Windows-1252), 0x12 (UTF-16LE), 0x14 (UTF-8). Half a
    // surrogate pair in UTF-16 text (an emoji cut in two by an older key)
    // becomes U+FFFD, counted in mendedChars(), so the file loads and saves.
    QString readString();
    void readListBegin();
    void readListEnd();
    // True when the next value is the end-of-list marker (not consumed);
    // raises ReadError at the end of the stream.
    bool endOfList();
    // True when every byte of the stream has been read.
    bool atEnd();
    // Offset in the stream of the next byte to read (for error reports).
    qint64 position() const { return m_base + m_pos; }
    // Raises ReadError "Error reading file: <what> at byte <position>"; for
    // section readers that refuse a value they read.
    [[noreturn]] void fail(const QString& what) const;
    // Half characters readString has replaced so far.
    int mendedChars() const { return m_mended; }

private:
    // Larger than the writer's: a file is read in few calls.
    static constexpr int ReadBufferSize = 64 * 1024;
    // Loads the next block of the device into the buffer; false at its end.
    bool fill();
    quint8 takeByte();
    void takeRaw(char* dst, qsizetype size);
    QByteArray takeBytes(qint64 size);
    QString takeCp1252(qint64 size);
    qint32 takeLength();
    qsizetype m_pos = 0;  // next byte in m_buffer
    qint64 m_base = 0;    // stream offset of m_buffer's first byte
    int m_mended = 0;
};
