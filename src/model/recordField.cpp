#include "model/recordField.h"

#include "core/textUtil.h"
#include "core/valueStream.h"

#include <span>

using namespace Qt::StringLiterals;

namespace {

// Whether text + sep reads back with text as the field before sep: sep is
// not in text, and no end of text begins a sep that the reader would find
// before the one that follows.
bool separatorFits(QStringView text, QStringView sep)
{
    if (text.contains(sep))
        return false;
    for (qsizetype k = 1; k < sep.size() && k <= text.size(); ++k)
        if (text.right(k) == sep.left(k) && sep.left(sep.size() - k) == sep.mid(k))
            return false;
    return true;
}

// What would split the record on the next load. Characters a report cannot
// hold do not: a file holding them loads and saves (its reports replace them).
QString separatorProblem(const QString& text, const QString& sep)
{
    if (text.contains(sep))
        return u"Le texte ne peut pas contenir la suite « %1 », qui sépare les champs "
               u"de la fiche : retirez-la."_s.arg(sep);
    // The separator that follows the field must be found where it starts.
    const QString joined = text + sep;
    const qsizetype at = joined.indexOf(sep);
    if (at != text.size()) {
        const QString tail = text.mid(at);
        return u"Le texte ne peut pas se terminer par « %1 » : suivi du séparateur « %2 » "
               u"des champs de la fiche, il serait mal relu. Retirez « %1 »."_s.arg(tail, sep);
    }
    return QString();
}

} // namespace

QString recordFieldProblem(const QString& text, const QString& sep)
{
    const QString chars = reportCharProblem(text);
    return chars.isEmpty() ? separatorProblem(text, sep) : chars;
}

bool recordFits(const RecordField* fields, qsizetype count, QStringView sep)
{
    for (const RecordField& f : std::span(fields, size_t(count))) {
        if (!isStorable(f.value))
            return false;
        if (f.kind == RecordField::Followed && !separatorFits(f.value, sep))
            return false;
        if (f.kind == RecordField::Last && f.value.contains(sep))
            return false;
    }
    return true;
}

QString recordProblem(const QString& owner, const QList<RecordField>& fields, const QString& sep)
{
    if (recordFits(fields, sep))
        return QString();
    for (const RecordField& f : fields) {
        QString problem;
        if (!isStorable(f.value))
            problem = u"Le texte contient un caractère qui ne peut pas être enregistré."_s;
        else if (f.kind == RecordField::Followed)
            problem = separatorProblem(f.value, sep);
        else if (f.kind == RecordField::Last && f.value.contains(sep))
            problem = separatorProblem(f.value, sep);
        if (!problem.isEmpty())
            return u"%1, champ « %2 » : %3"_s.arg(owner, QString::fromLatin1(f.name), problem);
    }
    return QString();
}

QString recordCharProblem(const QString& owner, const QList<RecordField>& fields)
{
    for (const RecordField& f : fields)
        if (const QString problem = reportCharProblem(f.value); !problem.isEmpty())
            return u"%1, champ « %2 » : %3"_s.arg(owner, QString::fromLatin1(f.name), problem);
    return QString();
}
