// Dated quantity lists: adding, merging, the text forms, packed reading,
// sorting, totals and their failures.

#include "core/appError.h"
#include "model/qntEvent.h"
#include "support/modelErrors.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TstQntEvent : public QObject {
    Q_OBJECT

private slots:
    void addQntMergesSameDate();
    void textForms();
    void setQntTextReadsPacked();
    void sortEvents();
    void totals();
    void failuresChangeNothing();
    void positions();
};

void TstQntEvent::addQntMergesSameDate()
{
    TQnt q;
    q.addQnt(u"090518"_s, u"3"_s);
    q.addQnt(u"090518"_s, u"2"_s);
    QCOMPARE(q.count(), 1);
    QCOMPARE(q.at(0).qnt, u"5"_s);
    q.addQnt(u"  "_s, u"4"_s); // blank date: ignored
    QCOMPARE(q.count(), 1);
    q.addQnt(u" 090518"_s, u"1"_s);
    QCOMPARE(q.count(), 2);
    QCOMPARE(q.at(1).date, u" 090518"_s);
    q.addQnt(u"090601"_s, u"x"_s); // stored unchecked
    QCOMPARE(q.at(2).qnt, u"x"_s);
    QCOMPARE(q.qntAt(u"991231"_s), u"0"_s);
    QCOMPARE(q.findDate(u"090602"_s), -1);
}

void TstQntEvent::textForms()
{
    TQnt q;
    QCOMPARE(q.qntText(2), QString());
    q.addQnt(u"090501"_s, u"2"_s);
    q.addQnt(u"090518"_s, u"3"_s);
    QCOMPARE(q.qntText(0), u"090501,090518"_s);
    QCOMPARE(q.qntText(1), u"2,3"_s);
    QCOMPARE(q.qntText(2), u"0905012,0905183"_s);
    QCOMPARE(q.qntText(3), u"090501=2,090518=3"_s);
    QCOMPARE(q.qntText(4), u"\"090501 | 2\",\"090518 | 3\""_s);
    QCOMPARE(q.eventStr(1), u"090518,3"_s);
}

void TstQntEvent::setQntTextReadsPacked()
{
    TQnt q;
    q.setQntText(u"0905183,0905012"_s);
    QCOMPARE(q.count(), 2);
    QCOMPARE(q.eventStr(0), u"090501,2"_s);
    QCOMPARE(q.eventStr(1), u"090518,3"_s);

    q.setQntText(u"0905183,0905182,090601-2"_s);
    QCOMPARE(q.qntText(3), u"090518=5,090601=-2"_s);

    q.setQntText(u"090518,,09060112"_s); // short item: empty quantity; empty item skipped
    QCOMPARE(q.count(), 2);
    QCOMPARE(q.qntText(3), u"090518=,090601=12"_s);

    // Blank text keeps the list; only commas empty it.
    q.setQntText(QString());
    q.setQntText(u"   "_s);
    QCOMPARE(q.count(), 2);
    q.setQntText(u",,"_s);
    QCOMPARE(q.count(), 0);
}

void TstQntEvent::sortEvents()
{
    TQnt q;
    q.addQnt(u"091201"_s, u"1"_s);
    q.addQnt(u"090518"_s, u"3"_s);
    q.addQnt(u"090102"_s, u"7"_s);
    q.sortEvents();
    QCOMPARE(q.qntText(3), u"090102=7,090518=3,091201=1"_s);
}

void TstQntEvent::totals()
{
    TQnt q;
    QCOMPARE(q.totalQntStr(), u"0"_s);
    q.addQnt(u"090501"_s, u"2"_s);
    q.addQnt(u"090502"_s, u" -5 "_s);
    QCOMPARE(q.totalQntStr(), u"-3"_s);
}

void TstQntEvent::failuresChangeNothing()
{
    TQnt q;
    q.addQnt(u"090501"_s, u"2"_s);
    q.addQnt(u"090502"_s, u"abc"_s);
    QCOMPARE(errorOf([&] { q.totalQntStr(); }), u"'abc' is not a valid integer value"_s);
    QCOMPARE(errorOf([&] { q.addQnt(u"090501"_s, u"1.5"_s); }),
             u"'1.5' is not a valid integer value"_s);
    QCOMPARE(q.at(0).qnt, u"2"_s);
    QCOMPARE(errorOf([&] { q.addQnt(u"090502"_s, u"1"_s); }), u"'abc' is not a valid integer value"_s);
    QCOMPARE(q.at(1).qnt, u"abc"_s);

    // A packed text whose same-date items cannot be summed leaves the list whole.
    const QString before = q.qntText(2);
    QVERIFY(!errorOf([&] { q.setQntText(u"0905183,090518x"_s); }).isEmpty());
    QCOMPARE(q.qntText(2), before);

    TQnt big;
    big.addQnt(u"090501"_s, u"2147483647"_s);
    QVERIFY(!errorOf([&] { big.addQnt(u"090501"_s, u"1"_s); }).isEmpty());
    QCOMPARE(big.at(0).qnt, u"2147483647"_s);
    big.addQnt(u"090502"_s, u"1"_s);
    QVERIFY(!errorOf([&] { big.totalQnt(); }).isEmpty());
}

void TstQntEvent::positions()
{
    TQnt q;
    for (const QString& d : {u"090501"_s, u"090502"_s, u"090503"_s})
        q.addQnt(d, u"2"_s);
    QCOMPARE(errorOf([&] { q.setQntAt(3, u"1"_s); }), u"List index out of bounds (3)"_s);
    QCOMPARE(errorOf([&] { q.eventStr(-1); }), u"List index out of bounds (-1)"_s);
    QCOMPARE(errorOf([&] { q.deleteAt(5); }), u"List index out of bounds (5)"_s);
    q.setQntAt(2, u"9"_s);
    QCOMPARE(q.eventStr(2), u"090503,9"_s);
    // The current event follows a deletion before it, and goes with its own.
    q.deleteAt(0);
    QCOMPARE(q.current()->date, u"090503"_s);
    q.deleteAt(1);
    QCOMPARE(q.current(), nullptr);
    QCOMPARE(q.qntText(2), u"0905022"_s);
}

QTEST_GUILESS_MAIN(TstQntEvent)
#include "tst_qntEvent.moc"
