// Every window as the boutique sees it: no visible text in English or in the
// program's internal names, and no label cut at its size. Works from a list
// of forbidden words, so that new French entries need no change here.

#include "uiHarness.h"

#include "ui/products/prodFrm.h"
#include "ui/sales/saleFrm.h"
#include "ui/shell/about.h"
#include "ui/shell/helpWindow.h"
#include "ui/tags/tagsDlg.h"
#include "ui/widgets/frenchPrompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextDocumentFragment>

using namespace Qt::StringLiterals;

namespace {
// English words and the program's internal names that once showed.
const QRegularExpression kForbidden(
    u"\\b(exit|edit|add\\w*|quits?|opens?|save|saves|cancel|close|error|file|files|print|preferences|special|clearall|"
    "setperiods|export(all|sales)?|xport\\w*|import(prodlist|fname)|delrec|fileop|sort|current|count|recreated|updated|sets|"
    "reset\\w*|admin|the|of|from|with|maxrecs|\\w*ind|cur\\w+|\\w*list\\w*box|\\w+list|aempty\\w*)\\b"_s,
    QRegularExpression::CaseInsensitiveOption);
// Internal names: a lower-case start with a capital inside (curArtInd, aSaveBck).
const QRegularExpression kInternal(u"\\b[a-z]+[A-Z]\\w*"_s);
// Texts that are the boutique's data or the program's name, not captions.
const QRegularExpression kAllowed(u"tilvarDB version|\\.tlvdb|\\.xml|\\.pdf|\\.html?|/"_s);

struct Walk {
    QStringList bad;

    void text(const QString& where, const QString& t)
    {
        QString plain = Qt::mightBeRichText(t) ? QTextDocumentFragment::fromHtml(t).toPlainText() : t;
        plain.remove(u'&');
        if (plain.isEmpty() || kAllowed.match(plain).hasMatch())
            return;
        QRegularExpressionMatch m = kForbidden.match(plain);
        if (!m.hasMatch())
            m = kInternal.match(plain);
        if (m.hasMatch())
            bad << where + u": \""_s + plain + u"\" ("_s + m.captured() + u")"_s;
    }

    void menu(const QString& where, const QList<QAction*>& actions)
    {
        for (QAction* a : actions) {
            if (a->isSeparator())
                continue;
            text(where, a->text());
            text(where, a->toolTip() == QString(a->text()).remove(u'&') ? QString() : a->toolTip());
            text(where, a->statusTip());
            if (a->menu())
                menu(where, a->menu()->actions());
        }
    }

