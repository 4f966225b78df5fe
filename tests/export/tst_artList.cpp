// The artisan-list XML document: the exact bytes of an export, escaping of
// every text, reading back our own files and the older program's files; the
// element and escaping helpers under every XML document; the sheet of labels.

#include "core/cp1252.h"
#include "export/tilvarDB.h"
#include "export/artListXML.h"
#include "export/tagLayout.h"
#include "core/uXMLTag.h"
#include "model/uArt.h"
#include "model/uProd.h"
#include "core/textUtil.h"
#include "support/modelErrors.h"
#include "support/testFiles.h"

#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

static TArtList& readXml(TArtList& list, const QByteArray& bytes)
{
    readArtListBytes(list, bytes);
    return list;
}

namespace {

// What the sheet of labels says when refused.
const QString Counts = u"Le nombre de colonnes et de rangées doit être entre 1 et 20, et 1 et 50."_s;
const QString Page = u"La page doit mesurer plus de 0 et au plus 1000 mm de côté."_s;
const QString Label = u"Une étiquette doit mesurer au moins 30 × 15 mm pour porter son code-barres."_s;
const QString Negative = u"Les marges et les espaces ne peuvent être négatifs."_s;
const QString Overflow = u"Les étiquettes dépassent de la page."_s;

// A roll of the largest page with the smallest labels, no margins: room for
// every count the rules allow.
TagLayout roomy()
{
    return {1000, 1000, 30, 15, 2, 2, 0, 0, 0, 0};
}

} // namespace

