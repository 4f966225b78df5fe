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

// Leaf text (element content or attribute value) made safe for our XML
// documents: & < > " escaped, and characters a Latin-1 document cannot hold
// written as numeric character references.
QString xmlEscape(const QString& text);
