// Artisan numbers are never shared: the number a new artisan takes, the free
// numbers an import gives, the duplicates a check names, and what keeps an
// artisan from being removed.

#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "model/artNumbers.h"
#include "model/uArt.h"
#include "support/modelSheets.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
void fill(AppState& st, const QStringList& numbers, const QStringList& sheetArtNos)
{
    for (const QString& no : numbers)
        newArtisan(st.artList, no, u"Nom"_s + no);
    QStringList lines;
    for (const QString& no : sheetArtNos)
        lines << saleLine(u"TreMar"_s + no + u"-001"_s, u"bol"_s, u"10.00"_s, u"1"_s, u"10.00"_s);
    if (!lines.isEmpty())
        addSheet(st.saleList, u"260518"_s, lines);
}
} // namespace

class TstArtNumbers : public QObject {
    Q_OBJECT
private slots:
    void nextNumber_data()
    {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("onSheets");
        QTest::addColumn<QString>("next");
        QTest::newRow("empty") << QStringList() << QStringList() << u"001"_s;
        QTest::newRow("gap: not the count plus one") << QStringList{u"001"_s, u"003"_s} << QStringList() << u"004"_s;
        QTest::newRow("a sheet names a removed one") << QStringList{u"001"_s} << QStringList{u"007"_s} << u"008"_s;
        QTest::newRow("999 in use: the lowest free") << QStringList{u"001"_s, u"999"_s} << QStringList{u"002"_s}
                                                    << u"003"_s;
        QStringList all;
        for (int n = 1; n <= MAX_ART_NO; ++n)
            all << TArtList::artNoFor(n);
        QTest::newRow("every number used") << all << QStringList() << QString();
    }

    void nextNumber()
    {
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, onSheets);
        QFETCH(QString, next);
        AppState st;
        fill(st, numbers, onSheets);
        QCOMPARE(nextArtisanNumber(st.artList, st.saleList), next);
    }

    void duplicatesNamedAndRenumbered()
    {
        AppState st;
        fill(st, {u"001"_s, u"003"_s, u"003"_s, u""_s, u"001"_s}, {});
        QCOMPARE(duplicateArtNos(st.artList), (QStringList{u"003"_s, u"001"_s}));
        QCOMPARE(duplicateArtNoLines(st.artList, false).first(), u"duplicate artisan number 003: Nom003, Nom003"_s);
        const QStringList notes = giveFreeNumbers(st.artList);
        QStringList numbers;
        for (int i = 0; i < st.artList.count(); ++i)
            numbers << st.artList.at(i).artNo;
        // The first holder keeps its number; the others take one above all.
        QCOMPARE(numbers, (QStringList{u"001"_s, u"003"_s, u"004"_s, u"005"_s, u"006"_s}));
        QCOMPARE(notes.size(), 3);
        QVERIFY(duplicateArtNos(st.artList).isEmpty());
    }

    void removal_data()
    {
        QTest::addColumn<int>("artisans");
        QTest::addColumn<bool>("onSheet");
        QTest::addColumn<bool>("received");
        QTest::addColumn<QString>("kept");
        QTest::newRow("nothing attached") << 2 << false << false << QString();
        QTest::newRow("a sheet line") << 2 << true << false << u"une ligne de feuille de ventes le nomme"_s;
        QTest::newRow("stock") << 2 << false << true << u"un de ses produits a des quantités"_s;
        QTest::newRow("the only one") << 1 << false << false << u"est le seul de la base"_s;
    }

    void removal()
    {
        QFETCH(int, artisans);
        QFETCH(bool, onSheet);
        QFETCH(bool, received);
        QFETCH(QString, kept);
        AppState st;
        fill(st, QStringList{u"001"_s, u"002"_s}.mid(0, artisans), onSheet ? QStringList{u"001"_s} : QStringList());
        TProduit& bol = newProduct(st.artList.at(0), u"001"_s, u"bol"_s);
        if (received)
            bol.qntList.addQnt(u"260518"_s, u"3"_s);
        const QString why = artisanKept(st, 0);
        QVERIFY2(kept.isEmpty() ? why.isEmpty() : why.contains(kept) && why.contains(st.artList.displayName(0)),
                 qPrintable(why));
        if (!why.isEmpty())
            return;
        removeArtisan(st, 0);
        QCOMPARE((QStringList{st.curArtNo, st.numItems.join(u',')}), (QStringList{u"002"_s, u"002"_s}));
        QCOMPARE((QList<int>{int(st.artList.count()), st.curArtInd}), (QList<int>{1, 0}));
    }
};

QTEST_GUILESS_MAIN(TstArtNumbers)
#include "tst_artNumbers.moc"
