// The database file: its exact bytes, the version gate, the loader's messages,
// and saves that never destroy the previous file.

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "core/safeWrite.h"
#include "support/fakePrompt.h"
#include "support/testFiles.h"

#include <QDir>
#include <QtEndian>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstDbFile : public QObject {
    Q_OBJECT

private slots:
    void emptyDatabaseBytes();
    void oldVersionLoadsNothing();
    void missingOrUnreadableChangesNothing();
    void failedSaveKeepsOldFile();
    void safeWriteReplacesWhole();
    void unstorableRecordIsReadError_data();
    void unstorableRecordIsReadError();
    void saveRefusesUnstorableText_data();
    void saveRefusesUnstorableText();

private:
    QTemporaryDir m_dir;
};

void TstDbFile::emptyDatabaseBytes()
{
    // Saved, the empty database is the reference file byte for byte, whatever
    // version it was read as; loaded back, it is the empty database again.
    const QString golden = QStringLiteral(TILVAR_TEST_DATA "/db-empty.tlvdb");
    AppState st;
    st.dbVersion = 1;
    st.modified = true;
    const QString path = m_dir.filePath(u"vide.tlvdb"_s);
    saveDB(path, st);
    QCOMPARE(readFileBytes(path).toHex(), QByteArray("0202" "0100" "0100" "02ff0100"));
    QCOMPARE(readFileBytes(path), readFileBytes(golden));
    QCOMPARE(st.dbVersion, DB_FORMAT_VERSION);
    QVERIFY(!st.modified);

    AppState back;
    back.repList.curPeriod = 5;
    FakePrompt prompt;
    QCOMPARE(loadDB(golden, back, prompt), LoadResult::Loaded);
    QCOMPARE(back.dbVersion, 2);
    QCOMPARE(back.repList.curPeriod, -1);
    QVERIFY(prompt.all.isEmpty());
}

void TstDbFile::oldVersionLoadsNothing()
{
    const QString old = QStringLiteral(TILVAR_TEST_DATA "/db-version0.tlvdb");
    const QString path = m_dir.filePath(u"old.tlvdb"_s);
    for (const QByteArray& bytes : {readFileBytes(old), QByteArray::fromHex("02ff0100010002050100"),
                                    QByteArray::fromHex("04000000800100010002050100")}) {
        QVERIFY(writeFileBytes(path, bytes));
        AppState st;
        st.repList.curPeriod = 9;
        FakePrompt prompt;
        QCOMPARE(loadDB(path, st, prompt), LoadResult::OldVersion);
        QCOMPARE(prompt.errors,
                 QStringList{u"Cette version n'est plus supportée... tentez d'enregistrer d'abord avec la version 1.4 "_s});
        QCOMPARE(st.repList.curPeriod, 9);
        QVERIFY(st.dbVersion < 1); // what was read, so a save keeps the old file for good
    }
}

void TstDbFile::missingOrUnreadableChangesNothing()
{
    AppState st;
    st.dbVersion = 7;
    st.repList.curPeriod = 3;
    FakePrompt prompt;
    QCOMPARE(loadDB(m_dir.filePath(u"absent.tlvdb"_s), st, prompt), LoadResult::Missing);
    QCOMPARE(st.dbVersion, 7);
    QCOMPARE(st.repList.curPeriod, 3);
    // A folder cannot be opened as a file: an error for the caller, not a message.
    QVERIFY_THROWS_EXCEPTION(AppError, loadDB(m_dir.path(), st, prompt));
    QVERIFY(prompt.all.isEmpty());
}

void TstDbFile::failedSaveKeepsOldFile()
{
    AppState st;
    // The folder of the file is itself a file: creating fails even for root.
    const QString blocker = m_dir.filePath(u"blocker"_s);
    QVERIFY(writeFileBytes(blocker, "x"));
    st.modified = true;
    try {
        saveDB(blocker + u"/db.tlvdb"_s, st);
        QFAIL("save succeeded");
    } catch (const AppError& e) {
        QVERIFY2(e.message().contains(u"db.tlvdb"_s), qPrintable(e.message()));
    }
    QVERIFY(st.modified);
    QCOMPARE(readFileBytes(blocker), QByteArray("x"));
}

void TstDbFile::safeWriteReplacesWhole()
{
    const QString path = m_dir.filePath(u"doc.xml"_s);
    safeWriteFile(path, QByteArray("first"));
    try {
        safeWriteFile(path, [](QIODevice& dev) {
            dev.write("partial");
            throw AppError(u"disk on fire"_s);
        });
        QFAIL("no error");
    } catch (const AppError& e) {
        QVERIFY(e.message().contains(u"disk on fire"_s));
    }
    QCOMPARE(readFileBytes(path), QByteArray("first"));
    safeWriteFile(path, QByteArray("second"));
    QCOMPARE(readFileBytes(path), QByteArray("second"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"doc"_s),
             QStringList{u"doc.xml"_s});
}

