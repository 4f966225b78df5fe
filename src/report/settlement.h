#pragma once
// The files of a period's settlement: each artisan's consignment report (the
// XML document, its HTML page and the PDF statement) and the summary.

#include "core/safeWrite.h"
#include "report/statement.h"

#include <QString>
#include <functional>

class AppState;

// Called before each step of long work with the steps done and the total;
// returning false cancels the work before the next file.
using Progress = std::function<bool(int done, int total)>;

struct ReportFiles {
    QString xml;
    QString html;
    QString pdf;
};

// File names of the summary in the report folder, without extension.
inline const QString SUMMARY_NAME = QStringLiteral("sommaire");

// The artisans numbered in the artisan list and in period p's sale rows,
// sorted, so no sale escapes the summary when its artisan was removed.
QStringList settlementArtNos(AppState& st, int p);

// One artisan's consignment report of period p in folder (which ends with
// "/"): "c" + number + ".xml" as the report window writes it, ".html"
// through the style sheet and ".pdf", the statement. The report's period is
// the current one afterwards (curCIndex := p).
ReportFiles writeArtisanReport(AppState& st, int p, const QString& artNo, const QString& folder);
// The summary of period p, computed without writing anything.
Summary settlementSummary(AppState& st, int p);

// For every artisan with sales in period p its three files, then the
// summary's page and PDF, in folder; the summary into summary when given. With noteForOthers, the
// artisans of the list without sales get their report's note form as well
// (all reports as exportAllConsigne writes them, each written once). False
// when progress cancelled: the files finished stay, none is left half-written.
bool writeSettlement(AppState& st, int p, const QString& folder, Summary* summary = nullptr,
                     const Progress& progress = {}, bool noteForOthers = false);

// Writes the summary's page and PDF as path + ".html" and path + ".pdf".
void writeSummary(const QString& path, const Summary& sum, const SafeWriteOptions& write = {});
