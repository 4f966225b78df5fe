// Drives the real windows offscreen on the ten-year boutique and times what
// a user does: open the file, move through the artisans, show each one's
// products, move through a product list, open and close the quantity dialog,
// scan keys in the count window and show a whole-boutique count's differences.
// Prints the median and the worst time of each action, in milliseconds.
//   bench_windows [--scale N] [--opens N]

#include "boutiqueGen.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "ui/artisans/artFrm.h"
#include "ui/dashboard/dashForm.h"
#include "ui/shell/dbCommands.h"
#include "ui/shell/main.h"
#include "ui/products/prodFrm.h"
#include "model/productSearch.h"
#include "model/stockCount.h"
#include "ui/stock/countDlg.h"
#include "ui/stock/diffDlg.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

QTextStream out(stdout);

// Answers the open dialog with one file; says No to every question.
class BenchPrompt : public Prompt {
public:
    QString openName;
    void information(const QString&) override {}
    void error(const QString& t) override { QTextStream(stderr) << "error: " << t << "\n"; }
    Answer question(const QString&, bool) override { return Answer::No; }
    bool inputText(const QString&, const QString&, QString&) override { return false; }
    QString openFileName(const QString&, const QString&, const QString&) override { return openName; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
};

struct Samples {
    std::vector<double> ms;  // wall
    std::vector<double> cpu; // this process's CPU: steadier on a busy machine
};

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// The offscreen platform's notice on every dialog says nothing here.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (!text.contains(QStringLiteral("propagateSizeHints")))
        QTextStream(stderr) << (type == QtWarningMsg ? "warning: " : "") << text << "\n";
}

std::vector<std::pair<QString, Samples>> results;

