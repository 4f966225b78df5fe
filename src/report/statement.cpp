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

QString shopHtml(const StatementHeader& head)
{
    return u"<p class=\"shop\"><b>"_s + esc(head.shopName) + u"</b><br>"_s + linesHtml(head.shopAddress) + u"</p>\n"_s;
}

QString pageHtml(const QString& title, const StatementHeader& head, const QString& body)
{
    QString h = u"<!DOCTYPE html>\n<html lang=\"fr\"><head><meta charset=\"utf-8\"><title>"_s + esc(title)
                + u"</title>\n<style>body{font-family:'DejaVu Sans',Arial,sans-serif;font-size:10pt;color:#000;}"
                  "h1{font-size:15pt;}h2{font-size:12pt;}table.rows{border-collapse:collapse;width:100%;}"
                  "table.rows th,table.rows td{border:1px solid #888;padding:3px 6px;}"
                  "td.num,th.num{text-align:right;white-space:nowrap;}tr.total td{font-weight:bold;}"
                  "@media print{body{margin:0;}}</style></head>\n<body>\n"_s;
    h += shopHtml(head);
    h += u"<h1>"_s + esc(title) + u"</h1>\n"_s;
    if (!head.periodTitle.isEmpty())
        h += u"<p>Période : "_s + esc(head.periodTitle) + u", du "_s + esc(frenchDate(head.startDate))
             + u" au "_s + esc(frenchDate(head.endDate)) + u"</p>\n"_s;
    return h + body + u"</body></html>\n"_s;
}

namespace {

const QString TABLE = u"<table class=\"rows\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"_s;

// The three amounts a statement closes on.
QList<std::pair<QString, QString>> splitLines(const ShareSplit& split)
{
    return {{u"Ventes au prix de vente"_s, split.sales.format()},
            {u"Part de la boutique"_s, split.shop().format()},
            {u"Montant dû à l'artisan"_s, split.due.format()}};
}

} // namespace

QString splitHtml(const Statement& s)
{
    const ShareSplit& split = s.split;
    const ShareRule& rule = s.rule;
    QString h = u"<table class=\"split\">\n"_s;
    for (const auto& [label, amount] : splitLines(split))
        h += u"<tr><td>"_s + esc(label) + u"</td><td class=\"num\" align=\"right\">"_s + esc(amount) + u"</td></tr>\n"_s;
    h += u"</table>\n<p>Part de l'artisan : "_s + esc(rule.text()) + u"</p>\n"_s;
    if (const QString w = missingValeurWarning(split.missing); !w.isEmpty())
        h += u"<p class=\"warning\"><b>"_s + esc(w) + u"</b></p>\n"_s;
    return h;
}

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
    Statement s{head, artNo, {}, {}, {st.repList.rangeRows.begin(), st.repList.rangeRows.end()}, {}, {}};
    const int at = st.artList.indexOfArtNo(artNo);
    if (at >= 0) {
        const TArtisan& a = st.artList.at(at);
        s.artName = (a.prenom.trimmed() + u' ' + a.nom.trimmed()).trimmed();
        s.artAddress = a.adresse.trimmed() + u'\n' + (a.ville.trimmed() + u"  "_s + a.CP.trimmed()).trimmed();
    }
    if (s.artName.isEmpty())
        s.artName = u"Artisan "_s + artNo;
    s.rule.percent = st.artSharePercent;
    s.split = shareOf(s.rows, st.artList, s.rule, &st.account);
    return s;
}

void addToSummary(Summary& sum, const Statement& s)
{
    if (s.rows.empty())
        return;
    SummaryLine line{s.artNo, s.artName, unitsOf(s.rows), s.split.sales, s.split.shop(), s.split.due};
    sum.sales += line.sales;
    sum.shop += line.shop;
    sum.total += line.owed;
    sum.rule = s.rule;
    if (!s.split.missing.isEmpty())
        sum.warnings << s.artName + u" : "_s + s.split.missing.join(u", "_s);
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
    if (s.rows.empty()) {
        body += u"<p><i>Aucune vente enregistrée pour la période.</i></p>\n"_s;
    } else {
        body += TABLE + u"<tr><th>Date</th><th>Produit</th><th>Description</th><th class=\"num\">Prix</th>"
                        "<th class=\"num\">Qté</th><th class=\"num\">Total</th></tr>\n"_s;
        for (const SaleRow& r : s.rows)
            body += u"<tr class=\"row\"><td>"_s + esc(r.date) + u"</td><td>"_s + esc(r.prodNo) + u"</td><td>"_s
                    + esc(r.descript) + u"</td><td class=\"num\" align=\"right\">"_s + esc(r.priceText())
                    + u"</td><td class=\"num\" align=\"right\">"_s + QString::number(r.qnt)
                    + u"</td><td class=\"num\" align=\"right\">"_s + esc(r.amount.format()) + u"</td></tr>\n"_s;
        body += u"<tr class=\"total\"><td colspan=\"5\"><b>Total des ventes</b></td><td class=\"num\" align=\"right\">"
                "<b>"_s + esc(s.split.sales.format()) + u"</b></td></tr>\n</table>\n"_s;
        body += splitHtml(s);
    }
    return pageHtml(u"Relevé de consignation"_s, s.head, body);
}

