// The tagged value stream: exact bytes of every value form, what the reader
// refuses, and random round trips across the buffer boundaries.

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

const auto hex = &QByteArray::fromHex;

// A reader over its own copy of some bytes.
struct Reading {
    explicit Reading(const QByteArray& bytes) : data(bytes) { buf.open(QIODevice::ReadOnly); }
    QByteArray data;
    QBuffer buf{&data};
    TReader r{buf};
};

// A pipe: its size is unknown and its bytes come a few at a time.
class Pipe : public QIODevice {
public:
    explicit Pipe(QByteArray data) : m_data(std::move(data)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* out, qint64 max) override
    {
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

} // namespace

class TstValueStream : public QObject {
    Q_OBJECT

private slots:
    void valueBytes_data()
    {
        QTest::addColumn<QVariant>("value"); // an int or a QString
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("written"); // false: a form only older files hold
        const int max = std::numeric_limits<int>::max();
        const int min = std::numeric_limits<int>::min();
        for (const auto& [v, h] : std::initializer_list<std::pair<int, const char*>>{
                 {0, "0200"}, {127, "027F"}, {128, "038000"}, {-128, "0280"}, {-129, "037FFF"},
                 {32767, "03FF7F"}, {32768, "0400800000"}, {-32768, "030080"}, {-32769, "04FF7FFFFF"},
                 {max, "04FFFFFF7F"}, {min, "0400000080"}})
            QTest::addRow("int %d", v) << QVariant(v) << hex(h) << true;
        QTest::newRow("abc") << QVariant(u"abc"_s) << hex("0603616263") << true;
        QTest::newRow("empty") << QVariant(QString()) << hex("0600") << true;
        QTest::newRow("euro counts utf8 bytes") << QVariant(u"a€"_s) << hex("140400000061E282AC") << true;
        QTest::newRow("255") << QVariant(QString(255, u'x')) << hex("06FF") + QByteArray(255, 'x') << true;
        QTest::newRow("256") << QVariant(QString(256, u'x')) << hex("0C00010000") + QByteArray(256, 'x') << true;
        QTest::newRow("300 with accent") << QVariant(QString(299, u'x') + u'é')
                                         << hex("142D010000") + QByteArray(299, 'x') + hex("C3A9") << true;
        // 8-bit strings are Windows-1252: 0x80 is the euro sign, 0xE9 is é.
        QTest::newRow("short cp1252") << QVariant(u"€éa"_s) << hex("060380E961") << false;
        QTest::newRow("long cp1252") << QVariant(u"€éa"_s) << hex("0C0300000080E961") << false;
        QTest::newRow("wide") << QVariant(u"A\u202C"_s) << hex("120200000041002C20") << false;
        QTest::newRow("wide empty") << QVariant(QString()) << hex("1200000000") << false;
        QTest::newRow("utf8 empty") << QVariant(QString()) << hex("1400000000") << false;
        QTest::newRow("undefined cp1252 byte kept") << QVariant(QString(QChar(0x81))) << hex("060181") << false;
    }

