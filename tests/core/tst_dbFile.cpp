// The database file: its exact bytes, the version gate, the loader's messages,
// damaged files, and saves that never destroy the previous file.

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "core/safeWrite.h"
#include "support/fakePrompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TstDbFile : public QObject {
    Q_OBJECT

private slots:
    void emptyDatabaseBytes();
    void goldenFiles();
    void missingFileChangesNothing();
    void oldVersionLoadsNothing();
    void cutAtEveryByte();
    void damagedFilesNeverCrash();
    void openFailureRaises();
    void failedSaveKeepsOldFile();
    void safeWriteReplacesWhole();

private:
    QTemporaryDir m_dir;
};

void TstDbFile::emptyDatabaseBytes()
{
    AppState st;
    st.dbVersion = 1;
    st.modified = true;
    const QString path = m_dir.filePath(u"vide.tlvdb"_s);
    saveDB(path, st);
    QCOMPARE(readAll(path).toHex(), QByteArray("0202" "0100" "0100" "02ff0100"));
    QCOMPARE(st.dbVersion, DB_FORMAT_VERSION);
    QVERIFY(!st.modified);

    AppState back;
    FakePrompt prompt;
    QCOMPARE(loadDB(path, back, prompt), LoadResult::Loaded);
    QCOMPARE(back.dbVersion, 2);
    QCOMPARE(back.repList.curPeriod, -1);
    QVERIFY(prompt.all.isEmpty());
}

void TstDbFile::goldenFiles()
{
    const QString dir = QStringLiteral(TILVAR_TEST_DATA);
    AppState st;
    FakePrompt prompt;
    QCOMPARE(loadDB(dir + u"/db-empty.tlvdb"_s, st, prompt), LoadResult::Loaded);
    const QString path = m_dir.filePath(u"resaved.tlvdb"_s);
    saveDB(path, st);
    QCOMPARE(readAll(path), readAll(dir + u"/db-empty.tlvdb"_s));

    QCOMPARE(loadDB(dir + u"/db-version0.tlvdb"_s, st, prompt), LoadResult::OldVersion);
    QCOMPARE(prompt.errors.size(), 1);
    QCOMPARE(st.dbVersion, 0);
}

void TstDbFile::missingFileChangesNothing()
{
    AppState st;
    st.dbVersion = 7;
    st.repList.curPeriod = 3;
    FakePrompt prompt;
    QCOMPARE(loadDB(m_dir.filePath(u"absent.tlvdb"_s), st, prompt), LoadResult::Missing);
    QCOMPARE(st.dbVersion, 7);
    QCOMPARE(st.repList.curPeriod, 3);
    QVERIFY(prompt.all.isEmpty());
}

void TstDbFile::oldVersionLoadsNothing()
{
    for (const char* h : {"0200", "02ff", "0400000080"}) {
        const QString path = m_dir.filePath(u"old.tlvdb"_s);
        writeBytes(path, QByteArray::fromHex(h) + QByteArray::fromHex("0100010002050100"));
        AppState st;
        st.repList.curPeriod = 9;
        FakePrompt prompt;
        QCOMPARE(loadDB(path, st, prompt), LoadResult::OldVersion);
        QCOMPARE(prompt.errors,
                 QStringList{u"Cette version n'est plus supportée... tentez d'enregistrer d'abord avec la version 1.4 "_s});
        QCOMPARE(st.repList.curPeriod, 9);
    }
}

void TstDbFile::cutAtEveryByte()
{
    AppState st;
    st.repList.curPeriod = 300;
    const QString full = m_dir.filePath(u"full.tlvdb"_s);
    saveDB(full, st);
    const QByteArray bytes = readAll(full);
    QVERIFY(bytes.size() > 8);
    const QString cut = m_dir.filePath(u"cut.tlvdb"_s);
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        writeBytes(cut, bytes.left(n));
        AppState back;
        FakePrompt prompt;
        QCOMPARE(loadDB(cut, back, prompt), LoadResult::ReadError);
        QCOMPARE(prompt.errors, QStringList{u"Error reading file"_s});
    }
}

void TstDbFile::damagedFilesNeverCrash()
{
    // Every single-byte change of a valid file either loads or reports one
    // of the loader's two messages.
    AppState st;
    const QString full = m_dir.filePath(u"full.tlvdb"_s);
    saveDB(full, st);
    const QByteArray bytes = readAll(full) + QByteArray::fromHex("0CFFFFFF7F");
    const QString bad = m_dir.filePath(u"bad.tlvdb"_s);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        for (int v : {0x00, 0x01, 0x06, 0x0C, 0x12, 0x14, 0x7F, 0xFF}) {
            QByteArray b = bytes;
            b[i] = char(v);
            writeBytes(bad, b);
            AppState back;
            FakePrompt prompt;
            const LoadResult r = loadDB(bad, back, prompt);
            QVERIFY(r != LoadResult::Missing);
            QVERIFY(prompt.errors.size() <= 1);
        }
    }
}

void TstDbFile::openFailureRaises()
{
    AppState st;
    FakePrompt prompt;
    QVERIFY_THROWS_EXCEPTION(AppError, loadDB(m_dir.path(), st, prompt));
    QVERIFY(prompt.all.isEmpty());
}

void TstDbFile::failedSaveKeepsOldFile()
{
    AppState st;
    // The folder of the file is itself a file: creating fails even for root.
    const QString blocker = m_dir.filePath(u"blocker"_s);
    writeBytes(blocker, "x");
    st.modified = true;
    try {
        saveDB(blocker + u"/db.tlvdb"_s, st);
        QFAIL("save succeeded");
    } catch (const AppError& e) {
        QVERIFY2(e.message().contains(u"db.tlvdb"_s), qPrintable(e.message()));
    }
    QVERIFY(st.modified);
    QCOMPARE(readAll(blocker), QByteArray("x"));
}

void TstDbFile::safeWriteReplacesWhole()
{
    const QString path = m_dir.filePath(u"doc.xml"_s);
    safeWriteFile(path, QByteArray("first"));
    QCOMPARE(readAll(path), QByteArray("first"));
    try {
        safeWriteFile(path, [](QIODevice& dev) {
            dev.write("partial");
            throw AppError(u"disk on fire"_s);
        });
        QFAIL("no error");
    } catch (const AppError& e) {
        QVERIFY(e.message().contains(u"disk on fire"_s));
    }
    QCOMPARE(readAll(path), QByteArray("first"));
    safeWriteFile(path, QByteArray("second"));
    QCOMPARE(readAll(path), QByteArray("second"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"doc"_s),
             QStringList{u"doc.xml"_s});
}

QTEST_GUILESS_MAIN(TstDbFile)
#include "tst_dbFile.moc"
