// The artisan-list XML document: the exact bytes of an export, escaping of
// every text, reading back our own files and the older program's files.

#include "core/appError.h"
#include "core/tilvarDB.h"
#include "export/artListXML.h"
#include "model/uArt.h"
#include "support/testFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstArtList : public QObject {
    Q_OBJECT

private slots:
    void exampleBytes();
    void noProducts();
    void fileNames();
    void escapedRoundTrip();
    void olderFile();
    void importByPosition();
    void importFailures();
    void writeFile();
};

namespace {

// Artisan 001 Verrier Art of Québec with one product.
void example(TArtList& list)
{
    TArtisan& a = list.append();
    a.artNo = u"001"_s;
    a.nom = u"Verrier"_s;
    a.prenom = u"Art"_s;
    a.ville = u"Québec"_s;
    a.products.append().setProdRecord(
        u"001:|:001:|:Bol:|:12.50$:|:20.00$:|:0905185:|:0905201:|:1:|:5:|::|::|:"_s);
}

QDomElement parsed(const QByteArray& bytes, QDomDocument& doc)
{
    parseXMLDocument(bytes, doc);
    return artListElement(doc);
}

} // namespace

void TstArtList::exampleBytes()
{
    TArtList list;
    example(list);
    const QByteArray expected =
        QString(u"<?xml version=\"1.0\" encoding=\"ISO8859-1\"?>\r\n"
                u"<artList>\r\n"
                u"<artItem artNo=\"001\">\n"
                u"\t<artID>\n"
                u"\t\t<artNo>001</artNo><nom>Verrier</nom><prenom>Art</prenom>"
                u"<adresse>\";Québec;;;\"</adresse><eMail/><varData/><comment/>\n"
                u"\t</artID>\n"
                u"\t<product>\n"
                u"\t\t<item id=\"001\" dsc=\"Bol\"><qntStr>090518=5</qntStr><totQnt>5</totQnt>"
                u"<soldQnt>1</soldQnt><valeur>12.50$</valeur><prix>20.00$</prix></item>\n"
                u"\t</product>\n"
                u"</artItem>\r\n"
                u"</artList>\r\n"_s)
            .toLatin1();
    QCOMPARE(artListXML(list), expected);
    QVERIFY(expected.contains('\xE9')); // é as one Latin-1 byte
}

void TstArtList::noProducts()
{
    TArtList list;
    TArtisan& a = list.append();
    a.artNo = u"002"_s;
    a.adresse = u"  12 rue Haute  "_s;
    a.ville = u" Lévis "_s;
    a.CP = u" G6V "_s;
    const QString item = artItemXML(a);
    QVERIFY(item.endsWith(u"\n\t<product />\n</artItem>"_s));
    // adresse and ville lose their surrounding blanks, the other two keep them.
    QVERIFY(item.contains(u"<adresse>\"12 rue Haute;Lévis; G6V ;;\"</adresse>"_s));

    QDomDocument doc;
    TArtList back;
    readArtListXML(back, parsed(artListXML(list), doc));
    QCOMPARE(back.count(), 1);
    QCOMPARE(back.at(0).products.count(), 0);
    QCOMPARE(back.at(0).adresse, u"12 rue Haute"_s);
    QCOMPARE(back.at(0).ville, u"Lévis"_s);
    QCOMPARE(back.at(0).CP, u" G6V "_s);

    QCOMPARE(artListXML(TArtList()),
             QByteArray("<?xml version=\"1.0\" encoding=\"ISO8859-1\"?>\r\n<artList>\r\n"
                        "</artList>\r\n"));
}

void TstArtList::fileNames()
{
    QCOMPARE(artListFileName(u"a.tlvdb.tlvdb"_s), u"a.xml.tlvdb"_s);
    // Never the database file itself.
    QCOMPARE(artListFileName(u"boutique"_s), u"boutique.xml"_s);
    QCOMPARE(artListFileName(QString()), u"artList.xml"_s);
}

