#include "core/dbFile.h"

#include "core/appError.h"
#include "core/appState.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/valueStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void saveDB(const QString& path, AppState& st)
{
    safeWriteFile(path, [&st](QIODevice& dev) {
        TWriter w(dev);
        w.writeInteger(DB_FORMAT_VERSION);
        st.artList.writeArtisans(w);
        st.saleList.writeSales(w);
        st.repList.writeReports(w);
        w.flush();
    });
    st.dbVersion = DB_FORMAT_VERSION;
    st.modified = false;
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
            prompt.error(OLD_VERSION_MSG);
            return LoadResult::OldVersion;
        }
        // Each section reader empties its own list first.
        st.artList.readArtisans(r, st.dbVersion, st.totProdCount);
        st.saleList.readSales(r);
        st.repList.readReports(r);
    } catch (const AppError&) {
        // What was read so far stays; it no longer matches the file.
        st.modified = true;
        prompt.error(READ_ERROR_MSG);
        return LoadResult::ReadError;
    }
    st.modified = false;
    return LoadResult::Loaded;
}
