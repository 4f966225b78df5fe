// The report documents: consignment reports and the sales export compared
// byte for byte with golden files, their folders and names, and
// well-formedness whatever the texts hold.

#include "boutique/appState.h"
#include "export/reportDocs.h"
#include "model/uRep.h"
#include "support/fakePrompt.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"
#include "support/testFiles.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

QByteArray golden(const QString& name)
{
    return readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/golden/") + name);
}

// The text of each element named tag, in document order; "!" and the error
// when the document is not well-formed.
QStringList texts(const QByteArray& bytes, const QString& tag)
{
    QStringList out;
    QXmlStreamReader r(bytes);
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == tag)
            out << r.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    if (r.hasError())
        out << u"!"_s + r.errorString();
    return out;
}

struct Env {
    QTemporaryDir tmp;
    AppState st;
    FakePrompt prompt;
    Env(const QString& period = u"P"_s, const QString& end = u"090531"_s)
    {
        st.progDir = tmp.path() + u'/';
        st.dataDir = st.progDir + u"data/"_s;
        st.xmlDir = st.progDir + u"dXML/"_s;
        QDir().mkpath(st.dataDir);
        st.repList.addPeriod(period, u"090301"_s, end);
        st.curCIndex = 0;
    }
    QByteArray data(const QString& root) const { return readFileBytes(st.dataDir + root + u".xml"_s); }
};

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void consignmentReports()
    {
        Env e(u"Printemps"_s);
        setReportPeriod(e.st, u"Printemps"_s);
        e.st.repArtName = u"Atelier Bleu"_s;
        e.st.xmlDataLines << TRepList::xmlDataLine(u"090518,005,003,Vase,12.00$,2,24.00$"_s);
        e.st.repList.total = u"24.00$"_s;
        QCOMPARE(writeSalesReport(e.st, u"consigne"_s, e.prompt), u"Exported: consigne.xml"_s);
        QVERIFY(e.prompt.all.isEmpty());
        QCOMPARE(readFileBytes(e.st.repDir + u"consigne.xml"_s), golden(u"consigne.xml"_s));

        // No data: the note, no itemDATA, no total; a report is replaced, not appended to.
        e.st.repArtName.clear();
        e.st.repList.editPeriod(0, u"P"_s, u"090301"_s, u"090531"_s);
        e.st.xmlDataLines.clear();
        writeSalesReport(e.st, u"c001"_s, e.prompt);
        QCOMPARE(readFileBytes(e.st.repDir + u"c001.xml"_s), golden(u"consigne-nodata.xml"_s));

    }

    void folderNamesStayInsideXmlDir()
    {
        QCOMPARE((QStringList{safeFileName(u"Printemps 2009"_s), safeFileName(u".."_s), safeFileName(u"a\\b\nc"_s),
                              reportDir(u"/x/dXML/"_s, u"-[tout]-"_s), reportDir(u"/x/dXML"_s, u"/abs"_s),
                              reportDir(u"/x/dXML"_s, u" "_s)}),
                 (QStringList{u"Printemps 2009"_s, u"__"_s, u"a_b_c"_s, u"/x/dXML/tout/"_s, u"/x/dXML/_abs/"_s,
                              u"/x/dXML/periode/"_s}));
        // A title of the folder's whole room is kept as it is; one byte more
        // is cut, and a suffix fills the room again.
        for (const int bytes : {MAX_FOLDER_BYTES, MAX_FOLDER_BYTES + 1}) {
            const QString folder = QDir(reportDir(u"/x"_s, QString(bytes, u'x'))).dirName();
            QCOMPARE(folder.size(), MAX_FOLDER_BYTES);
            QCOMPARE(folder.count(u'x'), bytes == MAX_FOLDER_BYTES ? bytes : MAX_FOLDER_BYTES - 9);
        }
        // Bounded, told apart by a suffix; two periods never share a folder.
        const QString longA = QString(300, u'é') + u'a';
        const QString longB = QString(300, u'é') + u'b';
        const QStringList titles{u"a/b"_s, u"a_b"_s, u"Mai"_s, u"Mai"_s, longA, longB, u"a_b-2"_s};
        QStringList folders;
        for (int p = 0; p < titles.size(); ++p) {
            folders << periodFolderName(titles, p);
            QVERIFY(QFile::encodeName(folders.last()).size() <= MAX_FOLDER_BYTES);
        }
        QCOMPARE(QSet<QString>(folders.cbegin(), folders.cend()).size(), titles.size());
        QCOMPARE(folders.mid(0, 4), (QStringList{u"a_b"_s, u"a_b-3"_s, u"Mai"_s, u"Mai-4"_s}));

        // Each of two periods so titled writes into its own folder, below
        // xmlDir, where "../report.xsl" is found.
        Env twin(u"a/b"_s);
        twin.st.repList.addPeriod(u"a_b"_s, u"090601"_s, u"090630"_s);
        QStringList written;
        for (int p = 0; p < 2; ++p) {
            twin.st.curCIndex = p;
            setReportPeriod(twin.st, twin.st.repList.at(p).title);
            writeSalesReport(twin.st, u"c001"_s, twin.prompt);
            written << twin.st.repDir;
            QCOMPARE(QDir(twin.st.repDir + u".."_s).canonicalPath(), QDir(twin.st.xmlDir).canonicalPath());
        }
        QVERIFY(written.at(0) != written.at(1));
        // A chosen index that names another period, or none, gives way to the title.
        for (const int stale : {0, 2}) {
            twin.st.curCIndex = stale;
            setReportPeriod(twin.st, u"a_b"_s);
            QCOMPARE(twin.st.repDir, written.at(1));
        }

        Env e(u"../../evil"_s);
        e.st.curRepName = u"../../evil"_s;
        e.st.repDir = e.st.progDir + u"../../evil/"_s; // as a careless caller would set it
        writeSalesReport(e.st, u"../c001"_s, e.prompt);
        QCOMPARE(e.st.repDir, e.st.xmlDir + u".._.._evil/"_s);
        QVERIFY(QFile::exists(e.st.xmlDir + u".._.._evil/.._c001.xml"_s));
        QCOMPARE(QDir(e.tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{u"dXML"_s, u"data"_s}));

        // xmlDir is a file: the folder cannot be made; dataDir missing: the export document raises.
        QDir(e.st.xmlDir).removeRecursively();
        QVERIFY(writeFileBytes(e.st.progDir + u"dXML"_s, "x"));
        const QString why = errorOf([&] { writeSalesReport(e.st, u"c001"_s, e.prompt); });
        QVERIFY2(why.startsWith(u"Impossible de créer le dossier"_s) && why.contains(u"n'est pas un dossier"_s),
                 qPrintable(why));
        QVERIFY_THROWS_EXCEPTION(AppError, writeXmlDoc(e.st.progDir + u"nope/"_s, u"allSales"_s, u"xData"_s,
                                                       u"Toutes Ventes"_s, QString()));
    }

    void everyConsignmentExported()
    {
        Env e(u"Mai"_s);
        const QString evil = u"<a href=\"x\">&amp; ' ]]> \t\r\n\u0080\u0085€ 漢字 😀 é</a>"_s;
        addSheet(e.st.saleList, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s, u"VerArt001-001,Bol,5.00$,1,5.00$"_s,
                                              writeCommaList({u"Tre<&>007-003"_s, evil, u"1.00$"_s, u"2"_s, u"2.00$"_s})});
        addSheet(e.st.saleList, u"0905\"<"_s, {});
        e.st.repList.addPeriod(evil, u"0"_s, u"099999"_s); // holds the sheet of the odd date too
        e.st.repList.addPeriod(u"R&D \"x\""_s, u"0"_s, u"9"_s);
        setReportPeriod(e.st, u"Mai"_s);
        e.st.numItems = QStringList{u"001"_s, u"002"_s, u"007"_s, u"005"_s};
        e.st.nameItems = QStringList{u"Verrier Art (001)"_s, u"Vide  (002)"_s, evil, u"Tremblay Marie (005)"_s};
        QCOMPARE(exportAllConsigne(e.st, 0, e.prompt), u"Exported: c005.xml"_s);
        QCOMPARE(QDir(e.st.repDir).entryList(QDir::Files),
                 (QStringList{u"c001.xml"_s, u"c002.xml"_s, u"c005.xml"_s, u"c007.xml"_s}));
        const QByteArray c001 = readFileBytes(e.st.repDir + u"c001.xml"_s);
        QCOMPARE(texts(c001, u"artName"_s) + texts(c001, u"total"_s), (QStringList{u"Verrier Art (001)"_s, u"5.00$"_s}));
        QCOMPARE(texts(readFileBytes(e.st.repDir + u"c005.xml"_s), u"descript"_s), QStringList{u"Vase"_s});
        // Without artisans nothing is done, whatever the period index.
        Env none;
        for (int p : {-1, 0})
            QCOMPARE(exportAllConsigne(none.st, p, none.prompt), QString());
        QVERIFY(!QDir(none.st.xmlDir).exists());
        // Every character reads back, C1 controls and a carriage return too.
        const QByteArray c007 = readFileBytes(e.st.repDir + u"c007.xml"_s);
        QCOMPARE(texts(c007, u"artName"_s), QStringList{evil});
        QCOMPARE(texts(c007, u"descript"_s).size(), 1);

        writeSalesDocs(e.st);
        // Well-formed: no error entry.
        for (const QString& root : {u"allSales"_s, u"periodSales"_s})
            QCOMPARE(texts(e.data(root), u"none"_s), QStringList());
        QCOMPARE(texts(e.data(u"shortSalesRep"_s), u"pNo"_s),
                 (QStringList{u"Tre<&>007-003"_s, u"TreMar005-003"_s, u"VerArt001-001"_s}));

        // Two artisans of one number: the file holds the last one's report,
        // byte for byte as a report made alone.
        Env one;
        addSheet(one.st.saleList, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s, u"VerArt001-001,Bol,5.00$,1,5.00$"_s});
        setReportPeriod(one.st, u"P"_s);
        one.st.numItems = QStringList{u"005"_s, u"001"_s, u"005"_s};
        one.st.nameItems = QStringList{u"Tremblay Marie (005)"_s, u"Verrier Art (001)"_s, u"Roy Luc (005)"_s};
        QCOMPARE(exportAllConsigne(one.st, 0, one.prompt), u"Exported: c005.xml"_s);
        const QByteArray shared = readFileBytes(one.st.repDir + u"c005.xml"_s);
        one.st.repList.setConsigne(u"005"_s, 0, one.st.saleList, one.st.xmlDataLines);
        one.st.repArtName = u"Roy Luc (005)"_s;
        writeSalesReport(one.st, u"alone"_s, one.prompt);
        QCOMPARE(shared, readFileBytes(one.st.repDir + u"alone.xml"_s));
        QCOMPARE(texts(shared, u"artName"_s) + texts(shared, u"descript"_s), (QStringList{u"Roy Luc (005)"_s, u"Vase"_s}));

        // Kept item lines follow their data lines, even changed in place.
        ReportItems items;
        QStringList lines{u"<a>1</a>"_s, QString()};
        QCOMPARE(items.lines(lines), (QStringList{u"<item><a>1</a></item>"_s, u"<item/>"_s}));
        lines[0] = u"<a>é</a>"_s;
        QCOMPARE(items.bytes(lines), QByteArray("<item><a>\xe9</a></item>\r\n<item/>\r\n"));
        lines.removeLast();
        QCOMPARE(items.lines(lines), QStringList{u"<item><a>é</a></item>"_s});
        QVERIFY_THROWS_EXCEPTION(AppError, items.bytes(QStringList{u"漢"_s}));
    }

    void salesDocs()
    {
        Env e(u"Printemps"_s);
        TSaleList& s = e.st.saleList;
        addSheet(s, u"090601"_s, {u"TreMar005-003,Vase,12.00$,1,12.00$"_s, u"NouArt009-001,Neuf,1.00$,4,4.00$"_s});
        addSheet(s, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s, u"VerArt001-002,Bol,5.00$,1,5.00$"_s});
        addSheet(s, u"090301"_s, {u"VerArt001-002,Bol,5.00$,3,15.00$"_s});
        TRepList& r = e.st.repList;
        r.addPeriod(u"Juin"_s, u"090601"_s, u"090630"_s);
        r.updateAllPeriod(s); // "-[tout]-" last, as the program keeps it: every sale is exported
        r.prepareLines(e.st.saleList);
        writeSalesDocs(e.st);
        for (const QString& root : {u"allSales"_s, u"periodSales"_s, u"shortSalesRep"_s})
            QCOMPARE(e.data(root), golden(root + u".xml"_s));
        // The export command prepares the sale rows again afterwards.
        exportSales(e.st);
        QVERIFY(r.linesCurrent(e.st.saleList));
        QCOMPARE(r.at(0).periodLines, (QStringList{u"090518,005,003,Vase,12.00$,2,24.00$"_s,
                                                   u"090518,001,002,Bol,5.00$,1,5.00$"_s,
                                                   u"090301,001,002,Bol,5.00$,3,15.00$"_s}));

        // Periods after "-[tout]-" are exported too; without any period all
        // sales are still there, and the period documents are empty.
        for (int i = 0; i < 2; ++i)
            r.addPeriod(u"P%1"_s.arg(i), u"090101"_s, u"091231"_s);
        writeSalesDocs(e.st);
        QCOMPARE(r.curPeriod, 4);
        while (!r.isEmpty())
            r.deletePeriod(r.count() - 1);
        writeSalesDocs(e.st);
        QCOMPARE(e.data(u"allSales"_s), golden(u"allSales.xml"_s));
        for (const QString& root : {u"periodSales"_s, u"shortSalesRep"_s})
            QCOMPARE(e.data(root), golden(root + u"-empty.xml"_s));
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
