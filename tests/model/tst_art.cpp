// Artisans: the record string, the artisan section of the database file (with
// version-1 files), numbering and display texts and the model half of the
// artisans window's operations (whole-file round trips: tst_saleDbFile).

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "core/textUtil.h"
#include "core/valueStream.h"
#include "model/uArt.h"
#include "support/fakePrompt.h"
#include "support/modelSheets.h"
#include "support/testFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstArt : public QObject {
    Q_OBJECT

private slots:
    void record();
    void tags();
    void sectionVersion2();
    void sectionVersion1();
    void lookups();
    void csvLine();
    void varSource();
    void products();
    void addAndSelect();
    void importOne();
    void ownershipAcrossReload();
};

namespace {

TArtisan& verrier(TArtList& list, const QString& no = u"002"_s)
{
    TArtisan& a = list.append();
    a.artNo = no;
    a.nom = u"Verrier"_s;
    a.prenom = u"Art"_s;
    a.ville = u"Québec"_s;
    return a;
}

} // namespace

void TstArt::record()
{
    TArtList list;
    TArtisan& a = verrier(list);
    a.prenom.clear();
    QCOMPARE(a.artRecord(), u"002|:|Verrier|:||:||:|Québec|:||:||:||:||:||:|"_s);

    TArtisan back;
    back.nom = u"x"_s;
    back.setArtRecord(u"|:|"_s.repeated(10));
    QCOMPARE(back.nom, QString());

    TArtisan full;
    QString* fields[] = {&full.artNo, &full.nom,  &full.prenom,   &full.adresse, &full.ville,
                         &full.CP,    &full.tel,  &full.courriel, &full.varData, &full.comment};
    for (int i = 0; i < 10; ++i)
        *fields[i] = u"f%1 é"_s.arg(i);
    full.comment = u"ligne 1\nligne 2"_s;
    TArtisan copy;
    copy.setArtRecord(full.artRecord());
    QCOMPARE(copy.artRecord(), full.artRecord());
    QCOMPARE(copy.comment, u"ligne 1\nligne 2"_s);

    // A record with fewer separators repeats its last text.
    TArtisan shortRec;
    shortRec.setArtRecord(u"003|:|Potier"_s);
    QCOMPARE(shortRec.nom, u"Potier"_s);
    QCOMPARE(shortRec.comment, u"Potier"_s);

    QVERIFY(!recordFieldProblem(u"a|:|b"_s, REC_SEP).isEmpty());
    QVERIFY(recordFieldProblem(u"a:|:b"_s, REC_SEP).isEmpty());
}

void TstArt::tags()
{
    TArtList list;
    verrier(list);
    TArtisan& lee = list.append();
    lee.artNo = u"003"_s;
    lee.nom = u"Li"_s;
    lee.prenom = u"Jo"_s;
    TArtisan& blank = list.append();
    blank.artNo = u"004"_s;
    QCOMPARE(list.at(2).artTag(), u"______"_s);
    QCOMPARE(list.tagLine(0), u"VerArt    *0"_s);
    QCOMPARE(list.tagLine(1), u"Li_Jo_    *1"_s);
    // The sale-line key keeps its fixed positions.
    const QString key = list.at(1).artTag() + list.at(1).artNo + u"-001"_s;
    QCOMPARE(key.mid(6, 3), u"003"_s);
    QCOMPARE(key.at(9), QLatin1Char('-'));
}

void TstArt::sectionVersion2()
{
    TArtList list;
    TArtisan& a = verrier(list);
    a.products.addProduct(u"001"_s, u"002"_s, u"090518"_s).descript = u"Bol"_s;
    a.products.addProduct(u"002"_s, u"002"_s, u"090518"_s);
    verrier(list, u"003"_s);

    const QByteArray bytes = writeSection([&](TWriter& w) { list.writeArtisans(w); });
    // The product section of the artisan without products is still written.
    QVERIFY(bytes.endsWith(QByteArray("\x01\x00\x00", 3)));

    TArtList back;
    back.append();
    int total = -1;
    readSection(bytes, [&](TReader& r) { back.readArtisans(r, 2, total); });
    QCOMPARE(back.count(), 2);
    QCOMPARE(total, 2);
    QCOMPARE(back.at(0).artRecord(), a.artRecord());
    QCOMPARE(back.at(0).products.count(), 2);
    QCOMPARE(back.at(0).products.at(0).descript, u"Bol"_s);
    QCOMPARE(back.at(1).products.count(), 0);

    // Cut inside the second artisan's record: the first is kept whole.
    TArtList part;
    QVERIFY_THROWS_EXCEPTION(ReadError, readSection(bytes.chopped(12), [&](TReader& r) {
        part.readArtisans(r, 2, total);
    }));
    QCOMPARE(part.count(), 1);
    QCOMPARE(part.at(0).products.count(), 2);
}

