// Every document adds up as printed: the rows of each output sum to its total,
// the boutique's part plus the amount due is the sales, and both equal sums
// made here from the sheets; the regression files of tests/data/money.

#include "boutiqueGen.h"
#include "boutique/artisanState.h"
#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/textUtil.h"
#include "export/reportDocs.h"
#include "app/tlvdbTool.h"
#include "model/soldSync.h"
#include "model/uArt.h"
#include "report/publish.h"
#include "report/reportCommand.h"
#include "report/settlement.h"
#include "support/fakePrompt.h"
#include "support/testFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString MONEY_DATA = QStringLiteral(TILVAR_TEST_DATA "/money/");

// An amount as a document prints it ("-12.50$"); fails the test otherwise.
qint64 cents(const QString& text)
{
    static const QRegularExpression form(u"^(-?)(\\d+)\\.(\\d\\d)\\$$"_s);
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch()) {
        qWarning() << "not a printed amount:" << text;
        return std::numeric_limits<qint64>::min();
    }
    const qint64 v = m.captured(2).toLongLong() * 100 + m.captured(3).toLongLong();
    return m.captured(1).isEmpty() ? v : -v;
}

// units of ten-thousandths to cents, half away from zero.
qint64 toCents(qint64 units)
{
    return units < 0 ? -((-units + 50) / 100) : (units + 50) / 100;
}

// What the sheets say, summed here: the sales of artisan artNo within
// [from, to] and the share due under percent (0: the products' values).
struct Expected {
    qint64 sales = 0;
    qint64 due = 0;
    int rows = 0;
};

Expected fromSheets(const AppState& st, const QString& artNo, const QString& from, const QString& to, int percent)
{
    Expected e;
    for (int s = 0; s < st.saleList.count(); ++s) {
        const TSaleItem& sheet = st.saleList.at(s);
        if (sheet.date < from || sheet.date > to)
            continue;
        for (const QString& line : readCommaList(sheet.lines)) {
            const QStringList f = readCommaList(line);
            if (f.value(0).mid(f.value(0).size() - 7, 3) != artNo)
                continue;
            const qint64 qnt = f.value(3).toLongLong();
            const qint64 amount = toCents(Money::parse(stripDollar(f.value(2))).units() * qnt);
            e.sales += amount;
            ++e.rows;
            if (percent > 0) {
                e.due += amount * percent < 0 ? -((-amount * percent + 50) / 100) : (amount * percent + 50) / 100;
            } else {
                const TArtisan& a = st.artList.at(st.artList.indexOfArtNo(artNo));
                for (const auto& p : a.products.items())
                    if (p->prodNo == f.value(0).right(3))
                        e.due += toCents(Money::parse(stripDollar(p->valeur)).units() * qnt);
            }
        }
    }
    return e;
}

