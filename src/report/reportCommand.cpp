#include "report/reportCommand.h"

#include "boutique/artisanState.h"
#include "core/appError.h"
#include "boutique/appState.h"
#include "export/reportDocs.h"
#include "export/tlvdbCommand.h"
#include "report/settlement.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QByteArray line(const QString& text)
{
    return text.toUtf8() + '\n';
}

// The files the command would write in dir for these artisan numbers.
QStringList outputFiles(const QString& dir, const QStringList& artNos, bool summary)
{
    QStringList files;
    for (const QString& no : artNos)
        for (const char* ext : {".xml", ".html", ".pdf"})
            files << dir + safeFileName(u"c"_s + no) + QLatin1String(ext);
    if (summary)
        files << dir + SUMMARY_NAME + u".html"_s << dir + SUMMARY_NAME + u".pdf"_s;
    return files;
}

// The first refusal of an output: the database itself, or no regular file.
QString refusedOutput(const QString& input, const QStringList& outputs)
{
    for (const QString& f : outputs)
        if (const QString why = outputRefusedText(f, {input}); !why.isEmpty())
            return why;
    return {};
}

int runReport(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err)
{
    const QString title = args.at(1);
    const QString outDir = args.at(2);
    const QString artNo = args.value(3);
    if (outDir.isEmpty() || (args.size() > 3 && artNo.isEmpty())) {
        err += line(outDir.isEmpty() ? u"tlvdb: OUTDIR must not be empty"_s : u"tlvdb: ARTNO must not be empty"_s);
        return ExitUsage;
    }
    const int p = st.repList.indexOfTitle(title);
    if (p < 0) {
        err += line(u"tlvdb: no period titled \"%1\""_s.arg(title));
        return ExitFailed;
    }
    // An artisan removed from the list still has its sales in the sheets.
    const QStringList known = settlementArtNos(st, p);
    if (!artNo.isEmpty() && !known.contains(artNo) && !soldAnywhere(st, artNo)) {
        err += line(u"tlvdb: no artisan numbered \"%1\""_s.arg(artNo));
        return ExitFailed;
    }
    // The reports go straight into OUTDIR: it stands for the report folder.
    const QString dir = QDir(outDir).absolutePath() + u'/';
    const QString clash = refusedOutput(args.at(0), outputFiles(dir, artNo.isEmpty() ? known : QStringList{artNo},
                                                                artNo.isEmpty()));
    if (!clash.isEmpty()) {
        err += line(u"tlvdb: "_s + clash);
        return ExitFailed;
    }
    if (!QDir().mkpath(dir)) {
        err += line(u"tlvdb: cannot create the folder %1"_s.arg(outDir));
        return ExitFailed;
    }
    rebuildLists(st);
    bool sales = true;
    try {
        if (!artNo.isEmpty()) {
            const ReportFiles f = writeArtisanReport(st, p, artNo, dir);
            const ShareSplit split = statementFor(st, statementHeader(st, p), artNo).split;
            out += line(f.xml) + line(f.html) + line(f.pdf);
            out += line(u"Total: "_s + split.sales.format()) + line(u"Due: "_s + split.due.format());
            sales = !st.repList.rangeLines.isEmpty();
        } else {
            Summary sum;
            writeSettlement(st, p, dir, &sum);
            // The summary also lists artisans with only a balance; they sold nothing.
            sales = false;
            for (const SummaryLine& l : sum.lines)
                if (l.items != 0 || !l.sales.isZero()) {
                    out += line(u"%1 %2 %3"_s.arg(l.artNo).arg(l.items).arg(l.owed.format()));
                    sales = true;
                }
            out += line(u"Total: "_s + sum.sales.format()) + line(u"Due: "_s + sum.total.format());
        }
    } catch (const RangeError& e) {
        err += line(u"tlvdb: "_s + e.english());
        return ExitFailed;
    } catch (const AppError& e) {
        err += line(u"tlvdb: "_s + e.message());
        return ExitFailed;
    }
    if (!sales) {
        err += line(u"tlvdb: no sales in period \"%1\""_s.arg(title)
                    + (artNo.isEmpty() ? QString() : u" for artisan \"%1\""_s.arg(artNo)));
        return ExitNoSales;
    }
    return ExitOk;
}

} // namespace

TlvdbCommand tlvdbReportCommand()
{
    return {u"report"_s, 3, 4,
            "       tlvdb report FILE PERIOD OUTDIR [ARTNO]\n"
            "                                       write consignment reports (XML, HTML, PDF)\n"
            "                                       of one artisan, or of all with sales and the summary,\n"
            "                                       into OUTDIR (made when missing); exit 3: no sales;\n"
            "                                       prints the files written (one artisan) or each artisan's\n"
            "                                       number, units sold and amount due (all), then\n"
            "                                       \"Total:\" the sales at selling price and \"Due:\" the\n"
            "                                       amount due to the artisan(s)\n",
            runReport};
}
