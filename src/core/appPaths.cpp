#include "core/appPaths.h"

#include "core/appState.h"

#include <QDir>

QString appCaptionText()
{
    return QStringLiteral("tilvarDB") + QLatin1Char(' ') + QStringLiteral("version 0.8.5 ")
           + QLatin1Char(' ') + QStringLiteral(" 09.05.18");
}

void setupStartPaths(AppState& st, const QString& progDir, const QDate& today)
{
    st.appCaption = appCaptionText();
    QString dir = QDir::cleanPath(QDir(progDir).absolutePath());
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    st.progDir = dir;
    st.dataDir = dir + QStringLiteral("data/");
    st.xmlDir = dir + QStringLiteral("dXML/");
    st.iniPath = dir + QStringLiteral("tilvarDB") + QStringLiteral(".ini");
    st.defaultFileName = QStringLiteral("bArtisan") + today.toString(QStringLiteral("yy"));
    st.curFilePath.clear();
}

bool ensureFolders(const AppState& st)
{
    bool ok = true;
    for (const QString& d : {st.dataDir, st.xmlDir})
        ok = QDir().mkpath(d) && ok;
    return ok;
}
