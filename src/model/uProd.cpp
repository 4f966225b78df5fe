#include "model/uProd.h"

#include "core/appError.h"
#include "core/money.h"
#include "core/textPool.h"
#include "core/textUtil.h"
#include "core/valueStream.h"
#include "core/uXMLTag.h"
#include "model/soldSync.h"
#include "model/uRep.h"
#include "model/uSale.h"

#include <QDomElement>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void indexError(int index)
{
    throw AppError(u"List index out of bounds (%1)"_s.arg(index));
}

// Sum of the quantities of a list, skipping position skip; raises the integer
// error on a quantity that is not an integer, before anything changes.
[[noreturn]] void quantitySumError()
{
    throw RangeError(u"Quantité hors limites : la somme des quantités dépasse ce que le programme peut tenir."_s,
                     u"quantity out of range: the sum of the quantities cannot be held"_s);
}

int sumQnt(const TQnt& list, int skip = -1)
{
    qint64 sum = 0;
    for (int i = 0; i < list.count(); ++i) {
        if (i == skip)
            continue;
        sum += strToInt(list.at(i).qnt);
        if (sum < std::numeric_limits<int>::min() || sum > std::numeric_limits<int>::max())
            quantitySumError();
    }
    return int(sum);
}

// valeur or prix read as an amount: a blank text is 0, other text that is not
// an amount raises the conversion error naming it.
Money moneyOf(const QString& text)
{
    const QString plain = stripDollar(text).trimmed();
    if (plain.isEmpty())
        return Money();
    if (const auto m = Money::tryParse(plain))
        return *m;
    throw AppError(u"'%1' is not a valid floating point value"_s.arg(plain));
}

} // namespace

QString quoted(const QString& text)
{
    QString out = text;
    return out.replace(QLatin1Char('"'), u"\"\""_s);
}

QString numberText(int n)
{
    return (u"00"_s + QString::number(n)).right(3);
}

// --- TProduit -----------------------------------------------------------------

QList<RecordField> TProduit::recordFields() const
{
    // A total that cannot be computed keeps its previous text.
    QString sold = soldQnt;
    QString tot = totQnt;
    try {
        sold = soldList.totalQntStr();
    } catch (const AppError&) {
    }
    try {
        tot = qntList.totalQntStr();
    } catch (const AppError&) {
    }
    return recordFields(sold, tot, true);
}

QList<RecordField> TProduit::recordFields(const QString& sold, const QString& tot, bool packed) const
{
    return {{"artNo", artNo},
            {"prodNo", prodNo},
            {"descript", descript},
            {"valeur", valeur},
            {"prix", prix},
            {"qntStr", packed ? qntList.qntText(2) : QString()},
            {"soldStr", packed ? soldList.qntText(2) : QString()},
            {"soldQnt", sold},
            {"totQnt", tot},
            {"reserved1", reserved1},
            {"reserved2", reserved2},
            {"reserved3", reserved3, RecordField::Last}};
}

QList<RecordField> TProduit::checkedFields() const
{
    QList<RecordField> f = recordFields(QString(), QString(), false);
    // A total that is computed is a number; otherwise its previous text stays.
    const auto total = [](const TQnt& list, const QString& previous) {
        try {
            (void)list.totalQnt();
            return QString();
        } catch (const AppError&) {
            return previous;
        }
    };
    if (!qntList.isPlain())
        f[5].value = qntList.qntText(2);
    if (!soldList.isPlain())
        f[6].value = soldList.qntText(2);
    f[7].value = total(soldList, soldQnt);
    f[8].value = total(qntList, totQnt);
    return f;
}

namespace {
QString problemOf(const TProduit& p, const QList<RecordField>& fields)
{
    if (recordFits(fields, PROD_SEP))
        return QString();
    return recordProblem(u"Artisan %1, produit %2"_s.arg(p.artNo, p.prodNo), fields, PROD_SEP);
}
} // namespace

QString TProduit::storeProblem() const
{
    return problemOf(*this, checkedFields());
}

