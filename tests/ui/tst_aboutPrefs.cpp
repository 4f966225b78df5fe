// The about window's animation, driven tick by tick, its use as the start-up
// splash, the dialogs from the keyboard, and their French buttons.

#include "uiHarness.h"

#include "model/uRep.h"
#include "ui/dialogs/addPeriodFrm.h"
#include "ui/dialogs/prefsForm.h"
#include "ui/products/AddEditQntFrm.h"
#include "ui/reports/pubOptions.h"
#include "ui/widgets/PCalendar.h"
#include "ui/shell/about.h"
#include "ui/shell/translations.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestAboutPrefs : public QObject {
    Q_OBJECT
private slots:
    void splashRevealsThenClosesAboutStays_data()
    {
        QTest::addColumn<bool>("splash");
        QTest::addColumn<int>("key"); // 0: the clock alone
        QTest::newRow("splash, by itself") << true << 0;
        QTest::newRow("splash, any key") << true << int(Qt::Key_Space);
        QTest::newRow("about, stays") << false << 0;
        QTest::newRow("about, Escape") << false << int(Qt::Key_Escape);
    }

    void splashRevealsThenClosesAboutStays()
    {
        QFETCH(bool, splash);
        QFETCH(int, key);
        TaboutForm f(nullptr, splash);
        QCOMPARE(f.hintLab->text(), splash ? u"Cliquez pour continuer"_s : u"Cliquez pour fermer"_s);
        f.BTimer->stop(); // the test is the clock
        f.show();
        if (key) {
            QTest::keyClick(&f, Qt::Key(key));
            QVERIFY(f.finished() && !f.isVisible());
            return;
        }
        f.versionLab->setText(u"tilvarDB version 9.99.999 (2026-12-07)"_s);
        for (int i = 0; i < TaboutForm::SplashTicks - 1; ++i)
            f.onTick();
        QVERIFY(!f.Label3->isHidden() && !f.versionLab->isHidden() && f.isVisible());
        // The splash stays until its version has been shown whole a while.
        const int whole = f.versionLab->fontMetrics().horizontalAdvance(f.versionLab->text());
        int wholeFor = 0;
        while (!f.finished() && f.tick < 500) {
            wholeFor = f.versionLab->width() >= whole ? wholeFor + 1 : 0;
            f.onTick();
        }
        QCOMPARE(f.finished(), splash);
        QCOMPARE(f.isVisible(), !splash);
        QVERIFY(wholeFor >= TaboutForm::WholeTicks);
    }

    // Each opens with the focus in its first field, shows "Annuler" and
    // applies on Return; the quantity one takes "8" typed at once.
    void dialogsFromTheKeyboard()
    {
        AppState st;
        FakePrompt prompt;
        TPrefsDialog prefs;
        TpubDlgForm pub;
        TEditQntDlg qnt(st, prompt);
        qnt.setEntry(u"3"_s, u"260518"_s);
        TaddPeriodDlg periods(st.repList, prompt, st.curCIndex);
        TCalDialog day(prompt, nullptr, QDate(2026, 12, 7));
        const QList<std::pair<QDialog*, QWidget*>> dialogs{{&prefs, prefs.autoLoadChk},
                                                           {&pub, pub.checks[0]},
                                                           {&qnt, qnt.QuantEdit},
                                                           {&periods, periods.sPeriodList},
                                                           {&day, day.Calend}};
        for (const auto& [dlg, first] : dialogs) {
            dlg->show();
            QCOMPARE(dlg->focusWidget(), first);
            auto* cancel = dlg->findChild<QPushButton*>(u"CancelBtn"_s);
            QVERIFY(cancel && cancel->isVisible() && cancel->text() == u"Annuler"_s);
            QTest::keyClicks(dlg->focusWidget(), dlg == &qnt ? u"8"_s : QString());
            QTest::keyClick(first, Qt::Key_Return);
            QCOMPARE(dlg->result(), int(QDialog::Accepted));
        }
        QCOMPARE(qnt.qntText(), u"8"_s);

        // The period dialog changes the periods as it goes: Return confirms the
        // one being entered and the dialog stays; "Annuler" puts them back as
        // they were, the close box keeps them.
        TRepList reps;
        reps.addPeriod(u"Hiver"_s, u"260101"_s, u"260228"_s);
        int cur = 0;
        for (const bool cancel : {true, false}) {
            TaddPeriodDlg p(reps, prompt, cur);
            p.show();
            QTest::keyClick(p.sPeriodList, Qt::Key_Backtab); // to "Ajouter", above the list
            QTest::keyClick(p.focusWidget(), Qt::Key_Space);
            QTest::keyClicks(p.focusWidget(), u"Mars"_s);
            QTest::mouseClick(p.Label1, Qt::LeftButton); // the word « début: » picks the start
            QVERIFY(p.infoLab->text().contains(u"premier jour"_s));
            QTest::keyClick(p.pTitle, Qt::Key_Return);
            QVERIFY(p.isVisible() && reps.titles.contains(u"Mars"_s));
            if (cancel)
                p.findChild<QPushButton*>(u"CancelBtn"_s)->click();
            else
                p.close();
            QCOMPARE(reps.titles, cancel ? QStringList{u"Hiver"_s} : QStringList({u"Hiver"_s, u"Mars"_s}));
        }
    }

    void splashBeforeMainWindowAndFrenchDialogs()
    {
        UiHarness h;
        bool mainVisible = true, clickCloses = false;
        h.onModal = [&](QDialog& d) {
            mainVisible = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                mainVisible = mainVisible || (qobject_cast<TmainForm*>(w) && w->isVisible());
            if (auto* about = qobject_cast<TaboutForm*>(&d)) {
                about->show();
                QTest::mouseClick(about->bImg, Qt::LeftButton); // closes at once
                clickCloses = about->finished() && !about->isVisible() && !about->BTimer->isActive();
            }
            return d.result();
        };
        h.start();
        QCOMPARE(h.modals, QStringList{u"TaboutForm"_s});
        QVERIFY(!mainVisible && clickCloses);

        // "?" > "À propos": the data folder and the licence, no closing by itself.
        QString details;
        h.onModal = UiHarness::answer<TaboutForm>([&](TaboutForm& about) {
            details = about.detailsLab->text().remove(QChar(0x200B));
            return QDialog::Rejected;
        });
        h.w->aVersion->trigger();
        QVERIFY(details.contains(QDir::toNativeSeparators(h.dataDir())) && details.contains(u"(à côté du programme)"_s)
                && details.contains(u"GPL"_s));

        // The buttons of the unsaved-changes question and the file dialogs.
        QVERIFY(loadFrenchTranslations(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), u"&Oui"_s);
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), u"&Ouvrir"_s);
    }
};

QTEST_MAIN(TestAboutPrefs)
#include "tst_aboutPrefs.moc"
