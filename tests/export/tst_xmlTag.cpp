// XML element texts, leaf-text escaping and node values of parsed documents.

#include "core/cp1252.h"
#include "export/uXMLTag.h"

#include <QDomDocument>
#include <QTest>

using namespace Qt::StringLiterals;

class TstXmlTag : public QObject {
    Q_OBJECT

private slots:
    void xmlTagForms();
    void escapedTextParsesBack();
    void nodeText();
};

void TstXmlTag::xmlTagForms()
{
    QCOMPARE(TXMLUtil::xmlTag(u"qnt"_s, u"2"_s), u"<qnt>2</qnt>"_s);
    QCOMPARE(TXMLUtil::xmlTag(u"descript"_s, QString()), u"<descript/>"_s);
    QCOMPARE(TXMLUtil::xmlTag(u"a"_s, u"x & y"_s), u"<a>x & y</a>"_s);
    QCOMPARE(TXMLUtil::xmlTag(u"item"_s, TXMLUtil::xmlTag(u"qnt"_s, u"2"_s)),
             u"<item><qnt>2</qnt></item>"_s);
}

void TstXmlTag::escapedTextParsesBack()
{
    QCOMPARE(xmlEscape(u"a&b<c>d\"e"_s), u"a&amp;b&lt;c&gt;d&quot;e"_s);
    QCOMPARE(xmlEscape(u"é€"_s), u"é&#8364;"_s);
    QCOMPARE(xmlEscape(u"\U0001F600"_s), u"&#128512;"_s);

    const QString nasty = u"Tom & \"Jerry\" <b> é € œ \U0001F600 ' tab\tend"_s;
    const QString doc = u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"_s
        + TXMLUtil::xmlTag(u"r"_s, TXMLUtil::xmlTag(u"d"_s, xmlEscape(nasty)));
    QDomDocument dom;
    // Written as Latin-1 bytes, as our documents are.
    QVERIFY(dom.setContent(doc.toLatin1()));
    QCOMPARE(dom.documentElement().firstChildElement(u"d"_s).text(), nasty);

    // Control characters XML cannot hold become blanks rather than an unreadable file.
    const QString ctl = xmlEscape(u"a\x01" "b"_s);
    QVERIFY(dom.setContent(u"<d>"_s + ctl + u"</d>"_s));
    QCOMPARE(dom.documentElement().text(), u"a b"_s);
}

void TstXmlTag::nodeText()
{
    QDomDocument dom;
    QVERIFY(dom.setContent(u"<a><name>Vase</name><empty/><mixed><b>x</b></mixed>"
                           "<c><![CDATA[1<2]]></c></a>"_s));
    const QDomElement root = dom.documentElement();
    QCOMPARE(TXMLUtil::nodeText(root.firstChildElement(u"name"_s)), u"Vase"_s);
    QCOMPARE(TXMLUtil::nodeText(root.firstChildElement(u"empty"_s)), QString());
    QCOMPARE(TXMLUtil::nodeText(root.firstChildElement(u"mixed"_s)), QString());
    QCOMPARE(TXMLUtil::nodeText(root.firstChildElement(u"c"_s)), u"1<2"_s);
    QCOMPARE(TXMLUtil::nodeText(root.firstChildElement(u"missing"_s)), QString());
}

QTEST_GUILESS_MAIN(TstXmlTag)
#include "tst_xmlTag.moc"
