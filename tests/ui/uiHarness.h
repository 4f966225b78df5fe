#pragma once
// Runs the real main window offscreen in a temporary program folder: the
// prompt interface answers dialogs, modal windows are handed to a callback
// instead of blocking, and the settings file can be written beforehand.

#include "support/fakePrompt.h"
#include "support/testFiles.h"
#include "ui/artFrm.h"
#include "ui/dbCommands.h"
#include "ui/main.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

    QString progDir() const { return dir.path() + QLatin1Char('/'); }
    QString dataDir() const { return progDir() + QStringLiteral("data/"); }
    QString iniPath() const { return progDir() + QStringLiteral("tilvarDB.ini"); }

    void writeIni(const QByteArray& text)
    {
        QFile f(iniPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString readIni() const
    {
        QFile f(iniPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll());
    }

    // The boutique of the test data (sales, periods) as name in the data
    // folder; with autoload, the settings open it at start-up.
    QByteArray copyRealistic(const QString& name, bool autoload = false)
    {
        QDir().mkpath(dataDir());
        const QByteArray bytes = readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb"));
        writeFileBytes(dataDir() + name, bytes);
        if (autoload)
            writeIni("[PREFS]\r\nautoload=1\r\nartFileName=" + name.toLatin1() + "\r\nshowSplash=0\r\n");
        return bytes;
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

    TArtForm& art() { return *w->artForm; }
    AppState& st() { return w->state(); }
    template <class T> T* find(const char* name)
    {
        return w->findChild<T*>(QLatin1String(name));
    }
    void click(QToolButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void clickLabel(QWidget* label)
    {
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    }
    void hover(QWidget* widget)
    {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)));
        QCoreApplication::sendEvent(widget, &e);
    }
    // Adds an artisan with the main window's button and types its names.
    void addArtisan(const QString& nom, const QString& prenom)
    {
        click(w->addRecBtn);
        art().nameEd->setText(nom);
        art().fNameEd->setText(prenom);
    }
};
