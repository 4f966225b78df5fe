// The about window's animation, driven tick by tick, its use as the start-up
// splash, and the preferences dialog's controls.

#include "uiHarness.h"

#include "ui/about.h"
#include "ui/prefsForm.h"
#include "ui/translations.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestAboutPrefs : public QObject {
    Q_OBJECT
private slots:
    void aboutRevealsStepByStep()
    {
        TaboutForm f;
        f.BTimer->stop(); // the test is the clock
        const auto ticks = [&f](int n) {
            for (int i = 0; i < n; ++i)
                f.onTick();
        };
        // Starts faint with every label hidden; they appear one by one.
        QCOMPARE(f.alphaBlend(), 55);
        QVERIFY(f.Label1->isHidden() && f.Label2->isHidden() && f.Label3->isHidden() && f.versionLab->isHidden());
        ticks(4);
        QVERIFY(f.Label1->isHidden());
        ticks(1);
        QVERIFY(!f.Label1->isHidden());
        ticks(2); // the first dot of the title
        QCOMPARE(f.windowTitle(), QString(8, QLatin1Char(' ')) + u". "_s);
        ticks(26); // both title labels fully grown
        QCOMPARE(f.Label1->width(), 170);
        QCOMPARE(f.Label2->width(), 55);
        ticks(7);
        QVERIFY(!f.Label3->isHidden());
        QCOMPARE(f.alphaBlend(), 250); // reached, and stays
        ticks(14); // the version text grows 10 px a tick; the picture is clickable
        QCOMPARE(f.cursor().shape(), Qt::PointingHandCursor);
        const int width = f.versionLab->width();
        QVERIFY(width > 0);
        ticks(3);
        QCOMPARE(f.versionLab->width(), width + 30);
        QCOMPARE(f.alphaBlend(), 250);
    }

    void aboutCloses()
    {
        // After 500 ticks, or at once on a click on the picture.
        TaboutForm f;
        f.show();
        for (int i = 0; i < 499; ++i)
            f.onTick();
        QVERIFY(!f.finished() && f.isVisible());
        f.onTick();
        QVERIFY(f.finished() && !f.isVisible() && !f.BTimer->isActive());

        TaboutForm g;
        g.show();
        QTest::mouseClick(g.bImg, Qt::LeftButton);
        QVERIFY(g.finished() && !g.isVisible() && !g.BTimer->isActive());
    }

    void splashBeforeMainWindow()
    {
        UiHarness h;
        bool mainVisible = true;
        QString version;
        h.onModal = [&](QDialog& d) {
            mainVisible = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<TmainForm*>(w) && w->isVisible())
                    mainVisible = true;
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
    }

    void prefsControls()
    {
        // Only the two check boxes are shown; OK is the default button.
        TPrefsDialog d;
        QVERIFY(d.OKBtn->isDefault());
        d.show();
        QVERIFY(d.autoLoadChk->isVisible() && d.splashScreenChk->isVisible());
        QVERIFY(!d.Label1->isVisible() && !d.BDNameEd->isVisible() && !d.extLab->isVisible());
        QVERIFY(!d.autoSaveSalesChk->isVisible());
        d.OKBtn->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void frenchDialogs()
    {
        QVERIFY(loadFrenchTranslations(*QCoreApplication::instance()));
        // The buttons of the unsaved-changes question and the file dialogs.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), u"&Oui"_s);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Annuler"_s);
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), u"&Ouvrir"_s);
    }
};

QTEST_MAIN(TestAboutPrefs)
#include "tst_aboutPrefs.moc"
