#include "boutique/dbFile.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/sysCause.h"
#include "core/textUtil.h"
#include "core/valueStream.h"
#include "boutique/textPlaces.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <future>

using namespace Qt::StringLiterals;

namespace {

bool samePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty()
        && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// The first record holding a character no report can show, named. The owner's
// name is made only for that record: the check goes through every record.
QString firstOddCharacter(const AppState& st)
{
    const auto odd = [](const QList<RecordField>& fields, const auto& owner) {
        return recordCharProblem(QString(), fields).isEmpty() ? QString() : recordCharProblem(owner(), fields);
    };
    QString why;
    for (int i = 0; why.isEmpty() && i < st.artList.count(); ++i) {
        const TArtisan& a = st.artList.at(i);
        why = odd(a.recordFields(), [&] { return QStringLiteral("Artisan %1").arg(a.artNo); });
        for (int k = 0; why.isEmpty() && k < a.products.count(); ++k) {
            const TProduit& p = a.products.at(k);
            why = odd(p.checkedFields(), [&] { return QStringLiteral("Artisan %1, produit %2").arg(a.artNo, p.prodNo); });
        }
    }
    for (int i = 0; why.isEmpty() && i < st.saleList.count(); ++i) {
        const TSaleItem& s = st.saleList.at(i);
        why = odd(s.recordFields(), [&] { return QStringLiteral("Feuille %1").arg(s.date); });
    }
    for (int i = 0; why.isEmpty() && i < st.repList.count(); ++i) {
        const TReport& r = st.repList.at(i);
        why = odd(r.recordFields(), [&] { return QStringLiteral("Période « %1 »").arg(r.title); });
    }
    return why;
}

// Half characters the reader replaced: where they were, and the database
// marked changed so that the next save keeps the repair.
void tellMended(const TReader& r, AppState& st, Prompt& prompt)
{
    if (r.mendedChars() == 0)
        return;
    st.modified = true;
    constexpr int Shown = 10;
    QStringList places = placesHolding(st, QChar(0xFFFD), Shown + 1);
    if (places.size() > Shown)
        places.last() = QStringLiteral("…");
    prompt.information(QStringLiteral("%1 caractère(s) incomplet(s) (la moitié d'un emoji, par exemple) ont été "
                                      "remplacés par « \uFFFD » : %2. Vérifiez ces textes, puis enregistrez.")
                           .arg(r.mendedChars())
                           .arg(places.join(QStringLiteral(" ; "))));
}

// Whether what follows the reports is the account section's mark; any other
// value there is data after the end of the file.
bool accountFollows(TReader& r)
{
    try {
        return r.readString() == ACCOUNT_MARK;
    } catch (const ReadError&) {
        return false;
    }
}

void readAccount(TReader& r, AppState& st)
{
    const int version = r.readInteger();
    if (version < 1 || version > ACCOUNT_VERSION)
        r.fail(version > ACCOUNT_VERSION ? NEWER_ACCOUNT_MSG.arg(version) : u"account version %1"_s.arg(version));
    st.account.read(r, version);
}

} // namespace

void recordShares(AppState& st)
{
    Account& a = st.account;
    const bool first = !a.inFile && a.rules().isEmpty();
    if (first)
        a.setRule(QString(), QString(), st.artSharePercent);
    const int recorded = a.recordShares(st.saleList, st.artList, ShareRule{st.artSharePercent});
    if (first && recorded > 0)
        a.sharesRecordedOn = todayStr();
}

QString backupDir(const AppState& st, const QString& path)
{
    const QString base = st.dataDir.isEmpty() ? QFileInfo(path).absolutePath() : st.dataDir;
    return QDir(base).filePath(QStringLiteral("backup"));
}

SafeWriteOptions dbWriteOptions(const AppState& st, const QString& path)
{
    SafeWriteOptions opt;
    opt.backupDir = backupDir(st, path);
    opt.keepBackups = KEPT_BACKUPS;
    // A file that did not load whole is kept for good before it is replaced.
    opt.keepBackupForever = samePath(path, st.damagedDbPath);
    return opt;
}

SafeWriteOptions outputOptions(const AppState& st, SafeWriteOptions base)
{
    base.inputs << st.curFilePath << st.iniPath;
    return base;
}

void writeDatabase(QIODevice& dev, AppState& st, bool withAccount, bool ledgerAside)
{
    // Encoded aside, the ledger waits in memory for the artisans to be
    // written: the two sections read different data. (The future's
    // destructor joins the thread on every way out.)
    std::future<QByteArray> sales;
    if (ledgerAside)
        sales = std::async(std::launch::async, [&st] {
            QByteArray bytes;
            bytes.reserve(st.saleList.recordSize() + st.saleList.recordSize() / 8);
            QBuffer buf(&bytes);
            buf.open(QIODevice::WriteOnly);
            TWriter w(buf);
            st.saleList.writeSales(w);
            w.flush();
            return bytes;
        });
    TWriter w(dev);
    w.writeInteger(DB_FORMAT_VERSION);
    st.artList.writeArtisans(w);
    if (ledgerAside)
        w.writeEncoded(sales.get());
    else
        st.saleList.writeSales(w);
    st.repList.writeReports(w);
    if (withAccount && !st.account.isEmpty()) {
        w.writeString(ACCOUNT_MARK);
        w.writeInteger(ACCOUNT_VERSION);
        st.account.write(w);
    }
    w.flush();
}

