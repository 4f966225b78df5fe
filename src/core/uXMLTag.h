#pragma once
// Builds XML element texts and reads node values of a parsed document.

#include <QString>

class QDomNode;

class TXMLUtil {
public:
    // "<tag>content</tag>", or "<tag/>" for an empty content. The content is
    // placed unchanged (it may be XML made by other calls): escape leaf text
    // with xmlEscape first.
    static QString xmlTag(const QString& tag, const QString& content);
    // The node's value as text; empty for a null node or value.
    static QString nodeText(const QDomNode& node);
};

// The one escaping rule of every XML document we write (ISO-8859-1 or
// Windows-1252 bytes), for element text: & < > " as entities; a carriage
// return, U+0080..U+009F and every character above U+00FF as a numeric
// reference, so no reader's encoding or line-end handling changes them; tab
// and line feed as they are. A character XML 1.0 cannot hold in any form
// (another control character, a lone surrogate, U+FFFE, U+FFFF) becomes a
// visible U+FFFD, so one odd name never stops a report.
QString xmlEscape(const QString& text);
// xmlEscape(text) appended to out; a text that needs nothing is not copied.
void appendXmlEscaped(QString& out, QStringView text);
// The same for an attribute value: tab and line feed as references too, as a
// reader turns them into blanks.
QString xmlAttrEscape(const QString& text);
// As xmlEscape and xmlAttrEscape for documents read back as data (the
// artisan list), where a replaced character would be lost: such a character
// raises AppError naming it.
QString xmlStrictEscape(const QString& text);
QString xmlStrictAttrEscape(const QString& text);
