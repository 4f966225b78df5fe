#pragma once
// Our own pages (the settlement's summary, the published sales sheet and
// inventory) and the parts our consignment pages add to the staff's style
// sheet are made the way every page is made: a document of ours through a
// style sheet, here the program's own (page.xsl).

#include <QList>
#include <QString>
#include <QStringList>

namespace html {

// One piece of a page, in the order the page shows them.
struct Block {
    enum Kind { Heading1, Heading2, Paragraph, Table };
    Kind kind = Paragraph;
    QString cssClass; // a paragraph's; a table's: "rows" (ruled) or "split"
    // Heading1/2: lines.first(); Paragraph: its lines, one below the other.
    QStringList lines;
    QList<int> boldLines;
    bool italic = false;
    // Table: the header (none when empty), the rows, and the total row (its
    // label spanning totalSpan columns, then its amounts; none when empty).
    // Cells of the columns in num hold amounts or counts.
    QStringList head;
    QList<QStringList> rows;
    bool rowsMarked = false; // class "row" on each row, for whoever reads the page
    QList<int> num;
    QStringList total;
    int totalSpan = 1;
};

Block heading(int level, const QString& text);
Block paragraph(const QString& text, const QString& cssClass = {}, bool bold = false, bool italic = false);
// A ruled table of marked rows with its header; num: the amount columns.
Block rowsTable(const QStringList& head, const QList<int>& num);

// The document page.xsl reads ("page" with its title, or a "part").
QByteArray document(const QString& root, const QString& title, const QList<Block>& blocks);
// A whole page, UTF-8.
QByteArray page(const QString& title, const QList<Block>& blocks);
// Blocks to add to another page.
QString part(const QList<Block>& blocks);

} // namespace html
