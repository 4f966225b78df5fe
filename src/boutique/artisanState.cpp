#include "boutique/artisanState.h"

#include "boutique/appState.h"
#include "core/appError.h"
#include "core/textUtil.h"
#include "model/soldSync.h"
#include "model/uArt.h"

#include <algorithm>

using namespace Qt::StringLiterals;

QString displayNameOf(AppState& st, const QString& number)
{
    st.MaxRecs = int(st.numItems.size());
    const qsizetype at = st.numItems.lastIndexOf(number);
    if (at < 0 || at >= st.nameItems.size())
        return QString();
    return st.nameItems.at(at);
}

void rebuildLists(AppState& st)
{
    if (st.artList.isEmpty())
        return;
    st.numItems.clear();
    st.nameItems.clear();
    st.totProdCount = 0;
    for (int i = 0; i < st.artList.count(); ++i) {
        const TArtisan& a = st.artList.at(i);
        st.numItems.append(a.artNo);
        st.nameItems.append(st.artList.displayName(i));
        st.totProdCount += a.products.count();
    }
    displayNameOf(st, st.curArtNo);
}

TArtisan* selectArtisan(AppState& st, int index)
{
    if (st.artList.isEmpty())
        return nullptr;
    if (index == -1)
        index = 0;
    TArtisan& a = st.artList.at(index);
    st.curArtInd = index;
    st.curArtNo = a.artNo;
    st.prodList.assign(a.products);
    st.prodNoList = st.prodList.prodNumbers();
    st.curProdInd = st.prodList.isEmpty() ? -1 : 0;
    return &a;
}

TArtisan& addArtisan(AppState& st, const QString& number)
{
    TArtisan& a = st.artList.append();
    a.artNo = number;
    st.curArtNo = number;
    rebuildLists(st);
    st.prodNoList.clear();
    st.curProdInd = -1;
    selectArtisan(st, st.artList.count() - 1);
    return a;
}

void importArtisan(AppState& st, const TArtList& source, int sourceIndex)
{
    const TArtisan& src = source.at(sourceIndex);
    TArtisan* target = st.artList.current();
    if (!target)
        throw AppError(u"List index out of bounds (%1)"_s.arg(st.artList.count() - 1));
    const QString number = TArtList::artNoFor(st.artList.count());
    target->artNo = number;
    st.curArtNo = number;
    target->nom = src.nom;
    target->prenom = src.prenom;
    target->courriel = src.courriel;
    target->comment = src.comment;
    target->adresse = src.adresse;
    target->ville = src.ville;
    target->CP = src.CP;
    target->tel = src.tel;
    // A comma list, so a file name holding a blank or a comma reads back whole.
    // The name without its folder, whichever separator a stored path uses.
    const QString name = st.importFName.mid(
        qMax(st.importFName.lastIndexOf(QLatin1Char('/')), st.importFName.lastIndexOf(QLatin1Char('\\'))) + 1);
    target->varData = writeCommaList({name, QString::number(sourceIndex)});
    selectArtisan(st, st.artList.count() - 1);
    rebuildLists(st);
}

void saveProdList(AppState& st)
{
    if (st.curArtInd >= 0 && !st.prodNoList.isEmpty())
        st.artList.setProducts(st.curArtInd, st.prodList);
}

void loadProdList(AppState& st)
{
    st.prodList.assign(st.artList.productsOf(st.curArtInd));
}

void renumberAll(AppState& st)
{
    // The sheets' lines follow their products' new numbers.
    renumberProducts(st.artList, st.saleList);
    st.curItem = u"001"_s;
}

QString artisanKept(const AppState& st, int index)
{
    if (st.artList.count() == 1)
        return u"L'artisan %1 est le seul de la base : modifiez-le plutôt que de le supprimer."_s.arg(
            st.artList.displayName(index));
    const TArtisan& a = st.artList.at(index);
    QStringList why;
    // Another artisan holding the same number would take these lines over.
    const int lines = linesPerArtisan(st.saleList).value(a.artNo);
    if (lines > 0)
        why << (lines == 1 ? u"une ligne de feuille de ventes le nomme"_s
                           : u"%1 lignes de feuilles de ventes le nomment"_s.arg(lines));
    int withQuantities = 0;
    for (const TProdList::Ptr& p : a.products.items())
        if (p->qntList.count() > 0 || p->soldList.count() > 0)
            ++withQuantities;
    if (withQuantities > 0)
        why << (withQuantities == 1 ? u"un de ses produits a des quantités reçues ou vendues"_s
                                    : u"%1 de ses produits ont des quantités reçues ou vendues"_s.arg(withQuantities));
    // The journal keeps every payout, and names its artisan by number.
    const auto paid = std::count_if(st.account.payouts().cbegin(), st.account.payouts().cend(),
                                    [&a](const Payout& p) { return p.artNo == a.artNo; });
    if (paid > 0)
        why << (paid == 1 ? u"un paiement lui est inscrit"_s : u"%1 paiements lui sont inscrits"_s.arg(paid));
    if (why.isEmpty())
        return {};
    return u"L'artisan %1 ne peut pas être supprimé : %2. Ses ventes et son stock font partie des comptes de la "
           u"boutique."_s.arg(st.artList.displayName(index), why.join(u" ; "_s));
}

void removeArtisan(AppState& st, int index)
{
    st.artList.removeAt(index);
    selectArtisan(st, std::min(index, st.artList.count() - 1));
    rebuildLists(st);
}
