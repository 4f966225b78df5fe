#include "report/htmlPage.h"

#include "core/appError.h"
#include "core/uXMLTag.h"
#include "report/xslTransform.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace html {

namespace {

QByteArray styleSheet()
{
    static const QByteArray sheet = [] {
        QFile f(u":/pages/page.xsl"_s);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    if (sheet.isEmpty())
        throw AppError(u"La feuille de style des pages manque au programme."_s);
    return sheet;
}

QString cell(const QString& text, int column, const QList<int>& num, int span = 0)
{
    QString c = u"<c"_s;
    if (num.contains(column))
        c += u" num=\"1\""_s;
    if (span > 1)
        c += u" span=\""_s + QString::number(span) + u'"';
    return c + u'>' + xmlEscape(text) + u"</c>"_s;
}

QString cells(const QString& tag, const QStringList& texts, const QList<int>& num, int firstColumn = 0)
{
    QString out = u'<' + tag + u'>';
    for (int i = 0; i < texts.size(); ++i)
        out += cell(texts.at(i), firstColumn + i, num);
    return out + u"</"_s + tag + u'>';
}

QString blockXml(const Block& b)
{
    switch (b.kind) {
    case Block::Heading1:
    case Block::Heading2: {
        const QString tag = b.kind == Block::Heading1 ? u"h1"_s : u"h2"_s;
        return u'<' + tag + u'>' + xmlEscape(b.lines.value(0)) + u"</"_s + tag + u'>';
    }
    case Block::Paragraph: {
        QString p = u"<p"_s;
        if (!b.cssClass.isEmpty())
            p += u" class=\""_s + xmlAttrEscape(b.cssClass) + u'"';
        if (b.italic)
            p += u" i=\"1\""_s;
        p += u'>';
        for (int i = 0; i < b.lines.size(); ++i)
            p += (b.boldLines.contains(i) ? u"<l b=\"1\">"_s : u"<l>"_s) + xmlEscape(b.lines.at(i)) + u"</l>"_s;
        return p + u"</p>"_s;
    }
    case Block::Table: {
        QString t = u"<table class=\""_s + xmlAttrEscape(b.cssClass) + u'"' + (b.rowsMarked ? u" marked=\"1\""_s : QString())
                    + u'>';
        if (!b.head.isEmpty())
            t += cells(u"head"_s, b.head, b.num);
        for (const QStringList& r : b.rows)
            t += cells(u"row"_s, r, b.num);
        if (!b.total.isEmpty()) {
            // The label spans totalSpan columns; the amounts take the columns after it.
            t += u"<total>"_s + cell(b.total.first(), -1, {}, b.totalSpan);
            for (int i = 1; i < b.total.size(); ++i)
                t += cell(b.total.at(i), b.totalSpan + i - 1, b.num);
            t += u"</total>"_s;
        }
        return t + u"</table>"_s;
    }
    }
    return {};
}

} // namespace

Block heading(int level, const QString& text)
{
    Block b;
    b.kind = level == 1 ? Block::Heading1 : Block::Heading2;
    b.lines = {text};
    return b;
}

Block paragraph(const QString& text, const QString& cssClass, bool bold, bool italic)
{
    Block b;
    b.cssClass = cssClass;
    b.lines = {text};
    if (bold)
        b.boldLines = {0};
    b.italic = italic;
    return b;
}

Block rowsTable(const QStringList& head, const QList<int>& num)
{
    Block b;
    b.kind = Block::Table;
    b.cssClass = u"rows"_s;
    b.head = head;
    b.num = num;
    b.rowsMarked = true;
    return b;
}

QByteArray document(const QString& root, const QString& title, const QList<Block>& blocks)
{
    // Every character above U+00FF travels as a reference: the bytes are
    // Latin-1 whatever the transformation reads them as.
    QString xml = u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<"_s + root;
    if (!title.isNull())
        xml += u" title=\""_s + xmlAttrEscape(title) + u'"';
    xml += u'>';
    for (const Block& b : blocks)
        xml += blockXml(b);
    xml += u"</"_s + root + u">\n"_s;
    return xml.toLatin1();
}

QByteArray page(const QString& title, const QList<Block>& blocks)
{
    return xslt::transform(document(u"page"_s, title, blocks), styleSheet());
}

QString part(const QList<Block>& blocks)
{
    return QString::fromUtf8(xslt::transform(document(u"part"_s, {}, blocks), styleSheet()));
}

} // namespace html
