// Artisans: the record string, the artisan section of the database file (with
// version-1 files), numbering and display texts, and the model half of the
// artisans window's operations walked as one task.

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "boutique/textPlaces.h"
#include "model/uArt.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"

#include <QTest>

using namespace Qt::StringLiterals;

static TArtisan& verrier(TArtList& list, const QString& no = u"002"_s)
{
    TArtisan& a = list.append();
    a.setArtRecord(no + u"|:|Verrier|:|Art|:||:|Québec|:||:||:||:||:||:|"_s);
    return a;
}

class TstArt : public QObject {
    Q_OBJECT

private slots:
    void recordAndTexts()
    {
        TArtList list;
        TArtisan& a = verrier(list);
        a.comment = u"ligne 1\nligne 2"_s;
        a.varData = u"\"ma liste.xml\",7"_s;
        TArtisan& b = list.append();
        b.setArtRecord(a.artRecord());
        QCOMPARE(b.artRecord(), a.artRecord());
        // A record with fewer separators repeats its last text.
        b.setArtRecord(u"003|:|Li"_s);
        QCOMPARE(b.comment, u"Li"_s);
        b.prenom.clear();
        list.append().artNo = u"004"_s;

        QCOMPARE(list.fillItems(0), (QStringList{u"Verrier Art (002)"_s, u"Li  (003)"_s, u"  (004)"_s}));
        QCOMPARE(list.fillItems(1), (QStringList{u"VerArt    *0"_s, u"Li____    *1"_s, u"______    *2"_s}));
        QVERIFY_THROWS_EXCEPTION(AppError, list.at(3));
        QCOMPARE(QList<int>({list.indexOfArtNo(u"003"_s), list.indexOfArtNo(u"3"_s), list.indexOfArtNo({})}),
                 QList<int>({1, -1, -1}));

        QCOMPARE(list.csvLine(0), u"002,\"Verrier\",\"Art\",\"\",\"Québec\",\"\",\"\",\"\""_s);
        a.nom = u"Verrier \"le Grand\", fils"_s;
        QCOMPARE(readCommaList(list.csvLine(0)), (QStringList{u"002"_s, a.nom, u"Art"_s, {}, u"Québec"_s, {}, {}, {}}));

        QString fname = u"keep"_s;
        QCOMPARE(list.varSourceIndex(2, &fname), -1);
        QCOMPARE(fname, u"keep"_s);
        QCOMPARE(list.varSourceIndex(0, &fname), 7);
        QCOMPARE(fname, u"ma liste.xml"_s);
    }

    // Where a character stands, in file order: two fields of an artisan, a
    // product, two fields of a sheet and its second line, a period; never
    // more than asked, even within one record.
    void placesOfACharacter()
    {
        const QChar mark(0xFFFD);
        AppState st;
        TArtisan& a = st.artList.append();
        a.setArtRecord(u"001|:|Ro%1|:|Je%1an|:||:||:||:||:||:||:||:|"_s.arg(mark));
        a.products.append().setProdRecord(u"001:|:001:|:Bol%1:|:12.50$:|:20.00$:|::|::|:0:|:0:|::|::|:"_s.arg(mark));
        addSheet(st.saleList, u"090518"_s, {u"RoJea001-001,Bol,12.50$,1,12.50$"_s, u"RoJea001-001,Bol%1,12.50$,1,"_s.arg(mark)},
                 u"Mar%1e"_s.arg(mark), u"25.00%1"_s.arg(mark));
        st.repList.addPeriod(u"Mai%1"_s.arg(mark), u"090501"_s, u"090531"_s);
        const QStringList all = placesHolding(st, mark, 100);
        const QStringList owners{u"Artisan 001, champ"_s, u"Artisan 001, champ « prenom"_s, u"Artisan 001, produit 001, champ"_s,
                                 u"Feuille 090518, champ"_s,
                                 u"Feuille 090518, champ « total"_s, u"Feuille 090518, ligne 2"_s, u"Période « Mai"_s};
        QCOMPARE(all.size(), owners.size());
        for (qsizetype k = 0; k < owners.size(); ++k)
            QVERIFY2(all.at(k).startsWith(owners.at(k)), qPrintable(all.at(k)));
        for (int max = 0; max <= int(all.size()) + 1; ++max)
            QCOMPARE(placesHolding(st, mark, max), all.mid(0, max));
        QVERIFY(placesHolding(st, QChar(u'§'), 100).isEmpty());
    }

    void tagIsWholeCharacters_data()
    {
        // Every reader finds the artisan number at characters 7-9 of a key,
        // so the tag is six whole Windows-1252 characters whatever the name.
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("prenom");
        QTest::addColumn<QString>("tag");
        QTest::newRow("plain") << u"Tremblay"_s << u"Marie"_s << u"TreMar"_s;
        QTest::newRow("short") << u"Li"_s << QString() << u"Li____"_s;
        QTest::newRow("emoji cut in half before") << u"Jo\U0001F338"_s << u"Ana"_s << u"Jo_Ana"_s;
        QTest::newRow("emoji with modifier is one") << u"\U0001F44D\U0001F3FDab"_s << u"Zoé"_s << u"_abZoé"_s;
        QTest::newRow("decomposed accent") << u"E\u0301lo"_s << u"Zoe\u0301"_s << u"ÉloZoé"_s;
        QTest::newRow("accent outside the set") << u"Ło\u0107ek"_s << u"Ǻsa"_s << u"_ocAsa"_s;
        QTest::newRow("other script") << u"王小明"_s << u"Ωmega"_s << u"____me"_s;
        QTest::newRow("control and lone half") << u"a\tb"_s << QString(QChar(0xD83C)) + u"x"_s << u"a_b_x_"_s;
    }