QStringList captures(const QString& text, const QString& pattern)
{
    QStringList out;
    const QRegularExpression re(pattern, QRegularExpression::DotMatchesEverythingOption);
    for (auto it = re.globalMatch(text); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

qint64 sumOf(const QStringList& amounts)
{
    qint64 sum = 0;
    for (const QString& a : amounts)
        sum += cents(a);
    return sum;
}

// The split a statement's page closes on.
struct Page {
    QString sales, shop, due;
};

Page statementPage(const QString& html)
{
    Page p;
    p.sales = captures(html, u"Ventes au prix de vente</td><td[^>]*>([^<]*)<"_s).value(0);
    p.shop = captures(html, u"Part de la boutique</td><td[^>]*>([^<]*)<"_s).value(0);
    p.due = captures(html, u"Montant dû à l'artisan</td><td[^>]*>([^<]*)<"_s).value(0);
    return p;
}

} // namespace

class TstMoney : public QObject {
    Q_OBJECT

private slots:
    // Every artisan, three periods, both share rules, over a generated
    // boutique: statements (XML and page), the summary and the published sales
    // page add up as printed and as the sheets say.
    void everyOutputAddsUp()
    {
        AppState st;
        generateBoutique(st, {.artisans = 5, .productsPerArtisan = 4, .days = 40, .linesPerDay = 4, .periods = 3});
        // Prices holding a fraction of a cent, and returns, as files written
        // elsewhere hold them.
        for (int s = 0; s < st.saleList.count(); s += 3) {
            QStringList lines = st.saleList.saleLinesOf(s);
            QStringList f = readCommaList(lines.value(0));
            if (f.size() < 5)
                continue;
            f[2] = stripDollar(f.at(2)) + u"5$"_s;
            f[3] = s % 2 ? u"-1"_s : u"3"_s;
            f[4] = QString();
            lines[0] = writeCommaList(f);
            const TSaleItem sheet = st.saleList.at(s);
            st.saleList.storeSheet(s, sheet.date, sheet.agent, sheet.total, lines);
        }
        rebuildLists(st);
        st.repList.addPeriod(ALL_PERIOD_TITLE, {}, {});
        QTemporaryDir dir;
        st.xmlDir = dir.path() + u'/';
        FakePrompt prompt;
        const QList<int> periods{0, 1, st.repList.indexOfTitle(ALL_PERIOD_TITLE)};
        int checked = 0;
        for (const int percent : {0, 37}) {
            st.artSharePercent = percent;
            for (const int p : periods) {
                const TReport& rep = st.repList.at(p);
                const Summary sum = settlementSummary(st, p);
                qint64 summarySales = 0, summaryDue = 0;
                for (const QString& artNo : st.numItems) {
                    const Expected e = fromSheets(st, artNo, rep.startDate, rep.endDate, percent);
                    st.curCIndex = p;
                    st.repList.setConsigne(artNo, p, st.saleList, st.xmlDataLines);
                    const QString xml = salesReportLines(st, prompt).join(u'\n');
                    const QStringList tots = captures(xml, u"<tot>([^<]*)</tot>"_s);
                    QCOMPARE(tots.size(), e.rows);
                    if (e.rows == 0)
                        continue;
                    QCOMPARE(sumOf(tots), e.sales);
                    QCOMPARE(cents(captures(xml, u"<total>([^<]*)</total>"_s).value(0)), e.sales);

                    const Statement s = statementFor(st, statementHeader(st, p), artNo);
                    const Page page = statementPage(splitHtml(s));
                    Money rows;
                    for (const SaleRow& r : s.rows)
                        rows += r.amount;
                    QCOMPARE(cents(rows.format()), e.sales);
                    QCOMPARE(cents(page.sales), e.sales);
                    QCOMPARE(cents(page.due), e.due);
                    QCOMPARE(cents(page.shop) + cents(page.due), e.sales);
                    summarySales += e.sales;
                    summaryDue += e.due;
                    ++checked;
                }
                QCOMPARE(cents(sum.sales.format()), summarySales);
                QCOMPARE(cents(sum.total.format()), summaryDue);
                const QString summary = summaryHtml(sum);
                for (const QString& row : captures(summary, u"<tr class=\"row\">(.*?)</tr>"_s)) {
                    const QStringList c = captures(row, u"<td[^>]*>([^<]*)</td>"_s);
                    QCOMPARE(cents(c.value(4)) + cents(c.value(5)), cents(c.value(3)));
                }
                QCOMPARE(cents(sum.shop.format()) + summaryDue, summarySales);
                const QString sales = publish::salesPageHtml(st, p);
                QStringList amounts;
                for (const QString& row : captures(sales, u"<tr class=\"row\">(.*?)</tr>"_s))
                    amounts << captures(row, u"<td[^>]*>([^<]*)</td>"_s).value(6);
                QCOMPARE(cents(captures(sales, u"<tr class=\"total\">.*?<b>([^<]*)</b></td></tr>"_s).value(0)),
                         sumOf(amounts));
                QCOMPARE(sumOf(amounts), summarySales);
            }
        }
        QVERIFY(checked > 10);
        // (tlvdb consign: the regression files below, rounding and returns among them.)
    }

    // The faults of the regression files, each read by tlvdb as a script does.
    void regressionFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const auto row = [](const char* name, const char* command, const char* file, const QStringList& more, int code,
                            const QString& out, const QString& err = {}) {
            const QString path = MONEY_DATA + QLatin1String(file);
            QTest::newRow(name) << QStringList{QLatin1String(command), path} + more << code
                                << QString(out).replace(u"%f"_s, path) << err; // %f: the file's path
        };
        // A price with a fraction of a cent: each row rounded once, the total their sum.
        row("fraction", "consign", "fraction.tlvdb", {u"Mai"_s, u"001"_s}, 0,
            u"090503,001,001,Bol,3.335$,1,3.34$\n090503,001,002,Vase,12.345$,1,12.35$\n"
            "090502,001,001,Bol,3.335$,1,3.34$\n090502,001,002,Vase,12.345$,1,12.35$\n"
            "090501,001,001,Bol,3.335$,3,10.01$\n090501,001,001,Bol,3.335$,1,3.34$\n"
            "090501,001,002,Vase,12.345$,1,12.35$\nTotal: 57.08$\n"_s);
        // A return with an empty stored total counts; stored totals are not read.
        row("return", "consign", "stored-totals.tlvdb", {u"Mai"_s, u"001"_s}, 0,
            u"090519,001,001,Bol,24.00$,-1,-24.00$\n090518,001,001,Bol,24.00$,3,72.00$\nTotal: 48.00$\n"_s);
        // "-[tout]-" covers the ledger whatever order it is stored in.
        for (const char* name : {"oldest-first.tlvdb", "unsorted.tlvdb", "newest-first.tlvdb"})
            row(name, "consign", name, {ALL_PERIOD_TITLE, u"001"_s}, 0,
                u"090601,001,001,Bol,3.00$,1,3.00$\n090519,001,001,Bol,12.00$,1,12.00$\n"
                "090301,001,001,Bol,12.00$,1,12.00$\nTotal: 27.00$\n"_s);
        // A stored total that differs is listed by check, which still passes.
        row("check totals", "check", "stored-totals.tlvdb", {}, 0,
            u"%f: version 2, 1 artisans, 1 products, 2 sheets, 2 periods\n"
            "sheet 090519: stored total \"\", its lines sum to -24.00$\n"
            "sheet 090518, line TreMar001-001: stored total \"48.00$\", 24.00$ x 3 = 72.00$\n"
            "sheet 090518: stored total \"100.00$\", its lines sum to 72.00$\n"_s);
        // Amounts at the range are summed; past it, refused with exit 1.
        row("at range", "consign", "range.tlvdb", {u"Tasses"_s, u"001"_s}, 0,
            u"090519,001,002,Tasse,1.00$,2147483647,2147483647.00$\n"
            "090519,001,002,Tasse,1.00$,2147483647,2147483647.00$\nTotal: 4294967294.00$\n"_s);
        row("past range", "consign", "range.tlvdb", {u"Bols"_s, u"001"_s}, 1, {},
            u"tlvdb: sheet 090518, line TreMar001-001: amount too large (price x quantity beyond "
            "922337203685477.58$)\n"_s);
        row("sum past range", "consign", "range.tlvdb", {ALL_PERIOD_TITLE, u"001"_s}, 1, {},
            u"tlvdb: amount too large: beyond 922337203685477.58$\n"_s);
        row("check range", "check", "range.tlvdb", {}, 3,
            u"%f: version 2, 1 artisans, 2 products, 2 sheets, 3 periods\n"
            "artisan 001, product 002, 090519: sold 2147483647, on the sheets 4294967294\n"
            "sheet 090519: stored total \"\", its lines sum to 4294967294.00$\n"
            "sheet 090518, line TreMar001-001: amount too large (price x quantity beyond 922337203685477.58$)\n"_s);
    }

    void regressionFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QByteArray o, e;
        QCOMPARE(runTlvdb(args, o, e, {tlvdbReportCommand()}), code);
        QCOMPARE(QString::fromUtf8(o), out);
        QCOMPARE(QString::fromUtf8(e), err);
    }

    // A file stored oldest first settles, reports and resaves as the same
    // file stored newest first; "-[tout]-" follows a sheet added, re-dated or
    // deleted at once.
    void ledgerAndRounding()
    {
        QTemporaryDir dir;
        QByteArray written[2];
        for (int k = 0; k < 2; ++k) {
            AppState st;
            FakePrompt prompt;
            QCOMPARE(loadDB(MONEY_DATA + (k ? u"newest-first.tlvdb"_s : u"oldest-first.tlvdb"_s), st, prompt),
                     LoadResult::Loaded);
            const int all = st.repList.indexOfTitle(ALL_PERIOD_TITLE);
            QCOMPARE(st.repList.at(all).record(), ALL_PERIOD_TITLE + u"|:|090301|:|090601"_s);
            st.saleList.sortByDate();
            const QString out = dir.filePath(u"r%1.tlvdb"_s.arg(k));
            saveDB(out, st);
            written[k] = readFileBytes(out);

            // Re-dated, added, deleted: no save, no dialog in between.
            redateSheet(st.artList, st.saleList, st.saleList.indexOfDate(u"090601"_s), u"090602"_s);
            QCOMPARE(st.repList.at(all).endDate, u"090602"_s);
            st.repList.setConsigne(u"001"_s, all, st.saleList, st.xmlDataLines);
            QCOMPARE(st.repList.total, u"27.00$"_s);
            st.saleList.addSheet(u"090201"_s, u"Ana"_s);
            QCOMPARE(st.repList.at(all).startDate, u"090201"_s);
            deleteSheet(st.artList, st.saleList, st.saleList.indexOfDate(u"090201"_s));
            QCOMPARE(st.repList.at(all).startDate, u"090301"_s);
        }
        QCOMPARE(written[0], written[1]);

        // A sheet's total is the sum of its lines' amounts; shares round per row.
        for (const auto& [text, exact] : {std::pair{u"3.335"_s, u"3.335$"_s}, {u"12.5"_s, u"12.50$"_s}, {u"-0.0005"_s, u"-0.0005$"_s}})
            QCOMPARE(Money::parse(text).formatExact(), exact);
        // Appended to a text, an amount reads as it reads alone, at the range's ends too.
        for (const Money m : {Money::parse(u"3.335"_s), Money::parse(u"-0.005"_s), Money::parse(u"0"_s),
                              Money::fromUnits(std::numeric_limits<qint64>::max()),
                              Money::fromUnits(std::numeric_limits<qint64>::min() + 1)}) {
            QString out = u"x,"_s;
            m.appendFormat(out);
            out += u',';
            m.appendFormatExact(out);
            QCOMPARE(out, u"x,"_s + m.format() + u',' + m.formatExact());
        }
        const std::pair<const char*, const char*> lines[] = {
            {"A001-001,x,-3.335$,1,", "-3.34$"}, {"A001-001,x,12.00$,-2,", "-24.00$"},
            {"A001-001,x,abc,2,9.00$", "0.00$"}, {"A001-001,x,0.0049$,1,", "0.00$"},
        };
        for (const auto& [line, amount] : lines)
            QCOMPARE(makeSaleRow(u"090518"_s, QString::fromUtf8(line)).amount.format(), QString::fromUtf8(amount));
        // A number too large to hold is a fault whatever its sign; a word is no number (0).
        for (const auto& [line, fault] : {std::pair{"A001-001,x,1.00$,-99999999999,", true},
                                          {"A001-001,x,-99999999999999999$,1,", true}, {"A001-001,x,1.00$,x,", false}})
            QVERIFY2(bool(makeSaleRow(u"090518"_s, QString::fromUtf8(line)).fault) == fault, line);
        QCOMPARE(Money::parse(u"0.05"_s).percentOf(50), Money::parse(u"0.03"_s));
        QCOMPARE(Money::parse(u"-0.05"_s).percentOf(50), Money::parse(u"-0.03"_s));
        QVERIFY_THROWS_EXCEPTION(RangeError, Money::parse(u"922337203685477"_s).percentOf(100));
        // Stock and sold quantities at the largest integer are refused, never wrapped.
        QCOMPARE(TProduit::availableOf(5, -5), 10);
        QVERIFY_THROWS_EXCEPTION(RangeError, TProduit::availableOf(2147483647, -1));
        QVERIFY_THROWS_EXCEPTION(RangeError, TProduit::availableOf(-2147483647 - 1, 1));
    }
};

QTEST_MAIN(TstMoney)
#include "tst_money.moc"
