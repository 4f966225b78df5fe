// The shelves: the age of the units in stock (oldest leave first), what a
// count finds once sales went on after a scan, the adjustments and credits
// it records, returns, and the stock records kept in the file.

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "export/dbJson.h"
#include "model/balance.h"
#include "model/stockBook.h"
#include "model/stockCount.h"
#include "model/stockShelf.h"
#include "support/fakePrompt.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"
#include "support/testFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

TProduit& product(TArtisan& a, const QString& no, const QString& received, const QString& sold)
{
    TProduit& p = newProduct(a, no, u"Produit "_s + no, u"10.00$"_s, u"25.00$"_s);
    p.qntList.setQntText(received);
    p.soldList.setQntText(sold);
    return p;
}

// Artisan 001 Côté Hélène with one product of each received and sold list.
TArtisan& artisan(AppState& st, const QString& no = u"001"_s)
{
    return newArtisan(st.artList, no, u"Côté"_s, u"Hélène"_s);
}

// "date:qnt" items.
QList<StockMove> moves(const QString& text)
{
    QList<StockMove> out;
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        StockMove m;
        m.date = item.section(u':', 0, 0);
        m.qnt = item.section(u':', 1).toInt();
        out << m;
    }
    return out;
}

} // namespace

class TestStock : public QObject {
    Q_OBJECT

private slots:
    void oldestLeaveFirst_data()
    {
        QTest::addColumn<QString>("received");
        QTest::addColumn<QString>("sold");
        QTest::addColumn<QString>("moved");
        QTest::addColumn<QString>("lots");
        QTest::newRow("a sale takes the oldest") << "0901102,0903015" << "0902011" << "" << "090110:1,090301:5";
        // 5 delivered on 090301, 2 handed back the same day: merged as 3.
        QTest::newRow("return merged with a delivery") << "0901102,0903013" << "" << "090301:-2" << "090301:5";
        QTest::newRow("excess found comes in that day") << "0901102,0905011" << "0902012" << "090501:1"
                                                         << "090501:1";
        QTest::newRow("a quantity typed below zero") << "0901103,090201-1" << "" << "" << "090110:2";
        QTest::newRow("more sold than received") << "0901101" << "0902013" << "" << "";
        QTest::newRow("a move whose day was deleted") << "0901104" << "" << "090301:-2" << "090110:4";
    }
    void oldestLeaveFirst()
    {
        QFETCH(QString, received);
        QFETCH(QString, sold);
        QFETCH(QString, moved);
        QFETCH(QString, lots);
        AppState st;
        const TProduit& p = product(artisan(st), u"001"_s, received, sold);
        QStringList got;
        for (const ShelfLot& l : shelfLots(p, moves(moved)))
            got << l.date + u':' + QString::number(l.qnt);
        QCOMPARE(got.join(u','), lots);
    }

