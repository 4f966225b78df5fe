#include "report/reportCommand.h"

#include "core/appError.h"
#include "core/appState.h"
#include "core/prompt.h"
#include "report/settlement.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

QByteArray line(const QString& text)
{
    return text.toUtf8() + '\n';
}

int runReport(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err)
{
    const QString title = args.at(1);
    const int p = st.repList.indexOfTitle(title);
    if (p < 0) {
        err += line(u"tlvdb: no period titled \"%1\""_s.arg(title));
        return ExitFailed;
    }
    const QString artNo = args.value(3);
    if (!artNo.isEmpty() && st.artList.indexOfArtNo(artNo) < 0) {
        err += line(u"tlvdb: no artisan numbered \"%1\""_s.arg(artNo));
        return ExitFailed;
    }
    // The reports go straight into OUTDIR: it stands for the report folder.
    st.xmlDir = QDir(args.at(2)).absolutePath();
    st.curRepName.clear();
    rebuildLists(st);
    CollectPrompt prompt;
    try {
        if (!artNo.isEmpty()) {
            const ReportFiles f = writeArtisanReport(st, p, artNo, prompt);
            out += line(f.xml) + line(f.html) + line(f.pdf);
            out += line(u"Total: "_s + st.repList.total);
        } else {
            Summary sum;
            writeSettlement(st, p, prompt, &sum);
            for (const SummaryLine& l : sum.lines)
                out += line(u"%1 %2 %3"_s.arg(l.artNo).arg(l.items).arg(l.owed.format()));
            out += line(u"Total: "_s + sum.total.format());
        }
    } catch (const AppError& e) {
        err += line(u"tlvdb: "_s + e.message());
        return ExitFailed;
    }
    return ExitOk;
}

} // namespace

TlvdbCommand tlvdbReportCommand()
{
    return {u"report"_s, 3, 4,
            "       tlvdb report FILE PERIOD OUTDIR [ARTNO]\n"
            "                                       write consignment reports (XML, HTML, PDF)\n"
            "                                       of one artisan, or of all with sales and the summary\n",
            runReport};
}
