// The tlvdb command-line tool, run as users and scripts run it: outputs and
// exit codes of dump, check, resave, consign and report.

#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "boutique/dbFile.h"
#include "core/dbLock.h"
#include "export/dbJson.h"
#include "model/uArt.h"
#include "support/fakePrompt.h"
#include "support/modelSheets.h"
#include "support/testFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString DATA = QStringLiteral(TILVAR_TEST_DATA "/");
const QString REFERENCE = DATA + u"sales-realistic.tlvdb"_s;

ProcessRun tlvdb(const QStringList& args)
{
    return runProcess(qEnvironmentVariable("TLVDB_BIN"), args);
}

// Runs tlvdb with args; it must exit with code, its errors saying says.
void expectExit(const QStringList& args, int code, const QByteArray& says)
{
    const ProcessRun r = tlvdb(args);
    QVERIFY2(r.code == code && r.err.contains(says), qPrintable(args.join(u' ') + u": "_s + QString::fromUtf8(r.err)));
}

} // namespace

class TestTlvdb : public QObject {
    Q_OBJECT

private slots:
    // Payouts recorded from a script, the balances and the accountant's
    // books; never while the program holds the file.
    void accountPayAndBooks()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(u"b.tlvdb"_s);
        QVERIFY(QFile::copy(REFERENCE, db));
        const QByteArray before = readFileBytes(db);
        const struct {
            QStringList args;
            int code;
        } refused[] = {
            {{u"001"_s, u"douze"_s, u"090520"_s}, 2},
            {{u"009"_s, u"12.00"_s, u"090520"_s}, 1},
            {{u"001"_s, u"12.00"_s, u"090520"_s, u"--period"_s, u"Hiver"_s}, 1},
            {{u"001"_s, u"12.00"_s, u"090520"_s, u"--color"_s, u"bleu"_s}, 2},
            {{u"001"_s, u"12.00"_s, u"090520"_s, u"--note"_s}, 2}, // an option last, without its value
        };
        for (const auto& c : refused) {
            const ProcessRun r = tlvdb(QStringList{u"pay"_s, db} + c.args);
            QVERIFY2(r.code == c.code && r.out.isEmpty(), qPrintable(c.args.join(u' ') + u": "_s + QString::fromUtf8(r.err)));
        }
        {
            DbLock held(db);
            QVERIFY(held.tryLock());
            expectExit({u"pay"_s, db, u"001"_s, u"12.00"_s, u"090520"_s}, 1, "is open in");
        }
        QCOMPARE(readFileBytes(db), before);

        const ProcessRun paid = tlvdb({u"pay"_s, db, u"001"_s, u"12.50"_s, u"090520"_s, u"--mode"_s, u"virement"_s,
                                       u"--ref"_s, u"VIR-7"_s, u"--period"_s, u"Printemps"_s});
        QVERIFY2(paid.code == 0 && paid.out.startsWith("payout 1 recorded: 001 12.50$"), paid.err.constData());
        const ProcessRun check = tlvdb({u"check"_s, db});
        QVERIFY2(check.code == 0, check.out.constData());
        const ProcessRun dump = tlvdb({u"dump"_s, db});
        QVERIFY(dump.out.contains("\"amount\": \"12.50\"") && dump.out.contains("\"ref\": \"VIR-7\""));
        // Paid on the 1st: counted at the end of that day, not the day before.
        const ProcessRun on = tlvdb({u"account"_s, db, u"001"_s, u"--date"_s, u"090520"_s});
        const ProcessRun eve = tlvdb({u"account"_s, db, u"001"_s, u"--date"_s, u"090519"_s});
        QVERIFY2(on.code == 0 && on.out.contains("paid 12.50$"), on.out.constData());
        QVERIFY2(eve.code == 0 && eve.out.contains("paid 0.00$"), eve.out.constData());

