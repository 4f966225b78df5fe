#include "core/dbSummary.h"

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "core/prompt.h"

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
    if (result == LoadResult::Loaded) {
        s.state = DbSummary::State::Whole;
    } else if (result == LoadResult::OldVersion) {
        s.problem = OLD_VERSION_MSG.trimmed();
    } else if (s.artisans == 0 && s.sheets == 0) {
        s.problem = u"son contenu n'a pas la forme d'une base de données (aucun artisan lisible)"_s;
    } else {
        s.state = DbSummary::State::Partly;
        s.problem = u"lu en partie seulement (%1 artisans, %2 feuilles)"_s.arg(s.artisans).arg(s.sheets);
    }
    return s;
}

QString notDatabaseMessage(const QString& path, const QString& problem)
{
    return u"Le fichier "_s + QDir::toNativeSeparators(path) + u" n'est pas une base TilvarBD lisible : "_s
           + problem + u"."_s;
}
