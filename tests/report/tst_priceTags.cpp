// Price tags: the barcodes read back by a scanner's decoder, what the tags
// say, the sheets and their layouts, and tlvdb tags.

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/iniFile.h"
#include "model/productSearch.h"
#include "report/pdfPainter.h"
#include "report/priceTags.h"
#include "support/fakePrompt.h"
#include "support/testFiles.h"

#include <QBuffer>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString REFERENCE = QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb");

// What zbarimg reads on the pages of pdf scanned at 300 dpi, sorted (it
// names a symbol seen twice on one page once).
QStringList decoded(const QString& dir, const QByteArray& pdf)
{
    const QString path = dir + u"/tags.pdf"_s;
    writeFileBytes(path, pdf);
    if (runProcess(u"pdftoppm"_s, {u"-r"_s, u"300"_s, u"-gray"_s, u"-png"_s, path, dir + u"/page"_s}).code != 0)
        return {u"<no pages>"_s};
    QStringList pages = QDir(dir).entryList({u"page*.png"_s});
    for (QString& p : pages)
        p.prepend(dir + u'/');
    const ProcessRun r = runProcess(u"zbarimg"_s, QStringList{u"--raw"_s, u"-q"_s} + pages);
    QStringList codes = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
    codes.sort();
    codes.removeDuplicates();
    return codes;
}

} // namespace

