#include "export/artListXML.h"

#include "core/appError.h"
#include "core/cp1252.h"
#include "core/safeWrite.h"
#include "core/sysCause.h"
#include "core/textUtil.h"
#include "export/uXMLTag.h"
#include "model/uArt.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// One field of the address text: quoted when it holds ";" or starts with a
// double quote, so the four fields split back where they were joined.
QString addressField(const QString& field)
{
    if (field.contains(QLatin1Char(';')) || field.startsWith(QLatin1Char('"')))
        return QLatin1Char('"') + quoted(field) + QLatin1Char('"');
    return field;
}

// Takes one address field from rest: a quoted field (doubled quotes made
// single) or, as the older program did, the text up to the next ";".
QString takeAddressField(QString& rest)
{
    if (rest.startsWith(QLatin1Char('"'))) {
        QString field;
        qsizetype i = 1;
        for (; i < rest.size(); ++i) {
            if (rest.at(i) == QLatin1Char('"')) {
                if (i + 1 < rest.size() && rest.at(i + 1) == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    ++i;
                    continue;
                }
                break;
            }
            field += rest.at(i);
        }
        // Past the closing quote and the separator after it.
        rest = rest.mid(i + 1);
        if (rest.startsWith(QLatin1Char(';')))
            rest = rest.mid(1);
        return field;
    }
    return takeField(rest, u";"_s);
}

QList<QDomElement> childElements(const QDomElement& parent)
{
    QList<QDomElement> children;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        children.append(e);
    return children;
}

bool isLegacyEncoding(QString name)
{
    name = name.toLower();
    name.remove(QLatin1Char('-')).remove(QLatin1Char('_')).remove(QLatin1Char(' '));
    return name == u"iso88591"_s || name == u"latin1"_s || name == u"windows1252"_s ||
           name == u"cp1252"_s;
}

} // namespace

QString xmlLeafText(const QString& text)
{
    return xmlStrictEscape(text);
}

QString xmlAttrText(const QString& text)
{
    return xmlStrictAttrEscape(text);
}

QString artItemXML(const TArtisan& a, Contacts contacts)
{
    const auto personal = [contacts](const QString& field) {
        return contacts == Contacts::Kept ? field : QString();
    };
    const QString address = QLatin1Char('"') +
                            xmlLeafText(quoted(addressField(personal(a.adresse).trimmed()) + u";"_s +
                                               addressField(personal(a.ville).trimmed()) + u";"_s +
                                               addressField(personal(a.CP)) + u";"_s +
                                               addressField(personal(a.tel)) + u";"_s)) +
                            QLatin1Char('"');
    const QString contact = TXMLUtil::xmlTag(u"artNo"_s, xmlLeafText(a.artNo)) +
                            TXMLUtil::xmlTag(u"nom"_s, xmlLeafText(a.nom)) +
                            TXMLUtil::xmlTag(u"prenom"_s, xmlLeafText(a.prenom)) +
                            TXMLUtil::xmlTag(u"adresse"_s, address) +
                            TXMLUtil::xmlTag(u"eMail"_s, xmlLeafText(personal(a.courriel))) +
                            TXMLUtil::xmlTag(u"varData"_s, xmlLeafText(a.varData)) +
                            TXMLUtil::xmlTag(u"comment"_s, xmlLeafText(a.comment));
    QString item = u"<artItem artNo=\""_s + xmlAttrText(a.artNo) + u"\">\n"_s;
    item += u"\t<artID>\n\t\t"_s + contact + u"\n\t</artID>\n"_s;
    if (a.products.isEmpty())
        item += u"\t<product />"_s;
    else
        item += u"\t<product>\n"_s + a.products.itemsXML() + u"\t</product>"_s;
    item += u"\n</artItem>"_s;
    return item;
}

QByteArray artListXML(const TArtList& list, Contacts contacts)
{
    QString doc = u"<?xml version=\"1.0\" encoding=\"ISO8859-1\"?>\r\n<artList>\r\n"_s;
    for (int i = 0; i < list.count(); ++i)
        doc += artItemXML(list.at(i), contacts) + u"\r\n"_s;
    doc += u"</artList>\r\n"_s;
    // Every text was escaped, so only Latin-1 characters remain.
    return doc.toLatin1();
}

void writeArtListXML(const TArtList& list, const QString& path, Contacts contacts)
{
    safeWriteFile(path, artListXML(list, contacts));
}

QString artListFileName(const QString& artFileName)
{
    if (artFileName.trimmed().isEmpty())
        return u"artList.xml"_s;
    const qsizetype at = artFileName.indexOf(u".tlvdb"_s);
    if (at < 0)
        return artFileName + u".xml"_s;
    QString name = artFileName;
    return name.replace(at, 6, u".xml"_s);
}

