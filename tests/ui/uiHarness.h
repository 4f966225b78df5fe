#pragma once
// Runs the real main window offscreen in a temporary program folder: the
// prompt interface answers dialogs, modal windows are handed to a callback
// instead of blocking, and the settings file can be written beforehand.

#include "boutique/dbFile.h"
#include "support/fakePrompt.h"
#include "support/testFiles.h"
#include "ui/artisans/artFrm.h"
#include "ui/artisans/importArtDlg.h"
#include "ui/reports/repFrm.h"
#include "ui/sales/FCalDlg.h"
#include "ui/shell/dbCommands.h"
#include "ui/shell/main.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

struct UiHarness {
    QTemporaryDir dir;
    FakePrompt prompt;
    // Class names of the modal windows run, in order.
    QStringList modals;
    // Answers a modal window; by default it is closed with "rejected" at
    // once (the about window closes itself).
    std::function<int(QDialog&)> onModal;
    std::unique_ptr<TmainForm> w;
    // Pages the report window handed to the browser (report()).
    QStringList opened;

    // Picks the line of the import dialog starting with name; rejects when name
    // is empty (Escape). Collects the lines and the caption shown.
    static std::function<int(QDialog&)> choose(const QString& name, QStringList* shown = nullptr)
    {
        return answer<TImpArtDlg>([name, shown](TImpArtDlg& dlg) {
            dlg.show();
            if (shown)
                *shown << texts(dlg.artListBox) << dlg.windowTitle();
            for (int i = 0; i < dlg.artListBox->count(); ++i)
                if (!name.isEmpty() && dlg.artListBox->item(i)->text().startsWith(name))
                    dlg.artListBox->setCurrentRow(i);
            dlg.hide();
            return name.isEmpty() ? QDialog::Rejected : QDialog::Accepted;
        });
    }

    // Answers the dialogs of class D with f; any other one is rejected.
    template <class D, class F>
    static std::function<int(QDialog&)> answer(F f)
    {
        return [f](QDialog& d) {
            auto* dlg = dynamic_cast<D*>(&d);
            return dlg ? int(f(*dlg)) : int(QDialog::Rejected);
        };
    }

    // Answers the date dialog with that day (and agent), through Ok.
    static std::function<int(QDialog&)> answerDate(const QString& date, const QString& agent = {})
    {
        return answer<TCalDialog>([date, agent](TCalDialog& c) {
            c.setDateStr(date);
            if (!agent.isEmpty())
                c.sNameCB->setEditText(agent);
            c.OkBtn->click();
            return c.result();
        });
    }

    // The PDF's text (its layout kept, on one line) holds each of wants.
    static void pdfHolds(const QString& pdf, const QStringList& wants)
    {
        const QString text = pdfText(pdf, {QStringLiteral("-layout")}).simplified();
        for (const QString& want : wants)
            QVERIFY2(text.contains(want), qPrintable(want + QStringLiteral(" in ") + text));
    }

    static QStringList texts(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    QString progDir() const { return dir.path() + QLatin1Char('/'); }
    QString dataDir() const { return progDir() + QStringLiteral("data/"); }
    QString iniPath() const { return progDir() + QStringLiteral("tilvarDB.ini"); }

    void writeIni(const QByteArray& text) { QVERIFY(writeFileBytes(iniPath(), text)); }
    QString readIni() const { return QString::fromLatin1(readFileBytes(iniPath())); }

    // The boutique of the test data (sales, periods) as name in the data
    // folder, opened at start-up by the settings.
    void copyRealistic(const QString& name)
    {
        put(name, readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb")));
        autoloads(name);
    }

    // The settings open name at start-up, without the splash.
    void autoloads(const QString& name)
    {
        writeIni("[PREFS]\r\nautoload=1\r\nartFileName=" + name.toLatin1() + "\r\nshowSplash=0\r\n");
    }

    // Starts over db, saved first as name in the data folder.
    TmainForm& startOn(AppState& db, const QString& name = TEST_DB_NAME)
    {
        QDir().mkpath(dataDir());
        saveDB(dataDir() + name, db);
        autoloads(name);
        return start();
    }

    // Starts over the boutique of the test data, loaded as name.
    TmainForm& startRealistic(const QString& name = TEST_DB_NAME)
    {
        copyRealistic(name);
        return start();
    }

    // Creates and shows the main window (its first show runs the autoload).
    TmainForm& start()
    {
        TStartOptions o;
        o.progDir = dir.path();
        o.prompt = &prompt;
        o.today = QDate(2026, 5, 18);
        o.runModal = [this](QDialog& d) {
            modals << QString::fromLatin1(d.metaObject()->className());
            return onModal ? onModal(d) : int(QDialog::Rejected);
        };
        w = std::make_unique<TmainForm>(o);
        w->show();
        return *w;
    }

    // Closes the main window (shut-down) and forgets it.
    bool stop()
    {
        if (!w)
            return true;
        const bool closed = w->close();
        if (closed)
            w.reset();
        return closed;
    }

    // The report window, its pages kept from the browser in opened; opened
    // from the menu when open.
    TrepForm& report(bool open = false)
    {
        auto* rep = w->findChild<TrepForm*>(QStringLiteral("repForm"));
        rep->openPage = [this](const QString& path) { opened << path; };
        if (open)
            w->findChild<QAction*>(QStringLiteral("aRepForm"))->trigger();
        return *rep;
    }
    // The database file as a fresh start reads it; false when it does not load.
    static bool load(const QString& path, AppState& into)
    {
        FakePrompt quiet;
        return loadDB(path, into, quiet) == LoadResult::Loaded;
    }

    TArtForm& art() { return *w->artForm; }
    AppState& st() { return w->state(); }
    void click(QToolButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void clickLabel(QWidget* label)
    {
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    }
    // Writes a file into the data folder (created if needed).
    void put(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(dataDir());
        QVERIFY(writeFileBytes(dataDir() + name, bytes));
    }
    QStringList names()
    {
        QStringList out;
        for (int i = 0; i < st().artList.count(); ++i)
            out << st().artList.at(i).nom;
        return out;
    }
    // Adds an artisan with the main window's button and types its names.
    void addArtisan(const QString& nom, const QString& prenom)
    {
        click(w->addRecBtn);
        art().nameEd->setText(nom);
        art().fNameEd->setText(prenom);
    }
};
