#include "model/fieldLimits.h"

#include "model/uProd.h"

#include <cstring>

using namespace Qt::StringLiterals;

int fieldLimit(const char* name)
{
    static const struct {
        const char* name;
        int limit;
    } limits[] = {
        {"nom", 80},        {"prenom", 80},   {"adresse", 200}, {"ville", 80},    {"CP", 20},
        {"tel", 40},        {"courriel", 200}, {"comment", 4000}, {"descript", 500}, {"valeur", 20},
        {"prix", 20},       {"agent", 60},    {"title", 80},    {"shopName", 120},
    };
    for (const auto& l : limits)
        if (std::strcmp(l.name, name) == 0)
            return l.limit;
    return 0;
}

QString limitHint(int limit)
{
    return u"Au plus %1 caractères."_s.arg(limit);
}

QString lengthProblem(const QString& owner, const QList<RecordField>& fields)
{
    for (const RecordField& f : fields) {
        const int limit = fieldLimit(f.name);
        if (limit > 0 && f.value.size() > limit)
            return u"%1, champ « %2 » : %3 caractères, au plus %4 sont admis."_s.arg(owner, QString::fromLatin1(f.name))
                .arg(f.value.size())
                .arg(limit);
    }
    return {};
}
