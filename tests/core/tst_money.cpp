// Amounts: parsing, fixed-point arithmetic and the "0.00$" display.

#include "core/appError.h"
#include "core/money.h"
#include "core/textUtil.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TstMoney : public QObject {
    Q_OBJECT

private slots:
    void formatMoney_data();
    void formatMoney();
    void parseIsExact();
    void arithmeticHasNoDrift();
    void overflowIsRefused();
};

void TstMoney::formatMoney_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("12.5") << u"12.5"_s << u"12.50$"_s;
    QTest::newRow("empty") << QString() << u"0.00$"_s;
    QTest::newRow("-4.25") << u"-4.25"_s << u"-4.25$"_s;
    QTest::newRow("comma") << u"12,50"_s << u"0.00$"_s;
    QTest::newRow("dollar") << u"12.50$"_s << u"0.00$"_s;
    QTest::newRow("blanks") << u"  7.1 "_s << u"7.10$"_s;
    QTest::newRow("leading dot") << u".5"_s << u"0.50$"_s;
    QTest::newRow("trailing dot") << u"5."_s << u"5.00$"_s;
    QTest::newRow("two dots") << u"1.2.3"_s << u"0.00$"_s;
    QTest::newRow("plus") << u"+2"_s << u"2.00$"_s;
    QTest::newRow("half up") << u"0.125"_s << u"0.13$"_s;
    QTest::newRow("half away from zero") << u"-0.125"_s << u"-0.13$"_s;
    QTest::newRow("fifth decimal rounds") << u"0.12495"_s << u"0.13$"_s;
    QTest::newRow("tiny negative") << u"-0.004"_s << u"0.00$"_s;
    QTest::newRow("large") << u"123456789012.34"_s << u"123456789012.34$"_s;
    QTest::newRow("overflow is invalid") << u"99999999999999999999"_s << u"0.00$"_s;
    QTest::newRow("exponent") << u"1e3"_s << u"0.00$"_s;
}

void TstMoney::formatMoney()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(::formatMoney(text), shown);
}

void TstMoney::parseIsExact()
{
    QCOMPARE(Money::parse(u"12.3456"_s).units(), 123456);
    QCOMPARE(Money::parse(u"-0.0001"_s).units(), -1);
    QCOMPARE(Money::parse(u"0.00005"_s).units(), 1);
    QVERIFY(!Money::tryParse(u""_s));
    QVERIFY(!Money::tryParse(u"1 000"_s));
    QCOMPARE(Money::parse(u"12.5"_s).plain(), u"12.50"_s);
    QCOMPARE(Money::fromUnits(-50).format(), u"-0.01$"_s);
    QCOMPARE(Money::fromUnits(49).format(), u"0.00$"_s);
    QCOMPARE(Money::fromUnits(std::numeric_limits<qint64>::min()).format(),
             u"-922337203685477.58$"_s);
}

void TstMoney::arithmeticHasNoDrift()
{
    // A thousand sales of 0.10$ make exactly 100.00$ (binary floating point would not).
    Money total;
    const Money dime = Money::parse(u"0.1"_s);
    for (int i = 0; i < 1000; ++i)
        total += dime;
    QCOMPARE(total, Money::parse(u"100"_s));
    QCOMPARE((Money::parse(u"19.99"_s) * 3).format(), u"59.97$"_s);
    QCOMPARE((Money::parse(u"5"_s) - Money::parse(u"7.25"_s)).format(), u"-2.25$"_s);
    QVERIFY(Money::parse(u"1.5"_s) < Money::parse(u"1.51"_s));
}

void TstMoney::overflowIsRefused()
{
    // Two line totals of 900000000000000.00$ exceed the range: an error, never a wrap.
    const Money big = Money::parse(u"900000000000000.00"_s);
    QVERIFY_THROWS_EXCEPTION(AppError, big + big);
    QVERIFY_THROWS_EXCEPTION(AppError, Money() - big - big);
    QVERIFY_THROWS_EXCEPTION(AppError, big * 2);
    Money sum = big;
    QVERIFY_THROWS_EXCEPTION(AppError, sum += big);
    QCOMPARE(sum, big); // a refused sum leaves the amount as it was
}

QTEST_GUILESS_MAIN(TstMoney)
#include "tst_money.moc"