QString TProduit::storedRecord()
{
    int in = 0;
    int sold = 0;
    const bool computed = qntList.isPlain() && soldList.isPlain() && [&] {
        try {
            in = qntList.totalQnt();
            sold = soldList.totalQnt();
            return true;
        } catch (const AppError&) {
            return false;
        }
    }();
    if (!computed) {
        const QList<RecordField> f = recordFields();
        if (const QString why = problemOf(*this, f); !why.isEmpty())
            throw AppError(why);
        return joinFields(f);
    }
    // Nearly every product: the packed lists and the totals are digits,
    // signs and commas, which fit; the other fields are checked as they are.
    // The record is made in one text and the stored texts are replaced only
    // where they changed (a save goes through every product).
    const RecordField kept[] = {{"artNo", artNo},         {"prodNo", prodNo},
                                {"descript", descript},   {"valeur", valeur},
                                {"prix", prix},           {"reserved1", reserved1},
                                {"reserved2", reserved2}, {"reserved3", reserved3, RecordField::Last}};
    if (!recordFits(kept, std::size(kept), PROD_SEP))
        throw AppError(problemOf(*this, recordFields()));
    QString rec;
    rec.reserve(artNo.size() + prodNo.size() + descript.size() + valeur.size() + prix.size()
                + qntStr.size() + soldStr.size() + reserved1.size() + reserved2.size()
                + reserved3.size() + 11 * PROD_SEP.size() + 32);
    const auto field = [&rec](const QString& text) {
        rec += text;
        rec += PROD_SEP;
    };
    // The text just appended from at replaces member when it differs.
    const auto refresh = [&rec](QString& member, qsizetype at) {
        const QStringView made(rec.constData() + at, rec.size() - at);
        if (member != made)
            member = made.toString();
        rec += PROD_SEP;
    };
    for (const QString* f : {&artNo, &prodNo, &descript, &valeur, &prix})
        field(*f);
    qsizetype at = rec.size();
    qntList.appendPacked(rec);
    refresh(qntStr, at);
    at = rec.size();
    soldList.appendPacked(rec);
    refresh(soldStr, at);
    at = rec.size();
    rec += QString::number(sold);
    refresh(soldQnt, at);
    at = rec.size();
    rec += QString::number(in);
    refresh(totQnt, at);
    field(reserved1);
    field(reserved2);
    rec += reserved3;
    return rec;
}

QString TProduit::prodRecord()
{
    return joinFields(recordFields());
}

QString TProduit::joinFields(const QList<RecordField>& f)
{
    qntStr = f.at(5).value;
    soldStr = f.at(6).value;
    soldQnt = f.at(7).value;
    totQnt = f.at(8).value;
    qsizetype size = 0;
    for (const RecordField& x : f)
        size += x.value.size() + PROD_SEP.size();
    QString record;
    record.reserve(size);
    for (const RecordField& x : f) {
        if (&x != &f.front())
            record += PROD_SEP;
        record += x.value;
    }
    return record;
}

void TProduit::setProdRecord(const QString& record)
{
    TextPool none;
    setProdRecord(record, none);
}

void TProduit::setProdRecord(const QString& record, TextPool& pool)
{
    // Each field runs to the next separator; once none is left, every later
    // field is all that remains.
    QStringView rest(record);
    QString* const fields[] = {&artNo,  &prodNo,  &descript, &valeur,    &prix,      &qntStr,
                               &soldStr, &soldQnt, &totQnt,   &reserved1, &reserved2, &reserved3};
    for (QString* f : fields) {
        const qsizetype at = rest.indexOf(PROD_SEP);
        const QStringView v = at < 0 ? rest : rest.left(at);
        *f = f == &descript || f == &qntStr || f == &soldStr ? v.toString() : pool.get(v);
        if (at >= 0)
            rest = rest.mid(at + PROD_SEP.size());
    }
    qntList.setQntText(qntStr);
    soldList.setQntText(soldStr);
}

int TProduit::availableOf(int in, int sold)
{
    const qint64 left = qint64(in) - qint64(sold);
    if (left < std::numeric_limits<int>::min() || left > std::numeric_limits<int>::max())
        throw RangeError(u"Quantité hors limites : le stock (%1 reçus, %2 vendus) dépasse ce que le programme "
                         "peut tenir."_s.arg(in).arg(sold),
                         u"quantity out of range: stock of %1 received, %2 sold cannot be held"_s.arg(in).arg(sold));
    return int(left);
}

QString TProduit::availableStr()
{
    const int in = qntList.totalQnt();
    const int sold = soldList.totalQnt();
    const int left = availableOf(in, sold);
    totIn = in;
    totSold = sold;
    available = left;
    return QString::number(available);
}

void TProduit::addSold(const QString& date, const QString& qnt)
{
    const qint64 q = strToInt(qnt);
    const int in = qntList.totalQnt();
    // Checked before anything changes: a sum out of range leaves the product as it was.
    const qint64 after = soldList.totalQnt() + q;
    if (after < std::numeric_limits<int>::min() || after > std::numeric_limits<int>::max())
        quantitySumError();
    availableOf(in, int(after));
    soldList.addQnt(date, qnt);
    const int sold = soldList.totalQnt();
    const int left = availableOf(in, sold);
    totIn = in;
    totSold = sold;
    available = left;
}

