// The program's writes beside the database (exports, published pages, the
// settings file) never replace the open database, whatever link leads there.

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "boutique/settings.h"
#include "export/reportDocs.h"
#include "report/publish.h"
#include "support/modelErrors.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

class TstOutputInputs : public QObject {
    Q_OBJECT

private slots:
    void linkToOpenDatabaseRefused()
    {
        // The file each write makes, turned into a link to the open database.
        const QList<std::pair<QString, std::function<void(AppState&)>>> cases{
            {u"data/artList.xml"_s, [](AppState& st) { publish::publishPages(st, u"100000"_s, -1); }},
            {u"data/artList.html"_s, [](AppState& st) { publish::publishPages(st, u"100000"_s, -1); }},
            {u"data/inventaire.html"_s, [](AppState& st) { publish::publishPages(st, u"000100"_s, -1); }},
            {u"data/allSales.xml"_s, [](AppState& st) { writeSalesDocs(st); }},
            {u"data/periodSales.xml"_s, [](AppState& st) { writeSalesDocs(st); }},
            {u"tilvarDB.ini"_s, [](AppState& st) { writeSettings(st.iniPath, st); }},
        };
        for (const auto& [name, write] : cases) {
            QTemporaryDir tmp;
            AppState st;
            QVERIFY(useProgramFolder(st, tmp.path()));
            fillSampleDatabase(st, 2, 2, 1);
            st.curFilePath = st.dataDir + u"boutique.tlvdb"_s;
            saveDB(st.curFilePath, st, nullptr, false);
            const QByteArray db = readFileBytes(st.curFilePath);
            const QString link = tmp.filePath(name);
            QCOMPARE(::symlink(QFile::encodeName(st.curFilePath).constData(), QFile::encodeName(link).constData()), 0);
            QVERIFY2(!errorOf([&] { write(st); }).isEmpty(), qPrintable(name));
            QVERIFY2(readFileBytes(st.curFilePath) == db, qPrintable(name));
            QVERIFY2(QFileInfo(link).isSymLink(), qPrintable(name));
        }
    }

    // The period's pages only for a period, and only those chosen.
    void pagesOfAPeriod()
    {
        QTemporaryDir tmp;
        AppState st;
        QVERIFY(useProgramFolder(st, tmp.path()));
        st.repList.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
        const auto written = [&](const QString& prefs, int p) {
            const QStringList w = publish::publishPages(st, prefs, p);
            return QList<bool>{w.contains(st.dataDir + publish::SALES_PAGE), w.contains(st.dataDir + publish::SUMMARY_PAGE + u".pdf"_s)};
        };
        for (const int none : {-1, 1})
            QCOMPARE(written(u"111111"_s, none), (QList<bool>{false, false}));
        QCOMPARE(written(u"110000"_s, 0), (QList<bool>{true, false}));
        QCOMPARE(written(u"101000"_s, 0), (QList<bool>{false, true}));
    }
};

QTEST_MAIN(TstOutputInputs)
#include "tst_outputInputs.moc"
