// The report documents: consignment reports and the sales export, byte for
// byte, their folders and names, and well-formedness whatever the texts hold.

#include "core/appError.h"
#include "core/appState.h"
#include "core/cp1252.h"
#include "core/textUtil.h"
#include "export/reportDocs.h"
#include "support/fakePrompt.h"
#include "support/modelSheets.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing " + path.toUtf8() + ">";
    return f.readAll();
}

QByteArray crlf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += cp1252::encode(l) + "\r\n";
    return out;
}

// Parses the document; returns "" when well-formed, else the parser's error.
QString xmlProblem(const QByteArray& bytes)
{
    QXmlStreamReader r(bytes);
    while (!r.atEnd())
        r.readNext();
    return r.hasError() ? r.errorString() + u" line "_s + QString::number(r.lineNumber()) : QString();
}

// All text content of the elements named tag, in document order.
QStringList texts(const QByteArray& bytes, const QString& tag)
{
    QStringList out;
    QXmlStreamReader r(bytes);
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == tag)
            out << r.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return out;
}

struct Env {
    QTemporaryDir tmp;
    AppState st;
    FakePrompt prompt;
    Env()
    {
        st.progDir = tmp.path() + u'/';
        st.dataDir = st.progDir + u"data/"_s;
        st.xmlDir = st.progDir + u"dXML/"_s;
        QDir().mkpath(st.dataDir);
    }
};

