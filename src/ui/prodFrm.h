#pragma once
// The products window: the current artisan's products and their dated
// quantities. Its form and list panels are hosted by the main window.

#include <QWidget>

class AppState;
class QFrame;
class QLabel;

class TProdForm : public QWidget {
    Q_OBJECT
public:
    TProdForm(AppState& st, QWidget* parent = nullptr);

    QFrame* formPanel;
    QFrame* listPanel;
    QFrame* fieldPanel;
    QFrame* impPanel;
    QLabel* prodCntLab;

    bool prodListMode = false;
    int prodViewPage = 1;

    // Shows the products of prodList (after the current artisan changed).
    void loadWindow();
    // Empties the product fields for an artisan without products.
    void resetWindow();
    // Stores the shown product's fields into product index.
    void setPData(int index);

private:
    AppState& st;
};
