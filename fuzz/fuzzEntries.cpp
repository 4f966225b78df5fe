#include "fuzzEntries.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "core/appError.h"
#include "core/iniFile.h"
#include "boutique/settings.h"
#include "export/artListXML.h"
#include "export/tagLayout.h"
#include "model/qntEvent.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryFile>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Answers nothing and shows nothing: the loader's messages are expected here.
class SilentPrompt : public Prompt {
public:
    void information(const QString&) override {}
    void error(const QString&) override {}
    Answer question(const QString&, bool) override { return Answer::No; }
    bool inputText(const QString&, const QString&, QString&) override { return false; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
};

QString text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

[[noreturn]] void fail(const char* what)
{
    fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::abort();
}

QString tempPath()
{
    QTemporaryFile f(QStringLiteral("/dev/shm/tlvfuzz-XXXXXX.tlvdb"));
    if (!f.open())
        std::abort();
    return f.fileName(); // removed on return; the name stays usable
}

template <typename T, typename Set, typename Get>
void stable(const QString& rec, Set set, Get get)
{
    T first;
    set(first, rec);
    const QString once = get(first);
    T second;
    set(second, once);
    const QString twice = get(second);
    T third;
    set(third, twice);
    if (get(third) != twice)
        fail("record changes on every pass");
}

// Every record of the database as the saver writes it, in file order.
QStringList dbRecords(AppState& st)
{
    QStringList out;
    for (int i = 0; i < st.artList.count(); ++i) {
        TArtisan& art = st.artList.at(i);
        out << art.artRecord();
        for (int k = 0; k < art.products.count(); ++k)
            out << art.products.at(k).prodRecord();
    }
    for (int i = 0; i < st.saleList.count(); ++i)
        out << st.saleList.at(i).record();
    for (int i = 0; i < st.repList.count(); ++i)
        out << st.repList.at(i).record();
    return out;
}

// A layout the printing may use: finite measures, every label on the page,
// and the text the settings file keeps reading back as itself.
void checkLayout(const TagLayout& l, bool ok, const QString& why)
{
    if (!ok) {
        if (why.isEmpty() || !(l == TagLayout()))
            fail("refused layout without a reason or with other measures");
        return;
    }
    if (!why.isEmpty() || !l.problem().isEmpty())
        fail("accepted layout with a problem");
    for (double v : {l.pageWidth, l.pageHeight, l.labelWidth, l.labelHeight, l.left, l.top, l.hGap, l.vGap})
        if (!std::isfinite(v) || v < 0 || v > MaxPageSide)
            fail("accepted measure out of bounds");
    if (l.perSheet() < 1 || l.perSheet() > 1000)
        fail("accepted label count out of bounds");
    const double right = l.left + l.columns * l.labelWidth + (l.columns - 1) * l.hGap;
    const double bottom = l.top + l.rows * l.labelHeight + (l.rows - 1) * l.vGap;
    if (right > l.pageWidth + 0.01 || bottom > l.pageHeight + 0.01)
        fail("accepted labels off the page");
    bool again = false;
    const TagLayout back = TagLayout::fromText(l.toText(), &again);
    if (!again || back.toText() != l.toText())
        fail("kept layout reads back otherwise");
}

} // namespace

