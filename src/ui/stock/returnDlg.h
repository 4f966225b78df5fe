#pragma once
// "Rendre à l'artisan...": the artisan's products in stock, with the day each
// came in and how long it has been on the shelf; staff tick products and
// quantities to hand back.

#include "model/stockShelf.h"

#include <QDate>
#include <QDialog>
#include <QHash>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

class TReturnDlg : public QDialog {
    Q_OBJECT
public:
    // ticked: the products to tick at once, with their quantities.
    TReturnDlg(const QString& artName, const QList<ShelfLine>& lines, const QHash<QString, int>& ticked,
               const QDate& today, QWidget* parent = nullptr);

    QLabel* infoLab;
    QTableWidget* retGrid; // Rendre, Produit, Description, Reçu le, Jours en rayon, En stock, À rendre
    QPushButton* OkBtn;    // "Rendre..."

    // The ticked products and quantities.
    QList<ReturnLine> chosen() const;
    // Why the choice cannot be recorded ("" when it can); OkBtn says it and
    // keeps the window open.
    std::function<QString(const QList<ReturnLine>&)> problem;
    std::function<void(const QString&)> refuse;

    static constexpr int TickCol = 0;
    static constexpr int QntCol = 6;

private:
    QList<ShelfLine> m_lines;
};
