#include "boutique/textPlaces.h"

#include "boutique/appState.h"
#include "core/textUtil.h"

using namespace Qt::StringLiterals;

QStringList placesHolding(const AppState& st, QChar c, int max)
{
    QStringList out;
    const auto fields = [&](const QList<RecordField>& list, const auto& owner) {
        for (const RecordField& f : list)
            if (out.size() < max && f.value.contains(c))
                out << u"%1, champ « %2 »"_s.arg(owner(), QString::fromLatin1(f.name));
    };
    for (int i = 0; out.size() < max && i < st.artList.count(); ++i) {
        const TArtisan& a = st.artList.at(i);
        fields(a.recordFields(), [&] { return u"Artisan %1"_s.arg(a.artNo); });
        for (int k = 0; out.size() < max && k < a.products.count(); ++k) {
            const TProduit& p = a.products.at(k);
            fields(p.checkedFields(), [&] { return u"Artisan %1, produit %2"_s.arg(a.artNo, p.prodNo); });
        }
    }
    for (int i = 0; out.size() < max && i < st.saleList.count(); ++i) {
        const TSaleItem& s = st.saleList.at(i);
        for (const RecordField& f : s.recordFields()) {
            if (out.size() >= max || !f.value.contains(c))
                continue;
            if (qstrcmp(f.name, "lines") != 0) {
                out << u"Feuille %1, champ « %2 »"_s.arg(s.date, QString::fromLatin1(f.name));
                continue;
            }
            const QStringList lines = readCommaList(s.lines);
            for (qsizetype k = 0; out.size() < max && k < lines.size(); ++k)
                if (lines.at(k).contains(c))
                    out << u"Feuille %1, ligne %2"_s.arg(s.date).arg(k + 1);
        }
    }
    for (int i = 0; out.size() < max && i < st.repList.count(); ++i) {
        const TReport& r = st.repList.at(i);
        fields(r.recordFields(), [&] { return u"Période « %1 »"_s.arg(r.title); });
    }
    return out;
}