    void tagIsWholeCharacters()
    {
        QFETCH(QString, nom);
        QFETCH(QString, prenom);
        QFETCH(QString, tag);
        TArtisan a;
        a.nom = nom;
        a.prenom = prenom;
        QCOMPARE(a.artTag(), tag);
        // A key made with it is a line every save writes and every load reads.
        TSaleList sales;
        addSheet(sales, u"240315"_s, {saleLine(a.artTag() + u"005-001"_s, u"Bol"_s, u"5.00$"_s, u"1"_s, u"5.00$"_s)});
        QCOMPARE(sales.at(0).storeProblem(), QString());
        QCOMPARE(TSaleList::formatSaleLine(2, readCommaList(sales.at(0).lines).at(0)).left(8), u"005,001,"_s);
    }

    void sectionAndWindowTask()
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
        QCOMPARE((QList<int>{int(back.count()), total}), (QList<int>{2, 2})); // artisans read, products counted
        QCOMPARE(back.at(0).artRecord(), a.artRecord());
        QCOMPARE(back.at(0).products.at(0).prodRecord(), a.products.at(0).prodRecord());
        QCOMPARE(back.at(1).products.count(), 0);
        // Cut inside the second artisan's record: the first is kept whole.
        QVERIFY_THROWS_EXCEPTION(ReadError, readSection(bytes.chopped(12), [&](TReader& r) {
            back.readArtisans(r, 2, total);
        }));
        QCOMPARE((QList<int>{int(back.count()), int(back.at(0).products.count())}), (QList<int>{1, 2}));

        // The model half of the artisans window: add, fill, add another, go
        // back, edit products, import one, renumber.
        AppState st;
        TArtisan& first = addArtisan(st, u"001"_s);
        first.nom = u"Potier"_s;
        first.products.addProduct(u"001"_s, u"001"_s, u"090518"_s);
        first.varData = u"src.xml,2"_s;
        addArtisan(st, TArtList::artNoFor(st.artList.count() + 1));
        // No products shown, none current; two numbers, one product in all.
        QCOMPARE((QList<int>{int(st.prodList.count()), st.curProdInd, st.totProdCount}), (QList<int>{0, -1, 1}));
        QCOMPARE(st.numItems, (QStringList{u"001"_s, u"002"_s}));

        TArtisan* sel = selectArtisan(st, -1);
        QCOMPARE(sel, &st.artList.at(0));
        QCOMPARE(st.curArtNo, u"001"_s);
        QVERIFY(st.importFName.isEmpty()); // the import file stays the one chosen
        QCOMPARE(st.prodNoList, QStringList{u"001"_s});
        QCOMPARE(st.curProdInd, 0);
        // prodList edits reach the artisan; additions after the copy back.
        st.prodList.at(0).descript = u"Bol"_s;
        QCOMPARE(sel->products.at(0).descript, u"Bol"_s);
        st.prodList.addProduct(u"002"_s, u"001"_s, u"090519"_s);
        QCOMPARE(sel->products.count(), 1);
        st.prodNoList = st.prodList.prodNumbers();
        saveProdList(st);
        QCOMPARE(sel->products.count(), 2);
        st.prodList.clear();
        loadProdList(st);
        QCOMPARE(st.prodList.count(), 2);

        TArtList source;
        verrier(source, u"007"_s);
        verrier(source, u"011"_s).setArtRecord(u"011|:|Tisserand|:|Art|:|1 rue|:|Québec|:|G1A|:|555|:|t@x|:|o,1|:|Laine|:|"_s);
        source.at(1).products.addProduct(u"001"_s, u"011"_s, u"090518"_s);
        addArtisan(st, u"003"_s);
        st.importFName = u"/data/mes artisans.xml"_s;
        QVERIFY_THROWS_EXCEPTION(AppError, importArtisan(st, source, 2)); // changes nothing
        AppState none; // no artisan to import into
        QCOMPARE(errorOf([&] { importArtisan(none, source, 0); }), u"List index out of bounds (-1)"_s);
        QCOMPARE(st.artList.at(2).nom, QString());
        importArtisan(st, source, 1);
        // Every field but the number comes over; the note names the file and the position; no products.
        QCOMPARE(st.artList.at(2).artRecord(),
                 u"003|:|Tisserand|:|Art|:|1 rue|:|Québec|:|G1A|:|555|:|t@x|:|\"mes artisans.xml\",1|:|Laine|:|"_s);
        QCOMPARE(st.artList.at(2).products.count(), 0);
        QCOMPARE(st.importFName, u"/data/mes artisans.xml"_s); // as chosen
        st.importFName = u"C:\\tilvar\\data\\liste.xml"_s;
        addArtisan(st, u"004"_s);
        importArtisan(st, source, 0);
        QCOMPARE(st.artList.at(3).varData, u"liste.xml,0"_s);

        st.curItem = u"009"_s;
        renumberAll(st);
        QCOMPARE(st.curItem, u"001"_s);
        // When the artisan list goes away the working list still holds valid products.
        selectArtisan(st, 0);
        st.artList.clear();
        QCOMPARE(st.prodList.at(0).descript, u"Bol"_s);
        QCOMPARE(st.artList.current(), nullptr);
    }
};

QTEST_GUILESS_MAIN(TstArt)
#include "tst_art.moc"
