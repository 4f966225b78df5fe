// Measures the sales window on the ten-year boutique, in the real main window
// (offscreen): opening the "Ventes" page, moving through 100 sheets, switching
// to the all-sales view and changing the period, "-[tout]-" included.
//   bench_salesWindow [--runs N] [--scale F]

#include "boutiqueGen.h"

#include "core/appState.h"
#include "core/dbFile.h"
#include "core/prompt.h"
#include "ui/main.h"
#include "ui/saleFrm.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

class QuietPrompt : public Prompt {
public:
    void information(const QString&) override {}
    void error(const QString& t) override { QTextStream(stderr) << "error: " << t << "\n"; }
    Answer question(const QString&, bool) override { return Answer::No; }
    bool inputText(const QString&, const QString&, QString&) override { return false; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
};

// Median and worst wall time in ms of runs calls of work, prepare untimed
// before each.
std::pair<double, double> measure(int runs, const std::function<void()>& work,
                                  const std::function<void()>& prepare = {})
{
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        work();
        QApplication::processEvents(); // what the change leaves to paint
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

QTextStream out(stdout);

void row(const QString& what, std::pair<double, double> t)
{
    out << "| " << what << " | " << QString::number(t.first, 'f', 1) << " | "
        << QString::number(t.second, 'f', 1) << " |\n";
    out.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 5;
    int scale = 1;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs"))
            runs = qMax(1, args[i + 1].toInt());
        else if (args[i] == QStringLiteral("--scale"))
            scale = qMax(1, args[i + 1].toInt());
    }

    QTemporaryDir dir;
    QuietPrompt prompt;
    TStartOptions o;
    o.progDir = dir.path();
    o.prompt = &prompt;
    o.runModal = [](QDialog&) { return int(QDialog::Rejected); };
    TmainForm w(o);
    w.show();
    AppState& st = w.state();
    {
        AppState db;
        const BoutiqueScale s = BoutiqueScale::tenYears(scale);
        generateBoutique(db, s);
        db.repList.updateAllPeriod(db.saleList);
        saveDB(st.dataDir + QStringLiteral("bench.tlvdb"), db);
        out << "# sales window, " << s.describe() << ", medians of " << runs << " runs\n\n";
    }
    w.guarded([&] { w.openDB(QStringLiteral("bench.tlvdb")); });
    TsaleForm& sale = *w.saleForm;

    out << "| action | median ms | worst ms |\n|---|---:|---:|\n";
    row(QStringLiteral("open the \"Ventes\" page"),
        measure(runs, [&] { w.showPage(1); }, [&] { w.showPage(0); }));

    w.showPage(1);
    int at = 0;
    const auto hundred = measure(
        runs,
        [&] {
            for (int k = 0; k < 100; ++k)
                sale.sListBox->setCurrentRow(++at);
        },
        [&] { at = int(std::min<qsizetype>(at, st.saleList.count() - 101)); });
    row(QStringLiteral("move through 100 sheets (all)"), hundred);
    row(QStringLiteral("move to the next sheet (one, mean)"),
        {hundred.first / 100, hundred.second / 100});

    row(QStringLiteral("switch to the all-sales view"),
        measure(runs, [&] { sale.setListMode(true); }, [&] { sale.setListMode(false); }));

    sale.setListMode(true);
    const int all = st.repList.indexOfTitle(ALL_PERIOD_TITLE);
    std::vector<double> medians;
    double worst = 0;
    for (int p = 0; p < st.repList.count(); ++p) {
        if (p == all)
            continue;
        const auto t = measure(runs, [&] { sale.pListCB->setCurrentIndex(p); },
                               [&] { sale.pListCB->setCurrentIndex(all); });
        medians.push_back(t.first);
        worst = std::max(worst, t.second);
    }
    std::sort(medians.begin(), medians.end());
    row(QStringLiteral("change the period (%1 periods: median of medians, worst)")
            .arg(medians.size()),
        {medians[medians.size() / 2], worst});
    row(QStringLiteral("change the period to \"-[tout]-\" (%1 sheets)").arg(st.saleList.count()),
        measure(runs, [&] { sale.pListCB->setCurrentIndex(all); },
                [&] { sale.pListCB->setCurrentIndex(0); }));
    return 0;
}
