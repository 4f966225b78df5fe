#include "app/tlvdbTool.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/dbLock.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/sysCause.h"
#include "core/textUtil.h"
#include "export/dbJson.h"
#include "model/account.h"
#include "model/artNumbers.h"
#include "model/balance.h"
#include "model/saleRows.h"
#include "model/soldSync.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QByteArray line(const QString& text)
{
    return text.toUtf8() + '\n';
}

// Loads path whole into st; otherwise says why in err and returns the exit code.
int loadWhole(const QString& path, AppState& st, QByteArray& err)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        err += line(u"tlvdb: %1: no such file"_s.arg(path));
        return ExitUsage;
    }
    if (const QString why = notRegularFile(path); !why.isEmpty()) {
        err += line(u"tlvdb: %1: %2"_s.arg(path, why));
        return ExitUsage;
    }
    CollectPrompt prompt;
    LoadResult result;
    try {
        result = loadDB(path, st, prompt);
    } catch (const AppError& e) {
        err += line(u"tlvdb: %1: %2"_s.arg(path, e.message()));
        return ExitFailed;
    }
    if (result == LoadResult::Loaded)
        return ExitOk;
    if (prompt.messages.isEmpty())
        prompt.messages << READ_ERROR_MSG;
    for (const QString& m : std::as_const(prompt.messages))
        err += line(u"tlvdb: %1: %2"_s.arg(path, m));
    return result == LoadResult::Missing ? ExitUsage : ExitFailed;
}

int usageError(QByteArray& err, const std::vector<TlvdbCommand>& extra)
{
    err += tlvdbUsage(extra);
    return ExitUsage;
}

int productCount(const AppState& st)
{
    int n = 0;
    for (int i = 0; i < st.artList.count(); ++i)
        n += st.artList.at(i).products.count();
    return n;
}

// What the account holds that the program would refuse to record.
QStringList accountProblems(AppState& st)
{
    QStringList out;
    const QStringList known = accountArtNos(st.repList.book(st.saleList), st.artList, Account());
    for (const Payout& p : st.account.payouts()) {
        Payout checked = p;
        if (p.reverses != 0)
            checked.amount = Money() - p.amount; // a reversal holds the opposite of a payout
        if (const QString why = payoutProblem(checked, known); !why.isEmpty())
            out << u"payout %1: %2"_s.arg(QString::number(p.id), why);
    }
    return out;
}

} // namespace

QByteArray tlvdbUsage(const std::vector<TlvdbCommand>& extra)
{
    QByteArray more;
    for (const TlvdbCommand& c : extra)
        more += c.usage;
    return "usage: tlvdb dump FILE                 print the database as JSON\n"
           "       tlvdb check FILE                exit 0 when FILE loads whole and every sold\n"
           "                                       quantity equals its sheets' lines; lists each\n"
           "                                       difference (and lines of deleted products)\n"
           "                                       and each artisan number two artisans share;\n"
           "                                       exit 1 names each payout the program would refuse\n"
           "       tlvdb resave IN OUT             save IN as OUT in the current format\n"
           "       tlvdb consign FILE PERIOD ARTNO print an artisan's consignment for a period\n"
           + more
           + "exit codes: 0 done, 1 file unreadable or command failed (a write included),\n"
             "            2 bad usage (an empty FILE, OUT, OUTDIR or ARTNO) or missing file,\n"
             "            3 report: no sales in the period; check: sold quantities differ from the sheets\n";
}

