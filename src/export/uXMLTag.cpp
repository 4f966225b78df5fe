#include "export/uXMLTag.h"

#include <algorithm>

#include <QDomNode>

QString TXMLUtil::xmlTag(const QString& tag, const QString& content)
{
    if (content.isEmpty())
        return QLatin1Char('<') + tag + QStringLiteral("/>");
    return QLatin1Char('<') + tag + QLatin1Char('>') + content + QStringLiteral("</") + tag
        + QLatin1Char('>');
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

// A character that stands as it is in our documents.
bool plainXmlChar(char16_t u)
{
    if (u < 0x20)
        return u == u'\t' || u == u'\n' || u == u'\r';
    return u <= 0xFF && u != u'&' && u != u'<' && u != u'>' && u != u'"';
}

} // namespace

QString xmlEscape(const QString& text)
{
    // Most texts need nothing: hand them back without a copy.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return plainXmlChar(c.unicode()); }))
        return text;
    QString out;
    out.reserve(text.size());
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
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') {
            // XML 1.0 has no form at all for these control characters.
            out += QLatin1Char(' ');
        } else if (u <= 0xFF) {
            out += c;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t cp = QChar::surrogateToUcs4(c, text.at(i + 1));
            out += QStringLiteral("&#%1;").arg(uint(cp));
            ++i;
        } else if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF) {
            out += QStringLiteral("&#65533;"); // no character to refer to
        } else {
            out += QStringLiteral("&#%1;").arg(uint(u));
        }
    }
    return out;
}
