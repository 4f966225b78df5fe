#include "boutique/boutique.h"

#include "boutique/artisanState.h"
#include "core/textUtil.h"
#include "model/soldSync.h"

using namespace Qt::StringLiterals;

Boutique::Boutique(QObject* parent) : QObject(parent) {}

void Boutique::changed(Change what, bool modifies, const QObject* by)
{
    switch (what) {
    case Change::Artisans:
        emit artisansChanged();
        break;
    case Change::Products:
        emit productsChanged();
        break;
    case Change::Sheets:
        emit sheetsChanged();
        break;
    case Change::Periods:
        emit periodsChanged(by);
        break;
    case Change::Account:
        emit accountChanged();
        break;
    }
    if (modifies)
        setModified(true);
}

void Boutique::setModified(bool modified)
{
    m_st.modified = modified;
    announce();
}

void Boutique::fileReplaced()
{
    emit fileChanged();
    announce();
}

void Boutique::announce()
{
    if (m_said == m_st.modified)
        return;
    m_said = m_st.modified;
    emit modifiedChanged(m_said);
}

LoadResult Boutique::load(const QString& path, Prompt& prompt)
{
    const LoadResult result = loadDB(path, m_st, prompt);
    if (result == LoadResult::Loaded && !m_st.account.inFile)
        recordShares(m_st);
    announce();
    return result;
}

void Boutique::save(const QString& path)
{
    saveDB(path, m_st);
    announce();
}

void Boutique::startAnew()
{
    m_st.curArtNo = u"001"_s;
    m_st.curItem.clear();
    m_st.curArtInd = 0;
    m_st.totProdCount = 0;
    m_st.account.clear();
    // The sheets and periods go even when no artisan is left: they are the
    // old boutique's history, not the new one's.
    m_st.saleList.clear();
    m_st.repList.clear();
    if (m_st.artList.count() > 0) {
        m_st.numItems.clear();
        m_st.nameItems.clear();
        m_st.prodNoList.clear();
        m_st.artList.clear();
        m_st.prodList.clear();
    }
}

TArtisan* Boutique::selectArtisan(int index)
{
    TArtisan* a = ::selectArtisan(m_st, index);
    if (a)
        emit artisanSelected();
    return a;
}

void Boutique::addSheet(const QString& date, const QString& agent)
{
    m_st.saleList.addSheet(date, agent);
    m_st.saleList.sortByDate(); // the ledger stays newest first
    changed(Change::Sheets);
}

QString Boutique::storeSheet(int i, const QString& date, const QString& agent, const QString& shownTotal,
                             const QStringList& saleLines)
{
    const TSaleItem& s = m_st.saleList.at(i);
    const bool edited = s.date != date || s.agent != agent || s.lines != writeCommaList(saleLines);
    const QString status = m_st.saleList.storeSheet(i, date, agent, edited ? shownTotal : s.total, saleLines);
    if (edited)
        changed(Change::Sheets);
    return status;
}

void Boutique::redateSheet(int i, const QString& date)
{
    ::redateSheet(m_st.artList, m_st.saleList, i, date);
    changed(Change::Sheets);
}

void Boutique::deleteSheet(int i)
{
    ::deleteSheet(m_st.artList, m_st.saleList, i);
    changed(Change::Sheets);
}

const Payout& Boutique::pay(const Payout& payout)
{
    const Payout& made = m_st.account.pay(payout);
    changed(Change::Account);
    return made;
}

QList<Payout> Boutique::pay(const QList<Payout>& payouts)
{
    QList<Payout> made;
    for (const Payout& p : payouts)
        made << m_st.account.pay(p);
    changed(Change::Account);
    return made;
}

const Payout& Boutique::reversePayout(int id, const QString& date, const QString& note)
{
    const Payout& made = m_st.account.reverse(id, date, note);
    changed(Change::Account);
    return made;
}

void Boutique::setGone(const QString& artNo, const QString& since)
{
    if (since.isEmpty())
        m_st.account.gone.remove(artNo);
    else
        m_st.account.gone.insert(artNo, since);
    changed(Change::Account);
}

void Boutique::replaceAccount(Account account)
{
    m_st.account = std::move(account);
    changed(Change::Account);
}

int Boutique::recordCount(const QList<CountDiff>& diffs, const QString& date)
{
    const int n = recordAdjustments(m_st.artList, m_st.account, diffs, date, ShareRule{m_st.artSharePercent});
    changed(Change::Account);
    changed(Change::Products);
    return n;
}

QList<StockMove> Boutique::recordReturn(const QString& artNo, const QList<ReturnLine>& lines, const QString& date)
{
    QList<StockMove> moves = ::recordReturn(m_st.artList, m_st.account, artNo, lines, date);
    changed(Change::Account);
    changed(Change::Products);
    return moves;
}
