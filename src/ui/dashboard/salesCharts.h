#pragma once
// The windows' charts of the sales, made with Qt's charts module from the
// model's figures: months against the year before, the best sellers; and a
// chart saved as a PNG picture or a PDF page.

#include "model/salesSeries.h"

#include <QChartView>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QToolButton;
class TmainForm;

// The text a month's bar shows under the pointer: the month, the sales,
// the share (when partName names one) and the number of items.
QString monthTip(const MonthFigures& m, const QString& partName);

// One bar per month at the selling price; with partName, the share drawn
// within it (its own tone). With before (the same months a year earlier),
// its bars stand beside. Hovering a bar shows monthTip.
QChart* monthChart(const QString& title, const std::vector<MonthFigures>& months,
                   const std::vector<MonthFigures>* before, const QString& partName);

// One horizontal bar per seller, the largest on top, each named by
// names[k] with its sales and its share of total.
QChart* rankChart(const QString& title, const std::vector<Ranked>& top, const QStringList& names, Money total);

// Shows chart in view, freeing the one it replaces (a view only drops it).
void replaceChart(QChartView* view, QChart* chart);

// A named, antialiased chart view with room enough to read its figures.
QChartView* chartView(const char* objectName, QWidget* parent);

// "Enregistrer..." with "Image PNG..." and "Document PDF..." (actions
// named base + "Png" and base + "Pdf"): each saves view's chart under a name
// asked through the main window's prompt, proposedPath() offered first.
QToolButton* saveChartButton(QChartView* view, const char* base, TmainForm& main,
                             const std::function<QString()>& proposedPath);

// The chart as picture bytes: PNG, or a one-page PDF (landscape Letter).
QByteArray chartBytes(QChartView& view, bool pdf);
