#pragma once
// The boutique's year at a glance ("Tableau de bord..."): its sales per month
// over twelve months against the year before, the ten artisans who sold most
// in a chosen period and its best-selling products, each chart savable.

#include <QWidget>
#include <QtGlobal>

class AppState;
class QAction;
class QChartView;
class QComboBox;
class QLabel;
class QToolButton;
class TmainForm;

class TdashForm : public QWidget {
    Q_OBJECT
public:
    // A window of its own, reached from the Special menu entry it adds.
    TdashForm(AppState& st, TmainForm& main);

    QAction* aDashboard;
    QComboBox* periodCB; // the period of the best sellers; its end ends the months
    QLabel* rangeLab;
    QChartView* monthsView;
    QChartView* artisansView;
    QChartView* productsView;
    QToolButton* monthsSave;
    QToolButton* artisansSave;
    QToolButton* productsSave;

    // Lists the periods (the report's current one chosen) and shows the window.
    void showDashboard();
    // The charts computed afresh for the period chosen.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    // Turned to again after sales or periods changed: computed afresh.
    void changeEvent(QEvent* event) override;

private:
    // The revisions of the ledger and the periods the charts were computed at.
    quint64 m_sales = 0;
    quint64 m_reps = 0;

    // Where a saved chart is proposed: the reports folder, named after it.
    QString proposedPath(const QString& stem) const;

    AppState& st;
    TmainForm& main;
};
