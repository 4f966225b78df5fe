#include "core/dbCopy.h"

#include "core/appError.h"
#include "core/backupCopies.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

void copyOne(const QString& from, const QString& to)
{
    // QFile::copy never replaces: the folder is new, so nothing is there.
    if (!QFile::copy(from, to))
        throw AppError(u"Impossible de copier %1 vers %2."_s.arg(QDir::toNativeSeparators(from),
                                                                 QDir::toNativeSeparators(to)));
}

} // namespace

QString copyDatabaseTo(const QString& dbPath, const QString& backupDir, const QString& destDir, int backups,
                       const QDateTime& now)
{
    const QFileInfo db(dbPath);
    if (!db.isFile())
        throw AppError(u"La base %1 n'est pas encore enregistrée : rien à copier."_s.arg(db.fileName()));
    const QDir dest(destDir);
    if (!dest.exists())
        throw AppError(u"Le dossier %1 n'existe pas."_s.arg(QDir::toNativeSeparators(destDir)));
    const QString base = db.completeBaseName() + u' ' + now.toString(u"yyyy-MM-dd HHmm"_s);
    QString folder = dest.filePath(base);
    // mkdir fails on a folder already there: each copy gets one of its own.
    for (int n = 2; !dest.mkdir(QFileInfo(folder).fileName()); ++n) {
        if (n > 99)
            throw AppError(u"Impossible de créer un dossier dans %1."_s.arg(QDir::toNativeSeparators(destDir)));
        folder = dest.filePath(base + u" (%1)"_s.arg(n));
    }
    copyOne(dbPath, QDir(folder).filePath(db.fileName()));
    const QStringList kept = backupCopies(backupDir, db.fileName());
    if (backups > 0 && !kept.isEmpty()) {
        const QDir copies(QDir(folder).filePath(u"backup"_s));
        if (!QDir().mkpath(copies.path()))
            throw AppError(u"Impossible de créer le dossier %1."_s.arg(QDir::toNativeSeparators(copies.path())));
        for (qsizetype i = qMax<qsizetype>(0, kept.size() - backups); i < kept.size(); ++i)
            copyOne(QDir(backupDir).filePath(kept.at(i)), copies.filePath(kept.at(i)));
    }
    return folder;
}

bool copyIsDue(const QString& lastCopy, const QDate& today)
{
    const QDate last = QDate::fromString(lastCopy, Qt::ISODate);
    return !last.isValid() || last.daysTo(today) > CopyReminderDays;
}
