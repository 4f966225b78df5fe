#include "export/artListXML.h"

#include "core/appError.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "core/uXMLTag.h"
#include "model/uArt.h"

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

} // namespace

QString artItemXML(const TArtisan& a, Contacts contacts)
{
    const auto personal = [contacts](const QString& field) {
        return contacts == Contacts::Kept ? field : QString();
    };
    const QString address = QLatin1Char('"') +
                            xmlStrictEscape(quoted(addressField(personal(a.adresse).trimmed()) + u";"_s +
                                               addressField(personal(a.ville).trimmed()) + u";"_s +
                                               addressField(personal(a.CP)) + u";"_s +
                                               addressField(personal(a.tel)) + u";"_s)) +
                            QLatin1Char('"');
    const QString contact = TXMLUtil::xmlTag(u"artNo"_s, xmlStrictEscape(a.artNo)) +
                            TXMLUtil::xmlTag(u"nom"_s, xmlStrictEscape(a.nom)) +
                            TXMLUtil::xmlTag(u"prenom"_s, xmlStrictEscape(a.prenom)) +
                            TXMLUtil::xmlTag(u"adresse"_s, address) +
                            TXMLUtil::xmlTag(u"eMail"_s, xmlStrictEscape(personal(a.courriel))) +
                            TXMLUtil::xmlTag(u"varData"_s, xmlStrictEscape(a.varData)) +
                            TXMLUtil::xmlTag(u"comment"_s, xmlStrictEscape(a.comment));
    QString item = u"<artItem artNo=\""_s + xmlStrictAttrEscape(a.artNo) + u"\">\n"_s;
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

void writeArtListXML(const TArtList& list, const QString& path, Contacts contacts, const SafeWriteOptions& write)
{
    safeWriteFile(path, artListXML(list, contacts), write);
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
