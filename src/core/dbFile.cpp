#include "core/dbFile.h"

#include "core/appError.h"
#include "core/appState.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/valueStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool samePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty()
        && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

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

void saveDB(const QString& path, AppState& st, const WriteFaults* faults, bool keepBackup)
{
    SafeWriteOptions opt = dbWriteOptions(st, path);
    opt.faults = faults;
    if (!keepBackup)
        opt.backupDir.clear();
    safeWriteFile(
        path,
        [&st](QIODevice& dev) {
            TWriter w(dev);
            w.writeInteger(DB_FORMAT_VERSION);
            st.artList.writeArtisans(w);
            st.saleList.writeSales(w);
            st.repList.writeReports(w);
            w.flush();
        },
        opt);
    st.dbVersion = DB_FORMAT_VERSION;
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
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString why = info.isDir() ? QStringLiteral("Is a directory") : file.errorString();
        throw AppError(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), why));
    }
    TReader r(file);
    try {
        st.dbVersion = r.readInteger();
        if (st.dbVersion < 1) {
            // Only an older program reads it: a save over it keeps it for good.
            st.damagedDbPath = info.absoluteFilePath();
            prompt.error(OLD_VERSION_MSG);
            return LoadResult::OldVersion;
        }
        // Each section reader empties its own list first.
        st.artList.readArtisans(r, st.dbVersion, st.totProdCount);
        st.saleList.readSales(r);
        st.repList.readReports(r);
    } catch (const AppError&) {
        // What was read so far stays; it no longer matches the file, which
        // must not be replaced without a lasting copy.
        st.modified = true;
        st.damagedDbPath = info.absoluteFilePath();
        prompt.error(READ_ERROR_MSG);
        return LoadResult::ReadError;
    }
    st.modified = false;
    if (samePath(path, st.damagedDbPath))
        st.damagedDbPath.clear();
    return LoadResult::Loaded;
}
