#include "export/reportDocs.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "core/cp1252.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/sysCause.h"
#include "core/textUtil.h"
#include "core/uXMLTag.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cerrno>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = QStringLiteral("\r\n");

// TStringList.Text: every item followed by CR LF.
QString linesText(const QStringList& lines)
{
    qsizetype size = 0;
    for (const QString& l : lines)
        size += l.size() + 2;
    QString out;
    out.reserve(size);
    for (const QString& l : lines) {
        out += l;
        out += CRLF;
    }
    return out;
}

// Every text went through xmlEscape, which leaves only characters the
// encoding holds; a character that slipped past it is an error, not a "?".
QByteArray encodedText(const QString& text)
{
    bool ok = true;
    QByteArray bytes = cp1252::encode(text, &ok);
    if (!ok)
        throw AppError(u"Stream write error: a character of the document has no Windows-1252 form"_s);
    return bytes;
}

QString styleSheetLine(const QString& href)
{
    return u"<?xml-stylesheet type=\"text/xsl\" href=\""_s + href + u"\"?>"_s;
}

} // namespace

// --- names and folders ---------------------------------------------------------

void makeFolder(const QString& dir)
{
    if (QDir().mkpath(dir))
        return;
    const QString clean = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    int err = ENOENT;
    QString path;
    for (const QString& part : clean.split(u'/', Qt::SkipEmptyParts)) {
        path += u'/' + part;
        if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST) {
            err = errno;
            break;
        }
    }
    throw AppError(u"Impossible de créer le dossier « %1 » : %2."_s.arg(QDir::toNativeSeparators(dir),
                                                                       systemCause(err)));
}

QString safeFileName(const QString& name)
{
    QString out = name;
    for (QChar& c : out)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u'_';
    if (!out.isEmpty() && out.count(u'.') == out.size())
        out.fill(u'_');
    return out;
}

QString periodFolderBase(const QString& title)
{
    if (title == ALL_PERIOD_TITLE)
        return u"tout"_s;
    QString name = safeFileName(title.trimmed());
    if (name.isEmpty())
        return u"periode"_s;
    if (QFile::encodeName(name).size() <= MAX_FOLDER_BYTES)
        return name;
    const QString suffix = u"-"_s
        + QString::fromLatin1(QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Md5).toHex().left(8));
    const int room = MAX_FOLDER_BYTES - int(suffix.size());
    while (QFile::encodeName(name).size() > room)
        name.chop(name.size() > 1 && name.at(name.size() - 1).isLowSurrogate() ? 2 : 1);
    return name + suffix;
}

QString periodFolderName(const QStringList& titles, int p)
{
    const QString base = periodFolderBase(titles.value(p));
    QSet<QString> taken;
    for (int q = 0; q < titles.size(); ++q)
        if (q != p)
            taken.insert(periodFolderBase(titles.at(q)));
    if (!taken.contains(base))
        return base;
    // The first period so named keeps the plain name; later ones are numbered
    // after their place in the list, skipping names other periods hold.
    int first = 0;
    while (first < p && periodFolderBase(titles.at(first)) != base)
        ++first;
    if (first == p)
        return base;
    for (int n = p + 1;; ++n) {
        const QString candidate = base + u"-"_s + QString::number(n);
        if (!taken.contains(candidate))
            return candidate;
    }
}

QString reportDir(const QString& xmlDir, const QString& title)
{
    QString dir = xmlDir;
    if (!dir.isEmpty() && !dir.endsWith(u'/'))
        dir += u'/';
    return dir + periodFolderBase(title) + u'/';
}

namespace {

// The folder of the period titled title: the one at index at when it is so
// titled, else the first so titled.
QString titledReportDir(const AppState& st, const QString& title, int at)
{
    QStringList titles;
    for (int i = 0; i < st.repList.count(); ++i)
        titles << st.repList.at(i).title;
    const int p = at >= 0 && at < titles.size() && titles.at(at) == title ? at : int(titles.indexOf(title));
    if (p < 0)
        return reportDir(st.xmlDir, title);
    QString dir = st.xmlDir;
    if (!dir.isEmpty() && !dir.endsWith(u'/'))
        dir += u'/';
    return dir + periodFolderName(titles, p) + u'/';
}

QString currentReportDir(const AppState& st)
{
    return titledReportDir(st, st.curRepName, st.curCIndex);
}

} // namespace

