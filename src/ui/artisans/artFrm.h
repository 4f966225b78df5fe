#pragma once
// The artisans window: edits the current artisan's contact details (form
// mode) and lists every artisan in a grid (list mode). Its panels are hosted
// by the main window. It also carries the glue that moves an artisan between
// the model and the windows.

#include "ui/widgets/hostedWindow.h"

#include <QWidget>

#include <array>

class AppState;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QAction;
class QPushButton;
class QTableWidget;
class QToolButton;
class TmainForm;

class TArtAccountBox;

class TArtForm : public QWidget, public THostedWindow {
    Q_OBJECT
public:
    TArtForm(AppState& st, TmainForm& mainForm, QWidget* parent = nullptr);

    // --- form mode ---
    QFrame* formPanel;
    QToolButton* artPageBtn;
    QToolButton* vModeBtn0;
    QToolButton* viewModeBtn;
    QFrame* fldsPanel;
    QLabel* NoLabel;
    QLabel* artNoLab;
    QLabel* infoLab;
    QLabel* varDataLab;
    QLineEdit* nameEd;
    QLineEdit* fNameEd;
    QLineEdit* addressEd;
    QLineEdit* cityEd;
    QLineEdit* CPEd;
    QLineEdit* telEd;
    QLineEdit* eMailEd;
    QPlainTextEdit* comMemo;
    QPushButton* btnImpArtItem;
    QPushButton* Button2;
    // "Imprimer l'inventaire...": of the shown artisan or of the whole boutique.
    QPushButton* inventBtn;
    // The balance today, the payouts and the artisan's own share rule.
    TArtAccountBox* accountBox;
    QAction* invArtAct;
    QAction* invShopAct;

    // --- list mode ---
    QFrame* listPanel;
    QToolButton* sBackBtn;
    QTableWidget* ArtGrid;
    QMenu* gridMenu;

    bool artListMode = false;
    bool importAsked = false;
    // The import file impArtList was read from; empty when it is empty.
    QString impListSource;
    // The seven editors, in the order of their names.
    std::array<QLineEdit*, 7> editors{};

    // --- hosted by the main window ---
    void showCurrent() override;
    void storeShown() override;
    bool isModified() const override;

    void fillGrid();
    void toggleViewMode();
    void importOneArtisan();

    // --- glue between the artisan list and the windows ---
    void addArtisan(const QString& number);
    void rebuildLists();
    void showArtisan(int index);
    // Stores the shown fields into artisan index. Raises AppError, storing
    // nothing, when an entry cannot be kept in a record.
    void storeArtisan(int index);
    void storeCurrent();
    void clearWindow();
    // Typing goes into the name; with canImport, the import button is offered.
    void focusEntry(bool canImport = false);
    // Fills the artisan just added from artisan sourceIndex of impArtList.
    void importArtisan(int sourceIndex);
    // The inventory PDF of the shown artisan, or of all (artInventory.cpp).
    void printInventory(bool wholeShop);

signals:
    // The artisan number the window shows, which a store writes: the main
    // window's number line follows it.
    void numberShown(const QString& number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The memo's text, or the stored comment when they differ only in line ends.
    QString memoText(int index) const;
    void artPageBtnClick();
    void gridClick(int row);
    void nameChanged();
    void setHelp(const QString& text);
    void showNumber(const QString& number);

    AppState& st;
    TmainForm& main;
    QString m_shownNo;
};
