#include "report/priceTags.h"

#include "core/appState.h"
#include "core/iniFile.h"
#include "core/textUtil.h"
#include "model/productSearch.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <zint.h>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString Section = u"TAGS"_s;
constexpr double MmPerInch = 25.4;
// The PDF's device units: the barcode's modules fall on whole dots of a
// 300 dpi scan, and 1200 keeps the text finely placed.
constexpr int Dpi = 1200;
constexpr int ScanDpi = 300;

int dots(double mm)
{
    return int(std::lround(mm / MmPerInch * Dpi));
}

QFont tagFont(double points, bool bold)
{
    QFont f(u"DejaVu Sans"_s);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
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

// Draws one tag inside box (device units).
class TagPainter {
public:
    TagPainter(QPainter& painter, QPaintDevice* device)
        : p(painter), small(tagFont(6.5, false)), shop(tagFont(6, true)), price(tagFont(10, true)),
          keyFont(tagFont(7, false)), fmSmall(small, device), fmShop(shop, device), fmPrice(price, device),
          fmKey(keyFont, device)
    {
    }

    void draw(const PriceTag& t, const Bars& bars, const QString& code, const QRect& box)
    {
        const int pad = dots(1.5);
        const QRect in = box.adjusted(pad, pad, -pad, -pad);
        int y = in.top();
        // First line: the boutique on the left, the price on the right.
        const int priceWidth = int(std::ceil(fmPrice.horizontalAdvance(t.price)));
        p.setFont(price);
        p.drawText(QRect(in.left(), y, in.width(), int(fmPrice.height())), Qt::AlignRight | Qt::AlignTop, t.price);
        p.setFont(shop);
        const int shopWidth = std::max(0, in.width() - priceWidth - dots(1));
        p.drawText(QPointF(in.left(), y + fmShop.ascent()), fitted(fmShop, t.shop, shopWidth));
        y += int(std::max(fmPrice.height(), fmShop.lineSpacing()));
        p.setFont(small);
        p.drawText(QPointF(in.left(), y + fmSmall.ascent()), fitted(fmSmall, t.artisan, in.width()));
        y += int(fmSmall.lineSpacing());
        p.drawText(QPointF(in.left(), y + fmSmall.ascent()), fitted(fmSmall, t.descript, in.width()));
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
        p.drawText(QRect(box.left(), barTop + barHeight, box.width(), keyHeight), Qt::AlignHCenter | Qt::AlignTop, code);
    }

private:
    // The text cut with "..." to the width.
    static QString fitted(const QFontMetricsF& fm, const QString& text, int width)
    {
        const QString one = text.simplified();
        if (fm.horizontalAdvance(one) <= width)
            return one;
        int n = int(one.size());
        while (n > 0 && fm.horizontalAdvance(cutDescription(one, n)) > width)
            --n;
        return cutDescription(one, n);
    }

    QPainter& p;
    QFont small, shop, price, keyFont;
    QFontMetricsF fmSmall, fmShop, fmPrice, fmKey;
};
} // namespace

QString TagLayout::problem() const
{
    if (columns < 1 || rows < 1 || columns > 20 || rows > 50)
        return u"Le nombre de colonnes et de rangées doit être entre 1 et 20, et 1 et 50."_s;
    if (labelWidth < 30 || labelHeight < 15)
        return u"Une étiquette doit mesurer au moins 30 × 15 mm pour porter son code-barres."_s;
    if (left < 0 || top < 0 || hGap < 0 || vGap < 0 || pageWidth <= 0 || pageHeight <= 0)
        return u"Les marges et les espaces ne peuvent être négatifs."_s;
    if (left + columns * labelWidth + (columns - 1) * hGap > pageWidth + 0.01
        || top + rows * labelHeight + (rows - 1) * vGap > pageHeight + 0.01)
        return u"Les étiquettes dépassent de la page."_s;
    return {};
}

QString TagLayout::toText() const
{
    const auto n = [](double v) { return QString::number(v, 'g', 8); };
    return QStringList{n(pageWidth), n(pageHeight), n(labelWidth), n(labelHeight), QString::number(columns),
                       QString::number(rows), n(left), n(top), n(hGap), n(vGap)}
        .join(u';');
}