const QStringList HEADER = {
    u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"_s,
    u"<?xml-stylesheet type=\"text/xsl\" href=\"../report.xsl\"?>"_s,
    u"<report>"_s,
    u"<cCaption> Rapport de ventes </cCaption>"_s,
};

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void consignmentReportExample()
    {
        Env e;
        e.st.repList.addPeriod(u"Printemps"_s, u"090301"_s, u"090531"_s);
        e.st.curCIndex = 0;
        setReportPeriod(e.st, u"Printemps"_s);
        QCOMPARE(e.st.repDir, e.st.xmlDir + u"Printemps/"_s);
        e.st.repArtName = u"Atelier Bleu"_s;
        e.st.xmlDataLines << u"<date>090518</date><aNo>005</aNo><pNo>003</pNo><descript>Vase</descript>"
                             "<valeur>12.00$</valeur><qnt>2</qnt><tot>24.00$</tot>"_s;
        e.st.repList.total = u"24.00$"_s;
        const QString status = writeSalesReport(e.st, u"consigne"_s, e.prompt);
        QCOMPARE(status, u"Exported: consigne.xml"_s);
        QVERIFY(e.prompt.all.isEmpty());
        QCOMPARE(readFile(e.st.xmlDir + u"Printemps/consigne.xml"_s),
                 crlf(HEADER + QStringList{
                          u"<artName>Atelier Bleu</artName>"_s,
                          u"<cTitle>Printemps</cTitle>"_s,
                          u"<cRange>Début: 090301 Fin: 090531</cRange>"_s,
                          u"<itemDATA>"_s,
                          u"<item><date>090518</date><aNo>005</aNo><pNo>003</pNo><descript>Vase</descript>"
                          "<valeur>12.00$</valeur><qnt>2</qnt><tot>24.00$</tot></item>"_s,
                          u"</itemDATA>"_s,
                          u"<total>24.00$</total>"_s,
                          u"</report>"_s}));
        // "Début" is one Windows-1252 byte per letter.
        QVERIFY(readFile(e.st.xmlDir + u"Printemps/consigne.xml"_s).contains("D\xe9" "but"));
    }

    void consignmentReportEdgeCases()
    {
        Env e;
        e.st.repList.addPeriod(u"P"_s, u"090301"_s, u"090531"_s);
        e.st.curCIndex = 0;
        setReportPeriod(e.st, u"P"_s);
        // No data: the note, no itemDATA, no total.
        writeSalesReport(e.st, u"c001"_s, e.prompt);
        const QByteArray none = readFile(e.st.repDir + u"c001.xml"_s);
        QCOMPARE(none, crlf(HEADER + QStringList{u"<artName></artName>"_s, u"<cTitle>P</cTitle>"_s,
                                                 u"<cRange>Début: 090301 Fin: 090531</cRange>"_s,
                                                 u"<note>aucune vente enregistrée pour la période en cours</note>"_s,
                                                 u"</report>"_s}));
        QVERIFY(!none.contains("itemDATA"));
        // An empty data line is a self-closing item.
        e.st.xmlDataLines << QString();
        e.st.repList.total = u"0.00$"_s;
        writeSalesReport(e.st, u"c002"_s, e.prompt);
        QVERIFY(readFile(e.st.repDir + u"c002.xml"_s).contains("<itemDATA>\r\n<item/>\r\n</itemDATA>\r\n"));
        // A report is replaced, not appended to.
        e.st.xmlDataLines.clear();
        writeSalesReport(e.st, u"c002"_s, e.prompt);
        QCOMPARE(readFile(e.st.repDir + u"c002.xml"_s), none);

        // No current period: each field is reported and left empty.
        e.st.curCIndex = -1;
        writeSalesReport(e.st, u"c003"_s, e.prompt);
        QCOMPARE(e.prompt.informations.size(), 3);
        QCOMPARE(e.prompt.informations.at(0), u"count is: 1 with ind of: -1"_s);
        QVERIFY(readFile(e.st.repDir + u"c003.xml"_s).contains("<cTitle></cTitle>\r\n<cRange>D\xe9" "but:  Fin: </cRange>"));
    }

    void folderNamesStayInsideXmlDir()
    {
        QCOMPARE(safeFileName(u"Printemps 2009"_s), u"Printemps 2009"_s);
        QCOMPARE(safeFileName(u".."_s), u"__"_s);
        QCOMPARE(safeFileName(u"a\\b\nc"_s), u"a_b_c"_s);
        QCOMPARE(reportDir(u"/x/dXML/"_s, u"-[tout]-"_s), u"/x/dXML/-[tout]-/"_s);
        QCOMPARE(reportDir(u"/x/dXML"_s, u"/abs"_s), u"/x/dXML/_abs/"_s);

        Env e;
        e.st.repList.addPeriod(u"../../evil"_s, u"090301"_s, u"090531"_s);
        e.st.curCIndex = 0;
        e.st.curRepName = u"../../evil"_s;
        e.st.repDir = e.st.progDir + u"../../evil/"_s; // as a careless caller would set it
        writeSalesReport(e.st, u"../c001"_s, e.prompt);
        QCOMPARE(e.st.repDir, e.st.xmlDir + u".._.._evil/"_s);
        QVERIFY(QFile::exists(e.st.xmlDir + u".._.._evil/.._c001.xml"_s));
        QStringList top = QDir(e.tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        top.sort();
        QCOMPARE(top, (QStringList{u"dXML"_s, u"data"_s}));
    }

    void unwritableReportRaises()
    {
        Env e;
        e.st.repList.addPeriod(u"P"_s, u"090301"_s, u"090531"_s);
        e.st.curCIndex = 0;
        // xmlDir is a file: the folder cannot be made.
        QFile blocker(e.st.progDir + u"dXML"_s);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        setReportPeriod(e.st, u"P"_s);
        QVERIFY_THROWS_EXCEPTION(AppError, writeSalesReport(e.st, u"c001"_s, e.prompt));
        // dataDir missing: the export document raises.
        QVERIFY_THROWS_EXCEPTION(AppError, writeXmlDoc(e.st.progDir + u"nope/"_s, u"allSales"_s, u"xData"_s,
                                                       u"Toutes Ventes"_s, QString()));
    }

    void exportAllConsigne()
    {
        Env e;
        addSheet(e.st.saleList, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s,
                                              u"VerArt001-001,Bol,5.00$,1,5.00$"_s});
        e.st.repList.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
        e.st.curCIndex = 0;
        setReportPeriod(e.st, u"Mai"_s);
        e.st.numItems = QStringList{u"001"_s, u"002"_s, u"005"_s};
        e.st.nameItems = QStringList{u"Verrier Art (001)"_s, u"Vide  (002)"_s, u"Tremblay Marie (005)"_s};
        const QString status = ::exportAllConsigne(e.st, 0, e.prompt);
        QCOMPARE(status, u"Exported: c005.xml"_s);
        const QString dir = e.st.xmlDir + u"Mai/"_s;
        QCOMPARE(QDir(dir).entryList(QDir::Files), (QStringList{u"c001.xml"_s, u"c002.xml"_s, u"c005.xml"_s}));
        const QByteArray c001 = readFile(dir + u"c001.xml"_s);
        QCOMPARE(texts(c001, u"artName"_s), QStringList{u"Verrier Art (001)"_s});
        QCOMPARE(texts(c001, u"total"_s), QStringList{u"5.00$"_s});
        QVERIFY(readFile(dir + u"c002.xml"_s).contains("<note>"));
        QCOMPARE(texts(readFile(dir + u"c005.xml"_s), u"descript"_s), QStringList{u"Vase"_s});
        QCOMPARE(e.st.repArtName, u"Tremblay Marie (005)"_s);
        QCOMPARE(e.st.repList.total, u"24.00$"_s);

        // Without artisans nothing is done, whatever the period index.
        Env none;
        for (int p : {-1, 0})
            QCOMPARE(::exportAllConsigne(none.st, p, none.prompt), QString());
        QVERIFY(!QDir(none.st.xmlDir).exists());
    }

    void hostileTextsStayWellFormed()
    {
        Env e;
        const QString evil = u"<a href=\"x\">&amp; ' ]]> \t\r\n\u0080\u0085€ 漢字 😀 é</a>"_s;
        const QString evilLine = writeCommaList({u"Tre<&>005-003"_s, evil, u"12.00$"_s, u"2"_s, u"24.00$"_s});
        addSheet(e.st.saleList, u"090518"_s, {evilLine});
        addSheet(e.st.saleList, u"0905\"<"_s, {evilLine});
        e.st.repList.addPeriod(evil, u"090501"_s, u"090531"_s);
        e.st.repList.addPeriod(u"R&D \"x\""_s, u"090501"_s, u"099999"_s);
        e.st.repList.addPeriod(u"last"_s, u"0"_s, u"9"_s);
        e.st.curCIndex = 0;
        setReportPeriod(e.st, evil);
        e.st.numItems = QStringList{u"005"_s};
        e.st.nameItems = QStringList{evil};
        ::exportAllConsigne(e.st, 0, e.prompt);
        const QByteArray c005 = readFile(e.st.repDir + u"c005.xml"_s);
        QVERIFY2(xmlProblem(c005).isEmpty(), qPrintable(xmlProblem(c005)));
        // Every character reads back, C1 controls and a carriage return too.
        QCOMPARE(texts(c005, u"artName"_s).value(0), evil);
        QCOMPARE(texts(c005, u"descript"_s).size(), 1);

        writeSalesDocs(e.st);
        for (const QString& root : {u"allSales"_s, u"periodSales"_s, u"shortSalesRep"_s}) {
            const QByteArray doc = readFile(e.st.dataDir + root + u".xml"_s);
            QVERIFY2(xmlProblem(doc).isEmpty(), qPrintable(root + u": "_s + xmlProblem(doc)));
        }
        QCOMPARE(texts(readFile(e.st.dataDir + u"shortSalesRep.xml"_s), u"pNo"_s),
                 QStringList{u"Tre<&>005-003"_s});
    }

    void salesDocsWithFewPeriods()
    {
        // With five periods the current one is the fourth; with fewer than
        // two there is none, and the documents are empty.
        {
            Env e;
            for (int i = 0; i < 5; ++i)
                e.st.repList.addPeriod(u"P%1"_s.arg(i), u"090101"_s, u"091231"_s);
            writeSalesDocs(e.st);
            QCOMPARE(e.st.repList.curPeriod, 3);
        }
        for (int periods : {0, 1}) {
            Env e;
            addSheet(e.st.saleList, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s});
            for (int i = 0; i < periods; ++i)
                e.st.repList.addPeriod(u"P"_s, u"090101"_s, u"091231"_s);
            e.st.repList.curPeriod = -1;
            writeSalesDocs(e.st);
            QCOMPARE(e.st.repList.curPeriod, -1);
            struct Doc { QString root; QString title; };
            for (const Doc& d : {Doc{u"allSales"_s, u"Toutes Ventes"_s}, Doc{u"periodSales"_s, u"Ventes par périodes"_s},
                                 Doc{u"shortSalesRep"_s, u"Abrégé des ventes"_s}}) {
                QCOMPARE(readFile(e.st.dataDir + d.root + u".xml"_s),
                         crlf({u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"_s,
                               u"<?xml-stylesheet type=\"text/xsl\" href=\"../xData.xsl\"?>"_s,
                               u"<"_s + d.root + u">"_s, u"<cTitle>"_s + d.title + u"</cTitle>"_s, QString(),
                               u"</"_s + d.root + u">"_s}));
            }
        }
    }

    void salesDocsContent()
    {
        Env e;
        TSaleList& s = e.st.saleList;
        addSheet(s, u"090601"_s, {u"TreMar005-003,Vase,12.00$,1,12.00$"_s, u"NouArt009-001,Neuf,1.00$,4,4.00$"_s});
        addSheet(s, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s, u"VerArt001-002,Bol,5.00$,1,5.00$"_s});
        addSheet(s, u"090301"_s, {u"VerArt001-002,Bol,5.00$,3,15.00$"_s});
        TRepList& r = e.st.repList;
        r.addPeriod(u"Printemps"_s, u"090301"_s, u"090531"_s);
        r.addPeriod(u"Juin"_s, u"090601"_s, u"090630"_s);
        r.addPeriod(u"Courante"_s, u"090701"_s, u"090731"_s);
        e.st.linesReady = true;
        writeSalesDocs(e.st);
        QCOMPARE(r.curPeriod, 1);
        QVERIFY(!e.st.linesReady);

        const QByteArray head = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                                "<?xml-stylesheet type=\"text/xsl\" href=\"../xData.xsl\"?>\r\n";
        QCOMPARE(readFile(e.st.dataDir + u"allSales.xml"_s),
                 head + "<allSales>\r\n<cTitle>Toutes Ventes</cTitle>\r\n"
                        "<saleItem date=\"090518\">\r\n"
                        "\t\t<prod><aNo>TreMar005-003</aNo><xStr>2</xStr></prod>\r\n"
                        "\t\t<prod><aNo>VerArt001-002</aNo><xStr>1</xStr></prod>\r\n"
                        "</saleItem>\r\n"
                        "<saleItem date=\"090301\">\r\n"
                        "\t\t<prod><aNo>VerArt001-002</aNo><xStr>3</xStr></prod>\r\n"
                        "</saleItem>\r\n\r\n"
                        "<saleItem date=\"090601\">\r\n"
                        "\t\t<prod><aNo>TreMar005-003</aNo><xStr>1</xStr></prod>\r\n"
                        "\t\t<prod><aNo>NouArt009-001</aNo><xStr>4</xStr></prod>\r\n"
                        "</saleItem>\r\n\r\n"
                        "\r\n</allSales>\r\n");
        QCOMPARE(r.at(0).periodLines.size(), 7);
        QCOMPARE(r.at(0).periodLines.at(0), u"<saleItem date=\"090518\">"_s);

        QCOMPARE(readFile(e.st.dataDir + u"periodSales.xml"_s),
                 head + "<periodSales>\r\n<cTitle>Ventes par p\xe9riodes</cTitle>\r\n"
                        "<period id=\"090531\" title=\"Printemps\">\n<prod>\n"
                        "TreMar005-003,2,0,2\r\nVerArt001-002,4,0,4\r\n"
                        "</prod>\n</period>\n\r\n"
                        "<period id=\"090630\" title=\"Juin\">\n<prod>\n"
                        "NouArt009-001,0,4,4\r\nTreMar005-003,0,1,1\r\n"
                        "</prod>\n</period>\n\r\n"
                        "\r\n</periodSales>\r\n");

        QCOMPARE(readFile(e.st.dataDir + u"shortSalesRep.xml"_s),
                 head + "<shortSalesRep>\r\n<cTitle>Abr\xe9g\xe9 des ventes</cTitle>\r\n"
                        "\t<pNo>NouArt009-001</pNo><qStr>0,4,4</qStr>\r\n"
                        "\t<pNo>TreMar005-003</pNo><qStr>2,1,3</qStr>\r\n"
                        "\t<pNo>VerArt001-002</pNo><qStr>4,0,4</qStr>\r\n"
                        "\r\n</shortSalesRep>\r\n");
        for (const QString& root : {u"allSales"_s, u"periodSales"_s, u"shortSalesRep"_s})
            QVERIFY(xmlProblem(readFile(e.st.dataDir + root + u".xml"_s)).isEmpty());

        // The export command prepares the sale rows again afterwards.
        exportSales(e.st);
        QVERIFY(e.st.linesReady);
        QCOMPARE(r.at(0).periodLines, (QStringList{u"090518,005,003,Vase,12.00$,2,24.00$"_s,
                                                   u"090518,001,002,Bol,5.00$,1,5.00$"_s,
                                                   u"090301,001,002,Bol,5.00$,3,15.00$"_s}));
    }

    void mergeAndShortRows()
    {
        TRepList r;
        for (int i = 0; i < 4; ++i)
            r.addPeriod(u"P%1"_s.arg(i), QString(), QString());
        r.at(0).tallies = QStringList{u"b,2,0,0,2"_s, u"a,1,0,0,1"_s};
        r.at(1).tallies = QStringList{u"a,0,5,0,5"_s, u"c,0,7,0,7"_s};
        r.at(2).tallies = QStringList{u"b,0,0,3,3"_s};
        r.at(3).tallies = QStringList{u"z,9,9,9,9"_s}; // the last period is not merged
        QStringList out;
        mergeTallies(r, out);
        QCOMPARE(out, (QStringList{u"\t<pNo>a</pNo><qStr>1,5,0,6</qStr>"_s, u"\t<pNo>b</pNo><qStr>2,0,3,5</qStr>"_s,
                                   u"\t<pNo>c</pNo><qStr>0,7,0,7</qStr>"_s}));
        TRepList none;
        out << u"x"_s;
        mergeTallies(none, out);
        QVERIFY(out.isEmpty());

        QStringList rows{u"k,1,2,0"_s, u"\"a b\",3"_s};
        shortRows(rows);
        QCOMPARE(rows, (QStringList{u"\t<pNo>k</pNo><qStr>1,2,3</qStr>"_s, u"\t<pNo>a b</pNo><qStr>3</qStr>"_s}));
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
