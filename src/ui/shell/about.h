#pragma once
// The about window, also the start-up splash: the program's name and version
// fading in, revealed step by step by a 100 ms timer.

#include <QDialog>

class QLabel;
class QTimer;

class TaboutForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int TickLimit = 500;

    explicit TaboutForm(QWidget* parent = nullptr);

    QLabel* bImg;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* versionLab;
    QTimer* BTimer;

    int tick = 1;
    int dotStep = 0;
    int stage = 0;

    // Opacity of the window, 0..255.
    int alphaBlend() const { return m_alpha; }
    // True once the window has closed itself (picture click or tick limit).
    bool finished() const { return m_finished; }

public slots:
    // One step of the animation; BTimer calls it every 100 ms.
    void onTick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void setAlphaBlend(int value);
    void finish();

    int m_alpha = 0;
    bool m_finished = false;
};
