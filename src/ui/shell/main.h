#pragma once
// The main window: hosts the working windows' panels, carries the menus, the
// artisan navigation, the help line and the status bar, and runs the
// start-up and the shut-down. The database commands are TDbCommands.

#include "boutique/boutique.h"
#include "ui/widgets/hostedWindow.h"
#include "ui/widgets/modalRunner.h"

#include <QDate>
#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class Prompt;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QToolButton;
class TArtForm;
class TDbCommands;
class TProdForm;
class TsaleForm;
class TrepForm;
class TtilvarDB;

// What the start-up takes from outside: where the program lives, and the
// seams that tests replace (dialogs, questions, today's date).
struct TStartOptions {
    QString progDir;          // folder of the program file
    Prompt* prompt = nullptr; // message boxes and file dialogs; real ones when null
    ModalRunner runModal;     // runs modal windows; exec() when empty
    QDate today = QDate::currentDate();
};

class TmainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TmainForm(const TStartOptions& options, QWidget* parent = nullptr);
    ~TmainForm() override;

    AppState& state() { return st; }
    // The boutique: every change goes through it, and it says what changed.
    Boutique& doc() { return m_doc; }
    Prompt& prompt() { return *m_prompt; }
    int runModal(QDialog& dialog) { return m_runModal(dialog); }
    // The green bar's choosers filled from the artisans' lists, on the artisan shown.
    void fillChoosers();

    // --- window state ---
    bool mainReady = false;
    int curPage = -1;   // -1 none, 0 artisans/products, 1 sales
    int artSubPage = 0; // 0..3, see hostPanels
    int statusMode = 0; // 0..3
    int pageBtnSide = 0; // side the page button is on
    std::array<QWidget*, 4> hostPanels{};

    // --- controls ---
    QWidget* backPanel;
    QFrame* topPanel;
    QLabel* TitleLab;
    QLabel* subTLabel;
    QToolButton* pageBtn;
    QLabel* imgArtBtn;
    QLabel* imgVBtn;
    QToolButton* PrintBtn;
    QToolButton* WebPageBtn;
    QMenu* devPMenu;
    QAction* mResetVarData;
    QMenu* wPMen;
    QAction* pmPubPrefs;

    QFrame* locatePan;
    QLabel* Label1;
    QLabel* artNoLab;
    QLabel* artInfoLab;
    QToolButton* prevBtn;
    QToolButton* nextBtn;
    QComboBox* nListCB;
    QComboBox* ArtListCB;
    QFrame* navPanel;
    QToolButton* addRecBtn;
    QToolButton* delSBTN;
    QToolButton* saveBtn;
    QToolButton* SpeedButton1;

    QWidget* mainPanel;
    QLabel* infoLab;
    QToolButton* mainBtn;
    QStatusBar* StatusBar;
    std::array<QLabel*, 4> statusPanels{};
    QLabel* modifiedLab = nullptr; // "Modifications non enregistrées" while there are some

    // --- actions ---
    QAction* aNew;
    QAction* FileOpen;
    QAction* FileSaveAs;
    QAction* aSave;
    QAction* aExpArt;
    QAction* aExpSales;
    QAction* aImpArt;
    QAction* FileExit;
    QAction* aClearAll;
    QAction* aSetPeriods;
    QAction* aEmptyDB;
    QAction* aPrefs;
    QAction* aVersion;
    QAction* aSetAdmin;
    QAction* aExpAll;
    QAction* aRestore;
    QAction* aCopyTo;
    QAction* aHelp;
    QMenu* recentMenu;
    // Where the other windows add their commands ("Spécial"), and the menu
    // the artisans' menu stands before ("?").
    QMenu* specialMenu = nullptr;
    QMenu* helpMenu = nullptr;

    // Column titles and the artisan-list export.
    std::unique_ptr<TtilvarDB> tilvarDB;

    // --- working windows ---
    TArtForm* artForm;
    TsaleForm* saleForm;
    TProdForm* prodForm;
    TrepForm* repForm;

    // --- operations offered to the other windows ---
    // The hint line under the pages; empty clears it.
    void showHint(const QString& text);
    // The page button and the add button, as the page shown wants them.
    void setPageBtnShown(bool shown);
    void setPageBtnEnabled(bool enabled);
    void setAddRecShown(bool shown);
    void showPage(int side);
    void showArtSubPage(int index);
    void showCurrentArtisan();
    void refreshStatus(int mode);
    void updatePageBtn();
    void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;

    // --- the database commands (open, save, import...) ---
    TDbCommands& db() { return *m_db; }
    void doPrefs();
    // The boutique's share rule changed in the preferences: asks from which
    // day it applies, then records again the shares of the lines from that
    // day on that no payout covered, and says how many changed.
    void changeShareRule(int percent);
    // Says where a file just went: the status bar and a short message
    // name the folder and the file. With view, the file is shown instead of
    // the message; when nothing can show it, the message says so and offers
    // to open its folder.
    void showWritten(const QString& path, bool view = false);
    // Puts our style sheets and start page in place for the pages about to
    // be made; a style sheet staff changed is kept and said once a run.
    void installShipped();
    // Opens a file or a folder with the system's programs; false when none
    // can. Tests replace it.
    std::function<bool(const QString& path)> openWithSystem;
    // The caption names the open database; it and the status bar mark
    // changes not saved yet.
    void updateCaption();
    void showModifiedMark();
    // The about window; as the splash it closes by itself.
    void doVersion(bool splash);

    // --- hosted working windows ---
    // Every command that writes the database or leaves the shown record
    // stores it first through here. Raises AppError, storing nothing, when
    // an entry cannot be kept.
    void storeShown();
    // True while a hosted window holds edits not stored yet.
    bool shownModified() const;
    // Puts a working window's panel into mainPanel; a page change gives it
    // back to that window.
    void hostPanel(QWidget* panel);
    // Whether a working window takes part in the hosting yet.
    bool isHosted(const QWidget* window) const;

    // Runs an event handler, showing any error it raises; false on error.
    bool guarded(const std::function<void()>& action);

    // The main window's part of navigation: store, move, show. False when
    // the shown entries could not be stored (nothing moved).
    bool moveToArtisan(int index);

