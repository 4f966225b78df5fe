// Measures the sales window on the ten-year boutique, in the real main window
// (offscreen): opening the "Ventes" page, moving through 100 sheets, switching
// to the all-sales view and changing the period, "-[tout]-" included; then the
// sale-line editor on a 25-line sheet: opening it, choosing an artisan,
// putting a product on, changing a quantity, a search by key, closing (with
// the save of the database file).
//   bench_salesWindow [--runs N] [--scale F]

#include "boutiqueGen.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "ui/shell/dbCommands.h"
#include "ui/shell/main.h"
#include "ui/editor/addSItemFrm.h"
#include "ui/sales/saleFrm.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableWidget>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// CPU time of this process: steadier than wall time on a shared machine.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Timing {
    double wall = 0;  // median
    double cpu = 0;   // median
    double worst = 0; // worst wall
};

// Times of runs calls of work, with what they leave to paint; prepare runs
// untimed before each.
Timing measure(int runs, const std::function<void()>& work, const std::function<void()>& prepare = {})
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int r = 0; r < runs; ++r) {
        if (prepare) {
            prepare();
            QApplication::processEvents();
        }
        QElapsedTimer t;
        const double c0 = cpuMs();
        t.start();
        work();
        QApplication::processEvents();
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - c0);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2], wall.back()};
}

QTextStream out(stdout);

void row(const QString& what, const Timing& t)
{
    out << "| " << what << " | " << QString::number(t.wall, 'f', 1) << " | "
        << QString::number(t.cpu, 'f', 1) << " | " << QString::number(t.worst, 'f', 1) << " |\n";
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
    CollectPrompt prompt;
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
    w.guarded([&] { w.db().openDB(QStringLiteral("bench.tlvdb")); });
    TsaleForm& sale = *w.saleForm;

    out << "| action | wall ms | cpu ms | worst wall ms |\n|---|---:|---:|---:|\n";
    row(QStringLiteral("open the \"Ventes\" page"),
        measure(runs, [&] { w.showPage(1); }, [&] { w.showPage(0); }));

    w.showPage(1);
    int at = 0;
    const auto hundred = measure(
        runs,
        [&] {
            for (int k = 0; k < 100; ++k) {
                sale.sListBox->setCurrentRow(++at);
                QApplication::processEvents();
            }
        },
        [&] { at = int(std::min<qsizetype>(at, st.saleList.count() - 101)); });
    row(QStringLiteral("move through 100 sheets (all)"), hundred);
    row(QStringLiteral("move to the next sheet (one, mean)"),
        {hundred.wall / 100, hundred.cpu / 100, hundred.worst / 100});

    row(QStringLiteral("switch to the all-sales view"),
        measure(runs, [&] { sale.setListMode(true); }, [&] { sale.setListMode(false); }));

    sale.setListMode(true);
    const int all = st.repList.indexOfTitle(ALL_PERIOD_TITLE);
    std::vector<double> walls;
    std::vector<double> cpus;
    double worst = 0;
    for (int p = 0; p < st.repList.count(); ++p) {
        if (p == all)
            continue;
        const Timing t = measure(runs, [&] { sale.pListCB->setCurrentIndex(p); },
                                 [&] { sale.pListCB->setCurrentIndex(all); });
        walls.push_back(t.wall);
        cpus.push_back(t.cpu);
        worst = std::max(worst, t.worst);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    row(QStringLiteral("change the period from \"-[tout]-\" (%1 periods: median of medians)")
            .arg(walls.size()),
        {walls[walls.size() / 2], cpus[cpus.size() / 2], worst});
    row(QStringLiteral("change the period to \"-[tout]-\" (%1 sheets)").arg(st.saleList.count()),
        measure(runs, [&] { sale.pListCB->setCurrentIndex(all); },
                [&] { sale.pListCB->setCurrentIndex(0); }));

    // --- the sale-line editor, on the newest sheet (25 lines) ---
    sale.setListMode(false);
    sale.sListBox->setCurrentRow(0);
    row(QStringLiteral("open the sale-line editor (%1 lines)").arg(sale.saleLines.size()),
        measure(runs, [&] { sale.openEditor(-1); }, [&] { sale.closeEditor(); }));
    TaddSItemDlg* e = sale.sItemDlg;
    int pos = 0;
    row(QStringLiteral("choose an artisan (%1 products)").arg(e->artProducts.count()),
        measure(runs, [&] { e->artListBox->setCurrentRow(pos); }, [&] { pos = pos == 5 ? 6 : 5; }));
    // The product of most stock among those not on the sheet.
    int r = 0;
    int most = -1000000;
    for (int k = 0; k < e->artProducts.count(); ++k) {
        const int stock = e->artProducts.qntInfo(k, 2).toInt();
        if (!e->prodStrGrid->item(k, 0)->text().startsWith(u'*') && stock > most) {
            r = k;
            most = stock;
        }
    }
    const auto pick = [&] {
        e->prodStrGrid->setCurrentCell(r, 0);
        e->showRow(r + 1);
    };
    pick();
    row(QStringLiteral("put a product on the sheet (stock %1)").arg(most),
        measure(runs, [&] { e->putOnOff(); }, [&] {
            if (e->prodStrGrid->item(r, 0)->text().startsWith(u'*'))
                e->putOnOff();
            pick();
        }));
    int q = 1;
    row(QStringLiteral("change its quantity"), measure(runs, [&] {
            e->QuantEdit->setText(QString::number(q = q == 1 ? 2 : 1));
            e->changeQuantity();
        }));
    const QString key = e->curTag + QLatin1Char('-') + e->artProducts.at(r).prodNo;
    row(QStringLiteral("search by key and Enter (adds 1)"),
        measure(runs, [&] {
            e->search(key);
            e->takeSearchResult();
        }));
    // Each closing has a change to save: one product put on or taken off.
    row(QStringLiteral("close the editor, with the save"),
        measure(runs, [&] { sale.closeEditor(); }, [&] {
            sale.openEditor(-1);
            e = sale.sItemDlg;
            e->artListBox->setCurrentRow(5);
            pick();
            e->putOnOff();
        }));
    row(QStringLiteral("(saveDB alone, for comparison)"), measure(runs, [&] { saveDB(st.curFilePath, st); }));
    if (!prompt.messages.isEmpty())
        out << "\nmessages: " << prompt.messages.join(QStringLiteral(" / ")) << "\n";
    return 0;
}