        const QString out = dir.filePath(u"compta"_s);
        const ProcessRun books = tlvdb({u"books"_s, db, u"Printemps"_s, out});
        QVERIFY2(books.code == 0, books.err.constData());
        const QStringList files = QDir(out).entryList(QDir::Files);
        QCOMPARE(files, (QStringList{u"comptable-Printemps-artisans.csv"_s, u"comptable-Printemps-paiements.csv"_s}));
        QVERIFY(readFileBytes(dir.filePath(u"compta/"_s + files.at(1))).contains("12,50;virement;VIR-7;Printemps"));
    }

    // The stock the books expect, and what came in before a day unsold.
    void stock()
    {
        ProcessRun r = tlvdb({u"stock"_s, REFERENCE, u"001"_s, u"--unsold-since"_s, u"090401"_s});
        QCOMPARE(r.code, 0);
        const QStringList lines = QString::fromUtf8(r.out).split(u'\n');
        for (const QString& want : {u"TreMar001-001  Vase bleu, grand  4  090301  24.00$  12.00$"_s,
                                    u"TreMar001-002  Bol \"Océan\"  2  090301  15.00$  8.50$"_s, u"total  6 units"_s,
                                    u"TreMar001-001  Vase bleu, grand  2  4  090301  24.00$  12.00$"_s})
            QVERIFY2(lines.contains(want), qPrintable(want + u" in\n"_s + lines.join(u'\n')));
        QVERIFY(!r.out.contains("Li_Bo_") && !r.out.contains("TreMar001-003"));
        r = tlvdb({u"stock"_s, REFERENCE});
        QVERIFY(r.code == 0 && r.out.contains("Li_Bo_002-001  Foulard soie  1  090401"));
        for (const QStringList& bad : {QStringList{u"--unsold-since"_s, u"091332"_s}, {u"001"_s, u"002"_s}})
            QCOMPARE(tlvdb(QStringList{u"stock"_s, REFERENCE} + bad).code, 2);
        QCOMPARE(tlvdb({u"stock"_s, REFERENCE, u"042"_s}).code, 1);
    }

    void usageAndDump()
    {
        for (const QStringList& args : {QStringList{}, QStringList{u"frobnicate"_s, u"x"_s}, QStringList{u"dump"_s},
                                        QStringList{u"check"_s, u"a"_s, u"b"_s}, QStringList{u"resave"_s, REFERENCE},
                                        QStringList{u"consign"_s, REFERENCE, u"Printemps"_s},
                                        QStringList{u"report"_s, REFERENCE, u"Printemps"_s},
                                        // Empty OUTDIR, artisan number or output.
                                        QStringList{u"report"_s, REFERENCE, u"Printemps"_s, QString()},
                                        QStringList{u"report"_s, REFERENCE, u"Printemps"_s, u"unused"_s, QString()},
                                        QStringList{u"consign"_s, REFERENCE, u"Printemps"_s, QString()},
                                        QStringList{u"resave"_s, REFERENCE, QString()},
                                        // An option given last, without its value.
                                        QStringList{u"account"_s, REFERENCE, u"001"_s, u"--date"_s},
                                        QStringList{u"stock"_s, REFERENCE, u"--unsold-since"_s},
                                        // One operand short, and one too many.
                                        QStringList{u"tags"_s, REFERENCE},
                                        QStringList{u"tags"_s, REFERENCE, u"t.pdf"_s, u"001"_s, u"001"_s, u"x"_s}}) {
            const ProcessRun r = tlvdb(args);
            QVERIFY2(r.code == 2 && (r.err.startsWith("tlvdb: ") || r.err.contains("usage: tlvdb")) && r.out.isEmpty(),
                     r.err.constData());
        }
        const ProcessRun help = tlvdb({u"--help"_s});
        QVERIFY(help.code == 0 && help.out.contains("exit codes"));

        // Every field, in order, every text as it is stored.
        const ProcessRun r = tlvdb({u"dump"_s, REFERENCE});
        QVERIFY(r.code == 0 && r.err.isEmpty());
        QCOMPARE(r.out, readFileBytes(DATA + u"sales-realistic.json"_s));
        // A script reading the dump gets every text back as stored, whatever it holds.
        AppState st;
        const QString odd = u"\"q\" \\ \n\r\t\x01\x1F é \U0001F338"_s;
        addArtisan(st, u"001"_s).comment = odd;
        const QJsonDocument json = QJsonDocument::fromJson(databaseJson(st));
        QCOMPARE(json[u"artisans"_s][0][u"comment"_s].toString(), odd);
    }

    void checkAndFailures()
    {
        QTemporaryDir tmp;
        // A "%" in the name is printed as it is.
        const QString percent = tmp.filePath(u"caisse%3.tlvdb"_s);
        QVERIFY(QFile::copy(REFERENCE, percent));
        QVERIFY(tlvdb({u"check"_s, percent}).out.startsWith(percent.toUtf8() + ": version 2, 3 artisans"));

        // Every command opens its file the same way (a damaged one: resave).
        expectExit({u"dump"_s, tmp.filePath(u"none.tlvdb"_s)}, 2, "no such file");
    }

    void checkListsDifferences()
    {
        // A line of a deleted product is listed but does not fail the check; a
        // number two artisans share loads and is named; the file stays as it was.
        // (A sold quantity the sheets lack: exit 3, tst_money's "check range".)
        QTemporaryDir tmp;
        AppState st;
        addArtisan(st, u"005"_s).nom = u"Tremblay"_s;
        addSheet(st.saleList, u"090518"_s, {saleLine(u"TreMar005-002"_s, u"Vase"_s, u"2.00$"_s, u"1"_s, u"2.00$"_s)}, {},
                 u"2.00$"_s);
        addArtisan(st, u"005"_s).nom = u"Martin"_s;
        const QString path = tmp.filePath(u"gaps.tlvdb"_s);
        saveDB(path, st);
        const QByteArray bytes = readFileBytes(path);
        const ProcessRun r = tlvdb({u"check"_s, path});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.split('\n').mid(1), (QList<QByteArray>{
                     "history: artisan 005, product 002 (deleted), 090518: 1 on the sheet",
                     "duplicate artisan number 005: Tremblay, Martin", ""}));
        QCOMPARE(readFileBytes(path), bytes);
    }

    void resave()
    {
        QTemporaryDir tmp;
        const QString out = tmp.filePath(u"out.tlvdb"_s);
        QCOMPARE(tlvdb({u"resave"_s, REFERENCE, out}).code, 0);
        QCOMPARE(readFileBytes(out), readFileBytes(REFERENCE));
        // A version-1 file (artisans without products, cp1252 texts) comes out in the current format.
        QCOMPARE(tlvdb({u"resave"_s, DATA + u"db-version1.tlvdb"_s, out}).code, 0);
        QCOMPARE(readFileBytes(out), readFileBytes(DATA + u"db-version1-resaved.tlvdb"_s));
        // The replaced OUT is kept in backup/; a file named "backup" there does not stop the resave.
        const QDir backup(tmp.filePath(u"backup"_s));
        QCOMPARE(backup.entryList(QDir::Files).size(), 1);
        QVERIFY(QDir(backup).removeRecursively() && writeFileBytes(backup.path(), "not a folder"));
        expectExit({u"resave"_s, REFERENCE, out}, 0, "no backup copy kept");
        QCOMPARE(readFileBytes(out), readFileBytes(REFERENCE));

        // A file that cannot be read whole is refused and nothing is written.
        const QByteArray whole = readFileBytes(REFERENCE);
        const QString cut = tmp.filePath(u"cut.tlvdb"_s);
        QVERIFY(writeFileBytes(cut, whole.left(whole.size() / 2)));
        const QString refused = tmp.filePath(u"refused.tlvdb"_s);
        QCOMPARE(tlvdb({u"resave"_s, cut, refused}).code, 1);
        QVERIFY(!QFile::exists(refused));
        // An output that cannot be written (its folder is a file).
        expectExit({u"resave"_s, REFERENCE, cut + u"/x.tlvdb"_s}, 1, "tlvdb: ");
    }

    void consign()
    {
        const ProcessRun r = tlvdb({u"consign"_s, REFERENCE, u"Printemps"_s, u"001"_s});
        QCOMPARE(r.code, 0);
        QCOMPARE(QString::fromUtf8(r.out),
                 u"090518,001,001,\"Vase bleu, grand\",24.00$,2,48.00$\n"
                 "090518,001,002,\"Bol \"\"Océan\"\"\",15.00$,1,15.00$\n"
                 "090518,001,003,,0.00$,0,0.00$\n" // every row prints its amount
                 "Total: 63.00$\n"_s);
        // A period without sales (a title with a comma and accents: tst_saleEditor).
        const ProcessRun none = tlvdb({u"consign"_s, REFERENCE, u"juillet"_s, u"001"_s});
        QVERIFY(none.code == 0 && none.out == "Total: 0.00$\n");
        expectExit({u"consign"_s, REFERENCE, u"Automne"_s, u"001"_s}, 1, "Automne");
        expectExit({u"consign"_s, REFERENCE, u"Printemps"_s, u"009"_s}, 1, "009");
    }

    // Month-end from a script: one artisan's three files, or every artisan
    // with sales and the summary; the XML is the document the window writes.
    void report()
    {
        QTemporaryDir tmp;
        const QString one = tmp.filePath(u"one"_s);
        const ProcessRun r = tlvdb({u"report"_s, REFERENCE, u"Printemps"_s, one, u"002"_s});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.endsWith("Total: 45.00$\nDue: 20.00$\n") && r.err.isEmpty());
        // (Its XML is byte for byte the report window's: tst_crossWindows.)
        QCOMPARE(QDir(one).entryList(QDir::Files), (QStringList{u"c002.html"_s, u"c002.pdf"_s, u"c002.xml"_s}));

        const QString all = tmp.filePath(u"all"_s);
        const ProcessRun a = tlvdb({u"report"_s, REFERENCE, u"Printemps"_s, all});
        QCOMPARE(a.code, 0);
        // Each artisan's amount due (each product's "Valeur"); the total of the
        // sales at selling price, as for one artisan, and the total due.
        QCOMPARE(a.out, QByteArray("001 3 32.50$\n002 1 20.00$\nTotal: 108.00$\nDue: 52.50$\n"));
        QCOMPARE(QDir(all).entryList(QDir::Files).size(), 8); // sommaire.html and .pdf too

        const ProcessRun intoFile = tlvdb({u"report"_s, REFERENCE, u"Printemps"_s, one + u"/c002.xml"_s});
        QVERIFY(intoFile.code == 1 && intoFile.err.startsWith("tlvdb: "));
    }

    // No output replaces an input, whatever name leads to it, nor is written
    // through a named pipe; check lists what may be a save's leftover.
    void outputsRefused()
    {
        QTemporaryDir tmp;
        const QString db = tmp.filePath(u"boutique.tlvdb"_s);
        const QString ini = tmp.filePath(u"tilvarDB.ini"_s);
        const QString link = tmp.filePath(u"link.pdf"_s);
        const QString fifo = tmp.filePath(u"pipe.pdf"_s);
        QVERIFY(QFile::copy(REFERENCE, db) && writeFileBytes(ini, "[PREFS]\nshopName=Tilvar\n"));
        QCOMPARE(::symlink(QFile::encodeName(db).constData(), QFile::encodeName(link).constData()), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString settings = u"--settings="_s + ini;
        const QList<std::pair<QStringList, QByteArray>> cases{
            {{u"tags"_s, db, link, settings}, "being read"},
            {{u"tags"_s, db, ini, settings}, "being read"},
            {{u"tags"_s, db, fifo, settings}, "named pipe"},
            {{u"resave"_s, db, fifo}, "named pipe"},
            {{u"resave"_s, db, link}, "being read"}};
        for (const auto& [args, says] : cases) {
            const ProcessRun r = tlvdb(args);
            QVERIFY2(r.code == 1 && r.err.contains(says) && r.err.contains(args.at(2).toUtf8()), r.err.constData());
        }
        QCOMPARE(readFileBytes(db), readFileBytes(REFERENCE));
        QCOMPARE(readFileBytes(ini), QByteArray("[PREFS]\nshopName=Tilvar\n"));
        QVERIFY(QFileInfo(link).isSymLink() && !QFileInfo::exists(tmp.filePath(u"backup"_s)));
        struct stat sb {};
        QVERIFY(::lstat(QFile::encodeName(fifo).constData(), &sb) == 0 && S_ISFIFO(sb.st_mode));

        QVERIFY(writeFileBytes(db + u".oldOne"_s, "mine"));
        const ProcessRun c = tlvdb({u"check"_s, db});
        QVERIFY2(c.code == 0 && c.out.contains("leftover: " + QFile::encodeName(db) + ".oldOne"), c.out.constData());
    }

    // Every write checked; no output replaces an input; OUTDIR is made, nothing is written beside it, a period
    // without sales says so; an artisan known only from the sheets is taken.
    void writesAndInputs()
    {
        QTemporaryDir tmp;
        const ProcessRun full = runProcess(u"/bin/sh"_s, {u"-c"_s, u"\"$0\" dump \"$1\" > /dev/full"_s,
                                                          qEnvironmentVariable("TLVDB_BIN"), REFERENCE});
        QVERIFY2(full.code == 1 && QString::fromUtf8(full.err).contains(u"plus d'espace"_s), full.err.constData());

        const QString fifo = tmp.filePath(u"pipe.tlvdb"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        expectExit({u"check"_s, fifo}, 2, "FIFO");
        // Settings that are a pipe: refused, not read as empty ones, and nothing written.
        const QString pdf = tmp.filePath(u"tags.pdf"_s);
        expectExit({u"tags"_s, REFERENCE, pdf, u"--settings="_s + fifo}, 2, "FIFO");
        QVERIFY(!QFileInfo::exists(pdf));

        const QString named = tmp.filePath(u"sommaire.html"_s);
        QVERIFY(QFile::copy(REFERENCE, named));
        const QString self = tmp.filePath(u"c001.pdf"_s);
        QVERIFY(QFile::copy(REFERENCE, self));
        for (const QStringList& args : {QStringList{u"report"_s, named, u"Printemps"_s, tmp.path()},
                                        QStringList{u"report"_s, self, u"Printemps"_s, tmp.path(), u"001"_s}})
            expectExit(args, 1, "tlvdb: ");
        QCOMPARE(readFileBytes(named), readFileBytes(REFERENCE));
        QCOMPARE(readFileBytes(self), readFileBytes(REFERENCE));

        const QString made = tmp.filePath(u"new/juillet"_s);
        expectExit({u"report"_s, REFERENCE, u"juillet"_s, made}, 3, "no sales");
        QCOMPARE(QDir(made).entryList(QDir::Files), (QStringList{u"sommaire.html"_s, u"sommaire.pdf"_s}));
        QCOMPARE(QDir(tmp.filePath(u"new"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"juillet"_s});

        AppState st;
        FakePrompt prompt;
        QCOMPARE(loadDB(REFERENCE, st, prompt), LoadResult::Loaded);
        st.artList.at(st.artList.indexOfArtNo(u"002"_s)).artNo = u"902"_s; // 002 now only in the sheets
        const QString removed = tmp.filePath(u"removed.tlvdb"_s);
        saveDB(removed, st);
        QCOMPARE(tlvdb({u"consign"_s, removed, u"Printemps"_s, u"002"_s}).out.right(14), QByteArray("Total: 45.00$\n"));
        QVERIFY(tlvdb({u"report"_s, removed, u"Printemps"_s, tmp.filePath(u"gone"_s), u"002"_s})
                    .out.endsWith("Total: 45.00$\nDue: 0.00$\n")); // no "Valeur" left to pay
    }
};

QTEST_GUILESS_MAIN(TestTlvdb)
#include "tst_tlvdb.moc"
