#pragma once
// The artisan's account on the artisans page: the balance today, every payout
// made to them, and the share rule they have of their own.

#include <QGroupBox>

class AppState;
class Boutique;
class Prompt;
class QCheckBox;
class QString;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

class TArtAccountBox : public QGroupBox {
    Q_OBJECT
public:
    TArtAccountBox(Boutique& doc, Prompt& prompt, QWidget* parent);

    QLabel* balanceLab;
    QListWidget* payoutList;
    QPushButton* reversePayBtn;
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
    // Cancels the payout chosen in the list by a reversing entry dated today,
    // asked first; the payout stays in the journal. True when recorded.
    bool reverseChosenPayout();
    // The box ticked or unticked: asked, then recorded from today.
    void setGone(bool gone);

private:
    Boutique& doc;
    AppState& st;
    Prompt& prompt;
    QString m_artNo;
};

// Asks from which day the share rule of artNo ("" for the boutique's) becomes
// percent (-1 for an artisan: the boutique's again), names the sale lines and
// artisans whose share it changes, and records it once staff agree; what is
// the rule in words. True when recorded.
bool changeShareRule(Boutique& doc, Prompt& prompt, const QString& artNo, int percent, const QString& what);
