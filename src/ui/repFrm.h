#pragma once
// The report window: the current artisan's consignment over a chosen period
// (sale rows and total, products, inventory), its report documents, the PDF
// statement and the whole period's statements with the settlement summary.

#include <QWidget>

#include <functional>

class AppState;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTabBar;
class QTableWidget;
class QToolButton;
class TmainForm;

class TrepForm : public QWidget {
    Q_OBJECT
public:
    // A window of its own, reached from the Special menu entry it adds.
    TrepForm(AppState& st, TmainForm& main);

    // Shows a page or PDF in the user's programs; tests replace it.
    std::function<void(const QString& path)> openPage;
    // Asked before each artisan of "XportTout"; false cancels. Shows a
    // progress dialog by default.
    std::function<bool(int done, int total)> progress;

    QAction* aRepForm;
    QFrame* formPanel;
    QFrame* rangePanel;
    QLabel* Label1;
    QLabel* startDate;
    QLabel* Label3;
    QLabel* endDate;
    QFrame* cListPanel;
    QComboBox* cListCB;
    QToolButton* PrintBtn;
    QTabBar* TabControl;
    QTableWidget* ConsGrid;
    QLabel* tabInfoLab;
    QFrame* totPanel;
    QLabel* totalLab;
    QLabel* sTotLab;
    QCheckBox* showANoChck;
    QPushButton* XMLxPortBtn;
    QMenu* pmCons;
    QAction* pmXportAllRec;

    int tabIndex = 0;

    // Periods into cListCB (curCIndex selected), then periodChanged.
    void showReports();
    void periodChanged();
    void refresh();
    void exportConsigne();
    void exportAll();
    void printStatement();

private:
    void setupGrid();
    void fillGrid(const QStringList& rows, const QList<int>& fields);

    AppState& st;
    TmainForm& main;
};
