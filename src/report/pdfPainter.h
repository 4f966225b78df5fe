#pragma once
// The one way the boutique's PDF documents are drawn: statements, summaries,
// inventories and price tags all print their fields through it, so each
// field is protected the same way against the text it holds.

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

// A text as it fits a field: blanks made single, cut with "..." after at
// most maxChars, between whole characters (whole words where that loses little).
QString cutDescription(const QString& text, int maxChars);

// A table's columns: their shares of the page's width, which are
// right-aligned, and the header repeated at the top of each page.
struct PdfColumns {
    QList<double> shares;
    QList<bool> right;
    QStringList header; // none: no header row
};

// Draws one PDF document onto out: fields at given places (the tags) or
// flowing down the pages, lines and tables (the reports).
class PdfPainter {
public:
    // A document of pages of layout at dpi dots per inch; drawn in dots.
    PdfPainter(QIODevice& out, const QString& title, const QPageLayout& layout, int dpi);
    PdfPainter(const PdfPainter&) = delete;
    PdfPainter& operator=(const PdfPainter&) = delete;

    // The reports' page: US Letter, 15 mm margins, at 300 dpi.
    static QPageLayout letterPage();
    static constexpr int ReportDpi = 300;
    // The whole report document draw makes, in memory.
    static QByteArray report(const QString& title, const std::function<void(PdfPainter&)>& draw);

    static QFont font(double points, bool bold = false, bool italic = false);

    // A field as printed: its own bidirectional controls removed and, when it
    // holds right-to-left letters, the whole isolated, so it cannot reorder
    // the rest of its line; characters the font lacks and control characters
    // shown as U+FFFD (or "?") rather than as nothing. Cut between whole
    // characters with "..." to width (in dots) when it is wider.
    static QString field(const QString& text, const QFontMetricsF& m, qreal width = -1);
    QString field(const QString& text, const QFont& f, qreal width = -1) const;

    QPainter& painter() { return p; }
    QPaintDevice* device() { return &w; }
    void newPage();
    // Ends the document; false when it could not be written.
    bool finish();

    // --- flowing pages (reports) ---
    // The fonts lines and tables use: body size, bold, title 5 points larger.
    void setBodySize(double points);
    const QFont& normal() const { return m_normal; }
    const QFont& bold() const { return m_bold; }
    const QFont& title() const { return m_title; }
    int width() const { return m_width; }
    // A field cut to a share of the page's width, so what follows it on its
    // line stays on the page.
    QString field(const QString& text, double share, bool inBold) const;
    // One line made of fields and our own words, cut to the page's width.
    void text(const QString& line, const QFont& f, int extraBelow = 0);
    // Each non-blank line of block, as fields.
    void lines(const QString& block);
    void gap(double lines);
    // A text wrapped to the page's width; its names printed as fields.
    void paragraph(const QString& text, const QFont& f);
    // The next height dots of the page, whole on one page, for a drawing.
    QRect block(int height);
    int lineHeight() const { return m_line; }

    // A table: begin draws the header, rows go under it (its header again
    // on a new page), close draws a bold line whose label spans the columns
    // before its amounts.
    void beginTable(const PdfColumns& columns);
    void row(const QStringList& cells, bool inBold = false);
    void closeTable(const QString& label, const QStringList& amounts);
    void endTable();

private:
    void room(int h);
    int rowHeight() const { return m_line + 2 * m_pad; }

    QPdfWriter w;
    QPainter p;
    QFont m_normal, m_bold, m_title;
    QFontMetricsF m_fm, m_fmBold;
    int m_width = 0;
    int m_bottom = 0;
    int m_line = 0;
    int m_pad = 0;
    int y = 0;
    QList<int> m_cols;
    PdfColumns m_table;
    bool m_inTable = false;
    bool m_inHeader = false;
};