TagLayout TagLayout::fromText(const QString& text, bool* ok)
{
    const QStringList f = text.split(u';');
    TagLayout l;
    bool good = f.size() == 10;
    double v[10] = {};
    for (int i = 0; good && i < 10; ++i)
        v[i] = f.at(i).trimmed().toDouble(&good);
    if (good) {
        l = {v[0], v[1], v[2], v[3], int(v[4]), int(v[5]), v[6], v[7], v[8], v[9]};
        good = l.problem().isEmpty();
    }
    if (ok)
        *ok = good;
    return good ? l : TagLayout();
}

QList<TagPreset> tagPresets()
{
    return {{u"30 étiquettes 1 × 2 5/8 po, US Letter"_s, TagLayout()},
            {u"24 étiquettes 70 × 37 mm, A4"_s, {210, 297, 70, 37, 3, 8, 0, 0.5, 0, 0}}};
}

TagLayout readTagLayout(const QString& iniPath)
{
    return TagLayout::fromText(TIniFile(iniPath).readString(Section, u"layout"_s, QString()));
}

void writeTagLayout(const QString& iniPath, const TagLayout& layout)
{
    TIniFile ini(iniPath);
    ini.writeString(Section, u"layout"_s, layout.toText());
}

QList<PriceTag> tagsFor(const AppState& st, const TagChoice& choice)
{
    QList<PriceTag> tags;
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
            const int units = std::max(0, strToIntDef(choice.receivedOn.isEmpty() ? p.qntList.totalQntStr()
                                                                                  : p.qntList.qntAt(choice.receivedOn),
                                                      0));
            const int n = choice.copies > 0 ? choice.copies : units;
            const PriceTag tag{st.shopName, name, p.descript, formatMoney(stripDollar(p.prix)),
                               artisan.artTag() + artisan.artNo + u'-' + p.prodNo};
            for (int k = 0; k < n; ++k)
                tags.append(tag);
        }
    }
    return tags;
}

QString cutDescription(const QString& text, int maxChars)
{
    const QString one = text.simplified();
    if (one.size() <= maxChars)
        return one;
    QString cut = one.left(std::max(0, maxChars - 3));
    // Whole words where that loses little: "poignées" rather than "poi".
    const qsizetype blank = cut.lastIndexOf(u' ');
    if (blank > cut.size() * 2 / 3)
        cut.truncate(blank);
    while (!cut.isEmpty() && (cut.back() == u' ' || cut.back() == u',' || cut.back() == u';'))
        cut.chop(1);
    return cut + u"..."_s;
}

QByteArray tagsPdf(const QList<PriceTag>& tags, const TagLayout& layout, int start, QString* error)
{
    QString problem = layout.problem();
    if (problem.isEmpty() && tags.isEmpty())
        problem = u"Aucune étiquette à imprimer."_s;
    if (problem.isEmpty() && (start < 0 || start >= layout.perSheet()))
        problem = u"La position de départ doit être entre 1 et %1."_s.arg(layout.perSheet());
    // Every key is encoded before the document starts: a bad one leaves no half file.
    QList<Bars> bars;
    QStringList codes;
    for (qsizetype i = 0; problem.isEmpty() && i < tags.size(); ++i) {
        codes << barcodeText(tags.at(i).key);
        bars << (i > 0 && tags.at(i).key == tags.at(i - 1).key ? bars.last() : encode(codes.last(), &problem));
    }
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return {};
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buf);
        pdf.setTitle(u"Étiquettes"_s);
        pdf.setCreator(u"TilvarBD"_s);
        pdf.setResolution(Dpi);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(layout.pageWidth, layout.pageHeight), QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QPainter painter(&pdf);
        TagPainter tp(painter, &pdf);
        int pos = start;
        for (qsizetype i = 0; i < tags.size(); ++i, ++pos) {
            if (pos == layout.perSheet()) {
                pdf.newPage();
                pos = 0;
            }
            const int c = pos % layout.columns;
            const int r = pos / layout.columns;
            const QRect box(dots(layout.left + c * (layout.labelWidth + layout.hGap)),
                            dots(layout.top + r * (layout.labelHeight + layout.vGap)), dots(layout.labelWidth),
                            dots(layout.labelHeight));
            tp.draw(tags.at(i), bars.at(i), codes.at(i), box);
        }
    }
    return bytes;
}
