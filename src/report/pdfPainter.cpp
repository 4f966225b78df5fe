#include "report/pdfPainter.h"

#include "core/wholeChars.h"

#include <QBuffer>
#include <QPageSize>

#include <algorithm>
#include <climits>

using namespace Qt::StringLiterals;

namespace {

bool isBidiControl(char32_t u)
{
    return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x200E || u == 0x200F;
}

// The text without its bidirectional controls, each character the font
// cannot show replaced by stand; rtl tells whether right-to-left letters remain.
QString printable(const QString& text, const QFontMetricsF& m, bool& rtl)
{
    const QChar stand = m.inFontUcs4(0xFFFD) ? QChar(0xFFFD) : QChar(u'?');
    QString out;
    out.reserve(text.size());
    rtl = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t u = text.at(i).unicode();
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair)
            u = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        i += pair ? 1 : 0;
        if (isBidiControl(u))
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
    return out;
}

// The longest cut of text (cutDescription's) no wider than width: a search
// over the length, so a long text costs a few measurements, not one per character.
QString fitted(const QString& text, const QFontMetricsF& m, qreal width)
{
    if (width < 0 || m.horizontalAdvance(text) <= width)
        return text;
    const qsizetype n = longestFitting(text.size(), [&](qsizetype k) {
        return m.horizontalAdvance(cutDescription(text, int(std::min<qsizetype>(k, INT_MAX)))) <= width;
    });
    return cutDescription(text, int(std::min<qsizetype>(n, INT_MAX)));
}

} // namespace

QString cutDescription(const QString& text, int maxChars)
{
    const QString one = text.simplified();
    if (one.size() <= maxChars)
        return one;
    QString cut = wholeLeft(one, std::max(0, maxChars - 3));
    // Whole words where that loses little: "poignées" rather than "poi".
    const qsizetype blank = cut.lastIndexOf(u' ');
    if (blank > cut.size() * 2 / 3)
        cut.truncate(blank);
    while (!cut.isEmpty() && (cut.back() == u' ' || cut.back() == u',' || cut.back() == u';'))
        cut.chop(1);
    return cut + u"..."_s;
}

PdfPainter::PdfPainter(QIODevice& out, const QString& title, const QPageLayout& layout, int dpi)
    : w(&out), m_fm(QFont()), m_fmBold(QFont())
{
    w.setTitle(title);
    w.setCreator(u"TilvarBD"_s);
    w.setResolution(dpi);
    w.setPageLayout(layout);
    p.begin(&w);
    m_width = p.viewport().width();
    m_bottom = p.viewport().height();
    setBodySize(10);
}

QPageLayout PdfPainter::letterPage()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

QByteArray PdfPainter::report(const QString& title, const std::function<void(PdfPainter&)>& draw)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    {
        PdfPainter page(buf, title, letterPage(), ReportDpi);
        draw(page);
    }
    return bytes;
}