    void valueBytes()
    {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, written);
        const bool isInt = value.typeId() == QMetaType::Int;
        if (written)
            QCOMPARE(::written([&](TWriter& w) { isInt ? w.writeInteger(value.toInt()) : w.writeString(value.toString()); }).toHex(),
                     bytes.toHex());
        Reading in(bytes);
        QCOMPARE(isInt ? QVariant(in.r.readInteger()) : QVariant(in.r.readString()), value);
        QCOMPARE(in.r.position(), bytes.size());
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind"); // 0 integer, 1 string, 2 list begin, 3 list end, 4 end-of-list peek
        QTest::newRow("string where integer") << hex("0600") << 0;
        QTest::newRow("float where integer") << hex("05000000000000000000") << 0;
        QTest::newRow("list where integer") << hex("01") << 0;
        QTest::newRow("integer where string") << hex("0202") << 1;
        QTest::newRow("end where string") << hex("00") << 1;
        QTest::newRow("end where list begin") << hex("00") << 2;
        QTest::newRow("string where list end") << hex("0600") << 3;
        for (const char* h : {"", "03", "032C", "04701101"})
            QTest::addRow("short integer %s", h) << hex(h) << 0;
        for (const char* h : {"06", "060361", "0C0300", "0C0300000061", "1402000000C3", "120100000041"})
            QTest::addRow("short string %s", h) << hex(h) << 1;
        QTest::newRow("empty list begin") << QByteArray() << 2;
        QTest::newRow("empty peek") << QByteArray() << 4;
        // Lengths of 2 GB (no allocation may follow them) and a negative one.
        for (const char* h : {"0CFFFFFF7F41", "14FFFFFF7F41", "12FFFFFF7F4100", "0CFFFFFFFF41"})
            QTest::addRow("length %s", h) << hex(h) << 1;
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        Reading in(bytes);
        const std::function<void()> reads[] = {[&] { (void)in.r.readInteger(); }, [&] { (void)in.r.readString(); },
                                               [&] { in.r.readListBegin(); }, [&] { in.r.readListEnd(); },
                                               [&] { (void)in.r.endOfList(); }};
        QVERIFY_THROWS_EXCEPTION(ReadError, reads[kind]());
    }

    void sequentialAndRandomReads()
    {
        // A 2 GB length from a pipe: the reader cannot know what remains, so it
        // must grow with what arrives and fail at the end, never reserve it.
        Pipe dev(hex("0CFFFFFF7F") + QByteArray(10000, 'x'));
        QVERIFY_THROWS_EXCEPTION(ReadError, TReader(dev).readString());
        Pipe good(hex("0C10270000") + QByteArray(10000, 'y') + hex("0202"));
        TReader g(good);
        QCOMPARE(g.readString(), QString(10000, u'y'));
        QCOMPARE(g.readInteger(), 2);

        // Values of every form and width, strings up to 70000 characters, so
        // that values straddle the 4096-byte buffer of both ends.
        QRandomGenerator rng(20090518);
        QVariantList values; // int, QString, or bool (true: list begin, false: list end)
        for (int n = 0; n < 4000; ++n) {
            const int k = rng.bounded(8);
            if (k < 3) {
                values << (qint32(rng.generate()) >> rng.bounded(32)); // every width, both signs
            } else if (k < 6) {
                QString s(n % 100 ? rng.bounded(300) : 70000, QChar(u'a' + n % 26));
                for (int i = 0; i < 5 && !s.isEmpty(); ++i) // ASCII, Latin-1, cp1252 extras, any BMP character
                    s[rng.bounded(s.size())] = QChar(char16_t(rng.bounded(1, k == 3 ? 0x80 : k == 4 ? 0x100 : 0xD800)));
                values << (k == 5 && !s.isEmpty() ? s + u"€\U0001F600"_s : s);
            } else {
                values << (k == 6);
            }
        }
        const QByteArray bytes = written([&](TWriter& w) {
            for (const QVariant& v : std::as_const(values)) {
                if (v.typeId() == QMetaType::Int)
                    w.writeInteger(v.toInt());
                else if (v.typeId() == QMetaType::QString)
                    w.writeString(v.toString());
                else
                    v.toBool() ? w.writeListBegin() : w.writeListEnd();
            }
        });
        Reading in(bytes);
        for (const QVariant& v : std::as_const(values)) {
            if (v.typeId() == QMetaType::Bool) {
                QCOMPARE(in.r.endOfList(), !v.toBool());
                v.toBool() ? in.r.readListBegin() : in.r.readListEnd();
            } else {
                QCOMPARE(v.typeId() == QMetaType::Int ? QVariant(in.r.readInteger()) : QVariant(in.r.readString()), v);
            }
        }
        QCOMPARE(in.r.position(), bytes.size());
    }
};

QTEST_GUILESS_MAIN(TstValueStream)
#include "tst_valueStream.moc"