signals:
    // The window changed sides (curPage: artisans and products, or sales).
    void pageShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildTopPanel();
    void buildLocatePanel();
    void buildMenus();
    void buildStatusBar();
    void fillRecentMenu();
    void updateHeader();
    // Artisans who left are not offered in the green bar's choosers (unless shown).
    void hideGoneArtisans(QComboBox* chooser) const;

    void firstShow();
    void shutDown();
    void pageBtnClick();
    void addRecBtnClick();
    void subTLabelClick();
    // Registers a working window that implements THostedWindow, with the
    // panels of it the main window hosts.
    void hostWindow(QWidget* window, std::vector<QWidget*> panels);
    // Lets every shown window leave whose panels are not nextPanel.
    void leaveShownBut(const QWidget* nextPanel);

    struct Hosted {
        THostedWindow* window;
        std::vector<QWidget*> panels;
    };
    std::vector<Hosted> m_hosted;
    // One of the window's panels, or what stands in for one, is in the main panel.
    bool isShown(const Hosted& h) const;
    std::map<QWidget*, QWidget*> m_panelOwner;
    std::unique_ptr<TDbCommands> m_db;
    QStringList m_keptSaid; // style sheets of staff's already said kept

    Boutique m_doc;
    AppState& st = m_doc.state();
    std::unique_ptr<Prompt> m_ownPrompt;
    std::unique_ptr<Prompt> m_frenchPrompt;
    Prompt* m_prompt;
    ModalRunner m_runModal;
    bool m_firstShown = false;
    bool m_shutDown = false;
};