namespace {

int runCommand(const QStringList& args, QByteArray& out, QByteArray& err, const std::vector<TlvdbCommand>& extra)
{
    if (args.isEmpty())
        return usageError(err, extra);
    const QString cmd = args.first();
    if (cmd == u"help"_s || cmd == u"--help"_s || cmd == u"-h"_s) {
        out += tlvdbUsage(extra);
        return ExitOk;
    }
    for (const TlvdbCommand& c : extra) {
        if (c.name != cmd)
            continue;
        const qsizetype n = args.size() - 1;
        if (n < c.minArgs || n > c.maxArgs || args.at(1).isEmpty())
            return usageError(err, extra);
        AppState st;
        if (const int rc = loadWhole(args.at(1), st, err); rc != ExitOk)
            return rc;
        const qsizetype said = err.size();
        const int rc = c.run(args.mid(1), st, out, err);
        if (rc == ExitUsage && err.size() == said)
            err += tlvdbUsage(extra);
        return rc;
    }
    const int want = cmd == u"dump"_s || cmd == u"check"_s ? 2
                     : cmd == u"resave"_s                ? 3
                     : cmd == u"consign"_s               ? 4
                                                         : 0;
    if (want == 0) {
        err += line(u"tlvdb: unknown command \"%1\""_s.arg(cmd));
        return usageError(err, extra);
    }
    if (args.size() != want)
        return usageError(err, extra);
    if (args.at(1).isEmpty() || (cmd == u"resave"_s && args.at(2).isEmpty())
        || (cmd == u"consign"_s && args.at(3).isEmpty()))
        return usageError(err, extra);
    if (cmd == u"resave"_s) {
        if (const QString why = outputRefusedText(args.at(2), {args.at(1)}); !why.isEmpty()) {
            err += line(u"tlvdb: "_s + why);
            return ExitFailed;
        }
    }

    AppState st;
    if (const int rc = loadWhole(args.at(1), st, err); rc != ExitOk)
        return rc;

    if (cmd == u"dump"_s) {
        out += databaseJson(st);
        return ExitOk;
    }
    if (cmd == u"check"_s) {
        // One substitution pass: a "%" in the file name stays as it is.
        out += line(u"%1: version %2, %3 artisans, %4 products, %5 sheets, %6 periods"_s.arg(
            args.at(1), QString::number(st.dbVersion), QString::number(st.artList.count()),
            QString::number(productCount(st)), QString::number(st.saleList.count()),
            QString::number(st.repList.count())));
        // Reported only: an older file may have such gaps, mending them is
        // the user's choice.
        const SoldCheck check = checkSold(st.artList, st.saleList);
        for (const QString& l : soldCheckLines(check, false))
            out += line(l);
        // The sheets cannot tell such artisans apart: named, for the user to renumber.
        for (const QString& l : duplicateArtNoLines(st.artList, false))
            out += line(l);
        // Never removed: a person may have chosen such a name.
        for (const QString& f : unprovenLeftovers(args.at(1)))
            out += line(u"leftover: %1 (maybe left by an interrupted save; not removed)"_s.arg(f));
        // Listed too, not a failure: the program never writes such totals.
        for (const QString& l : storedTotalDifferences(st.saleList, false))
            out += line(l);
        const QStringList account = accountProblems(st);
        for (const QString& l : account)
            out += line(l);
        return !check.gaps.isEmpty() ? ExitGaps : account.isEmpty() ? ExitOk : ExitFailed;
    }
    if (cmd == u"resave"_s) {
        // An OUT it replaces is kept in the "backup" folder beside it, unless
        // something else bears that name: OUT is still written, without a copy.
        const QFileInfo backup(backupDir(st, args.at(2)));
        const bool keepBackup = !backup.exists() || backup.isDir();
        if (!keepBackup && QFileInfo::exists(args.at(2)))
            err += line(u"tlvdb: %1: no backup copy kept: %2 is not a folder"_s.arg(
                args.at(2), backup.filePath()));
        DbLock lock(args.at(2));
        if (!lock.tryLock()) {
            err += line(u"tlvdb: %1 is open in %2: nothing written"_s.arg(args.at(2), lock.holder(false)));
            return ExitFailed;
        }
        try {
            saveDB(args.at(2), st, nullptr, keepBackup, {args.at(1)});
        } catch (const AppError& e) {
            err += line(u"tlvdb: %1: %2"_s.arg(args.at(2), e.message()));
            return ExitFailed;
        }
        return ExitOk;
    }

    // consign FILE PERIOD ARTNO
    const QString title = args.at(2);
    const QString artNo = args.at(3);
    const int p = st.repList.indexOfTitle(title);
    if (p < 0) {
        err += line(u"tlvdb: no period titled \"%1\""_s.arg(title));
        return ExitFailed;
    }
    if (st.artList.indexOfArtNo(artNo) < 0 && !soldAnywhere(st, artNo)) {
        err += line(u"tlvdb: no artisan numbered \"%1\""_s.arg(artNo));
        return ExitFailed;
    }
    st.repList.total = u"0.00$"_s;
    st.repList.setConsigne(artNo, p, st.saleList, st.xmlDataLines);
    for (const QString& row : std::as_const(st.repList.rangeLines))
        out += line(row);
    out += line(u"Total: "_s + st.repList.total);
    return ExitOk;
}

} // namespace

int runTlvdb(const QStringList& args, QByteArray& out, QByteArray& err,
             const std::vector<TlvdbCommand>& extra)
{
    // Whatever a command meets, it says so and fails: nothing it printed
    // before stays, so no output is taken for a whole one.
    const qsizetype printed = out.size();
    try {
        return runCommand(args, out, err, extra);
    } catch (const RangeError& e) {
        out.truncate(printed);
        err += line(u"tlvdb: "_s + e.english());
    } catch (const AppError& e) {
        out.truncate(printed);
        err += line(u"tlvdb: "_s + e.message());
    } catch (const std::exception& e) {
        out.truncate(printed);
        err += line(u"tlvdb: "_s + QString::fromLocal8Bit(e.what()));
    }
    return ExitFailed;
}