void TstArtList::escapedRoundTrip()
{
    TArtList list;
    TArtisan& a = list.append();
    a.artNo = u"001"_s;
    a.nom = u"Dupont & Fils <atelier>"_s;
    a.prenom = u"Zoë \"Zo\" O’Neil"_s;
    // The address parts travel in one ";"-separated, quoted text.
    a.adresse = u"3 rue « du Four »; app. 3"_s;
    a.ville = u"\"Vieux\" Saint-Jean"_s;
    a.CP = u"a\"b"_s;
    a.tel = u";"_s;
    a.courriel = u"zoe@example.org"_s;
    a.varData = u"\"mes artisans.xml\",4"_s;
    a.comment = u"Prix : 5 € — ligne 1\r\nligne 2\n\ttab ✓ 😀 \u0085"_s;
    TProduit& p = a.products.append();
    p.prodNo = u"001"_s;
    p.descript = u"Bol \"bleu\" & <vert>\tligne\nsuite €"_s;
    p.valeur = u"12.50$"_s;
    p.prix = u"20.00$"_s;
    p.qntList.addQnt(u"090518"_s, u"5"_s);
    p.qntList.addQnt(u"090601"_s, u"-1"_s);
    p.prodRecord();
    // Descriptions that start with a double quote come back whole.
    for (const QString& d : {u"\"Nuit étoilée\" tableau"_s, u"\""_s})
        a.products.append().descript = d;
    TArtisan& blank = list.append();
    blank.artNo = u"002"_s;
    blank.nom = u" "_s;
    blank.comment = u"\n"_s;

    const QByteArray bytes = artListXML(list);
    // Latin-1 only, no byte a Windows-1252 reader would take for another character.
    for (const char c : bytes)
        QVERIFY(uchar(c) < 0x80 || uchar(c) >= 0xA0);

    QDomDocument doc;
    TArtList back;
    readArtListXML(back, parsed(bytes, doc));
    QCOMPARE(back.count(), 2);
    const TArtisan& b = back.at(0);
    QCOMPARE(b.artRecord(), a.artRecord());
    QCOMPARE(b.products.count(), 3);
    QCOMPARE(b.products.at(1).descript, a.products.at(1).descript);
    QCOMPARE(b.products.at(2).descript, u"\""_s);
    const TProduit& q = b.products.at(0);
    QCOMPARE(q.descript, p.descript);
    QCOMPARE(q.prix, p.prix);
    QCOMPARE(q.qntStr, u"090518=5,090601=-1"_s);
    QCOMPARE(back.at(1).nom, u" "_s);
    QCOMPARE(back.at(1).comment, u"\n"_s);

    // Qt's own parser, without our decoding, reads the same texts.
    QDomDocument plain;
    QVERIFY(plain.setContent(bytes));
    QCOMPARE(plain.documentElement().firstChildElement().firstChildElement()
                 .firstChildElement(u"nom"_s).text(),
             a.nom);
}

void TstArtList::olderFile()
{
    // Windows-1252 bytes under encoding="ISO8859-1", texts unescaped (even a
    // bare "&"), an "artID" of six and one of seven children.
    TArtList list;
    QVERIFY(readArtListFile(list, QStringLiteral(TILVAR_TEST_DATA "/art-old-cp1252.xml")));
    QCOMPARE(list.count(), 2);
    const TArtisan& a = list.at(0);
    QCOMPARE(a.artRecord(), u"001|:|Côté|:|Hélène|:|12 rue de l’Église|:|Québec|:|G1A 1A1|:|418-555-0101|:|"
                            u"helene@example.org|:||:|Prix 5 € — céramique|:|"_s);
    QCOMPARE(a.products.count(), 2);
    QCOMPARE(a.products.at(0).artNo, QString());
    QCOMPARE(a.products.at(1).descript, u"Bol « œuvre »"_s);
    QCOMPARE(a.products.at(1).qntStr, u"090519=2,090601=1"_s);
    QCOMPARE(a.products.at(1).prix, u"15.00$"_s);
    const TArtisan& b = list.at(1);
    QCOMPARE(b.nom, u"Dupont & Fils"_s);
    QCOMPARE(b.varData, u"ancien.xml,3"_s);
    QCOMPARE(b.products.count(), 0);

    // Written again by this program, it reads back the same.
    QDomDocument doc;
    TArtList again;
    readArtListXML(again, parsed(artListXML(list), doc));
    for (int i = 0; i < 2; ++i)
        QCOMPARE(again.at(i).artRecord(), list.at(i).artRecord());
    QCOMPARE(again.at(0).products.at(1).descript, u"Bol « œuvre »"_s);
}

