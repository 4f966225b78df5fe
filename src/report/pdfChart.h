#pragma once
// Small bar charts on the flowing pages of a report, drawn with the page's
// own painter: the window and the command-line tool write the same bytes.

#include "core/money.h"
#include "model/salesSeries.h"

#include <QString>
#include <vector>

class PdfPainter;

// One bar per month at the selling price, with part (the artisans' share)
// drawn within it in a darker tone; partName names it in the legend.
void drawMonthChart(PdfPainter& page, const QString& title, const std::vector<MonthFigures>& months,
                    const QString& partName);

// One horizontal bar per seller, largest first: its name, its sales and
// its share of total.
struct RankBar {
    QString name;
    Money sales;
};
void drawRankChart(PdfPainter& page, const QString& title, const std::vector<RankBar>& bars, Money total);
