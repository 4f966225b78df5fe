// The artisans' account: balances by date against sums made here from the
// sheets and the payouts, shares that stay what they were when the sale was
// made, the account section of the file, and the accountant's CSV.

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "boutique/productState.h"
#include "export/books.h"
#include "export/dbJson.h"
#include "model/balance.h"
#include "model/saleRows.h"
#include "support/fakePrompt.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"
#include "support/testFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One sale: the sheet, the artisan, the product, the quantity and what the
// artisan earns per unit under the rule of that day.
struct Sale {
    const char* date;
    const char* artNo;
    const char* prodNo;
    int qnt;
    qint64 price;   // cents
    qint64 earned;  // cents per unit
};

// 001 is paid the Valeur (18.00 and 5.00); 002 has a rule of their own, 60 %.
const Sale SALES[] = {
    {"261105", "001", "001", 2, 3000, 1800}, {"261105", "002", "001", 1, 2000, 1200},
    {"261120", "001", "002", 3, 1000, 500},  {"261120", "001", "001", -1, 3000, 1800}, // a return
    {"261210", "001", "001", 1, 3000, 1800}, {"261210", "002", "001", 2, 2000, 1200},
};

struct Paid {
    const char* date;
    const char* artNo;
    qint64 cents;
};

// The boutique above: three overlapping periods, the sales of SALES.
void fill(AppState& st)
{
    TArtisan& a = newArtisan(st.artList, u"001"_s, u"Côté"_s, u"Hélène"_s);
    newProduct(a, u"001"_s, u"Produit 001"_s, u"18.00$"_s, u"30.00$"_s);
    newProduct(a, u"002"_s, u"Produit 002"_s, u"5.00$"_s, u"10.00$"_s);
    TArtisan& b = newArtisan(st.artList, u"002"_s, u"Roy; dit \"Luc\""_s); // quoted in the CSV
    newProduct(b, u"001"_s, u"Produit 001"_s, u"7.00$"_s, u"20.00$"_s);
    QHash<QString, QStringList> lines;
    QStringList dates;
    for (const Sale& s : SALES) {
        const QString pno = (u"Xxx"_s + QLatin1String(s.artNo) + u'-' + QLatin1String(s.prodNo));
        const QString price = Money::fromUnits(s.price * 100).format();
        lines[QLatin1String(s.date)] << saleLine(pno, u"Produit"_s, price, QString::number(s.qnt),
                                                 (Money::fromUnits(s.price * 100) * s.qnt).format());
        if (!dates.contains(QLatin1String(s.date)))
            dates.prepend(QLatin1String(s.date));
    }
    for (const QString& d : std::as_const(dates))
        addSheet(st.saleList, d, lines.value(d));
    st.repList.addPeriod(u"Novembre"_s, u"261101"_s, u"261130"_s);
    st.repList.addPeriod(u"Décembre"_s, u"261201"_s, u"261231"_s);
    st.repList.addPeriod(u"Automne"_s, u"261015"_s, u"261215"_s);
    st.account.setRule(u"002"_s, QString(), 60);
}

// What rows (SALES or payouts) with artNo dated from..to add up to, summed here.
template <class Rows, class Value>
qint64 sumOf(const Rows& rows, const QString& artNo, const QString& from, const QString& to, Value value)
{
    qint64 sum = 0;
    for (const auto& r : rows)
        if (QLatin1String(r.artNo) == artNo && QLatin1String(r.date) >= from && QLatin1String(r.date) <= to)
            sum += value(r);
    return sum;
}

qint64 cents(Money m)
{
    return m.units() / 100;
}

Payout payout(const char* artNo, const char* date, qint64 cents)
{
    Payout p;
    p.artNo = QLatin1String(artNo);
    p.date = QLatin1String(date);
    p.amount = Money::fromUnits(cents * 100);
    p.mode = PAYOUT_MODES.first();
    return p;
}

AccountFigures figures(AppState& st, const QString& artNo, const QString& from, const QString& to)
{
    return accountFigures(st.repList.book(st.saleList), st.artList, st.account, ShareRule{st.artSharePercent},
                          artNo, from, to);
}

