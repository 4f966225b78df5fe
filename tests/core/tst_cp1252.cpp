// Windows-1252 conversions: every byte decodes and encodes back; characters
// without a byte are reported, never dropped silently.

#include "core/cp1252.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TstCp1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void knownCharacters();
    void unmappableIsReported();
};

void TstCp1252::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = cp1252::decode(all);
    QCOMPARE(text.size(), 256);
    bool ok = false;
    QCOMPARE(cp1252::encode(text, &ok), all);
    QVERIFY(ok);
    QVERIFY(cp1252::fits(text));
}

void TstCp1252::knownCharacters()
{
    QCOMPARE(cp1252::decode(QByteArray("\x80\x92\x85\x9C\xE9\xA0", 6)), u"€’…œé\u00A0"_s);
    QCOMPARE(cp1252::encode(u"Noël €"_s), QByteArray("No\xEBl \x80"));
    // C1 controls that stand for cp1252 characters become them; 0x81 has none.
    QCOMPARE(cp1252::fixC1Controls(u"\u0080 \u0092 \u0081 é"_s), u"€ ’ \u0081 é"_s);
}

void TstCp1252::unmappableIsReported()
{
    bool ok = true;
    QCOMPARE(cp1252::encode(u"a\u4E2Db"_s, &ok), QByteArray("a?b"));
    QVERIFY(!ok);
    QVERIFY(!cp1252::fits(u"\u0100"_s));
    QVERIFY(!cp1252::fits(QChar(0x2028)));
    QVERIFY(cp1252::fits(QChar(0x0178)));
}

QTEST_GUILESS_MAIN(TstCp1252)
#include "tst_cp1252.moc"
