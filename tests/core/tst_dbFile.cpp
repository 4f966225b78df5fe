// The database file: the reference bytes, the version gate, the loader's
// messages; saves under an injected fault at every write, the flush, the
// replace and the folder sync; dated backups, rotated, and kept for good for a
// file that did not load. (Faults a child process suffers, and a save killed
// at random, are in tst_saveFaults.)

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "support/fakePrompt.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString& DB_NAME = TEST_DB_NAME;

QByteArray utf8Value(const QByteArray& bytes)
{
    QByteArray len(4, '\0');
    qToLittleEndian<qint32>(qint32(bytes.size()), len.data());
    return '\x14' + len + bytes;
}

// A database of at most one artisan, product, sheet and period (empty: none).
QByteArray oneOfEach(const QByteArray& art, const QByteArray& prod, const QByteArray& sale, const QByteArray& rep)
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

class TstDbFile : public QObject {
    Q_OBJECT

private slots:
    void emptyDatabaseBytes()
    {
        // Saved, the empty database is the reference file byte for byte, whatever
        // version it was read as; loaded back, it is the empty database again.
        const QString golden = QStringLiteral(TILVAR_TEST_DATA "/db-empty.tlvdb");
        AppState st;
        st.dbVersion = 1;
        QCOMPARE(savedBytes(st), readFileBytes(golden));
        QCOMPARE(st.dbVersion, DB_FORMAT_VERSION);

        AppState back;
        back.repList.curPeriod = 5;
        FakePrompt prompt;
        QCOMPARE(loadDB(golden, back, prompt), LoadResult::Loaded);
        QVERIFY(back.dbVersion == 2 && back.repList.curPeriod == -1 && prompt.all.isEmpty());
    }

