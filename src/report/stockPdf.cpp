#include "report/stockPdf.h"

#include "core/textUtil.h"

#include "report/pdfPainter.h"

using namespace Qt::StringLiterals;

namespace {

struct Sums {
    int units = 0;
    Money price;
    Money value;
    void add(int n, Money p, Money v)
    {
        units += n;
        price += p * n;
        value += v * n;
    }
};

QString kindTitle(CountDiff::Kind k)
{
    switch (k) {
    case CountDiff::Missing:
        return u"Produits manquants"_s;
    case CountDiff::Excess:
        return u"Produits en trop"_s;
    default:
        return u"Produits jamais scannés"_s;
    }
}

} // namespace

QByteArray differencesPdf(const DifferencesSheet& sheet)
{
    return PdfPainter::report(u"Écarts de comptage"_s, [&](PdfPainter& page) {
        page.setBodySize(9);
        page.text(page.field(sheet.shopName, 1.0, true), page.bold());
        page.text(u"Écarts du comptage de "_s + page.field(sheet.scope, 0.5, false), page.title());
        page.text(u"Commencé le %1, clos le %2"_s.arg(frenchDate(sheet.started), frenchDate(sheet.closed)),
                  page.normal());
        if (sheet.diffs.isEmpty()) {
            page.gap(0.75);
            page.text(u"Aucun écart : le stock compté est celui des livres."_s, page.normal());
            return;
        }
        // Key, description, expected, counted, difference, at price, at value.
        const PdfColumns cols{{0.17, 0.31, 0.09, 0.09, 0.09, 0.125, 0.125},
                              {false, false, true, true, true, true, true},
                              {u"Produit"_s, u"Description"_s, u"Attendu"_s, u"Compté"_s, u"Écart"_s,
                               u"Au prix"_s, u"À la valeur"_s}};
        Sums shop;
        for (qsizetype i = 0; i < sheet.diffs.size();) {
            const QString artNo = sheet.diffs.at(i).artNo;
            page.gap(0.75);
            page.text(page.field(sheet.diffs.at(i).artName, 1.0, true), page.bold());
            qsizetype end = i;
            while (end < sheet.diffs.size() && sheet.diffs.at(end).artNo == artNo)
                ++end;
            for (const CountDiff::Kind kind : {CountDiff::Missing, CountDiff::Excess, CountDiff::Unscanned}) {
                Sums sums;
                for (qsizetype k = i; k < end; ++k)
                    if (sheet.diffs.at(k).kind == kind)
                        sums.units += 1;
                if (sums.units == 0)
                    continue;
                sums = {};
                page.text(kindTitle(kind), page.normal());
                page.beginTable(cols);
                for (qsizetype k = i; k < end; ++k) {
                    const CountDiff& d = sheet.diffs.at(k);
                    if (d.kind != kind)
                        continue;
                    const int n = d.diff() < 0 ? -d.diff() : d.diff();
                    page.row({d.key, d.descript, QString::number(d.expected), QString::number(d.counted),
                              QString::number(d.diff()), (d.price * n).format(), (d.value * n).format()});
                    sums.add(n, d.price, d.value);
                    if (d.diff() < 0)
                        shop.add(n, d.price, d.value);
                }
                page.closeTable(u"Total (%1 unité(s))"_s.arg(sums.units), {sums.price.format(), sums.value.format()});
                page.endTable();
            }
            i = end;
        }
        page.gap(0.75);
        page.text(u"Unités manquantes ou non scannées : %1, %2 au prix, %3 à la valeur"_s.arg(shop.units)
                      .arg(shop.price.format(), shop.value.format()),
                  page.bold());
    });
}

QByteArray returnSlipPdf(const ReturnSlip& slip)
{
    return PdfPainter::report(u"Bon de retour"_s, [&](PdfPainter& page) {
        page.text(page.field(slip.shopName, 1.0, true), page.bold());
        page.lines(slip.shopAddress);
        page.gap(0.8);
        page.text(u"Bon de retour"_s, page.title());
        page.text(u"Le "_s + frenchDate(slip.date), page.normal());
        page.gap(0.5);
        page.text(u"Marchandises rendues à "_s + page.field(slip.artName, 0.7, true), page.bold());
        page.lines(slip.artAddress);
        page.gap(0.8);
        const PdfColumns cols{{0.18, 0.42, 0.08, 0.16, 0.16},
                              {false, false, true, true, true},
                              {u"Produit"_s, u"Description"_s, u"Qté"_s, u"Au prix"_s, u"À la valeur"_s}};
        page.beginTable(cols);
        Sums sums;
        for (const ReturnSlipLine& l : slip.lines) {
            page.row({l.key, l.descript, QString::number(l.qnt), (l.price * l.qnt).format(), (l.value * l.qnt).format()});
            sums.add(l.qnt, l.price, l.value);
        }
        page.closeTable(u"Total (%1 unité(s))"_s.arg(sums.units), {sums.price.format(), sums.value.format()});
        page.endTable();
        page.gap(2);
        page.text(u"Reçu les marchandises ci-dessus, signature de l'artisan :"_s, page.normal());
        page.gap(2);
        page.text(u"_______________________________________      Date : ____________"_s, page.normal());
    });
}
