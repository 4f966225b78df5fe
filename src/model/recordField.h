#pragma once
// The fields of a record as the database file stores them, joined with a
// separator, and why a field could not be read back as it was written: the
// checks the loader, the saver and the imports make of every record.

#include <QList>
#include <QString>
#include <QStringView>

// Whether text can be stored as a field of a record joined with sep ("|:|" or
// ":|:"): empty when it can, otherwise a French message naming the offending
// sequence. A field holding the separator, or ending so that the separator
// following it would be found too early, would split the record on the next
// load; a character a report cannot hold (reportCharProblem) is refused too,
// as this is the check of what is typed.
QString recordFieldProblem(const QString& text, const QString& sep);

// One field of a record as the saver writes it, and how the reader finds its end.
struct RecordField {
    enum Kind {
        Followed,  // a separator follows it: neither holds nor ends like sep
        Last,      // the record ends with it: holds no sep, may end like it
        Remainder, // the reader takes all that remains: any text
    };
    const char* name;
    QString value;
    Kind kind = Followed;
};

// Why a record made of fields joined with sep would not read back as these
// fields: "<owner>, champ « <name> » : <problem>" for the first field that
// cannot be stored as it is, empty when every field can. The loader refuses
// such a record, the saver and the imports too.
QString recordProblem(const QString& owner, const QList<RecordField>& fields, const QString& sep);
// Whether recordProblem would find nothing, without making any text: the
// loader and the saver ask it of every record and build the owner's name and
// the message only for one that fails.
bool recordFits(const RecordField* fields, qsizetype count, QStringView sep);
inline bool recordFits(const QList<RecordField>& fields, QStringView sep)
{
    return recordFits(fields.constData(), fields.size(), sep);
}
// reportCharProblem of the first field holding such a character, as
// "<owner>, champ « <name> » : <problem>"; empty when none does.
QString recordCharProblem(const QString& owner, const QList<RecordField>& fields);
