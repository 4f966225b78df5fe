// The charts' figures: the months a chart shows, the sums by month against
// sums made here from the sheets (shares as recorded), the best sellers.

#include "boutique/appState.h"
#include "model/account.h"
#include "model/salesSeries.h"
#include "support/modelSheets.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Sale {
    const char* date;
    const char* artNo;
    const char* prodNo;
    int qnt;
    qint64 price; // cents
};

const Sale SALES[] = {
    {"081120", "001", "001", 2, 1000}, {"090105", "001", "002", 1, 2501}, {"090105", "002", "001", 3, 400},
    {"090215", "001", "001", -1, 1000}, // a return
    {"091110", "002", "001", 5, 400},  {"091130", "001", "001", 1, 1000}, {"091201", "002", "002", 1, 9900},
};

void fill(AppState& st)
{
    for (const char* no : {"001", "002"})
        newArtisan(st.artList, QLatin1String(no));
    for (const Sale& s : SALES) {
        const Money price = Money::fromUnits(s.price * 100);
        addSheet(st.saleList, QLatin1String(s.date),
                 {saleLine(u"Xxx"_s + QLatin1String(s.artNo) + u'-' + QLatin1String(s.prodNo), u"Produit"_s,
                           price.format(), QString::number(s.qnt), (price * s.qnt).format())});
    }
    st.repList.addPeriod(u"Hiver"_s, u"091101"_s, u"091231"_s);
}

// Sales and shares (half of each line, rounded half away from zero) by
// month of artNo ("" for all) dated from..to, in cents, summed here.
QList<QList<qint64>> wanted(const QStringList& months, const QString& artNo, const QString& from, const QString& to)
{
    QList<QList<qint64>> out;
    for (const QString& m : months) {
        qint64 sales = 0, due = 0, items = 0;
        for (const Sale& s : SALES) {
            const QString date = QLatin1String(s.date);
            if (date.startsWith(m) && date >= from && date <= to && (artNo.isEmpty() || artNo == QLatin1String(s.artNo))) {
                sales += s.price * s.qnt;
                due += (s.price * s.qnt + (s.qnt < 0 ? -1 : 1)) / 2;
                items += s.qnt;
            }
        }
        out << QList<qint64>{sales, artNo.isEmpty() ? 0 : due, items};
    }
    return out;
}

QList<QList<qint64>> got(const std::vector<MonthFigures>& series)
{
    QList<QList<qint64>> out;
    for (const MonthFigures& f : series)
        out << QList<qint64>{f.sales.units() / 100, f.due.units() / 100, f.items};
    return out;
}

} // namespace

class TstSalesSeries : public QObject {
    Q_OBJECT

private slots:
    void months()
    {
        const auto y = [](int from, int to) {
            QStringList out;
            for (int m = from; m <= to; m = m % 100 == 12 ? m + 89 : m + 1)
                out << QString::number(m).rightJustified(4, u'0');
            return out;
        };
        const struct {
            QStringList got;
            QStringList want;
        } cases[] = {
            {monthsBetween(u"081120"_s, u"090215"_s), y(811, 902)}, // across the new year
            {monthsBetween(u"090215"_s, u"081120"_s), {}},
            {monthsBetween(u"090230"_s, u"090415"_s), {}}, // not a day
            {monthsBetween(u"09 215"_s, u"090415"_s), {}},
            {chartMonths(u"-[tout]-"_s, u"050101"_s, u"091201"_s), y(901, 912)},
            {chartMonths(u"Longue"_s, u"000101"_s, u"051231"_s), y(401, 512)},
            {chartMonths(u"Hiver"_s, u"091101"_s, u"100131"_s), y(911, 1001)},
            {yearBefore({u"0001"_s, u"0912"_s}), {QString(), u"0812"_s}},
            {{yearEarlier(u"080229"_s), monthName(u"0905"_s), monthName(u"0902"_s, true)},
             {u"070229"_s, u"mai 2009"_s, u"févr. 09"_s}},
        };
        for (const auto& c : cases)
            QCOMPARE(c.got, c.want);
    }