void TstArt::sectionVersion1()
{
    // A version-1 file: records only, no product sections.
    const QByteArray bytes = writeSection([](TWriter& w) {
        w.writeInteger(1);
        w.writeListBegin();
        w.writeString(u"001|:|Potier|:|Jean|:||:|Lévis|:||:||:||:||:||:|"_s);
        w.writeString(u"002|:|Verrier|:|Art|:||:||:||:||:||:||:||:|"_s);
        w.writeListEnd();
        w.writeListBegin(); // sales
        w.writeListEnd();
        w.writeInteger(-1); // reports
        w.writeListBegin();
        w.writeListEnd();
    });
    QTemporaryDir dir;
    const QString path = dir.filePath(u"old.tlvdb"_s);
    QVERIFY(writeFileBytes(path, bytes));

    AppState st;
    st.totProdCount = 9;
    FakePrompt prompt;
    QCOMPARE(loadDB(path, st, prompt), LoadResult::Loaded);
    QVERIFY(prompt.all.isEmpty());
    QCOMPARE(st.dbVersion, 1);
    QCOMPARE(st.artList.count(), 2);
    QCOMPARE(st.totProdCount, 0);
    QCOMPARE(st.artList.at(0).ville, u"Lévis"_s);
    QCOMPARE(st.artList.at(1).products.count(), 0);
}

void TstArt::lookups()
{
    QCOMPARE(TArtList::artNoFor(1000), u"000"_s);

    TArtList list;
    verrier(list, u"001"_s);
    TArtisan* const second = &verrier(list, u"002"_s);
    second->prenom.clear();
    QCOMPARE(list.indexOfArtNo(u"002"_s), 1);
    QCOMPARE(list.indexOfArtNo(u"2"_s), -1);
    QCOMPARE(list.fillItems(0), (QStringList{u"Verrier Art (001)"_s, u"Verrier  (002)"_s}));
    QCOMPARE(list.fillItems(1), (QStringList{u"VerArt    *0"_s, u"Ver___    *1"_s}));
    QVERIFY_THROWS_EXCEPTION(AppError, list.displayName(2));
    QCOMPARE(list.current(), second); // at() itself would set current

    AppState st;
    st.numItems = {u"001"_s, u"002"_s, u"001"_s};
    st.nameItems = {u"A (001)"_s, u"B (002)"_s, u"C (001)"_s};
    QCOMPARE(displayNameOf(st, u"001"_s), u"C (001)"_s);
    QCOMPARE(st.MaxRecs, 3);
    QCOMPARE(displayNameOf(st, u"009"_s), QString());
}

void TstArt::csvLine()
{
    TArtList list;
    QCOMPARE(list.csvLine(0), QString());
    TArtisan& a = verrier(list);
    QCOMPARE(list.csvLine(0), u"002,\"Verrier\",\"Art\",\"\",\"Québec\",\"\",\"\",\"\""_s);
    a.nom = u"Verrier \"le Grand\", fils"_s;
    const QStringList cells = readCommaList(list.csvLine(0));
    QCOMPARE(cells.size(), 8);
    QCOMPARE(cells.at(1), a.nom);
}

void TstArt::varSource()
{
    TArtList list;
    TArtisan& a = verrier(list);
    QString fname = u"keep"_s;
    QCOMPARE(TArtList::varSource(a, &fname), QString());
    QCOMPARE(fname, u"keep"_s);
    QCOMPARE(list.varSourceIndex(0), -1);
    a.varData = u"\"ma liste.xml\",7"_s;
    QCOMPARE(list.varSourceIndex(0, &fname), 7);
    QCOMPARE(fname, u"ma liste.xml"_s);
    a.varData = u"liste.xml,x"_s;
    QCOMPARE(list.varSourceIndex(0), -1);
}

void TstArt::products()
{
    TArtList list;
    TArtisan& a = verrier(list);
    TArtisan& b = verrier(list, u"003"_s);
    a.products.addProduct(u"005"_s, u"002"_s, u"090518"_s);
    a.products.addProduct(u"009"_s, u"002"_s, u"090518"_s);
    b.products.addProduct(u"001"_s, u"003"_s, u"090518"_s);
    QCOMPARE(list.totalProducts(), 3);

    TProdList working;
    working.assign(list.productsOf(0));
    working.addProduct(u"010"_s, u"002"_s, u"090519"_s);
    QCOMPARE(a.products.count(), 2); // only after the copy back
    list.setProducts(0, working);
    QCOMPARE(&a.products.at(2), &working.at(2));

    AppState st;
    TArtisan& c = st.artList.append();
    c.products.addProduct(u"007"_s, u"001"_s, u"090518"_s);
    st.curItem = u"009"_s;
    renumberAll(st);
    QCOMPARE(c.products.at(0).prodNo, u"001"_s);
    QCOMPARE(st.curItem, u"001"_s);
}

