// The document's operations on the artisans, their products, the periods,
// the sale being edited and the open stock count.

#include "boutique/artisanState.h"
#include "boutique/boutique.h"
#include "boutique/productState.h"
#include "core/appError.h"
#include "core/textUtil.h"
#include "model/recordField.h"
#include "model/uRep.h"

#include <algorithm>

using namespace Qt::StringLiterals;

// --- artisans ---------------------------------------------------------------

void Boutique::refreshNames(int index)
{
    if (m_st.artList.isEmpty())
        return;
    if (index < 0)
        ::rebuildLists(m_st);
    else if (index < m_st.nameItems.count())
        m_st.nameItems[index] = m_st.artList.displayName(index);
    else
        return;
    changed(Change::Artisans, false);
}

TArtisan& Boutique::addArtisan(const QString& number)
{
    TArtisan& a = ::addArtisan(m_st, number);
    changed(Change::Artisans);
    return a;
}

bool Boutique::storeArtisan(int index, const ArtisanFields& values)
{
    for (const QString& v : values) {
        const QString problem = recordFieldProblem(v, REC_SEP);
        if (!problem.isEmpty())
            throw AppError(problem);
    }
    TArtisan& a = m_st.artList.at(index);
    QString* fields[] = {&a.artNo, &a.nom, &a.prenom, &a.adresse, &a.ville, &a.CP, &a.tel, &a.courriel, &a.comment};
    bool edited = false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (*fields[i] != values[i]) {
            *fields[i] = values[i];
            edited = true;
        }
    }
    if (edited)
        changed(Change::Artisans);
    return edited;
}

void Boutique::importArtisan(int target, const TArtList& source, int sourceIndex)
{
    TArtisan& artisan = m_st.artList.at(target);
    const QString number = artisan.artNo;
    ::importArtisan(m_st, source, sourceIndex);
    artisan.artNo = number;
    changed(Change::Artisans);
}

void Boutique::removeArtisan(int index)
{
    ::removeArtisan(m_st, index);
    changed(Change::Artisans);
}

void Boutique::takeArtisans(TArtList&& list)
{
    m_st.artList = std::move(list);
    changed(Change::Artisans);
}

// --- products ---------------------------------------------------------------

bool Boutique::storeProduct(int index, const ProductEntry& entry)
{
    const QString problem = recordFieldProblem(entry.descript, PROD_SEP);
    if (!problem.isEmpty())
        throw AppError(problem);
    TProduit& p = m_st.prodList.at(index);
    const bool edited = entry.descript != p.descript || entry.valeur != p.valeur || entry.prix != p.prix
                        || entry.received.qntText(2) != p.qntList.qntText(2);
    p.descript = entry.descript;
    p.valeur = entry.valeur;
    p.prix = entry.prix;
    p.qntList = entry.received;
    // A delivery re-dated in its row takes its place by date.
    if (!inDateOrder(p.qntList))
        p.qntList.sortEvents();
    try {
        p.totIn = p.qntList.totalQnt();
    } catch (const AppError&) {
        // A quantity of an older program that is not a number keeps the total.
    }
    if (edited)
        changed(Change::Products);
    return edited;
}

void Boutique::addDelivery(int index, const QString& date, const QString& qnt)
{
    TProduit& p = m_st.prodList.at(index);
    TQnt events = p.qntList;
    events.addQnt(date, qnt);
    events.totalQnt(); // a sum out of range leaves the product as it was
    if (!inDateOrder(events))
        events.sortEvents();
    p.qntList = std::move(events);
    changed(Change::Products);
}

bool Boutique::removeDelivery(int index, int row)
{
    TProduit& p = m_st.prodList.at(index);
    if (row < 0 || row >= p.qntList.count())
        return false;
    p.qntList.deleteAt(row);
    changed(Change::Products);
    return true;
}

bool Boutique::sortDeliveries(int index)
{
    TProduit& p = m_st.prodList.at(index);
    const QString before = p.qntList.qntText(2);
    p.qntList.sortEvents();
    if (p.qntList.qntText(2) == before)
        return false;
    changed(Change::Products);
    return true;
}

void Boutique::keepProducts()
{
    if (m_st.curArtInd >= 0 && m_st.curArtInd < m_st.artList.count())
        m_st.artList.setProducts(m_st.curArtInd, m_st.prodList);
}

TProduit& Boutique::addProduct(const QString& number)
{
    TProduit& p = ::addProduct(m_st, number);
    keepProducts();
    changed(Change::Products);
    return p;
}

TProduit& Boutique::addImportedProduct(const TProduit& source, const QString& number)
{
    TProduit& p = ::addImported(m_st, source, number);
    m_st.prodNoList = m_st.prodList.prodNumbers();
    keepProducts();
    changed(Change::Products);
    return p;
}

void Boutique::removeProduct(int index)
{
    m_st.prodList.at(index); // out of the list: AppError, nothing removed
    m_st.prodList.removeAt(index);
    m_st.prodNoList.removeAt(index);
    keepProducts();
    changed(Change::Products);
}

void Boutique::renumberProducts()
{
    ::renumberAll(m_st);
    changed(Change::Products);
}

// --- periods ----------------------------------------------------------------

QStringList Boutique::periodRecords() const
{
    QStringList records;
    for (int i = 0; i < m_st.repList.count(); ++i)
        if (m_st.repList.at(i).title != ALL_PERIOD_TITLE)
            records << m_st.repList.at(i).record();
    return records;
}

void Boutique::periodsEdited(const QStringList& recordsBefore, const QObject* by)
{
    m_st.repList.updateAllPeriod(m_st.saleList);
    m_st.repList.refreshTitles();
    changed(Change::Periods, periodRecords() != recordsBefore, by);
}

// --- the sale being edited ----------------------------------------------------

void Boutique::setSold(TProduit& p, const QString& date, int qnt)
{
    const QString text = QString::number(qnt);
    const int at = p.soldList.findDate(date);
    if (at >= 0)
        p.soldList.setQntAt(at, text);
    else
        p.addSold(date, text);
    p.availableStr();
    changed(Change::Sheets);
}

void Boutique::clearSold(TProduit& p, const QString& date)
{
    p.delSold(date);
    p.availableStr();
    changed(Change::Sheets);
}

void Boutique::restoreSold(const QList<std::pair<TProduit*, TQnt>>& before)
{
    for (const auto& [p, sold] : before) {
        p->soldList = sold;
        p->availableStr();
    }
    if (!before.isEmpty())
        changed(Change::Sheets);
}

// --- the open stock count -----------------------------------------------------

void Boutique::openCount(StockCount count)
{
    m_st.account.stock.open = std::move(count);
    changed(Change::Account);
}

void Boutique::dropCount(bool modifiedAfter)
{
    m_st.account.stock.open.reset();
    setModified(modifiedAfter);
}

ScanResult Boutique::countScan(const QString& key)
{
    const ScanResult r = scanKey(m_st.account.stock.open.value(), m_st.artList, key);
    if (r.kind == ScanResult::Counted)
        setModified(true);
    return r;
}

int Boutique::countChosen(int artisan, int product)
{
    const int line = countProduct(m_st.account.stock.open.value(), m_st.artList, artisan, product);
    setModified(true);
    return line;
}

void Boutique::setCounted(int line, int counted)
{
    StockCount& c = m_st.account.stock.open.value();
    if (line < 0 || line >= c.lines.size())
        throw AppError(u"List index out of bounds (%1)"_s.arg(line));
    c.lines[line].counted = counted;
    setModified(true);
}
