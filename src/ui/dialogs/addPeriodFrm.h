#pragma once
// The period dialog: lists the periods and adds, retitles, re-ends and
// deletes them on a month calendar. It changes the period list at once;
// "Annuler" (and Escape) puts the list back as the dialog found it, "Fermer"
// and the close box keep it. The caller brings the all-sales period up to
// date afterwards.

#include "ui/widgets/monthHeader.h"

#include <QDialog>
#include <array>

class Prompt;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolButton;
class TPCalendar;
class TRepList;

class TaddPeriodDlg : public QDialog {
    Q_OBJECT
public:
    // curCIndex (the sales window's current period) keeps naming the same
    // period when one is deleted.
    TaddPeriodDlg(TRepList& reps, Prompt& prompt, int& curCIndex, QWidget* parent = nullptr);

    QListWidget* sPeriodList;
    QMenu* cListPop;
    QAction* mDel;
    QLabel* itemNoLab;
    QLabel* tLab;
    QLabel* Label1;
    QLabel* dteLab1;
    QLabel* Label2;
    QLabel* dteLab2;
    QToolButton* addPBtn;
    QToolButton* remPBtn;
    QLabel* Label4;
    QFrame* pTPanel;
    QLineEdit* pTitle;
    QToolButton* pTitleBtn;
    QFrame* calPanel;
    TPCalendar* Calend;
    QToolButton* prevBtn;
    QToolButton* nextBtn;
    QLabel* monthLab;
    QLabel* YearLab;
    QSpinBox* yearSpin; // the shown year, changed directly
    QLabel* Label6;
    QLabel* dInfoLab;
    QLabel* infoLab;
    QPushButton* OKBtn;

    int selIndex = 0;
    bool editMode = false;
    // While the title panel is open, the day chosen on the calendar goes to
    // the start ("début:" clicked) or to the end (the default).
    bool pickStart = false;

    void listClick();
    void addClick();
    void editClick();
    void confirmTitle();
    void deleteSelected();
    // The start (true) or the end of the period chosen on the calendar next
    // ("début:" or "fin:" clicked).
    void pickField(bool start);
    // Shows a "yymmdd" date in the calendar; "?" is ignored.
    void showDate(const QString& date);

    // The periods as the dialog found them, then closes.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Return confirms a period being entered, wherever the focus is;
    // otherwise it closes with "Fermer".
    void keyPressEvent(QKeyEvent* event) override;
    // The close box only ends the dialog, as "Fermer" does.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void calendarChange();
    void calendarClick();
    void moveMonth(int step);
    void reloadList(int select);

    TRepList& reps;
    Prompt& prompt;
    int& curCIndex;
    MonthHeader m_head;
    // What "Annuler" restores: title, start and end of each period, the
    // current ones and the period shown when the dialog appeared.
    QList<std::array<QString, 3>> m_found;
    int m_foundCurPeriod = -1;
    int m_foundCIndex = -1;
    int m_shownIndex = -1;
};
