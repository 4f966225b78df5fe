#include "report/shipped.h"

#include "core/appError.h"
#include "core/appState.h"
#include "core/safeWrite.h"
#include "export/reportDocs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace shipped {

QByteArray file(const QString& name)
{
    if (name != u"report.xsl"_s && name != u"xData.xsl"_s && name != u"index.htm"_s)
        return {};
    QFile f(u":/shipped/"_s + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList install(const AppState& st)
{
    const std::pair<QString, QString> places[] = {
        {st.xmlDir, u"report.xsl"_s}, {st.progDir, u"xData.xsl"_s}, {st.dataDir, u"index.htm"_s}};
    QStringList written;
    for (const auto& [dir, name] : places) {
        const QString path = QDir(dir).filePath(name);
        if (QFileInfo::exists(path))
            continue;
        makeFolder(dir);
        QByteArray bytes = file(name);
        // The start page names the boutique, as the pages it leads to do.
        bytes.replace("@BOUTIQUE@", st.shopName.toHtmlEscaped().toUtf8());
        safeWriteFile(path, bytes);
        written << path;
    }
    return written;
}

} // namespace shipped
