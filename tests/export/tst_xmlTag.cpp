// XML element texts, leaf-text escaping and node values of parsed documents.

#include "core/appError.h"
#include "core/cp1252.h"
#include "export/artListXML.h"
#include "export/uXMLTag.h"

#include <QDomDocument>
#include <QTest>

using namespace Qt::StringLiterals;

class TstXmlTag : public QObject {
    Q_OBJECT

private slots:
    void xmlTagForms();
    void escapedTextParsesBack();
    void textsKeptWhole_data();
    void textsKeptWhole();
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

    // Control characters XML cannot hold in any form are refused, never replaced.
    QVERIFY_THROWS_EXCEPTION(AppError, xmlEscape(u"a\x01" "b"_s));
}

void TstXmlTag::textsKeptWhole_data()
{
    QTest::addColumn<QString>("text");
    for (const char16_t* t : {u"\r\n", u" ", u"\t\n", u"\u0085", u"\u2028", u"\u3000", u"\u0080x\u009f",
                              u"a\tb\nc\rd", u"\u00a0", u"\U0001F600 ok"})
        QTest::newRow(QString::fromUtf16(t).toUtf8().toHex().constData()) << QString::fromUtf16(t);
}

void TstXmlTag::textsKeptWhole()
{
    // Element text and attribute value, as Latin-1 and as Windows-1252 bytes,
    // read back by our reader exactly as they were.
    QFETCH(QString, text);
    const QString doc = u"<?xml version=\"1.0\" encoding=\"ISO8859-1\"?><r a=\""_s
                        + xmlAttrEscape(text) + u"\">"_s + TXMLUtil::xmlTag(u"d"_s, xmlEscape(text))
                        + u"</r>"_s;
    bool ok = false;
    const QByteArray bytes = cp1252::encode(doc, &ok);
    QVERIFY(ok);
    QCOMPARE(bytes, doc.toLatin1());
    QDomDocument dom;
    parseXMLDocument(bytes, dom);
    QCOMPARE(dom.documentElement().firstChildElement(u"d"_s).text(), text);
    QCOMPARE(dom.documentElement().attribute(u"a"_s), text);
    QVERIFY_THROWS_EXCEPTION(AppError, xmlEscape(text + u"\f"_s));
    QVERIFY_THROWS_EXCEPTION(AppError, xmlAttrEscape(u"\v"_s + text));
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
