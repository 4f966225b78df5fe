#include "report/payoutRegister.h"

#include "core/textUtil.h"
#include "report/pdfPainter.h"

using namespace Qt::StringLiterals;

QString payoutRegisterName(const QString& date)
{
    return u"paiements-"_s + date + u".pdf"_s;
}

QByteArray payoutRegisterPdf(const QString& shop, const QString& period, const QString& date,
                             const QList<RegisterLine>& lines)
{
    return PdfPainter::report(u"Registre des paiements"_s, [&](PdfPainter& page) {
        page.text(shop, page.title(), 10);
        page.text(u"Registre des paiements aux artisans"_s, page.bold());
        const QDate day = strToDate(date);
        page.text(u"Payés le %1%2"_s.arg(day.isValid() ? day.toString(u"yyyy-MM-dd"_s) : date,
                                        period.isEmpty() ? QString() : u", période « "_s + period + u" »"_s),
                  page.normal(), 20);
        page.beginTable({{0.08, 0.37, 0.15, 0.2, 0.2},
                         {false, false, true, false, false},
                         {u"N°"_s, u"Artisan"_s, u"Montant"_s, u"Mode"_s, u"Référence"_s}});
        Money total;
        for (const RegisterLine& l : lines) {
            page.row({QString::number(l.payout.id), l.name, l.payout.amount.format(), l.payout.mode, l.payout.ref});
            total += l.payout.amount;
        }
        page.closeTable(u"Total (%1 paiement(s))"_s.arg(lines.size()), {total.format(), QString(), QString()});
        page.endTable();
        page.gap(3);
        page.text(u"Signature : ______________________________"_s, page.normal());
    });
}
