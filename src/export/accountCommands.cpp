#include "export/accountCommands.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/dbLock.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "export/books.h"
#include "model/balance.h"
#include "model/saleRows.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QByteArray line(const QString& text)
{
    return text.toUtf8() + '\n';
}

// Splits "--name value" options off args (from index first on) into opts;
// false on an unknown option or one without its value.
bool takeOptions(const QStringList& args, qsizetype first, const QStringList& known, QStringList& rest,
                 QHash<QString, QString>& opts)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (i < first || !args.at(i).startsWith(u"--"_s)) {
            rest << args.at(i);
            continue;
        }
        const QString name = args.at(i).mid(2);
        if (!known.contains(name) || i + 1 >= args.size())
            return false;
        opts.insert(name, args.at(++i));
    }
    return true;
}

// account FILE [ARTNO] [--date YYMMDD]
int runAccount(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err)
{
    QStringList rest;
    QHash<QString, QString> opts;
    if (!takeOptions(args, 1, {u"date"_s}, rest, opts) || rest.size() > 2) {
        return ExitUsage;
    }
    const QString date = opts.value(u"date"_s, todayStr());
    if (!isDay(date)) {
        err += line(u"tlvdb: \"%1\" is not a day (YYMMDD)"_s.arg(date));
        return ExitUsage;
    }
    const SaleBook& book = st.repList.book(st.saleList);
    QStringList nos = accountArtNos(book, st.artList, st.account);
    if (rest.size() == 2) {
        if (!nos.contains(rest.at(1))) {
            err += line(u"tlvdb: no artisan numbered \"%1\""_s.arg(rest.at(1)));
            return ExitFailed;
        }
        nos = {rest.at(1)};
    }
    out += line(u"balances at the end of %1 (earned = the artisan's share of the sales)"_s.arg(date));
    for (const QString& no : std::as_const(nos)) {
        const AccountFigures f =
            accountFigures(book, st.artList, st.account, ShareRule{st.artSharePercent}, no, QString(), date);
        const int a = st.artList.indexOfArtNo(no);
        const QString gone = st.account.gone.contains(no) ? u" (left)"_s : QString();
        // A loss the boutique bore at a count is owed too: earned + credited - paid = balance.
        const QString credited =
            f.credited.isZero() ? QString() : u"  credited %1"_s.arg(f.credited.format());
        out += line(u"%1  earned %2%3  paid %4  balance %5  %6%7"_s.arg(
            no, f.earned.format(), credited, f.paid.format(), f.after().format(),
            a < 0 ? QString() : st.artList.displayName(a), gone));
    }
    return ExitOk;
}

// pay FILE ARTNO AMOUNT DATE [--mode M] [--ref R] [--period TITLE] [--note N]
int runPay(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err)
{
    QStringList rest;
    QHash<QString, QString> opts;
    if (!takeOptions(args, 4, {u"mode"_s, u"ref"_s, u"period"_s, u"note"_s}, rest, opts) || rest.size() != 4) {
        return ExitUsage;
    }
    const QString& path = rest.at(0);
    Payout p;
    p.artNo = rest.at(1);
    const auto amount = Money::tryParse(rest.at(2));
    if (!amount) {
        err += line(u"tlvdb: \"%1\" is not an amount"_s.arg(rest.at(2)));
        return ExitUsage;
    }
    p.amount = *amount;
    p.date = rest.at(3);
    p.mode = opts.value(u"mode"_s, PAYOUT_MODES.first());
    p.ref = opts.value(u"ref"_s);
    p.period = opts.value(u"period"_s);
    p.note = opts.value(u"note"_s);
    if (!p.period.isEmpty() && st.repList.indexOfTitle(p.period) < 0) {
        err += line(u"tlvdb: no period titled \"%1\""_s.arg(p.period));
        return ExitFailed;
    }
    const QStringList known = accountArtNos(st.repList.book(st.saleList), st.artList, st.account);
    if (const QString why = payoutProblem(p, known); !why.isEmpty()) {
        err += line(u"tlvdb: "_s + why);
        return ExitFailed;
    }
    DbLock lock(path);
    if (!lock.tryLock()) {
        err += line(u"tlvdb: %1 is open in %2: nothing written"_s.arg(path, lock.holder(false)));
        return ExitFailed;
    }
    // The file may have changed between the first read and the lock.
    AppState fresh;
    fresh.artSharePercent = st.artSharePercent;
    CollectPrompt quiet;
    if (loadDB(path, fresh, quiet) != LoadResult::Loaded) {
        err += line(u"tlvdb: %1: changed while being read; nothing written"_s.arg(path));
        return ExitFailed;
    }
    recordShares(fresh);
    const Payout& made = fresh.account.pay(p);
    fresh.modified = true;
    saveDB(path, fresh);
    out += line(u"payout %1 recorded: %2 %3 on %4 (%5)"_s.arg(QString::number(made.id), made.artNo,
                                                            made.amount.format(), made.date, made.mode));
    return ExitOk;
}

// books FILE PERIOD OUTDIR
int runBooks(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err)
{
    const int p = st.repList.indexOfTitle(args.at(1));
    if (p < 0) {
        err += line(u"tlvdb: no period titled \"%1\""_s.arg(args.at(1)));
        return ExitFailed;
    }
    if (args.at(2).isEmpty()) {
        err += line(u"tlvdb: OUTDIR must not be empty"_s);
        return ExitUsage;
    }
    QDir().mkpath(args.at(2));
    const BooksInput in{st.repList.book(st.saleList), st.artList, st.account, ShareRule{st.artSharePercent}};
    SafeWriteOptions opt;
    opt.inputs << QFileInfo(args.at(0)).absoluteFilePath();
    for (const QString& f : writeBooks(in, std::as_const(st.repList).at(p), args.at(2), opt))
        out += line(f);
    return ExitOk;
}

} // namespace

std::vector<TlvdbCommand> tlvdbAccountCommands()
{
    return {
        {u"account"_s, 1, 4,
         "       tlvdb account FILE [ARTNO] [--date YYMMDD]\n"
         "                                       each artisan's share earned, paid and balance\n"
         "                                       at the end of the day (today by default)\n",
         runAccount},
        {u"pay"_s, 4, 12,
         "       tlvdb pay FILE ARTNO AMOUNT DATE [--mode M] [--ref R] [--period TITLE] [--note N]\n"
         "                                       record a payout (mode: chèque by default, or\n"
         "                                       virement, comptant, \"crédit en boutique\")\n",
         runPay},
        {u"books"_s, 3, 3,
         "       tlvdb books FILE PERIOD OUTDIR  write the accountant's CSV files of a period\n", runBooks},
    };
}
