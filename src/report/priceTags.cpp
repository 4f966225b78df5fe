#include "report/priceTags.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "model/productSearch.h"
#include "report/pdfPainter.h"

#include <QBuffer>
#include <QPageSize>

#include <zint.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
constexpr double MmPerInch = 25.4;
// The PDF's device units: the barcode's modules fall on whole dots of a
// 300 dpi scan, and 1200 keeps the text finely placed.
constexpr int Dpi = 1200;
constexpr int ScanDpi = 300;

int dots(double mm)
{
    return int(std::lround(mm / MmPerInch * Dpi));
}

// A Code 128 symbol's bars as runs of modules: (first module, width).
struct Bars {
    int modules = 0;
    QList<QPair<int, int>> runs;
};

Bars encode(const QString& text, QString* error)
{
    Bars bars;
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> sym(ZBarcode_Create(), ZBarcode_Delete);
    if (!sym) {
        *error = u"Mémoire insuffisante pour le code-barres"_s;
        return bars;
    }
    sym->symbology = BARCODE_CODE128;
    sym->input_mode = DATA_MODE;
    sym->show_hrt = 0;
    const QByteArray data = text.toLatin1();
    if (data.isEmpty() || ZBarcode_Encode_and_Buffer_Vector(sym.get(), reinterpret_cast<const unsigned char*>(data.constData()), int(data.size()), 0) >= ZINT_ERROR || !sym->vector || sym->width <= 0) {
        *error = u"Code-barres impossible pour « %1 » : %2"_s.arg(text, QString::fromLatin1(sym->errtxt));
        return bars;
    }
    // The vector's unit per module, whatever scale the library uses.
    bars.modules = sym->width;
    const double unit = double(sym->vector->width) / sym->width;
    for (const zint_vector_rect* r = sym->vector->rectangles; r; r = r->next)
        bars.runs.append({int(std::lround(r->x / unit)), std::max(1, int(std::lround(r->width / unit)))});
    return bars;
}

// Draws one tag inside box (device units) through the document's painter.
class TagPainter {
public:
    explicit TagPainter(PdfPainter& page)
        : p(page.painter()), small(PdfPainter::font(6.5)), shop(PdfPainter::font(6, true)),
          price(PdfPainter::font(10, true)), keyFont(PdfPainter::font(7)), fmSmall(small, page.device()),
          fmShop(shop, page.device()), fmPrice(price, page.device()), fmKey(keyFont, page.device())
    {
    }

    void draw(const PriceTag& t, const Bars& bars, const QString& code, const QRect& box)
    {
        const int pad = dots(1.5);
        const QRect in = box.adjusted(pad, pad, -pad, -pad);
        int y = in.top();
        // First line: the boutique on the left, the price on the right.
        const QString shownPrice = PdfPainter::field(t.price, fmPrice, in.width());
        const int priceWidth = int(std::ceil(fmPrice.horizontalAdvance(shownPrice)));
        p.setFont(price);
        p.drawText(QRect(in.left(), y, in.width(), int(fmPrice.height())), Qt::AlignRight | Qt::AlignTop, shownPrice);
        p.setFont(shop);
        const int shopWidth = std::max(0, in.width() - priceWidth - dots(1));
        p.drawText(QPointF(in.left(), y + fmShop.ascent()), PdfPainter::field(t.shop, fmShop, shopWidth));
        y += int(std::max(fmPrice.height(), fmShop.lineSpacing()));
        p.setFont(small);
        p.drawText(QPointF(in.left(), y + fmSmall.ascent()), PdfPainter::field(t.artisan, fmSmall, in.width()));
        y += int(fmSmall.lineSpacing());
        p.drawText(QPointF(in.left(), y + fmSmall.ascent()), PdfPainter::field(t.descript, fmSmall, in.width()));
        y += int(fmSmall.lineSpacing()) + dots(0.8);

        // The barcode: each module a whole number of 300 dpi dots, at least 2,
        // as wide as the label allows up to 3 (0.25 mm, what scanners like).
        const int dotUnit = Dpi / ScanDpi;
        const int quiet = 10; // modules of blank on each side
        int perModule = 3;
        while (perModule > 2 && (bars.modules + 2 * quiet) * perModule * dotUnit > box.width())
            --perModule;
        const int module = perModule * dotUnit;
        const int codeWidth = bars.modules * module;
        int x0 = box.left() + (box.width() - codeWidth) / 2;
        x0 -= x0 % dotUnit;
        const int keyHeight = int(fmKey.lineSpacing());
        const int barTop = y;
        const int barHeight = std::max(dots(4), in.bottom() - keyHeight - barTop);
        for (const auto& [start, width] : bars.runs)
            p.fillRect(QRect(x0 + start * module, barTop, width * module, barHeight), Qt::black);
        p.setFont(keyFont);
        p.drawText(QRect(box.left(), barTop + barHeight, box.width(), keyHeight), Qt::AlignHCenter | Qt::AlignTop,
                   PdfPainter::field(code, fmKey, box.width()));
    }

private:
    QPainter& p;
    QFont small, shop, price, keyFont;
    QFontMetricsF fmSmall, fmShop, fmPrice, fmKey;
};
} // namespace

namespace {
// Units received as tags, summed without limit: a count past MaxTags (or
// past any number) is MaxTags + 1, which tagsProblem refuses; a quantity
// that is not a number counts 0, as it always has for the tags.
qint64 unitsOf(const TQnt& received, const QString& receivedOn)
{
    // Each term and sum held far from qint64's ends; returned units (below 0) count.
    constexpr qint64 Far = qint64(1) << 50;
    qint64 total = 0;
    for (int i = 0; i < received.count(); ++i) {
        const TDQEvent e = received.at(i);
        if (!receivedOn.isEmpty() && e.date != receivedOn)
            continue;
        const QString t = e.qnt.trimmed();
        bool ok = false;
        const qint64 n = t.toLongLong(&ok);
        // Digits no number holds are more than any sheet.
        const bool digits = !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
        total = std::clamp(total + (ok ? std::clamp(n, -Far, Far) : digits ? Far : 0), -Far, Far);
    }
    return std::clamp<qint64>(total, 0, MaxTags + 1);
}
} // namespace

