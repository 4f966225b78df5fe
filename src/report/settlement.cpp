#include "report/settlement.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "export/reportDocs.h"
#include "report/xslTransform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

QString reportArtName(const AppState& st, const QString& artNo)
{
    const int at = st.artList.indexOfArtNo(artNo);
    return at >= 0 ? st.artList.displayName(at) : u"("_s + artNo + u")"_s;
}

// The consignment report of the artisan whose consignment repList holds
// now, over the statement's period.
SalesReport consignmentReport(const AppState& st, const StatementHeader& head, const QString& artNo)
{
    return {reportArtName(st, artNo), head.periodTitle, head.startDate, head.endDate, st.xmlDataLines,
            st.repList.total};
}

// The three files of the artisan whose consignment repList holds now.
ReportFiles writeFiles(const AppState& st, const Statement& s, const QString& folder,
                       const SafeWriteOptions& write = {})
{
    const QString name = u"c"_s + s.artNo;
    writeSalesReport(consignmentReport(st, s.head, s.artNo), folder, name, write);
    ReportFiles f;
    f.xml = folder + safeFileName(name) + u".xml"_s;
    // The page names the boutique and closes on the split, as the PDF does.
    f.html = xslt::transformFile(f.xml, xslt::trustedStyleDirs(st), {}, write, {shopHtml(s.head), splitHtml(s)});
    f.pdf = folder + safeFileName(name) + u".pdf"_s;
    safeWriteFile(f.pdf, statementPdf(s), write);
    return f;
}

// A period without rows leaves the last consignment in place: none is shown.
void clearConsigne(AppState& st)
{
    st.repList.rangeLines.clear();
    st.repList.rangeRows.clear();
    st.repList.total = Money().format();
}

// The list a settlement keeps in its period's folder of the files it wrote
// there, each with its size and time: a later settlement removes only those,
// and only while they are as it left them.
const QString WRITTEN_LIST = u".tilvarbd-written"_s;

QString fileStamp(const QFileInfo& f)
{
    return u"%1\t%2"_s.arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
}

// A settlement done again gives exactly its new files: the statements and
// pages an earlier one wrote into the period's folder and this one did not
// are removed. A file of the same name that staff put or changed there is
// kept: the folder may be one the user keeps other files in.
void removeStale(const QString& dir, const QSet<QString>& written, const SafeWriteOptions& write)
{
    if (dir.isEmpty())
        return;
    static const QRegularExpression ours(u"^c[0-9]+\\.(xml|html|pdf)$"_s);
    const QDir folder(dir);
    QFile list(folder.filePath(WRITTEN_LIST));
    const QByteArray before = list.open(QIODevice::ReadOnly) ? list.read(1 << 22) : QByteArray();
    for (const QByteArray& row : before.split('\n')) {
        const QString entry = QString::fromUtf8(row);
        const qsizetype tab = entry.indexOf(u'\t');
        const QString name = entry.left(tab);
        if (tab < 0 || !ours.match(name).hasMatch() || written.contains(dir + name))
            continue;
        const QFileInfo f(folder.filePath(name));
        if (!f.isFile() || f.isSymLink() || fileStamp(f) != entry.mid(tab + 1))
            continue;
        if (!QFile::remove(f.absoluteFilePath()))
            throw AppError(u"Impossible de supprimer « %1 »."_s.arg(QDir::toNativeSeparators(f.absoluteFilePath())));
    }
    QStringList rows;
    for (const QString& path : written) {
        const QFileInfo f(path);
        if (f.absolutePath() == folder.absolutePath() && f.isFile())
            rows << f.fileName() + u'\t' + fileStamp(f);
    }
    rows.sort();
    safeWriteFile(folder.filePath(WRITTEN_LIST), rows.join(u'\n').toUtf8() + '\n', write);
}

} // namespace

QStringList settlementArtNos(AppState& st, int p)
{
    QSet<QString> seen(st.numItems.cbegin(), st.numItems.cend());
    for (int i = 0; i < st.artList.count(); ++i)
        seen.insert(st.artList.at(i).artNo);
    if (p >= 0 && p < st.repList.count())
        for (const QString& no : st.repList.book(st.saleList).artNos(p))
            seen.insert(no);
    seen.remove(QString());
    QStringList nos(seen.cbegin(), seen.cend());
    nos.sort();
    return nos;
}

ReportFiles writeArtisanReport(AppState& st, int p, const QString& artNo, const QString& folder)
{
    clearConsigne(st);
    st.curCIndex = p;
    st.repList.setConsigne(artNo, p, st.saleList, st.xmlDataLines);
    return writeFiles(st, statementFor(st, statementHeader(st, p), artNo), folder);
}

Summary settlementSummary(AppState& st, int p)
{
    Summary sum;
    sum.head = statementHeader(st, p);
    sum.rule.percent = st.artSharePercent;
    const QStringList nos = settlementArtNos(st, p);
    clearConsigne(st);
    st.repList.forEachConsigne(nos, p, st.saleList, st.xmlDataLines, [&](qsizetype k) {
        addToSummary(sum, statementFor(st, sum.head, nos.at(k)));
    });
    return sum;
}

bool writeSettlement(AppState& st, int p, const QString& folder, Summary* summary, const Progress& progress,
                     bool noteForOthers)
{
    // Every statement and the summary are computed before the first file is
    // written: an amount that cannot be held stops the work with nothing
    // written.
    Summary sum = settlementSummary(st, p);
    const QStringList nos = settlementArtNos(st, p);
    clearConsigne(st);
    const int steps = int(nos.size()) + 1;
    st.curCIndex = p;
    bool cancelled = false;
    QSet<QString> written;
    // Each file replaces its old version whole; the batch reaches the disk at
    // its end (or where it stops), not one sync per file.
    const SafeWriteOptions batch = outputOptions(st, batchOptions());
    writeBatch([&] {
        st.repList.forEachConsigne(nos, p, st.saleList, st.xmlDataLines, [&](qsizetype k) {
            if (cancelled || (progress && !progress(int(k), steps))) {
                cancelled = true;
                return;
            }
            if (st.repList.rangeLines.isEmpty()) {
                if (noteForOthers && st.numItems.contains(nos.at(k))) {
                    writeSalesReport(consignmentReport(st, sum.head, nos.at(k)), folder, u"c"_s + nos.at(k), batch);
                    written << folder + safeFileName(u"c"_s + nos.at(k)) + u".xml"_s;
                }
                return;
            }
            const Statement s = statementFor(st, sum.head, nos.at(k));
            const ReportFiles f = writeFiles(st, s, folder, batch);
            written << f.xml << f.html << f.pdf;
        });
        if (cancelled || (progress && !progress(steps - 1, steps))) {
            cancelled = true;
            return;
        }
        writeSummary(folder + SUMMARY_NAME, sum, batch);
        removeStale(folder, written, batch);
    }, [&] {
        for (const QString& dir : {folder, st.xmlDir}) {
            if (!dir.isEmpty() && QFileInfo(dir).isDir())
                return syncFileSystem(dir);
        }
    });
    if (cancelled)
        return false;
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