QString salesReportDir(const AppState& st, const QStringList& range)
{
    if (range.isEmpty())
        return currentReportDir(st);
    return titledReportDir(st, ALL_PERIOD_TITLE, -1);
}

void setReportPeriod(AppState& st, const QString& title)
{
    st.curRepName = title;
    st.repDir = currentReportDir(st);
}

// --- files -----------------------------------------------------------------------

QByteArray documentBytes(const QStringList& lines)
{
    return encodedText(linesText(lines));
}

void saveDocument(const QString& path, const QStringList& lines, const SafeWriteOptions& write)
{
    safeWriteFile(path, documentBytes(lines), write);
}

// --- consignment reports ---------------------------------------------------------

ReportItems::Made& ReportItems::of(const QStringList& xmlDataLines)
{
    const auto at = m_made.find(xmlDataLines.constData());
    if (at != m_made.end() && at->second.of.isSharedWith(xmlDataLines))
        return at->second;
    if (at != m_made.end())
        m_made.erase(at);
    if (m_made.size() >= m_sweepAt) {
        // Lines nobody else holds any more are not asked for again: let go
        // at once, as a batch holds one number's lines at a time (twice as
        // many kept before the next sweep keeps the sweeps linear).
        std::erase_if(m_made, [](const auto& m) { return m.second.of.isDetached(); });
        m_sweepAt = std::max<size_t>(1, 2 * m_made.size());
    }
    Made& m = m_made[xmlDataLines.constData()];
    m.of = xmlDataLines;
    return m;
}

const QStringList& ReportItems::lines(const QStringList& xmlDataLines)
{
    Made& m = of(xmlDataLines);
    if (!m.listed) {
        m.lines.reserve(xmlDataLines.size());
        for (const QString& d : xmlDataLines)
            m.lines << TXMLUtil::xmlTag(u"item"_s, d);
        m.listed = true;
    }
    return m.lines;
}

const QByteArray& ReportItems::bytes(const QStringList& xmlDataLines)
{
    Made& m = of(xmlDataLines);
    if (!m.encoded) {
        // Straight from the data lines: writing the reports needs no item lines.
        QString text;
        qsizetype size = 0;
        for (const QString& d : xmlDataLines)
            size += d.size() + 15;
        text.reserve(size);
        for (const QString& d : xmlDataLines) {
            if (d.isEmpty()) {
                text += u"<item/>"_s;
            } else {
                text += u"<item>"_s;
                text += d;
                text += u"</item>"_s;
            }
            text += CRLF;
        }
        m.bytes = encodedText(text);
        m.encoded = true;
    }
    return m.bytes;
}

namespace {

// A consignment report around its item lines: the lines before them, and
// those after them; true when it has item lines.
bool reportFrame(const SalesReport& r, QStringList& head, QStringList& tail)
{
    QStringList doc;
    doc << XML_DECLARATION << styleSheetLine(u"../report.xsl"_s) << u"<report>"_s
        << u"<cCaption> Rapport de ventes </cCaption>"_s
        << u"<artName>"_s + xmlEscape(r.artName) + u"</artName>"_s
        << u"<cTitle>"_s + xmlEscape(r.title) + u"</cTitle>"_s;
    doc << u"<cRange>Début: "_s + xmlEscape(r.start) + u" Fin: "_s + xmlEscape(r.end) + u"</cRange>"_s;
    const bool items = !r.dataLines.isEmpty();
    if (items) {
        doc << u"<itemDATA>"_s;
        tail << u"</itemDATA>"_s << u"<total>"_s + xmlEscape(r.total) + u"</total>"_s;
    } else {
        doc << TXMLUtil::xmlTag(u"note"_s, NO_SALE_NOTE);
    }
    tail << u"</report>"_s;
    head = std::move(doc);
    return items;
}

} // namespace

QStringList salesReportLines(const SalesReport& report, ReportItems* items)
{
    QStringList doc;
    QStringList tail;
    ReportItems once;
    if (reportFrame(report, doc, tail))
        doc << (items ? items : &once)->lines(report.dataLines);
    return doc << tail;
}

