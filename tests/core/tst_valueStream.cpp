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

// What f writes; without a flush() call, so the writer's end must write what it holds.
QByteArray written(const std::function<void(TWriter&)>& f)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    {
        TWriter w(buf);
        f(w);
    }
    return out;
}

QByteArray hex(const char* h)
{
    return QByteArray::fromHex(h);
}

// A reader over its own copy of some bytes.
struct Reading {
    explicit Reading(const QByteArray& bytes) : data(bytes) { buf.open(QIODevice::ReadOnly); }
    QByteArray data;
    QBuffer buf{&data};
    TReader r{buf};
};

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
    void randomRoundTrip();
};

void TstValueStream::integerBytes_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");
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
    QCOMPARE(Reading(bytes).r.readInteger(), value);
}

void TstValueStream::stringBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("abc") << u"abc"_s << hex("0603616263");
    QTest::newRow("empty") << QString() << hex("0600");
    QTest::newRow("e-acute") << u"é"_s << hex("1402000000C3A9");
    QTest::newRow("euro counts utf8 bytes") << u"a€"_s << hex("140400000061E282AC");
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
    QCOMPARE(Reading(bytes).r.readString(), text);
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
    Reading in(bytes);
    QCOMPARE(in.r.readString(), text);
    QCOMPARE(in.r.position(), bytes.size());
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
    Reading in(bytes);
    const std::function<void()> reads[] = {[&] { (void)in.r.readInteger(); }, [&] { (void)in.r.readString(); },
                                           [&] { in.r.readListBegin(); }, [&] { in.r.readListEnd(); }};
    QVERIFY_THROWS_EXCEPTION(ReadError, reads[kind]());
}

void TstValueStream::shortStreamsAreReadErrors()
{
    for (const char* h : {"", "03", "032C", "04701101"})
        QVERIFY_THROWS_EXCEPTION(ReadError, (void)Reading(hex(h)).r.readInteger());
    for (const char* h : {"060361", "0C0300", "0C0300000061", "1402000000C3", "120100000041", "06"})
        QVERIFY_THROWS_EXCEPTION(ReadError, (void)Reading(hex(h)).r.readString());
    QVERIFY_THROWS_EXCEPTION(ReadError, (void)Reading({}).r.endOfList());
    QVERIFY_THROWS_EXCEPTION(ReadError, Reading({}).r.readListBegin());
}

void TstValueStream::hugeLengthIsReadErrorWithoutAllocation()
{
    // Lengths of 2 GB, and a wide string whose byte count would overflow 32 bits;
    // a negative length is refused too.
    for (const char* h : {"0CFFFFFF7F41", "14FFFFFF7F41", "12FFFFFF7F4100", "0CFFFFFFFF41"})
        QVERIFY_THROWS_EXCEPTION(ReadError, (void)Reading(hex(h)).r.readString());
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
    Reading in(hex("0106016100"));
    TReader& r = in.r;
    r.readListBegin();
    QVERIFY(!r.endOfList() && !r.endOfList()); // peeking twice consumes nothing
    QCOMPARE(r.readString(), u"a"_s);
    QVERIFY(r.endOfList() && r.endOfList());
    r.readListEnd();
    QVERIFY_THROWS_EXCEPTION(ReadError, r.endOfList());
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
            const qint32 extremes[] = {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
            const qint32 widths[] = {qint32(rng.bounded(-128, 128)), qint32(rng.bounded(-32768, 32768)),
                                     qint32(rng.generate()), extremes[rng.bounded(2)]};
            values.append({Int, widths[rng.bounded(4)], {}});
        } else if (k < 8) {
            static const int lengths[] = {0, 1, 254, 255, 256, 257, 5000, 70000};
            const int len = rng.bounded(3) ? rng.bounded(300) : lengths[rng.bounded(8)];
            const int range = rng.bounded(4); // ASCII, Latin-1, cp1252 extras, anything BMP + pairs
            QString s;
            for (int c = 0; c < len; ++c) {
                if (range == 3 && rng.bounded(20) == 0 && c + 1 < len) {
                    s += u"\U0001F600"_s; // a surrogate pair
                    ++c;
                    continue;
                }
                const char16_t chars[] = {char16_t(rng.bounded(0, 0x80)), char16_t(rng.bounded(0, 0x100)),
                                          rng.bounded(2) ? u'\u20AC' : u'\u0153', char16_t(rng.bounded(0x20, 0xD800))};
                s += QChar(chars[range]);
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
    Reading in(bytes);
    TReader& r = in.r;
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
