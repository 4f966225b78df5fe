// The about window's animation, driven tick by tick, its use as the start-up
// splash, and the French buttons of the dialogs.

#include "uiHarness.h"

#include "ui/shell/about.h"
#include "ui/shell/translations.h"

#include <QApplication>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestAboutPrefs : public QObject {
    Q_OBJECT
private slots:
    void aboutRevealsThenCloses()
    {
        TaboutForm f;
        QVERIFY(f.Label1->isHidden() && f.alphaBlend() < 100); // starts faint
        f.BTimer->stop(); // the test is the clock
        f.show();
        for (int i = 0; i < 499; ++i)
            f.onTick();
        // Every label shown, opaque, still open.
        QVERIFY(!f.Label3->isHidden() && !f.versionLab->isHidden() && f.alphaBlend() == 250 && !f.finished()
                && f.isVisible());
        f.onTick(); // closes itself after 500 ticks
        QVERIFY(f.finished() && !f.isVisible() && !f.BTimer->isActive());
    }

    void splashBeforeMainWindowAndFrenchDialogs()
    {
        UiHarness h;
        bool mainVisible = true, clickCloses = false;
        QString version;
        h.onModal = [&](QDialog& d) {
            mainVisible = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                mainVisible = mainVisible || (qobject_cast<TmainForm*>(w) && w->isVisible());
            if (auto* about = qobject_cast<TaboutForm*>(&d)) {
                version = about->versionLab->text();
                about->show();
                QTest::mouseClick(about->bImg, Qt::LeftButton); // closes at once
                clickCloses = about->finished() && !about->isVisible() && !about->BTimer->isActive();
            }
            return d.result();
        };
        h.start();
        QCOMPARE(h.modals, QStringList{u"TaboutForm"_s});
        QVERIFY(!mainVisible && clickCloses);
        QCOMPARE(version, u"tilvarDB version 0.8.5   09.05.18"_s);

        // The buttons of the unsaved-changes question and the file dialogs.
        QVERIFY(loadFrenchTranslations(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), u"&Oui"_s);
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), u"&Ouvrir"_s);
    }
};

QTEST_MAIN(TestAboutPrefs)
#include "tst_aboutPrefs.moc"