    void label(const QString& where, QLabel* l)
    {
        text(where, l->text());
        if (l->text().isEmpty() || !l->pixmap().isNull() || Qt::mightBeRichText(l->text()) || !l->isVisible()
            || l->width() < 2)
            return;
        // Apart from every other label of its panel; wrapped, within its height.
        for (QLabel* o : l->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (o < l && o->isVisible() && !o->text().isEmpty() && o->geometry().intersects(l->geometry()))
                bad << where + u": \""_s + l->text() + u"\" over "_s + o->objectName();
        if (l->wordWrap() && l->heightForWidth(l->width()) > l->height() + 1)
            bad << where + u": cut \""_s + l->text() + u"\" (too high)"_s;
        if (l->wordWrap())
            return;
        // The whole text fits, and no visible button of the same panel covers it.
        const int need = l->fontMetrics().horizontalAdvance(l->text().split(u'\n').first());
        if (need > l->contentsRect().width() + 1)
            bad << u"%1: cut \"%2\" (%3 > %4 px)"_s.arg(where, l->text()).arg(need).arg(l->contentsRect().width());
        const QRect textRect = l->geometry().adjusted(0, 0, need - l->width(), 0);
        for (QAbstractButton* b : l->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
            if (b->isVisible() && b->geometry().intersects(textRect))
                bad << where + u": \""_s + l->text() + u"\" under "_s + b->objectName();
    }

    void window(QWidget* top)
    {
        const QString where = top->objectName();
        text(where, top->windowTitle());
        QList<QWidget*> all = top->findChildren<QWidget*>();
        all << top;
        for (QWidget* w : all) {
            if (auto* m = qobject_cast<QMenu*>(w)) {
                text(where, m->title());
                menu(where + u"/"_s + m->objectName(), m->actions());
                continue;
            }
            if (!w->isVisible())
                continue;
            const QString name = where + u"/"_s + w->objectName();
            text(name, w->toolTip());
            if (auto* l = qobject_cast<QLabel*>(w))
                label(name, l);
            else if (auto* b = qobject_cast<QAbstractButton*>(w))
                text(name, b->text());
            else if (auto* g = qobject_cast<QGroupBox*>(w))
                text(name, g->title());
            else if (auto* t = qobject_cast<QTabBar*>(w))
                for (int i = 0; i < t->count(); ++i)
                    text(name, t->tabText(i));
            else if (auto* table = qobject_cast<QTableWidget*>(w))
                for (int i = 0; i < table->columnCount(); ++i)
                    if (table->horizontalHeaderItem(i))
                        text(name, table->horizontalHeaderItem(i)->text());
        }
        if (auto* main = qobject_cast<QMainWindow*>(top))
            menu(where + u"/menus"_s, main->menuBar()->actions());
    }
};
} // namespace

class TestFrench : public QObject {
    Q_OBJECT
private slots:
    void everyWindowFrenchAndUncut()
    {
        UiHarness h;
        Walk walk;
        QString guide;
        bool picture = false;
        h.onModal = [&](QDialog& d) {
            for (auto* about = qobject_cast<TaboutForm*>(&d); about && about->tick < 150;) // all of it shown
                about->onTick();
            if (auto* help = qobject_cast<THelpWindow*>(&d)) {
                guide = help->guide->toPlainText();
                picture = !help->guide->loadResource(QTextDocument::ImageResource, QUrl(u"mainWindow.png"_s)).isNull();
            }
            d.show();
            walk.window(&d);
            d.hide();
            return int(QDialog::Rejected);
        };
        TmainForm& w = h.startRealistic();
        const auto walkShown = [&] {
            QApplication::processEvents(); // layouts settle
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible())
                    walk.window(top);
        };
        for (int side = 0; side < 4; ++side) {
            w.showArtSubPage(side);
            for (int mode = 0; mode < 4; ++mode) {
                w.refreshStatus(mode);
                walkShown();
            }
        }
        w.pageBtn->click();
        walkShown();
        w.saleForm->setEditing(true); // the subtitle of a sheet being made
        walkShown();
        w.saleForm->setEditing(false);
        // The windows and dialogs the menus open.
        for (const char* name : {"aPrefs", "aVersion", "aHelp", "aSetPeriods", "aRepForm", "pmPubPrefs", "aRestore"}) {
            QAction* a = w.findChild<QAction*>(QLatin1String(name));
            QVERIFY2(a, name);
            a->trigger();
            walkShown();
        }
        // The dialogs and views the windows' own buttons open.
        TsaleForm& sales = *w.saleForm;
        for (const auto& step : std::initializer_list<std::function<void()>>{
                 [&] { sales.addReportBtn->click(); }, [&] { sales.openEditor(-1); }, [&] { sales.cancelEditor(); },
                 [&] { w.findChild<TrepForm*>(u"repForm"_s)->viewModeBtn->click(); }, [&] { w.pageBtn->click(); },
                 [&] { w.artForm->artPageBtn->click(); }, [&] { w.prodForm->addDateBtn->click(); },
                 [&] { w.prodForm->printTags(); }})
            step(), walkShown();
        QVERIFY2(h.modals.contains(u"TCalDialog"_s) && h.modals.contains(u"TEditQntDlg"_s)
                     && h.modals.contains(u"TTagsDlg"_s), qPrintable(h.modals.join(u',')));
        for (const QString& m : std::as_const(h.prompt.all))
            walk.text(u"message"_s, m);
        walk.bad.removeDuplicates();
        QVERIFY2(walk.bad.isEmpty(), qPrintable(walk.bad.join(u'\n')));
        // "?" > "Aide": the guide shipped inside the program, with its pictures.
        for (const QString& part : {u"Premier démarrage"_s, u"Artisans et produits"_s, u"l'éditeur et le clavier"_s,
                                    u"Périodes et règlement"_s, u"Publier"_s, u"Sauvegardes et restauration"_s})
            QVERIFY2(guide.contains(part), qPrintable(part));
        QVERIFY(picture);
    }

