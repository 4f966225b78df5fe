#include "model/artShare.h"

#include "core/textUtil.h"
#include "model/account.h"
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

std::optional<Money> ValeurLookup::valeur(const QString& artNo, const QString& prodNo)
{
    auto of = m_values.find(artNo);
    if (of == m_values.end()) {
        of = m_values.insert(artNo, {});
        const int a = m_arts.indexOfArtNo(artNo);
        if (a >= 0)
            for (const auto& p : m_arts.at(a).products.items())
                of->insert(p->prodNo, p->valeur);
    }
    // The "Valeur" the user typed for the product.
    const QString text = stripDollar(of->value(prodNo)).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return Money::tryParse(text);
}

std::optional<Money> rowShare(const SaleRow& r, ValeurLookup& values, const ShareRule& rule)
{
    if (!rule.byValeur())
        return r.amount.percentOf(rule.percent);
    const auto v = values.valeur(r.artNo, r.prodNo);
    if (!v)
        return std::nullopt;
    return (*v * r.qnt).roundedToCent();
}

ShareSplit shareOf(std::vector<SaleRow>& rows, const TArtList& arts, const ShareRule& rule, const Account* account)
{
    ShareSplit split;
    ValeurLookup values(arts);
    // Where the last recorded share of each date was found: rows come in
    // line order, so the next one is usually just after it.
    QHash<QString, qsizetype> next;
    const auto noValeur = [&split](const SaleRow& r) {
        const QString name = r.prodNo + u' ' + r.descript.trimmed();
        if (!split.missing.contains(name))
            split.missing << name;
    };
    for (SaleRow& r : rows) {
        r.check();
        split.sales += r.amount;
        r.due = Money();
        if (const QList<LineShare>* recorded = account ? account->sharesOn(r.date) : nullptr) {
            qsizetype& from = next[r.date];
            const qsizetype n = recorded->size();
            qsizetype found = -1;
            for (qsizetype k = 0; k < n && found < 0; ++k)
                if (recorded->at((from + k) % n).matches(r))
                    found = (from + k) % n;
            if (found >= 0) {
                from = found + 1;
                r.due = recorded->at(found).due;
                split.due += r.due;
                // Recorded at 0 for want of a Valeur, and still without one.
                if (r.due.isZero() && r.qnt != 0 && account->ruleAt(r.artNo, r.date, rule).byValeur()
                    && !values.valeur(r.artNo, r.prodNo))
                    noValeur(r);
                continue;
            }
        }
        const ShareRule applied = account ? account->ruleAt(r.artNo, r.date, rule) : rule;
        const std::optional<Money> due = rowShare(r, values, applied);
        if (!due) {
            noValeur(r);
            continue;
        }
        r.due = *due;
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
