// The program's text order: case- and accent-aware French order, independent
// of the input order, with a quick path for numeric texts that must agree with
// the collation it stands in for.

#include "core/textUtil.h"

#include <QCollator>
#include <QLocale>
#include <QTest>

#include <random>

using namespace Qt::StringLiterals;

class TestTextOrder : public QObject {
    Q_OBJECT

private slots:
    void numericTextsSortAsTheCollatorDoes()
    {
        QCollator c{QLocale(QLocale::French, QLocale::France)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        std::mt19937 rng(42);
        const QString alphabet = u"0123456789-"_s;
        auto randomText = [&] {
            QString s;
            const int n = int(rng() % 9);
            for (int i = 0; i < n; ++i)
                s += alphabet.at(int(rng() % unsigned(alphabet.size())));
            return s;
        };
        for (int i = 0; i < 20000; ++i) {
            const QString a = randomText();
            const QString b = randomText();
            const int expected = c.compare(a, b);
            const int got = compareText(a, b);
            QVERIFY2((expected < 0) == (got < 0) && (expected > 0) == (got > 0), qPrintable(a + u" vs "_s + b));
        }
    }

    void sortedLists()
    {
        // Packed quantities sort by date, then quantity as text.
        QStringList items{u"0905183"_s, u"090518-2"_s, u"0905012"_s, u"09051810"_s};
        sortTextList(items);
        QCOMPARE(items, (QStringList{u"0905012"_s, u"090518-2"_s, u"09051810"_s, u"0905183"_s}));
        // Words follow French order whatever their case and accents; texts equal
        // but for case fall back to code points, so the input order never matters.
        const QStringList words{u"zèbre"_s, u"Élise"_s, u"eau"_s, u"Ébène"_s, u"10"_s, u"été"_s, u"côte"_s, u"cote"_s, u"Eau"_s};
        QStringList a = words;
        QStringList b(words.rbegin(), words.rend());
        sortTextList(a);
        sortTextList(b);
        QCOMPARE(a, (QStringList{u"10"_s, u"cote"_s, u"côte"_s, u"Eau"_s, u"eau"_s, u"Ébène"_s, u"Élise"_s, u"été"_s, u"zèbre"_s}));
        QCOMPARE(b, a);
        QCOMPARE(compareText(u"Alpha"_s, u"alpha"_s), 0);
        QVERIFY(compareText(u"élise"_s, u"Emile"_s) < 0); // accent-aware, not by code point
    }
};

QTEST_GUILESS_MAIN(TestTextOrder)
#include "tst_textOrder.moc"
