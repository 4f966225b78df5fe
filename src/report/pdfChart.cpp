#include "report/pdfChart.h"

#include "report/pdfPainter.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QColor SALES(0xc6, 0xd6, 0xe8);
const QColor PART(0x2f, 0x5f, 0x8f);
const QColor GRID(0xbb, 0xbb, 0xbb);

// Amounts are drawn to scale: the only place they become floating point.
double dollars(Money m)
{
    return double(m.units()) / double(Money::Scale);
}

// A round step for about four grid lines up to top: 1, 2 or 5 times a power of ten.
double gridStep(double top)
{
    if (top <= 0)
        return 1;
    const double raw = top / 4;
    const double tens = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (raw <= m * tens)
            return m * tens;
    return 10 * tens;
}

// "1 500$" for a grid line (whole dollars; cents only for small steps).
QString gridLabel(double v, double step)
{
    return QString::number(v, 'f', step < 1 ? 2 : 0) + u'$';
}

// A swatch and its name at x on the title line; the x after it.
int legend(QPainter& p, int x, int y, int h, const QColor& c, const QString& name)
{
    p.fillRect(QRect(x, y + h / 4, h / 2, h / 2), c);
    p.setPen(Qt::black);
    p.drawRect(QRect(x, y + h / 4, h / 2, h / 2));
    x += h;
    p.drawText(QPoint(x, y + h * 3 / 4), name);
    return x + p.fontMetrics().horizontalAdvance(name) + h;
}

} // namespace

void drawMonthChart(PdfPainter& page, const QString& title, const std::vector<MonthFigures>& months,
                    const QString& partName)
{
    if (months.empty())
        return;
    const int line = page.lineHeight();
    const QRect r = page.block(line * 13);
    QPainter& p = page.painter();
    p.save();
    p.setFont(page.bold());
    p.setPen(Qt::black);
    p.drawText(QPoint(r.left(), r.top() + line * 3 / 4), title);
    const QFont small = PdfPainter::font(7);
    p.setFont(small);
    const QFontMetrics fm(small, page.device());
    int x = r.left() + QFontMetrics(page.bold(), page.device()).horizontalAdvance(title) + 2 * line;
    x = legend(p, x, r.top(), line, SALES, u"Ventes au prix de vente"_s);
    legend(p, x, r.top(), line, PART, partName);

    double top = 0;
    for (const MonthFigures& m : months)
        top = std::max(top, dollars(m.sales));
    const double step = gridStep(top);
    top = std::max(step, std::ceil(top / step) * step);
    const int axis = fm.horizontalAdvance(gridLabel(top, step)) + line / 2;
    const QRect plot(r.left() + axis, r.top() + line * 2, r.width() - axis, r.height() - line * 4);
    const auto yOf = [&](double v) { return plot.bottom() - int(v / top * plot.height()); };

    p.setPen(QPen(GRID, 1));
    for (double v = 0; v <= top + step / 2; v += step) {
        const int y = yOf(v);
        p.setPen(QPen(GRID, 1));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(Qt::black);
        p.drawText(QRect(r.left(), y - line / 2, axis - line / 4, line), Qt::AlignRight | Qt::AlignVCenter,
                   gridLabel(v, step));
    }
    const double slot = double(plot.width()) / double(months.size());
    // Every month named when the names fit, else every second or third.
    const int nameWidth = fm.horizontalAdvance(u"sept. 00"_s) + line / 3;
    const int every = std::max(1, int(std::ceil(nameWidth / slot)));
    for (size_t k = 0; k < months.size(); ++k) {
        const MonthFigures& m = months[k];
        // A few months make broad slots: the bars stay bars.
        const int w = std::max(1, std::min(int(slot * 0.7), line * 4));
        const int left = plot.left() + int(slot * double(k) + (slot - w) / 2);
        const int salesTop = yOf(dollars(m.sales));
        const int partTop = yOf(std::clamp(dollars(m.due), 0.0, dollars(m.sales)));
        p.setPen(QPen(Qt::black, 1));
        if (salesTop < plot.bottom()) {
            p.fillRect(QRect(left, salesTop, w, plot.bottom() - salesTop), SALES);
            p.fillRect(QRect(left, partTop, w, plot.bottom() - partTop), PART);
            p.drawRect(QRect(left, salesTop, w, plot.bottom() - salesTop));
            // The amount over its bar, where it fits.
            const QString amount = m.sales.format();
            if (fm.horizontalAdvance(amount) <= int(slot))
                p.drawText(QRect(int(plot.left() + slot * double(k)), salesTop - line, int(slot), line),
                           Qt::AlignHCenter | Qt::AlignBottom, amount);
        }
        if (k % size_t(every) == 0)
            p.drawText(QRect(int(plot.left() + slot * double(k)) - line, plot.bottom() + line / 6, int(slot) + 2 * line,
                             line),
                       Qt::AlignHCenter | Qt::AlignTop, monthName(m.month, true));
    }
    p.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
    p.restore();
    page.gap(0.5);
}

void drawRankChart(PdfPainter& page, const QString& title, const std::vector<RankBar>& bars, Money total)
{
    if (bars.empty())
        return;
    const int line = page.lineHeight();
    const QRect r = page.block(line * int(bars.size() + 2));
    QPainter& p = page.painter();
    p.save();
    p.setFont(page.bold());
    p.setPen(Qt::black);
    p.drawText(QPoint(r.left(), r.top() + line * 3 / 4), title);
    p.setFont(page.normal());
    const int nameW = r.width() * 32 / 100;
    const int figuresW = r.width() * 24 / 100;
    const int barW = r.width() - nameW - figuresW - line;
    double most = 0;
    for (const RankBar& b : bars)
        most = std::max(most, dollars(b.sales));
    for (size_t k = 0; k < bars.size(); ++k) {
        const RankBar& b = bars[k];
        const int y = r.top() + line * int(k + 1) + line / 2;
        p.drawText(QRect(r.left(), y, nameW - line / 2, line), Qt::AlignLeft | Qt::AlignVCenter,
                   page.field(b.name, page.normal(), nameW - line / 2));
        const int w = most > 0 ? int(dollars(b.sales) / most * barW) : 0;
        if (w > 0)
            p.fillRect(QRect(r.left() + nameW, y + line / 6, w, line * 2 / 3), PART);
        const QString share = shareText(b.sales, total);
        p.drawText(QRect(r.left() + nameW + barW + line / 2, y, figuresW, line), Qt::AlignLeft | Qt::AlignVCenter,
                   b.sales.format() + (share.isEmpty() ? QString() : u" ("_s + share + u')'));
    }
    p.restore();
    page.gap(0.5);
}
