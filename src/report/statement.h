#pragma once
// What the boutique owes its artisans for a period: one artisan's statement
// and the settlement summary of every artisan, as HTML pages and PDF files.

#include "core/money.h"
#include "model/artShare.h"
#include "model/balance.h"
#include "model/saleRows.h"
#include "model/salesSeries.h"
#include "report/htmlPage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class AppState;

// The boutique and the period a page is about.
struct StatementHeader {
    QString shopName;
    QString shopAddress; // one line per postal line
    QString periodTitle;
    QString startDate; // "yymmdd"
    QString endDate;
    // The PDF documents carry their charts (off only to measure their cost).
    bool charts = true;
};

// One artisan's sales of the period.
struct Statement {
    StatementHeader head;
    QString artNo;
    QString artName;    // first name and family name
    QString artAddress; // one line per postal line
    std::vector<SaleRow> rows; // each with its amount and the artisan's share
    ShareRule rule;
    ShareSplit split;   // the sales (the sum of the rows), the boutique's part, the amount due
    // The artisan's account over the period's days: balance before, paid
    // during, balance at its end.
    AccountFigures account;
    // The day the shares of an older file's sales were recorded, "" when each
    // was recorded as its sale was made.
    QString sharesRecordedOn;
};

// One line of the settlement summary.
struct SummaryLine {
    QString artNo;
    QString name;
    qint64 items = 0; // units sold, returns taken off
    Money sales;      // at the selling price
    Money shop;       // the boutique's part
    Money owed;       // due to the artisan
    Money balance;    // owed at the period's end (negative: an advance paid)
};

struct Summary {
    StatementHeader head;
    std::vector<SummaryLine> lines; // by artisan number
    Money sales;
    Money shop;
    Money total; // due to the artisans
    Money balance; // the sum of the balances at the period's end
    ShareRule rule;
    QStringList warnings; // one per artisan with products without a "Valeur"
    MonthTally months;    // every artisan's rows by month, for the chart
};

// The header of period p (title and dates) with the boutique of the settings.
StatementHeader statementHeader(const AppState& st, int p);
// The statement of the artisan numbered artNo from the consignment that
// setConsigne left in repList (its typed rows, rangeRows). An artisan missing
// from the list is named by its number.
Statement statementFor(const AppState& st, const StatementHeader& head, const QString& artNo);
// Adds the consignment left in repList to the summary (artisans with sales or
// a balance at the period's end).
void addToSummary(Summary& sum, const Statement& s);

// A whole page: the boutique, the title, the period (when there is one), body.
QString pageHtml(const QString& title, const StatementHeader& head, const QList<html::Block>& body);
// The boutique's name and address, as every page starts.
QString shopHtml(const StatementHeader& head);
// A statement's closing amounts (sales, the boutique's part, the amount due),
// its rule and the warning naming products without a "Valeur".
QString splitHtml(const Statement& s);
QString summaryHtml(const Summary& sum);
// The same pages as PDF documents (US Letter, DejaVu Sans); a description
// too long for its column is cut short with "...".
QByteArray statementPdf(const Statement& s);
QByteArray summaryPdf(const Summary& sum);