class TstPriceTags : public QObject {
    Q_OBJECT

private slots:
    // The decoders the test command installs: every test here needs them.
    void initTestCase()
    {
        for (const QString& tool : {u"pdftoppm"_s, u"zbarimg"_s, u"pdftotext"_s})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                     qPrintable(tool + u" is missing: scripts/install-deps.sh"_s));
    }

    void barcodesReadBack()
    {
        const QString letter = tagPresets().at(0).layout.toText();
        const struct {
            QString artisan; // family and first name
            QString descript;
            QString layout;
            QString code;
            QString text; // the description as printed
        } cases[] = {
            {u"Côté|:|Hélène"_s, u"Écharpe"_s, letter, u"CotHel001-001"_s, u"Écharpe"_s},
            {u"Li|:|Bo"_s, u"Bol"_s, tagPresets().at(1).layout.toText(), u"LiBo001-001"_s, u"Bol"_s},
            // The narrowest label a barcode is drawn on: modules of 2 dots.
            {u"Gagnon|:|Éric"_s, u"Broche"_s, u"100;60;36;20;2;2;2;2;2;2"_s, u"GagEri001-001"_s, u"Broche"_s},
            {u"Œuvre|:|Zoë"_s, u"Grand plateau de service en érable massif, huilé, poignées en laiton"_s, letter,
             u"OEuvZoe001-001"_s, u"Grand plateau de service en érable"_s},
        };
        for (const auto& c : cases) {
            AppState st;
            st.shopName = u"Boutique Tilvar"_s;
            TArtisan& a = st.artList.append();
            a.setArtRecord(u"001|:|%1|:||:||:||:||:||:||:||:|"_s.arg(c.artisan));
            // Two units received.
            a.products.append().setProdRecord(
                u"001:|:001:|:%1:|::|:1234.50$:|:2609012:|::|:0:|:2:|::|::|:"_s.arg(c.descript));
            const QList<PriceTag> tags = tagsFor(st, {});
            QCOMPARE(tags.size(), 2);
            QTemporaryDir dir;
            const QByteArray pdf = tagsPdf(tags, TagLayout::fromText(c.layout), 0);
            QCOMPARE(decoded(dir.path(), pdf), QStringList({c.code}));
            // The search finds what the scanner types.
            QCOMPARE(findProducts(st.artList, c.code, 5).value(0).exactKey, true);
            const QString printed = pdfBytesText(pdf);
            // (A small label keeps the price whole and cuts the boutique's name.)
            for (const QString& want : {u"Boutique"_s, st.artList.displayName(0), c.text, u"1234.50$"_s, c.code})
                QVERIFY2(printed.contains(want), qPrintable(want + u" in "_s + printed));
            // A description too long for the label is cut with "...".
            QCOMPARE(printed.contains(c.descript), c.descript.size() <= 40);
            QVERIFY(c.descript.size() <= 40 || (printed.contains(u"..."_s) && !printed.contains(u"laiton"_s)));
        }
    }

    // Which tags: per unit received, on a day, or a chosen number each (one
    // product per unit: tst_printouts).
    void choiceSheetsAndLayouts()
    {
        AppState st;
        FakePrompt prompt;
        QCOMPARE(loadDB(REFERENCE, st, prompt), LoadResult::Loaded);
        const struct {
            TagChoice choice;
            QString keys;
        } cases[] = {
            {{0, 0, QString(), 3}, u"TreMar001-001 x3"_s}, // one product, copies
            {{-1, -1, u"090410"_s, 0}, u"TreMar001-001 x2"_s}, // a day's delivery
            {{-1, -1, u"090301"_s, 1}, u"TreMar001-001 x1 TreMar001-002 x1"_s},
            // A product received as nothing that day still gets the tags asked for.
            {{-1, -1, u"090518"_s, 2}, u"TreMar001-003 x2"_s},
            {{-1, -1, u"090518"_s, 0}, QString()},
            {{1, -1, QString(), 0}, u"Li_Bo_002-001 x2"_s}, // returned units do not count
            {{-1, -1, u"090411"_s, 0}, QString()}, // no delivery that day
        };
        for (const auto& c : cases) {
            // Runs of equal keys: "key xN".
            QStringList runs;
            const QList<PriceTag> tags = tagsFor(st, c.choice);
            for (qsizetype i = 0, n = 0; i < tags.size(); i += n) {
                for (n = 1; i + n < tags.size() && tags.at(i + n).key == tags.at(i).key;)
                    ++n;
                runs << u"%1 x%2"_s.arg(tags.at(i).key).arg(n);
            }
            QCOMPARE(runs.join(u' '), c.keys);
        }

        // Starting on a partly used sheet; which layouts are refused.
        QTemporaryDir dir;
        const TagLayout letter = tagPresets().at(0).layout;
        const QList<PriceTag> three(3, PriceTag{u"B"_s, u"A (001)"_s, u"D"_s, u"1.00$"_s, u"AaaBbb001-001"_s});
        const QByteArray pdf = tagsPdf(three, letter, 28);
        QCOMPARE(pdfBytesText(pdf, {u"-f"_s, u"1"_s, u"-l"_s, u"1"_s}).count(u"AaaBbb001-001"_s), 2);
        QCOMPARE(pdfBytesText(pdf, {u"-f"_s, u"2"_s, u"-l"_s, u"2"_s}).count(u"AaaBbb001-001"_s), 1);
        QString error;
        QVERIFY(tagsPdf(three, letter, 30, &error).isEmpty());
        QCOMPARE(error, u"La position de départ doit être entre 1 et 30."_s);
        QVERIFY(tagsPdf({}, letter, 0, &error).isEmpty());
        QCOMPARE(error, u"Aucune étiquette à imprimer."_s);

        // What the settings file keeps is refused the same way, and said.
        const QString ini = dir.filePath(u"tilvarDB.ini"_s);
        TIniFile(ini).writeString(u"TAGS"_s, u"layout"_s, u"210;inf;70;37;3;8;0;0.5;0;0"_s);
        QString why;
        QCOMPARE(readTagLayout(ini, &why), letter);
        QVERIFY(why.contains(u"nombre de millimètres"_s));
        QFile::remove(ini);
        // Kept and read again: tst_printouts; without settings, Letter.
        QCOMPARE(readTagLayout(dir.filePath(u"tilvarDB.ini"_s)), letter);
    }

    // However many units or copies are asked, nothing is held per tag: the
    // runs are one per product, and past MaxTags the printing is refused.
    void countsProgressAndCuts()
    {
        AppState st;
        TArtisan& a = st.artList.append();
        a.setArtRecord(u"001|:|Li|:|Bo|:||:||:||:||:||:||:||:|"_s);
        TProduit& p = a.products.append();
        p.setProdRecord(u"001:|:001:|:Bol:|::|:5.00$:|::|::|:0:|:0:|::|::|:"_s);
        const TagLayout letter = tagPresets().at(0).layout;
        const struct {
            QString received; // packed events
            int copies;
            qint64 count;
            bool refused;
        } cases[] = {
            {u"2609012000000000"_s, 0, MaxTags + 1, true},          // two billion units
            {u"2609012000000000,2609022000000000"_s, 0, MaxTags + 1, true}, // a total past int
            {u"2609015"_s, MaxCopies, MaxCopies, false},
            {u"2609011000000"_s, 0, 1000000, false},
            {u"260901,2609023"_s, 0, 3, false}, // a delivery without its quantity counts for none
        };
        for (const auto& c : cases) {
            p.qntList.setQntText(c.received);
            const QList<TagRun> runs = tagRunsFor(st, {-1, -1, QString(), c.copies});
            QCOMPARE(runs.size(), 1);
            QCOMPARE(runs.first().count, c.count);
            QCOMPARE(tagsProblem(runs, letter, 0).startsWith(u"Trop d'étiquettes"_s), c.refused);
        }
        QList<TagRun> many(3, TagRun{PriceTag{}, MaxTags});
        QCOMPARE(tagCount(many), MaxTags + 1);

        // The sheets are told as they are written; stopping leaves no document.
        const QList<TagRun> runs{{PriceTag{u"B"_s, u"A (001)"_s, u"D"_s, u"1.00$"_s, u"AaaBbb001-001"_s}, 65}};
        QList<qint64> told;
        QBuffer all;
        all.open(QIODevice::WriteOnly);
        QVERIFY(writeTagsPdf(all, runs, letter, 29, nullptr, [&](qint64 done, qint64 total) {
            told << done * 100 + total;
            return true;
        }));
        QCOMPARE(told, (QList<qint64>{104, 204, 304, 404}));
        QVERIFY(all.data().startsWith("%PDF") && all.data().contains("%%EOF"));
        QBuffer stopped;
        stopped.open(QIODevice::WriteOnly);
        QString error = u"x"_s;
        QVERIFY(!writeTagsPdf(stopped, runs, letter, 29, &error, [](qint64 done, qint64) { return done < 2; }));
        QCOMPARE(error, QString());

        // A description cut to fit: between whole characters, "..." at the end,
        // however long it is.
        const QString flower = u"\U0001F338"_s;
        const struct {
            QString text;
            int max;
            QString cut;
        } cuts[] = {
            {u"Bol"_s, 3, u"Bol"_s},
            {u"abc"_s + flower + u"defg"_s, 7, u"abc..."_s},      // the pair is not split
            {u"abc"_s + flower + u"defg"_s, 8, u"abc"_s + flower + u"..."_s},
            {u"abE\u0301cdef"_s, 6, u"ab..."_s},               // nor a letter from its accent
            {u"grand  bol\tbleu"_s, 20, u"grand bol bleu"_s},
            {u"Vase bleu, grand modèle"_s, 13, u"Vase bleu..."_s}, // no comma before the dots
            {u"Bol; tasse; vase"_s, 8, u"Bol..."_s},
        };
        for (const auto& c : cuts)
            QCOMPARE(cutDescription(c.text, c.max), c.cut);
        // A 32,000-character description prints (in well under a second: by hand).
        const QString longText = QString(u"Vase "_s + flower + u" bleu "_s).repeated(4000);
        const QByteArray pdf = tagsPdf({PriceTag{u"B"_s, u"A (001)"_s, longText, u"1.00$"_s, u"AaaBbb001-001"_s}},
                                       tagPresets().at(0).layout, 0);
        const QString printed = pdfBytesText(pdf);
        QVERIFY2(printed.contains(u"Vase"_s) && printed.contains(u"..."_s), qPrintable(printed));
    }

    void command()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(u"tilvarDB.ini"_s);
        TIniFile(ini).writeString(u"PREFS"_s, u"shopName"_s, u"Atelier Nord"_s);
        writeTagLayout(ini, tagPresets().at(1).layout);
        const QString tlvdb = qEnvironmentVariable("TLVDB_BIN");
        const QString out = dir.filePath(u"out.pdf"_s);
        const QString badIni = dir.filePath(u"bad.ini"_s);
        TIniFile(badIni).writeString(u"TAGS"_s, u"layout"_s, u"210;297;-70;37;3;8;0;0.5;0;0"_s);
        ProcessRun r = runProcess(tlvdb, {u"tags"_s, REFERENCE, out, u"002"_s, u"001"_s, u"--copies=2"_s,
                                          u"--settings="_s + ini});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QByteArray("2 tags, 1 sheet(s): ") + out.toUtf8() + '\n');
        QVERIFY(pdfText(out).contains(u"Atelier Nord"_s));
        QCOMPARE(decoded(dir.path(), readFileBytes(out)), QStringList({u"LiBo002-001"_s}));
        // The sheet's last place is a place to start at; the first artisan is one to choose.
        QCOMPARE(runProcess(tlvdb, {u"tags"_s, REFERENCE, out, u"001"_s, u"--start=24"_s, u"--settings="_s + ini}).code, 0);
        // Each preset is its own sheet: 24 places on the second, 30 on the first.
        QCOMPARE(runProcess(tlvdb, {u"tags"_s, REFERENCE, out, u"001"_s, u"--preset=1"_s, u"--start=30"_s}).code, 0);
        QCOMPARE(runProcess(tlvdb, {u"tags"_s, REFERENCE, out, u"001"_s, u"--preset=2"_s, u"--start=24"_s}).code, 0);
        // A run of 50 sheets or more says how far it got; a shorter one says nothing.
        for (const int copies : {49, 50}) {
            r = runProcess(tlvdb, {u"tags"_s, REFERENCE, out, u"002"_s, u"001"_s, u"--copies=%1"_s.arg(copies),
                                   u"--layout=100;100;90;90;1;1;0;0;0;0"_s, u"--settings="_s + ini});
            QCOMPARE(r.code, 0);
            QCOMPARE(r.err.contains("sheets"), copies == 50);
        }
        const struct {
            QStringList args;
            int code;
        } refused[] = {{{u"tags"_s, REFERENCE, out, u"009"_s}, 1},
                       {{u"tags"_s, REFERENCE, out, u"001"_s, u"099"_s}, 1},
                       {{u"tags"_s, REFERENCE, out, u"--start=25"_s, u"--settings="_s + ini}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--colour=red"_s}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--preset=3"_s}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--preset=0"_s}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--preset=2"_s, u"--start=25"_s}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--layout=1;2"_s}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--start=-2147483648"_s, u"--settings="_s + ini}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--start=0"_s, u"--settings="_s + ini}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--copies=2147483647"_s, u"--settings="_s + ini}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--copies=1000"_s, u"--settings="_s + ini}, 2},
                       {{u"tags"_s, REFERENCE, out, u"--settings="_s + badIni}, 2}};
        for (const auto& c : refused) {
            r = runProcess(tlvdb, c.args);
            QVERIFY2(r.code == c.code && r.err.startsWith("tlvdb: "), qPrintable(c.args.join(u' ')));
            QVERIFY(!QFile::exists(out) || readFileBytes(out).startsWith("%PDF"));
        }
    }
};

QTEST_MAIN(TstPriceTags)
#include "tst_priceTags.moc"