// Times one action, painting included: the pending events run before the clock stops.
void timed(const QString& name, const std::function<void()>& action)
{
    auto it = std::find_if(results.begin(), results.end(),
                           [&name](const auto& r) { return r.first == name; });
    if (it == results.end()) {
        results.push_back({name, {}});
        it = results.end() - 1;
    }
    QElapsedTimer t;
    const double c0 = cpuMs();
    t.start();
    action();
    QCoreApplication::processEvents();
    it->second.ms.push_back(double(t.nsecsElapsed()) / 1e6);
    it->second.cpu.push_back(cpuMs() - c0);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    int factor = 1;
    int opens = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--scale"))
            factor = qMax(1, args[i + 1].toInt());
        else if (args[i] == QStringLiteral("--opens"))
            opens = qMax(1, args[i + 1].toInt());
    }

    QTemporaryDir dir;
    const QString progDir = dir.path() + QLatin1Char('/');
    const BoutiqueScale scale = BoutiqueScale::tenYears(factor);
    out << "scale " << factor << "x: " << scale.describe() << "\n";
    out.flush();
    {
        AppState st;
        generateBoutique(st, scale);
        QDir().mkpath(progDir + QStringLiteral("data"));
        saveDB(progDir + QStringLiteral("data/boutique.tlvdb"), st);
    }

    BenchPrompt prompt;
    prompt.openName = progDir + QStringLiteral("data/boutique.tlvdb");
    TStartOptions o;
    o.progDir = progDir;
    o.prompt = &prompt;
    o.runModal = [](QDialog& d) {
        if (d.objectName() != QStringLiteral("EditQntDlg"))
            return int(QDialog::Rejected);
        d.show();
        QCoreApplication::processEvents();
        d.reject(); // closed with Escape: nothing changes
        return d.result();
    };
    // A start with and without the automatic load of the file: the window is
    // built, shown and painted; the load runs in its first show, so the time
    // to the window with its data is also the time input waits.
    const auto writeIni = [&](bool autoload) {
        QFile ini(progDir + QStringLiteral("tilvarDB.ini"));
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(QByteArray("[PREFS]\nartFileName=boutique.tlvdb\nautoLoad=") + (autoload ? "1" : "0") + "\n");
    };
    for (const bool autoload : {false, true}) {
        writeIni(autoload);
        for (int i = 0; i < 3; ++i) {
            std::unique_ptr<TmainForm> start;
            timed(autoload ? QStringLiteral("start with automatic loading, to the window with its data")
                           : QStringLiteral("start without automatic loading, to the window"),
                  [&] {
                      start = std::make_unique<TmainForm>(o);
                      start->show();
                  });
            start->state().modified = false;
        }
    }
    writeIni(false);

    TmainForm w(o);
    w.show();
    QCoreApplication::processEvents();
    TArtForm& art = *w.artForm;
    TProdForm& prod = *w.prodForm;

    for (int i = 0; i < opens; ++i)
        timed(QStringLiteral("open the file (Ouvrir)"), [&] { w.db().fileOpen(); });

    // Every artisan: the next one, then its products, then back.
    const int artisans = w.state().artList.count();
    for (int i = 0; i < artisans; ++i) {
        timed(QStringLiteral("next artisan (form)"), [&] { w.nextBtn->click(); });
        timed(QStringLiteral("show the artisan's products"), [&] { art.artPageBtn->click(); });
        timed(QStringLiteral("next artisan (products shown)"), [&] { w.nextBtn->click(); });
        timed(QStringLiteral("back to the artisan"), [&] { prod.artPageBtn->click(); });
    }

    // One artisan's product list, twice round, and the quantity dialog.
    art.artPageBtn->click();
    const int products = w.state().prodList.count();
    for (int i = 0; i < 2 * products; ++i)
        timed(QStringLiteral("next product"), [&] { prod.nextBtn->click(); });
    for (int i = 0; i < products; ++i)
        timed(QStringLiteral("open and close the quantity dialog"), [&] { prod.addDateBtn->click(); });
    for (int i = 0; i < 10; ++i) {
        timed(QStringLiteral("list mode"), [&] { prod.viewModeBtn->click(); });
        timed(QStringLiteral("back to form mode"), [&] { prod.sBackBtn->click(); });
    }

    // The dashboard: shown anew, it computes its three charts over the ledger.
    auto* dash = w.findChild<TdashForm*>(QStringLiteral("dashForm"));
    for (int i = 0; i < 5; ++i) {
        dash->hide();
        timed(QStringLiteral("open the dashboard (Tableau de bord)"),
              [&] { w.findChild<QAction*>(QStringLiteral("aDashboard"))->trigger(); });
    }

    // A whole-boutique count: keys as a scanner sends them, then the
    // differences shown (nearly every product unscanned).
    {
        AppState& st = w.state();
        st.account.stock.open = StockCount{QStringLiteral("260101"), {}, {}};
        TCountDlg count(w.doc(), prompt);
        count.show();
        QStringList keys;
        for (int a = 0; a < st.artList.count(); a += 7) {
            const TArtisan& artisan = st.artList.at(a);
            for (int j = 0; j < artisan.products.count(); j += 5)
                keys << barcodeText(artisan.artTag() + artisan.artNo + QLatin1Char('-')
                                    + artisan.products.ptrAt(j)->prodNo);
        }
        for (const QString& k : std::as_const(keys))
            timed(QStringLiteral("scan a key in the count window"), [&] { count.scan(k); });
        for (int i = 0; i < 3; ++i)
            timed(QStringLiteral("differences of a whole-boutique count, shown"), [&] {
                TDiffDlg diff(countDifferences(*st.account.stock.open, st.artList), QString());
                diff.show();
                QCoreApplication::processEvents();
            });
        st.account.stock.open.reset();
    }

    out << "\n| action | runs | median ms | worst ms | median cpu ms | worst cpu ms |\n"
           "|---|---:|---:|---:|---:|---:|\n";
    const auto ms = [](double v) { return QString::number(v, 'f', 2); };
    for (auto& [name, s] : results) {
        std::sort(s.ms.begin(), s.ms.end());
        std::sort(s.cpu.begin(), s.cpu.end());
        out << "| " << name << " | " << s.ms.size() << " | " << ms(s.ms[s.ms.size() / 2]) << " | "
            << ms(s.ms.back()) << " | " << ms(s.cpu[s.cpu.size() / 2]) << " | " << ms(s.cpu.back())
            << " |\n";
    }
    // The targets: medians of wall time.
    const auto median = [](const QString& name) {
        for (const auto& [n, sm] : results)
            if (n == name)
                return sm.ms[sm.ms.size() / 2];
        return 0.0;
    };
    const auto check = [&](const QString& what, double value, double limit) {
        out << what << ": " << ms(value) << " ms (<= " << limit << " ms) "
            << (value <= limit ? "within target" : "over target") << "\n";
    };
    out << "\n";
    check(QStringLiteral("Ouvrir, to the window that answers"), median(QStringLiteral("open the file (Ouvrir)")), 150);
    const double start = median(QStringLiteral("start with automatic loading, to the window with its data"));
    check(QStringLiteral("start with automatic loading, to the window shown"), start, 300);
    check(QStringLiteral("input blocked by the automatic load (the whole start)"), start, 100);
    check(QStringLiteral("Tableau de bord, to the charts shown"),
          median(QStringLiteral("open the dashboard (Tableau de bord)")), 200);
    check(QStringLiteral("a scan in the count window"), median(QStringLiteral("scan a key in the count window")), 50);
    check(QStringLiteral("the differences of a whole-boutique count"),
          median(QStringLiteral("differences of a whole-boutique count, shown")), 1000);
    out.flush();
    w.state().modified = false; // the close asks nothing
    return 0;
}