QString summaryHtml(const Summary& sum)
{
    QString body;
    if (sum.lines.empty()) {
        body = u"<p><i>Aucune vente enregistrée pour la période.</i></p>\n"_s;
    } else {
        const QString num = u"</td><td class=\"num\" align=\"right\">"_s;
        body = TABLE + u"<tr><th>No</th><th>Artisan</th><th class=\"num\">Articles vendus</th>"
                       "<th class=\"num\">Ventes</th><th class=\"num\">Part de la boutique</th>"
                       "<th class=\"num\">Montant dû</th></tr>\n"_s;
        for (const SummaryLine& l : sum.lines)
            body += u"<tr class=\"row\"><td>"_s + esc(l.artNo) + u"</td><td>"_s + esc(l.name) + num
                    + QString::number(l.items) + num + esc(l.sales.format()) + num + esc(l.shop.format()) + num
                    + esc(l.owed.format()) + u"</td></tr>\n"_s;
        body += u"<tr class=\"total\"><td colspan=\"3\"><b>Total</b>"_s + num + u"<b>"_s + esc(sum.sales.format())
                + u"</b>"_s + num + u"<b>"_s + esc(sum.shop.format()) + u"</b>"_s + num + u"<b>"_s
                + esc(sum.total.format()) + u"</b></td></tr>\n</table>\n"_s;
        body += u"<p>Part de l'artisan : "_s + esc(sum.rule.text()) + u"</p>\n"_s;
        if (!sum.warnings.isEmpty())
            body += u"<p class=\"warning\"><b>"_s + esc(missingValeurWarning(sum.warnings)) + u"</b></p>\n"_s;
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

// A field as a PDF prints it: its own bidirectional controls removed and the
// whole isolated (FSI..PDI), so a right-to-left override in a title cannot
// reverse the rest of its line; characters the font lacks shown as U+FFFD
// rather than as a blank.
QString pdfField(const QString& text, const QFontMetrics& m)
{
    const QChar stand = m.inFontUcs4(0xFFFD) ? QChar(0xFFFD) : QChar(u'?');
    QString out;
    out.reserve(text.size() + 2);
    bool rtl = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t u = text.at(i).unicode();
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair)
            u = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        i += pair ? 1 : 0;
        if ((u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x200E || u == 0x200F)
            continue;
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || QChar::category(u) == QChar::Other_Surrogate
            || !m.inFontUcs4(u)) {
            out += stand;
            continue;
        }
        const QChar::Direction d = QChar::direction(u);
        rtl = rtl || d == QChar::DirR || d == QChar::DirAL;
        out += QString::fromUcs4(&u, 1);
    }
    // Only text holding right-to-left letters needs the isolation marks.
    return rtl ? QChar(0x2068) + out + QChar(0x2069) : out;
}

// One table of a PDF page: columns as shares of the width, right-aligned or
// not; the rows; a bold closing line (label over all columns but the last).
struct PdfTable {
    QList<double> shares;
    QList<bool> right;
    QStringList header;
    QList<QStringList> rows;
    QString totalLabel;
    QStringList totals; // under the last columns
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