QFont PdfPainter::font(double points, bool bold, bool italic)
{
    QFont f(u"DejaVu Sans"_s);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    // Hinting serves screens; on a PDF page it only costs time.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QString PdfPainter::field(const QString& text, const QFontMetricsF& m, qreal width)
{
    bool rtl = false;
    const QString shown = fitted(printable(text.simplified(), m, rtl), m, width);
    // Only text holding right-to-left letters needs the isolation marks.
    return rtl ? QChar(0x2068) + shown + QChar(0x2069) : shown;
}

QString PdfPainter::field(const QString& text, const QFont& f, qreal width) const
{
    return field(text, QFontMetricsF(f, &w), width);
}

void PdfPainter::newPage()
{
    w.newPage();
    y = 0;
}

bool PdfPainter::finish()
{
    return p.end();
}

// --- flowing pages -------------------------------------------------------------

void PdfPainter::setBodySize(double points)
{
    m_normal = font(points);
    m_bold = font(points, true);
    m_title = font(points + 5, true);
    m_fm = QFontMetricsF(m_normal, &w);
    m_fmBold = QFontMetricsF(m_bold, &w);
    m_line = qRound(m_fm.lineSpacing());
    m_pad = qRound(m_fm.height()) / 4;
}

QString PdfPainter::field(const QString& text, double share, bool inBold) const
{
    return field(text, inBold ? m_fmBold : m_fm, m_width * share);
}

void PdfPainter::text(const QString& line, const QFont& f, int extraBelow)
{
    p.setFont(f);
    const QFontMetricsF m(f, &w);
    room(qRound(m.lineSpacing()));
    p.drawText(QPointF(0, y + m.ascent()), fitted(line, m, m_width));
    y += qRound(m.lineSpacing()) + extraBelow;
}

void PdfPainter::lines(const QString& block)
{
    for (const QString& l : block.split(u'\n'))
        if (!l.trimmed().isEmpty())
            text(field(l, 1.0, false), m_normal);
}

void PdfPainter::gap(double lines)
{
    y += int(m_line * lines);
}

void PdfPainter::paragraph(const QString& text, const QFont& f)
{
    const QString shown = field(text, QFontMetricsF(f, &w));
    p.setFont(f);
    const QRect r = QFontMetrics(f, &w).boundingRect(QRect(0, 0, m_width, 100000), Qt::TextWordWrap, shown);
    room(r.height());
    p.drawText(QRect(0, y, m_width, r.height()), Qt::TextWordWrap, shown);
    y += r.height();
}

QRect PdfPainter::block(int height)
{
    room(height);
    const QRect r(0, y, m_width, height);
    y += height;
    return r;
}

void PdfPainter::beginTable(const PdfColumns& columns)
{
    m_cols.clear();
    int x = 0;
    for (double share : columns.shares) {
        m_cols << x;
        x += int(m_width * share);
    }
    m_cols << m_width;
    m_table = columns;
    m_inTable = true;
    if (!columns.header.isEmpty()) {
        m_inHeader = true; // a new page here takes the header once
        row(columns.header, true);
        m_inHeader = false;
    }
}

void PdfPainter::row(const QStringList& cells, bool inBold)
{
    const int h = rowHeight();
    room(h);
    p.setFont(inBold ? m_bold : m_normal);
    const QFontMetricsF& m = inBold ? m_fmBold : m_fm;
    p.drawRect(0, y, m_width, h);
    for (int c = 0; c + 1 < m_cols.size(); ++c) {
        if (c > 0)
            p.drawLine(m_cols.at(c), y, m_cols.at(c), y + h);
        const int cw = m_cols.at(c + 1) - m_cols.at(c) - 2 * m_pad;
        const Qt::Alignment a = (m_table.right.value(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        p.drawText(QRect(m_cols.at(c) + m_pad, y, cw, h), a, field(cells.value(c), m, cw));
    }
    y += h;
}

void PdfPainter::closeTable(const QString& label, const QStringList& amounts)
{
    const int h = rowHeight();
    room(h);
    p.setFont(m_bold);
    p.drawRect(0, y, m_width, h);
    const int first = int(m_cols.size() - 1 - amounts.size());
    p.drawText(QRect(m_pad, y, m_cols.at(first) - 2 * m_pad, h), Qt::AlignLeft | Qt::AlignVCenter, label);
    for (int k = 0; k < amounts.size(); ++k) {
        const int x = m_cols.at(first + k);
        p.drawLine(x, y, x, y + h);
        p.drawText(QRect(x + m_pad, y, m_cols.at(first + k + 1) - x - 2 * m_pad, h), Qt::AlignRight | Qt::AlignVCenter,
                   amounts.at(k));
    }
    y += h;
}

void PdfPainter::endTable()
{
    m_inTable = false;
}

void PdfPainter::room(int h)
{
    if (y + h <= m_bottom)
        return;
    newPage();
    // A table goes on under its header.
    if (m_inTable && !m_table.header.isEmpty() && !m_inHeader) {
        m_inHeader = true;
        row(m_table.header, true);
        m_inHeader = false;
    }
}
