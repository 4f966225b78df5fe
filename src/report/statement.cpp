#include "report/statement.h"

#include "core/appState.h"
#include "core/textUtil.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

namespace {

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString linesHtml(const QString& text)
{
    QStringList lines;
    for (const QString& l : text.split(u'\n'))
        if (!l.trimmed().isEmpty())
            lines << esc(l.trimmed());
    return lines.join(u"<br>"_s);
}

} // namespace

QString pageHtml(const QString& title, const StatementHeader& head, const QString& body)
{
    QString h = u"<!DOCTYPE html>\n<html lang=\"fr\"><head><meta charset=\"utf-8\"><title>"_s + esc(title)
                + u"</title>\n<style>body{font-family:'DejaVu Sans',Arial,sans-serif;font-size:10pt;color:#000;}"
                  "h1{font-size:15pt;}h2{font-size:12pt;}table.rows{border-collapse:collapse;width:100%;}"
                  "table.rows th,table.rows td{border:1px solid #888;padding:3px 6px;}"
                  "td.num,th.num{text-align:right;white-space:nowrap;}tr.total td{font-weight:bold;}"
                  "@media print{body{margin:0;}}</style></head>\n<body>\n"_s;
    h += u"<p><b>"_s + esc(head.shopName) + u"</b><br>"_s + linesHtml(head.shopAddress) + u"</p>\n"_s;
    h += u"<h1>"_s + esc(title) + u"</h1>\n"_s;
    if (!head.periodTitle.isEmpty())
        h += u"<p>Période : "_s + esc(head.periodTitle) + u", du "_s + esc(frenchDate(head.startDate))
             + u" au "_s + esc(frenchDate(head.endDate)) + u"</p>\n"_s;
    return h + body + u"</body></html>\n"_s;
}

namespace {

const QString TABLE = u"<table class=\"rows\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"_s;

} // namespace

StatementHeader statementHeader(const AppState& st, int p)
{
    StatementHeader h{st.shopName, st.shopAddress, {}, {}, {}};
    if (p >= 0 && p < st.repList.count()) {
        const TReport& r = st.repList.at(p);
        h.periodTitle = r.title;
        h.startDate = r.startDate;
        h.endDate = r.endDate;
    }
    return h;
}

Statement statementFor(const AppState& st, const StatementHeader& head, const QString& artNo)
{
    Statement s{head, artNo, {}, {}, st.repList.rangeLines, st.repList.total};
    const int at = st.artList.indexOfArtNo(artNo);
    if (at >= 0) {
        const TArtisan& a = st.artList.at(at);
        s.artName = (a.prenom.trimmed() + u' ' + a.nom.trimmed()).trimmed();
        s.artAddress = a.adresse.trimmed() + u'\n' + (a.ville.trimmed() + u"  "_s + a.CP.trimmed()).trimmed();
    }
    if (s.artName.isEmpty())
        s.artName = u"Artisan "_s + artNo;
    if (s.total.isEmpty())
        s.total = Money().format();
    return s;
}

void addToSummary(Summary& sum, const Statement& s)
{
    if (s.rows.isEmpty())
        return;
    SummaryLine line{s.artNo, s.artName, 0, Money::parse(QString(s.total).remove(u'$'))};
    for (const QString& row : s.rows)
        line.items += strToIntDef(getCommaItem(row, 5), 0);
    sum.total += line.owed;
    sum.lines.push_back(std::move(line));
}

QString frenchDate(const QString& yymmdd)
{
    static const char* const months[] = {"janvier", "février", "mars", "avril", "mai", "juin",
                                         "juillet", "août", "septembre", "octobre", "novembre",
                                         "décembre"};
    bool ok = false;
    const int n = yymmdd.toInt(&ok);
    if (yymmdd.size() != 6 || !ok)
        return yymmdd;
    const QDate d(2000 + n / 10000, n / 100 % 100, n % 100);
    if (!d.isValid())
        return yymmdd;
    return u"%1 %2 %3"_s.arg(d.day()).arg(QString::fromUtf8(months[d.month() - 1])).arg(d.year());
}

