// The whole database file with realistic contents: save, load and save again
// give identical bytes, and match the reference file kept with the tests.

#include "core/appState.h"
#include "core/dbFile.h"
#include "core/textUtil.h"
#include "support/fakePrompt.h"
#include "support/modelSheets.h"
#include "support/testFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString REFERENCE = QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb");

void addProduct(TArtisan& a, const QString& no, const QString& descr, const QString& val,
                const QString& prix, const QStringList& received, const QStringList& sold)
{
    TProduit& p = a.products.append();
    p.artNo = a.artNo;
    p.prodNo = no;
    p.descript = descr;
    p.valeur = val;
    p.prix = prix;
    for (const QString& e : received)
        p.qntList.addQnt(e.left(6), e.mid(6));
    for (const QString& e : sold)
        p.soldList.addQnt(e.left(6), e.mid(6));
}

// Three artisans (one without products), sale sheets whose lines hold
// commas, quotes, blanks and accents, four periods.
void fill(AppState& st)
{
    TArtisan& a = st.artList.append();
    a.artNo = u"001"_s;
    a.nom = u"Tremblay"_s;
    a.prenom = u"Marie-Ève"_s;
    a.adresse = u"12, rue des Érables"_s;
    a.ville = u"Québec"_s;
    a.CP = u"G1R 2B5"_s;
    a.tel = u"418 555-0101"_s;
    a.courriel = u"marie@example.org"_s;
    a.comment = u"Céramiste.\r\nPréfère être payée le 1er du mois; « merci »"_s;
    addProduct(a, u"001"_s, u"Vase bleu, grand"_s, u"12.00$"_s, u"24.00$"_s,
               {u"0903015"_s, u"0904102"_s}, {u"0905182"_s, u"0906011"_s});
    addProduct(a, u"002"_s, u"Bol \"Océan\""_s, u"8.50$"_s, u"15.00$"_s, {u"0903013"_s}, {u"0905181"_s});
    addProduct(a, u"003"_s, QString(), QString(), QString(), {u"0905180"_s}, {});

    TArtisan& b = st.artList.append();
    b.artNo = u"002"_s;
    b.nom = u"Li"_s;
    b.prenom = u"Bo"_s;
    b.varData = u"artisans.xml,4"_s;
    addProduct(b, u"001"_s, u"Foulard   soie"_s, u"20.00$"_s, u"45.00$"_s, {u"0904013"_s, u"090402-1"_s},
               {u"0905181"_s});

    TArtisan& c = st.artList.append();
    c.artNo = u"003"_s;
    c.nom = u"Verrier"_s;
    st.totProdCount = 4;

    TSaleList& s = st.saleList;
    addSheet(s, u"090601"_s, {saleLine(u"TreMar001-001"_s, u"Vase bleu, grand"_s, u"24.00$"_s, u"1"_s, u"24.00$"_s)},
             u"Julie"_s, u"24.00$"_s);
    addSheet(s, u"090518"_s,
             {saleLine(u"TreMar001-001"_s, u"Vase bleu, grand"_s, u"24.00$"_s, u"2"_s, u"48.00$"_s),
              saleLine(u"TreMar001-002"_s, u"Bol \"Océan\""_s, u"15.00$"_s, u"1"_s, u"15.00$"_s),
              saleLine(u"Li_Bo_002-001"_s, u"Foulard   soie"_s, u"45.00$"_s, u"1"_s, u"45.00$"_s),
              saleLine(u"TreMar001-003"_s, QString(), u"0.00$"_s, u"0"_s, QString())},
             u"Préposé d'été"_s, u"108.00$"_s);
    addSheet(s, u"090301"_s, {});

    TRepList& r = st.repList;
    r.addPeriod(u"Printemps"_s, u"090301"_s, u"090531"_s);
    r.addPeriod(u"Juin, été"_s, u"090601"_s, u"090630"_s);
    r.addPeriod(u"juillet"_s, u"090701"_s, u"090731"_s);
    r.addPeriod(u"-[tout]-"_s, u"090301"_s, u"090601"_s);
    r.curPeriod = 1;
}

} // namespace

class TestSaleDbFile : public QObject {
    Q_OBJECT

private slots:
    void roundTripIsByteIdentical()
    {
        QTemporaryDir tmp;
        for (int curPeriod : {1, -1}) {
            AppState st;
            fill(st);
            st.repList.curPeriod = curPeriod;
            const QString first = tmp.filePath(u"first.tlvdb"_s);
            saveDB(first, st);

            AppState back;
            FakePrompt prompt;
            QCOMPARE(loadDB(first, back, prompt), LoadResult::Loaded);
            QVERIFY(prompt.all.isEmpty());
            QCOMPARE(back.totProdCount, 4);
            QCOMPARE(back.artList.at(0).comment, st.artList.at(0).comment);
            QCOMPARE(back.saleList.saleLinesOf(1), st.saleList.saleLinesOf(1));
            QCOMPARE(readCommaList(back.saleList.saleLinesOf(1).at(1)).at(1), u"Bol \"Océan\""_s);
            QCOMPARE(back.repList.curPeriod, curPeriod);
            QCOMPARE(back.repList.at(1).title, u"Juin, été"_s);

            const QString second = tmp.filePath(u"second.tlvdb"_s);
            saveDB(second, back);
            QCOMPARE(readFileBytes(second), readFileBytes(first));

            if (curPeriod == 1) {
                if (qEnvironmentVariableIsSet("TILVAR_UPDATE_REFERENCE"))
                    QVERIFY(QFile::copy(first, REFERENCE) || (QFile::remove(REFERENCE) && QFile::copy(first, REFERENCE)));
                QCOMPARE(readFileBytes(first), readFileBytes(REFERENCE));
                AppState ref;
                QCOMPARE(loadDB(REFERENCE, ref, prompt), LoadResult::Loaded);
                saveDB(second, ref);
                QCOMPARE(readFileBytes(second), readFileBytes(REFERENCE));
            }
        }
    }

    void truncatedFileKeepsSheetsReadSoFar()
    {
        QTemporaryDir tmp;
        AppState st;
        fill(st);
        const QString path = tmp.filePath(u"cut.tlvdb"_s);
        saveDB(path, st);
        QByteArray bytes = readFileBytes(path);
        // Cut inside the third sheet's record: its string starts with its date.
        const qsizetype at = bytes.indexOf("090301|:|");
        QVERIFY(at > 0);
        QVERIFY(writeFileBytes(path, bytes.left(at + 3)));
        AppState back;
        FakePrompt prompt;
        QCOMPARE(loadDB(path, back, prompt), LoadResult::ReadError);
        QCOMPARE(prompt.errors, QStringList{u"Error reading file"_s});
        QCOMPARE(back.artList.count(), 3);
        QCOMPARE(back.saleList.count(), 2);
        QCOMPARE(back.repList.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSaleDbFile)
#include "tst_saleDbFile.moc"
