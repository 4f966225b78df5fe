#pragma once
// The differences a count found, per artisan: staff choose for each line (or
// all at once) to record nothing or an adjustment of the received quantity,
// and for missing units who bears the loss; they may print them first.

#include "model/stockCount.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

class TDiffDlg : public QDialog {
    Q_OBJECT
public:
    TDiffDlg(const QList<CountDiff>& diffs, const QString& caption, QWidget* parent = nullptr);

    // Choices offered for missing units, in the order of CountDiff::Choice.
    static QStringList choiceTexts();

    QLabel* infoLab;
    QTableWidget* diffGrid; // Artisan, Produit, Description, Attendu, Compté, Écart, Au prix, À la valeur, À faire
    QPushButton* allBoutiqueBtn; // "Tout ajuster, perte à la boutique"
    QPushButton* allNobodyBtn;   // "Tout ajuster, perte sans crédit"
    QPushButton* allNothingBtn;  // "Ne rien enregistrer"
    QPushButton* printBtn;       // "Imprimer les écarts..."
    QPushButton* OkBtn;          // "Enregistrer et clore"

    // What line row records (its box's choice).
    void setChoice(int row, CountDiff::Choice c);
    CountDiff::Choice choice(int row) const;
    // The differences with the choices made.
    QList<CountDiff> chosen() const;
    // Run by printBtn, with the differences as chosen.
    std::function<void(const QList<CountDiff>&)> print;

private:
    void setAll(CountDiff::Choice missing, CountDiff::Choice other);
    QList<CountDiff> m_diffs;
};
