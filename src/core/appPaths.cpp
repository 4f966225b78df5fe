#include "core/appPaths.h"

#include "core/appState.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {
QString withSlash(const QString& dir)
{
    QString d = QDir::cleanPath(QDir(dir).absolutePath());
    return d.endsWith(u'/') ? d : d + u'/';
}

// The same folder for the program and for tlvdb, whatever the running
// program's own name.
QString userFolder(QStandardPaths::StandardLocation where)
{
    return withSlash(QStandardPaths::writableLocation(where) + u"/TilvarBD"_s);
}
} // namespace

QString appCaptionText()
{
    return QStringLiteral("tilvarDB") + QLatin1Char(' ') + QStringLiteral("version 0.8.5 ")
           + QLatin1Char(' ') + QStringLiteral(" 09.05.18");
}

QString appLicenceText()
{
    return u"Logiciel libre sous licence GNU GPL, version 3 ou ultérieure (GPL-3.0-or-later)."_s;
}

bool programFolderKeepsData(const QString& progDir)
{
    const QFileInfo info(progDir);
    const QString dir = withSlash(info.canonicalFilePath().isEmpty() ? progDir : info.canonicalFilePath());
    return info.isDir() && info.isWritable() && !dir.startsWith(u"/usr/"_s);
}

void setupStartPaths(AppState& st, const QString& progDir, const QDate& today)
{
    st.appCaption = appCaptionText();
    const bool beside = programFolderKeepsData(progDir);
    const QString dir = beside ? withSlash(progDir) : userFolder(QStandardPaths::GenericDataLocation);
    st.progDir = dir;
    st.dataDir = dir + QStringLiteral("data/");
    st.xmlDir = dir + QStringLiteral("dXML/");
    st.iniPath = (beside ? dir : userFolder(QStandardPaths::GenericConfigLocation)) + QStringLiteral("tilvarDB")
                 + QStringLiteral(".ini");
    st.userFolders = !beside;
    st.defaultFileName = QStringLiteral("bArtisan") + today.toString(QStringLiteral("yy"));
    st.curFilePath.clear();
}

QString dataFolderText(const AppState& st)
{
    return u"Dossier des données : "_s + QDir::toNativeSeparators(st.dataDir)
           + (st.userFolders ? u" (dossier de l'utilisateur ; réglages : "_s
                                   + QDir::toNativeSeparators(st.iniPath) + u")"_s
                             : u" (à côté du programme)"_s);
}

bool ensureFolders(const AppState& st)
{
    bool ok = true;
    for (const QString& d : {st.dataDir, st.xmlDir})
        ok = QDir().mkpath(d) && ok;
    // The settings file's folder, when it is the user's configuration folder.
    return QDir().mkpath(QFileInfo(st.iniPath).absolutePath()) && ok;
}
