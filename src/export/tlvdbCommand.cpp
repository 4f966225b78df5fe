#include "export/tlvdbCommand.h"

#include "boutique/appState.h"
#include "core/safeWrite.h"
#include "model/saleRows.h"

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QString nodeKind(unsigned mode)
{
    if (S_ISDIR(mode))
        return u"a folder"_s;
    if (S_ISFIFO(mode))
        return u"a named pipe (FIFO)"_s;
    if (S_ISSOCK(mode))
        return u"a socket"_s;
    return u"a device"_s;
}

} // namespace

QString outputRefusedText(const QString& out, const QStringList& inputs)
{
    const OutputClash clash = outputClash(out, inputs);
    switch (clash.kind) {
    case OutputClash::Kind::None:
        break;
    case OutputClash::Kind::SameAsInput:
        return u"%1 is the file %2 being read: it is not replaced"_s.arg(out, clash.input);
    case OutputClash::Kind::NotRegular:
        return u"%1 is %2, not a regular file: nothing is written through it"_s.arg(out, nodeKind(clash.mode));
    }
    return {};
}

bool soldAnywhere(AppState& st, const QString& artNo)
{
    // Sold in some period: within the span of a period, not merely on a sheet.
    const SaleBook& book = st.repList.book(st.saleList);
    for (int p = 0; p < st.repList.count(); ++p)
        if (!book.artisanRows(p, artNo).empty())
            return true;
    return false;
}
