// tilvarbd-shots: takes the pictures of the README and the guide from the
// program's own windows, over the sample boutique, as staff would reach them.
// Run by scripts/screenshot.sh (offscreen); never installed.
//
//   tilvarbd-shots SAMPLE.tlvdb OUTDIR

#include "boutique/appState.h"
#include "core/prompt.h"
#include "ui/artisans/artAccount.h"
#include "ui/artisans/artFrm.h"
#include "ui/dialogs/restoreDlg.h"
#include "ui/editor/addSItemFrm.h"
#include "ui/reports/payAllDlg.h"
#include "ui/reports/payoutDlg.h"
#include "ui/reports/repFrm.h"
#include "ui/sales/saleFrm.h"
#include "ui/shell/main.h"
#include "ui/stock/countDlg.h"
#include "ui/stock/stockActions.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTabBar>
#include <QTextStream>
#include <QThread>
#include <QToolButton>

#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Questions answer No and file dialogs cancel: nothing blocks, nothing is
// chosen that a scene does not choose itself.
class ShotPrompt : public CollectPrompt {
public:
    QString folder;
    QString folderName(const QString&, const QString&) override { return folder; }
};

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

class Shots {
public:
    Shots(const QString& sample, const QString& out) : m_out(out)
    {
        QDir(m_dir.path()).mkpath(u"data"_s);
        QFile::copy(sample, m_dir.filePath(u"data/boutique.tlvdb"_s));
        QFile ini(m_dir.filePath(u"tilvarDB.ini"_s));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[PREFS]\r\nartFileName=boutique.tlvdb\r\nautoLoad=1\r\nshowSplash=0\r\nshopName=Boutique "
                      "Tilvar\r\n[GENERAL]\r\ncurArtNo=001\r\n");
        ini.close();
        TStartOptions o;
        o.progDir = m_dir.path();
        o.prompt = &m_prompt;
        o.runModal = [this](QDialog& d) {
            const auto answer = std::exchange(m_modal, {});
            if (!answer)
                return int(QDialog::Rejected);
            d.show();
            settle();
            return answer(d);
        };
        w = std::make_unique<TmainForm>(o);
        w->show();
        settle();
    }

    std::unique_ptr<TmainForm> w;

    void take(QWidget& window, const QString& name)
    {
        settle();
        const QString path = QDir(m_out).filePath(name);
        if (!window.grab().save(path))
            fail(u"cannot write "_s + path);
        QTextStream(stdout) << "wrote " << path << Qt::endl;
    }
    // The next modal window is shown, photographed as name, then answered by
    // answer (closed when none).
    void onModal(const QString& name, std::function<int(QDialog&)> answer = {}, bool shootFirst = true)
    {
        m_modal = [this, name, answer, shootFirst](QDialog& d) {
            if (shootFirst)
                take(d, name);
            return answer ? answer(d) : int(QDialog::Rejected);
        };
    }
    void expectShot(const QString& name)
    {
        if (!QFile::exists(QDir(m_out).filePath(name)))
            fail(name + u" was not taken: its window did not open"_s);
    }
    static void fail(const QString& why)
    {
        std::fprintf(stderr, "tilvarbd-shots: %s\n", qPrintable(why));
        std::exit(1);
    }
    QString scratch(const QString& name) const { return m_dir.filePath(name); }
    ShotPrompt& prompt() { return m_prompt; }

