#pragma once
// The sales window: one sales sheet of the ledger at a time (its date, agent,
// lines and total, with the list of every sheet date), and the sheets of a
// chosen period with their totals. Its panels are hosted by the main window
// on the sales side.

#include "core/money.h"
#include "ui/widgets/hostedWindow.h"

#include <QStringList>
#include <QWidget>

class AppState;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QTableWidget;
class QToolButton;
class TaddSItemDlg;
class TmainForm;

class TsaleForm : public QWidget, public THostedWindow {
    Q_OBJECT
public:
    TsaleForm(AppState& st, TmainForm& mainForm, QWidget* parent = nullptr);

    // --- sheet view: top bar (hosted in the main window's navigation bar) ---
    QFrame* sTopPan;
    QLabel* sNoLab;
    QLabel* dateLab;
    QToolButton* addReportBtn;
    QToolButton* redateBtn; // "Changer la date...", Ctrl+D
    QLabel* Label13;
    QLabel* sNameLab;
    QComboBox* sNameCB;
    QToolButton* saveBtn;
    QToolButton* PrintBtn;
    // --- sheet view: body ---
    QFrame* formPanel;
    QListWidget* sListBox;
    QTableWidget* SalesGrid;
    QLabel* tCntLab;
    QLabel* Label12;
    QLabel* sTotLab;
    QLabel* infoLab;
    QFrame* navPanel;
    QToolButton* addProdBtn;
    QToolButton* delSBTN;
    QToolButton* viewModeBtn;
    // --- all-sales view ---
    QFrame* bPanel;
    QLabel* bInfoLab;
    QLabel* bInfoLab1;
    QComboBox* pListCB;
    QToolButton* addPeriodBtn;
    QLabel* pStartDate;
    QLabel* Label6;
    QLabel* pEndDate;
    QFrame* listPanel;
    QTableWidget* gGrid;
    QFrame* gTotPanel;
    QLabel* gTotLab;

    QStringList saleLines;
    bool editing = false;
    bool listMode = false;
    int curSheet = 0;
    int curRow = 0;
    Money sheetTotal;
    Money periodTotal;

    // --- THostedWindow ---
    // Shows the ledger's current sheet (the newest when none is current, as
    // after a file is read) and the periods with the current one chosen.
    void showCurrent() override;
    void storeShown() override;
    // Back to the sheet view, the shown sheet stored.
    void leave() override;
    bool isModified() const override;
    const QWidget* standIn() const override;

    // --- the ledger's window glue ---
    void showSheet(int i);
    void storeSheet(int i);
    void storeCurrentSheet();
    void refreshSheetList();

    // --- sheet view ---
    void rebuildGrid();
    void computeTotal();
    // New sheet (redate false) or a new date for the shown one.
    void chooseDate(bool redate);
    void showAgentBox();
    void commitAgent();
    void moveToSheet(int i);
    // "Supprimer": the shown sheet and its lines' sold quantities go, once
    // the user confirms (the date, its number of lines and total named).
    void deleteShownSheet();
    void setEditing(bool on);

    // --- the sale-line editor, in place of the sheet view ---
    // Opens it on the shown sheet; line is the sheet line it starts on, -1
    // for new lines.
    void openEditor(int line);
    // Hands the edited lines back to the sheet, stores the sheet and saves
    // the database file.
    void closeEditor();
    // "Annuler": the sheet and every sold quantity back as they were when
    // the editor opened (asked first when something changed), editor closed.
    void cancelEditor();
    TaddSItemDlg* sItemDlg = nullptr;
    // The editor's lines into the grid and the sheet, its total recomputed.
    void takeEditedLines();
    // The sheet view back in place of the editor, editing mode off.
    void dropEditor();

    // --- all-sales view ---
    void setListMode(bool on);
    void periodChange();
    void openPeriodRow(int row);
    // The period dialog, then the all-sales period and the period box.
    void editPeriods();
    void reloadPeriodBox(int select);
    // The agent line of the bar, as a label naming agent.
    void showAgent(const QString& agent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTopBar();
    void buildSheetBody();
    void buildListView();
    void clearSheetView();
    void swapHosted(QWidget* out, QWidget* in);
    void placeViewButton();
    void setHelp(const QString& text);

    AppState& st;
    TmainForm& main;
    QHBoxLayout* formBottom = nullptr;
    QHBoxLayout* listBottom = nullptr;
    // The dates sListBox holds: refilling it with the same is skipped.
    QStringList listedDates;
};
