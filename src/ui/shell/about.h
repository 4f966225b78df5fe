#pragma once
// The about window, also the start-up splash: the program's name and version
// fading in, revealed step by step by a 100 ms timer. As the splash it says
// "Cliquez pour continuer" and closes at the first key or click, or by itself
// after a few seconds; as the about window it also names the data folder and
// the licence and stays until closed.

#include <QDialog>

class QLabel;
class QTimer;

class TaboutForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int SplashTicks = 60; // at least six seconds: the whole reveal, then the window
    static constexpr int WholeTicks = 10;  // the splash stays a second once the version is whole
    static constexpr int VersionWidth = 340;

    explicit TaboutForm(QWidget* parent = nullptr, bool splash = true);

    QLabel* bImg;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* versionLab;
    QLabel* hintLab;    // "Cliquez pour continuer"
    QLabel* detailsLab; // data folder and licence (about window only)
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
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void done(int result) override;

private:
    void setAlphaBlend(int value);
    void finish();

    int m_alpha = 0;
    bool m_splash = true;
    bool m_finished = false;
    int m_wholeAt = 0; // the tick the version was first shown whole
};
