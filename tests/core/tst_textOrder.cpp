// The program's text order: the quick path for numeric texts must agree with
// the French collation it stands in for.

#include "core/textUtil.h"

#include <QCollator>
#include <QLocale>
#include <QTest>

#include <random>

class TestTextOrder : public QObject {
    Q_OBJECT

private slots:
    void numericTextsSortAsTheCollatorDoes()
    {
        QCollator c{QLocale(QLocale::French, QLocale::France)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        std::mt19937 rng(42);
        const QString alphabet = QStringLiteral("0123456789-");
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
            QVERIFY2((expected < 0) == (got < 0) && (expected > 0) == (got > 0),
                     qPrintable(a + QStringLiteral(" vs ") + b));
        }
    }

    void packedQuantitiesSortByDateThenQuantity()
    {
        QStringList items{QStringLiteral("0905183"), QStringLiteral("090518-2"),
                          QStringLiteral("0905012"), QStringLiteral("09051810")};
        sortTextList(items);
        QCOMPARE(items, (QStringList{QStringLiteral("0905012"), QStringLiteral("090518-2"),
                                     QStringLiteral("09051810"), QStringLiteral("0905183")}));
    }

    void wordsFollowFrenchOrderWhateverTheirCase()
    {
        QStringList items{QStringLiteral("zèbre"), QStringLiteral("Élise"), QStringLiteral("eau"),
                          QStringLiteral("Ébène"), QStringLiteral("10"), QStringLiteral("été")};
        sortTextList(items);
        QCOMPARE(items, (QStringList{QStringLiteral("10"), QStringLiteral("eau"),
                                     QStringLiteral("Ébène"), QStringLiteral("Élise"),
                                     QStringLiteral("été"), QStringLiteral("zèbre")}));
    }
};

QTEST_GUILESS_MAIN(TestTextOrder)
#include "tst_textOrder.moc"