void TProduit::delSold(const QString& date)
{
    const int index = soldList.findDate(date);
    if (index < 0)
        return;
    const int sold = sumQnt(soldList, index);
    const int left = availableOf(totIn, sold);
    soldList.deleteAt(index);
    totSold = sold;
    available = left;
}

void TProduit::setSold(const QString& date, const QString& qnt)
{
    if (soldList.count() == 0)
        return;
    const int index = soldList.findDate(date);
    if (index >= 0)
        soldList.setQntAt(index, qnt);
}

QString TProduit::soldValue(const QString& qnt) const
{
    const int q = strToInt(qnt);
    if (q == 0)
        return QString();
    return (moneyOf(valeur) * q).format(); // a return (q < 0) takes its value back
}

QString TProduit::unitAmount(const QString& qnt, const QString& price)
{
    const int q = strToIntDef(qnt, 0);
    if (q == 0)
        return QString();
    return (moneyOf(price) * q).format();
}

QString TProduit::itemXML() const
{
    // A description that starts with a double quote is read back through
    // dequote: written quoted, it comes back whole.
    const QString dsc =
        descript.startsWith(QLatin1Char('"')) ? u"\""_s + quoted(descript) + u"\""_s : descript;
    return u"<item id=\""_s + xmlStrictAttrEscape(prodNo) + u"\" dsc=\""_s + xmlStrictAttrEscape(dsc) +
           u"\">"_s + TXMLUtil::xmlTag(u"qntStr"_s, xmlStrictEscape(qntList.qntText(3))) +
           TXMLUtil::xmlTag(u"totQnt"_s, xmlStrictEscape(totQnt)) +
           TXMLUtil::xmlTag(u"soldQnt"_s, xmlStrictEscape(soldQnt)) +
           TXMLUtil::xmlTag(u"valeur"_s, xmlStrictEscape(valeur)) +
           TXMLUtil::xmlTag(u"prix"_s, xmlStrictEscape(prix)) + u"</item>"_s;
}