QString writeSalesReport(const SalesReport& report, const QString& folder, const QString& name,
                         const SafeWriteOptions& write, ReportItems* items)
{
    QStringList head;
    QStringList tail;
    const bool hasItems = reportFrame(report, head, tail);
    makeFolder(folder);
    const QString file = safeFileName(name) + u".xml"_s;
    // The item lines' bytes are made once for every artisan of a number,
    // and written as they are.
    ReportItems once;
    const QByteArray parts[] = {documentBytes(head),
                                hasItems ? (items ? items : &once)->bytes(report.dataLines) : QByteArray(),
                                documentBytes(tail)};
    safeWriteFile(
        folder + file,
        [&parts](QIODevice& dev) {
            for (const QByteArray& b : parts)
                if (dev.write(b) != b.size())
                    throw AppError(dev.errorString());
        },
        write);
    return u"Exported: "_s + file;
}

SalesReport currentSalesReport(const AppState& st, Prompt& prompt, const QStringList& range)
{
    const auto field = [&](int which) {
        return range.size() == 3 ? range.at(which) : st.repList.periodField(st.curCIndex, which, prompt);
    };
    SalesReport r;
    r.artName = st.repArtName;
    r.title = field(0);
    r.start = field(1);
    r.end = field(2);
    r.dataLines = st.xmlDataLines;
    r.total = st.repList.total;
    return r;
}

QStringList salesReportLines(const AppState& st, Prompt& prompt, const QStringList& range, ReportItems* items)
{
    return salesReportLines(currentSalesReport(st, prompt, range), items);
}

QString writeSalesReport(AppState& st, const QString& name, Prompt& prompt, const SafeWriteOptions& write,
                         const QStringList& range, ReportItems* items)
{
    const SalesReport report = currentSalesReport(st, prompt, range);
    const QString dir = salesReportDir(st, range);
    if (range.isEmpty())
        st.repDir = dir;
    return writeSalesReport(report, dir, name, write, items);
}

QString exportAllConsigne(AppState& st, int p, Prompt& prompt)
{
    QString status;
    // Every consignment is checked before the first file is written: an
    // amount that cannot be held stops the work with nothing written.
    st.repList.checkConsignes(st.numItems, p, st.saleList);
    // Reports that can be made again: each replaces its old version whole,
    // and the batch reaches the disk at its end, not one sync per file.
    const SafeWriteOptions batch = outputOptions(st, batchOptions());
    ReportItems items;
    // Artisans sharing a number share its file, which keeps the report of
    // the last of them in the list: only that one is written.
    QHash<QString, qsizetype> lastOf;
    for (qsizetype k = 0; k < st.numItems.size(); ++k)
        lastOf[st.numItems.at(k)] = k;
    writeBatch(
        [&] {
            st.repList.forEachConsigne(st.numItems, p, st.saleList, st.xmlDataLines, [&](qsizetype k) {
                if (lastOf.value(st.numItems.at(k)) != k)
                    return;
                st.repArtName = st.nameItems.value(k);
                QString done = writeSalesReport(st, u"c"_s + st.numItems.at(k), prompt, batch, {}, &items);
                if (k == st.numItems.size() - 1)
                    status = std::move(done); // the status names the list's last report
            });
        },
        [&] {
            if (!status.isEmpty() && QFileInfo(st.repDir).isDir())
                syncFileSystem(st.repDir);
        });
    return status;
}

// --- sales export ----------------------------------------------------------------

QStringList xmlDocumentLines(const QString& root, const QString& xsl, const QString& title,
                             const QString& body)
{
    return {XML_DECLARATION,
            styleSheetLine(u"../"_s + xsl + u".xsl"_s),
            u"<"_s + root + u">"_s,
            u"<cTitle>"_s + xmlEscape(title) + u"</cTitle>"_s,
            body,
            u"</"_s + root + u">"_s};
}

void writeXmlDoc(const QString& dataDir, const QString& root, const QString& xsl,
                 const QString& title, const QString& body, const SafeWriteOptions& write)
{
    QString dir = dataDir;
    if (!dir.isEmpty() && !dir.endsWith(u'/'))
        dir += u'/';
    saveDocument(dir + root + u".xml"_s, xmlDocumentLines(root, xsl, title, body), write);
}