class TstArtList : public QObject {
    Q_OBJECT

private slots:
    void exampleFileAndNames()
    {
        // Artisan 001 Verrier Art of Québec with one product.
        TArtList list;
        TArtisan& a = list.append();
        a.setArtRecord(u"001|:|Verrier|:|Art|:||:|Québec|:||:||:||:||:||:|"_s);
        a.products.append().setProdRecord(u"001:|:001:|:Bol:|:12.50$:|:20.00$:|:0905185:|:0905201:|:1:|:5:|::|::|:"_s);
        QTemporaryDir dir;
        const QString path = TtilvarDB::writeArtListFile(list, dir.path(), u"artList.xml"_s);
        QCOMPARE(path, dir.filePath(u"artList.xml"_s));
        QCOMPARE(readFileBytes(path), readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/golden/artList-example.xml")));

        // A refused write says so and leaves the old file.
        QVERIFY(writeFileBytes(dir.filePath(u"plain"_s), {}));
        QVERIFY_THROWS_EXCEPTION(AppError, writeArtListXML(list, dir.filePath(u"plain/artList.xml"_s)));
        QVERIFY_THROWS_EXCEPTION(AppError, TtilvarDB::writeArtListFile(list, dir.filePath(u"plain"_s), u"x.xml"_s));
        QVERIFY(QFile::exists(path));

        QCOMPARE(artListFileName(u"a.tlvdb.tlvdb"_s), u"a.xml.tlvdb"_s);
        QCOMPARE(artListFileName(u"boutique"_s), u"boutique.xml"_s); // never the database file itself
        QCOMPARE(artListFileName(QString()), u"artList.xml"_s);
        QCOMPARE(artListFileName(u".tlvdb"_s), u".xml"_s); // the extension at the very start
    }

    void escapedRoundTrip()
    {
        TArtList list;
        TArtisan& a = list.append();
        // The address parts travel in one ";"-separated, quoted text; adresse
        // and ville lose their surrounding blanks, the others keep them.
        a.setArtRecord(u"001|:|Dupont & Fils <atelier>|:|Zoë \"Zo\" O’Neil|:|3 rue « du Four »; app. 3|:|"
                       u"\"Vieux\" Saint-Jean|:| a\"b |:|;|:|zoe@example.org|:|\"mes artisans.xml\",4|:|"
                       u"Prix : 5 € — ligne 1\r\nligne 2\n\ttab ✓ 😀 \u0085|:|"_s);
        TProduit& p = a.products.append();
        p.setProdRecord(u"001:|::|:Bol \"bleu\" & <vert>\tligne\nsuite €:|:12.50$:|:20.00$:|:0905185,090601-1:|::|:0:|:4:|::|::|:"_s);
        // Descriptions that start with a double quote come back whole.
        for (const QString& d : {u"\"Nuit étoilée\" tableau"_s, u"\""_s})
            a.products.append().descript = d;
        TArtisan& b = list.append();
        b.setArtRecord(u"002|:| |:||:|  12 rue Haute  |:| Lévis |:||:||:||:||:|\n|:|"_s);
        QVERIFY(artItemXML(b).endsWith(u"\n\t<product />\n</artItem>"_s));

        const QByteArray bytes = artListXML(list);
        // Latin-1 only, no byte a Windows-1252 reader would take for another character.
        for (const char c : bytes)
            QVERIFY(uchar(c) < 0x80 || uchar(c) >= 0xA0);
        TArtList back;
        readXml(back, bytes);
        QCOMPARE(back.count(), 2);
        QCOMPARE(back.at(0).artRecord(), a.artRecord());
        QCOMPARE(back.at(1).artRecord(), u"002|:| |:||:|12 rue Haute|:|Lévis|:||:||:||:||:|\n|:|"_s);
        const TProduit& q = back.at(0).products.at(0);
        QCOMPARE((QStringList{q.descript, q.prix, q.qntStr}), (QStringList{p.descript, p.prix, u"090518=5,090601=-1"_s}));
        QCOMPARE((QList<int>{back.at(0).products.count(), back.at(1).products.count()}), (QList<int>{3, 0}));
        for (int i : {1, 2})
            QCOMPARE(back.at(0).products.at(i).descript, a.products.at(i).descript);
    }

    void olderFileAndPositions()
    {
        // Windows-1252 bytes under encoding="ISO8859-1", texts unescaped (even a
        // bare "&"), an "artID" of six and one of seven children.
        TArtList list;
        QVERIFY(readArtListFile(list, QStringLiteral(TILVAR_TEST_DATA "/art-old-cp1252.xml")));
        QCOMPARE(list.count(), 2);
        const TArtisan& a = list.at(0);
        QCOMPARE(a.artRecord(), u"001|:|Côté|:|Hélène|:|12 rue de l’Église|:|Québec|:|G1A 1A1|:|418-555-0101|:|"
                                u"helene@example.org|:||:|Prix 5 € — céramique|:|"_s);
        const TProduit& p = a.products.at(1);
        QCOMPARE((QStringList{a.products.at(0).artNo, p.descript, p.qntStr, p.prix}),
                 (QStringList{{}, u"Bol « œuvre »"_s, u"090519=2,090601=1"_s, u"15.00$"_s}));
        QCOMPARE(list.at(1).nom + list.at(1).varData, u"Dupont & Filsancien.xml,3"_s);
        QCOMPARE((QList<int>{a.products.count(), list.at(1).products.count()}), (QList<int>{2, 0}));
        // Written again by this program, it reads back the same.
        TArtList again;
        QCOMPARE(artListXML(readXml(again, artListXML(list))), artListXML(list));
        // A bare "&" beside references to the characters that could stand for it.
        QCOMPARE(readXml(again, "<?xml version=\"1.0\" encoding=\"ISO8859-1\"?><artList><a><i><n>&#xE000; & &#57345;"
                                "&#xFF;&#xff;&#xAB;</n></i></a></artList>").at(0).artNo, u"\uE000 & \uE001\u00FF\u00FF\u00AB"_s);
        QCOMPARE(readXml(again, "<?xml version=\"1.0\" encoding=\"ISO8859-1\"?><artList><a><i><n>R&D &amp; &lt;x&gt;"
                                "</n></i></a></artList>").at(0).artNo,
                 u"R&D & <x>"_s);
        // A name with a digit, or with the alphabet's last letter in either
        // case, is a reference too (to nothing declared): refused, not text.
        for (const QByteArray ref : {"&x1;", "&z;", "&Z;"})
            QVERIFY(!errorOf([&] { readXml(again, "<?xml version=\"1.0\" encoding=\"ISO8859-1\"?><artList><a><i><n>R&D "
                                                      + ref + "</n></i></a></artList>"); }).isEmpty());
        // A bare "&" is one column where the reader says what is wrong, and a
        // list cut short after a name is refused.
        for (const QByteArray end : {"</n></x>", "</n>&amp"})
            QCOMPARE(errorOf([&] { readXml(again, "<?xml version=\"1.0\" encoding=\"ISO8859-1\"?>\n<artList><a><i><n>R&D" + end); })
                         .section(u')', 0, 0),
                     u"Document XML illisible (ligne 2, colonne 29"_s);

        // Names play no part, nor elements within a text; an item without a
        // product child has no products; reading replaces what the list held.
        readXml(list, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root><artList>"
                      "<a><b><x>00<y/>5</x><x>Nom</x><x>Pr\xC3\xA9nom</x><x>rue;ville;cp;tel;</x><x>m@x</x>"
                      "<x>note</x></b></a>"
                      "<a><b><x>006</x></b><p><i id=\"3\" dsc=\"d\"><q/><q/><q/><q>1.00$</q><q>2.00$</q></i></p></a>"
                      "<a/></artList></root>");
        QCOMPARE(list.count(), 3);
        QCOMPARE(list.at(0).artRecord(), u"005|:|Nom|:|Prénom|:|rue|:|ville|:|cp|:|tel|:|m@x|:||:|note|:|"_s);
        QCOMPARE(list.at(0).products.count(), 0);
        QCOMPARE(list.at(1).products.at(0).valeur, u"1.00$"_s);
        QCOMPARE(list.at(2).artNo, QString());
        // An address field quoted and left open runs to the end of the address.
        QCOMPARE(readXml(again, "<artList><a><b><x>008</x><x>N</x><x>P</x><x>\"\"\"12 rue\"</x></b></a></artList>")
                     .at(0).artRecord(),
                 u"008|:|N|:|P|:|12 rue|:||:||:||:||:||:||:|"_s);
        // The list is the document element or its child, never deeper.
        QVERIFY(!readArtListBytes(list, "<root><x><artList><a><b><x>007</x></b></a></artList></x></root>"));

        // (Broken, foreign and missing files: tst_artisans.) Texts a record
        // could not hold are refused before the list changes, naming the
        // artisan and the field.
        QTemporaryDir dir;
        const QString other = dir.filePath(u"other.xml"_s);
        const QString item = u"<artItem><artID><artNo>%1</artNo><nom>%2</nom><prenom/><adresse/><eMail/>"
                             "<comment/></artID><product>%3</product></artItem>"_s;
        const QStringList refused[] = {
            {u"002"_s, u"a|:|b"_s, QString(), u"Artisan 002, champ « nom »"_s},
            {u"003"_s, u"Potier|:"_s, QString(), u"Artisan 003, champ « nom »"_s},
            {u"004"_s, u"P"_s, u"<item id=\"001\" dsc=\"Bol:|:bleu\"/>"_s, u"produit 001, champ « descript »"_s},
            // Longer than the windows take: said with both lengths.
            {u"005"_s, QString(81, u'n'), QString(), u"Artisan 005, champ « nom » : 81 caractères, au plus 80"_s},
            {u"006"_s, u"P"_s, u"<item id=\"002\" dsc=\"%1\"/>"_s.arg(QString(501, u'd')),
             u"produit 002, champ « descript » : 501 caractères, au plus 500"_s},
        };
        for (const QStringList& r : refused) {
            QVERIFY(writeFileBytes(other, (u"<artList>"_s + item.arg(u"001"_s, u"Ok"_s, QString())
                                           + item.arg(r[0], r[1], r[2]) + u"</artList>"_s).toUtf8()));
            QVERIFY2(errorOf([&] { readArtListFile(list, other); }).contains(r[3]), qPrintable(r[3]));
            QCOMPARE(list.count(), 3);
        }
    }

    // Hostile lists: nesting or attributes past the limit and declarations
    // are refused in French (the DOM once took minutes over a nest, Qt's
    // reader hours over one element's attributes, entities expand a small
    // file to gigabytes); lists at the limits are read, and a pipe is
    // refused rather than waited on.
    void hostileLists()
    {
        auto nested = [](int depth) {
            return "<artList><artItem><artID>" + QByteArray("<x>").repeated(depth - 3)
                 + QByteArray("</x>").repeated(depth - 3) + "</artID></artItem></artList>";
        };
        auto attributes = [](int n) {
            QByteArray tag = "<artList><artItem";
            for (int i = 0; i < n; ++i)
                tag += " a" + QByteArray::number(i) + "=''";
            return tag + "/></artList>";
        };
        const std::pair<QByteArray, QString> lists[] = {
            {nested(MAX_XML_DEPTH), {}},
            {attributes(MAX_XML_ATTRIBUTES), {}},
            {nested(MAX_XML_DEPTH + 1), u"niveaux d'éléments imbriqués"_s},
            {nested(200000), u"niveaux d'éléments imbriqués"_s},
            {attributes(MAX_XML_ATTRIBUTES + 1), u"(ligne 1) : plus de 32 attributs"_s},
            {attributes(200000), u"attributs dans un élément"_s},
            {"<!DOCTYPE artList [<!ENTITY e \"x\">]><artList><a><b><c>&e;</c></b></a></artList>", u"ni entités"_s},
            {"<!DOCTYPE artList [<!ATTLIST a x CDATA 'v'>]><artList><a/></artList>", u"ni attributs"_s},
            {"<!DOCTYPE artList SYSTEM 'l.dtd'><artList><a/></artList>", {}},
            {"<artList><a/></artList[>", u"Document XML illisible"_s}, // a bracket outside a DOCTYPE declares nothing
        };
        TArtList list;
        for (const auto& [bytes, refused] : lists) {
            bool read = false;
            const QString error = errorOf([&] { read = readArtListBytes(list, bytes); });
            // A list at the limits reads; past them, it is refused saying why.
            QVERIFY2(refused.isEmpty() ? error.isEmpty() && read : error.contains(refused), qPrintable(error));
        }

        QTemporaryDir dir;
        const QString fifo = dir.filePath(u"liste.xml"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(errorOf([&] { readArtListFile(list, fifo); }).contains(u"FIFO"_s));
    }

    void textsKeptWhole_data()
    {
        QTest::addColumn<QString>("text");
        for (const char16_t* t : {u"\r\n", u" ", u"\t\n", u"\u0085", u"\u2028", u"\u3000", u"\u0080x\u009f",
                                  u"a\tb\nc\rd", u"\u00a0", u"\U0001F600 ok",
                                  u"Tom & \"Jerry\" <b> é € œ ' tab\tend"})
            QTest::newRow(QString::fromUtf16(t).toUtf8().toHex().constData()) << QString::fromUtf16(t);
    }

    void textsKeptWhole()
    {
        // Element text and attribute value, written as Latin-1 (also valid
        // Windows-1252) bytes, read back exactly; what XML cannot hold is refused.
        QFETCH(QString, text);
        const QString doc = u"<?xml version=\"1.0\" encoding=\"ISO8859-1\"?><artList><a><i>"_s
            + TXMLUtil::xmlTag(u"n"_s, xmlEscape(text)) + u"</i><p><q id=\""_s + xmlAttrEscape(text)
            + u"\"/></p></a></artList>"_s;
        bool ok = false;
        const QByteArray bytes = cp1252::encode(doc, &ok);
        QVERIFY(ok && bytes == doc.toLatin1());
        TArtList list;
        readXml(list, bytes);
        QCOMPARE(list.at(0).artNo, text);
        QCOMPARE(list.at(0).products.at(0).prodNo, text);
        QVERIFY_THROWS_EXCEPTION(AppError, xmlStrictEscape(text + u"\x01"_s));
        QVERIFY_THROWS_EXCEPTION(AppError, xmlStrictAttrEscape(u"\v"_s + text));
    }

    // Each character class at its edges, in element text and in an
    // attribute: kept, written as a reference, or replaced by U+FFFD (and
    // refused by the strict forms).
    void xmlCharactersAtTheirEdges()
    {
        const QString r = u"&#65533;"_s;
        const struct {
            QString text;
            QString element;
            QString attribute;
            bool strictRefuses;
        } cases[] = {
            {u"\x1F"_s, r, r, true},             {u" "_s, u" "_s, u" "_s, false},
            {u"\t"_s, u"\t"_s, u"&#9;"_s, false}, {u"\r"_s, u"&#13;"_s, u"&#13;"_s, false},
            {u"\x7F"_s, u"\x7F"_s, u"\x7F"_s, false}, {u"\x80"_s, u"&#128;"_s, u"&#128;"_s, false},
            {u"\x9F"_s, u"&#159;"_s, u"&#159;"_s, false}, {u"\xA0"_s, u"\xA0"_s, u"\xA0"_s, false},
            {u"\xFF"_s, u"\xFF"_s, u"\xFF"_s, false}, {u"\u0100"_s, u"&#256;"_s, u"&#256;"_s, false},
            {u"\uFFFD"_s, r, r, false}, {u"\uFFFE"_s, r, r, true}, {u"\uFFFF"_s, r, r, true},
            // A pair is one character; a half alone, or the halves swapped, is none.
            {u"\U0001F600"_s, u"&#128512;"_s, u"&#128512;"_s, false},
            {u"a"_s + QChar(0xD83D), u"a"_s + r, u"a"_s + r, true},
            {QString(QChar(0xD83D)) + u"a"_s, r + u"a"_s, r + u"a"_s, true},
            {QString(QChar(0xDE00)) + QChar(0xD83D), r + r, r + r, true},
        };
        for (const auto& c : cases) {
            const QByteArray shown = c.text.toUtf8().toHex(' ');
            QVERIFY2(xmlEscape(c.text) == c.element, shown.constData());
            QVERIFY2(xmlAttrEscape(c.text) == c.attribute, shown.constData());
            QString strict;
            const bool refused = !errorOf([&] { strict = xmlStrictEscape(c.text); }).isEmpty();
            QVERIFY2(refused == c.strictRefuses && (refused || strict == c.element), shown.constData());
        }
    }

    // One rule for characters no report can hold: refused where typed and
    // where imported with the same message, shown as U+FFFD in reports.
    void characterRuleAndElements()
    {
        const QString typed = recordFieldProblem(u"Bol\uFFFE"_s, REC_SEP);
        QVERIFY2(typed.contains(u"U+FFFE"_s) && typed.contains(u"rapport"_s), qPrintable(typed));
        QCOMPARE(recordFieldProblem(u"a\x01"_s, PROD_SEP), reportCharProblem(u"\x01"_s));
        // Half a character is refused where typed, at either end; a whole one is not.
        for (const auto& [text, named] : {std::pair{u"a"_s + QChar(0xD83D), u"U+D83D"_s}, {QChar(0xD83D) + u"a"_s, u"U+D83D"_s},
                                          {u"\U0001F600"_s, QString()}})
            QCOMPARE(recordFieldProblem(text, REC_SEP).section(u"caractère "_s, 1).left(6), named);

        // An imported list holding one is refused naming the record and the
        // field, or by line when no record holds it.
        TArtList list;
        TArtisan& a = list.append();
        a.setArtRecord(u"001|:|Nom|:|P|:||:||:||:||:||:||:||:|"_s);
        a.products.append().setProdRecord(u"001:|:001:|:Bol:|:12.50$:|:20.00$:|::|::|:0:|:0:|::|::|:"_s);
        const QByteArray xml = artListXML(list);
        const std::tuple<QByteArray, QByteArray, QString, QString> lists[] = {
            {"Nom", "N\xC2\x85\x1B", u"Artisan 001, champ « nom »"_s, u"\x1B"_s},
            {"001</artNo><nom>Nom", "</artNo><nom>\x1B", u"Artisan (position 1 de la liste), champ « nom »"_s, u"\x1B"_s},
            {"Bol", "B\x01", u"Artisan 001, produit 001, champ « descript »"_s, u"\x01"_s},
            {"20.00$", "2\x02", u"Artisan 001, produit 001, champ « prix »"_s, u"\x02"_s},
            {"<artList>", "<!--\x1F--><artList>", u"Document XML refusé (ligne 2)"_s, u"\x1F"_s},
            {"ISO8859-1", "UTF-8", u"Artisan 001, champ « nom »"_s, u"\uFFFE"_s},
        };
        for (const auto& [from, to, where, c] : lists) {
            QByteArray bytes = QByteArray(xml).replace(from, to);
            if (to == "UTF-8")
                bytes.replace("Nom", "N\xEF\xBF\xBE");
            const QString why = errorOf([&] { readArtListBytes(list, bytes); });
            QVERIFY2(why.startsWith(where) && why.endsWith(reportCharProblem(c)), qPrintable(why));
        }
        // A character outside the basic plane before it is no fault of its own.
        const QByteArray pair = QByteArray(xml).replace("ISO8859-1", "UTF-8").replace("Bol", "\xF0\x9F\x8F\xBA B\x01");
        const QString why = errorOf([&] { readArtListBytes(list, pair); });
        QVERIFY2(why.startsWith(u"Artisan 001, produit 001"_s) && why.endsWith(reportCharProblem(u"\x01"_s)), qPrintable(why));
        QCOMPARE(list.at(0).nom, u"Nom"_s);

        // The element helpers.
        QCOMPARE(TXMLUtil::xmlTag(u"descript"_s, QString()), u"<descript/>"_s);
        QDomDocument dom;
        QVERIFY(dom.setContent(u"<a><name>Vase</name><empty/><mixed><b>x</b></mixed><c><![CDATA[1<2]]></c></a>"_s));
        QStringList got;
        for (const QString& tag : {u"name"_s, u"empty"_s, u"mixed"_s, u"c"_s, u"missing"_s})
            got << TXMLUtil::nodeText(dom.documentElement().firstChildElement(tag));
        QCOMPARE(got, (QStringList{u"Vase"_s, {}, {}, u"1<2"_s, {}}));
    }

    // The sheet of labels: which measures are accepted, each rule at its edge.
    void eachRuleAtItsEdge()
    {
        const struct {
            const char* edge;
            std::function<void(TagLayout&)> change;
            QString problem;
        } cases[] = {
            {"one column", [](TagLayout& l) { l.columns = 1; }, {}}, {"no column", [](TagLayout& l) { l.columns = 0; }, Counts},
            {"20 columns", [](TagLayout& l) { l.columns = 20; }, {}}, {"21 columns", [](TagLayout& l) { l.columns = 21; }, Counts},
            {"one row", [](TagLayout& l) { l.rows = 1; }, {}}, {"no row", [](TagLayout& l) { l.rows = 0; }, Counts},
            {"50 rows", [](TagLayout& l) { l.rows = 50; }, {}}, {"51 rows", [](TagLayout& l) { l.rows = 51; }, Counts},
            {"widest page", [](TagLayout& l) { l.pageWidth = MaxPageSide; }, {}},
            {"wider", [](TagLayout& l) { l.pageWidth = MaxPageSide + 0.5; }, Page},
            {"taller", [](TagLayout& l) { l.pageHeight = MaxPageSide + 0.5; }, Page},
            {"no width", [](TagLayout& l) { l.pageWidth = 0; }, Page}, {"no height", [](TagLayout& l) { l.pageHeight = 0; }, Page},
            {"narrowest label", [](TagLayout& l) { l.labelWidth = 30; }, {}},
            {"narrower", [](TagLayout& l) { l.labelWidth = 29.99; }, Label},
            {"lowest label", [](TagLayout& l) { l.labelHeight = 15; }, {}},
            {"lower", [](TagLayout& l) { l.labelHeight = 14.99; }, Label},
            {"left margin below 0", [](TagLayout& l) { l.left = -0.01; }, Negative},
            {"top margin below 0", [](TagLayout& l) { l.top = -0.01; }, Negative},
            {"column space below 0", [](TagLayout& l) { l.hGap = -0.01; }, Negative},
            {"row space below 0", [](TagLayout& l) { l.vGap = -0.01; }, Negative},
            // Two columns of 30 mm and one space of 10 mm: the left margin
            // takes the rest of the width (930 mm), then less than the
            // tolerance more, then more than it; the same down the page.
            {"filling the width", [](TagLayout& l) { l.hGap = 10; l.left = 930; }, {}},
            {"within the tolerance", [](TagLayout& l) { l.hGap = 10; l.left = 930.009; }, {}},
            {"past the width", [](TagLayout& l) { l.hGap = 10; l.left = 930.02; }, Overflow},
            {"filling the height", [](TagLayout& l) { l.vGap = 10; l.top = 960; }, {}},
            {"past the height", [](TagLayout& l) { l.vGap = 10; l.top = 960.02; }, Overflow},
        };
        for (const auto& c : cases) {
            TagLayout l = roomy();
            c.change(l);
            QVERIFY2(l.problem() == c.problem, c.edge);
        }
    }

    void settingsText()
    {
        // An accepted sheet reads back as the very numbers.
        const TagLayout edge{MaxPageSide, 0.5 + 15, 30, 15, 20, 1, 0.1, 0.2, 3.175, 0};
        QCOMPARE(edge.problem(), QString());
        bool ok = false;
        QCOMPARE(TagLayout::fromText(edge.toText(), &ok), edge);
        QVERIFY(ok);
        QCOMPARE(TagLayout().toText(), u"215.9;279.4;66.675;25.4;3;10;4.7625;12.7;3.175;0"_s);

        // Refused texts give the usual sheet and say why (each measure's rule
        // at its edge: eachRuleAtItsEdge).
        const struct {
            QString text;
            QString why; // part of the message
        } bad[] = {{u"210;297;70;37;3;9;0;0.5;0;0"_s, u"dépassent"_s},   {u"210;297"_s, u"dix nombres"_s},
                   {u"x"_s, u"dix nombres"_s},                          {u"210;297;70;37;3;8;0;0.5;0;0;0"_s, u"dix nombres"_s},
                   {u"nan;297;70;37;3;8;0;0.5;0;0"_s, u"nombre de millimètres"_s},
                   {u"210;297;70;37;3;8;-inf;0.5;0;0"_s, u"nombre de millimètres"_s},
                   {u"210;297;70;37;3;8;0;0.5;0;nan"_s, u"nombre de millimètres"_s},
                   {u"1e300;1e300;70;37;3;8;0;0.5;0;0"_s, u"côté"_s},   {u"210;297;70;37;1e20;8;0;0.5;0;0"_s, u"colonnes"_s},
                   {u"210;297;70;37;2.5;8;0;0.5;0;0"_s, u"colonnes"_s}};
        for (const auto& b : bad) {
            QString why;
            ok = true;
            QCOMPARE(TagLayout::fromText(b.text, &ok, &why), TagLayout());
            QVERIFY2(!ok && why.contains(b.why), qPrintable(b.text + u": "_s + why));
        }
    }
};

QTEST_GUILESS_MAIN(TstArtList)
#include "tst_artList.moc"
