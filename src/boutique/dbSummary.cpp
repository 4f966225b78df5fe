#include "boutique/dbSummary.h"

#include "core/appError.h"
#include "core/textUtil.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

DbSummary readDbSummary(const QString& path)
{
    DbSummary s;
    const QFileInfo info(path);
    if (!info.isFile()) {
        s.problem = info.exists() ? u"ce n'est pas un fichier"_s : u"le fichier n'existe pas"_s;
        return s;
    }
    if (info.size() == 0) {
        s.problem = u"le fichier est vide"_s;
        return s;
    }
    AppState scratch;
    CollectPrompt quiet;
    LoadResult result = LoadResult::ReadError;
    try {
        result = loadDB(path, scratch, quiet);
    } catch (const AppError& e) {
        s.problem = e.message();
        return s;
    }
    s.artisans = int(scratch.artList.count());
    s.sheets = int(scratch.saleList.count());
    for (int i = 0; i < s.sheets; ++i) {
        s.lines += int(scratch.saleList.saleLinesOf(i).size());
        s.lastSheet = qMax(s.lastSheet, scratch.saleList.at(i).date);
    }
    if (result == LoadResult::Loaded) {
        s.state = DbSummary::State::Whole;
    } else if (result == LoadResult::OldVersion) {
        s.problem = OLD_VERSION_MSG.trimmed();
    } else if (result == LoadResult::NewerVersion) {
        s.problem = u"il a été écrit par une version plus récente du programme (version %1)"_s.arg(scratch.dbVersion);
    } else if (s.artisans == 0 && s.sheets == 0) {
        s.problem = u"son contenu n'a pas la forme d'une base de données (aucun artisan lisible)"_s;
    } else {
        s.state = DbSummary::State::Partly;
        s.problem = u"lu en partie seulement (%1, %2)"_s.arg(countOf(s.artisans, u"artisan"_s, u"artisans"_s), countOf(s.sheets, u"feuille"_s, u"feuilles"_s));
    }
    return s;
}

QString dbOpenProblem(const QString& path)
{
    if (startsAsDatabase(path))
        return QString();
    const DbSummary s = readDbSummary(path);
    return s.state == DbSummary::State::Unreadable ? s.problem : QString();
}

QString notDatabaseMessage(const QString& path, const QString& problem)
{
    return u"Le fichier "_s + QDir::toNativeSeparators(path) + u" n'est pas une base TilvarBD lisible : "_s
           + problem + u"."_s;
}

QList<BackupEntry> databaseBackups(const QString& backupDir, const QString& fileName)
{
    QList<BackupEntry> out;
    const QList<BackupCopy> copies = listBackups(backupDir, fileName);
    for (auto it = copies.crbegin(); it != copies.crend(); ++it) {
        BackupEntry e;
        e.path = QDir(backupDir).filePath(it->name);
        e.when = it->stamp;
        e.size = QFileInfo(e.path).size();
        e.summary = readDbSummary(e.path);
        out << e;
    }
    return out;
}

void rememberRecent(QStringList& recent, const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    recent.removeAll(full);
    recent.prepend(full);
    while (recent.size() > 5)
        recent.removeLast();
}
