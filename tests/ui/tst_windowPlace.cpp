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
        QTest::addColumn<QPoint>("corner");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("placed");
        // Two screens side by side; the primary is the left one.
        QTest::newRow("on the second") << QPoint(2000, 100) << QSize(830, 655) << QPoint(2000, 100);
        QTest::newRow("across both") << QPoint(1500, 100) << QSize(830, 655) << QPoint(1090, 100);
        QTest::newRow("above") << QPoint(10, -4000) << QSize(830, 655) << QPoint(10, 0);
        QTest::newRow("absurd") << QPoint(2147483647, -2147483647) << QSize(830, 655) << QPoint(1090, 0);
        QTest::newRow("larger than the primary") << QPoint(300, 300) << QSize(3000, 2000) << QPoint(0, 0);
    }
    void placement()
    {
        QFETCH(QPoint, corner);
        QFETCH(QSize, size);
        QFETCH(QPoint, placed);
        const QRect primary(0, 0, 1920, 1040);
        QCOMPARE(placeOnScreens(corner, size, {primary, QRect(1920, 0, 2560, 1400)}, primary), placed);
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
