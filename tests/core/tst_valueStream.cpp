// The tagged value stream: exact bytes of every value form, what the reader
// accepts and refuses, and random round trips.

#include "core/appError.h"
#include "core/valueStream.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

#include <cstring>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

QByteArray written(const std::function<void(TWriter&)>& f)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    {
        TWriter w(buf);
        f(w);
        w.flush();
    }
    return out;
}

QByteArray hex(const char* h)
{
    return QByteArray::fromHex(h);
}

} // namespace

class TstValueStream : public QObject {
    Q_OBJECT

private slots:
    void integerBytes_data();
    void integerBytes();
    void stringBytes_data();
    void stringBytes();
    void listMarkers();
    void readerAcceptsEveryStringForm_data();
    void readerAcceptsEveryStringForm();
    void readerRefusesWrongTags_data();
    void readerRefusesWrongTags();
    void shortStreamsAreReadErrors();
    void hugeLengthIsReadErrorWithoutAllocation();
    void hugeLengthOnSequentialDevice();
    void endOfListPeeks();
    void writerBuffersInBlocks();
    void randomRoundTrip();
};

void TstValueStream::integerBytes_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("2") << 2 << hex("0202");
    QTest::newRow("300") << 300 << hex("032C01");
    QTest::newRow("-1") << -1 << hex("02FF");
    QTest::newRow("70000") << 70000 << hex("0470110100");
    QTest::newRow("0") << 0 << hex("0200");
    QTest::newRow("127") << 127 << hex("027F");
    QTest::newRow("128") << 128 << hex("038000");
    QTest::newRow("-128") << -128 << hex("0280");
    QTest::newRow("-129") << -129 << hex("037FFF");
    QTest::newRow("32767") << 32767 << hex("03FF7F");
    QTest::newRow("32768") << 32768 << hex("0400800000");
    QTest::newRow("-32768") << -32768 << hex("030080");
    QTest::newRow("-32769") << -32769 << hex("04FF7FFFFF");
    QTest::newRow("max") << std::numeric_limits<int>::max() << hex("04FFFFFF7F");
    QTest::newRow("min") << std::numeric_limits<int>::min() << hex("0400000080");
}

void TstValueStream::integerBytes()
{
    QFETCH(int, value);
    QFETCH(QByteArray, bytes);
    QCOMPARE(written([&](TWriter& w) { w.writeInteger(value); }).toHex(), bytes.toHex());
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TReader r(in);
    QCOMPARE(r.readInteger(), value);
}

void TstValueStream::stringBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("abc") << u"abc"_s << hex("0603616263");
    QTest::newRow("empty") << QString() << hex("0600");
    QTest::newRow("e-acute") << u"é"_s << hex("1402000000C3A9");
    QTest::newRow("euro counts utf8 bytes") << u"a€"_s << hex("140400000061E282AC");
    QTest::newRow("beyond cp1252") << u"\u4E2D"_s << hex("1403000000E4B8AD");
    QTest::newRow("255") << QString(255, u'x') << (hex("06FF") + QByteArray(255, 'x'));
    QTest::newRow("256") << QString(256, u'x') << (hex("0C00010000") + QByteArray(256, 'x'));
    QTest::newRow("300 with accent")
        << (QString(299, u'x') + u'é') << (hex("142D010000") + QByteArray(299, 'x') + hex("C3A9"));
}

void TstValueStream::stringBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const QByteArray out = written([&](TWriter& w) { w.writeString(text); });
    QCOMPARE(out.left(16).toHex(), bytes.left(16).toHex());
    QCOMPARE(out, bytes);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TReader r(in);
    QCOMPARE(r.readString(), text);
}

void TstValueStream::listMarkers()
{
    QCOMPARE(written([](TWriter& w) {
                 w.writeListBegin();
                 w.writeListEnd();
             }),
             hex("0100"));
}

void TstValueStream::readerAcceptsEveryStringForm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    // 8-bit strings are Windows-1252: 0x80 is the euro sign, 0xE9 is é.
    QTest::newRow("short cp1252") << hex("060380E961") << u"€éa"_s;
    QTest::newRow("long cp1252") << hex("0C0300000080E961") << u"€éa"_s;
    QTest::newRow("wide") << hex("120200000041002C20") << u"A\u202C"_s;
    QTest::newRow("wide empty") << hex("1200000000") << QString();
    QTest::newRow("utf8") << hex("1402000000C3A9") << u"é"_s;
    QTest::newRow("utf8 empty") << hex("1400000000") << QString();
    QTest::newRow("undefined cp1252 byte kept") << hex("060181") << QString(QChar(0x81));
}

