#pragma once
// The report window: the current artisan's consignment over a chosen period
// (sale rows and total, products, inventory), its report documents, the PDF
// statement and the whole period's statements with the settlement summary;
// and a list view of the raw ledger and period queries, for support.

#include "core/money.h"
#include "model/balance.h"
#include "model/saleRows.h"

#include <QWidget>

#include <functional>

class AppState;
class QAction;
class QChartView;
class QCheckBox;
class QComboBox;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
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
    QToolButton* viewModeBtn;
    QToolButton* allTransBtn;
    QFrame* rangePanel;
    QLabel* Label1;
    QLabel* startDate;
    QLabel* Label3;
    QLabel* endDate;
    // The artisan whose rows are shown: the main window's current one, and
    // the chooser that moves both windows to another.
    QComboBox* artCB;
    QFrame* cListPanel;
    QComboBox* cListCB;
    QToolButton* addPeriodBtn;
    QToolButton* PrintBtn;
    QToolButton* MailBtn;
    QTabBar* TabControl;
    QTableWidget* ConsGrid;
    // "Graphique": the artisan's sales per month in place of the grid.
    QChartView* chartVw;
    QToolButton* chartSaveBtn;
    QLabel* tabInfoLab;
    QFrame* totPanel;
    QLabel* totalLab;
    QLabel* sTotLab;   // the sales at the selling price
    QLabel* shareLab;  // the boutique's part and the amount due to the artisan
    QLabel* valeurLab; // the products sold without a Valeur under a Valeur rule
    // The artisan's balance before the period, paid in it, and at its end.
    QLabel* balanceLab;
    QPushButton* payBtn;
    QCheckBox* showANoChck;
    QPushButton* XMLxPortBtn;
    QMenu* pmCons;
    QAction* pmXportAllRec;
    QAction* pmBooks;
    QAction* pmPayAll;

    // --- the list view ---
    QFrame* listPanel;
    QListWidget* RepListBox;
    QListWidget* cListBox;
    QLabel* Label2;
    QLabel* cInfoLab;
    QLabel* lCntLab;
    QGroupBox* getAllSalesGrp;
    QButtonGroup* getAllSalesBtns;
    QCheckBox* rangeChk;
    QPushButton* allRepsBtn;
    QPushButton* allRangeBtn;
    QPushButton* aNoSBtn;
    QPushButton* invGBtn;
    QPushButton* pQntBtn;
    QPushButton* expCurBtn;
    QTableWidget* rGrid1;
    QCheckBox* gridChck;

    bool viewMode = false; // true: the list view
    int tabIndex = 0;
    Money gridTotal;
    // What the window shows, computed by refresh from the model: the
    // artisan's typed sale rows, their total and the artisan. The report and
    // the PDF write exactly these.
    std::vector<SaleRow> shownRows;
    Money shownTotal;
    QString shownArtNo;
    QString shownName;

    // Periods into cListCB (curCIndex selected), then periodChanged.
    void showReports();
    // The period list changed elsewhere: the box lists it again on period i
    // (a visible window shows that period at once).
    void reloadPeriods(int i);
    void periodChanged();
    void refresh();
    void exportConsigne();
    void exportAll();
    void printStatement();
    // Writes the statement PDF of the artisan and period shown; its path.
    QString writeStatement();
    // "Envoyer par courriel": the statement handed to the user's mail program.
    void mailStatement();
    // Starts the desktop's mail command with args; false when it cannot
    // start. Tests replace it.
    std::function<bool(const QStringList& args)> runMailer;
    void editPeriods();
    void sumTotal();
    // The "Graphique" tab: the artisan's months of the period shown (the
    // last twelve for "-[tout]-" and "Toutes transactions"), the year before
    // beside them.
    void showChart();
    void allTransClick();
    // Records a payout to the artisan shown.
    void payArtisan();
    // "Payer les artisans...": a payout to each artisan with a balance due at
    // the period's end, and their register as a PDF.
    void payArtisans();
    // "Exporter pour le comptable...": the period's CSV files into a folder.
    void exportBooks();
    // The artisan's account over the period shown.
    AccountFigures shownAccount() const;
    void showBalance();

    // The list view and its queries.
    void switchView();
    void allSalesClick(int m);
    void allRepsClick();
    void allRangeClick();
    void aNoSalesClick();
    void invGClick();
    void pQntClick();
    void expCurClick();
    void cListBoxClick();
    void repListBoxClick();
    void fillDebugGrid(int m);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Shown again: computed afresh for the main window's artisan and period.
    void showEvent(QShowEvent* event) override;
    // Turned to from the main window: what was typed there is taken first.
    void changeEvent(QEvent* event) override;

private:
    // What the main window shows and has not stored yet (a name just typed)
    // is stored, so that the report reads the database as the user sees it.
    void takeMainEdits();
    void setupGrid();
    // The chooser lists every artisan, the shown one chosen.
    void fillArtisanBox();
    void fillGrid(const QStringList& rows, const QList<int>& fields);
    // The shown rows, one grid row each, cells made by cells.
    void fillGrid(const std::function<QStringList(const SaleRow&)>& cells);
    void buildListView();
    void showQuery(const QString& name, const QStringList& rows, int m);
    void artisanRowsAllSheets();
    // The range written in the report's heading: the period's, or the whole
    // ledger's while "Toutes transactions" is down.
    QStringList shownRange() const;

    AppState& st;
    TmainForm& main;
};