QByteArray fileBytes(AppState& st, const QString& dir)
{
    const QString path = dir + u"/b.tlvdb"_s;
    saveDB(path, st, nullptr, false);
    return readFileBytes(path);
}

} // namespace

class TestAccount : public QObject {
    Q_OBJECT

private slots:
    void balancesByDate()
    {
        AppState st;
        fill(st);
        recordShares(st);
        // A payout before the sales it settles, one corrected by a reversal.
        const QList<Paid> paid = {{"261101", "001", 1000}, {"261202", "001", 3600}, {"261203", "001", -3600},
                                  {"261203", "001", 4000}, {"261130", "002", 500}};
        st.account.pay(payout("001", "261101", 1000));
        const int wrong = st.account.pay(payout("001", "261202", 3600)).id;
        QCOMPARE(st.account.reverse(wrong, u"261203"_s, u"erreur"_s).amount, Money::fromUnits(-3600 * 100));
        st.account.pay(payout("001", "261203", 4000));
        st.account.pay(payout("002", "261130", 500));

        // Every period and day against the sums made here, overlapping periods
        // and "-[tout]-" alike.
        const struct {
            const char* from;
            const char* to;
        } spans[] = {{"261101", "261130"}, {"261201", "261231"}, {"261015", "261215"},
                     {"", "261104"},       {"261106", "261202"}, {"261203", "261203"}};
        for (const char* no : {"001", "002"}) {
            for (const auto& s : spans) {
                const QString from = QLatin1String(s.from), to = QLatin1String(s.to);
                const AccountFigures f = figures(st, QLatin1String(no), from, to);
                const QString where = QLatin1String(no) + u' ' + from + u".."_s + to;
                const QString eve = from.isEmpty() ? QString() : dateStr(strToDate(from).addDays(-1));
                const auto earned = [](const Sale& r) { return r.earned * r.qnt; };
                const auto amount = [](const Paid& p) { return p.cents; };
                const auto net = [&](const QString& a, const QString& b) {
                    return sumOf(SALES, QLatin1String(no), a, b, earned) - sumOf(paid, QLatin1String(no), a, b, amount);
                };
                QVERIFY2(cents(f.earned) == sumOf(SALES, QLatin1String(no), from, to, earned), qPrintable(where));
                QVERIFY2(cents(f.paid) == sumOf(paid, QLatin1String(no), from, to, amount), qPrintable(where));
                QVERIFY2(cents(f.before) == (eve.isEmpty() ? 0 : net(QString(), eve)), qPrintable(where));
            }
        }
        // Overpaid: an advance, named as one.
        const AccountFigures early = figures(st, u"001"_s, QString(), u"261104"_s);
        QCOMPARE(balanceCaption(early.after()), u"Avance versée"_s);
        QCOMPARE(balanceCaption(figures(st, u"001"_s, QString(), QString()).after()), u"Solde à payer"_s);
        QCOMPARE(balanceCaption(Money()), u"Solde à payer"_s); // settled to the cent: no advance
    }