    // Too old, bytes after the last section, a version this program does not
    // know: refused with what is wrong, and the file is kept for good when a
    // save replaces it. A missing file is no error; a FIFO (at
    // once, not blocked) is an error for the caller, not a message.
    void refusedWhole()
    {
        QTemporaryDir dir;
        AppState st;
        st.dataDir = dir.path();
        const QString path = dir.filePath(DB_NAME);
        const QByteArray whole = savedBytes(st);
        const LoadResult old = LoadResult::OldVersion;
        const LoadResult newer = LoadResult::NewerVersion;
        struct Case {
            QByteArray bytes;
            LoadResult result;
            QString message;
        };
        for (const Case& c : {Case{readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/db-version0.tlvdb")), old, OLD_VERSION_MSG},
                              Case{QByteArray::fromHex("02ff0100010002050100"), old, OLD_VERSION_MSG},
                              Case{whole + "x", LoadResult::ReadError, TRAILING_DATA_MSG},
                              Case{QByteArray::fromHex("0203") + whole.mid(2), newer, NEWER_VERSION_MSG.arg(3)},
                              Case{QByteArray::fromHex("04ffffff7f") + whole.mid(2), newer, NEWER_VERSION_MSG.arg(2147483647)}}) {
            QVERIFY(writeFileBytes(path, c.bytes));
            AppState back;
            back.dataDir = dir.path();
            back.repList.curPeriod = 9;
            FakePrompt prompt;
            QCOMPARE(loadDB(path, back, prompt), c.result);
            QVERIFY2(prompt.errors.size() == 1 && prompt.errors.first().contains(c.message), qPrintable(prompt.errors.join(u'|')));
            QCOMPARE(readFileBytes(path), c.bytes);
            // Nothing loaded from a file too old; the version read is kept, so the save keeps the file.
            QVERIFY(c.result != old || (back.repList.curPeriod == 9 && back.dbVersion < 1));
            saveDB(path, back);
            const QStringList kept = QDir(backupDir(back, path)).entryList({u"*-damaged.tlvdb"_s}, QDir::Files);
            QVERIFY(!kept.isEmpty() && readFileBytes(QDir(backupDir(back, path)).filePath(kept.last())) == c.bytes);
            QVERIFY(QDir(backupDir(back, path)).removeRecursively());
        }
        st.dbVersion = 7;
        FakePrompt prompt;
        QCOMPARE(loadDB(dir.filePath(u"absent.tlvdb"_s), st, prompt), LoadResult::Missing);
        QCOMPARE(st.dbVersion, 7);
        const QString fifo = dir.filePath(u"pipe.tlvdb"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY_THROWS_EXCEPTION(AppError, loadDB(fifo, st, prompt));
        QVERIFY(prompt.all.isEmpty());
    }

    // A file holding a character no report can show loads; the loader names
    // the record (the reports show it as U+FFFD: tst_artList, tst_statements).
    void oddCharacterLoads()
    {
        QTemporaryDir dir;
        AppState st;
        TArtisan& a = st.artList.append();
        a.artNo = u"001"_s;
        a.nom = u"Potier\x01"_s;
        const QString path = dir.filePath(DB_NAME);
        QVERIFY(writeFileBytes(path, savedBytes(st)));
        AppState back;
        FakePrompt prompt;
        QCOMPARE(loadDB(path, back, prompt), LoadResult::Loaded);
        QCOMPARE(prompt.informations.size(), 1);
        QVERIFY(prompt.informations.first().startsWith(u"Artisan 001, champ « nom » : "_s + reportCharProblem(u"\x01"_s)));
    }

    // A database reached through a link is saved through it: the link stays,
    // its target gets the new bytes, the backup (and the "-damaged" copy)
    // the old ones.
    void backupThroughLinks_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("relative symbolic link") << 0;
        QTest::newRow("absolute symbolic link") << 1;
        QTest::newRow("hard link") << 2;
    }
    void backupThroughLinks()
    {
        QFETCH(int, kind);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"data"_s) && QDir(dir.path()).mkpath(u"synced"_s));
        const QString target = dir.filePath(u"synced/"_s + DB_NAME);
        const QString link = dir.filePath(u"data/"_s + DB_NAME);
        AppState st;
        st.dataDir = dir.filePath(u"data/"_s);
        saveDB(target, st);
        const QByteArray v1 = readFileBytes(target);
        const QByteArray linked = kind == 0 ? QByteArray("../synced/") + DB_NAME.toUtf8() : QFile::encodeName(target);
        QCOMPARE(kind == 2 ? ::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData())
                           : ::symlink(linked.constData(), QFile::encodeName(link).constData()),
                 0);
        st.repList.curPeriod = 4;
        saveDB(link, st);
        const QByteArray v2 = readFileBytes(link);
        QVERIFY(v2 != v1);
        QCOMPARE(QFileInfo(link).isSymLink(), kind != 2);
        if (kind != 2)
            QCOMPARE(readFileBytes(target), v2);
        const QDir backups(backupDir(st, link));
        const QStringList copies = backupCopies(backups.path(), DB_NAME);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(readFileBytes(backups.filePath(copies.first())), v1);

        const QByteArray damaged = v2.chopped(2);
        QVERIFY(writeFileBytes(link, damaged));
        FakePrompt prompt;
        QCOMPARE(loadDB(link, st, prompt), LoadResult::ReadError);
        saveDB(link, st);
        const QStringList kept = backups.entryList({u"*-damaged.tlvdb"_s}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(readFileBytes(backups.filePath(kept.first())), damaged);
    }

    void unstorableRecordIsReadError_data()
    {
        // What a save could not write back as it was read is refused on reading,
        // never changed silently on the next save.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        QTest::newRow("short product") << oneOfEach(ART, "001:|:001:|:Vase", {}, {}) << true;
        QTest::newRow("short product ending like its separator") << oneOfEach(ART, "001:|:001:|:Vase:|", {}, {}) << false;
        QTest::newRow("short artisan ending like its separator") << oneOfEach("001|:|Nom|:", {}, {}, {}) << false;
        QTest::newRow("short sheet ending like its separator") << oneOfEach(ART, {}, "160101|:|Ana|:", {}) << false;
        QTest::newRow("short period ending like its separator") << oneOfEach(ART, {}, {}, "P|:") << false;
        QTest::newRow("invalid UTF-8") << oneOfEach(ART, {}, "160101|:|Marc-\xcandr\xc3\xa9|:|0.00$|:|", {}) << false;
    }

    void unstorableRecordIsReadError()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"records.tlvdb"_s);
        QVERIFY(writeFileBytes(path, bytes));
        AppState st;
        FakePrompt prompt;
        QCOMPARE(loadDB(path, st, prompt), loads ? LoadResult::Loaded : LoadResult::ReadError);
        QCOMPARE(prompt.errors, loads ? QStringList() : QStringList{READ_ERROR_MSG});
    }

    void halfCharactersAreMendedOnLoad()
    {
        // A key once made of half an emoji ("Jo" and half of U+1F338): the
        // file loads, names the line, and saves once mended.
        const QString bad = writeCommaList({u"Jo\xD83C""Ana005-001"_s, u"Bol"_s, u"5.00$"_s, u"1"_s, u"5.00$"_s});
        const QString good = writeCommaList({u"LiBo__002-001"_s, u"Vase"_s, u"1.00$"_s, u"1"_s, u"1.00$"_s});
        const QString record = u"160101|:|Ana|:|6.00$|:|"_s + writeCommaList({good, bad});
        QByteArray wide = QByteArray::fromHex("12");
        wide += QByteArray(4, '\0');
        qToLittleEndian<qint32>(qint32(record.size()), wide.data() + 1);
        for (const QChar c : record)
            wide += char(c.unicode() & 0xFF), wide += char(c.unicode() >> 8);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"half.tlvdb"_s);
        QVERIFY(writeFileBytes(path, oneOfEach(ART, {}, wide, {})));
        AppState st;
        FakePrompt prompt;
        QCOMPARE(loadDB(path, st, prompt), LoadResult::Loaded);
        QCOMPARE(prompt.informations.size(), 1);
        QVERIFY2(prompt.informations.first().contains(u"Feuille 160101, ligne 2."_s), qPrintable(prompt.all.join(u'|')));
        QVERIFY(st.modified);
        QCOMPARE(readCommaList(readCommaList(st.saleList.at(0).lines).at(1)).at(0), u"Jo\uFFFDAna005-001"_s);
        saveDB(path, st);
        AppState again;
        FakePrompt quiet;
        QCOMPARE(loadDB(path, again, quiet), LoadResult::Loaded);
        QCOMPARE(quiet.all, QStringList());
        QCOMPARE(again.saleList.at(0).lines, st.saleList.at(0).lines);
    }

    void saveRefusesUnstorableText_data()
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

    void saveRefusesUnstorableText()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, named);
        AppState st;
        TArtisan& a = st.artList.append();
        a.artNo = u"001"_s;
        TProduit& p = a.products.append();
        p.artNo = p.prodNo = u"001"_s;
        TSaleItem& s = addSheet(st.saleList, u"160101"_s, {});
        st.repList.addPeriod(u"P"_s, u"160101"_s, u"160102"_s);
        QString* target[] = {&a.nom, &p.descript, &s.agent, &st.repList.at(0).title};
        *target[kind] = text;
        QTemporaryDir dir;
        const QString path = dir.filePath(u"refused.tlvdb"_s);
        QVERIFY(writeFileBytes(path, "old"));
        st.modified = true;
        const QString error = errorOf([&] { saveDB(path, st); });
        QVERIFY2(error.contains(named + u" : "_s), qPrintable(error));
        QVERIFY(readFileBytes(path) == "old" && st.modified);
    }

    void nextDatabaseIsPreparedAgain()
    {
        // A consignment's prepared rows never outlive their database: emptied, or
        // loaded (even with a damaged sales section), the periods are prepared anew.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"next.tlvdb"_s), cut = dir.filePath(u"cut.tlvdb"_s);
        AppState next;
        addSheet(next.saleList, u"090520"_s, {u"TreMar005-001,Bol,5.00$,1,5.00$"_s});
        next.repList.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
        saveDB(path, next);
        QVERIFY(writeFileBytes(cut, readFileBytes(path).chopped(30))); // into the sales section
        for (const QString& file : {QString(), path, cut}) {
            AppState st;
            addSheet(st.saleList, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s});
            st.repList.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
            st.repList.setConsigne(u"005"_s, 0, st.saleList, st.xmlDataLines);
            FakePrompt prompt;
            file.isEmpty() ? st.repList.clear() : void(loadDB(file, st, prompt));
            QVERIFY(!st.repList.linesCurrent(st.saleList));
        }
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
        auto trySave = [&](const WriteFaults& f) { return errorOf([&] { saveDB(path, next, &f); }); };
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
        const QStringList kept{DB_NAME + u".Backup"_s, DB_NAME + u".bak123"_s, DB_NAME + u".keep"_s, DB_NAME + u".OLD"_s};
        for (const QString& name : kept + QStringList{DB_NAME + u".aB3xY9"_s, DB_NAME + u".hiPpAi"_s})
            QVERIFY(writeFileBytes(dir.filePath(name), {}));
        AppState st;
        saveDB(dir.filePath(DB_NAME), st);
        QCOMPARE(strayFiles(dir.path()), kept); // listed in name order, ignoring case

        // A batch lists the folder once, and still finds each file's own.
        QTemporaryDir docs;
        const QStringList names{u"c001.xml.keep"_s, u"c002.xml.Qw3eRt"_s, u"c002.xmlx.Qw3eRt"_s, u"c003.xml.Zx9cVb"_s};
        for (const QString& name : names)
            QVERIFY(writeFileBytes(docs.filePath(name), {}));
        const SafeWriteOptions batch = batchOptions();
        for (const QString& doc : {u"c001.xml"_s, u"c002.xml"_s, u"c003.xml"_s})
            safeWriteFile(docs.filePath(doc), QByteArray("<r/>"), batch);
        QCOMPARE(QDir(docs.path()).entryList(QDir::Files),
                 (QStringList{u"c001.xml"_s, u"c001.xml.keep"_s, u"c002.xml"_s, u"c002.xmlx.Qw3eRt"_s, u"c003.xml"_s}));
    }
};

QTEST_GUILESS_MAIN(TstDbFile)
#include "tst_dbFile.moc"