namespace fuzzEntry {

int loadDb(const uint8_t* data, size_t size)
{
    const QString in = tempPath();
    writeAll(in, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    SilentPrompt prompt;
    AppState st;
    const LoadResult r = loadDB(in, st, prompt);
    QFile::remove(in);
    if (r != LoadResult::Loaded && r != LoadResult::ReadError)
        return 0;

    // Whatever loads (whole, or up to a read error) must save, and load whole
    // again with the very same records: the loader refuses what the saver
    // could not write back.
    const QString a = tempPath();
    saveDB(a, st);
    AppState again;
    const LoadResult r2 = loadDB(a, again, prompt);
    QFile::remove(a);
    if (r2 != LoadResult::Loaded)
        fail("saved database does not load");
    if (dbRecords(again) != dbRecords(st) || again.repList.curPeriod != st.repList.curPeriod)
        fail("saved database loads with other records");
    return 0;
}

int commaList(const uint8_t* data, size_t size)
{
    const QString list = text(data, size);
    const QStringList items = readCommaList(list);
    // Writing then reading gives the same items back.
    if (readCommaList(writeCommaList(items)) != items)
        std::abort();
    const int n = commaCount(list);
    if (n < 0)
        std::abort();
    for (int i = 0; i <= n; ++i)
        (void)getCommaItem(list, i);
    (void)commaSum(list);
    (void)addCommaItem(QStringLiteral("x"), list);
    (void)uniqueName(QStringLiteral("x"), list);
    if (n > 0) {
        QString copy = list;
        setCommaItem(copy, 0, QStringLiteral("y"));
        (void)delCommaItem(list, n - 1);
    }
    return 0;
}

int qntText(const uint8_t* data, size_t size)
{
    TQnt q;
    try {
        q.setQntText(text(data, size));
    } catch (const AppError&) {
        return 0; // same-date quantities that are not integers: reported, list unchanged
    }
    for (int form = 0; form <= 4; ++form)
        (void)q.qntText(form);
    try {
        (void)q.totalQntStr();
        q.sortEvents();
    } catch (const AppError&) {
        // A quantity that is not an integer is reported, never a crash.
    }
    return 0;
}

int settings(const uint8_t* data, size_t size)
{
    const QString path = tempPath();
    writeAll(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    AppState st;
    TIniFile ini(path);
    readSettings(ini, st);

    // What was read, written back into the same file, reads back the same.
    QByteArray written;
    ini.setWriter([&written](const QString&, const QByteArray& bytes) { written = bytes; });
    writeSettings(ini, st);
    writeAll(path, written);
    AppState again;
    readSettings(path, again);
    QFile::remove(path);
    const auto same = [](const char* name, const auto& x, const auto& y) {
        if (x != y)
            fail(name);
    };
    same("sAgentList", again.sAgentList, st.sAgentList);
    same("artFileName", again.artFileName, st.artFileName);
    same("importFName", again.importFName, st.importFName);
    same("curArtNo", again.curArtNo, st.curArtNo);
    same("lastSAgent", again.lastSAgent, st.lastSAgent);
    same("pDateStr", again.pDateStr, st.pDateStr);
    same("pubPrefs", again.pubPrefs, st.pubPrefs);
    same("lastPeriodNo", again.lastPeriodNo, st.lastPeriodNo);
    same("curCIndex", again.curCIndex, st.curCIndex);
    same("autoload", again.autoload, st.autoload);
    same("wLeft", again.wLeft, st.wLeft);
    return 0;
}

int artListXml(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TArtList list;
    try {
        if (!readArtListBytes(list, bytes))
            return 0;
    } catch (const AppError&) {
        return 0; // a document that cannot be read is reported, never a crash
    }
    // Whatever was read exports to a document that reads back the same.
    const QByteArray first = artListXML(list);
    TArtList again;
    readArtListBytes(again, first);
    if (artListXML(again) != first)
        fail("artisan list exports differently once read back");
    return 0;
}

int records(const uint8_t* data, size_t size)
{
    // One input read as each kind of record. Reading may normalise a record
    // once (a last field holding its separator, quantities merged); from then
    // on, writing and reading again must change nothing.
    const QString rec = text(data, size);
    try {
        // Packed quantities are joined without quoting, so a date or quantity
        // holding a quote, comma or blank (never one the program writes) can
        // change on every pass: a product record is only read and written.
        TProduit p;
        p.setProdRecord(rec);
        TProduit q;
        q.setProdRecord(p.prodRecord());
        (void)q.prodRecord();
        (void)q.availableStr();
    } catch (const AppError&) {
        // a quantity that is not an integer is reported, never a crash
    }
    stable<TArtisan>(rec, [](TArtisan& x, const QString& r) { x.setArtRecord(r); },
                     [](TArtisan& x) { (void)x.artTag(); return x.artRecord(); });
    stable<TSaleItem>(rec, [](TSaleItem& x, const QString& r) { x.setRecord(r); },
                      [](TSaleItem& x) {
                          for (const QString& line : readCommaList(x.lines))
                              for (int m = 0; m <= 3; ++m)
                                  (void)TSaleList::formatSaleLine(m, line);
                          return x.record();
                      });
    stable<TReport>(rec, [](TReport& x, const QString& r) { x.setRecord(r); },
                    [](TReport& x) { return x.record(); });
    return 0;
}

int tagLayout(const uint8_t* data, size_t size)
{
    // The input as --layout gives it...
    bool ok = false;
    QString why;
    const TagLayout l = TagLayout::fromText(text(data, size), &ok, &why);
    checkLayout(l, ok, why);
    // ...and as the settings file the tags read (the sheet, the boutique's name).
    const QString path = tempPath();
    writeAll(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    AppState st;
    readSettings(path, st);
    const TagLayout kept = readTagLayout(path, &why);
    QFile::remove(path);
    checkLayout(kept, why.isEmpty(), why);
    return 0;
}

} // namespace fuzzEntry