    void sharesStayWhatTheyWere()
    {
        AppState st;
        fill(st);
        recordShares(st);
        const Money november = figures(st, u"001"_s, u"261101"_s, u"261130"_s).earned;
        st.account.pay(payout("001", "261215", 1500));
        // The Valeur raised and the boutique's rule changed after November
        // was paid: November's share stays; a sale made afterwards earns the new one.
        st.artList.at(0).products.at(0).valeur = u"20.00$"_s;
        st.account.setRule(QString(), u"261201"_s, 50);
        st.saleList.setSheetLines(0, writeCommaList(QStringList{saleLine(u"Xxx001-002"_s, u"Produit"_s, u"10.00$"_s, u"1"_s,
                                                                         u"10.00$"_s)}
                                                    + readCommaList(st.saleList.at(0).lines)));
        recordShares(st);
        QCOMPARE(figures(st, u"001"_s, u"261101"_s, u"261130"_s).earned, november);
        // The day's earlier lines kept theirs (18.00), though a line of another
        // product and the same quantity now comes first; it earns 50 % of 10.00.
        QCOMPARE(figures(st, u"001"_s, u"261210"_s, u"261210"_s).earned, Money::fromUnits((1800 + 500) * 100));
        // A reshare from December leaves what a payout covered and the
        // artisan with a rule of their own.
        const QStringList changed = st.account.reshare(st.artList, ShareRule{0}, QString(), u"261201"_s);
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(u'\n')));
        // 002's own rule lowered from the 6th: only their line of the 10th changes.
        st.account.setRule(u"002"_s, u"261206"_s, 40);
        QCOMPARE(st.account.reshare(st.artList, ShareRule{0}, u"002"_s, u"261206"_s),
                 QStringList{u"261210 002-001 24.00$ -> 16.00$"_s});
        QCOMPARE(figures(st, u"002"_s, QString(), QString()).earned, Money::fromUnits((1200 + 1600) * 100));
        // A line whose quantity is corrected earns anew, under the rule of now (50 % of 60.00).
        QStringList lines = readCommaList(st.saleList.at(0).lines);
        lines[1] = saleLine(u"Xxx001-001"_s, u"Produit"_s, u"30.00$"_s, u"2"_s, u"60.00$"_s);
        st.saleList.setSheetLines(0, writeCommaList(lines));
        recordShares(st);
        QCOMPARE(figures(st, u"001"_s, u"261210"_s, u"261210"_s).earned, Money::fromUnits((3000 + 500) * 100));
    }

    // A line recorded at 0 for want of a Valeur is named while the product
    // still has none, and keeps its 0 once it has one.
    void recordedWithoutValeur()
    {
        AppState st;
        fill(st);
        st.artList.at(0).products.at(1).valeur.clear();
        recordShares(st);
        const auto split = [&st] {
            std::vector<SaleRow> rows;
            for (int i = 0; i < st.saleList.count(); ++i)
                for (SaleRow& r : sheetRows(st.saleList.at(i)))
                    rows.push_back(std::move(r));
            return shareOf(rows, st.artList, ShareRule{0}, &st.account);
        };
        QCOMPARE(split().missing, QStringList{u"002 Produit"_s});
        st.artList.at(0).products.at(1).valeur = u"5.00$"_s;
        QVERIFY(split().missing.isEmpty());
        QCOMPARE(figures(st, u"001"_s, u"261120"_s, u"261120"_s).earned, Money() - Money::fromUnits(1800 * 100));
    }

    void accountSectionInTheFile()
    {
        QTemporaryDir dir;
        AppState older;
        fill(older);
        older.account = Account();
        older.dbVersion = DB_FORMAT_VERSION;
        const QByteArray olderBytes = fileBytes(older, dir.path());

        // An older file opened and saved unchanged stays byte for byte.
        AppState st;
        FakePrompt prompt;
        QCOMPARE(loadDB(dir.path() + u"/b.tlvdb"_s, st, prompt), LoadResult::Loaded);
        recordShares(st);
        QCOMPARE(fileBytes(st, dir.path()), olderBytes);
        // Changed, it gains the section, and reads back whole.
        st.account.pay(payout("001", "261210", 2550));
        st.account.gone.insert(u"002"_s, u"261215"_s);
        st.modified = true;
        const QByteArray withAccount = fileBytes(st, dir.path());
        QVERIFY(withAccount.startsWith(olderBytes));
        AppState back;
        QCOMPARE(loadDB(dir.path() + u"/b.tlvdb"_s, back, prompt), LoadResult::Loaded);
        QCOMPARE(databaseJson(back), databaseJson(st));
        QCOMPARE(back.account.sharesRecordedOn, todayStr());
        AppState unsold; // nothing sold, nothing recorded: no day to name
        recordShares(unsold);
        QVERIFY(unsold.account.sharesRecordedOn.isEmpty());
        QCOMPARE(fileBytes(back, dir.path()), withAccount);
        // An account read from the file is never a first one, rules or none:
        // its sales' shares are recorded without a rule or a day added.
        AppState kept;
        fill(kept);
        kept.account = Account();
        kept.account.inFile = kept.modified = true;
        fileBytes(kept, dir.path());
        QVERIFY(!kept.account.isEmpty() && kept.account.rules().isEmpty() && kept.account.sharesRecordedOn.isEmpty());

        // A reader of the three sections alone stops before the account.
        AppState parts;
        readSection(withAccount, [&](TReader& r) {
            QCOMPARE(r.readInteger(), DB_FORMAT_VERSION);
            parts.artList.readArtisans(r, DB_FORMAT_VERSION, parts.totProdCount);
            parts.saleList.readSales(r);
            parts.repList.readReports(r);
        });
        parts.dbVersion = DB_FORMAT_VERSION;
        QCOMPARE(databaseJson(parts), databaseJson(older));

        // What follows the reports is the account or a damaged file (a version
        // past the last: tst_stock).
        const QByteArray damaged[] = {withAccount + '\0', withAccount.left(withAccount.size() - 1),
                                      olderBytes + writeSection([](TWriter& w) { w.writeString(u"autre"_s); })};
        for (const QByteArray& bytes : damaged) {
            QVERIFY(writeFileBytes(dir.path() + u"/d.tlvdb"_s, bytes));
            AppState d;
            FakePrompt say;
            QCOMPARE(loadDB(dir.path() + u"/d.tlvdb"_s, d, say), LoadResult::ReadError);
            QVERIFY(!d.damagedDbPath.isEmpty());
        }
    }

    // Rules set on one day: each artisan's replaces only its own of that
    // day; the boutique's applies to the others; a later change takes over
    // from its day.
    void rulesChangedOnADay()
    {
        Account account;
        account.setRule(u"001"_s, u"261201"_s, 40);
        account.setRule(u"002"_s, u"261201"_s, 50);
        account.setRule(u"001"_s, u"261201"_s, 45);
        account.setRule(QString(), u"261201"_s, 60);
        account.setRule(u"001"_s, u"261210"_s, 30);
        const ShareRule fallback{20};
        const auto percent = [&](const char* artNo, const char* date) {
            return account.ruleAt(QLatin1String(artNo), QLatin1String(date), fallback).percent;
        };
        QCOMPARE((QList<int>{percent("001", "261130"), percent("001", "261201"), percent("001", "261209"),
                             percent("001", "261210"), percent("002", "261231"), percent("003", "261201")}),
                 (QList<int>{20, 45, 45, 30, 50, 60}));
        QCOMPARE(account.rules().size(), 4);
    }

    // Payouts read from a file: numbers rising from 1, a reversal naming an
    // earlier payout, an amount; refused at each edge.
    void payoutsReadAtTheirEdges()
    {
        struct Paid {
            int id;
            int reverses = 0;
            QString amount = u"12.00"_s;
        };
        const auto read = [](const QList<Paid>& payouts) {
            const QByteArray bytes = writeSection([&](TWriter& w) {
                w.writeListBegin();
                w.writeString({});
                w.writeListBegin(); // rules
                w.writeListEnd();
                w.writeListBegin();
                for (const Paid& p : payouts) {
                    w.writeInteger(p.id);
                    for (const QString& t : {u"001"_s, u"261201"_s, p.amount, u"chèque"_s, QString(), QString(), QString()})
                        w.writeString(t);
                    w.writeInteger(p.reverses);
                }
                w.writeListEnd();
                for (int list = 0; list < 2; ++list) { // who left, the shares recorded
                    w.writeListBegin();
                    w.writeListEnd();
                }
                w.writeListEnd();
            });
            Account account;
            const QString error = errorOf([&] { readSection(bytes, [&](TReader& r) { account.read(r, 1); }); });
            return error.isEmpty() ? int(account.payouts().size()) : -1;
        };
        const struct {
            const char* edge;
            QList<Paid> payouts;
            int read; // the payouts read; -1: the section is refused
        } cases[] = {
            {"numbers rising", {{1}, {2}}, 2},          {"a number again", {{1}, {1}}, -1},
            {"a number going back", {{2}, {1}}, -1},    {"a first number of 0", {{0}}, -1},
            {"a reversal of the payout before", {{1}, {2, 1}}, 2}, {"a reversal of itself", {{1}, {2, 2}}, -1},
            {"a reversal of a number below 0", {{1, -1}}, -1},    {"no amount", {{1, 0, u"abc"_s}}, -1},
        };
        for (const auto& c : cases)
            QVERIFY2(read(c.payouts) == c.read, c.edge);
    }

    void booksForTheAccountant()
    {
        AppState st;
        fill(st);
        recordShares(st);
        st.account.pay(payout("002", "261120", 1000));
        Payout p = payout("001", "261215", 4200);
        p.ref = u"n° 12; \"bis\""_s;
        p.mode = u"virement"_s;
        st.account.pay(p);
        const TReport& dec = std::as_const(st.repList).at(1);
        const BooksInput in{st.repList.book(st.saleList), st.artList, st.account, ShareRule{0}};
        const QByteArray bytes = booksArtisansCsv(in, dec);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        // Parsed back: each artisan's row is what the account says, the total
        // row the sum of the rows.
        QStringList rows = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(rows.takeFirst(), u"Numéro;Artisan;Ventes;Part de la boutique;Montant dû;Payé dans la période;"
                                   "Solde à la fin"_s);
        QCOMPARE(rows, (QStringList{u"001;Côté Hélène;30,00;12,00;18,00;42,00;9,00"_s,
                                    u"002;\"Roy; dit \"\"Luc\"\"\";40,00;16,00;24,00;0,00;26,00"_s,
                                    u"Total;;70,00;28,00;42,00;42,00;35,00"_s}));
        // Payouts the day before the period, on its first and last days, the day after.
        for (const char* day : {"261130", "261201", "261231", "270101"})
            st.account.pay(payout("002", day, 1000));
        const QString edges = QString::fromUtf8(booksPayoutsCsv(in, dec).mid(3));
        const QString roy = u"002;\"Roy; dit \"\"Luc\"\"\";10,00;"_s + PAYOUT_MODES.first() + u";;;;"_s;
        QCOMPARE(edges.split(u"\r\n"_s, Qt::SkipEmptyParts).mid(1),
                 (QStringList{u"2;2026-12-15;001;Côté Hélène;42,00;virement;\"n° 12; \"\"bis\"\"\";;;"_s,
                              u"4;2026-12-01;"_s + roy, u"5;2026-12-31;"_s + roy, u"Total;;;;62,00"_s}));
        QCOMPARE(csvMoney(Money::fromUnits(-50000)), u"-5,00"_s);
        // A field is quoted for any one of the characters that would break its row.
        for (const auto& [f, written] : {std::pair{"a;b", "\"a;b\""}, {"a\"b", "\"a\"\"b\""}, {"a\nb", "\"a\nb\""},
                                         {"a\rb", "\"a\rb\""}, {"ab", "ab"}})
            QCOMPARE(csvRecord({QString::fromUtf8(f), u"x"_s}), QByteArray(written) + ";x\r\n");
    }

    void payoutsRefused()
    {
        const qint64 limit = qint64(10'000'000) * 10000;
        const struct {
            const char* why;
            const char* artNo;
            const char* date;
            qint64 units;
            const char* mode;
            bool refused;
        } rows[] = {
            {"unknown artisan", "009", "261231", 10000, "chèque", true},
            {"not a day", "001", "261232", 10000, "chèque", true},
            {"zero", "001", "261231", 0, "chèque", true},
            {"at the limit", "001", "261231", limit, "chèque", false},
            {"past the limit", "001", "261231", limit + 100, "chèque", true},
            {"fraction of a cent", "001", "261231", 10001, "chèque", true},
            {"unknown mode", "001", "261231", 10000, "troc", true},
        };
        for (const auto& r : rows) {
            Payout p = payout(r.artNo, r.date, 0);
            p.amount = Money::fromUnits(r.units);
            p.mode = QString::fromUtf8(r.mode);
            QVERIFY2(payoutProblem(p, {u"001"_s}).isEmpty() != r.refused, r.why);
        }
    }
};

QTEST_GUILESS_MAIN(TestAccount)
#include "tst_account.moc"
