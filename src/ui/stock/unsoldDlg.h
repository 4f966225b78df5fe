#pragma once
// "Invendus depuis...": the products whose oldest unsold units came in more
// than some months ago, for the whole boutique or one artisan; from it, the
// return of an artisan's goods opens with them ticked.

#include "model/stockShelf.h"

#include <QDate>
#include <QDialog>
#include <functional>

class AppState;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

class TUnsoldDlg : public QDialog {
    Q_OBJECT
public:
    TUnsoldDlg(const AppState& st, const QDate& today, QWidget* parent = nullptr);

    QSpinBox* monthsSpin;   // 6 by default
    QComboBox* scopeCB;     // "Toute la boutique", then each artisan
    QLabel* infoLab;
    QTableWidget* unsoldGrid; // Artisan, Produit, Description, Reçu le, Anciens, En stock, Au prix, À la valeur
    QPushButton* returnBtn;   // "Rendre à l'artisan..."

    const QList<ShelfLine>& lines() const { return m_lines; }
    // Run by returnBtn with the artisan of the chosen line and that
    // artisan's lines of the list.
    std::function<void(const QString& artNo, const QList<ShelfLine>&)> giveBack;
    // Lists again (after a return).
    void refill();

private:
    const AppState& st;
    QDate m_today;
    QList<ShelfLine> m_lines;
};