void saveDB(const QString& path, AppState& st, const WriteFaults* faults, bool keepBackup,
            const QStringList& inputs)
{
    SafeWriteOptions opt = dbWriteOptions(st, path);
    opt.faults = faults;
    opt.inputs = inputs;
    if (!keepBackup)
        opt.backupDir.clear();
    // "-[tout]-" spans the sheets as a load would make it span them, so that
    // the file reads back as the model that wrote it.
    st.repList.fitAllPeriod(st.saleList);
    // An older file saved unchanged stays byte for byte what it was.
    const bool withAccount = st.account.inFile || st.modified;
    if (withAccount)
        recordShares(st);
    const bool aside = st.saleList.recordSize() <= LEDGER_ASIDE_LIMIT;
    safeWriteFile(
        path, [&st, withAccount, aside](QIODevice& dev) { writeDatabase(dev, st, withAccount, aside); }, opt);
    st.dbVersion = DB_FORMAT_VERSION;
    st.account.inFile = withAccount && !st.account.isEmpty();
    st.modified = false;
    if (opt.keepBackupForever)
        st.damagedDbPath.clear();
}

LoadResult loadDB(const QString& path, AppState& st, Prompt& prompt)
{
    const QFileInfo info(path);
    if (!info.exists())
        return LoadResult::Missing;
    QFile file(path);
    QString why = notRegularFile(path);
    errno = 0;
    if (why.isEmpty() && !file.open(QIODevice::ReadOnly))
        why = deviceCause(file, errno);
    if (!why.isEmpty()) {
        throw AppError(QStringLiteral("Impossible d'ouvrir le fichier « %1 ». %2")
                           .arg(QDir::toNativeSeparators(path), why));
    }
    TReader r(file);
    bool trailing = false;
    try {
        st.dbVersion = r.readInteger();
        if (st.dbVersion < 1) {
            // Only an older program reads it: a save over it keeps it for good.
            st.damagedDbPath = info.absoluteFilePath();
            prompt.error(OLD_VERSION_MSG);
            return LoadResult::OldVersion;
        }
        if (st.dbVersion > DB_FORMAT_VERSION) {
            // Read as ours and saved as version 2, its newer data would be lost.
            st.damagedDbPath = info.absoluteFilePath();
            prompt.error(READ_ERROR_MSG + QStringLiteral(": ")
                         + NEWER_VERSION_MSG.arg(QString::number(st.dbVersion)));
            return LoadResult::NewerVersion;
        }
        // Each section reader empties its own list first.
        st.artList.readArtisans(r, st.dbVersion, st.totProdCount);
        st.saleList.readSales(r);
        st.repList.readReports(r);
        st.account.clear();
        if (!r.atEnd()) {
            trailing = !accountFollows(r);
            if (!trailing)
                readAccount(r, st);
        }
        trailing = trailing || !r.atEnd();
        if (trailing)
            r.fail(TRAILING_DATA_MSG);
        st.repList.fitAllPeriod(st.saleList);
    } catch (const AppError&) {
        // What was read so far stays; it no longer matches the file, which
        // must not be replaced without a lasting copy.
        st.modified = true;
        st.damagedDbPath = info.absoluteFilePath();
        prompt.error(trailing ? READ_ERROR_MSG + QStringLiteral(": ") + TRAILING_DATA_MSG : READ_ERROR_MSG);
        tellMended(r, st, prompt);
        return LoadResult::ReadError;
    }
    st.modified = false;
    if (samePath(path, st.damagedDbPath))
        st.damagedDbPath.clear();
    tellMended(r, st, prompt);
    if (const QString odd = firstOddCharacter(st); !odd.isEmpty())
        prompt.information(odd + QStringLiteral(" Les rapports le montrent comme « \uFFFD » ; corrigez ce texte."));
    return LoadResult::Loaded;
}

bool startsAsDatabase(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    try {
        TReader r(file);
        const int version = r.readInteger();
        if (version < 1 || version > DB_FORMAT_VERSION)
            return false;
        r.readListBegin();
        if (!r.endOfList()) {
            TArtisan a;
            a.setArtRecord(r.readString());
            return a.storeProblem().isEmpty();
        }
        r.readListEnd();
        r.readListBegin();
        if (r.endOfList())
            return false;
        TSaleItem sheet;
        sheet.setRecord(r.readString());
        return sheet.storeProblem().isEmpty();
    } catch (const AppError&) {
        return false;
    }
}
