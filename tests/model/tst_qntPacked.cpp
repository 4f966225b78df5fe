// Packed quantity texts as the program writes them are read by a quick path:
// it must give exactly what the general comma-list reading gives.

#include "core/appError.h"
#include "core/textUtil.h"
#include "model/qntEvent.h"

#include <QTest>

#include <random>

namespace {

// The general reading, step by step: the items read as a comma list, sorted
// in the program's text order, then added one by one (same dates merge).
QString reference(const QString& packed, bool& failed)
{
    failed = false;
    QStringList items = readCommaList(packed);
    sortTextList(items);
    TQnt q;
    try {
        for (const QString& item : std::as_const(items))
            q.addQnt(item.left(6), item.mid(6));
    } catch (const AppError&) {
        failed = true;
    }
    return q.qntText(2);
}

} // namespace

class TestQntPacked : public QObject {
    Q_OBJECT

private slots:
    void quickPathMatchesGeneralReading()
    {
        std::mt19937 rng(1805);
        const QString digits = QStringLiteral("0123456789");
        for (int round = 0; round < 3000; ++round) {
            QStringList items;
            const int n = int(rng() % 8);
            for (int i = 0; i < n; ++i) {
                // Few distinct dates so that merges happen; sometimes short
                // items, empty quantities or negative ones.
                QString item = QStringLiteral("0905%1").arg(int(rng() % 3) + 10);
                switch (rng() % 6) {
                case 0: item.truncate(int(rng() % 6)); break;
                case 1: break;
                case 2: item += QLatin1Char('-') + digits.at(int(rng() % 10)); break;
                default: item += QString::number(rng() % 40); break;
                }
                items << item;
            }
            const QString packed = items.join(QLatin1Char(','));
            bool refFailed = false;
            const QString expected = reference(packed, refFailed);

            TQnt q;
            q.addQnt(QStringLiteral("010101"), QStringLiteral("9")); // must go unless packed is empty
            bool failed = false;
            try {
                q.setQntText(packed);
            } catch (const AppError&) {
                failed = true;
            }
            QCOMPARE(failed, refFailed);
            // A failure or an empty text leaves the list unchanged.
            QVERIFY2(q.qntText(2) == (failed || packed.isEmpty() ? QStringLiteral("0101019") : expected),
                     qPrintable(packed));
        }
    }
};

QTEST_GUILESS_MAIN(TestQntPacked)
#include "tst_qntPacked.moc"
