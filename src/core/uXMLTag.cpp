#include "core/uXMLTag.h"

#include "core/appError.h"
#include "core/textUtil.h"

#include <algorithm>

#include <QDomNode>

QString TXMLUtil::xmlTag(const QString& tag, const QString& content)
{
    // In one buffer: reports wrap every data line in a tag.
    QString out;
    out.reserve(2 * tag.size() + content.size() + 5);
    out += QLatin1Char('<');
    out += tag;
    if (content.isEmpty()) {
        out += QStringLiteral("/>");
        return out;
    }
    out += QLatin1Char('>');
    out += content;
    out += QStringLiteral("</");
    out += tag;
    out += QLatin1Char('>');
    return out;
}

QString TXMLUtil::nodeText(const QDomNode& node)
{
    if (node.isNull())
        return QString();
    if (!node.isElement())
        return node.nodeValue();
    // An element's value is its text when it holds text only, as a DOM text
    // element; an empty element or one with child elements has none.
    QString text;
    for (QDomNode c = node.firstChild(); !c.isNull(); c = c.nextSibling()) {
        if (!c.isText() && !c.isCDATASection())
            return QString();
        text += c.nodeValue();
    }
    return text;
}

namespace {

// A character that stands as it is in element text.
bool plainXmlChar(char16_t u)
{
    if (u < 0x20)
        return u == u'\t' || u == u'\n';
    return (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) && u != u'&' && u != u'<' && u != u'>'
           && u != u'"';
}

QString escaped(const QString& text, bool attribute, bool strict)
{
    const auto plain = [attribute](QChar c) {
        return plainXmlChar(c.unicode()) && !(attribute && c.unicode() < 0x20);
    };
    // Most texts need nothing: hand them back without a copy.
    if (std::all_of(text.cbegin(), text.cend(), plain))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        switch (u) {
        case u'&':
            out += QStringLiteral("&amp;");
            continue;
        case u'<':
            out += QStringLiteral("&lt;");
            continue;
        case u'>':
            out += QStringLiteral("&gt;");
            continue;
        case u'"':
            out += QStringLiteral("&quot;");
            continue;
        default:
            break;
        }
        char32_t code = u;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text.at(++i));
        else if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || c.isSurrogate()
                 || u == 0xFFFE || u == 0xFFFF) {
            if (!strict) {
                out += QStringLiteral("&#%1;").arg(uint(REPLACEMENT_CHAR));
                continue;
            }
            throw AppError(QStringLiteral("Le texte « %1 » contient le caractère U+%2, qu'un "
                                          "document XML ne peut pas contenir : retirez-le.")
                               .arg(text, QStringLiteral("%1").arg(uint(u), 4, 16, QLatin1Char('0'))
                                              .toUpper()));
        }
        if (plain(c))
            out += c;
        else
            out += QStringLiteral("&#%1;").arg(uint(code));
    }
    return out;
}

} // namespace

QString xmlEscape(const QString& text)
{
    return escaped(text, false, false);
}

void appendXmlEscaped(QString& out, QStringView text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return plainXmlChar(c.unicode()); }))
        out += text;
    else
        out += escaped(text.toString(), false, false);
}

QString xmlAttrEscape(const QString& text)
{
    return escaped(text, true, false);
}

QString xmlStrictEscape(const QString& text)
{
    return escaped(text, false, true);
}

QString xmlStrictAttrEscape(const QString& text)
{
    return escaped(text, true, true);
}