void TstValueStream::readerAcceptsEveryStringForm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TReader r(in);
    QCOMPARE(r.readString(), text);
    QCOMPARE(r.position(), bytes.size());
}

void TstValueStream::readerRefusesWrongTags_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind"); // 0 integer, 1 string, 2 list begin, 3 list end
    QTest::newRow("string where integer") << hex("0600") << 0;
    QTest::newRow("float where integer") << hex("05000000000000000000") << 0;
    QTest::newRow("int64 where integer") << hex("130100000000000000") << 0;
    QTest::newRow("list where integer") << hex("01") << 0;
    QTest::newRow("integer where string") << hex("0202") << 1;
    QTest::newRow("boolean where string") << hex("08") << 1;
    QTest::newRow("end where string") << hex("00") << 1;
    QTest::newRow("end where list begin") << hex("00") << 2;
    QTest::newRow("string where list end") << hex("0600") << 3;
}

void TstValueStream::readerRefusesWrongTags()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TReader r(in);
    switch (kind) {
    case 0:
        QVERIFY_THROWS_EXCEPTION(ReadError, r.readInteger());
        break;
    case 1:
        QVERIFY_THROWS_EXCEPTION(ReadError, r.readString());
        break;
    case 2:
        QVERIFY_THROWS_EXCEPTION(ReadError, r.readListBegin());
        break;
    default:
        QVERIFY_THROWS_EXCEPTION(ReadError, r.readListEnd());
        break;
    }
}

void TstValueStream::shortStreamsAreReadErrors()
{
    const QList<QByteArray> cuts = {hex(""),         hex("03"),       hex("032C"),
                                    hex("04701101"), hex("060361"), hex("0C0300"),
                                    hex("0C0300000061"),             hex("1402000000C3"),
                                    hex("120100000041"),              hex("06")};
    for (QByteArray bytes : cuts) {
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        TReader r(in);
        const bool isInt = bytes.startsWith('\x03') || bytes.startsWith('\x04') || bytes.isEmpty();
        if (isInt)
            QVERIFY_THROWS_EXCEPTION(ReadError, r.readInteger());
        else
            QVERIFY_THROWS_EXCEPTION(ReadError, r.readString());
    }
    QByteArray empty;
    QBuffer in(&empty);
    in.open(QIODevice::ReadOnly);
    TReader r(in);
    QVERIFY_THROWS_EXCEPTION(ReadError, r.endOfList());
    QVERIFY_THROWS_EXCEPTION(ReadError, r.readListBegin());
}

void TstValueStream::hugeLengthIsReadErrorWithoutAllocation()
{
    // Lengths of 2 GB, and a wide string whose byte count would overflow 32 bits;
    // a negative length is refused too.
    for (const char* h : {"0CFFFFFF7F41", "14FFFFFF7F41", "12FFFFFF7F4100", "0CFFFFFFFF41"}) {
        QByteArray bytes = hex(h);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        TReader r(in);
        QVERIFY_THROWS_EXCEPTION(ReadError, r.readString());
    }
}

