#pragma once
// The longest text each typed or imported field takes: far more than any
// real name, address or description, little enough that lists, keys and
// printouts stay quick. Files that already hold longer texts still load.

#include <QList>
#include <QString>

struct RecordField;

// Characters a field (by its record name: "nom", "descript", "title"...)
// takes at most when typed or imported; 0 for a field without a limit.
int fieldLimit(const char* name);
// The tool tip of an edit box of that limit: "Au plus 80 caractères."
QString limitHint(int limit);
// "<owner>, champ « nom » : 1200 caractères, au plus 80 sont admis." for
// the first field over its limit; empty when none is.
QString lengthProblem(const QString& owner, const QList<RecordField>& fields);
