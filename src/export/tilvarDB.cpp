#include "export/tilvarDB.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "export/artListXML.h"

#include <QDir>

using namespace Qt::StringLiterals;

TtilvarDB::TtilvarDB(AppState& st)
    : artColumns(readCommaList(ART_COLUMNS)), prodColumns(readCommaList(PROD_COLUMNS))
{
    st.curArtNo = u"001"_s;
    st.curItem = u"001"_s;
}

QString TtilvarDB::todayStr()
{
    return ::todayStr();
}

QString TtilvarDB::writeArtListFile(const TArtList& list, const QString& dataDir,
                                    const QString& fileName, const SafeWriteOptions& write)
{
    const QString path = QDir(dataDir).filePath(fileName);
    writeArtListXML(list, path, Contacts::Kept, write);
    return path;
}
