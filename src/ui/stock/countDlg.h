#pragma once
// "Compter le stock...": staff scan (or type) tag keys one after another;
// each whole key counts one unit of its product, shown with its count and
// the stock the books expect. Works on the account's open count directly,
// so a count paused is found again as it was.

#include <QDialog>

class AppState;
class Boutique;
class Prompt;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
struct StockCount;

class TCountDlg : public QDialog {
    Q_OBJECT
public:
    // How the window was left (its result).
    enum Outcome { Paused = 2, Closing = 3, Abandoned = 4 };

    TCountDlg(Boutique& doc, Prompt& prompt, QWidget* parent = nullptr);

    QLineEdit* keyEd;        // the scanner types here, Return ends a key
    QLabel* sayLab;          // what the last scan did, said aloud
    QListWidget* chooseList; // products a partial key may name; activated: counted
    QTableWidget* countGrid; // Produit, Description, Compté, Attendu
    QLabel* totalLab;
    QPushButton* takeOffBtn;  // "Retirer un"
    QPushButton* setCountBtn; // "Corriger le compte..."
    QPushButton* pauseBtn;    // "Interrompre"
    QPushButton* closeBtn;    // "Clore le comptage..."
    QPushButton* abandonBtn;  // "Abandonner le comptage"

    // Counts the key as a scan would.
    void scan(const QString& key);

private:
    void say(const QString& text, bool bad);
    void counted(int line);
    void fillGrid();
    void showLine(int row);
    void takeOff();
    void setCount();
    const StockCount& count() const;

    Boutique& doc;
    AppState& st;
    Prompt& prompt;
    QList<std::pair<int, int>> m_choices; // artisan, product of each chooseList line
};
