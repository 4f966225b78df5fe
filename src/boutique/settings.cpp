#include "boutique/settings.h"

#include "boutique/appState.h"
#include "core/iniFile.h"
#include "core/textUtil.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
const QString General = u"GENERAL"_s;
const QString Prefs = u"PREFS"_s;
} // namespace

QString defaultFileNameFor(const QDate& date)
{
    return u"bArtisan"_s + twoDigits(date.year());
}

void readSettings(const QString& path, AppState& st)
{
    const bool firstStart = !QFileInfo::exists(path);
    readSettings(TIniFile(path), st);
    // A first start opens again what the user saved: after "save, quit,
    // restart" the work is there. A settings file keeps its own choice.
    if (firstStart)
        st.autoload = true;
}

void readSettings(const TIniFile& ini, AppState& st)
{
    const QString defaultName = st.defaultFileName.isEmpty()
                                    ? defaultFileNameFor(QDate::currentDate())
                                    : st.defaultFileName;
    st.lastPeriodNo = ini.readString(General, u"lastPeriodNo"_s, QString());
    st.curArtNo = ini.readString(General, u"curArtNo"_s, u"001"_s);
    st.sAgentList = ini.readString(General, u"sAgentList"_s, QString());
    st.lastSAgent = ini.readString(General, u"lastSAgent"_s, QString());
    st.pDateStr = ini.readString(General, u"pDateStr"_s, QString());
    st.curCIndex = ini.readInteger(General, u"curCIndex"_s, -1);
    st.artFileName = ini.readString(Prefs, u"artFileName"_s, defaultName);
    st.importFName = ini.readString(Prefs, u"importFName"_s, QString());
    st.recentFiles = ini.readString(Prefs, u"recentFiles"_s, QString()).split(u'|', Qt::SkipEmptyParts);
    // Written as "autoLoad": names match whatever their case.
    st.autoload = ini.readBool(Prefs, u"autoload"_s, false);
    st.showSplash = ini.readBool(Prefs, u"showSplash"_s, true);
    st.saveSales = ini.readBool(Prefs, u"saveSales"_s, true);
    st.adminMode = ini.readBool(Prefs, u"adminMode"_s, true);
    st.wLeft = ini.readInteger(Prefs, u"wLeft"_s, 0);
    st.wTop = ini.readInteger(Prefs, u"wTop"_s, 0);
    st.wWidth = ini.readInteger(Prefs, u"wWidth"_s, 830);
    st.wHeight = ini.readInteger(Prefs, u"wHeight"_s, 655);
    st.lastTab = ini.readInteger(Prefs, u"lastTab"_s, 0);
    st.pubPrefs = ini.readString(Prefs, u"pubPrefs"_s, u"00001"_s);
    st.shopName = ini.readString(Prefs, u"shopName"_s, u"Tilvar"_s);
    // One INI value per key: the address lines are kept apart by "|".
    st.shopAddress = ini.readString(Prefs, u"shopAddress"_s, QString()).split(u'|').join(u'\n');
    const int share = ini.readInteger(Prefs, u"artSharePercent"_s, 0);
    st.artSharePercent = share >= 0 && share <= 100 ? share : 0;
    const auto minimum = Money::tryParse(ini.readString(Prefs, u"payoutMinimum"_s, u"1.00"_s));
    st.payoutMinimum = minimum && *minimum >= Money() && *minimum <= Money::fromUnits(10'000 * Money::Scale)
                           ? *minimum
                           : Money::fromUnits(Money::Scale);
    st.lastCopy = ini.readString(Prefs, u"lastCopy"_s, QString());
}

void writeSettings(const QString& path, const AppState& st)
{
    TIniFile ini(path);
    writeSettings(ini, st);
}

void writeSettings(TIniFile& ini, const AppState& st)
{
    if (!st.curFilePath.isEmpty())
        ini.setInputs({st.curFilePath});
    ini.writeString(General, u"lastPeriodNo"_s, st.lastPeriodNo);
    ini.writeString(General, u"curArtNo"_s, st.curArtNo);
    ini.writeString(General, u"sAgentList"_s, st.sAgentList);
    ini.writeString(General, u"lastSAgent"_s, st.lastSAgent);
    ini.writeString(General, u"pDateStr"_s, st.pDateStr);
    ini.writeInteger(General, u"curCIndex"_s, st.curCIndex);
    ini.writeString(Prefs, u"artFileName"_s, st.artFileName);
    ini.writeString(Prefs, u"importFName"_s, st.importFName);
    ini.writeBool(Prefs, u"autoLoad"_s, st.autoload);
    ini.writeBool(Prefs, u"showSplash"_s, st.showSplash);
    ini.writeBool(Prefs, u"saveSales"_s, st.saveSales);
    ini.writeBool(Prefs, u"adminMode"_s, st.adminMode);
    ini.writeInteger(Prefs, u"wLeft"_s, st.wLeft);
    ini.writeInteger(Prefs, u"wTop"_s, st.wTop);
    ini.writeInteger(Prefs, u"wWidth"_s, st.wWidth);
    ini.writeInteger(Prefs, u"wHeight"_s, st.wHeight);
    ini.writeInteger(Prefs, u"lastTab"_s, st.lastTab);
    ini.writeString(Prefs, u"pubPrefs"_s, st.pubPrefs);
    ini.writeString(Prefs, u"shopName"_s, st.shopName);
    QString address = st.shopAddress;
    ini.writeString(Prefs, u"shopAddress"_s, address.replace(u'\n', u'|'));
    ini.writeInteger(Prefs, u"artSharePercent"_s, st.artSharePercent);
    ini.writeString(Prefs, u"payoutMinimum"_s, st.payoutMinimum.plain());
    ini.writeString(Prefs, u"lastCopy"_s, st.lastCopy);
    ini.writeString(Prefs, u"recentFiles"_s, st.recentFiles.join(u'|')); // "|": no path holds it
}