void writeSalesDocs(AppState& st)
{
    TRepList& reps = st.repList;
    const QList<int> exported = reps.exportedPeriods();

    // Every sheet of the file, whatever periods there are.
    st.xmlDataLines.clear();
    QString all = st.saleList.salesXML(QString(), QString(QChar(0xFFFF)));
    if (all.endsWith(u'\n'))
        all.chop(1);
    if (!all.isEmpty())
        st.xmlDataLines << linesText(all.split(u'\n'));
    writeXmlDoc(st.dataDir, u"allSales"_s, u"xData"_s, u"Toutes Ventes"_s, linesText(st.xmlDataLines),
                outputOptions(st));

    st.xmlDataLines.clear();
    reps.fillTallies(st.saleList);
    reps.sortTallies();
    for (int i : exported) {
        reps.curPeriod = i;
        const TReport& rep = reps.at(i);
        QString item = u"<period id=\""_s + xmlAttrEscape(rep.endDate) + u"\" title=\""_s
                       + xmlAttrEscape(rep.title) + u"\">\n<prod>\n"_s;
        for (const QString& t : rep.tallies)
            item += xmlEscape(t) + CRLF;
        item += u"</prod>\n</period>\n"_s;
        st.xmlDataLines << item;
    }
    writeXmlDoc(st.dataDir, u"periodSales"_s, u"xData"_s, u"Ventes par périodes"_s,
                linesText(st.xmlDataLines), outputOptions(st));

    mergeTallies(reps, st.xmlDataLines);
    writeXmlDoc(st.dataDir, u"shortSalesRep"_s, u"xData"_s, u"Abrégé des ventes"_s,
                linesText(st.xmlDataLines), outputOptions(st));
}

void exportSales(AppState& st)
{
    writeSalesDocs(st);
    st.repList.prepareLines(st.saleList);
}

void mergeTallies(const TRepList& reps, QStringList& xmlDataLines)
{
    xmlDataLines.clear();
    const QList<int> exported = reps.exportedPeriods();
    // Each row is split once; rows are found by key through an index.
    std::vector<QStringList> rows;
    QHash<QString, std::vector<size_t>> byKey;
    for (qsizetype col = 0; col < exported.size(); ++col) {
        for (const QString& t : reps.at(exported.at(col)).tallies) {
            QStringList items = readCommaList(t);
            const QString key = items.value(0).trimmed();
            const QString v = col + 1 < items.size() ? items.at(col + 1).trimmed() : t.trimmed();
            auto found = byKey.constFind(key);
            if (found == byKey.constEnd()) {
                // The last column is the sum that shortRows makes: it starts
                // at 0 so that no period is counted twice.
                if (items.size() > 1)
                    items.last() = u"0"_s;
                byKey[key].push_back(rows.size());
                rows.push_back(std::move(items));
                continue;
            }
            for (size_t r : *found) {
                QStringList& row = rows[r];
                if (col + 1 < row.size())
                    row[col + 1] = v;
            }
        }
    }
    for (const QStringList& row : rows)
        xmlDataLines << writeCommaList(row);
    sortTextList(xmlDataLines);
    shortRows(xmlDataLines);
}

void shortRows(QStringList& xmlDataLines)
{
    for (QString& l : xmlDataLines) {
        QStringList items = readCommaList(l);
        QString key;
        QString r;
        if (items.size() >= 2) {
            // A row of a key and quantities (the usual case) is read once,
            // not once per helper: rows hold one quantity per period.
            key = trimBlanks(items.first());
            items.removeFirst();
            qint64 sum = 0;
            for (const QString& q : std::as_const(items))
                sum += strToIntDef(q, 0);
            items.last() = QString::number(sum);
            r = writeCommaList(items);
        } else {
            key = getCommaItem(l, 0);
            r = delCommaItem(l, 0);
            const int n = commaCount(r);
            if (n > 0)
                setCommaItem(r, n - 1, commaSum(r));
        }
        l = u'\t' + TXMLUtil::xmlTag(u"pNo"_s, xmlEscape(key)) + TXMLUtil::xmlTag(u"qStr"_s, xmlEscape(r));
    }
}
