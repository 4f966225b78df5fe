#include "model/artShare.h"

#include "core/textUtil.h"
#include "model/uArt.h"
#include "model/uSale.h"

#include <QHash>

using namespace Qt::StringLiterals;

QString ShareRule::text() const
{
    if (byValeur())
        return u"valeur des produits × quantité"_s;
    return u"%1 % du prix de vente"_s.arg(percent);
}

ShareSplit shareOf(const QStringList& rows, const TArtList& arts, const ShareRule& rule)
{
    ShareSplit split;
    // The products' values by artisan and product number, of the artisans met.
    QHash<QString, QHash<QString, QString>> values;
    for (const QString& row : rows) {
        const QStringList f = readCommaList(row);
        const Money amount = saleAmount(f.value(4), f.value(5));
        split.sales += amount;
        if (!rule.byValeur())
            continue;
        const QString artNo = f.value(1).trimmed();
        if (!values.contains(artNo)) {
            QHash<QString, QString>& of = values[artNo];
            const int a = arts.indexOfArtNo(artNo);
            if (a >= 0)
                for (const auto& p : arts.at(a).products.items())
                    of.insert(p->prodNo, p->valeur);
        }
        const QString valeur = stripDollar(values.value(artNo).value(f.value(2).trimmed())).trimmed();
        const auto v = Money::tryParse(valeur);
        if (valeur.isEmpty() || !v) {
            const QString name = f.value(2).trimmed() + u' ' + f.value(3).trimmed();
            if (!split.missing.contains(name))
                split.missing << name;
            continue;
        }
        split.due += *v * strToIntDef(f.value(5).trimmed(), 0);
    }
    if (!rule.byValeur()) {
        // Rounded half away from zero to the type's four decimals.
        const qint64 scaled = (Money::fromUnits(split.sales.units()) * rule.percent).units();
        split.due = Money::fromUnits((scaled + (scaled < 0 ? -50 : 50)) / 100);
    }
    return split;
}

QString missingValeurWarning(const QStringList& missing)
{
    if (missing.isEmpty())
        return {};
    return u"Attention : produits sans « Valeur », comptés 0 dans le montant dû : "_s + missing.join(u", "_s)
           + u'.';
}
