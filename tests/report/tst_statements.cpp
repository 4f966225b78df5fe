// The pages and PDF statements of a period's settlement: what our style
// sheets make of the documents, what a statement says, the summary's sums
// and the files left when an artisan no longer sells in the period.

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "boutique/dbFile.h"
#include "export/reportDocs.h"
#include "report/inventory.h"
#include "report/priceTags.h"
#include "report/settlement.h"
#include "report/shipped.h"
#include "report/stockPdf.h"
#include "report/xslTransform.h"
#include "support/fakePrompt.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"

#include <tuple>
#include "support/testFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

using namespace Qt::StringLiterals;

namespace {

const QString REFERENCE = QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb");

// Texts of the nodes an XPath selects in an HTML page; fails the test when
// the page does not parse cleanly.
QStringList htmlTexts(const QByteArray& html, const char* path)
{
    htmlDocPtr doc = htmlReadMemory(html.constData(), int(html.size()), "page.html", "UTF-8",
                                    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (!doc)
        return {u"<unparsed>"_s};
    QStringList out;
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    xmlXPathObjectPtr found = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(path), ctx);
    if (found && found->nodesetval)
        for (int i = 0; i < found->nodesetval->nodeNr; ++i) {
            xmlChar* t = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
            out << QString::fromUtf8(reinterpret_cast<const char*>(t)).simplified();
            xmlFree(t);
        }
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(ctx);
    xmlFreeDoc(doc);
    return out;
}

// The reference boutique, with one more sale in Printemps by an artisan no
// longer in the list, described with characters a document must carry.
struct Boutique {
    AppState st;
    FakePrompt prompt;
    int spring = -1;
    QTemporaryDir dir;
    QString folder; // the Printemps reports' folder

    Boutique()
    {
        if (loadDB(REFERENCE, st, prompt) != LoadResult::Loaded)
            qFatal("reference database did not load");
        addSheet(st.saleList, u"090520"_s, {saleLine(u"GonAnn009-001"_s, u"Tasse € & <soucoupe>"_s,
                                                     u"7.25$"_s, u"2"_s, u"14.50$"_s)});
        st.shopName = u"Boutique Tilvar"_s;
        st.shopAddress = u"5, rue du Quai\nQuébec"_s;
        st.xmlDir = dir.path() + u"/dXML/"_s;
        rebuildLists(st);
        spring = st.repList.indexOfTitle(u"Printemps"_s);
        setReportPeriod(st, u"Printemps"_s);
        folder = st.repDir;
    }
};

// The top and bottom of the last place a word is printed on (pdftotext -bbox).
std::pair<double, double> lastWordPlace(const QByteArray& pdf, const QString& word)
{
    const QString boxes = pdfBytesText(pdf, {u"-bbox"_s});
    static const QRegularExpression wordBox(u"<word xMin=\"[^\"]*\" yMin=\"([^\"]*)\" xMax=\"[^\"]*\" "
                                            "yMax=\"([^\"]*)\">([^<]*)</word>"_s);
    std::pair<double, double> at{-1, -1};
    for (const auto& m : wordBox.globalMatch(boxes))
        if (m.captured(3) == word)
            at = {m.captured(1).toDouble(), m.captured(2).toDouble()};
    return at;
}

} // namespace

class TstStatements : public QObject {
    Q_OBJECT

private slots:
    // The consignment report through our report.xsl: one table row per sale
    // row and the total, every character as written; the note form alone.
    void consignmentPage()
    {
        const struct {
            QString artNo;
            QStringList descriptions;
            QString total;
        } cases[] = {
            {u"001"_s, {u"Vase bleu, grand"_s, u"Bol \"Océan\""_s, u""_s}, u"63.00$"_s},
            {u"009"_s, {u"Tasse € & <soucoupe>"_s}, u"14.50$"_s}, // an artisan no longer listed
            {u"003"_s, {}, QString()},                              // no sale
        };
        for (const auto& c : cases) {
            Boutique b;
            const QByteArray html = readFileBytes(writeArtisanReport(b.st, b.spring, c.artNo, b.folder).html);
            QCOMPARE(htmlTexts(html, "//tr[@class='row']/td[4]"), c.descriptions);
            QCOMPARE(htmlTexts(html, "//td[@id='total']"), c.total.isEmpty() ? QStringList{} : QStringList{c.total});
            QCOMPARE(htmlTexts(html, "//p[@class='note']").size(), c.total.isEmpty() ? 1 : 0);
            QVERIFY(htmlTexts(html, "//h2").value(0).contains(u"Printemps"_s));
            QVERIFY(b.prompt.all.isEmpty());
        }
    }