    // Each month's sales, shares and items equal the sheets' lines of the
    // artisan (or the boutique) in that month; shares stay as recorded when
    // the rule changes after.
    void seriesMatchSheets()
    {
        AppState st;
        fill(st);
        st.account.recordShares(st.saleList, st.artList, ShareRule{50});
        const SaleBook& book = st.repList.book(st.saleList);
        const QStringList all = monthsBetween(u"081101"_s, u"091231"_s);
        // No period chosen, or one past the last: no rows.
        for (const int p : {-1, st.repList.count()})
            QVERIFY2(book.periodRows(p).empty() && book.periodSize(p) == 0 && book.artisanRows(p, u"001"_s).empty(),
                     qPrintable(QString::number(p)));
        QVERIFY(book.periodTexts(st.repList.count()).isEmpty());
        for (const QString& artNo : {u"001"_s, u"002"_s}) {
            const MonthTally t = artisanMonths(book, st.artList, st.account, ShareRule{20}, artNo, u"090105"_s, {});
            QCOMPARE(got(t.series(all)), wanted(all, artNo, u"090105"_s, u"999999"_s));
        }
        QCOMPARE(got(boutiqueMonths(book, {}, u"091130"_s).series(all)), wanted(all, {}, {}, u"091130"_s));

        // A period's months, beside the same days of the year before while
        // the ledger reaches back to them.
        const auto tally = [&](const QString& from, const QString& to) { return boutiqueMonths(book, from, to); };
        const QStringList winter{u"0911"_s, u"0912"_s};
        YearOnYear y = yearOnYear(u"Hiver"_s, u"091115"_s, u"091231"_s, u"081120"_s, tally);
        QCOMPARE(got(y.months), wanted(winter, {}, u"091115"_s, u"091231"_s));
        QCOMPARE(got(y.before), wanted(yearBefore(winter), {}, u"081115"_s, u"081231"_s));
        for (const auto& [from, to, oldest, shown] : {std::tuple{u"091115"_s, u"091231"_s, u"081231"_s, true},
                                                      {u"091115"_s, u"091231"_s, u"090101"_s, false},
                                                      {u"091115"_s, u"091231"_s, QString(), false},
                                                      {u"000301"_s, u"000331"_s, u"000101"_s, false}})
            QCOMPARE(yearOnYear(u"Hiver"_s, from, to, oldest, tally).before.empty(), !shown);
    }

    void bestSellers()
    {
        AppState st;
        fill(st);
        const BestSellers b = ::bestSellers(st.repList.book(st.saleList), 0, 2);
        QCOMPARE(b.total.units() / 100, 12900);
        QStringList order;
        for (const auto* list : {&b.artisans, &b.products})
            for (const Ranked& r : *list)
                order << r.key + u' ' + r.sales.plain() + u' ' + QString::number(r.items);
        QCOMPARE(order, (QStringList{u"002 119.00 6"_s, u"001 10.00 1"_s, u"002-002 99.00 1"_s, u"002-001 20.00 5"_s}));
        // Equal sales: more units first, then the key; nothing sold, none.
        QStringList tied;
        for (const Ranked& r : topOf({{u"b"_s, {}, Money::fromUnits(5), 1}, {u"z"_s, {}, Money(), 3},
                                      {u"a"_s, {}, Money::fromUnits(5), 1}, {u"c"_s, {}, Money::fromUnits(5), 2}},
                                     5))
            tied << r.key;
        QCOMPARE(tied, (QStringList{u"c"_s, u"a"_s, u"b"_s}));

        const struct {
            qint64 part, whole;
            QString text;
        } shares[] = {{1, 3, u"33,3 %"_s}, {2, 3, u"66,7 %"_s}, {1, 8, u"12,5 %"_s}, {3, 3, u"100,0 %"_s},
                      {5, 0, QString()},   {4'000'000'000'000'000'000, 8'000'000'000'000'000'000, u"50,0 %"_s}};
        for (const auto& s : shares)
            QCOMPARE(shareText(Money::fromUnits(s.part), Money::fromUnits(s.whole)), s.text);
    }
};

QTEST_MAIN(TstSalesSeries)
#include "tst_salesSeries.moc"
