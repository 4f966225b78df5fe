// The database file: its exact bytes, the version gate, the loader's messages,
// and saves that never destroy the previous file.

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "core/safeWrite.h"
#include "support/fakePrompt.h"
#include "support/testFiles.h"

#include <QDir>
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

QTEST_GUILESS_MAIN(TstDbFile)
#include "tst_dbFile.moc"