    void unsoldSinceADay()
    {
        AppState st;
        TArtisan& a = artisan(st);
        product(a, u"001"_s, u"0901102,0903015"_s, u"0902011"_s); // 1 from 090110, 5 from 090301
        product(a, u"002"_s, u"0906013"_s, {});                    // all newer
        product(a, u"003"_s, u"0901012"_s, u"0903012"_s);          // all sold
        const QList<ShelfLine> lines = unsoldSince(st.artList, st.account.stock, u"001"_s, u"090401"_s);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first().key, u"CôtHél001-001"_s);
        QCOMPARE(lines.first().oldest, u"090110"_s);
        QCOMPARE(lines.first().old, 6);
        QCOMPARE(lines.first().stock, 6);
        QCOMPARE(unsoldSince(st.artList, st.account.stock, u"001"_s, u"090301"_s).first().old, 1);
        QCOMPARE(unsoldSince(st.artList, st.account.stock, u"001"_s, u"090601"_s).size(), 1); // 002 came in that day
        QCOMPARE(shelfLines(st.artList, st.account.stock, u"001"_s).size(), 2);
    }

    void countThenSalesThenAdjust()
    {
        AppState st;
        TArtisan& a = artisan(st);
        TProduit& vase = product(a, u"001"_s, u"2601014"_s, {});
        product(a, u"002"_s, u"2601012"_s, {});
        TArtisan& b = artisan(st, u"002"_s);
        product(b, u"001"_s, u"2601011"_s, {});
        st.account.setRule(u"001"_s, u"260201"_s, 40); // 40 % of the price from 1 February
        st.account.stock.open = StockCount{u"260115"_s, u"001"_s, {}};
        StockCount& c = *st.account.stock.open;
        QCOMPARE(scanKey(c, st.artList, u"cothel001001"_s).kind, ScanResult::Counted);
        // Counted 3 of 4, then 2 of them sold: 1 counted, 2 expected; 3 bowls of 2.
        scanKey(c, st.artList, u"CôtHél001-001"_s);
        scanKey(c, st.artList, u"COTHEL001001"_s);
        for (int i = 0; i < 3; ++i)
            scanKey(c, st.artList, u"cothel001-002"_s);
        vase.addSold(u"260120"_s, u"2"_s);
        QList<CountDiff> diffs = countDifferences(c, st.artList);
        QCOMPARE(diffs.size(), 2);
        QCOMPARE(diffs.at(0).kind, CountDiff::Missing);
        QCOMPARE(diffs.at(0).counted, 1);
        QCOMPARE(diffs.at(0).expected, 2);
        QCOMPARE(diffs.at(1).kind, CountDiff::Excess);
        QCOMPARE(diffs.at(1).diff(), 1);

        // A product gone since: nothing recorded, the count still open.
        diffs[0].choice = CountDiff::AdjustBoutiqueBears;
        diffs[1].choice = CountDiff::AdjustBoutiqueBears; // no loss: nothing to credit
        QList<CountDiff> gone = diffs;
        gone[1].prodNo = u"009"_s;
        QVERIFY_THROWS_EXCEPTION(AppError, recordAdjustments(st.artList, st.account, gone, u"260215"_s, {}));
        QVERIFY(st.account.stock.moves().isEmpty() && st.account.stock.open);
        QCOMPARE(vase.qntList.qntText(2), u"2601014"_s);

        diffs << diffs.at(1);
        diffs.last().choice = CountDiff::Nothing; // left as counted: no movement
        QCOMPARE(recordAdjustments(st.artList, st.account, diffs, u"260215"_s, {}), 2);
        QVERIFY(!st.account.stock.open);
        QCOMPARE(stockOf(vase), 1);
        QCOMPARE(stockOf(*a.products.ptrAt(1)), 3);
        // The boutique bears one unit: 40 % of 25.00; units found credit nothing.
        QCOMPARE(st.account.stock.moves().at(0).credit, Money::parse(u"10.00"_s));
        QVERIFY(st.account.stock.moves().at(1).credit.isZero());
        // A product's own movements: neither its neighbour's nor another artisan's of the same number.
        const StockBook& book = st.account.stock;
        // As the products page notes them: a loss names who bears it, units
        // found name none, nor does a count that matched (another program's file).
        StockMove matched = book.moves().at(1);
        matched.qnt = 0;
        const QString counted = u"comptage du 260115 : %1 compté(s) pour 2 attendu(s)"_s;
        QCOMPARE((QStringList{book.moves().at(0).text(), book.moves().at(1).text(), matched.text()}),
                 (QStringList{counted.arg(1) + u", perte à la boutique (10.00$ crédité)"_s, counted.arg(3), counted.arg(3)}));
        QCOMPARE((QList<qsizetype>{book.movesOf(u"001"_s, u"001"_s).size(), book.movesOf(u"002"_s, u"001"_s).size()}),
                 (QList<qsizetype>{1, 0}));
        const AccountFigures f =
            accountFigures(st.repList.book(st.saleList), st.artList, st.account, {}, u"001"_s, u"260215"_s, {});
        QCOMPARE(f.credited, Money::parse(u"10.00"_s));
        QCOMPARE(f.after(), Money::parse(u"10.00"_s));
        // Another artisan's account, or the day before, holds no such credit.
        for (const auto& [artNo, to] : {std::pair{u"002"_s, QString()}, std::pair{u"001"_s, u"260214"_s}})
            QVERIFY(accountFigures(st.repList.book(st.saleList), st.artList, st.account, {}, artNo, {}, to).credited.isZero());
    }

    void returnsRefusedOrRecorded_data()
    {
        QTest::addColumn<QString>("artNo");
        QTest::addColumn<QString>("prodNo");
        QTest::addColumn<int>("qnt");
        QTest::addColumn<QString>("refused");
        QTest::newRow("nothing") << "001" << "001" << 0
                                 << "Aucun produit à rendre : cochez les produits et leurs quantités.";
        QTest::newRow("unknown product") << "001" << "007" << 1 << "L'artisan 001 n'a pas de produit 007.";
        QTest::newRow("the whole stock") << "001" << "001" << 3 << "";
    }
    void returnsRefusedOrRecorded()
    {
        QFETCH(QString, artNo);
        QFETCH(QString, prodNo);
        QFETCH(int, qnt);
        QFETCH(QString, refused);
        AppState st;
        TProduit& p = product(artisan(st), u"001"_s, u"2601014"_s, u"2602011"_s);
        QCOMPARE(errorOf([&] { recordReturn(st.artList, st.account, artNo, {{prodNo, qnt}}, u"260301"_s); }), refused);
        if (!refused.isEmpty()) {
            QCOMPARE(p.qntList.qntText(2), u"2601014"_s);
            return;
        }
        QCOMPARE(stockOf(p), 0);
        QCOMPARE(soldOf(p), 1);
        QCOMPARE(stockDayNote(st.account.stock.moves(), u"260301"_s, -3), u"rendu à l'artisan : -3"_s);
    }

    // A movement read from a file is refused at each edge of what it may
    // hold: its number after the one before, a day, a reason and a bearer
    // of 0 or 1, an amount.
    void movementsReadAtTheirEdges()
    {
        struct Move {
            int id = 1;
            QString date = u"260301"_s;
            int reason = 0;
            int bearer = 0;
            QString credit = u"0"_s;
        };
        const auto read = [](const QList<Move>& moves) {
            const QByteArray bytes = writeSection([&](TWriter& w) {
                w.writeListBegin();
                for (const Move& m : moves) {
                    w.writeInteger(m.id);
                    for (const QString& t : {m.date, u"001"_s, u"001"_s})
                        w.writeString(t);
                    w.writeInteger(1);
                    w.writeInteger(m.reason);
                    w.writeString(QString());
                    w.writeInteger(0);
                    w.writeInteger(0);
                    w.writeInteger(m.bearer);
                    w.writeString(m.credit);
                }
                w.writeListEnd();
                w.writeListBegin();
                w.writeListEnd();
            });
            StockBook book;
            const QString error = errorOf([&] { readSection(bytes, [&](TReader& r) { book.read(r); }); });
            return error.isEmpty() ? int(book.moves().size()) : -1;
        };
        const Move ok;
        const struct {
            const char* edge;
            QList<Move> moves;
            int read; // the movements read; -1: the section is refused
        } cases[] = {
            {"numbers rising", {ok, Move{2}}, 2},       {"a number again", {ok, Move{1}}, -1},
            {"a number going back", {Move{2}, Move{1}}, -1}, {"a first number of 0", {Move{0}}, -1},
            {"not a day", {Move{1, u"260230"_s}}, -1},  {"the last reason and bearer", {Move{1, u"260301"_s, 1, 1}}, 1},
            {"a reason past the last", {Move{1, u"260301"_s, 2, 0}}, -1},
            {"a reason below the first", {Move{1, u"260301"_s, -1, 0}}, -1},
            {"a bearer past the last", {Move{1, u"260301"_s, 0, 2}}, -1},
            {"a bearer below the first", {Move{1, u"260301"_s, 0, -1}}, -1},
            {"an amount", {Move{1, u"260301"_s, 0, 1, u"-12.5"_s}}, 1},
            {"no amount", {Move{1, u"260301"_s, 0, 1, u"abc"_s}}, -1},
        };
        for (const auto& c : cases)
            QVERIFY2(read(c.moves) == c.read, c.edge);
        // A movement recorded takes the next number.
        StockBook book;
        QCOMPARE((QList<int>{book.add({}).id, book.add({}).id}), (QList<int>{1, 2}));
    }

    void keptInTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + u"/s.tlvdb"_s;
        AppState st;
        TArtisan& a = artisan(st);
        product(a, u"001"_s, u"2601014"_s, {});
        recordReturn(st.artList, st.account, u"001"_s, {{u"001"_s, 1}}, u"260301"_s);
        st.account.stock.open = StockCount{u"260310"_s, {}, {{u"001"_s, u"001"_s, 2, 3, 0}}};
        st.modified = true;
        saveDB(path, st);
        AppState back;
        FakePrompt prompt;
        QCOMPARE(loadDB(path, back, prompt), LoadResult::Loaded);
        QCOMPARE(databaseJson(back), databaseJson(st));
        QVERIFY(databaseJson(back).contains("\"soldAtScan\": 0"));
        QVERIFY(databaseJson(back).contains("\"credit\": \"0.00\"")); // a return credits nothing, unsigned

        // A section of the first version (no stock) still reads; versions
        // below the first and past the last are refused.
        const QByteArray bytes = readFileBytes(path);
        const QByteArray head = bytes.left(bytes.indexOf("TilvarBD account") - 2);
        const auto withVersion = [&](int version) {
            return writeFileBytes(path, head + writeSection([version](TWriter& w) {
                w.writeString(ACCOUNT_MARK);
                w.writeInteger(version);
                w.writeListBegin();
                w.writeString({});
                for (int list = 0; list < 4; ++list) {
                    w.writeListBegin();
                    if (list == 2) { // the artisans who left
                        w.writeString(u"001"_s);
                        w.writeString(u"260101"_s);
                    }
                    w.writeListEnd();
                }
                w.writeListEnd();
            }));
        };
        for (const int version : {0, ACCOUNT_VERSION + 1}) {
            QVERIFY(withVersion(version));
            AppState refused;
            QVERIFY2(loadDB(path, refused, prompt) != LoadResult::Loaded, qPrintable(QString::number(version)));
        }
        QVERIFY(withVersion(1));
        AppState older;
        QCOMPARE(loadDB(path, older, prompt), LoadResult::Loaded);
        QCOMPARE(older.account.gone.value(u"001"_s), u"260101"_s);
        QVERIFY(older.account.stock.isEmpty());
    }
};

QTEST_MAIN(TestStock)
#include "tst_stock.moc"