QList<TagRun> tagRunsFor(const AppState& st, const TagChoice& choice)
{
    QList<TagRun> runs;
    for (int a = 0; a < st.artList.count(); ++a) {
        if (choice.artisan >= 0 && a != choice.artisan)
            continue;
        const TArtisan& artisan = st.artList.at(a);
        const QString name = st.artList.displayName(a);
        const QList<TProdList::Ptr>& products = artisan.products.items();
        for (int j = 0; j < products.size(); ++j) {
            if (choice.product >= 0 && j != choice.product)
                continue;
            TProduit& p = *products.at(j);
            if (!choice.receivedOn.isEmpty() && p.qntList.findDate(choice.receivedOn) < 0)
                continue;
            const qint64 n = choice.copies > 0 ? choice.copies : unitsOf(p.qntList, choice.receivedOn);
            if (n > 0)
                runs.append({{st.shopName, name, p.descript, formatMoney(stripDollar(p.prix)),
                              artisan.artTag() + artisan.artNo + u'-' + p.prodNo},
                             n});
        }
    }
    return runs;
}

qint64 tagCount(const QList<TagRun>& runs)
{
    qint64 n = 0;
    for (const TagRun& r : runs)
        n = std::min(n + std::clamp<qint64>(r.count, 0, MaxTags + 1), MaxTags + 1);
    return n;
}

qint64 sheetCount(qint64 tags, int start, const TagLayout& layout)
{
    const qint64 per = std::max(1, layout.perSheet());
    return (std::max(0, start) + tags + per - 1) / per;
}

QString tagsProblem(const QList<TagRun>& runs, const TagLayout& layout, int start)
{
    if (const QString p = layout.problem(); !p.isEmpty())
        return p;
    const qint64 n = tagCount(runs);
    if (n == 0)
        return u"Aucune étiquette à imprimer."_s;
    if (start < 0 || start >= layout.perSheet())
        return u"La position de départ doit être entre 1 et %1."_s.arg(layout.perSheet());
    if (n > MaxTags)
        return u"Trop d'étiquettes : une impression en fait au plus %L1. Choisissez moins de produits, "
               u"ou un nombre d'étiquettes par produit (au plus %2)."_s.arg(MaxTags).arg(MaxCopies);
    return {};
}

bool writeTagsPdf(QIODevice& out, const QList<TagRun>& runs, const TagLayout& layout, int start, QString* error,
                  const TagProgress& progress)
{
    QString problem = tagsProblem(runs, layout, start);
    // Every key is encoded before the document starts: a bad one leaves no half file.
    QList<Bars> bars;
    QStringList codes;
    for (qsizetype i = 0; problem.isEmpty() && i < runs.size(); ++i) {
        codes << barcodeText(runs.at(i).tag.key);
        bars << (i > 0 && runs.at(i).tag.key == runs.at(i - 1).tag.key ? bars.last() : encode(codes.last(), &problem));
    }
    if (error)
        *error = problem;
    if (!problem.isEmpty())
        return false;
    const qint64 sheets = sheetCount(tagCount(runs), start, layout);
    PdfPainter page(out, u"Étiquettes"_s,
                    QPageLayout(QPageSize(QSizeF(layout.pageWidth, layout.pageHeight), QPageSize::Millimeter),
                                QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter),
                    Dpi);
    TagPainter tp(page);
    int pos = start;
    qint64 done = 0;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        for (qint64 k = 0; k < runs.at(i).count; ++k, ++pos) {
            if (pos == layout.perSheet()) {
                // The finished sheet goes to out before the next one starts.
                if (progress && !progress(++done, sheets)) {
                    page.finish();
                    return false;
                }
                page.newPage();
                pos = 0;
            }
            const int c = pos % layout.columns;
            const int r = pos / layout.columns;
            const QRect box(dots(layout.left + c * (layout.labelWidth + layout.hGap)),
                            dots(layout.top + r * (layout.labelHeight + layout.vGap)), dots(layout.labelWidth),
                            dots(layout.labelHeight));
            tp.draw(runs.at(i).tag, bars.at(i), codes.at(i), box);
        }
    }
    if (!page.finish()) {
        if (error)
            *error = out.errorString().isEmpty() ? u"Erreur d'écriture"_s : out.errorString();
        return false;
    }
    if (progress)
        progress(sheets, sheets);
    return true;
}

QList<PriceTag> tagsFor(const AppState& st, const TagChoice& choice)
{
    QList<PriceTag> tags;
    for (const TagRun& r : tagRunsFor(st, choice))
        for (qint64 k = 0; k < std::min(r.count, MaxTags); ++k)
            tags.append(r.tag);
    return tags;
}

QByteArray tagsPdf(const QList<PriceTag>& tags, const TagLayout& layout, int start, QString* error)
{
    QList<TagRun> runs;
    for (const PriceTag& t : tags) {
        if (!runs.isEmpty() && runs.last().tag.key == t.key && runs.last().tag.descript == t.descript
            && runs.last().tag.price == t.price && runs.last().tag.artisan == t.artisan && runs.last().tag.shop == t.shop)
            ++runs.last().count;
        else
            runs.append({t, 1});
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    if (!writeTagsPdf(buf, runs, layout, start, error))
        return {};
    return bytes;
}