private:
    QTemporaryDir m_dir;
    QString m_out;
    ShotPrompt m_prompt;
    std::function<int(QDialog&)> m_modal;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"TilvarBD"_s);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tilvarbd-shots SAMPLE.tlvdb OUTDIR\n");
        return 2;
    }
    Shots s(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    TmainForm& w = *s.w;
    AppState& st = w.state();

    // The artisans side: the first artisan, their account under their page.
    s.take(w, u"mainWindow.png"_s);

    // The sales side, then the editor on the newest sheet with a product found.
    w.pageBtn->click();
    s.take(w, u"salesWindow.png"_s);
    w.saleForm->addProdBtn->click();
    if (auto* e = w.saleForm->sItemDlg) {
        // As a scanner types a key, then Enter puts the product on the sheet.
        e->searchEd->setText(u"TreMar001-002"_s);
        emit e->searchEd->textEdited(e->searchEd->text());
        emit e->searchEd->returnPressed();
        s.take(w, u"saleEditor.png"_s);
        e->cancelBtn->click();
    }
    s.expectShot(u"saleEditor.png"_s);
    w.pageBtn->click();

    // The report window on spring, the payout dialog over it, then the list
    // of every artisan owed at the period's end.
    auto* rep = w.findChild<TrepForm*>(u"repForm"_s);
    rep->openPage = [](const QString&) {};
    st.curCIndex = st.repList.indexOfTitle(u"Printemps"_s);
    w.findChild<QAction*>(u"aRepForm"_s)->trigger();
    s.take(*rep, u"reportWindow.png"_s);
    rep->TabControl->setCurrentIndex(3); // "Graphique": the artisan's months
    s.take(*rep, u"reportChart.png"_s);
    rep->TabControl->setCurrentIndex(0);
    s.onModal(u"payoutDialog.png"_s, [](QDialog& d) {
        if (auto* pay = qobject_cast<TPayoutDlg*>(&d)) {
            pay->refEd->setText(u"chèque 0142"_s);
            return int(QDialog::Accepted); // recorded, so that the account shows it
        }
        return int(QDialog::Rejected);
    });
    rep->payBtn->click();
    s.expectShot(u"payoutDialog.png"_s);
    s.onModal(u"payAllDialog.png"_s);
    rep->pmPayAll->trigger();
    s.expectShot(u"payAllDialog.png"_s);
    rep->close();

    // The dashboard over the same period.
    w.findChild<QAction*>(u"aDashboard"_s)->trigger();
    if (auto* dash = w.findChild<QWidget*>(u"dashForm"_s)) {
        s.take(*dash, u"dashboard.png"_s);
        dash->close();
    }
    s.expectShot(u"dashboard.png"_s);

    // A count of the first artisan's shelf (the question's "Non"): three
    // scans, one of them a key no product has, then its differences.
    s.onModal(u"countWindow.png"_s, [&s](QDialog& d) {
        auto* count = qobject_cast<TCountDlg*>(&d);
        if (!count)
            return int(QDialog::Rejected);
        for (const QString& key : {u"TreMar001-001"_s, u"TreMar001-001"_s, u"TreMar001-009"_s})
            count->scan(key);
        s.take(d, u"countWindow.png"_s);
        s.onModal(u"countDifferences.png"_s);
        return int(TCountDlg::Closing);
    }, false);
    w.findChild<QAction*>(u"aCountStock"_s)->trigger();
    s.expectShot(u"countDifferences.png"_s);

    // What has not sold, and goods handed back.
    s.onModal(u"unsoldList.png"_s);
    w.findChild<QAction*>(u"aUnsold"_s)->trigger();
    s.expectShot(u"unsoldList.png"_s);
    s.onModal(u"returnDialog.png"_s);
    returnToArtisan(w, u"001"_s);
    s.expectShot(u"returnDialog.png"_s);

    // The artisan's page with the payout just recorded.
    w.artForm->accountBox->showAccount(st.curArtNo);
    s.take(*w.artForm->accountBox, u"artisanAccount.png"_s);

    // The guide in its window, then the backups after a save.
    s.onModal(u"helpWindow.png"_s);
    w.findChild<QAction*>(u"aHelp"_s)->trigger();
    s.expectShot(u"helpWindow.png"_s);
    w.findChild<QAction*>(u"aSave"_s)->trigger();
    s.onModal(u"restoreDialog.png"_s);
    w.findChild<QAction*>(u"aRestore"_s)->trigger();
    s.expectShot(u"restoreDialog.png"_s);

    st.modified = false; // the scratch copy is thrown away
    w.close();
    s.w.reset(); // its lock goes before the scratch folder
    return 0;
}
