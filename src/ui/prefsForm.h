#pragma once
// The preferences dialog: start-up options and the database file name.

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TPrefsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPrefsDialog(QWidget* parent = nullptr);

    QPushButton* OKBtn;
    QFrame* Panel1;
    QCheckBox* autoLoadChk;
    QCheckBox* splashScreenChk;
    QLabel* Label1;
    QLineEdit* BDNameEd;
    QLabel* extLab;
    QCheckBox* autoSaveSalesChk;
};