void parseXMLDocument(const QByteArray& bytes, QDomDocument& doc)
{
    static const QRegularExpression declaration(
        uR"(^\s*<\?xml[^>]*?encoding\s*=\s*["']([^"']*)["'])"_s);
    QByteArray data = bytes;
    const auto match = declaration.match(QString::fromLatin1(bytes.left(256)));
    if (match.hasMatch() && isLegacyEncoding(match.captured(1))) {
        // The older program wrote Windows-1252 bytes under this declaration;
        // decoding them ourselves gives € and ’ back, and the text goes on to
        // the parser as UTF-8 under a declaration saying so.
        QString text = cp1252::decode(bytes);
        text.replace(match.capturedStart(1), match.capturedLength(1), u"UTF-8"_s);
        // Its texts were not escaped: a bare "&" stands for itself.
        static const QRegularExpression bareAmp(
            uR"(&(?!(?:[A-Za-z_][A-Za-z0-9_.-]*|#[0-9]+|#x[0-9A-Fa-f]+);))"_s);
        text.replace(bareAmp, u"&amp;"_s);
        data = text.toUtf8();
    }
    // A character no report can hold is refused with the rule's own message,
    // before the reader's terser one.
    {
        const QString text = QString::fromUtf8(data);
        if (const QString why = reportCharProblem(text); !why.isEmpty()) {
            qsizetype bad = 0;
            while (bad < text.size()) {
                const bool pair = text.at(bad).isHighSurrogate() && bad + 1 < text.size()
                                  && text.at(bad + 1).isLowSurrogate();
                if (!pair && !reportCharProblem(text.mid(bad, 1)).isEmpty())
                    break;
                bad += pair ? 2 : 1;
            }
            throw AppError(u"Document XML refusé (ligne %1) : %2"_s.arg(
                QString::number(text.left(bad).count(u'\n') + 1), why));
        }
    }
    // Built from the stream reader rather than by QDomDocument::setContent,
    // which drops element text made of white space only (even written as
    // references): such a text is an artisan's field like any other.
    doc = QDomDocument(QString()); // an empty document, not a null one
    QXmlStreamReader reader(data);
    reader.setNamespaceProcessing(false);
    QDomNode parent = doc;
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            // A list is four levels deep; a deep nest is hostile, and the DOM
            // would take minutes over it.
            if (++depth > MAX_XML_DEPTH)
                throw AppError(u"Document XML refusé (ligne %1) : plus de %2 niveaux d'éléments imbriqués."_s.arg(
                    QString::number(reader.lineNumber()), QString::number(MAX_XML_DEPTH)));
            QDomElement e = doc.createElement(reader.qualifiedName().toString());
            for (const QXmlStreamAttribute& attr : reader.attributes())
                e.setAttribute(attr.qualifiedName().toString(), attr.value().toString());
            parent = parent.appendChild(e);
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            parent = parent.parentNode();
            break;
        case QXmlStreamReader::Characters:
            if (!parent.isDocument())
                parent.appendChild(doc.createTextNode(reader.text().toString()));
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        throw AppError(u"Document XML illisible (ligne %1, colonne %2) : %3"_s.arg(
            QString::number(reader.lineNumber()), QString::number(reader.columnNumber()),
            reader.errorString()));
}

QDomElement artListElement(const QDomDocument& doc)
{
    const QDomElement root = doc.documentElement();
    if (root.tagName() == u"artList"_s)
        return root;
    return root.firstChildElement(u"artList"_s);
}

void readArtListXML(TArtList& list, const QDomElement& artList)
{
    list.clear();
    for (const QDomElement& item : childElements(artList)) {
        TArtisan& a = list.append();
        const QList<QDomElement> parts = childElements(item);
        if (parts.isEmpty())
            continue;
        const QList<QDomElement> id = childElements(parts.at(0));
        auto text = [&id](int i) { return i < id.size() ? id.at(i).text() : QString(); };
        a.artNo = text(0);
        a.nom = text(1);
        a.prenom = text(2);
        QString address = text(3);
        if (address.startsWith(QLatin1Char('"')))
            address = dequote(address);
        a.adresse = takeAddressField(address);
        a.ville = takeAddressField(address);
        a.CP = takeAddressField(address);
        a.tel = takeAddressField(address);
        a.courriel = text(4);
        if (id.size() < 7) {
            a.comment = text(5);
        } else {
            a.varData = text(5);
            a.comment = text(6);
        }
        if (parts.size() > 1)
            for (const QDomElement& prod : childElements(parts.at(1)))
                a.products.append().readItemXML(prod);
    }
}

bool readArtListFile(TArtList& list, const QString& path)
{
    if (const QString why = notRegularFile(path); !why.isEmpty())
        throw AppError(u"« %1 » : %2."_s.arg(QDir::toNativeSeparators(path), why));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(deviceCause(file, errno));
    QDomDocument doc;
    parseXMLDocument(file.readAll(), doc);
    const QDomElement root = artListElement(doc);
    if (root.isNull())
        return false;
    // An artisan or product text that a record could not hold (a record
    // separator, or the start of one at its end) would come back shifted
    // once saved: the whole import is refused before list changes.
    TArtList read;
    readArtListXML(read, root);
    for (int i = 0; i < read.count(); ++i) {
        const TArtisan& a = read.at(i);
        QString why = a.storeProblem();
        if (why.isEmpty())
            why = recordCharProblem(u"Artisan %1"_s.arg(a.artNo), a.recordFields());
        for (int k = 0; why.isEmpty() && k < a.products.count(); ++k) {
            const TProduit& p = a.products.at(k);
            const QString owner = u"Artisan %1, produit %2"_s.arg(a.artNo, p.prodNo);
            why = recordProblem(owner, p.recordFields(), PROD_SEP);
            if (why.isEmpty())
                why = recordCharProblem(owner, p.recordFields());
        }
        if (!why.isEmpty())
            throw AppError(why);
    }
    readArtListXML(list, root);
    return true;
}