// A stream whose size is unknown (a pipe): its bytes come a few at a time.
class Trickle : public QIODevice {
public:
    explicit Trickle(QByteArray data) : m_data(std::move(data)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 readCalls = 0;

protected:
    qint64 readData(char* out, qint64 max) override
    {
        ++readCalls;
        const qint64 n = std::min<qint64>({max, 7, m_data.size() - m_pos});
        std::memcpy(out, m_data.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

void TstValueStream::hugeLengthOnSequentialDevice()
{
    // The reader cannot know what remains: it must grow with what arrives and
    // fail at the end, never reserve the 2 GB announced.
    Trickle dev(hex("0CFFFFFF7F") + QByteArray(10000, 'x'));
    TReader r(dev);
    QVERIFY_THROWS_EXCEPTION(ReadError, r.readString());

    Trickle good(hex("0C10270000") + QByteArray(10000, 'y') + hex("0202"));
    TReader g(good);
    QCOMPARE(g.readString(), QString(10000, u'y'));
    QCOMPARE(g.readInteger(), 2);
}

void TstValueStream::endOfListPeeks()
{
    QByteArray bytes = hex("01060161") + hex("00");
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TReader r(in);
    r.readListBegin();
    QVERIFY(!r.endOfList());
    QVERIFY(!r.endOfList());
    QCOMPARE(r.readString(), u"a"_s);
    QVERIFY(r.endOfList());
    QVERIFY(r.endOfList());
    r.readListEnd();
    QVERIFY_THROWS_EXCEPTION(ReadError, r.endOfList());
}

// Records every write the writer makes to its device.
class WriteLog : public QBuffer {
public:
    QList<qint64> sizes;

protected:
    qint64 writeData(const char* data, qint64 len) override
    {
        sizes << len;
        return QBuffer::writeData(data, len);
    }
};

void TstValueStream::writerBuffersInBlocks()
{
    WriteLog dev;
    dev.open(QIODevice::WriteOnly);
    {
        TWriter w(dev);
        for (int i = 0; i < 3000; ++i)
            w.writeString(u"abcdef"_s); // 8 bytes each, 24000 in all
        QVERIFY(dev.sizes.size() == 5);
    } // the rest is flushed on destruction
    QCOMPARE(dev.sizes, (QList<qint64>{4096, 4096, 4096, 4096, 4096, 3520}));
    QCOMPARE(dev.data().size(), 24000);
}

void TstValueStream::randomRoundTrip()
{
    QRandomGenerator rng(20090518);
    enum Kind { Int, Str, Begin, End };
    struct Value {
        Kind kind;
        qint32 i = 0;
        QString s;
    };
    QList<Value> values;
    for (int n = 0; n < 4000; ++n) {
        const int k = rng.bounded(10);
        if (k < 4) {
            // Every width: small, 16-bit, 32-bit, and the extremes.
            const int width = rng.bounded(4);
            qint32 v = width == 0 ? qint32(rng.bounded(-128, 128))
                     : width == 1 ? qint32(rng.bounded(-32768, 32768))
                     : width == 2 ? qint32(rng.generate())
                                  : (rng.bounded(2) ? std::numeric_limits<qint32>::min()
                                                    : std::numeric_limits<qint32>::max());
            values.append({Int, v, {}});
        } else if (k < 8) {
            static const int lengths[] = {0, 1, 254, 255, 256, 257, 5000, 70000};
            const int len = rng.bounded(3) ? rng.bounded(300) : lengths[rng.bounded(8)];
            const int range = rng.bounded(4); // ASCII, Latin-1, cp1252 extras, anything BMP + pairs
            QString s;
            s.reserve(len);
            for (int c = 0; c < len; ++c) {
                char16_t u = 0;
                switch (range) {
                case 0: u = char16_t(rng.bounded(0, 0x80)); break;
                case 1: u = char16_t(rng.bounded(0, 0x100)); break;
                case 2: u = rng.bounded(2) ? u'\u20AC' : u'\u0153'; break;
                default:
                    if (rng.bounded(20) == 0 && c + 1 < len) {
                        s += QChar(0xD83D);
                        u = 0xDE00;
                        ++c;
                    } else {
                        u = char16_t(rng.bounded(0x20, 0xD800));
                    }
                }
                s += QChar(u);
            }
            values.append({Str, 0, s});
        } else {
            values.append({k == 8 ? Begin : End, 0, {}});
        }
    }
    const QByteArray bytes = written([&](TWriter& w) {
        for (const Value& v : std::as_const(values)) {
            switch (v.kind) {
            case Int: w.writeInteger(v.i); break;
            case Str: w.writeString(v.s); break;
            case Begin: w.writeListBegin(); break;
            case End: w.writeListEnd(); break;
            }
        }
    });
    QByteArray copy = bytes;
    QBuffer in(&copy);
    in.open(QIODevice::ReadOnly);
    TReader r(in);
    for (const Value& v : std::as_const(values)) {
        switch (v.kind) {
        case Int: QCOMPARE(r.readInteger(), v.i); break;
        case Str: QCOMPARE(r.readString(), v.s); break;
        case Begin: QVERIFY(!r.endOfList()); r.readListBegin(); break;
        case End: QVERIFY(r.endOfList()); r.readListEnd(); break;
        }
    }
    QCOMPARE(r.position(), bytes.size());
}

QTEST_GUILESS_MAIN(TstValueStream)
#include "tst_valueStream.moc"
