#include "model/account.h"

#include "core/appError.h"
#include "core/textPool.h"
#include "core/textUtil.h"
#include "core/valueStream.h"
#include "model/saleRows.h"
#include "model/uArt.h"
#include "model/uSale.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

Money readMoney(TReader& r)
{
    const QString text = r.readString();
    const auto m = Money::tryParse(text);
    if (!m)
        r.fail(u"amount \"%1\" in the account"_s.arg(text));
    return *m;
}

} // namespace

bool LineShare::matches(const SaleRow& row) const
{
    return row.qnt == qnt && row.price == price && row.prodNo == prodNo && row.artNo == artNo;
}

// --- share rules ---

std::optional<ShareRule> Account::ownRuleAt(const QString& artNo, const QString& date) const
{
    // Changes are kept by date; the last one on or before date is in force.
    std::optional<ShareRule> rule;
    for (const RuleChange& c : m_rules)
        if (c.artNo == artNo && c.from <= date)
            rule = ShareRule{c.percent};
    // -1: the artisan is back under the boutique's rule.
    if (rule && rule->percent < 0 && !artNo.isEmpty())
        return std::nullopt;
    return rule;
}

ShareRule Account::ruleAt(const QString& artNo, const QString& date, ShareRule fallback) const
{
    if (const auto own = ownRuleAt(artNo, date))
        return *own;
    return ownRuleAt(QString(), date).value_or(fallback);
}

void Account::setRule(const QString& artNo, const QString& from, int percent)
{
    const auto same = [&](const RuleChange& c) { return c.artNo == artNo && c.from == from; };
    m_rules.removeIf(same);
    const auto after = std::find_if(m_rules.begin(), m_rules.end(), [&](const RuleChange& c) { return from < c.from; });
    m_rules.insert(after, RuleChange{from, artNo, percent});
    ++m_revision;
}

// --- recorded shares ---

const QList<LineShare>* Account::sharesOn(const QString& date) const
{
    const auto it = m_shares.constFind(date);
    return it == m_shares.cend() ? nullptr : &it->lines;
}

int Account::recordDate(DateShares& d, const std::vector<SaleRow>& rows, ValeurLookup& values, ShareRule fallback)
{
    QList<LineShare> old = std::move(d.lines);
    QList<bool> used(old.size(), false);
    d.lines.clear();
    int recorded = 0;
    for (const SaleRow& r : rows) {
        LineShare s{r.artNo, r.prodNo, r.qnt, r.price, Money()};
        qsizetype k = 0;
        while (k < old.size() && (used.at(k) || !old.at(k).matches(r)))
            ++k;
        if (k < old.size()) {
            used[k] = true;
            s.due = old.at(k).due;
        } else {
            if (r.fault)
                continue; // an amount that cannot be held earns nothing to record
            s.due = rowShare(r, values, ruleAt(r.artNo, r.date, fallback)).value_or(Money());
            ++recorded;
        }
        d.lines << s;
    }
    return recorded;
}

int Account::recordShares(const TSaleList& sales, const TArtList& arts, ShareRule fallback)
{
    // The sheets of each date (one, unless a file holds two of a date), and
    // what their lines hash to: a date whose lines did not change is skipped.
    QHash<QString, std::pair<size_t, QList<int>>> dates;
    for (int i = 0; i < sales.count(); ++i) {
        const TSaleItem& sheet = sales.at(i);
        auto& [hash, sheets] = dates[sheet.date];
        hash = qHashMulti(hash, sheet.lines) | 1; // never 0, which means "not yet compared"
        sheets << i;
    }
    int recorded = 0;
    // One lookup for every date: each artisan's Valeurs are read once; and
    // one copy of each number kept, however many lines name it.
    ValeurLookup values(arts);
    TextPool pool;
    QMap<QString, DateShares> kept;
    for (auto it = dates.cbegin(); it != dates.cend(); ++it) {
        DateShares d = m_shares.take(it.key());
        if (d.linesHash != it->first) {
            std::vector<SaleRow> rows;
            for (const int i : it->second)
                for (SaleRow& r : sheetRows(sales.at(i), &pool))
                    rows.push_back(std::move(r));
            recorded += recordDate(d, rows, values, fallback);
            d.linesHash = it->first;
        }
        if (!d.lines.isEmpty())
            kept.insert(it.key(), std::move(d));
    }
    // What is left named lines no longer on any sheet.
    const bool forgot = !m_shares.isEmpty();
    m_shares = std::move(kept);
    if (recorded > 0 || forgot)
        ++m_revision;
    return recorded;
}

