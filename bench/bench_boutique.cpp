// Measures the model at the scale of a ten-year boutique (and ten times it):
// saving, loading, sorting the ledger, period rows, consignment of every
// artisan, the sales export and the artisan-list XML, against the time the
// disk takes to read and write the same bytes raw.
//   bench_boutique [--runs N] [--scales 1,10] [--dir FOLDER] [--only NAME,...]
//   bench_boutique --paired [--runs N]   the growths with a target, 1x and 10x timed in turns
//   bench_boutique --generate FILE [FACTOR]   writes such a database file

#include "boutiqueGen.h"

#include "boutique/artisanState.h"
#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "export/artListXML.h"
#include "export/reportDocs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <random>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

QTextStream out(stdout);

struct Timing {
    double wall = 0; // ms, median
    double cpu = 0;  // ms of this process's CPU, median
};

double cpuMs();

// Median wall and CPU time in milliseconds of runs calls of work; prepare
// runs before each call, untimed. CPU time is the steadier figure on a busy
// machine; wall time also counts waiting for the disk.
Timing median(int runs, const std::function<void()>& work,
              const std::function<void()>& prepare = {})
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int r = 0; r < runs; ++r) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        const double c0 = cpuMs();
        t.start();
        work();
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - c0);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

// CPU time of this process: steadier than wall time on a busy machine.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

long statusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray k(key);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(k))
            return line.mid(k.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Memory the loaded database takes: a fresh process of this program loads
// the file and reports its peak resident size above what it held before.
// With consignments, the process then makes the consignment report of
// every artisan over all sales, in memory.
long loadedPeakKb(const QString& path, bool consignments = false)
{
    QProcess p;
    QStringList args{QStringLiteral("--load"), path};
    if (consignments)
        args << QStringLiteral("--consign");
    p.start(QCoreApplication::applicationFilePath(), args);
    p.waitForFinished(-1);
    return p.readAllStandardOutput().trimmed().split(' ').value(0).toLong();
}

// The period of all sales, made current.
int allSales(AppState& st)
{
    st.repList.updateAllPeriod(st.saleList);
    const int all = st.repList.indexOfTitle(ALL_PERIOD_TITLE);
    setReportPeriod(st, st.repList.at(all).title);
    st.curCIndex = all;
    return all;
}

void consignAll(AppState& st, int all, Prompt& prompt)
{
    ReportItems items; // as a batch of reports keeps them
    st.repList.forEachConsigne(st.numItems, all, st.saleList, st.xmlDataLines, [&](qsizetype k) {
        st.repArtName = st.nameItems.value(k);
        (void)salesReportLines(st, prompt, {}, &items);
    });
}

// The generated boutique of scale, its data and report folders in folder.
std::unique_ptr<AppState> generatedBoutique(const QString& folder, const BoutiqueScale& scale)
{
    auto st = std::make_unique<AppState>();
    st->dataDir = folder + QStringLiteral("/data/");
    st->xmlDir = folder + QStringLiteral("/dXML/");
    QDir().mkpath(st->dataDir);
    QDir().mkpath(st->xmlDir);
    generateBoutique(*st, scale);
    return st;
}

// A change to the ledger that leaves it as it was: the newest sheet's lines
// set again. Every sale line is then read again.
void changeLedger(AppState& st)
{
    st.saleList.setSheetLines(0, QString(st.saleList.at(0).lines));
}

int loadOnly(const QString& path, bool consignments)
{
    const long before = statusKb("VmRSS:");
    CollectPrompt prompt;
    AppState st;
    const double cpu0 = cpuMs();
    if (loadDB(path, st, prompt) != LoadResult::Loaded)
        return 1;
    if (consignments) {
        rebuildLists(st);
        consignAll(st, allSales(st), prompt);
    }
    out << statusKb("VmHWM:") - before << " " << cpuMs() - cpu0 << " ms cpu\n";
    return 0;
}

// What must grow at most 12x from 1x to 10x: the period rows, the
// consignment of every artisan and their export.
bool growthJudged(const QString& name)
{
    return name.startsWith(QStringLiteral("prepareLines")) || name == QStringLiteral("consign all (memory)")
           || name == QStringLiteral("exportAllConsigne");
}

struct Row {
    QString name;
    Timing t;
    double floorMs = 0; // wall time of the raw counterpart; 0 when there is none
};

QList<Row> runScale(int factor, int runs, const QString& dir, const QStringList& only)
{
    // With --only, the other figures are skipped (their setup still runs).
    auto pick = [&](const QString& name) { return only.isEmpty() || only.contains(name); };
    auto timed = [&](const QString& name, const std::function<void()>& work,
                     const std::function<void()>& prepare = {}) {
        return pick(name) ? median(runs, work, prepare) : Timing{};
    };
    CollectPrompt prompt;
    const BoutiqueScale scale = BoutiqueScale::tenYears(factor);
    out << "\n== scale " << factor << "x: " << scale.describe() << "\n";
    out.flush();

    QElapsedTimer gen;
    gen.start();
    const std::unique_ptr<AppState> st = generatedBoutique(dir, scale);
    out << "generated in " << gen.elapsed() << " ms\n";

    QList<Row> rows;
    const QString dbPath = st->dataDir + QStringLiteral("bench.tlvdb");

    saveDB(dbPath, *st);
    // What a user saves: the database as it was opened from its file.
    Timing save;
    {
        AppState opened;
        opened.dataDir = st->dataDir;
        opened.xmlDir = st->xmlDir;
        loadDB(dbPath, opened, prompt);
        save = timed(QStringLiteral("saveDB"), [&] { saveDB(dbPath, opened); });
    }
    const qint64 fileSize = QFileInfo(dbPath).size();
    const QByteArray raw = [&] {
        QFile f(dbPath);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const QString rawPath = dir + QStringLiteral("/raw.bin");
    // What saving must pay whatever the program does: the same bytes written
    // to a new file, and the syncs the save makes (the file, its folder, and
    // the folder of the backup copies).
    const QString backupFolder = backupDir(*st, dbPath);
    const Timing rawWrite = timed(QStringLiteral("raw write + sync"), [&] {
        const int fd = ::open(QFile::encodeName(rawPath).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        for (qsizetype done = 0; fd >= 0 && done < raw.size();) {
            const ssize_t n = ::write(fd, raw.constData() + done, size_t(raw.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
        syncFolder(dir);
        syncFolder(backupFolder);
    });
    const Timing rawRead = timed(QStringLiteral("raw read"), [&] {
        QFile f(rawPath);
        f.open(QIODevice::ReadOnly);
        volatile qsizetype n = f.readAll().size();
        (void)n;
    });
    // The raw read above takes 0.5 ms or several times that depending on
    // whether its buffer's pages are fresh; both cases, measured apart, show
    // how much of a ratio to it is the buffer rather than the loader.
    const auto readInto = [&](char* to) {
        const int fd = ::open(QFile::encodeName(rawPath).constData(), O_RDONLY | O_CLOEXEC);
        for (qsizetype got = 0; fd >= 0 && got < raw.size();) {
            const ssize_t n = ::read(fd, to + got, size_t(raw.size() - got));
            if (n <= 0)
                break;
            got += n;
        }
        if (fd >= 0)
            ::close(fd);
    };
    const Timing rawFresh = timed(QStringLiteral("raw read (fresh pages)"), [&] {
        void* to = ::mmap(nullptr, size_t(raw.size()), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (to != MAP_FAILED) {
            readInto(static_cast<char*>(to));
            ::munmap(to, size_t(raw.size()));
        }
    });
    std::vector<char> reused(size_t(raw.size()));
    readInto(reused.data());
    const Timing rawReused = timed(QStringLiteral("raw read (pages reused)"), [&] { readInto(reused.data()); });
    rows << Row{QStringLiteral("raw write + sync"), rawWrite}
         << Row{QStringLiteral("raw read"), rawRead}
         << Row{QStringLiteral("raw read (fresh pages)"), rawFresh}
         << Row{QStringLiteral("raw read (pages reused)"), rawReused}
         << Row{QStringLiteral("saveDB"), save, rawWrite.wall};

    std::unique_ptr<AppState> loaded;
    const Timing load = timed(QStringLiteral("loadDB"), [&] {
        loaded = std::make_unique<AppState>();
        loadDB(dbPath, *loaded, prompt);
    }, [&] { loaded.reset(); });
    rows << Row{QStringLiteral("loadDB"), load, rawFresh.wall};
    loaded.reset();

    // The ledger in a random order each time, sorted newest first.
    QStringList records;
    for (int i = 0; i < st->saleList.count(); ++i)
        records << st->saleList.at(i).record();
    std::mt19937 rng(7);
    TSaleList shuffled;
    rows << Row{QStringLiteral("sortByDate"), timed(QStringLiteral("sortByDate"), [&] { shuffled.sortByDate(); }, [&] {
                    std::shuffle(records.begin(), records.end(), rng);
                    shuffled.clear();
                    for (const QString& r : std::as_const(records)) {
                        auto sheet = std::make_unique<TSaleItem>();
                        sheet->setRecord(r);
                        shuffled.append(std::move(sheet));
                    }
                }), 0};

    rows << Row{QStringLiteral("prepareLines"),
                timed(QStringLiteral("prepareLines"), [&] { st->repList.prepareLines(st->saleList); }), 0};
    // The same after any change to the ledger: every sale line is read again.
    rows << Row{QStringLiteral("prepareLines (ledger changed)"),
                timed(QStringLiteral("prepareLines (ledger changed)"), [&] { st->repList.prepareLines(st->saleList); },
                      [&] { changeLedger(*st); }), 0};

    // Consignment of every artisan over all sales.
    rebuildLists(*st);
    const int all = allSales(*st);
    st->repList.prepareLines(st->saleList);
    rows << Row{QStringLiteral("consign all (memory)"),
                timed(QStringLiteral("consign all (memory)"), [&] { consignAll(*st, all, prompt); }), 0};
    rows << Row{QStringLiteral("exportAllConsigne"),
                timed(QStringLiteral("exportAllConsigne"), [&] { exportAllConsigne(*st, all, prompt); }), 0};
    const int few = qMin(10, int(st->numItems.size()));
    const Timing oneByOne = timed(QStringLiteral("setConsigne (one artisan)"), [&] {
        for (int k = 0; k < few; ++k)
            st->repList.setConsigne(st->numItems.at(k), all, st->saleList,
                                    st->xmlDataLines);
    });
    rows << Row{QStringLiteral("setConsigne (one artisan)"),
                Timing{oneByOne.wall / qMax(1, few), oneByOne.cpu / qMax(1, few)}};

    rows << Row{QStringLiteral("writeSalesDocs"), timed(QStringLiteral("writeSalesDocs"), [&] { writeSalesDocs(*st); }), 0};

    QByteArray xml = artListXML(st->artList);
    rows << Row{QStringLiteral("artList XML export"),
                timed(QStringLiteral("artList XML export"), [&] { xml = artListXML(st->artList); }), 0};
    rows << Row{QStringLiteral("artList XML import"), timed(QStringLiteral("artList XML import"), [&] {
                    TArtList list;
                    readArtListBytes(list, xml);
                }), 0};

    // Lists of 5 MB, one a boutique could send and two hostile ones (a deep
    // nest, refused; a flat run of empty elements): the reader stays linear.
    const auto fiveMb = [](QByteArray unit, const QByteArray& head, const QByteArray& tail) {
        const qsizetype n = (5 << 20) / qMax<qsizetype>(1, unit.size()) + 1;
        return head + unit.repeated(n) + tail;
    };
    // And of 10 MB, which must import or be refused in under 2 s: the
    // boutique's, and the shapes that cost the reader most (a product every
    // four bytes, elements at the attribute limit, the older program's bare
    // ampersands, nesting at the limit).
    const auto tenMb = [&](const QByteArray& unit, const QByteArray& head, const QByteArray& tail) {
        return fiveMb(unit, head + fiveMb(unit, {}, {}), tail);
    };
    QByteArray attributes;
    for (int i = 0; i < MAX_XML_ATTRIBUTES; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"\"";
    const QByteArray nest = "<x>" + QByteArray("<y>").repeated(MAX_XML_DEPTH - 4) + QByteArray("</y>").repeated(MAX_XML_DEPTH - 4) + "</x>";
    const qsizetype items = xml.indexOf("<artItem ");
    const qsizetype end = xml.lastIndexOf("</artList>");
    const QList<QPair<QString, QByteArray>> lists{
        {QStringLiteral("artList 5 MB import"),
         fiveMb(xml.mid(items, end - items), xml.left(items), xml.mid(end))},
        {QStringLiteral("artList 5 MB deep (refused)"), fiveMb("<a>", "<artList>", "")},
        {QStringLiteral("artList 5 MB flat"), fiveMb("<a/>", "<artList><artItem><artID>", "</artID></artItem></artList>")},
        {QStringLiteral("artList 10 MB import"), tenMb(xml.mid(items, end - items), xml.left(items), xml.mid(end))},
        {QStringLiteral("artList 10 MB products"), tenMb("<i/>", "<artList><artItem><artID/><product>", "</product></artItem></artList>")},
        {QStringLiteral("artList 10 MB attributes"), tenMb("<a" + attributes + "/>", "<artList><artItem><artID>", "</artID></artItem></artList>")},
        {QStringLiteral("artList 10 MB ampersands"), tenMb("&", xml.left(items) + "<artItem><artID><n>", "</n></artID></artItem></artList>")},
        {QStringLiteral("artList 10 MB nest at limit"), tenMb(nest, "<artList><artItem><artID>", "</artID></artItem></artList>")},
    };
    for (const auto& [name, bytes] : lists)
        rows << Row{name, timed(name, [&] {
                        try {
                            TArtList list;
                            readArtListBytes(list, bytes);
                        } catch (const AppError&) {
                        }
                    }), 0};

    const long peakKb = pick(QStringLiteral("peak memory")) ? loadedPeakKb(dbPath) : 0;
    const long consignKb = pick(QStringLiteral("peak memory")) ? loadedPeakKb(dbPath, true) : 0;
    out << "file size: " << fileSize << " bytes; loaded database peak memory: " << peakKb
        << " KiB (" << QString::number(double(peakKb) * 1024.0 / double(fileSize), 'f', 1)
        << " x file size); then with every artisan's consignment: " << consignKb << " KiB ("
        << QString::number(double(consignKb) * 1024.0 / double(fileSize), 'f', 1) << " x)\n";
    out << QStringLiteral("%1 %2 %3 %4\n").arg(QStringLiteral("operation"), -28)
               .arg(QStringLiteral("wall ms"), 10).arg(QStringLiteral("cpu ms"), 10)
               .arg(QStringLiteral("x raw"), 8);
    for (const Row& r : std::as_const(rows))
        if (pick(r.name))
            out << QStringLiteral("%1 %2 %3 %4\n").arg(r.name, -28).arg(r.t.wall, 10, 'f', 1)
                   .arg(r.t.cpu, 10, 'f', 1)
                   .arg(r.floorMs > 0 ? QString::number(r.t.wall / r.floorMs, 'f', 1) : QString(), 8);
    // The targets of a ten-year boutique: loading and saving against the raw
    // read and write of the same bytes in this same run, memory against the
    // file's size.
    const auto verdict = [](double value, double limit) {
        return value <= limit ? QStringLiteral("within target") : QStringLiteral("over target");
    };
    const auto check = [&](const QString& what, double value, const QString& unit, double limit) {
        out << QStringLiteral("%1 %2 %3  %4\n").arg(what, -34)
                   .arg(QString::number(value, 'f', 1) + unit, 9)
                   .arg(QStringLiteral("(<= ") + QString::number(limit) + unit + QLatin1Char(')'), 11)
                   .arg(verdict(value, limit));
    };
    out << "targets at " << factor << "x (the targets are set for 1x):\n";
    // Loading against what opening the file in a new process pays: its
    // bytes read into pages the process never had.
    if (pick(QStringLiteral("loadDB")) && rawFresh.wall > 0) {
        check(QStringLiteral("loadDB / raw read, fresh pages (wall)"), load.wall / rawFresh.wall, QStringLiteral("x"), 15);
        check(QStringLiteral("loadDB (cpu)"), load.cpu, QStringLiteral(" ms"), 60);
        for (const auto& [what, t] : {std::pair{QStringLiteral("QFile::readAll"), rawRead},
                                      std::pair{QStringLiteral("pages reused"), rawReused}})
            if (t.wall > 0)
                out << QStringLiteral("  (loadDB / raw read with %1: %2x)\n").arg(what).arg(load.wall / t.wall, 0, 'f', 1);
    }
    if (pick(QStringLiteral("saveDB")) && rawWrite.wall > 0)
        check(QStringLiteral("saveDB / raw write + the same syncs (wall)"), save.wall / rawWrite.wall, QStringLiteral("x"), 3);
    if (peakKb > 0)
        check(QStringLiteral("peak memory / file size"), double(peakKb) * 1024.0 / double(fileSize),
              QStringLiteral("x"), 8);
    if (consignKb > 0)
        check(QStringLiteral("  the same with every consignment"), double(consignKb) * 1024.0 / double(fileSize),
              QStringLiteral("x"), 8);
    out.flush();
    rows << Row{QStringLiteral("peak memory (KiB)"), Timing{double(peakKb), double(peakKb)}};
    return rows;
}

// The growth of each operation that has a growth target, measured in rounds:
// each round times the operation at 1x and then at 10x, each after one
// untimed call, so that whatever else the machine does at that minute falls
// on both scales alike. The growth is the median of the rounds' ratios.
void pairedGrowth(int runs, const QString& dir)
{
    CollectPrompt prompt;
    struct Scale {
        int factor;
        std::unique_ptr<AppState> st;
        int all = 0;
    };
    std::vector<Scale> scales;
    for (const int factor : {1, 10}) {
        Scale s{factor, generatedBoutique(dir + QStringLiteral("/paired%1").arg(factor), BoutiqueScale::tenYears(factor))};
        rebuildLists(*s.st);
        s.all = allSales(*s.st);
        s.st->repList.prepareLines(s.st->saleList);
        scales.push_back(std::move(s));
    }
    struct Op {
        QString name;
        std::function<void(Scale&)> prepare;
        std::function<void(Scale&)> work;
    };
    const std::vector<Op> ops{
        {QStringLiteral("prepareLines (ledger changed)"),
         [](Scale& s) { changeLedger(*s.st); },
         [](Scale& s) { s.st->repList.prepareLines(s.st->saleList); }},
        {QStringLiteral("consign all (memory)"), {}, [&](Scale& s) { consignAll(*s.st, s.all, prompt); }},
        {QStringLiteral("exportAllConsigne"), {}, [&](Scale& s) { exportAllConsigne(*s.st, s.all, prompt); }},
    };
    out << "\n== growth from 1x to 10x in paired rounds (" << runs
        << " rounds; cpu ms, medians; target: at most 12x)\n";
    for (const Op& op : ops) {
        std::vector<double> small, large, ratio;
        for (int r = 0; r < runs; ++r) {
            double cpu[2] = {0, 0};
            for (size_t k = 0; k < scales.size(); ++k)
                for (int call = 0; call < 2; ++call) {
                    if (op.prepare)
                        op.prepare(scales[k]);
                    const double c0 = cpuMs();
                    op.work(scales[k]);
                    cpu[k] = cpuMs() - c0;
                }
            small.push_back(cpu[0]);
            large.push_back(cpu[1]);
            ratio.push_back(cpu[1] / qMax(cpu[0], 1e-3));
        }
        const auto mid = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        const auto [lo, hi] = std::minmax_element(ratio.begin(), ratio.end());
        out << QStringLiteral("%1 %2 %3 %4 (%5-%6)  %7\n")
                   .arg(op.name, -28)
                   .arg(mid(small), 8, 'f', 1)
                   .arg(mid(large), 9, 'f', 1)
                   .arg(QString::number(mid(ratio), 'f', 1) + QLatin1Char('x'), 7)
                   .arg(*lo, 0, 'f', 1)
                   .arg(*hi, 0, 'f', 1)
                   .arg(mid(ratio) <= 12 ? QStringLiteral("within target") : QStringLiteral("over target"));
        out.flush();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int runs = 5;
    QList<int> scales{1, 10};
    QString dir;
    QStringList only;
    bool paired = false;
    const QStringList args = app.arguments();
    if ((args.size() == 3 || (args.size() == 4 && args[3] == QStringLiteral("--consign")))
        && args[1] == QStringLiteral("--load"))
        return loadOnly(args[2], args.size() == 4);
    if (args.size() >= 3 && args[1] == QStringLiteral("--generate")) {
        // A database file of the given scale, for trying the program on it.
        AppState st;
        generateBoutique(st, BoutiqueScale::tenYears(args.size() > 3 ? qMax(1, args[3].toInt()) : 1));
        saveDB(args[2], st);
        return 0;
    }
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs") && i + 1 < args.size())
            runs = qMax(1, args[++i].toInt());
        else if (args[i] == QStringLiteral("--scales") && i + 1 < args.size()) {
            scales.clear();
            for (const QString& s : args[++i].split(QLatin1Char(',')))
                scales << qMax(1, s.toInt());
        } else if (args[i] == QStringLiteral("--dir") && i + 1 < args.size())
            dir = args[++i];
        else if (args[i] == QStringLiteral("--only") && i + 1 < args.size())
            only = args[++i].split(QLatin1Char(','));
        else if (args[i] == QStringLiteral("--paired"))
            paired = true;
        else {
            QTextStream(stderr) << "usage: bench_boutique [--runs N] [--scales 1,10] [--dir FOLDER] [--only NAME,...]"
                                   " [--paired]\n";
            return 2;
        }
    }
    QTemporaryDir tmp(dir.isEmpty() ? QDir::tempPath() + QStringLiteral("/tilvar-bench-XXXXXX")
                                    : dir + QStringLiteral("/tilvar-bench-XXXXXX"));
    out << "runs per figure: " << runs << " (median)\n";
    if (paired) {
        pairedGrowth(runs, tmp.path());
        return 0;
    }

    QList<QList<Row>> all;
    for (int f : std::as_const(scales))
        all << runScale(f, runs, tmp.path(), only);

    if (all.size() >= 2) {
        // Judged on CPU time, the steadier figure on a shared machine.
        out << "\n== growth from " << scales.first() << "x to " << scales.last()
            << "x (wall, cpu; target: cpu at most 12x)\n";
        for (int i = 0; i < all.first().size(); ++i) {
            const Row& a = all.first().at(i);
            const Row& b = all.last().at(i);
            auto ratio = [](double x, double y) {
                return x > 0 ? QString::number(y / x, 'f', 1) + QLatin1Char('x') : QString();
            };
            // The operations whose growth has a target; the others' is shown.
            const bool raw = !growthJudged(a.name);
            const QString judged = raw || a.t.cpu <= 0 ? QString()
                : b.t.cpu / a.t.cpu <= 12 ? QStringLiteral("within target") : QStringLiteral("over target");
            if (a.t.wall > 0)
                out << QStringLiteral("%1 %2 %3  %4\n").arg(a.name, -28)
                           .arg(ratio(a.t.wall, b.t.wall), 10).arg(ratio(a.t.cpu, b.t.cpu), 10).arg(judged);
        }
    }
    return 0;
}
