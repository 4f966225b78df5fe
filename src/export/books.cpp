#include "export/books.h"

#include "core/textUtil.h"
#include "export/reportDocs.h"
#include "model/account.h"
#include "model/balance.h"
#include "model/uArt.h"
#include "model/uRep.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";

// "2026-12-07": the form every spreadsheet reads as a date.
QString csvDate(const QString& yymmdd)
{
    const QDate d = strToDate(yymmdd);
    return d.isValid() ? d.toString(u"yyyy-MM-dd"_s) : yymmdd;
}

QString nameOf(const TArtList& arts, const QString& artNo)
{
    const int i = arts.indexOfArtNo(artNo);
    if (i < 0)
        return {};
    const TArtisan& a = arts.at(i);
    return (a.nom + u' ' + a.prenom).trimmed();
}

} // namespace

QByteArray csvRecord(const QStringList& fields)
{
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ';';
        QString f = fields.at(i);
        if (f.contains(u';') || f.contains(u'"') || f.contains(u'\n') || f.contains(u'\r'))
            f = u'"' + f.replace(u'"', u"\"\""_s) + u'"';
        out += f.toUtf8();
    }
    return out + "\r\n";
}

QString csvMoney(Money m)
{
    return m.plain().replace(u'.', u',');
}

QString booksArtisansName(const QString& title)
{
    return safeFileName(u"comptable-"_s + title + u"-artisans"_s) + u".csv"_s;
}

QString booksPayoutsName(const QString& title)
{
    return safeFileName(u"comptable-"_s + title + u"-paiements"_s) + u".csv"_s;
}

QByteArray booksArtisansCsv(const BooksInput& in, const TReport& period)
{
    QByteArray out = Bom;
    out += csvRecord({u"Numéro"_s, u"Artisan"_s, u"Ventes"_s, u"Part de la boutique"_s, u"Montant dû"_s,
                      u"Payé dans la période"_s, u"Solde à la fin"_s});
    // Totals add what the rows print: every figure is already in cents.
    Money sales, shop, due, paid, balance;
    for (const QString& no : accountArtNos(in.book, in.arts, in.account)) {
        const AccountFigures f =
            accountFigures(in.book, in.arts, in.account, in.fallback, no, period.startDate, period.endDate);
        if (f.sales.isZero() && f.earned.isZero() && f.paid.isZero() && f.after().isZero())
            continue;
        out += csvRecord({no, nameOf(in.arts, no), csvMoney(f.sales), csvMoney(f.shop()), csvMoney(f.earned),
                          csvMoney(f.paid), csvMoney(f.after())});
        sales += f.sales;
        shop += f.shop();
        due += f.earned;
        paid += f.paid;
        balance += f.after();
    }
    out += csvRecord({u"Total"_s, QString(), csvMoney(sales), csvMoney(shop), csvMoney(due), csvMoney(paid),
                      csvMoney(balance)});
    return out;
}

QByteArray booksPayoutsCsv(const BooksInput& in, const TReport& period)
{
    QByteArray out = Bom;
    out += csvRecord({u"N°"_s, u"Date"_s, u"Numéro"_s, u"Artisan"_s, u"Montant"_s, u"Mode"_s, u"Référence"_s,
                      u"Période réglée"_s, u"Note"_s, u"Annule le n°"_s});
    Money total;
    for (const Payout& p : in.account.payouts()) {
        if (p.date < period.startDate || p.date > period.endDate)
            continue;
        out += csvRecord({QString::number(p.id), csvDate(p.date), p.artNo, nameOf(in.arts, p.artNo),
                          csvMoney(p.amount), p.mode, p.ref, p.period, p.note,
                          p.reverses ? QString::number(p.reverses) : QString()});
        total += p.amount;
    }
    out += csvRecord({u"Total"_s, QString(), QString(), QString(), csvMoney(total)});
    return out;
}

QStringList writeBooks(const BooksInput& in, const TReport& period, const QString& outDir,
                       const SafeWriteOptions& options)
{
    const QDir dir(outDir);
    const QString artisans = dir.filePath(booksArtisansName(period.title));
    const QString payouts = dir.filePath(booksPayoutsName(period.title));
    // Both made before either is written: a sum that cannot be held writes nothing.
    const QByteArray a = booksArtisansCsv(in, period);
    const QByteArray p = booksPayoutsCsv(in, period);
    safeWriteFile(artisans, a, options);
    safeWriteFile(payouts, p, options);
    return {artisans, payouts};
}
