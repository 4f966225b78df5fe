#include "report/inventory.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "report/pdfPainter.h"
#include "report/statement.h"

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
QStringList totalsRow(const QString& label, const InventoryTotals& t)
{
    return {label, u"Stock au prix, à la valeur"_s, t.stockPrice.format(), t.stockValue.format(), QString::number(t.received), QString::number(t.sold),
            QString::number(t.stock)};
}
} // namespace

QByteArray inventoryPdf(const Inventory& inv)
{
    return PdfPainter::report(u"Inventaire"_s, [&](PdfPainter& page) {
        page.setBodySize(9);
        page.text(page.field(inv.shopName, 1.0, true), page.bold());
        page.text(inv.artisans.size() == 1 ? u"Inventaire de "_s + page.field(inv.artisans.first().name, page.title(), page.width() * 0.8)
                                           : u"Inventaire de la boutique"_s,
                  page.title());
        page.text(u"au "_s + frenchDate(inv.date), page.normal());
        // Key, description, price, value, received, sold, in stock.
        const PdfColumns cols{{0.17, 0.29, 0.11, 0.11, 0.10, 0.10, 0.12},
                              {false, false, true, true, true, true, true},
                              {u"Produit"_s, u"Description"_s, u"Prix"_s, u"Valeur"_s, u"Reçus"_s, u"Vendus"_s,
                               u"En stock"_s}};
        for (const ArtisanInventory& a : inv.artisans) {
            page.gap(0.75);
            if (inv.artisans.size() > 1)
                page.text(page.field(a.name, 1.0, true), page.bold());
            page.beginTable(cols);
            for (const InventoryRow& r : a.rows)
                page.row({r.key, r.descript, r.price.format(), r.value.format(), QString::number(r.received),
                          QString::number(r.sold), QString::number(r.stock)});
            page.row(totalsRow(u"Total"_s, a.totals), true);
            page.endTable();
        }
        if (inv.artisans.size() != 1) {
            page.gap(0.75);
            page.beginTable({cols.shares, cols.right, {}}); // no header over the boutique's totals
            page.row(totalsRow(u"Total boutique"_s, inv.totals), true);
            page.endTable();
        }
    });
}
