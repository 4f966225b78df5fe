#pragma once
// Publishing: the options dialog (which pages the web-page button makes, for
// which period) and the main window's publishing and export commands.

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class TmainForm;

class TpubDlgForm : public QDialog {
    Q_OBJECT
public:
    explicit TpubDlgForm(QWidget* parent = nullptr);

    // The check boxes from the first pubPrefs character to the fifth.
    static constexpr int checkCount = 6;
    std::array<QCheckBox*, checkCount> checks{};

    QFrame* Panel1;
    QLabel* infoLab;
    QFrame* periodPanel;
    QLabel* Label1;
    QComboBox* RepCB;
    QLabel* infoLab1;
    QPushButton* OKBtn;

    // Shows prefs (a missing character is an unchecked box) and the periods,
    // curCIndex selected.
    void setPrefs(const QString& prefs, const QStringList& titles, int curCIndex);
    // "1" per checked box, "0" per other.
    QString getPrefs() const;
};

// The main window's publishing commands: WebPageBtn, pmPubPrefs, aExpArt,
// aExpAll and aExpSales.
class TPublisher : public QObject {
    Q_OBJECT
public:
    explicit TPublisher(TmainForm& main);

    // Shows a page in the user's browser; tests replace it.
    std::function<void(const QString& path)> openPage;

    void pubOptions();
    void webPage();
    void exportSales();

private:
    TmainForm& main;
};
