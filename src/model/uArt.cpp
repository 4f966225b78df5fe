#include "model/uArt.h"

#include "core/appError.h"
#include "core/cp1252.h"
#include "core/textPool.h"
#include "core/textUtil.h"
#include "core/valueStream.h"
#include "model/soldSync.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void indexError(int index)
{
    throw AppError(u"List index out of bounds (%1)"_s.arg(index));
}

// One character of a key: the user-perceived character (a letter with its
// accents, an emoji with its modifiers) as one Windows-1252 character, its
// base letter when it has no such form, else "_". A key of whole 8-bit
// characters keeps the artisan number at its fixed position for every reader.
QChar keyChar(QStringView cluster)
{
    const auto plain = [](QChar c) {
        const char16_t u = c.unicode();
        return cp1252::fits(c) && u >= 0x20 && u != 0x7F && (u < 0x80 || u >= 0xA0);
    };
    const QString composed = cluster.toString().normalized(QString::NormalizationForm_C);
    if (composed.size() == 1 && plain(composed.front()))
        return composed.front();
    const QString decomposed = composed.normalized(QString::NormalizationForm_D);
    if (!decomposed.isEmpty() && plain(decomposed.front()) && !decomposed.front().isMark())
        return decomposed.front();
    return u'_';
}

QString tagHalf(const QString& text)
{
    const qsizetype ascii = std::min<qsizetype>(text.size(), 4);
    if (std::all_of(text.begin(), text.begin() + ascii, [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; }))
        return text.left(3).leftJustified(3, QLatin1Char('_'));
    // Three characters lie well within the first few dozen code units.
    const QString head = text.left(96);
    QString half;
    QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, head);
    qsizetype from = 0;
    while (half.size() < 3 && from < head.size()) {
        chars.setPosition(from);
        qsizetype to = chars.toNextBoundary();
        if (to <= from)
            to = head.size();
        half += keyChar(QStringView(head).mid(from, to - from));
        from = to;
    }
    return half.leftJustified(3, QLatin1Char('_'));
}

} // namespace

// --- TArtisan -----------------------------------------------------------------

QString TArtisan::artRecord() const
{
    QString rec;
    for (const QString* f : {&artNo, &nom, &prenom, &adresse, &ville, &CP, &tel, &courriel,
                             &varData, &comment})
        rec += *f + REC_SEP;
    return rec;
}

void TArtisan::setArtRecord(const QString& record)
{
    QString rec = record;
    for (QString* f : {&artNo, &nom, &prenom, &adresse, &ville, &CP, &tel, &courriel, &varData,
                       &comment})
        *f = takeField(rec, REC_SEP);
}

QString TArtisan::storeProblem() const
{
    const QList<RecordField> f = recordFields();
    return recordFits(f, REC_SEP) ? QString() : recordProblem(u"Artisan %1"_s.arg(artNo), f, REC_SEP);
}

QList<RecordField> TArtisan::recordFields() const
{
    return {{"artNo", artNo},
            {"nom", nom},
            {"prenom", prenom},
            {"adresse", adresse},
            {"ville", ville},
            {"CP", CP},
            {"tel", tel},
            {"courriel", courriel},
            {"varData", varData},
            {"comment", comment}};
}

QString TArtisan::artTag() const
{
    return tagHalf(nom) + tagHalf(prenom);
}

// --- TArtList -----------------------------------------------------------------

TArtisan& TArtList::at(int index)
{
    if (index < 0 || index >= count())
        indexError(index);
    m_current = m_items[size_t(index)].get();
    return *m_current;
}

const TArtisan& TArtList::at(int index) const
{
    if (index < 0 || index >= count())
        indexError(index);
    return *m_items[size_t(index)];
}

TArtisan& TArtList::append()
{
    m_items.push_back(std::make_unique<TArtisan>());
    m_current = m_items.back().get();
    return *m_current;
}

void TArtList::clear()
{
    m_items.clear();
    m_current = nullptr;
}

void TArtList::removeAt(int index)
{
    at(index);
    m_items.erase(m_items.begin() + index);
    m_current = nullptr;
}

TArtList& TArtList::operator=(TArtList&& other) noexcept
{
    m_items = std::exchange(other.m_items, {});
    m_current = std::exchange(other.m_current, nullptr);
    return *this;
}

void TArtList::writeArtisans(TWriter& w) const
{
    w.writeListBegin();
    for (const auto& a : m_items) {
        if (const QString why = a->storeProblem(); !why.isEmpty())
            throw AppError(why);
        w.writeString(a->artRecord());
        a->products.writeProducts(w);
    }
    w.writeListEnd();
}

void TArtList::readArtisans(TReader& r, int dbVersion, int& totProdCount)
{
    clear();
    totProdCount = 0;
    TextPool pool;
    r.readListBegin();
    while (!r.endOfList()) {
        const QString rec = r.readString();
        TArtisan read;
        read.setArtRecord(rec);
        if (const QString why = read.storeProblem(); !why.isEmpty())
            r.fail(why);
        TArtisan& a = append();
        a.setArtRecord(rec);
        if (dbVersion > 1) {
            a.products.readProducts(r, pool);
            totProdCount += a.products.count();
        }
    }
    r.readListEnd();
}

int TArtList::indexOfArtNo(const QString& number) const
{
    if (number.isEmpty())
        return -1;
    for (int i = 0; i < count(); ++i)
        if (m_items[size_t(i)]->artNo == number)
            return i;
    return -1;
}

QString TArtList::displayName(int index) const
{
    const TArtisan& a = at(index);
    return a.nom + u" "_s + a.prenom + u" ("_s + a.artNo + u")"_s;
}

QString TArtList::tagLine(int index) const
{
    return at(index).artTag() + u"    *"_s + QString::number(index);
}

QStringList TArtList::fillItems(int mode) const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items.append(mode == 0 ? displayName(i) : tagLine(i));
    return items;
}

QString TArtList::csvLine(int index) const
{
    if (isEmpty())
        return QString();
    const TArtisan& a = at(index);
    QString line = a.artNo;
    for (const QString* f : {&a.nom, &a.prenom, &a.adresse, &a.ville, &a.CP, &a.tel, &a.courriel})
        line += u",\""_s + quoted(*f) + u"\""_s;
    return line;
}

QString TArtList::varSource(const TArtisan& artisan, QString* importFName)
{
    if (artisan.varData.isEmpty())
        return QString();
    if (importFName)
        *importFName = getCommaItem(artisan.varData, 0);
    return getCommaItem(artisan.varData, 1);
}

int TArtList::varSourceIndex(int index, QString* importFName) const
{
    const QString source = varSource(at(index), importFName);
    return source.isEmpty() ? -1 : strToIntDef(source, -1);
}

TProdList& TArtList::productsOf(int index)
{
    return at(index).products;
}

void TArtList::setProducts(int index, const TProdList& products)
{
    at(index).products.assign(products);
}

void TArtList::setImportedProdNo(int index, int prodIndex, const QString& number)
{
    at(index).products.setProdNo(prodIndex, number);
}

int TArtList::totalProducts() const
{
    int total = 0;
    for (const auto& a : m_items)
        total += a->products.count();
    return total;
}

