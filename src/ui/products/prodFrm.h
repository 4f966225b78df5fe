#pragma once
// The products window: the current artisan's products and their dated
// quantities (form mode), all of them in a grid (list mode), and the copying
// of products offered by the import list. Its panels are hosted by the main
// window; it also carries the glue that moves a product between prodList and
// its controls.

#include "model/uProd.h"
#include "ui/widgets/hostedWindow.h"

#include <QWidget>

class AppState;
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTableWidget;
class QToolButton;
class TmainForm;

class TProdForm : public QWidget, public THostedWindow {
    Q_OBJECT
public:
    TProdForm(AppState& st, TmainForm& mainForm, QWidget* parent = nullptr);

    // --- form mode ---
    QFrame* formPanel;
    QToolButton* artPageBtn;
    QToolButton* viewModeBtn;
    QFrame* leftPanel;
    QListWidget* ProdListBox;
    QMenu* listMenu;
    QFrame* navPanel;
    QToolButton* addProdBtn;
    QToolButton* delSBTN;
    QLabel* prodCntLab;
    QFrame* impPanel;
    QLabel* apListLabel;
    QCheckBox* importChk;
    QFrame* fieldPanel;
    QMenu* fieldMenu;
    QLabel* prodNumLab; // the shown product's number, beside "No Produit:"
    QLineEdit* descriptEd;
    QLineEdit* valEd;
    QLineEdit* priceEd;
    QPushButton* btnList;
    QPushButton* btnUpdate;
    QGroupBox* quantBox;
    QLabel* totQLab;
    QToolButton* addDateBtn;
    QToolButton* remDateBtn;
    QTableWidget* dqStrGrid;
    QMenu* gridMenu;
    QAction* pmSort;
    QGroupBox* sQPanel;
    QLabel* Label17;
    QTableWidget* sDQGrid;
    QFrame* sqInfoPanel;
    QLabel* totSQLab;
    QLabel* totAvailLab;
    QLabel* totSQValLab;
    QFrame* locatePan;
    QToolButton* prevBtn;
    QLabel* prodNoLab;
    QToolButton* nextBtn;
    QPushButton* tagsBtn; // "Imprimer les étiquettes..."
    QPushButton* returnBtn; // "Rendre à l'artisan..."

    // --- list mode ---
    QFrame* listPanel;
    QTableWidget* transList;
    QLabel* gridTotLab;
    QToolButton* sBackBtn;
    QPushButton* imProdBtn;

    bool prodListMode = false;
    int prodViewPage = 1; // the main window's panel for this window: 1 or 3
    bool importDone = false;
    QString qtyText;      // quantity of the event being edited
    QString qtyDate;      // its date, kept between edits
    int qtyRow = -1;      // its row in dqStrGrid, -1 for a new event
    int impRow = -1;      // row chosen in the import grid
    int impArtIndex = -1; // artisan of impArtList whose products are offered
    TProdList impProdList;

    // --- THostedWindow ---
    void showCurrent() override { showCurrentProduct(); }
    // Stores the shown product; raises AppError, storing nothing, on an
    // entry that cannot be kept.
    void storeShown() override;
    // Stores, and leaves the import of products.
    void leave() override;
    bool isModified() const override { return m_dirty; }

    void showCurrentProduct();
    void fillProductGrid();
    void editQuantity();
    void toggleProdViewMode();
    // The tags dialog, then the tags' PDF (prodTags.cpp).
    void printTags();

    // --- glue between prodList and the controls ---
    // Shows product index (named apart from QWidget::show).
    void showProduct(int index);
    // Stores the controls into product index: everything or, when an entry
    // is refused (AppError), nothing.
    void setPData(int index);
    void saveCurrent();
    void saveAs(const QString& number);
    void loadWindow();
    // The form page as the artisans page opens it: the import panel for an
    // imported artisan, the fields while there are products, their count.
    void showFormPage();
    void resetWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFormPanel();
    void buildFieldPanel();
    void buildListPanel();
    void connectEvents();

    void receivedToGrid(const TProduit& p);
    // The events of dqStrGrid; raises AppError on a row changed into an
    // event that cannot be stored.
    TQnt receivedFromGrid(const TProduit& p) const;
    void soldToGrid(TProduit& p);
    // The lines of ProdListBox: each product's number and description.
    QStringList productLines() const;
    void refreshTotals(TProduit& p);

    void navigate(int step);
    void listRowChanged(int row);
    void addProdBtnClick();
    void delSBTNClick();
    void artPageBtnClick();
    void placeArtPageBtn(QWidget* panel);
    void transListClick(int row);
    void transListDoubleClick();
    void setImportMode(bool on);
    void prepareImport();
    void imProdBtnClick();
    void addDateBtnClick();
    void remDateBtnClick();
    void sortEvents();
    void gridDoubleClick(int row);
    // The artisan's own list follows prodList at once, so that every save
    // finds the products added, imported or deleted.
    void syncArtisan();
    void setHelp(const QString& text);
    bool validProduct() const;

    AppState& st;
    TmainForm& main;
    bool m_dirty = false;
    bool m_filling = false; // controls being filled by the program
};
