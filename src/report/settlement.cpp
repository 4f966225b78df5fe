#include "report/settlement.h"

#include "core/appError.h"
#include "core/appState.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "export/reportDocs.h"
#include "report/xslTransform.h"

#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

QString reportArtName(const AppState& st, const QString& artNo)
{
    const int at = st.artList.indexOfArtNo(artNo);
    return at >= 0 ? st.artList.displayName(at) : u"("_s + artNo + u")"_s;
}

// The three files of the artisan whose consignment repList holds now.
ReportFiles writeFiles(AppState& st, const Statement& s, Prompt& prompt, const SafeWriteOptions& write = {})
{
    st.repArtName = reportArtName(st, s.artNo);
    const QString name = u"c"_s + s.artNo;
    writeSalesReport(st, name, prompt, write);
    ReportFiles f;
    f.xml = st.repDir + safeFileName(name) + u".xml"_s;
    f.html = xslt::transformFile(f.xml, {}, write);
    f.pdf = st.repDir + safeFileName(name) + u".pdf"_s;
    safeWriteFile(f.pdf, statementPdf(s), write);
    return f;
}

// A period without rows leaves the last consignment in place: none is shown.
void clearConsigne(AppState& st)
{
    st.repList.rangeLines.clear();
    st.repList.total = Money().format();
}

} // namespace

QStringList settlementArtNos(AppState& st, int p)
{
    st.repList.ensureLines(st.saleList);
    QSet<QString> seen(st.numItems.cbegin(), st.numItems.cend());
    for (int i = 0; i < st.artList.count(); ++i)
        seen.insert(st.artList.at(i).artNo);
    if (p >= 0 && p < st.repList.count())
        for (const QString& row : std::as_const(st.repList).at(p).periodLines)
            seen.insert(getCommaItem(row, 1));
    seen.remove(QString());
    QStringList nos(seen.cbegin(), seen.cend());
    nos.sort();
    return nos;
}

ReportFiles writeArtisanReport(AppState& st, int p, const QString& artNo, Prompt& prompt)
{
    clearConsigne(st);
    st.curCIndex = p;
    st.repList.setConsigne(artNo, p, st.saleList, st.xmlDataLines);
    return writeFiles(st, statementFor(st, statementHeader(st, p), artNo), prompt);
}

Summary settlementSummary(AppState& st, int p)
{
    Summary sum{statementHeader(st, p), {}, {}};
    const QStringList nos = settlementArtNos(st, p);
    clearConsigne(st);
    st.repList.forEachConsigne(nos, p, st.saleList, st.xmlDataLines, [&](qsizetype k) {
        addToSummary(sum, statementFor(st, sum.head, nos.at(k)));
    });
    return sum;
}

bool writeSettlement(AppState& st, int p, Prompt& prompt, Summary* summary, const Progress& progress,
                     bool noteForOthers)
{
    Summary sum{statementHeader(st, p), {}, {}};
    const QStringList nos = settlementArtNos(st, p);
    clearConsigne(st);
    const int steps = int(nos.size()) + 1;
    st.curCIndex = p;
    bool cancelled = false;
    // Each file replaces its old version whole; the batch reaches the disk at
    // its end (or where it stops), not one sync per file.
    SafeWriteOptions batch;
    batch.syncNow = false;
    const auto syncBatch = [&] {
        for (const QString& dir : {st.repDir, st.xmlDir}) {
            if (!dir.isEmpty() && QFileInfo(dir).isDir())
                return syncFileSystem(dir);
        }
    };
    try {
        st.repList.forEachConsigne(nos, p, st.saleList, st.xmlDataLines, [&](qsizetype k) {
            if (cancelled || (progress && !progress(int(k), steps))) {
                cancelled = true;
                return;
            }
            if (st.repList.rangeLines.isEmpty()) {
                if (noteForOthers && st.numItems.contains(nos.at(k))) {
                    st.repArtName = reportArtName(st, nos.at(k));
                    writeSalesReport(st, u"c"_s + nos.at(k), prompt, batch);
                }
                return;
            }
            const Statement s = statementFor(st, sum.head, nos.at(k));
            writeFiles(st, s, prompt, batch);
            addToSummary(sum, s);
        });
        if (cancelled || (progress && !progress(steps - 1, steps))) {
            syncBatch();
            return false;
        }
        writeSummary(st.repDir + SUMMARY_NAME, sum, batch);
    } catch (const AppError&) {
        try {
            syncBatch(); // what was written whole before the failure is kept
        } catch (const AppError&) {
            // the first failure is the one to tell
        }
        throw;
    }
    syncBatch();
    if (progress)
        progress(steps, steps);
    if (summary)
        *summary = std::move(sum);
    return true;
}

void writeSummary(const QString& path, const Summary& sum, const SafeWriteOptions& write)
{
    safeWriteFile(path + u".html"_s, summaryHtml(sum).toUtf8(), write);
    safeWriteFile(path + u".pdf"_s, summaryPdf(sum), write);
}
