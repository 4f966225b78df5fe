#include "ui/shell/about.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace {
constexpr int kWidth = 464;
constexpr int kHeight = 326;

QPixmap aboutPicture()
{
    QPixmap pix(kWidth, kHeight);
    QPainter p(&pix);
    QLinearGradient g(0, 0, kWidth, kHeight);
    g.setColorAt(0.0, QColor(0xF4, 0xEE, 0xD8));
    g.setColorAt(1.0, QColor(0x3A, 0x7A, 0x3A));
    p.fillRect(pix.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x80, 0, 0), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(pix.rect().adjusted(4, 4, -5, -5), 18, 18);
    return pix;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int pointSize,
                  const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont f(QStringLiteral("Verdana"), pointSize, QFont::Bold);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: #800000; background: transparent;"));
    label->setGeometry(geometry);
    return label;
}
} // namespace

TaboutForm::TaboutForm(QWidget* parent, bool splash) : QDialog(parent), m_splash(splash)
{
    setObjectName(QStringLiteral("aboutForm"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(kWidth, kHeight);

    bImg = new QLabel(this);
    bImg->setObjectName(QStringLiteral("bImg"));
    bImg->setPixmap(aboutPicture());
    bImg->setGeometry(0, 0, kWidth, kHeight);
    bImg->installEventFilter(this);

    Label1 = makeLabel(this, "Label1", QStringLiteral("Base de données"), 12, QRect(40, 60, 380, 40));
    Label2 = makeLabel(this, "Label2", QStringLiteral("de la"), 12, QRect(60, 105, 200, 30));
    Label3 = makeLabel(this, "Label3", QStringLiteral("Tilvar"), 40, QRect(90, 140, 320, 74));
    versionLab = new QLabel(QStringLiteral("version"), this);
    versionLab->setObjectName(QStringLiteral("versionLab"));
    versionLab->setStyleSheet(QStringLiteral("color: #202020; background: transparent;"));
    versionLab->setGeometry(60, 216, VersionWidth, 20);
    hintLab = new QLabel(splash ? QStringLiteral("Cliquez pour continuer") : QStringLiteral("Cliquez pour fermer"), this);
    hintLab->setObjectName(QStringLiteral("hintLab"));
    hintLab->setStyleSheet(QStringLiteral("color: white; background: transparent; font-weight: bold;"));
    hintLab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    hintLab->setGeometry(150, 300, 300, 18);
    detailsLab = new QLabel(this);
    detailsLab->setObjectName(QStringLiteral("detailsLab"));
    detailsLab->setWordWrap(true);
    detailsLab->setStyleSheet(QStringLiteral("color: #202020; background: transparent;"));
    // Below the version, above the hint: a long folder breaks at its
    // separators rather than running out of the window.
    detailsLab->setGeometry(20, 236, 424, 64);
    detailsLab->setVisible(!splash);
    for (QLabel* l : {Label1, Label2, Label3, versionLab, hintLab, detailsLab})
        l->setAttribute(Qt::WA_TransparentForMouseEvents);

    BTimer = new QTimer(this);
    BTimer->setObjectName(QStringLiteral("BTimer"));
    BTimer->setInterval(100);
    connect(BTimer, &QTimer::timeout, this, &TaboutForm::onTick);

    // The creation steps of the animation.
    tick = 1;
    BTimer->start();
    setAlphaBlend(55);
    setWindowTitle(QString(8, QLatin1Char(' ')));
    dotStep = 0;
    Label1->hide();
    Label2->hide();
    Label3->hide();
    Label1->resize(50, Label1->height());
    Label2->resize(25, Label2->height());
    versionLab->hide();
    versionLab->resize(0, versionLab->height());
}

void TaboutForm::setAlphaBlend(int value)
{
    m_alpha = value;
    // Platforms without window transparency (offscreen) only keep the value.
    static const bool canBlend = QGuiApplication::platformName() != QLatin1String("offscreen")
                                 && QGuiApplication::platformName() != QLatin1String("minimal");
    if (canBlend)
        setWindowOpacity(value / 255.0);
}

void TaboutForm::onTick()
{
    if (m_finished)
        return;
    ++tick;
    if (m_alpha < 250)
        setAlphaBlend(m_alpha + 5);
    if (dotStep >= 60) {
        dotStep = 0;
        setWindowTitle(windowTitle() + QStringLiteral(". "));
    } else {
        dotStep += 10;
    }
    // The splash lasts until the version has been read whole for a moment.
    if (m_splash && tick > SplashTicks && m_wholeAt > 0 && tick >= m_wholeAt + WholeTicks) {
        finish();
        return;
    }
    if (dotStep == 50)
        stage += 10;
    switch (stage) {
    case 10: Label1->show(); break;
    case 20: Label1->resize(83, Label1->height()); break;
    case 30: Label1->resize(170, Label1->height()); break;
    case 40: Label2->show(); break;
    case 50: Label2->resize(55, Label2->height()); break;
    case 60: Label3->show(); break;
    case 70: versionLab->show(); break;
    case 80: setCursor(Qt::PointingHandCursor); break;
    default: break;
    }
    // The version comes out 10 px a tick, up to the whole of its text.
    const int whole = qMin(VersionWidth, versionLab->fontMetrics().horizontalAdvance(versionLab->text()) + 4);
    if (stage > 70 && versionLab->width() < whole)
        versionLab->resize(qMin(whole, versionLab->width() + 10), versionLab->height());
    if (m_wholeAt == 0 && !versionLab->isHidden() && versionLab->width() >= whole)
        m_wholeAt = tick;
}

bool TaboutForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bImg && event->type() == QEvent::MouseButtonPress) {
        finish();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TaboutForm::keyPressEvent(QKeyEvent*)
{
    finish();
}

void TaboutForm::mousePressEvent(QMouseEvent*)
{
    finish();
}

void TaboutForm::finish()
{
    m_finished = true;
    done(QDialog::Accepted);
}

void TaboutForm::done(int result)
{
    // Closing in any way stops the animation.
    BTimer->stop();
    m_finished = true;
    QDialog::done(result);
}
