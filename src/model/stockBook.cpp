#include "model/stockBook.h"

#include "core/textUtil.h"
#include "core/valueStream.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString StockMove::text() const
{
    if (reason == StockReason::Return)
        return u"rendu à l'artisan"_s;
    QString t = u"comptage du %1 : %2 compté(s) pour %3 attendu(s)"_s.arg(countDate).arg(counted).arg(expected);
    if (qnt < 0)
        t += bearer == LossBearer::Boutique ? u", perte à la boutique (%1 crédité)"_s.arg(credit.format())
                                            : u", perte sans crédit"_s;
    return t;
}

QString stockDayNote(const QList<StockMove>& moves, const QString& date, int dayQnt)
{
    QStringList parts;
    int delivered = dayQnt;
    for (const StockMove& m : moves) {
        if (m.date != date)
            continue;
        delivered -= m.qnt;
        parts << m.text() + u" : "_s + QString::number(m.qnt);
    }
    if (parts.isEmpty())
        return {};
    if (delivered != 0)
        parts.prepend(u"livraison "_s + QString::number(delivered));
    return parts.join(u" ; "_s);
}

const StockMove& StockBook::add(StockMove m)
{
    m.id = m_moves.isEmpty() ? 1 : m_moves.last().id + 1;
    m_moves << m;
    return m_moves.last();
}

QList<StockMove> StockBook::movesOf(const QString& artNo, const QString& prodNo) const
{
    QList<StockMove> out;
    for (const StockMove& m : m_moves)
        if (m.prodNo == prodNo && m.artNo == artNo)
            out << m;
    return out;
}

void StockBook::clear()
{
    open.reset();
    m_moves.clear();
}

void StockBook::write(TWriter& w) const
{
    w.writeListBegin();
    for (const StockMove& m : m_moves) {
        w.writeInteger(m.id);
        for (const QString& t : {m.date, m.artNo, m.prodNo})
            w.writeString(t);
        w.writeInteger(m.qnt);
        w.writeInteger(int(m.reason));
        w.writeString(m.countDate);
        w.writeInteger(m.counted);
        w.writeInteger(m.expected);
        w.writeInteger(int(m.bearer));
        w.writeString(m.credit.plainExact());
    }
    w.writeListEnd();
    // The count under way: none is an empty list.
    w.writeListBegin();
    if (open) {
        w.writeString(open->started);
        w.writeString(open->artNo);
        for (const CountLine& l : open->lines) {
            w.writeString(l.artNo);
            w.writeString(l.prodNo);
            w.writeInteger(l.counted);
            w.writeInteger(l.expected);
            w.writeInteger(l.soldAtScan);
        }
    }
    w.writeListEnd();
}

void StockBook::read(TReader& r)
{
    clear();
    r.readListBegin();
    while (!r.endOfList()) {
        StockMove m;
        m.id = r.readInteger();
        m.date = r.readString();
        m.artNo = r.readString();
        m.prodNo = r.readString();
        m.qnt = r.readInteger();
        const int reason = r.readInteger();
        m.countDate = r.readString();
        m.counted = r.readInteger();
        m.expected = r.readInteger();
        const int bearer = r.readInteger();
        const QString credit = r.readString();
        const auto amount = Money::tryParse(credit);
        if (m.id <= (m_moves.isEmpty() ? 0 : m_moves.last().id) || !isDay(m.date) || reason < 0 || reason > 1
            || bearer < 0 || bearer > 1 || !amount)
            r.fail(u"stock movement %1"_s.arg(m.id));
        m.reason = StockReason(reason);
        m.bearer = LossBearer(bearer);
        m.credit = *amount;
        m_moves << m;
    }
    r.readListEnd();
    r.readListBegin();
    if (!r.endOfList()) {
        StockCount c;
        c.started = r.readString();
        c.artNo = r.readString();
        if (!isDay(c.started))
            r.fail(u"stock count of \"%1\""_s.arg(c.started));
        while (!r.endOfList()) {
            CountLine l;
            l.artNo = r.readString();
            l.prodNo = r.readString();
            l.counted = r.readInteger();
            l.expected = r.readInteger();
            l.soldAtScan = r.readInteger();
            if (l.counted < 0)
                r.fail(u"stock count of %1-%2"_s.arg(l.artNo, l.prodNo));
            c.lines << l;
        }
        open = c;
    }
    r.readListEnd();
}