namespace {

QByteArray utf8Value(const QByteArray& bytes)
{
    QByteArray len(4, '\0');
    qToLittleEndian<qint32>(qint32(bytes.size()), len.data());
    return '\x14' + len + bytes;
}

// A database of at most one artisan, product, sheet and period (empty: none).
QByteArray oneOfEach(const QByteArray& art, const QByteArray& prod, const QByteArray& sale,
                     const QByteArray& rep)
{
    QByteArray b = QByteArray::fromHex("020201");
    if (!art.isEmpty())
        b += utf8Value(art) + '\x01' + (prod.isEmpty() ? QByteArray() : utf8Value(prod)) + '\0';
    b += QByteArray::fromHex("0001");
    if (!sale.isEmpty())
        b += sale.startsWith('\x12') ? sale : utf8Value(sale);
    b += QByteArray::fromHex("0002ff01");
    if (!rep.isEmpty())
        b += utf8Value(rep);
    return b + '\0';
}

const QByteArray ART = "001|:|Nom|:|Pre|:||:||:||:||:||:||:||:|";

} // namespace

void TstDbFile::unstorableRecordIsReadError_data()
{
    // What a save could not write back as it was read is refused on reading,
    // never changed silently on the next save.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::newRow("short product record") << oneOfEach(ART, "001:|:001:|:Vase", {}, {}) << true;
    QTest::newRow("short product ending like its separator")
        << oneOfEach(ART, "001:|:001:|:Vase:|", {}, {}) << false;
    QTest::newRow("short artisan ending like its separator")
        << oneOfEach("001|:|Nom|:", {}, {}, {}) << false;
    QTest::newRow("short sheet ending like its separator")
        << oneOfEach(ART, {}, "160101|:|Ana|:", {}) << false;
    QTest::newRow("short period ending like its separator")
        << oneOfEach(ART, {}, {}, "P|:") << false;
    QTest::newRow("invalid UTF-8") << oneOfEach(ART, {}, "160101|:|Marc-\xcandr\xc3\xa9|:|0.00$|:|", {})
                                   << false;
    QTest::newRow("lone surrogate")
        << oneOfEach(ART, {}, QByteArray::fromHex("120100000000d8"), {}) << false;
}

void TstDbFile::unstorableRecordIsReadError()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    const QString path = m_dir.filePath(u"records.tlvdb"_s);
    QVERIFY(writeFileBytes(path, bytes));
    AppState st;
    FakePrompt prompt;
    QCOMPARE(loadDB(path, st, prompt), loads ? LoadResult::Loaded : LoadResult::ReadError);
    QCOMPARE(prompt.errors, loads ? QStringList() : QStringList{READ_ERROR_MSG});
}

void TstDbFile::saveRefusesUnstorableText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::newRow("artisan") << 0 << u"a|:|b"_s << u"Artisan 001, champ « nom »"_s;
    QTest::newRow("product") << 1 << u"Vase:|"_s << u"Artisan 001, produit 001, champ « descript »"_s;
    QTest::newRow("sheet") << 2 << u"Ana|:"_s << u"Feuille 160101, champ « agent »"_s;
    QTest::newRow("period") << 3 << u"P|:|Q"_s << u"Période « P|:|Q », champ « title »"_s;
    QTest::newRow("lone surrogate") << 0 << QString(QChar(0xDC00)) << u"Artisan 001, champ « nom »"_s;
}

void TstDbFile::saveRefusesUnstorableText()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, named);
    AppState st;
    TArtisan& a = st.artList.append();
    a.artNo = u"001"_s;
    TProduit& p = a.products.append();
    p.artNo = p.prodNo = u"001"_s;
    auto sheet = std::make_unique<TSaleItem>();
    sheet->date = u"160101"_s;
    TSaleItem& s = *sheet;
    st.saleList.append(std::move(sheet));
    st.repList.addPeriod(u"P"_s, u"160101"_s, u"160102"_s);
    QString* target[] = {&a.nom, &p.descript, &s.agent, &st.repList.at(0).title};
    *target[kind] = text;
    const QString path = m_dir.filePath(u"refused.tlvdb"_s);
    QVERIFY(writeFileBytes(path, "old"));
    st.modified = true;
    try {
        saveDB(path, st);
        QFAIL("saved");
    } catch (const AppError& e) {
        QVERIFY2(e.message().contains(named + u" : "_s), qPrintable(e.message()));
    }
    QCOMPARE(readFileBytes(path), QByteArray("old"));
    QVERIFY(st.modified);
}

QTEST_GUILESS_MAIN(TstDbFile)
#include "tst_dbFile.moc"