void TstArtList::importByPosition()
{
    // Names play no part; an item without a product child has no products;
    // reading replaces what the list held.
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<root><artList>"
        "<a><b><x>005</x><x>Nom</x><x>Pr\xC3\xA9nom</x><x>rue;ville;cp;tel;</x><x>m@x</x>"
        "<x>note</x></b></a>"
        "<a><b><x>006</x></b><p><i id=\"3\" dsc=\"d\"><q/><q/><q/><q>1.00$</q><q>2.00$</q></i>"
        "</p></a>"
        "<a/>"
        "</artList></root>";
    TArtList list;
    list.append().nom = u"old"_s;
    QDomDocument doc;
    readArtListXML(list, parsed(xml, doc));
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.at(0).artRecord(), u"005|:|Nom|:|Prénom|:|rue|:|ville|:|cp|:|tel|:|m@x|:||:|note|:|"_s);
    QCOMPARE(list.at(0).products.count(), 0);
    QCOMPARE(list.at(1).products.count(), 1);
    QCOMPARE(list.at(1).products.at(0).valeur, u"1.00$"_s);
    QCOMPARE(list.at(2).artNo, QString());
}

void TstArtList::importFailures()
{
    QDomDocument doc;
    QVERIFY_THROWS_EXCEPTION(AppError, parseXMLDocument("<artList><artItem></artList>", doc));

    QTemporaryDir dir;
    const QString other = dir.filePath(u"other.xml"_s);
    QVERIFY(writeFileBytes(other, "<?xml version=\"1.0\"?><liste><x/></liste>"));
    TArtList list;
    list.append();
    QVERIFY(!readArtListFile(list, other));
    QCOMPARE(list.count(), 1);
    QVERIFY_THROWS_EXCEPTION(AppError, readArtListFile(list, dir.filePath(u"none.xml"_s)));
    QCOMPARE(list.count(), 1);

    // Texts a record could not hold are refused before the list changes,
    // naming the artisan and the field.
    const QString item = u"<artItem><artID><artNo>%1</artNo><nom>%2</nom><prenom/><adresse/><eMail/>"
                         "<comment/></artID><product>%3</product></artItem>"_s;
    const struct {
        QString xml;
        QString named;
    } refused[] = {
        {item.arg(u"002"_s, u"a|:|b"_s, QString()), u"Artisan 002, champ « nom »"_s},
        {item.arg(u"003"_s, u"Potier|:"_s, QString()), u"Artisan 003, champ « nom »"_s},
        {item.arg(u"004"_s, u"P"_s, u"<item id=\"001\" dsc=\"Bol:|:bleu\"/>"_s),
         u"produit 001, champ « descript »"_s},
    };
    for (const auto& r : refused) {
        QVERIFY(writeFileBytes(other, (u"<artList>"_s + item.arg(u"001"_s, u"Ok"_s, QString()) + r.xml
                                       + u"</artList>"_s).toUtf8()));
        try {
            readArtListFile(list, other);
            QFAIL("imported");
        } catch (const AppError& e) {
            QVERIFY2(e.message().contains(r.named), qPrintable(e.message()));
        }
        QCOMPARE(list.count(), 1);
    }
}

void TstArtList::writeFile()
{
    QTemporaryDir dir;
    TArtList list;
    example(list);
    const QString path = TtilvarDB::writeArtListFile(list, dir.path(), u"artList.xml"_s);
    QCOMPARE(path, dir.filePath(u"artList.xml"_s));
    QCOMPARE(readFileBytes(path), artListXML(list));

    // A refused write says so and leaves the old file.
    QFile blocker(dir.filePath(u"plain"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY_THROWS_EXCEPTION(AppError,
                             writeArtListXML(list, dir.filePath(u"plain/artList.xml"_s)));
    TArtList none;
    QVERIFY_THROWS_EXCEPTION(AppError, TtilvarDB::writeArtListFile(none, blocker.fileName(),
                                                                   u"x.xml"_s));
    QVERIFY(QFile::exists(path));
}

QTEST_GUILESS_MAIN(TstArtList)
#include "tst_artList.moc"
