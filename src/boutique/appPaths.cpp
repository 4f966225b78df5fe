#include "boutique/appPaths.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "core/iniFile.h"
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

// The folder holding data/ and dXML/ (and the program's style sheet).
void useFolder(AppState& st, const QString& dir)
{
    st.progDir = withSlash(dir);
    st.dataDir = st.progDir + u"data/"_s;
    st.xmlDir = st.progDir + u"dXML/"_s;
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
    // A folder chosen at an earlier start, because this one could not be
    // used, serves again (the program and tlvdb alike).
    const QString chosen = TIniFile(st.iniPath).readString(u"PREFS"_s, DATA_FOLDER_KEY, QString());
    if (!chosen.isEmpty() && QDir::isAbsolutePath(chosen))
        useFolder(st, chosen);
    st.defaultFileName = QStringLiteral("bArtisan") + today.toString(QStringLiteral("yy"));
    st.curFilePath.clear();
}

QString dataFolderText(const AppState& st)
{
    const QString chosen = TIniFile(st.iniPath).readString(u"PREFS"_s, DATA_FOLDER_KEY, QString());
    if (!chosen.isEmpty() && withSlash(chosen) == st.progDir)
        return u"Dossier des données : "_s + QDir::toNativeSeparators(st.dataDir) + u" (choisi au démarrage ; réglages : "_s
               + QDir::toNativeSeparators(st.iniPath) + u")"_s;
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
    for (bool chose = false;; chose = true) {
        const QString problem = dataFolderProblem(st);
        if (problem.isEmpty()) {
            if (chose)
                rememberDataFolder(st, prompt);
            return true;
        }
        if (prompt.question(problem + u"\nRien ne pourra y être enregistré. Choisir un autre dossier pour les "
                                      u"fichiers de la boutique ?"_s)
            != Prompt::Answer::Yes)
            return false;
        const QString chosen = prompt.folderName(u"Dossier des fichiers de la boutique"_s, QDir::homePath());
        if (chosen.isEmpty())
            return false;
        useFolder(st, chosen);
    }
}

void rememberDataFolder(const AppState& st, Prompt& prompt)
{
    try {
        // Only this key is written: every other line of the file stays as it is.
        TIniFile ini(st.iniPath);
        ini.writeString(u"PREFS"_s, DATA_FOLDER_KEY, st.progDir);
    } catch (const AppError&) {
        prompt.error(u"Le dossier « %1 » sert pour cette fois, mais il n'a pas pu être retenu dans le fichier "
                     u"des réglages « %2 » : il sera demandé de nouveau au prochain démarrage."_s
                         .arg(QDir::toNativeSeparators(st.progDir), QDir::toNativeSeparators(st.iniPath)));
    }
}