    // The lower layers' English notices inside a French sentence that keeps
    // them whole; the status bar after a new database and a save that did
    // not happen; French (Canada) widgets on an English machine, decimals
    // with ".".
    void noticesStatusAndLocale()
    {
        for (const auto& [english, french] : std::initializer_list<std::pair<QString, QString>>{
                 {u"Error reading file"_s, u"n'a pas pu être lu en entier"_s},
                 {u"Error reading file: version 3: this file was written by a newer program"_s, u"plus récente"_s},
                 {u"Unable to write to /x/tilvarDB.ini"_s, u"Le fichier « /x/tilvarDB.ini » n'a pas pu être écrit"_s},
                 {u"imp.xml was not found"_s, u"Le fichier « imp.xml » est introuvable"_s},
                 {u"List index out of bounds (3)"_s, u"l'opération n'a pas été faite"_s}})
            QVERIFY2(inFrench(english).contains(u"« "_s + english + u" »"_s) && inFrench(english).contains(french),
                     qPrintable(inFrench(english)));

        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        UiHarness h;
        TmainForm& w = h.start();
        TTagsDlg tags(QString(), QString(), QDate(2026, 11, 3), TagLayout{});
        tags.pageWidthSpin->setValue(215.9);
        QVERIFY(tags.dateEd->calendarWidget()->firstDayOfWeek() == Qt::Sunday
                && QLocale().monthName(11) == u"novembre"_s && tags.pageWidthSpin->text().startsWith(u"215.9"_s));
        const auto panels = [&] { return QStringList{w.statusText(0), w.statusText(1), w.statusText(2), w.statusText(3)}; };
        const QStringList oneNew{u"Base non enregistrée"_s, u"Artisan n° 001"_s, u"Artisan 1 sur 1"_s, u"1 artisan"_s};
        w.aNew->trigger();
        QCOMPARE(panels(), oneNew);
        h.put(u"deux.xml"_s, "<artList><artItem><artID><artNo>001</artNo><nom>Tisse</nom></artID></artItem>"
                             "<artItem><artID><artNo>002</artNo><nom>Roy</nom></artID></artItem></artList>");
        h.prompt.openNames << h.dataDir() + u"deux.xml"_s;
        w.aImpArt->trigger();
        QCOMPARE(panels().mid(2), (QStringList{u"Artisan 1 sur 2"_s, u"2 artisans importés"_s}));
        w.aSave->trigger(); // no name given: not saved
        QCOMPARE(w.statusText(0), u"Non enregistré"_s);

        // A file cut short, then settings that cannot be written: one message each.
        QByteArray cut = readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb"));
        h.put(u"court.tlvdb"_s, cut.left(cut.size() - 40));
        h.prompt.clear();
        h.prompt.answers << Prompt::Answer::No << Prompt::Answer::No; // the changes are not kept
        h.prompt.openNames << h.dataDir() + u"court.tlvdb"_s;
        w.FileOpen->trigger();
        h.st().iniPath = h.dataDir() + u"court.tlvdb/tilvarDB.ini"_s; // under a file
        QVERIFY(h.stop());
        const QStringList& said = h.prompt.errors;
        QVERIFY2(said.size() == 2 && said.at(0).startsWith(u"Le fichier court.tlvdb n'a été lu qu'en partie (« Error reading file"_s)
                     && said.at(1).startsWith(u"Le fichier « "_s) && said.at(1).contains(u"« Unable to write to "_s),
                 qPrintable(said.join(u'\n')));
    }
};

QTEST_MAIN(TestFrench)
#include "tst_french.moc"
