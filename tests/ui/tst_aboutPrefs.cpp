// The about window's animation, driven tick by tick, its use as the start-up
// splash, and the preferences dialog's controls.

#include "uiHarness.h"

#include "ui/about.h"
#include "ui/prefsForm.h"
#include "ui/translations.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestAboutPrefs : public QObject {
    Q_OBJECT
private slots:
    void aboutRevealsStepByStepThenCloses()
    {
        TaboutForm f;
        QCOMPARE(f.alphaBlend(), 55); // starts faint, labels hidden
        QVERIFY(f.Label1->isHidden() && f.Label3->isHidden() && f.versionLab->isHidden());
        QCOMPARE(f.BTimer->interval(), 100);
        f.BTimer->stop(); // the test is the clock
        f.show();
        int done = 0;
        const auto ticks = [&](int n) {
            for (int i = 0; i < n; ++i, ++done)
                f.onTick();
        };
        ticks(4);
        QVERIFY(f.Label1->isHidden());
        ticks(1); // stage 10
        QVERIFY(!f.Label1->isHidden());
        ticks(2); // the first dot
        QCOMPARE(f.windowTitle(), QString(8, QLatin1Char(' ')) + u". "_s);
        ticks(12);
        QCOMPARE(f.Label1->width(), 170);
        ticks(14);
        QCOMPARE(f.Label2->width(), 55);
        QCOMPARE(f.alphaBlend(), 55 + 5 * 33);
        ticks(7); // stage 60
        QVERIFY(!f.Label3->isHidden());
        QCOMPARE(f.alphaBlend(), 250);
        ticks(14); // stage 80: the version text grows 10 px a tick
        QCOMPARE(f.cursor().shape(), Qt::PointingHandCursor);
        const int width = f.versionLab->width();
        ticks(3);
        QCOMPARE(f.versionLab->width(), width + 30);
        // Closes itself after 500 ticks, or at once on a click on the picture.
        ticks(499 - done);
        QVERIFY(!f.finished() && f.isVisible());
        ticks(1);
        QVERIFY(f.finished() && !f.isVisible() && !f.BTimer->isActive());
        TaboutForm g;
        g.show();
        QTest::mouseClick(g.bImg, Qt::LeftButton);
        QVERIFY(g.finished() && !g.isVisible() && !g.BTimer->isActive());
    }

    void splashBeforeMainWindowAndFrenchDialogs()
    {
        UiHarness h;
        bool mainVisible = true;
        QString version;
        h.onModal = [&](QDialog& d) {
            mainVisible = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                mainVisible = mainVisible || (qobject_cast<TmainForm*>(w) && w->isVisible());
            if (auto* about = qobject_cast<TaboutForm*>(&d)) {
                version = about->versionLab->text();
                about->show();
                QTest::mouseClick(about->bImg, Qt::LeftButton);
            }
            return d.result();
        };
        h.start();
        QCOMPARE(h.modals, QStringList{u"TaboutForm"_s});
        QVERIFY(!mainVisible);
        QCOMPARE(version, u"tilvarDB version 0.8.5   09.05.18"_s);
        QVERIFY(h.w->isVisible());

        // Only the two check boxes of the preferences are shown.
        TPrefsDialog d;
        d.show();
        QVERIFY(d.autoLoadChk->isVisible() && d.splashScreenChk->isVisible());
        QVERIFY(!d.BDNameEd->isVisible() && !d.autoSaveSalesChk->isVisible());

        // The buttons of the unsaved-changes question and the file dialogs.
        QVERIFY(loadFrenchTranslations(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), u"&Oui"_s);
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), u"&Ouvrir"_s);
    }
};

QTEST_MAIN(TestAboutPrefs)
#include "tst_aboutPrefs.moc"