    // The style sheet a document names wins when it is there (the user's
    // own); a document that does not parse leaves the old page as it was.
    void userStyleSheetAndFaults()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath(u"Printemps"_s);
        QVERIFY(QDir().mkpath(sub));
        const QString xml = sub + u"/c001.xml"_s;
        const QByteArray doc = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                               "<?xml-stylesheet type=\"text/xsl\" href=\"../report.xsl\"?>\r\n"
                               "<report><artName>Andr\xE9</artName></report>\r\n";
        QVERIFY(writeFileBytes(xml, doc));
        const QStringList trusted{dir.path()};
        QVERIFY(readFileBytes(xslt::transformFile(xml, trusted)).contains("<span class=\"artName\">Andr\xC3\xA9</span>"));

        const QByteArray head = "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                                "<xsl:output method=\"text\" encoding=\"UTF-8\"/>";
        QVERIFY(writeFileBytes(dir.filePath(u"report.xsl"_s),
                               head + "<xsl:template match=\"/\">mine:<xsl:value-of select=\"//artName\"/>"
                                      "</xsl:template></xsl:stylesheet>"));
        // Only from a trusted folder: a sheet planted beside a report folder
        // is not used.
        QVERIFY(readFileBytes(xslt::transformFile(xml, {sub})).contains("<span class=\"artName\">"));
        const QString page = xslt::transformFile(xml, trusted);
        QCOMPARE(readFileBytes(page), QByteArray("mine:Andr\xC3\xA9"));

