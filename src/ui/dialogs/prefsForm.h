#pragma once
// The preferences dialog: start-up options, the database file name and the
// boutique named on the statements.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
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
    QLabel* shopNameLab;
    QLineEdit* shopNameEd;
    QLabel* shopAddressLab;
    QPlainTextEdit* shopAddressMemo; // one postal line per line
    // "Part de l'artisan": the products' "Valeur" (0) or a percentage (1).
    QLabel* shareLab;
    QComboBox* shareRuleCB;
    QSpinBox* sharePctSpin;
    // artSharePercent of the settings, as shown and as chosen.
    void setSharePercent(int percent);
    int sharePercent() const;
};
