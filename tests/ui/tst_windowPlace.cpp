// The main window opens on a screen whatever position the settings kept.

#include "ui/shell/onScreen.h"
#include "uiHarness.h"

#include <QScreen>

using namespace Qt::StringLiterals;

class TestWindowPlace : public QObject {
    Q_OBJECT

private slots:
    void placement_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QPoint>("placed");
        // Two screens side by side; the primary is the left one.
        QTest::newRow("on the primary") << QRect(100, 50, 830, 655) << QPoint(100, 50);
        QTest::newRow("on the second") << QRect(2000, 100, 830, 655) << QPoint(2000, 100);
        QTest::newRow("across both") << QRect(1500, 100, 830, 655) << QPoint(1090, 100);
        QTest::newRow("gone monitor") << QRect(5000, 300, 830, 655) << QPoint(1090, 300);
        QTest::newRow("above") << QRect(10, -4000, 830, 655) << QPoint(10, 0);
        QTest::newRow("absurd") << QRect(2147483647, -2147483647, 830, 655) << QPoint(1090, 0);
        QTest::newRow("larger than the primary") << QRect(300, 300, 3000, 2000) << QPoint(0, 0);
    }
    void placement()
    {
        QFETCH(QRect, wanted);
        QFETCH(QPoint, placed);
        const QRect primary(0, 0, 1920, 1040);
        QCOMPARE(placeOnScreens(wanted, {primary, QRect(1920, 0, 2560, 1400)}, primary), placed);
    }

    // Kept off every screen: shown on the primary one, and kept there.
    void mainWindow()
    {
        UiHarness h;
        h.writeIni("[PREFS]\r\nwLeft=-30000\r\nwTop=2147483647\r\nshowSplash=0\r\n");
        TmainForm& w = h.start();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect shown(w.pos(), QSize(830, 655));
        // As much of it on the screen as the screen's size allows.
        QVERIFY2(area.intersected(shown).size() == shown.size().boundedTo(area.size()),
                 qPrintable(u"%1,%2"_s.arg(w.x()).arg(w.y())));
        QVERIFY(h.stop());
        QVERIFY(!h.readIni().contains(u"-30000"_s));
    }
};

QTEST_MAIN(TestWindowPlace)
#include "tst_windowPlace.moc"