void TProduit::readItemXML(const QDomElement& item)
{
    prodNo = item.attribute(u"id"_s);
    descript = item.attribute(u"dsc"_s);
    if (descript.startsWith(QLatin1Char('"')))
        descript = dequote(descript);
    QList<QDomElement> children;
    for (QDomElement e = item.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        children.append(e);
    auto childText = [&children](int i) {
        return i < children.size() ? children.at(i).text() : QString();
    };
    qntStr = childText(0);
    valeur = childText(3);
    prix = childText(4);
}

// --- TProdList ----------------------------------------------------------------

const TProdList::Ptr& TProdList::ptrAt(int index) const
{
    if (index < 0 || index >= m_items.size())
        indexError(index);
    return m_items.at(index);
}

TProduit& TProdList::at(int index)
{
    m_current = ptrAt(index);
    return *m_current;
}

const TProduit& TProdList::at(int index) const
{
    return *ptrAt(index);
}

TProduit& TProdList::append(Ptr p)
{
    if (!p)
        p = std::make_shared<TProduit>();
    m_items.append(p);
    m_current = std::move(p);
    return *m_current;
}

void TProdList::removeAt(int index)
{
    const Ptr p = ptrAt(index);
    m_items.removeAt(index);
    if (m_current == p)
        m_current.reset();
}

void TProdList::clear()
{
    m_items.clear();
    m_current.reset();
}

void TProdList::assign(const TProdList& other)
{
    if (&other == this)
        return;
    m_items = other.m_items;
    m_current.reset();
}

void TProdList::writeProducts(TWriter& w) const
{
    w.writeListBegin();
    for (const Ptr& p : m_items) {
        // Never write a record that would read back as another product.
        w.writeString(p->storedRecord());
    }
    w.writeListEnd();
}

void TProdList::readProducts(TReader& r, TextPool& pool)
{
    clear();
    r.readListBegin();
    while (!r.endOfList()) {
        const QString rec = r.readString();
        auto p = std::make_shared<TProduit>();
        p->setProdRecord(rec, pool);
        // What cannot be saved back as it was read is refused here, not
        // changed on the next save.
        if (const QString why = p->storeProblem(); !why.isEmpty())
            r.fail(why);
        append(std::move(p));
    }
    r.readListEnd();
}

TProduit& TProdList::addProduct(const QString& number, const QString& artNo,
                                const QString& today)
{
    auto p = std::make_shared<TProduit>();
    p->artNo = artNo;
    p->prodNo = number;
    p->qntList.addQnt(today, u"0"_s);
    return append(std::move(p));
}

TProduit& TProdList::addImported(const TProduit& source, const QString& artNo,
                                 const QString& prodNo, const QString& today)
{
    Ptr p;
    if (m_items.size() >= 2 && m_items.last()->descript.isEmpty())
        p = m_items.last();
    else
        p = std::make_shared<TProduit>();
    // Copy first: source may be the very product being reused.
    const QString descript = source.descript;
    const QString valeur = source.valeur;
    const QString prix = source.prix;
    p->artNo = artNo;
    p->prodNo = prodNo;
    p->descript = descript;
    p->valeur = valeur;
    p->prix = prix;
    p->qntList.addQnt(today, u"1"_s);
    if (m_items.isEmpty() || m_items.last() != p)
        m_items.append(p);
    m_current = p;
    return *p;
}

void TProdList::renumber()
{
    for (int i = 0; i < m_items.size(); ++i)
        m_items.at(i)->prodNo = numberFor(i);
}

void TProdList::setProdNo(int index, const QString& number)
{
    at(index).prodNo = number;
}

QString TProdList::productField(int index, int selector)
{
    TProduit& p = at(index);
    switch (selector) {
    case 0: return p.artNo;
    case 1: return p.prodNo;
    case 2: return p.descript;
    case 3: return p.qntStr;
    case 5: return p.valeur;
    case 6: return p.prix;
    default: return QString();
    }
}

QStringList TProdList::prodNumbers() const
{
    QStringList numbers;
    numbers.reserve(m_items.size());
    for (const Ptr& p : m_items)
        numbers.append(p->prodNo);
    return numbers;
}

void TProdList::addReceived(int index, const QString& date, const QString& qnt)
{
    at(index).qntList.addQnt(date, qnt);
}

void TProdList::delReceived(int index, int position)
{
    at(index).qntList.deleteAt(position);
}

void TProdList::sortReceived(int index)
{
    at(index).qntList.sortEvents();
}

QString TProdList::receivedTotalStr(int index)
{
    return at(index).qntList.totalQntStr();
}

void TProdList::addSoldAt(int index, const QString& date, const QString& qnt)
{
    at(index).addSold(date, qnt);
}

void TProdList::delSoldAt(int index, const QString& date)
{
    at(index).delSold(date);
}

void TProdList::setSoldAt(int index, const QString& date, const QString& qnt)
{
    at(index).setSold(date, qnt);
}

QString TProdList::qntInfo(int index, int which)
{
    if (index < 0 || index >= m_items.size())
        return u"na"_s;
    TProduit& p = at(index);
    p.availableStr();
    switch (which) {
    case 0: return QString::number(p.totIn);
    case 1: return QString::number(p.totSold);
    default: return QString::number(p.available);
    }
}

QString TProdList::saleLine(int index, const QString& date)
{
    if (m_items.isEmpty())
        return QString();
    TProduit& p = at(index);
    const QString sold = p.soldList.qntAt(date);
    return p.prodNo + u",\""_s + quoted(p.descript) + u"\","_s + p.availableStr() + u","_s + p.prix +
           u","_s + sold + u","_s + TProduit::unitAmount(sold, p.prix);
}

QString TProdList::listLine(int index)
{
    TProduit& p = at(index);
    return p.prodNo + u",\""_s + quoted(p.descript) + u"\","_s + p.qntList.totalQntStr() + u","_s +
           p.valeur + u","_s + p.prix;
}

QString TProdList::importLine(int index)
{
    TProduit& p = at(index);
    const QString linked =
        p.prodNo.startsWith(QLatin1Char('*')) ? p.prodNo.mid(1) : QString();
    return numberFor(index) + u",\""_s + quoted(p.descript) + u"\","_s + p.valeur + u","_s + p.prix +
           u","_s + linked;
}

QString TProdList::getCurInvent(const QString& artNo, TSaleList& sales, TRepList& reps)
{
    sales.results.clear();
    reps.spareLines.clear();
    QStringList rows;
    for (const Ptr& p : m_items) {
        if (p->artNo != artNo)
            continue;
        p->availableStr();
        rows.append(writeCommaList({p->prodNo, p->descript, QString::number(p->totIn),
                                    QString::number(p->totSold), QString::number(p->available)}));
    }
    return writeCommaList(rows);
}

QString TProdList::itemXML(int index)
{
    return at(index).itemXML();
}

QString TProdList::itemsXML() const
{
    QString out;
    for (const Ptr& p : m_items)
        out += u"\t\t"_s + p->itemXML() + QLatin1Char('\n');
    return out;
}

