// The database file: the reference bytes, the version gate, the loader's
// messages; saves under an injected fault at every write, the flush, the
// replace and the folder sync; dated backups, rotated, and kept for good for a
// file that did not load. (Faults a child process suffers, and a save killed
// at random, are in tst_saveFaults.)

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "core/safeWrite.h"
#include "core/valueStream.h"
#include "support/fakePrompt.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString& DB_NAME = TEST_DB_NAME;
} // namespace

class TstDbFile : public QObject {
    Q_OBJECT

private slots:
    void emptyDatabaseBytes()
    {
        // Saved, the empty database is the reference file byte for byte, whatever
        // version it was read as; loaded back, it is the empty database again.
        QTemporaryDir dir;
        const QString golden = QStringLiteral(TILVAR_TEST_DATA "/db-empty.tlvdb");
        AppState st;
        st.dbVersion = 1;
        st.modified = true;
        const QString path = dir.filePath(u"vide.tlvdb"_s);
        saveDB(path, st);
        QCOMPARE(readFileBytes(path), readFileBytes(golden));
        QVERIFY(st.dbVersion == DB_FORMAT_VERSION && !st.modified);

        AppState back;
        back.repList.curPeriod = 5;
        FakePrompt prompt;
        QCOMPARE(loadDB(golden, back, prompt), LoadResult::Loaded);
        QVERIFY(back.dbVersion == 2 && back.repList.curPeriod == -1 && prompt.all.isEmpty());
    }

