#pragma once
// The artisan's account on the artisans page: the balance today, every payout
// made to them, and the share rule they have of their own.

#include <QGroupBox>

class AppState;
class Prompt;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

class TArtAccountBox : public QGroupBox {
    Q_OBJECT
public:
    TArtAccountBox(AppState& st, Prompt& prompt, QWidget* parent);

    QLabel* balanceLab;
    QListWidget* payoutList;
    QComboBox* ownRuleCB; // the boutique's, the Valeur, a percentage
    QSpinBox* ownPctSpin;
    QPushButton* ownRuleBtn;
    // The artisan left: kept in every report and balance, sells nothing new.
    QCheckBox* goneChk;

    // Shows the account of the artisan numbered artNo, as it stands today.
    void showAccount(const QString& artNo);
    // Asks from which day the rule chosen applies, records it and the shares
    // it changes, and says how many changed. True when it was recorded.
    bool applyOwnRule();
    // The box ticked or unticked: asked, then recorded from today.
    void setGone(bool gone);

private:
    AppState& st;
    Prompt& prompt;
    QString m_artNo;
};
