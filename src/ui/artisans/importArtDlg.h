#pragma once
// The dialog that picks one artisan of an artisan-list XML file (impArtList)
// to copy into the current database.

#include "model/uProd.h"

#include <QDialog>

class AppState;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class TmainForm;

// Where the import file named by importFName lies: in the data folder, or
// where a full path (an older settings file) says.
QString importFilePath(const AppState& st);
// The path of an import file name as importFName holds it (dataDir + name
// unless it is absolute).
QString importFilePath(const AppState& st, const QString& name);

class TImpArtDlg : public QDialog {
    Q_OBJECT
public:
    TImpArtDlg(AppState& st, TmainForm& mainForm, QWidget* parent = nullptr);

    QPushButton* OKBtn;
    QMenu* okMenu;
    QAction* mXPortFile;
    QLabel* Label2;
    QLabel* itemNoLab;
    QLabel* descriptLab;
    QLabel* infoLab;
    QLabel* indLab;
    QListWidget* artListBox;
    QListWidget* prodListBox;
    QPushButton* BtnChangeFile;
    QPushButton* cancelBtn;
    QPushButton* exportBtn;

    QString importName; // the import file shown in the caption
    QString chosenNo;   // number of the chosen artisan
    int chosenIndex = -1; // its index in impArtList
    TProdList prodList;   // products of the chosen artisan

    // Reads impArtList from the import file when it is empty, reporting a
    // missing file or an empty list.
    void readList();
    // artListBox := the display names of impArtList, sorted.
    void fillList();
    void chooseRow(int row);
    void changeFile();
    void exportList();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppState& st;
    TmainForm& main;
    bool m_shown = false;
};
