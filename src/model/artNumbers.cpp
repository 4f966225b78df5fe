#include "model/artNumbers.h"

#include "core/textUtil.h"
#include "model/soldSync.h"
#include "model/uArt.h"
#include "model/uSale.h"

#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The artisan number a text holds (1..999); 0 for any other text.
int numberOf(const QString& artNo)
{
    bool ok = false;
    const int n = artNo.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= MAX_ART_NO ? n : 0;
}

// One above the highest number used; past MAX_ART_NO the lowest unused one;
// 0 when every number is used.
int freeNumber(const QSet<int>& used)
{
    int top = 0;
    for (int n : used)
        top = std::max(top, n);
    if (top < MAX_ART_NO)
        return top + 1;
    for (int n = 1; n <= MAX_ART_NO; ++n)
        if (!used.contains(n))
            return n;
    return 0;
}

QSet<int> numbersOf(const TArtList& arts)
{
    QSet<int> used;
    for (int i = 0; i < arts.count(); ++i)
        if (const int n = numberOf(arts.at(i).artNo))
            used.insert(n);
    return used;
}

QString nameOf(const TArtisan& a)
{
    return (a.nom + u' ' + a.prenom).trimmed();
}

} // namespace

QString nextArtisanNumber(const TArtList& arts, const TSaleList& sales)
{
    QSet<int> used = numbersOf(arts);
    const QHash<QString, int> lines = linesPerArtisan(sales);
    for (auto it = lines.cbegin(); it != lines.cend(); ++it)
        if (const int n = numberOf(it.key()))
            used.insert(n);
    const int n = freeNumber(used);
    return n ? TArtList::artNoFor(n) : QString();
}

QStringList duplicateArtNos(const TArtList& arts)
{
    QHash<QString, int> seen;
    QStringList twice;
    for (int i = 0; i < arts.count(); ++i)
        if (++seen[arts.at(i).artNo] == 2)
            twice << arts.at(i).artNo;
    return twice;
}

QStringList duplicateArtNoLines(const TArtList& arts, bool french)
{
    QStringList out;
    for (const QString& no : duplicateArtNos(arts)) {
        QStringList names;
        for (int i = 0; i < arts.count(); ++i)
            if (arts.at(i).artNo == no)
                names << nameOf(arts.at(i));
        out << (french ? u"Le numéro d'artisan %1 est porté par plusieurs artisans : %2."_s
                       : u"duplicate artisan number %1: %2"_s)
                   .arg(no, names.join(u", "_s));
    }
    return out;
}

QStringList giveFreeNumbers(TArtList& list)
{
    QSet<int> used = numbersOf(list);
    QSet<QString> seen;
    QStringList notes;
    for (int i = 0; i < list.count(); ++i) {
        TArtisan& a = list.at(i);
        const bool taken = seen.contains(a.artNo) || !numberOf(a.artNo);
        seen.insert(a.artNo);
        if (!taken)
            continue;
        const int n = freeNumber(used);
        if (!n)
            break;
        used.insert(n);
        const QString was = a.artNo;
        a.artNo = TArtList::artNoFor(n);
        seen.insert(a.artNo);
        notes << u"%1 (%2) reçoit le numéro %3"_s.arg(nameOf(a), was, a.artNo);
    }
    return notes;
}

