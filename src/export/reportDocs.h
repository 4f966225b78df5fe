#pragma once
// The report documents: consignment reports of a period (one artisan, or
// every artisan) and the sales export (all sales, sales by period, short
// sales table), XML files naming the style sheets beside them.

#include "core/safeWrite.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <unordered_map>

class AppState;
class Prompt;
class TRepList;

// The declaration every document starts with.
inline const QString XML_DECLARATION = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
// The consignment report's line when the period holds no sale of the artisan.
inline const QString NO_SALE_NOTE = QStringLiteral("aucune vente enregistrée pour la période en cours");

// Makes dir and the folders above it; AppError "Impossible de créer le
// dossier « dir » : <cause in French>." when one cannot be made (mkpath alone
// does not say why).
void makeFolder(const QString& dir);
// A title or artisan number made usable as one file or folder name: path
// separators and control characters become "_", and a name of dots only
// ("." or "..") has its dots replaced too, so it never leaves its folder.
QString safeFileName(const QString& name);
// Longest folder name made from a title, in bytes of the file system.
inline constexpr int MAX_FOLDER_BYTES = 100;
// The folder name of a title alone: safeFileName of it, "-[tout]-" as "tout",
// an empty title as "periode", and a title longer than MAX_FOLDER_BYTES cut
// with a suffix made from the whole title (so two long titles stay apart).
QString periodFolderBase(const QString& title);
// The folder name of period p among titles: periodFolderBase, with "-2",
// "-3"... when an earlier period's title gives the same name ("a/b" and
// "a_b", equal titles), so two periods never share a folder.
QString periodFolderName(const QStringList& titles, int p);
// The folder of a period's consignment reports: xmlDir + periodFolderBase
// of the title + "/".
QString reportDir(const QString& xmlDir, const QString& title);
// curRepName := title; repDir := the folder of the current period (curCIndex
// when its title is title, else the first period so titled), below xmlDir.
void setReportPeriod(AppState& st, const QString& title);

// The bytes of a document: every line followed by CR LF, in Windows-1252.
QByteArray documentBytes(const QStringList& lines);
// Replaces the file at path with the document, never leaving a half-written
// file; AppError with the platform's message when it cannot be written.
void saveDocument(const QString& path, const QStringList& lines, const SafeWriteOptions& write = {});

// The item lines of consignment reports, made once for every report that
// holds the same XML data lines (artisans who share a number share them),
// kept for as long as someone else holds those data lines: one serves a
// batch of reports.
class ReportItems {
public:
    // "<item>" + line + "</item>" for each data line.
    const QStringList& lines(const QStringList& xmlDataLines);
    // Those lines as the report file holds them: each followed by CR LF, in
    // Windows-1252 (AppError when a character has no Windows-1252 byte).
    const QByteArray& bytes(const QStringList& xmlDataLines);

private:
    struct Made {
        // The data lines it was made from. Held here, they are shared: any
        // change to a caller's list gives that list lines of its own, so a
        // list that still shares them holds the same lines.
        QStringList of;
        QStringList lines;
        bool listed = false;
        QByteArray bytes;
        bool encoded = false;
    };
    Made& of(const QStringList& xmlDataLines);

    // By the address of the data lines' first line.
    std::unordered_map<const QString*, Made> m_made;
    size_t m_sweepAt = 1;
};

// What one consignment report holds; everything it prints comes from here.
struct SalesReport {
    QString artName; // the artisan as the report names it
    QString title;   // the period, or a range of rows of its own
    QString start;
    QString end;
    // The XML data lines of its rows (none: the report's note that nothing
    // was sold) and their sum as printed.
    QStringList dataLines;
    QString total;
};

// The report's lines. items, when given, keeps the item lines for the next
// reports.
QStringList salesReportLines(const SalesReport& report, ReportItems* items = nullptr);
// Writes the report as folder + safeFileName(name) + ".xml" (folder made when
// missing) and returns the status-bar text "Exported: name.xml".
QString writeSalesReport(const SalesReport& report, const QString& folder, const QString& name,
                         const SafeWriteOptions& write = {}, ReportItems* items = nullptr);

// The report of the consignment the program-wide variables hold: repArtName,
// xmlDataLines, repList.total and the current period (curCIndex; an index
// outside the list is reported through prompt). A range of its own (title,
// start, end) replaces the period's, for rows taken from the whole ledger.
SalesReport currentSalesReport(const AppState& st, Prompt& prompt, const QStringList& range = {});
// salesReportLines of currentSalesReport.
QStringList salesReportLines(const AppState& st, Prompt& prompt, const QStringList& range = {},
                             ReportItems* items = nullptr);
// The folder a report goes to: the whole ledger's folder ("tout") for rows
// over a range of their own, so a period's files are never replaced by them;
// otherwise the current period's (as setReportPeriod sets repDir).
QString salesReportDir(const AppState& st, const QStringList& range = {});
// writeSalesReport of currentSalesReport into salesReportDir (without a range
// repDir is set to it).
QString writeSalesReport(AppState& st, const QString& name, Prompt& prompt, const SafeWriteOptions& write = {},
                         const QStringList& range = {}, ReportItems* items = nullptr);
// One report "c" + artisan number + ".xml" per artisan of numItems (named
// from nameItems) over period p; returns the last status-bar text ("" when
// there is no artisan).
QString exportAllConsigne(AppState& st, int p, Prompt& prompt);

// The lines of a sales export document.
QStringList xmlDocumentLines(const QString& root, const QString& xsl, const QString& title,
                        const QString& body);
// Writes dataDir + root + ".xml".
void writeXmlDoc(const QString& dataDir, const QString& root, const QString& xsl,
                 const QString& title, const QString& body, const SafeWriteOptions& write = {});
// allSales.xml (every sheet), periodSales.xml and shortSalesRep.xml (every
// period but "-[tout]-"); curPeriod is left on the last one exported.
void writeSalesDocs(AppState& st);
// The sales export command: writeSalesDocs, then the periods' sale rows
// prepared again (they served as scratch space).
void exportSales(AppState& st);
// The short sales table: the tallies of the exported periods merged by
// product key, then turned into rows by shortRows.
void mergeTallies(const TRepList& reps, QStringList& xmlDataLines);
// Each merged row "key,q0,...,total" becomes a tab, <pNo>key</pNo> and
// <qStr> with the quantities and their sum in the last column.
void shortRows(QStringList& xmlDataLines);
