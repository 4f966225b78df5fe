#pragma once
// The sale-line editor: docked in place of the sales window's sheet view, it
// puts products on and off the shown sheet and sets their quantities, keeping
// each product's sold quantity for the sheet's date in step with the lines.

#include "model/uProd.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <QWidget>

#include <utility>
#include <vector>

class AppState;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;
class QToolButton;
class TmainForm;
class TsaleForm;

class TaddSItemDlg : public QWidget {
    Q_OBJECT
public:
    TaddSItemDlg(AppState& st, TmainForm& mainForm, TsaleForm& saleForm, QWidget* parent = nullptr);

    QLabel* Label2;
    QListWidget* artListBox;
    QTableWidget* prodStrGrid;
    QFrame* QntPanel;
    QLabel* prodNoLab;
    QLabel* descriptLab;
    QLabel* priceLab;
    QLabel* curTagLab;
    QLabel* NameLab;
    QLabel* qTableImg;
    QLabel* qTlab0;
    QLabel* qTlab1;
    QLabel* qTlab2;
    QFrame* alertShape;
    QLineEdit* QuantEdit;
    QFrame* UDQuant;
    QToolButton* upBtn;
    QToolButton* downBtn;
    QLabel* sTotLab;
    QLabel* valeurLab; // the product shown has no Valeur under a Valeur rule
    QGroupBox* GroupBox1;
    QListWidget* ProdListBox;
    QToolButton* OKBtn;
    // Puts the sheet and every sold quantity back as they were at opening.
    QToolButton* cancelBtn;
    QLabel* infoLab;
    // Finding products by key or description, for work at the keyboard.
    QLineEdit* searchEd;
    QListWidget* searchList;

    QStringList dlgLines;  // the sheet's lines while edited ("*" in each PNo)
    TProdList artProducts; // the chosen artisan's products (shared objects)
    int artPos = -1;       // selected entry of artListBox
    int artIndex = -1;     // the chosen artisan in the artisan list
    int prodRow = 0;       // selected product row, 1 = first product
    QString curTag;        // artisan tag and number, "TreMar005"
    QString saleDate;      // the sheet's date, "yymmdd"
    int startRow = -1;     // the sheet line the editor was opened on
    bool shown = false;
    // Something was put on, taken off or changed since the editor opened.
    bool changed = false;

    // The sheet's lines from the sales grid, the artisans in tag form.
    void loadSheet();
    // First artisan chosen, the line of startRow selected.
    void showFirst();

    void chooseArtisan(int pos);
    void showRow(int row);
    // Right button (or Space): the selected product goes on the sheet or off it.
    void putOnOff();
    // QuantEdit's value becomes the selected product's quantity on the sheet.
    void changeQuantity();
    void stepQuantity(int delta);
    // A quantity typed but not entered is kept before the editor leaves the
    // product (another line, another artisan, "Terminé").
    void commitQuantity();
    // Every product changed gets back its sold events of the opening; the
    // sheet's lines of the opening are in linesBefore.
    void undo();
    QStringList linesBefore;      // the sheet's lines when the editor opened
    bool storedWhileOpen = false; // the sheet took the edited lines (a save)
    bool modifiedBefore = false;  // the database's state when it opened
    void chooseLine(int index);
    void rebuildLineList();
    // The line of (artisan, product number); -1 when none.
    int findLine(const QString& tag, const QString& prodNo) const;
    // The lines as the sheet stores them ("-" in each PNo).
    QStringList sheetLines() const;

    // --- search ---
    void search(const QString& text);
    // Puts the chosen search result on the sheet, or adds 1 to its line.
    void takeSearchResult();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildQntPanel();
    void setHelp(const QString& text);
    // The product of the selected row; null for a row without one.
    TProduit* rowProduct() const;
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    // The row filled from its product; marked with "*" when on the sheet.
    void refreshRow(int row, bool marked);
    QString lineOfRow(int row) const;
    // Keeps the row's product's sold events as they were, once per product.
    void remember();
    // Sets the product's sold quantity on the sheet's date to qnt, asking
    // first when that takes its stock below zero; false when refused.
    bool setSold(TProduit& p, int qnt, int previous);
    // The artisan of a line's key ("TreMar005"); -1 when none.
    int artisanOfTag(const QString& tag) const;
    void selectArtisan(int artisan);
    void selectProduct(const QString& prodNo);

    AppState& st;
    TmainForm& main;
    TsaleForm& sale;
    // Search results: artisan index and product position.
    QList<QPair<int, int>> m_found;
    // Sold events of each product before the editor first changed it.
    std::vector<std::pair<TProdList::Ptr, TQnt>> m_soldBefore;
    // QuantEdit holds what the user typed for the shown row, not entered yet.
    bool m_typed = false;
};
