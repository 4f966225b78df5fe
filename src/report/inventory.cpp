#include "report/inventory.h"

#include "core/appState.h"
#include "core/textUtil.h"
#include "core/wholeChars.h"
#include "report/statement.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

void InventoryTotals::add(const InventoryRow& r)
{
    received += r.received;
    sold += r.sold;
    if (r.stock > 0) {
        stock += r.stock;
        stockValue += r.value * r.stock;
        stockPrice += r.price * r.stock;
    }
}

void InventoryTotals::add(const InventoryTotals& t)
{
    received += t.received;
    sold += t.sold;
    stock += t.stock;
    stockValue += t.stockValue;
    stockPrice += t.stockPrice;
}

Inventory inventoryOf(const AppState& st, int artisan, const QString& today)
{
    Inventory inv{st.shopName, today, {}, {}};
    for (int a = 0; a < st.artList.count(); ++a) {
        if (artisan >= 0 && a != artisan)
            continue;
        const TArtisan& art = st.artList.at(a);
        ArtisanInventory ai{art.artNo, st.artList.displayName(a), {}, {}};
        for (const TProdList::Ptr& p : art.products.items()) {
            InventoryRow r{art.artTag() + art.artNo + u'-' + p->prodNo, p->descript,
                           Money::parse(stripDollar(p->prix)), Money::parse(stripDollar(p->valeur)),
                           strToIntDef(p->qntList.totalQntStr(), 0), strToIntDef(p->soldList.totalQntStr(), 0), 0};
            r.stock = r.received - r.sold;
            ai.totals.add(r);
            ai.rows << r;
        }
        inv.totals.add(ai.totals);
        inv.artisans << ai;
    }
    return inv;
}

namespace {
QFont font(int points, bool bold)
{
    QFont f(u"DejaVu Sans"_s, points, bold ? QFont::Bold : QFont::Normal);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// Columns: key, description, price, value, received, sold, in stock.
const double Shares[] = {0.17, 0.29, 0.11, 0.11, 0.10, 0.10, 0.12};
constexpr int Columns = 7;

class InventoryPage {
public:
    explicit InventoryPage(QPdfWriter& writer)
        : w(writer), p(&writer), normal(font(9, false)), bold(font(9, true)), title(font(14, true)),
          fm(normal, &writer)
    {
        width = p.viewport().width();
        bottom = p.viewport().height();
        rowHeight = fm.lineSpacing() * 3 / 2;
        int x = 0;
        for (double s : Shares) {
            cols << x;
            x += int(width * s);
        }
        cols << width;
    }

    void text(const QString& t, const QFont& f)
    {
        const QFontMetrics m(f, &w);
        room(m.lineSpacing());
        p.setFont(f);
        p.drawText(QPointF(0, y + m.ascent()), t);
        y += m.lineSpacing();
    }
    void gap() { y += rowHeight / 2; }

    void header()
    {
        row({u"Produit"_s, u"Description"_s, u"Prix"_s, u"Valeur"_s, u"Reçus"_s, u"Vendus"_s, u"En stock"_s}, true);
    }
    void row(const QStringList& cells, bool isBold)
    {
        if (y + rowHeight > bottom) {
            w.newPage();
            y = 0;
            if (!isBold)
                header();
        }
        p.setFont(isBold ? bold : normal);
        const QFontMetrics m(isBold ? bold : normal, &w);
        const int pad = rowHeight / 5;
        p.drawRect(0, y, width, rowHeight);
        for (int c = 0; c < Columns; ++c) {
            const int cw = cols.at(c + 1) - cols.at(c) - 2 * pad;
            const Qt::Alignment a = (c >= 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            p.drawText(QRect(cols.at(c) + pad, y, cw, rowHeight), a, fit(m, cells.value(c), cw));
        }
        y += rowHeight;
    }

private:
    void room(int h)
    {
        if (y + h > bottom) {
            w.newPage();
            y = 0;
        }
    }
    // The text, or its longest start that fits with "...": a search over the
    // length, so a long description costs a few measurements, not one per character.
    static QString fit(const QFontMetrics& m, const QString& text, int width)
    {
        const auto shown = [&](qsizetype n) {
            return n >= text.size() ? text : wholeLeft(text, n).trimmed() + u"..."_s;
        };
        return shown(longestFitting(text.size(), [&](qsizetype n) { return m.horizontalAdvance(shown(n)) <= width; }));
    }

    QPdfWriter& w;
    QPainter p;
    QFont normal, bold, title;
    QFontMetrics fm;
    int width = 0, bottom = 0, rowHeight = 0, y = 0;
    QList<int> cols;

public:
    const QFont& titleFont() const { return title; }
    const QFont& boldFont() const { return bold; }
    const QFont& normalFont() const { return normal; }
};

QStringList totalsRow(const QString& label, const InventoryTotals& t)
{
    return {label, u"Stock au prix, à la valeur"_s, t.stockPrice.format(), t.stockValue.format(), QString::number(t.received), QString::number(t.sold),
            QString::number(t.stock)};
}
} // namespace

QByteArray inventoryPdf(const Inventory& inv)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buf);
        pdf.setTitle(u"Inventaire"_s);
        pdf.setCreator(u"TilvarBD"_s);
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        InventoryPage page(pdf);
        page.text(inv.shopName, page.boldFont());
        page.text(inv.artisans.size() == 1 ? u"Inventaire de "_s + inv.artisans.first().name
                                           : u"Inventaire de la boutique"_s,
                  page.titleFont());
        page.text(u"au "_s + frenchDate(inv.date), page.normalFont());
        for (const ArtisanInventory& a : inv.artisans) {
            page.gap();
            if (inv.artisans.size() > 1)
                page.text(a.name, page.boldFont());
            page.header();
            for (const InventoryRow& r : a.rows)
                page.row({r.key, r.descript, r.price.format(), r.value.format(), QString::number(r.received),
                          QString::number(r.sold), QString::number(r.stock)},
                         false);
            page.row(totalsRow(u"Total"_s, a.totals), true);
        }
        if (inv.artisans.size() != 1) {
            page.gap();
            page.row(totalsRow(u"Total boutique"_s, inv.totals), true);
        }
    }
    return bytes;
}
