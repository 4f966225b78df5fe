#include "seedData.h"

#include "boutiqueGen.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/iniFile.h"
#include "boutique/settings.h"
#include "core/textUtil.h"
#include "export/artListXML.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

BoutiqueScale tiny(unsigned seed)
{
    BoutiqueScale s;
    s.artisans = 3;
    s.productsPerArtisan = 3;
    s.receivedPerProduct = 2;
    s.days = 6;
    s.linesPerDay = 3;
    s.periods = 3;
    s.seed = seed;
    return s;
}

} // namespace

QMap<QString, QList<QByteArray>> seedData::all()
{
    QMap<QString, QList<QByteArray>> seeds;
    QTemporaryDir dir;

    // Database files: empty, and small boutiques.
    for (unsigned seed = 0; seed < 4; ++seed) {
        AppState st;
        if (seed > 0)
            generateBoutique(st, tiny(seed));
        const QString path = dir.filePath(QStringLiteral("seed.tlvdb"));
        saveDB(path, st);
        seeds[QStringLiteral("fuzz_loadDb")] << fileBytes(path);

        // The same boutique as records, artisan-list XML and settings.
        for (int a = 0; a < st.artList.count(); ++a) {
            TArtisan& art = st.artList.at(a);
            seeds[QStringLiteral("fuzz_records")] << art.artRecord().toUtf8();
            for (int p = 0; p < art.products.count(); ++p) {
                seeds[QStringLiteral("fuzz_records")] << art.products.at(p).prodRecord().toUtf8();
                seeds[QStringLiteral("fuzz_qntText")]
                    << art.products.at(p).soldList.qntText(2).toUtf8();
            }
        }
        for (int i = 0; i < st.saleList.count(); ++i) {
            seeds[QStringLiteral("fuzz_records")] << st.saleList.at(i).record().toUtf8();
            seeds[QStringLiteral("fuzz_commaList")] << st.saleList.at(i).lines.toUtf8();
        }
        for (int i = 0; i < st.repList.count(); ++i)
            seeds[QStringLiteral("fuzz_records")] << st.repList.at(i).record().toUtf8();
        seeds[QStringLiteral("fuzz_artListXml")] << artListXML(st.artList);

        st.sAgentList = writeCommaList({QStringLiteral("Préposé"), QStringLiteral("Marie Claire")});
        st.autoload = seed % 2;
        const QString ini = dir.filePath(QStringLiteral("seed.ini"));
        QFile::remove(ini);
        writeSettings(ini, st);
        seeds[QStringLiteral("fuzz_settings")] << fileBytes(ini);
    }
    seeds[QStringLiteral("fuzz_commaList")]
        << QByteArray("a,\"b c\",,\"d\"\"e\"") << QByteArray("\"\"") << QByteArray(" a b,c ");
    seeds[QStringLiteral("fuzz_qntText")] << QByteArray("0905183,0905012,090518-2");
    return seeds;
}
