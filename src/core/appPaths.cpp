#include "core/appPaths.h"

#include "core/appState.h"
#include "core/prompt.h"
#include "core/sysCause.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <unistd.h>

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

QString dataFolderProblem(const AppState& st)
{
    for (const QString& d : {st.dataDir, st.xmlDir}) {
        const QString shown = QDir::toNativeSeparators(d);
        if (!QDir().mkpath(d) || !QFileInfo(d).isDir())
            return u"Le dossier des données « %1 » ne peut pas être créé."_s.arg(shown);
        if (::access(QFile::encodeName(d).constData(), W_OK | X_OK) != 0)
            return u"Le dossier des données « %1 » ne peut pas être écrit (%2)."_s.arg(shown, systemCause(errno));
    }
    return {};
}

bool checkDataFolder(AppState& st, Prompt& prompt)
{
    ensureFolders(st);
    for (;;) {
        const QString problem = dataFolderProblem(st);
        if (problem.isEmpty())
            return true;
        if (prompt.question(problem + u"\nRien ne pourra y être enregistré. Choisir un autre dossier pour les "
                                      u"fichiers de la boutique ?"_s)
            != Prompt::Answer::Yes)
            return false;
        const QString chosen = prompt.folderName(u"Dossier des fichiers de la boutique"_s, QDir::homePath());
        if (chosen.isEmpty())
            return false;
        st.progDir = withSlash(chosen);
        st.dataDir = st.progDir + u"data/"_s;
        st.xmlDir = st.progDir + u"dXML/"_s;
    }
}
