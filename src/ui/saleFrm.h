#pragma once
// The sales window: the day's sales sheets and the sales by period. Its
// panels are hosted by the main window on the sales side.

#include <QWidget>

class AppState;
class QComboBox;
class QFrame;
class QLabel;

class TsaleForm : public QWidget {
    Q_OBJECT
public:
    TsaleForm(AppState& st, QWidget* parent = nullptr);

    QFrame* sTopPan;
    QLabel* sNameLab;
    QComboBox* sNameCB;
    QFrame* formPanel;
    QComboBox* pListCB;

private:
    AppState& st;
};
