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
        QVERIFY(f.Label1->isHidden() && f.Label3->isHidden());
        f.BTimer->stop(); // the test is the clock
        f.show();
        for (int i = 0; i < 60; ++i)
            f.onTick();
        // Six seconds on: every label shown, opaque, the picture clickable.
        QVERIFY(!f.Label1->isHidden() && !f.Label3->isHidden() && !f.versionLab->isHidden());
        QCOMPARE(f.Label1->width(), 170);
        QCOMPARE(f.alphaBlend(), 250);
        QCOMPARE(f.cursor().shape(), Qt::PointingHandCursor);
        for (int i = 60; i < 499; ++i)
            f.onTick();
        QVERIFY(!f.finished() && f.isVisible());
        f.onTick(); // closes itself after 500 ticks, or at once on a click on the picture
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
