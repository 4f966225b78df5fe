#pragma once
// The period dialog: lists the periods and adds, retitles, re-ends and
// deletes them on a month calendar. It changes the period list at once; the
// caller brings the all-sales period up to date afterwards.

#include <QDialog>

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void calendarChange();
    void calendarClick();
    void moveMonth(int step);
    void reloadList(int select);

    TRepList& reps;
    Prompt& prompt;
    int& curCIndex;
};