QStringList Account::reshare(const TArtList& arts, ShareRule fallback, const QString& artNo, const QString& from)
{
    QStringList changed;
    ValeurLookup values(arts);
    for (auto it = m_shares.begin(); it != m_shares.end(); ++it) {
        if (it.key() < from)
            continue;
        for (LineShare& s : it->lines) {
            // Lines of an artisan with a rule of their own keep it when the
            // boutique's changes.
            if (artNo.isEmpty() ? ownRuleAt(s.artNo, it.key()).has_value() : s.artNo != artNo)
                continue;
            if (it.key() <= lastPaidOn(s.artNo))
                continue; // already paid: its share stays
            SaleRow r;
            r.date = it.key();
            r.artNo = s.artNo;
            r.prodNo = s.prodNo;
            r.price = s.price;
            r.qnt = s.qnt;
            r.amount = (s.price * s.qnt).roundedToCent();
            const Money due = rowShare(r, values, ruleAt(s.artNo, it.key(), fallback)).value_or(Money());
            if (due == s.due)
                continue;
            changed << u"%1 %2-%3 %4 -> %5"_s.arg(it.key(), s.artNo, s.prodNo, s.due.format(), due.format());
            s.due = due;
        }
    }
    if (!changed.isEmpty())
        ++m_revision;
    return changed;
}

// --- payouts ---

QString payoutProblem(const Payout& p, const QStringList& knownArtNos)
{
    if (!knownArtNos.contains(p.artNo))
        return u"Aucun artisan ne porte le numéro « %1 »."_s.arg(p.artNo);
    if (!isDay(p.date))
        return u"« %1 » n'est pas une date (aammjj)."_s.arg(p.date);
    if (p.amount.isZero())
        return u"Un paiement de 0.00$ n'est pas enregistré."_s;
    // Far beyond any payout, and small enough for every sum of them.
    constexpr qint64 Limit = qint64(10'000'000) * Money::Scale;
    if (p.amount.units() > Limit || p.amount.units() < -Limit)
        return u"Le montant %1 dépasse ce que le programme enregistre (10 000 000.00$)."_s.arg(p.amount.format());
    if (p.amount != p.amount.roundedToCent())
        return u"Le montant %1 n'est pas en cents."_s.arg(p.amount.plainExact());
    if (!PAYOUT_MODES.contains(p.mode))
        return u"Mode de paiement inconnu : « %1 » (%2)."_s.arg(p.mode, PAYOUT_MODES.join(u", "_s));
    return {};
}

const Payout& Account::pay(Payout p)
{
    p.id = m_payouts.isEmpty() ? 1 : m_payouts.last().id + 1;
    p.reverses = 0;
    if (p.amount.units() < 0)
        throw AppError(u"Un paiement est un montant positif ; pour le corriger, annulez-le."_s);
    m_payouts << p;
    ++m_revision;
    return m_payouts.last();
}

bool Account::isReversed(int id) const
{
    return std::any_of(m_payouts.cbegin(), m_payouts.cend(), [id](const Payout& p) { return p.reverses == id; });
}

const Payout& Account::reverse(int id, const QString& date, const QString& note)
{
    const auto it = std::find_if(m_payouts.cbegin(), m_payouts.cend(), [id](const Payout& p) { return p.id == id; });
    if (it == m_payouts.cend() || it->reverses != 0)
        throw AppError(u"Aucun paiement numéro %1 à annuler."_s.arg(id));
    if (isReversed(id))
        throw AppError(u"Le paiement numéro %1 est déjà annulé."_s.arg(id));
    if (!isDay(date))
        throw AppError(u"« %1 » n'est pas une date (aammjj)."_s.arg(date));
    Payout r = *it;
    r.id = m_payouts.last().id + 1;
    r.date = date;
    r.amount = Money() - it->amount;
    r.note = note;
    r.reverses = id;
    m_payouts << r;
    ++m_revision;
    return m_payouts.last();
}

Money Account::paidTo(const QString& artNo, const QString& from, const QString& to) const
{
    Money sum;
    for (const Payout& p : m_payouts)
        if (p.artNo == artNo && (from.isEmpty() || p.date >= from) && (to.isEmpty() || p.date <= to))
            sum += p.amount;
    return sum;
}