QString statementHtml(const Statement& s)
{
    QString body = u"<p><b>"_s + esc(s.artName) + u"</b> (artisan no "_s + esc(s.artNo) + u")<br>"_s
                   + linesHtml(s.artAddress) + u"</p>\n"_s;
    if (s.rows.isEmpty()) {
        body += u"<p><i>Aucune vente enregistrée pour la période.</i></p>\n"_s;
    } else {
        body += TABLE + u"<tr><th>Date</th><th>Produit</th><th>Description</th><th class=\"num\">Prix</th>"
                        "<th class=\"num\">Qté</th><th class=\"num\">Total</th></tr>\n"_s;
        for (const QString& row : s.rows) {
            const QStringList f = readCommaList(row);
            body += u"<tr class=\"row\"><td>"_s + esc(f.value(0)) + u"</td><td>"_s + esc(f.value(2))
                    + u"</td><td>"_s + esc(f.value(3)) + u"</td><td class=\"num\" align=\"right\">"_s
                    + esc(f.value(4)) + u"</td><td class=\"num\" align=\"right\">"_s + esc(f.value(5))
                    + u"</td><td class=\"num\" align=\"right\">"_s + esc(saleAmount(f.value(4), f.value(5)).format())
                    + u"</td></tr>\n"_s;
        }
        body += u"<tr class=\"total\"><td colspan=\"5\"><b>Total dû</b></td><td class=\"num\" align=\"right\">"
                "<b>"_s + esc(s.total) + u"</b></td></tr>\n</table>\n"_s;
    }
    return pageHtml(u"Relevé de consignation"_s, s.head, body);
}

QString summaryHtml(const Summary& sum)
{
    QString body;
    if (sum.lines.empty()) {
        body = u"<p><i>Aucune vente enregistrée pour la période.</i></p>\n"_s;
    } else {
        body = TABLE + u"<tr><th>No</th><th>Artisan</th><th class=\"num\">Articles vendus</th>"
                       "<th class=\"num\">Montant dû</th></tr>\n"_s;
        for (const SummaryLine& l : sum.lines)
            body += u"<tr class=\"row\"><td>"_s + esc(l.artNo) + u"</td><td>"_s + esc(l.name)
                    + u"</td><td class=\"num\" align=\"right\">"_s + QString::number(l.items)
                    + u"</td><td class=\"num\" align=\"right\">"_s + esc(l.owed.format()) + u"</td></tr>\n"_s;
        body += u"<tr class=\"total\"><td colspan=\"3\"><b>Total</b></td><td class=\"num\" align=\"right\">"
                "<b>"_s + esc(sum.total.format()) + u"</b></td></tr>\n</table>\n"_s;
    }
    return pageHtml(u"Sommaire de consignation"_s, sum.head, body);
}

