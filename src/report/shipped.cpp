#include "report/shipped.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/safeWrite.h"
#include "export/reportDocs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace shipped {

QByteArray file(const QString& name)
{
    if (name != u"report.xsl"_s && name != u"xData.xsl"_s && name != u"index.htm"_s)
        return {};
    QFile f(u":/shipped/"_s + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {

// SHA-256 of the copies earlier versions installed: a file still holding one
// of them is ours, never edited, and takes the current one.
bool earlierCopy(const QString& name, const QByteArray& bytes)
{
    static const char* const reportXsl[] = {
        "b335a73a09954a293ea5af812f6ebebde0e8463157d6038044fb8fed5f70d92a", // its total read "Total dû"
    };
    if (name != u"report.xsl"_s)
        return false;
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    return std::any_of(std::begin(reportXsl), std::end(reportXsl), [&hash](const char* h) { return hash == h; });
}

} // namespace

QStringList install(const AppState& st, QStringList* kept)
{
    const std::pair<QString, QString> places[] = {
        {st.xmlDir, u"report.xsl"_s}, {st.progDir, u"xData.xsl"_s}, {st.dataDir, u"index.htm"_s}};
    QStringList written;
    for (const auto& [dir, name] : places) {
        const QString path = QDir(dir).filePath(name);
        QByteArray bytes = file(name);
        if (QFileInfo::exists(path)) {
            QFile old(path);
            const QByteArray was = old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray();
            if (!earlierCopy(name, was)) {
                if (kept && name == u"report.xsl"_s && was != bytes)
                    *kept << path;
                continue;
            }
        }
        makeFolder(dir);
        // The start page names the boutique, as the pages it leads to do.
        bytes.replace("@BOUTIQUE@", st.shopName.toHtmlEscaped().toUtf8());
        safeWriteFile(path, bytes, outputOptions(st));
        written << path;
    }
    return written;
}

QString keptNotice(const QStringList& paths)
{
    QStringList shown;
    for (const QString& p : paths)
        shown << QDir::toNativeSeparators(p);
    return u"La feuille de style %1 a été modifiée sur cet ordinateur : elle est conservée telle quelle. "
           "Les pages qu'elle produit n'ont donc pas les dernières corrections du programme (le total des ventes "
           "y était nommé « Total dû »). Pour les avoir, supprimez ce fichier : le programme en remettra une "
           "copie à jour."_s.arg(shown.join(u", "_s));
}

} // namespace shipped
