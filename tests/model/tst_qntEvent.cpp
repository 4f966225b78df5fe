// Dated quantity lists: merging, the text forms, packed reading (the quick
// path for digits-only texts and the general one), totals and their failures.

#include "model/qntEvent.h"
#include "support/modelErrors.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TstQntEvent : public QObject {
    Q_OBJECT

private slots:
    void textForms()
    {
        TQnt q;
        q.addQnt(u"090518"_s, u"3"_s);
        q.addQnt(u"  "_s, u"4"_s); // blank date: ignored
        q.addQnt(u"090501"_s, u"2"_s);
        q.addQnt(u"090518"_s, u"-1"_s);
        QCOMPARE((QStringList{q.qntText(0), q.qntText(1), q.qntText(2), q.qntText(3), q.qntText(4), q.qntAt(u"090501"_s),
                              q.qntAt(u"991231"_s)}),
                 (QStringList{u"090518,090501"_s, u"2,2"_s, u"0905182,0905012"_s, u"090518=2,090501=2"_s,
                              u"\"090518 | 2\",\"090501 | 2\""_s, u"2"_s, u"0"_s}));
        q.addQnt(u"090502"_s, u" -5 "_s); // kept as typed until another quantity of that day adds to it
        QCOMPARE(q.totalQntStr(), u"-1"_s);
        q.addQnt(u"090502"_s, u"1"_s);
        QCOMPARE(q.qntAt(u"090502"_s) + u' ' + q.totalQntStr(), u"-4 0"_s);

        // Packed texts read back: kept as written, merged by date.
        const std::pair<QString, QString> cases[] = {
            {u"0905183,09050102,090502-0"_s, u"090501=02,090502=-0,090518=3"_s}, // kept as written
            {u"0905183,0905182,090601-2"_s, u"090518=5,090601=-2"_s},
            {u"0905183,090518-5,09051"_s, u"09051=,090518=-2"_s},
            {u"090518,,09060112"_s, u"090518=,090601=12"_s}, // short item; empty item skipped
            {u"0905183,090501x"_s, u"090501=x,090518=3"_s},  // not digits only: the general reader
            {u"   "_s, u"010101=9"_s},                          // blank keeps the list
            {QString(), u"010101=9"_s},
            {u",,"_s, QString()},                               // only commas empty it
        };
        for (const auto& [packed, expected] : cases) {
            TQnt r;
            r.addQnt(u"010101"_s, u"9"_s);
            r.setQntText(packed);
            QCOMPARE(r.qntText(3), expected);
            if (r.count() > 0)
                QCOMPARE(r.currentIndex(), r.count() - 1);
        }

        // The smallest date there is (all zeros) adds up like any other.
        TQnt zero;
        zero.addQnt(u"000000"_s, u"2"_s);
        zero.addQnt(u"000000"_s, u"3"_s);
        QCOMPARE(zero.qntText(3), u"000000=5"_s);

        // Failures change nothing.
        TQnt f;
        f.addQnt(u"090501"_s, u"2"_s);
        f.addQnt(u"090502"_s, u"abc"_s); // stored unchecked
        QCOMPARE(errorOf([&] { f.totalQntStr(); }), u"'abc' is not a valid integer value"_s);
        QCOMPARE(errorOf([&] { f.addQnt(u"090501"_s, u"1.5"_s); }), u"'1.5' is not a valid integer value"_s);
        QCOMPARE(errorOf([&] { f.addQnt(u"090502"_s, u"1"_s); }), u"'abc' is not a valid integer value"_s);
        QCOMPARE(f.qntText(3), u"090501=2,090502=abc"_s);
        QVERIFY(!errorOf([&] { f.setQntText(u"0905183,090518x"_s); }).isEmpty());
        QCOMPARE(f.qntText(3), u"090501=2,090502=abc"_s);

        TQnt big;
        big.addQnt(u"090501"_s, u"2147483647"_s);
        QCOMPARE(errorOf([&] { big.addQnt(u"090501"_s, u"1"_s); }), u"Integer overflow"_s);
        QCOMPARE(big.at(0).qnt, u"2147483647"_s);
        big.addQnt(u"090502"_s, u"1"_s);
        QVERIFY(!errorOf([&] { big.totalQnt(); }).isEmpty());

        // Positions outside the list; the current event follows deletions.
        f = TQnt();
        for (const QString& d : {u"090501"_s, u"090502"_s, u"090503"_s})
            f.addQnt(d, u"2"_s);
        QCOMPARE(errorOf([&] { f.setQntAt(3, u"1"_s); }), u"List index out of bounds (3)"_s);
        QCOMPARE(errorOf([&] { f.eventStr(-1); }), u"List index out of bounds (-1)"_s);
        QCOMPARE(errorOf([&] { f.deleteAt(5); }), u"List index out of bounds (5)"_s);
        f.setQntAt(2, u"9"_s);
        QCOMPARE(f.eventStr(2), u"090503,9"_s);
        // The current event follows a deletion before it, and goes with its own.
        f.deleteAt(0);
        QCOMPARE(f.at(f.currentIndex()).date, u"090503"_s);
        f.deleteAt(1);
        QCOMPARE(f.currentIndex(), -1);
        QCOMPARE(f.qntText(2), u"0905022"_s);
    }
};

QTEST_GUILESS_MAIN(TstQntEvent)
#include "tst_qntEvent.moc"