        QVERIFY(writeFileBytes(xml, "<report><artName>x</report>"));
        QVERIFY_THROWS_EXCEPTION(AppError, xslt::transformFile(xml, trusted));
        QCOMPARE(readFileBytes(page), QByteArray("mine:Andr\xC3\xA9"));
        // A style sheet that would write files is refused.
        QVERIFY(writeFileBytes(dir.filePath(u"report.xsl"_s),
                               "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\""
                               " xmlns:exsl=\"http://exslt.org/common\" extension-element-prefixes=\"exsl\">"
                               "<xsl:template match=\"/\"><exsl:document href=\"evil.txt\">x</exsl:document>"
                               "</xsl:template></xsl:stylesheet>"));
        QVERIFY(writeFileBytes(xml, doc));
        QVERIFY_THROWS_EXCEPTION(AppError, xslt::transformFile(xml, trusted));
        QVERIFY(!QFile::exists(sub + u"/evil.txt"_s));
        // It reads no file but itself and the document, and includes none.
        const QString secret = dir.filePath(u"secret.xml"_s);
        QVERIFY(writeFileBytes(secret, "<s>SECRET</s>"));
        QVERIFY(writeFileBytes(dir.filePath(u"report.xsl"_s),
                               head + "<xsl:template match=\"/\">[<xsl:value-of select=\"document('"
                                   + secret.toUtf8() + "')\"/>][<xsl:value-of select=\"count(document('')/*)\"/>]"
                                   "</xsl:template></xsl:stylesheet>"));
        QByteArray got;
        errorOf([&] { got = readFileBytes(xslt::transformFile(xml, trusted)); }); // refused or read nothing
        QVERIFY(!got.contains("SECRET"));
        QVERIFY(writeFileBytes(dir.filePath(u"report.xsl"_s),
                               head + "<xsl:include href=\"" + secret.toUtf8() + "\"/></xsl:stylesheet>"));
        QVERIFY_THROWS_EXCEPTION(AppError, xslt::transformFile(xml, trusted));
    }

    // Ours are written where the documents look for them, once; a user's own
    // file is never replaced.
    void install()
    {
        QTemporaryDir dir;
        AppState st;
        QVERIFY(useProgramFolder(st, dir.path()));
        QVERIFY(writeFileBytes(st.dataDir + u"index.htm"_s, "mine"));
        QCOMPARE(shipped::install(st), (QStringList{st.xmlDir + u"report.xsl"_s, st.progDir + u"xData.xsl"_s}));
        QCOMPARE(readFileBytes(st.dataDir + u"index.htm"_s), QByteArray("mine"));
        QVERIFY(shipped::install(st).isEmpty());
        // The start page names the boutique.
        QFile::remove(st.dataDir + u"index.htm"_s);
        st.shopName = u"Chez Zoé & fils"_s;
        shipped::install(st);
        QCOMPARE(htmlTexts(readFileBytes(st.dataDir + u"index.htm"_s), "//p[1]/b"), QStringList{st.shopName});
        // The copy an earlier version installed, untouched, takes ours; one
        // a user changed is kept and named.
        const QString xsl = st.xmlDir + u"report.xsl"_s;
        const QByteArray ours = shipped::file(u"report.xsl"_s);
        const QByteArray earlier = QByteArray(ours).replace("Total des ventes", "Total dû");
        QStringList kept;
        for (const auto& [was, written, named] :
             {std::tuple{earlier, ours, false}, {earlier + " ", earlier + " ", true}, {ours, ours, false}}) {
            QVERIFY(writeFileBytes(xsl, was));
            kept.clear();
            shipped::install(st, &kept);
            QCOMPARE(readFileBytes(xsl), written);
            QCOMPARE(kept, named ? QStringList{xsl} : QStringList());
        }
    }

    // The PDF statement names the boutique, the artisan, every row and the total.
    void pdfStatement()
    {
        Boutique b;
        const ReportFiles f = writeArtisanReport(b.st, b.spring, u"001"_s, b.folder);
        const QString text = pdfText(f.pdf, {u"-layout"_s});
        for (const QString& want : {u"Boutique Tilvar"_s, u"5, rue du Quai"_s, u"Marie-Ève Tremblay"_s,
                                    u"12, rue des Érables"_s, u"1 mars 2009"_s, u"31 mai 2009"_s,
                                    u"Vase bleu, grand"_s, u"Bol \"Océan\""_s, u"48.00$"_s, u"63.00$"_s})
            QVERIFY2(text.contains(want), qPrintable(want));
        // Over three months it closes on its chart; over one, without; the
        // summary charts the months and the artisans who sold most.
        QVERIFY(text.indexOf(u"Ventes par mois"_s) > text.indexOf(u"63.00$"_s) && text.contains(u"mai 09"_s));
        const int june = b.st.repList.indexOfTitle(u"Juin, été"_s);
        const QString oneMonth = pdfText(writeArtisanReport(b.st, june, u"001"_s, b.folder).pdf);
        QVERIFY(oneMonth.contains(u"24.00$"_s) && !oneMonth.contains(u"Ventes par mois"_s));
        QVERIFY(writeSettlement(b.st, b.spring, b.folder));
        const QString summary = pdfText(b.folder + SUMMARY_NAME + u".pdf"_s, {u"-layout"_s});
        for (const QString& want : {u"Ventes de la boutique par mois"_s, u"Les artisans qui ont le plus vendu"_s,
                                    u"63.00$ (51,4 %)"_s})
            QVERIFY2(summary.contains(want), qPrintable(summary));
        QVERIFY(writeSettlement(b.st, june, b.folder)); // one artisan sold: nobody to rank
        QVERIFY(!pdfText(b.folder + SUMMARY_NAME + u".pdf"_s).contains(u"Les artisans qui ont le plus vendu"_s));

        // An override in the title does not reverse the dates after it; a
        // 5,000-character name is cut within the page, its number kept.
        Statement odd{statementHeader(b.st, b.spring), u"001"_s, {}, {}, {}, {}, {}, {}, {}};
        odd.head.periodTitle = u"\u202EPrintemps"_s;
        odd.artName = QString(5000, u'x');
        const QString shown = pdfBytesText(statementPdf(odd), {u"-layout"_s});
        QVERIFY2(shown.contains(u"Printemps, du 1 mars 2009 au 31 mai 2009"_s), qPrintable(shown.left(600)));
        QVERIFY(shown.contains(u"(artisan no 001)"_s) && !shown.contains(QString(1000, u'x')));
    }

    // Every PDF prints what staff typed the same protected way: an override
    // does not reverse the word after it, a control character and one the
    // font lacks show as U+FFFD, right-to-left words print.
    void pdfFieldsProtected_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"statement", "summary", "inventory", "tags"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void pdfFieldsProtected()
    {
        QFETCH(QString, kind);
        const QString shalom = u"\u05E9\u05DC\u05D5\u05DD"_s;
        // The controls at the ends of both ranges, each within the word.
        const QString typed = u"\u202EV\u202Aa\u2066s\u2069e\u0007\U0001F3FA "_s + shalom;
        QByteArray pdf;
        if (kind == u"statement"_s) {
            pdf = statementPdf(Statement{{}, u"001"_s, typed, {}, {}, {}, {}, {}, {}});
        } else if (kind == u"summary"_s) {
            Summary sum;
            sum.lines.push_back({u"001"_s, typed, 1, {}, {}, {}, {}});
            pdf = summaryPdf(sum);
        } else if (kind == u"inventory"_s) {
            pdf = inventoryPdf({u"B"_s, u"090518"_s, {{u"001"_s, u"A"_s, {{u"K"_s, typed, {}, {}, 1, 0, 1}}, {}}}, {}});
        } else {
            pdf = tagsPdf({{u"B"_s, u"A"_s, typed, u"1.00$"_s, u"AaaBbb001-001"_s}}, tagPresets().at(0).layout, 0);
        }
        const QString shown = pdfBytesText(pdf);
        QVERIFY2(shown.contains(u"Vase\uFFFD\uFFFD"_s), qPrintable(shown));
        QVERIFY2(shown.contains(shalom), qPrintable(shown));
        QVERIFY(!shown.contains(QChar(0x202E)) && !shown.contains(QChar(7)));
    }

    // Our pages and the parts added to the staff's carry what staff typed as
    // text, whatever it holds: markup, a character above U+FFFF, Hebrew.
    void htmlFieldsAsText()
    {
        const QString typed = u"<b>Vase</b> & \U0001F3FA \u05E9\u05DC\u05D5\u05DD"_s;
        Summary sum;
        sum.head.shopName = typed;
        sum.lines.push_back({u"001"_s, typed, 1, {}, {}, {}, {}});
        const QByteArray page = summaryHtml(sum).toUtf8();
        QCOMPARE(htmlTexts(page, "//tr[@class='row']/td[2]"), QStringList{typed});
        QCOMPARE(htmlTexts(page, "//p[@class='shop']/b"), QStringList{typed});
        QCOMPARE(htmlTexts(page, "//tr[@class='total']/td[@class='num']").size(), 4); // the amounts, not the label
        const Statement s{sum.head, u"001"_s, typed, {}, {}, {}, {}, {}, {}};
        const QByteArray parts = (u"<html><body>"_s + shopHtml(sum.head) + splitHtml(s) + u"</body></html>"_s).toUtf8();
        QCOMPARE(htmlTexts(parts, "//p[@class='shop']/b"), QStringList{typed});
        QCOMPARE(htmlTexts(parts, "//table[@class='split']//td[@class='num']"),
                 (QStringList{u"0.00$"_s, u"0.00$"_s, u"0.00$"_s}));
        QCOMPARE(htmlTexts(parts, "//p[@class='account']/b").size(), 1); // the line to read first
    }

    // What the transformation tells and allows at its edges: of two faults
    // the first is named; an element of another namespace called "include"
    // or "import" is the sheet's data, not a file read.
    void styleSheetEdges()
    {
        const QByteArray sheet = "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" "
                                 "xmlns:d=\"urn:d\"><xsl:output method=\"text\"/><d:include/><d:import/>"
                                 "<xsl:template match=\"/\">ok</xsl:template></xsl:stylesheet>";
        QCOMPARE(xslt::transform("<r/>", sheet), QByteArray("ok"));
        QByteArray bare = sheet;
        QVERIFY(!errorOf([&] { xslt::transform("<r/>", bare.replace("<d:include/>", "<include/>")); }).isEmpty());
        const QString why = errorOf([&] { xslt::transform("<r>&a; &b;</r>", sheet); });
        QVERIFY2(why.contains(u"'a'"_s) && !why.contains(u"'b'"_s), qPrintable(why));
        // A sheet that stops itself gives no page.
        QByteArray stops = sheet;
        stops.replace(">ok<", "><xsl:message terminate=\"yes\">arrêt</xsl:message><");
        QVERIFY(!errorOf([&] { xslt::transform("<r/>", stops); }).isEmpty());

        // What is added to a page goes inside its body, wherever the tags are.
        const struct {
            QByteArray page, added;
        } pages[] = {{"<html><body class=\"x\">p</body></html>", "<html><body class=\"x\">TpB</body></html>"},
                     {"</body>", "TB</body>"},
                     {"<body>", "<body>TB"},
                     {"p", "TpB"}};
        for (const auto& c : pages)
            QCOMPARE(xslt::addToPage(c.page, {u"T"_s, u"B"_s}), c.added);
    }

    // A count's differences artisan by artisan, each under its own name; the
    // closing line counts the missing units only.
    void differencesSheet()
    {
        const auto diff = [](CountDiff::Kind kind, const QString& artNo, const QString& name, int expected,
                             int counted) {
            return CountDiff{kind, artNo, name, u"001"_s, name.left(2) + artNo + u"-001"_s, u"Bol"_s, expected,
                             counted, Money::fromUnits(100000), Money::fromUnits(50000), CountDiff::Nothing};
        };
        const DifferencesSheet sheet{u"B"_s, u"261201"_s, u"261207"_s, u"la boutique"_s,
                                     {diff(CountDiff::Missing, u"001"_s, u"Anne Roy"_s, 3, 1),
                                      diff(CountDiff::Excess, u"002"_s, u"Luc Bé"_s, 0, 2)}};
        const QString text = pdfBytesText(differencesPdf(sheet));
        const QList<qsizetype> order{text.indexOf(u"Anne Roy"_s), text.indexOf(u"An001-001"_s),
                                     text.indexOf(u"Luc Bé"_s), text.indexOf(u"Lu002-001"_s)};
        QVERIFY2(order.first() >= 0 && std::is_sorted(order.cbegin(), order.cend()), qPrintable(text));
        QVERIFY2(text.contains(u"Unités manquantes ou non scannées : 2, 20.00$ au prix, 10.00$ à la valeur"_s),
                 qPrintable(text));
    }

    // The summary's ranking draws each artisan on a line of its own, under
    // its title, the one who sold most first.
    void rankChartLines()
    {
        Summary sum;
        sum.head.charts = true;
        sum.sales = Money::fromUnits(4000);
        sum.lines.push_back({u"001"_s, u"Anne Roy"_s, 3, Money::fromUnits(3000), {}, {}, {}});
        sum.lines.push_back({u"002"_s, u"Luc Bé"_s, 1, Money::fromUnits(1000), {}, {}, {}});
        const QByteArray pdf = summaryPdf(sum);
        const auto title = lastWordPlace(pdf, u"qui"_s);
        const auto first = lastWordPlace(pdf, u"Anne"_s);
        const auto second = lastWordPlace(pdf, u"Luc"_s);
        QVERIFY2(title.second <= first.first && first.second <= second.first,
                 qPrintable(u"title %1-%2, Anne %3-%4, Luc %5-%6"_s.arg(title.first).arg(title.second)
                                .arg(first.first).arg(first.second).arg(second.first).arg(second.second)));
    }

    // The summary holds every artisan with sales, by number: per artisan the
    // sales, the boutique's part and the amount due of the artisan's
    // statement, under either rule, with a return (total left empty, as
    // older files have it) among the sales.
    void summary_data()
    {
        QTest::addColumn<int>("percent");
        QTest::newRow("valeur") << 0;
        QTest::newRow("60 %") << 60;
    }
    void summary()
    {
        QFETCH(int, percent);
        Boutique b;
        b.st.artSharePercent = percent;
        addSheet(b.st.saleList, u"090522"_s, {saleLine(u"TreMar001-001"_s, u"Vase"_s, u"24.00$"_s, u"-1"_s, QString())});
        Summary sum;
        QVERIFY(writeSettlement(b.st, b.spring, b.folder, &sum));
        // Each line is its artisan's statement (whose sums equal the sheets':
        // tst_money), the chart's months the boutique's (tst_salesSeries).
        const TReport& spring = b.st.repList.at(b.spring);
        const auto monthSales = [&spring](const MonthTally& t) {
            QList<qint64> out;
            for (const MonthFigures& m : t.series(monthsBetween(spring.startDate, spring.endDate)))
                out << m.sales.units();
            return out;
        };
        QCOMPARE(monthSales(sum.months),
                 monthSales(boutiqueMonths(b.st.repList.book(b.st.saleList), spring.startDate, spring.endDate)));
        Money sales, due;
        QStringList nos;
        for (const SummaryLine& l : sum.lines) {
            b.st.repList.setConsigne(l.artNo, b.spring, b.st.saleList, b.st.xmlDataLines);
            const Statement s = statementFor(b.st, sum.head, l.artNo);
            nos << l.artNo;
            QCOMPARE((QList<qint64>{l.sales.units(), l.owed.units(), l.shop.units(), l.balance.units()}),
                     (QList<qint64>{s.split.sales.units(), s.split.due.units(), s.split.shop().units(),
                                    s.split.due.units()})); // nothing sold before spring, nothing paid
            sales += l.sales;
            due += l.owed;
        }
        QCOMPARE(nos, (QStringList{u"001"_s, u"002"_s, u"009"_s})); // 009 is no longer listed
        QCOMPARE((QList<qint64>{sum.sales.units(), sum.total.units(), sum.shop.units()}),
                 (QList<qint64>{sales.units(), due.units(), (sales - due).units()}));
        QCOMPARE(settlementSummary(b.st, b.spring).total, sum.total);
        const QByteArray page = readFileBytes(b.folder + SUMMARY_NAME + u".html"_s);
        QCOMPARE(htmlTexts(page, "//tr[@class='total']/td[position()>1]"),
                 (QStringList{sum.sales.format(), sum.shop.format(), sum.total.format(), sum.balance.format()}));
        // Products without a "Valeur" are named on the summary and the statement.
        QCOMPARE(sum.warnings.isEmpty(), percent != 0);
        QCOMPARE(htmlTexts(page, "//p[@class='warning']").size(), percent ? 0 : 1);
        const QByteArray c009 = readFileBytes(b.folder + u"c009.html"_s);
        QCOMPARE(htmlTexts(c009, "//p[@class='shop']/b"), QStringList{u"Boutique Tilvar"_s});
        QCOMPARE(htmlTexts(c009, "//table[@class='split']//td[2]").value(2), sum.lines.back().owed.format());

        // Settled again once an artisan no longer sells in the period: its
        // files go, the user's own stay, even named as ours or changed.
        QVERIFY(writeFileBytes(b.folder + u"notes.pdf"_s, "x"));
        QVERIFY(writeFileBytes(b.folder + u"c123.pdf"_s, "x"));
        QVERIFY(writeFileBytes(b.folder + u"c009.xml"_s, "edited"));
        b.st.saleList.setSheetLines(b.st.saleList.indexOfDate(u"090520"_s), QString());
        // A list of written files that names a file not ours (edited, or
        // another program's) removes nothing of it, even with its stamp.
        const QFileInfo notes(b.folder + u"notes.pdf"_s);
        QFile list(b.folder + u".tilvarbd-written"_s);
        QVERIFY(list.open(QIODevice::Append));
        list.write(u"notes.pdf\t%1\t%2\n"_s.arg(notes.size()).arg(notes.lastModified().toMSecsSinceEpoch()).toUtf8());
        list.close();
        QVERIFY(writeSettlement(b.st, b.spring, b.folder, &sum));
        const QStringList files = QDir(b.folder).entryList(QDir::Files);
        QVERIFY(files.contains(u"notes.pdf"_s) && files.contains(u"c001.pdf"_s) && files.contains(u"c123.pdf"_s));
        QVERIFY(!files.contains(u"c009.html"_s) && !files.contains(u"c009.pdf"_s) && files.contains(u"c009.xml"_s));
    }
};

QTEST_MAIN(TstStatements)
#include "tst_statements.moc"