namespace {

QFont pdfFont(int points, bool bold, bool italic = false)
{
    QFont f(u"DejaVu Sans"_s, points, bold ? QFont::Bold : QFont::Normal, italic);
    // Hinting serves screens; on a PDF page it only costs time.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// One table of a PDF page: columns as shares of the width, right-aligned or
// not; the rows; a bold closing line (label over all columns but the last).
struct PdfTable {
    QList<double> shares;
    QList<bool> right;
    QStringList header;
    QList<QStringList> rows;
    QString totalLabel;
    QString total;
};

// Draws a statement or the summary straight onto a PDF page with QPainter:
// laying the page out as a rich-text document cost most of the time of a
// whole period's statements. Fonts and metrics are made once per document.
class PdfPage {
public:
    explicit PdfPage(QPdfWriter& writer)
        : w(writer), p(&writer), normal(pdfFont(10, false)), bold(pdfFont(10, true)), title(pdfFont(15, true)),
          fm(normal, &writer), fmBold(bold, &writer)
    {
        const QRect page = p.viewport();
        width = page.width();
        bottom = page.height();
        line = fm.lineSpacing();
        pad = fm.height() / 4;
    }

    void text(const QString& t, const QFont& f, int extraBelow = 0)
    {
        p.setFont(f);
        const QFontMetrics m(f, &w);
        room(m.lineSpacing());
        p.drawText(QPointF(0, y + m.ascent()), t);
        y += m.lineSpacing() + extraBelow;
    }
    void lines(const QString& block)
    {
        for (const QString& l : block.split(u'\n'))
            if (!l.trimmed().isEmpty())
                text(l.trimmed(), normal);
    }
    void gap(double lines_) { y += int(line * lines_); }

    // The boutique, the title and the period, as on the page.
    void head(const QString& heading, const StatementHeader& h)
    {
        text(h.shopName, bold);
        lines(h.shopAddress);
        gap(0.8);
        text(heading, title, line / 2);
        if (!h.periodTitle.isEmpty())
            text(u"Période : "_s + h.periodTitle + u", du "_s + frenchDate(h.startDate) + u" au "_s
                     + frenchDate(h.endDate),
                 normal, line / 2);
    }

    void table(const PdfTable& t)
    {
        cols.clear();
        int x = 0;
        for (double share : t.shares) {
            cols << x;
            x += int(width * share);
        }
        cols << width;
        tableHead = &t;
        drawRow(t.header, bold, true);
        for (const QStringList& r : t.rows)
            drawRow(r, normal, false);
        // The closing line: its label spans all columns but the last.
        const int h = line + 2 * pad;
        room(h);
        p.setFont(bold);
        p.drawRect(0, y, width, h);
        p.drawLine(cols.at(cols.size() - 2), y, cols.at(cols.size() - 2), y + h);
        p.drawText(QRect(pad, y, cols.at(cols.size() - 2) - 2 * pad, h), Qt::AlignLeft | Qt::AlignVCenter,
                   t.totalLabel);
        p.drawText(QRect(cols.at(cols.size() - 2) + pad, y, width - cols.at(cols.size() - 2) - 2 * pad, h),
                   Qt::AlignRight | Qt::AlignVCenter, t.total);
        y += h;
        tableHead = nullptr;
    }

private:
    void room(int h)
    {
        if (y + h <= bottom)
            return;
        w.newPage();
        y = 0;
        // A table goes on under its header.
        if (tableHead && !inHeader) {
            inHeader = true;
            drawRow(tableHead->header, bold, true);
            inHeader = false;
        }
    }
    void drawRow(const QStringList& cells, const QFont& f, bool isHeader)
    {
        const int h = line + 2 * pad;
        room(h);
        p.setFont(f);
        const QFontMetrics& m = isHeader ? fmBold : fm;
        p.drawRect(0, y, width, h);
        for (int c = 0; c + 1 < cols.size(); ++c) {
            if (c > 0)
                p.drawLine(cols.at(c), y, cols.at(c), y + h);
            const int cw = cols.at(c + 1) - cols.at(c) - 2 * pad;
            const Qt::Alignment a = (tableHead->right.value(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            p.drawText(QRect(cols.at(c) + pad, y, cw, h), a, m.elidedText(cells.value(c), Qt::ElideRight, cw));
        }
        y += h;
    }

    QPdfWriter& w;
    QPainter p;
    QFont normal;
    QFont bold;
    QFont title;
    QFontMetrics fm;
    QFontMetrics fmBold;
    int width = 0;
    int bottom = 0;
    int line = 0;
    int pad = 0;
    int y = 0;
    QList<int> cols;
    const PdfTable* tableHead = nullptr;
    bool inHeader = false;
};

// A PDF document of one or more US Letter pages drawn by draw.
template <typename Draw>
QByteArray pdfDocument(const QString& title, Draw draw)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buf);
        pdf.setTitle(title);
        pdf.setCreator(u"TilvarBD"_s);
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        PdfPage page(pdf);
        draw(page);
    }
    return bytes;
}

const QString NO_SALE = u"Aucune vente enregistrée pour la période."_s;

} // namespace

QByteArray statementPdf(const Statement& s)
{
    return pdfDocument(u"Relevé "_s + s.artName, [&](PdfPage& page) {
        page.head(u"Relevé de consignation"_s, s.head);
        page.text(s.artName + u" (artisan no "_s + s.artNo + u')', pdfFont(10, true));
        page.lines(s.artAddress);
        page.gap(0.8);
        if (s.rows.isEmpty()) {
            page.text(NO_SALE, pdfFont(10, false, true));
            return;
        }
        PdfTable t{{0.11, 0.16, 0.43, 0.11, 0.07, 0.12},
                   {false, false, false, true, true, true},
                   {u"Date"_s, u"Produit"_s, u"Description"_s, u"Prix"_s, u"Qté"_s, u"Total"_s},
                   {},
                   u"Total dû"_s,
                   s.total};
        t.rows.reserve(s.rows.size());
        for (const QString& row : s.rows) {
            const QStringList f = readCommaList(row);
            t.rows << QStringList{f.value(0), f.value(2), f.value(3), f.value(4), f.value(5),
                                  saleAmount(f.value(4), f.value(5)).format()};
        }
        page.table(t);
    });
}

QByteArray summaryPdf(const Summary& sum)
{
    return pdfDocument(u"Sommaire de consignation"_s, [&](PdfPage& page) {
        page.head(u"Sommaire de consignation"_s, sum.head);
        if (sum.lines.empty()) {
            page.text(NO_SALE, pdfFont(10, false, true));
            return;
        }
        PdfTable t{{0.1, 0.5, 0.2, 0.2},
                   {false, false, true, true},
                   {u"No"_s, u"Artisan"_s, u"Articles vendus"_s, u"Montant dû"_s},
                   {},
                   u"Total"_s,
                   sum.total.format()};
        for (const SummaryLine& l : sum.lines)
            t.rows << QStringList{l.artNo, l.name, QString::number(l.items), l.owed.format()};
        page.table(t);
    });
}
