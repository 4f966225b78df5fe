#include "model/artShare.h"

#include "core/textUtil.h"
#include "model/uArt.h"
#include "model/saleRows.h"

#include <QHash>

using namespace Qt::StringLiterals;

QString ShareRule::text() const
{
    if (byValeur())
        return u"valeur des produits × quantité"_s;
    return u"%1 % du prix de vente"_s.arg(percent);
}

ShareSplit shareOf(std::vector<SaleRow>& rows, const TArtList& arts, const ShareRule& rule)
{
    ShareSplit split;
    // The products' values by artisan and product number, of the artisans met.
    QHash<QString, QHash<QString, QString>> values;
    for (SaleRow& r : rows) {
        r.check();
        split.sales += r.amount;
        r.due = Money();
        if (!rule.byValeur()) {
            r.due = r.amount.percentOf(rule.percent);
            split.due += r.due;
            continue;
        }
        if (!values.contains(r.artNo)) {
            QHash<QString, QString>& of = values[r.artNo];
            const int a = arts.indexOfArtNo(r.artNo);
            if (a >= 0)
                for (const auto& p : arts.at(a).products.items())
                    of.insert(p->prodNo, p->valeur);
        }
        // The "Valeur" the user typed for the product.
        const QString valeur = stripDollar(values.value(r.artNo).value(r.prodNo)).trimmed();
        const auto v = Money::tryParse(valeur);
        if (valeur.isEmpty() || !v) {
            const QString name = r.prodNo + u' ' + r.descript.trimmed();
            if (!split.missing.contains(name))
                split.missing << name;
            continue;
        }
        r.due = (*v * r.qnt).roundedToCent();
        split.due += r.due;
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