    // One line; the fields in it are already made by pdfField. A line longer
    // than the page is cut with "…".
    void text(const QString& t, const QFont& f, int extraBelow = 0)
    {
        p.setFont(f);
        const QFontMetrics m(f, &w);
        room(m.lineSpacing());
        p.drawText(QPointF(0, y + m.ascent()), m.elidedText(t, Qt::ElideRight, width));
        y += m.lineSpacing() + extraBelow;
    }
    // A field cut to a share of the page's width, so what follows it on its
    // line stays on the page.
    QString field(const QString& t, double share = 1.0, bool inBold = false) const
    {
        const QFontMetrics& m = inBold ? fmBold : fm;
        return m.elidedText(pdfField(t, m), Qt::ElideRight, int(width * share));
    }
    void lines(const QString& block)
    {
        for (const QString& l : block.split(u'\n'))
            if (!l.trimmed().isEmpty())
                text(field(l.trimmed()), normal);
    }
    void gap(double lines_) { y += int(line * lines_); }
    // A text wrapped to the page's width.
    void paragraph(const QString& t, const QFont& f)
    {
        p.setFont(f);
        const QRect r = QFontMetrics(f, &w).boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, t);
        room(r.height());
        p.drawText(QRect(0, y, width, r.height()), Qt::TextWordWrap, t);
        y += r.height();
    }

    // The boutique, the title and the period, as on the page.
    void head(const QString& heading, const StatementHeader& h)
    {
        text(field(h.shopName, 1.0, true), bold);
        lines(h.shopAddress);
        gap(0.8);
        text(heading, title, line / 2);
        if (!h.periodTitle.isEmpty())
            text(u"Période : "_s + field(h.periodTitle, 0.5) + u", du "_s + frenchDate(h.startDate) + u" au "_s
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
        // The closing line: its label spans the columns before the totals.
        const int h = line + 2 * pad;
        room(h);
        p.setFont(bold);
        p.drawRect(0, y, width, h);
        const int first = int(cols.size() - 1 - t.totals.size());
        p.drawText(QRect(pad, y, cols.at(first) - 2 * pad, h), Qt::AlignLeft | Qt::AlignVCenter, t.totalLabel);
        for (int k = 0; k < t.totals.size(); ++k) {
            const int x = cols.at(first + k);
            p.drawLine(x, y, x, y + h);
            p.drawText(QRect(x + pad, y, cols.at(first + k + 1) - x - 2 * pad, h), Qt::AlignRight | Qt::AlignVCenter,
                       t.totals.at(k));
        }
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
            p.drawText(QRect(cols.at(c) + pad, y, cw, h), a, m.elidedText(pdfField(cells.value(c), m), Qt::ElideRight, cw));
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
        page.text(page.field(s.artName, 0.7, true) + u" (artisan no "_s + page.field(s.artNo, 0.2, true) + u')',
                  pdfFont(10, true));
        page.lines(s.artAddress);
        page.gap(0.8);
        if (s.rows.empty()) {
            page.text(NO_SALE, pdfFont(10, false, true));
            return;
        }
        PdfTable t{{0.11, 0.16, 0.43, 0.11, 0.07, 0.12},
                   {false, false, false, true, true, true},
                   {u"Date"_s, u"Produit"_s, u"Description"_s, u"Prix"_s, u"Qté"_s, u"Total"_s},
                   {},
                   u"Total des ventes"_s,
                   {s.split.sales.format()}};
        t.rows.reserve(qsizetype(s.rows.size()));
        for (const SaleRow& r : s.rows)
            t.rows << QStringList{r.date, r.prodNo, r.descript, r.priceText(), QString::number(r.qnt),
                                  r.amount.format()};
        page.table(t);
        page.gap(0.8);
        for (const auto& [label, amount] : splitLines(s.split))
            page.text(label + u" : "_s + amount, pdfFont(10, label.startsWith(u"Montant"_s)));
        page.text(u"Part de l'artisan : "_s + s.rule.text(), pdfFont(10, false));
        if (const QString w = missingValeurWarning(s.split.missing); !w.isEmpty())
            page.paragraph(w, pdfFont(10, true));
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
        PdfTable t{{0.07, 0.33, 0.12, 0.16, 0.16, 0.16},
                   {false, false, true, true, true, true},
                   {u"No"_s, u"Artisan"_s, u"Articles"_s, u"Ventes"_s, u"Part boutique"_s, u"Montant dû"_s},
                   {},
                   u"Total"_s,
                   {sum.sales.format(), sum.shop.format(), sum.total.format()}};
        for (const SummaryLine& l : sum.lines)
            t.rows << QStringList{l.artNo, l.name, QString::number(l.items), l.sales.format(), l.shop.format(),
                                  l.owed.format()};
        page.table(t);
        page.gap(0.8);
        page.text(u"Part de l'artisan : "_s + sum.rule.text(), pdfFont(10, false));
        if (!sum.warnings.isEmpty())
            page.paragraph(missingValeurWarning(sum.warnings), pdfFont(10, true));
    });
}
