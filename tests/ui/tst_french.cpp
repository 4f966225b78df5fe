// Every window as the boutique sees it: no visible text in English or in the
// program's internal names, and no label cut at its size. Works from a list
// of forbidden words, so that new French entries need no change here.

#include "uiHarness.h"

#include "ui/sales/saleFrm.h"
#include "ui/shell/helpWindow.h"

#include <QAbstractButton>
#include <QApplication>
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
        if (l->wordWrap() || l->text().isEmpty() || !l->pixmap().isNull() || Qt::mightBeRichText(l->text())
            || !l->isVisible() || l->width() < 2)
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
        for (const QString& m : std::as_const(h.prompt.all))
            walk.text(u"message"_s, m);
        walk.bad.removeDuplicates();
        QVERIFY2(walk.bad.isEmpty(), qPrintable(walk.bad.join(u'\n')));
        QVERIFY(h.modals.count() >= 5);
        // "?" > "Aide": the guide shipped inside the program, with its pictures.
        for (const QString& part : {u"Premier démarrage"_s, u"Artisans et produits"_s, u"l'éditeur et le clavier"_s,
                                    u"Périodes et règlement"_s, u"Publier"_s, u"Sauvegardes et restauration"_s})
            QVERIFY2(guide.contains(part), qPrintable(part));
        QVERIFY(picture);
    }
};

QTEST_MAIN(TestFrench)
#include "tst_french.moc"
