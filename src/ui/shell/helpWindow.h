#pragma once
// "?" > "Aide": the French user guide that travels inside the program,
// shown in a window of its own (no browser needed).

#include <QDialog>

class QTextBrowser;

class THelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    QTextBrowser* guide;
};