    void loadRefusals()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"old.tlvdb"_s);
        for (const QByteArray& bytes : {readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/db-version0.tlvdb")),
                                        QByteArray::fromHex("02ff0100010002050100"),
                                        QByteArray::fromHex("04000000800100010002050100")}) {
            QVERIFY(writeFileBytes(path, bytes));
            AppState st;
            st.repList.curPeriod = 9;
            FakePrompt prompt;
            QCOMPARE(loadDB(path, st, prompt), LoadResult::OldVersion);
            QCOMPARE(prompt.errors, QStringList{OLD_VERSION_MSG});
            // Nothing loaded; the version read kept, so a save keeps the old file for good.
            QVERIFY(st.repList.curPeriod == 9 && st.dbVersion < 1);
        }
        AppState st;
        st.dbVersion = 7;
        FakePrompt prompt;
        QCOMPARE(loadDB(dir.filePath(u"absent.tlvdb"_s), st, prompt), LoadResult::Missing);
        QCOMPARE(st.dbVersion, 7);
        // A folder cannot be opened as a file: an error for the caller, not a message.
        QVERIFY_THROWS_EXCEPTION(AppError, loadDB(dir.path(), st, prompt));
        QVERIFY(prompt.all.isEmpty());
    }

    void everyInjectedFaultIsHarmless()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(DB_NAME);
        AppState st;
        st.dataDir = dir.path();
        fillSampleDatabase(st, 10, 20, 1);
        saveDB(path, st);
        const QByteArray old = readFileBytes(path);

        AppState next;
        next.dataDir = dir.path();
        fillSampleDatabase(next, 10, 20, 2);
        const QByteArray fresh = savedBytes(next);
        QVERIFY(fresh.size() > 5 * TFiler::BufferSize);
        next.modified = true;
        // The error of a save with faults f; empty when it succeeded.
        auto trySave = [&](const WriteFaults& f) {
            try {
                saveDB(path, next, &f);
            } catch (const AppError& e) {
                return e.message();
            }
            return QString();
        };
        int k = 1;
        for (;; ++k) {
            WriteFaults f;
            f.failWrite = k;
            const QString error = trySave(f);
            if (error.isEmpty())
                break;
            QVERIFY2(error.contains(DB_NAME) && error.contains(u"write %1"_s.arg(k)), qPrintable(error));
            QCOMPARE(readFileBytes(path), old);
            QVERIFY(next.modified && k < 1000);
            QCOMPARE(strayFiles(dir.path()), QStringList());
            QCOMPARE(backupCopies(backupDir(next, path), DB_NAME).size(), 0);
        }
        QCOMPARE(k - 1, int((fresh.size() + TFiler::BufferSize - 1) / TFiler::BufferSize));
        QCOMPARE(readFileBytes(path), fresh);
        QVERIFY(!next.modified);

        // From here the file holds the new version; the faults must keep it.
        next.modified = true;
        for (const char* stage : {"flush", "replace"}) {
            WriteFaults f;
            (qstrcmp(stage, "flush") == 0 ? f.failFlush : f.failReplace) = true;
            const QString error = trySave(f);
            QVERIFY2(error.contains(QLatin1String(stage)), qPrintable(error));
            QCOMPARE(readFileBytes(path), fresh);
            QVERIFY(next.modified);
        }
        QCOMPARE(strayFiles(dir.path()), QStringList());
        QCOMPARE(backupCopies(backupDir(next, path), DB_NAME).size(), 1);
        // A failed folder sync: the new file is in place but may not survive a power loss.
        WriteFaults sync;
        sync.failSync = true;
        QVERIFY(!trySave(sync).isEmpty());
        QVERIFY(next.modified);
    }

    void backups()
    {
        QTemporaryDir dir;
        AppState st;
        st.dataDir = dir.filePath(u"data/"_s);
        QDir().mkpath(st.dataDir);
        const QString path = QDir(st.dataDir).filePath(DB_NAME);
        const QDir backups(QDir(st.dataDir).filePath(u"backup"_s));
        QCOMPARE(backupDir(st, path), backups.path());
        saveDB(path, st);
        QVERIFY(!backups.exists()); // nothing replaced, nothing kept
        QList<QByteArray> versions{readFileBytes(path)};
        for (int i = 0; i < 12; ++i) {
            st.repList.curPeriod = i; // each version differs
            saveDB(path, st);
            versions << readFileBytes(path);
        }
        const QStringList copies = backupCopies(backups.path(), DB_NAME);
        QCOMPARE(copies.size(), KEPT_BACKUPS);
        static const QRegularExpression name(u"^boutique-\\d{8}-\\d{9}(-\\d+)?\\.tlvdb$"_s);
        for (int i = 0; i < copies.size(); ++i) {
            QVERIFY2(name.match(copies.at(i)).hasMatch(), qPrintable(copies.at(i)));
            // Oldest first: the ten versions before the current one.
            QCOMPARE(readFileBytes(backups.filePath(copies.at(i))), versions.at(versions.size() - 11 + i));
        }

        // Where no hard link can be made (another file system), the backup is a copy.
        QTemporaryDir other(u"/dev/shm/tilvar-XXXXXX"_s);
        if (other.isValid() && QFileInfo(other.path()).isDir()) {
            SafeWriteOptions opt;
            opt.backupDir = other.path();
            safeWriteFile(path, QByteArray("next"), opt);
            QCOMPARE(readFileBytes(other.filePath(backupCopies(other.path(), DB_NAME).value(0))), versions.last());
        }

        // A file that did not load whole, or is too old to load, is kept for
        // good when it is first replaced, outside the rotation.
        const QByteArray damaged = versions.last().chopped(3);
        auto damagedCopies = [&] { return backups.entryList({u"*-damaged.tlvdb"_s}, QDir::Files); };
        AppState back;
        back.dataDir = st.dataDir;
        FakePrompt prompt;
        QVERIFY(writeFileBytes(path, damaged));
        QCOMPARE(loadDB(path, back, prompt), LoadResult::ReadError);
        QVERIFY(back.modified);
        for (int i = 0; i < KEPT_BACKUPS + 3; ++i)
            saveDB(path, back);
        QCOMPARE(damagedCopies().size(), 1);
        QCOMPARE(readFileBytes(backups.filePath(damagedCopies().first())), damaged);
        QCOMPARE(backupCopies(backups.path(), DB_NAME).size(), KEPT_BACKUPS);
        QVERIFY(writeFileBytes(path, QByteArray::fromHex("02000100")));
        QCOMPARE(loadDB(path, back, prompt), LoadResult::OldVersion);
        saveDB(path, back);
        QCOMPARE(damagedCopies().size(), 2);

        // If no copy can be made, the damaged file is not replaced.
        QVERIFY(writeFileBytes(path, damaged));
        QCOMPARE(loadDB(path, back, prompt), LoadResult::ReadError);
        QVERIFY(QDir(backups).removeRecursively());
        QVERIFY(writeFileBytes(backups.path(), {})); // a file where the folder should be
        QVERIFY_THROWS_EXCEPTION(AppError, saveDB(path, back));
        QCOMPARE(readFileBytes(path), damaged);
        QVERIFY(back.modified);
    }

    void staleTemporaryIsRemoved()
    {
        // Left by a save killed at the wrong moment: "<file>.XXXXXX", mixed case.
        QTemporaryDir dir;
        QStringList kept{DB_NAME + u".Backup"_s, DB_NAME + u".bak123"_s, DB_NAME + u".keep"_s, DB_NAME + u".OLD"_s};
        for (const QString& name : kept + QStringList{DB_NAME + u".aB3xY9"_s, DB_NAME + u".hiPpAi"_s})
            QVERIFY(writeFileBytes(dir.filePath(name), {}));
        AppState st;
        saveDB(dir.filePath(DB_NAME), st);
        QStringList left = strayFiles(dir.path());
        left.sort();
        kept.sort();
        QCOMPARE(left, kept);
    }
};

QTEST_GUILESS_MAIN(TstDbFile)
#include "tst_dbFile.moc"