void TstArt::addAndSelect()
{
    AppState st;
    TArtisan& first = addArtisan(st, u"001"_s);
    QCOMPARE(st.nameItems, QStringList{u"  (001)"_s});

    first.nom = u"Potier"_s;
    first.products.addProduct(u"001"_s, u"001"_s, u"090518"_s);
    first.varData = u"src.xml,2"_s;
    addArtisan(st, TArtList::artNoFor(st.artList.count() + 1));
    QCOMPARE(st.curArtNo, u"002"_s);
    QVERIFY(st.prodList.isEmpty());
    QCOMPARE(st.numItems, (QStringList{u"001"_s, u"002"_s}));
    QCOMPARE(st.totProdCount, 1);

    TArtisan* a = selectArtisan(st, -1);
    QCOMPARE(a, &st.artList.at(0));
    QCOMPARE(st.curArtNo, u"001"_s);
    QCOMPARE(st.importFName, u"src.xml"_s);
    QCOMPARE(st.prodNoList, QStringList{u"001"_s});

    // prodList edits reach the artisan; additions after the copy back.
    st.prodList.addProduct(u"002"_s, u"001"_s, u"090519"_s);
    st.prodNoList = st.prodList.prodNumbers();
    QCOMPARE(a->products.count(), 1);
    saveProdList(st);
    QCOMPARE(a->products.count(), 2);
    st.prodList.clear();
    loadProdList(st);
    QCOMPARE(st.prodList.count(), 2);

    AppState none;
    QCOMPARE(selectArtisan(none, -1), nullptr);
    rebuildLists(none);
    QVERIFY(none.numItems.isEmpty());
}

void TstArt::importOne()
{
    TArtList source;
    verrier(source, u"007"_s);
    TArtisan& s = verrier(source, u"011"_s);
    s.nom = u"Tisserand"_s;
    s.adresse = u"1 rue Principale"_s;
    s.CP = u"G1A 1A1"_s;
    s.tel = u"555-1234"_s;
    s.courriel = u"t@example.org"_s;
    s.comment = u"Laine"_s;
    s.varData = u"other,1"_s;
    s.products.addProduct(u"001"_s, u"011"_s, u"090518"_s);

    AppState st;
    addArtisan(st, u"001"_s);
    st.artList.at(0).nom = u"Potier"_s;
    addArtisan(st, u"002"_s);
    st.importFName = u"/data/mes artisans.xml"_s;

    // A bad index changes nothing.
    QVERIFY_THROWS_EXCEPTION(AppError, importArtisan(st, source, -1));
    QCOMPARE(st.artList.at(1).nom, QString());

    importArtisan(st, source, 1);
    // Every field but the number comes over; the note names the file
    // (without folder) and the position, as a comma list; no products.
    const TArtisan& a = st.artList.at(1);
    QCOMPARE(a.artRecord(), u"002|:|Tisserand|:|Art|:|1 rue Principale|:|Québec|:|G1A 1A1|:|555-1234|:|"
                            u"t@example.org|:|\"mes artisans.xml\",1|:|Laine|:|"_s);
    QCOMPARE(a.products.count(), 0);
    QCOMPARE(st.curArtInd, 1);
    QCOMPARE(st.nameItems.at(1), u"Tisserand Art (002)"_s);
    QCOMPARE(st.artList.varSourceIndex(1), 1);
    QCOMPARE(st.importFName, u"mes artisans.xml"_s);

    st.importFName = u"C:\\tilvar\\data\\liste.xml"_s;
    addArtisan(st, u"003"_s);
    importArtisan(st, source, 0);
    QCOMPARE(st.artList.at(2).varData, u"liste.xml,0"_s);
}

void TstArt::ownershipAcrossReload()
{
    AppState st;
    addArtisan(st, u"001"_s);
    st.artList.at(0).products.addProduct(u"001"_s, u"001"_s, u"090518"_s).descript = u"Bol"_s;
    selectArtisan(st, 0);
    // Edits through the working list reach the artisan's product; when the
    // artisan list goes away the working list still holds valid products.
    st.prodList.at(0).descript = u"Grand bol"_s;
    QCOMPARE(st.artList.at(0).products.at(0).descript, u"Grand bol"_s);
    st.artList.clear();
    QCOMPARE(st.prodList.at(0).descript, u"Grand bol"_s);
    QCOMPARE(st.artList.current(), nullptr);
}

QTEST_GUILESS_MAIN(TstArt)
#include "tst_art.moc"