QString Account::lastPaidOn(const QString& artNo) const
{
    QString last;
    for (const Payout& p : m_payouts)
        if (p.artNo == artNo && p.reverses == 0 && !isReversed(p.id) && p.date > last)
            last = p.date;
    return last;
}

// --- file ---

bool Account::isEmpty() const
{
    return m_rules.isEmpty() && m_payouts.isEmpty() && m_shares.isEmpty() && gone.isEmpty()
        && sharesRecordedOn.isEmpty() && stock.isEmpty();
}

void Account::clear()
{
    m_rules.clear();
    m_payouts.clear();
    m_shares.clear();
    gone.clear();
    sharesRecordedOn.clear();
    stock.clear();
    inFile = false;
    ++m_revision;
}

void Account::write(TWriter& w) const
{
    w.writeListBegin();
    w.writeString(sharesRecordedOn);
    w.writeListBegin();
    for (const RuleChange& c : m_rules) {
        w.writeString(c.from);
        w.writeString(c.artNo);
        w.writeInteger(c.percent);
    }
    w.writeListEnd();
    w.writeListBegin();
    for (const Payout& p : m_payouts) {
        w.writeInteger(p.id);
        for (const QString& t : {p.artNo, p.date, p.amount.plainExact(), p.mode, p.ref, p.period, p.note})
            w.writeString(t);
        w.writeInteger(p.reverses);
    }
    w.writeListEnd();
    w.writeListBegin();
    QStringList goneNos = gone.keys();
    goneNos.sort();
    for (const QString& no : std::as_const(goneNos)) {
        w.writeString(no);
        w.writeString(gone.value(no));
    }
    w.writeListEnd();
    w.writeListBegin();
    for (auto it = m_shares.cbegin(); it != m_shares.cend(); ++it) {
        w.writeString(it.key());
        w.writeListBegin();
        for (const LineShare& s : it->lines) {
            w.writeString(s.artNo);
            w.writeString(s.prodNo);
            w.writeString(QString::number(s.qnt));
            w.writeString(s.price.plainExact());
            w.writeString(s.due.plainExact());
        }
        w.writeListEnd();
    }
    w.writeListEnd();
    stock.write(w);
    w.writeListEnd();
}

void Account::read(TReader& r, int version)
{
    clear();
    r.readListBegin();
    sharesRecordedOn = r.readString();
    r.readListBegin();
    while (!r.endOfList()) {
        RuleChange c;
        c.from = r.readString();
        c.artNo = r.readString();
        c.percent = r.readInteger();
        if (c.percent < (c.artNo.isEmpty() ? 0 : -1) || c.percent > 100 || (!c.from.isEmpty() && !isDay(c.from)))
            r.fail(u"share rule \"%1 %2 %3\""_s.arg(c.from, c.artNo).arg(c.percent));
        setRule(c.artNo, c.from, c.percent);
    }
    r.readListEnd();
    r.readListBegin();
    while (!r.endOfList()) {
        Payout p;
        p.id = r.readInteger();
        p.artNo = r.readString();
        p.date = r.readString();
        p.amount = readMoney(r);
        p.mode = r.readString();
        p.ref = r.readString();
        p.period = r.readString();
        p.note = r.readString();
        p.reverses = r.readInteger();
        // Ids only grow: the next payout takes the last one plus one.
        if (p.id <= (m_payouts.isEmpty() ? 0 : m_payouts.last().id) || p.reverses < 0 || p.reverses >= p.id)
            r.fail(u"payout %1"_s.arg(p.id));
        m_payouts << p;
    }
    r.readListEnd();
    r.readListBegin();
    while (!r.endOfList()) {
        const QString no = r.readString();
        gone.insert(no, r.readString());
    }
    r.readListEnd();
    r.readListBegin();
    while (!r.endOfList()) {
        const QString date = r.readString();
        DateShares& d = m_shares[date];
        r.readListBegin();
        while (!r.endOfList()) {
            LineShare s;
            s.artNo = r.readString();
            s.prodNo = r.readString();
            bool ok = false;
            s.qnt = r.readString().toLongLong(&ok);
            if (!ok)
                r.fail(u"quantity of a recorded share of %1"_s.arg(date));
            s.price = readMoney(r);
            s.due = readMoney(r);
            d.lines << s;
        }
        r.readListEnd();
    }
    r.readListEnd();
    if (version >= 2)
        stock.read(r);
    r.readListEnd();
    inFile = true;
    ++m_revision;
}
