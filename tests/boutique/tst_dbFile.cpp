// The database file: the reference bytes, the version gate, the loader's
// messages; saves under an injected fault at every write, the flush, the
// replace and the folder sync; dated backups, rotated, and kept for good for a
// file that did not load. (Faults a child process suffers, and a save killed
// at random, are in tst_saveFaults.)

#include "boutique/appState.h"
#include "core/dbCopy.h"
#include "boutique/dbFile.h"
#include "boutique/dbSummary.h"
#include "core/safeWrite.h"
#include "support/fakePrompt.h"
#include "support/modelErrors.h"
#include "support/modelSheets.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

// As if the clock said at when the file at path was saved.
bool setSavedAt(const QString& path, const QDateTime& at)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(at, QFileDevice::FileModificationTime);
}
} // namespace

class TstDbFile : public QObject {
    Q_OBJECT

private slots:
    void emptyAndRefused()
    {
        // Saved, the empty database is the reference file byte for byte, whatever
        // version it was read as; loaded back, it is the empty database again.
        const QString golden = QStringLiteral(TILVAR_TEST_DATA "/db-empty.tlvdb");
        AppState empty;
        empty.dbVersion = 1;
        QCOMPARE(savedBytes(empty), readFileBytes(golden));
        QCOMPARE(empty.dbVersion, DB_FORMAT_VERSION);

        AppState read;
        read.repList.curPeriod = 5;
        FakePrompt quiet;
        QCOMPARE(loadDB(golden, read, quiet), LoadResult::Loaded);
        QVERIFY(read.dbVersion == 2 && read.repList.curPeriod == -1 && quiet.all.isEmpty());

        // Too old, bytes after the last section, a version this program does not
        // know: refused with what is wrong, and the file is kept for good when a
        // save replaces it. A missing file is no error; a FIFO (at
        // once, not blocked) is an error for the caller, not a message.
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

    // A database reached through a link is saved through it: the link stays,
    // its target gets the new bytes, the backup the old ones.
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

        FakePrompt prompt; // and it reads back through the link
        QCOMPARE(loadDB(link, st, prompt), LoadResult::Loaded);
    }

    // Links to links are followed as far as the system follows them (40
    // links); past that the file is written where the name given stands, and
    // the end of the chain is never reached.
    void chainsOfLinks()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"end.pdf"_s);
        for (const int links : {40, 41}) {
            QVERIFY(writeFileBytes(file, "old"));
            QString next = file;
            for (int k = 0; k < links; ++k) {
                const QString link = dir.filePath(u"%1-%2"_s.arg(links).arg(k));
                QCOMPARE(::symlink(QFile::encodeName(next).constData(), QFile::encodeName(link).constData()), 0);
                next = link;
            }
            safeWriteFile(next, QByteArray("new"), SafeWriteOptions());
            QCOMPARE(readFileBytes(file), links == 40 ? QByteArray("new") : QByteArray("old"));
            QCOMPARE(QFileInfo(next).isSymLink(), links == 40);
        }
    }

    void recordsReadOrRefused_data()
    {
        // What a save could not write back as it was read is refused on reading,
        // never changed silently on the next save.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("said"); // the start of the note of a file that loads
        QTest::newRow("short product") << oneOfEach(ART, "001:|:001:|:Vase", {}, {}) << true << QString();
        // A character no report can show loads; the loader names the record
        // (the reports show it as U+FFFD: tst_artList, tst_statements).
        QTest::newRow("odd character") << oneOfEach(QByteArray(ART).replace("Nom", "Potier\x01"), {}, {}, {}) << true
                                       << u"Artisan 001, champ « nom » : "_s + reportCharProblem(u"\x01"_s);
        QTest::newRow("short product ending like its separator") << oneOfEach(ART, "001:|:001:|:Vase:|", {}, {}) << false << QString();
        QTest::newRow("short artisan ending like its separator") << oneOfEach("001|:|Nom|:", {}, {}, {}) << false << QString();
        QTest::newRow("short sheet ending like its separator") << oneOfEach(ART, {}, "160101|:|Ana|:", {}) << false << QString();
        QTest::newRow("short period ending like its separator") << oneOfEach(ART, {}, {}, "P|:") << false << QString();
        QTest::newRow("invalid UTF-8") << oneOfEach(ART, {}, "160101|:|Marc-\xcandr\xc3\xa9|:|0.00$|:|", {}) << false << QString();
    }

    void recordsReadOrRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"records.tlvdb"_s);
        QVERIFY(writeFileBytes(path, bytes));
        AppState st;
        FakePrompt prompt;
        QCOMPARE(loadDB(path, st, prompt), loads ? LoadResult::Loaded : LoadResult::ReadError);
        QCOMPARE(prompt.errors, loads ? QStringList() : QStringList{READ_ERROR_MSG});
        QCOMPARE(prompt.informations.size(), said.isEmpty() ? 0 : 1);
        QVERIFY2(prompt.informations.value(0).startsWith(said), qPrintable(prompt.informations.value(0)));
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
        QTest::newRow("period") << 2 << u"P|:|Q"_s << u"Période « P|:|Q », champ « title »"_s;
        QTest::newRow("lone surrogate") << 0 << QString(QChar(0xDC00)) << u"Artisan 001, champ « nom »"_s;
    }

    void saveRefusesUnstorableText()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, named);
        AppState st;
        TArtisan& a = newArtisan(st.artList, u"001"_s);
        TProduit& p = newProduct(a, u"001"_s);
        st.repList.addPeriod(u"P"_s, u"160101"_s, u"160102"_s);
        QString* target[] = {&a.nom, &p.descript};
        if (kind < 2)
            *target[kind] = text;
        else
            st.repList.editPeriod(0, text, u"160101"_s, u"160102"_s);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"refused.tlvdb"_s);
        QVERIFY(writeFileBytes(path, "old"));
        st.modified = true;
        const QString error = errorOf([&] { saveDB(path, st); });
        QVERIFY2(error.contains(named + u" : "_s), qPrintable(error));
        QVERIFY(readFileBytes(path) == "old" && st.modified);
    }

    void ledgerAsideOrNot()
    {
        // The ledger encoded on a second thread or as it is written: the same
        // bytes, and the same refusal of a sheet that cannot be stored.
        AppState st;
        fillSampleDatabase(st, 10, 20, 1);
        st.account.setRule(QString(), u"090101"_s, 60); // so that the account section is written too
        const auto bytes = [&st](bool aside) {
            QBuffer buf;
            buf.open(QIODevice::WriteOnly);
            writeDatabase(buf, st, true, aside);
            return buf.data();
        };
        const QByteArray streamed = bytes(false);
        QVERIFY(streamed.size() > 5 * TFiler::BufferSize);
        QVERIFY(bytes(true) == streamed);
        addSheet(st.saleList, u"160101"_s, {}).agent = u"Ana|:"_s;
        const QString refused = errorOf([&] { (void)bytes(false); });
        QVERIFY2(refused.contains(u"Feuille 160101, champ « agent »"_s), qPrintable(refused));
        QCOMPARE(errorOf([&] { (void)bytes(true); }), refused);
    }

    void preparedAgainAndFaults()
    {
        // A consignment's prepared rows never outlive their database: emptied, or
        // loaded (even with a damaged sales section), the periods are prepared anew.
        QTemporaryDir tmp;
        const QString db = tmp.filePath(u"next.tlvdb"_s), cut = tmp.filePath(u"cut.tlvdb"_s);
        AppState other;
        addSheet(other.saleList, u"090520"_s, {u"TreMar005-001,Bol,5.00$,1,5.00$"_s});
        other.repList.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
        saveDB(db, other);
        QVERIFY(writeFileBytes(cut, readFileBytes(db).chopped(30))); // into the sales section
        for (const QString& file : {QString(), db, cut}) {
            AppState st;
            addSheet(st.saleList, u"090518"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s});
            st.repList.addPeriod(u"Mai"_s, u"090501"_s, u"090531"_s);
            st.repList.setConsigne(u"005"_s, 0, st.saleList, st.xmlDataLines);
            FakePrompt prompt;
            file.isEmpty() ? st.repList.clear() : void(loadDB(file, st, prompt));
            QVERIFY(!st.repList.linesCurrent(st.saleList));
        }

        // Every injected fault is harmless.
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
        // Changed, so saved with its account.
        next.modified = true;
        const QByteArray fresh = savedBytes(next);
        QVERIFY(fresh.size() > 5 * TFiler::BufferSize);
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
        // A fault was tried at each write of the save: several (the
        // artisans a buffer at a time, then the ledger and the periods).
        QVERIFY2(k - 1 > 3, qPrintable(QString::number(k - 1)));
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

    void backupsAndTemporaries()
    {
        QTemporaryDir dir;
        AppState st;
        st.dataDir = dir.filePath(u"data/"_s);
        QDir().mkpath(st.dataDir);
        const QString path = QDir(st.dataDir).filePath(DB_NAME);
        const QDir backups(QDir(st.dataDir).filePath(u"backup"_s));
        saveDB(path, st);
        QVERIFY(!backups.exists()); // nothing replaced, nothing kept
        for (int i = 0; i < 12; ++i)
            saveDB(path, st);
        const QByteArray last = readFileBytes(path);
        const QStringList copies = backupCopies(backups.path(), DB_NAME);
        QCOMPARE(copies.size(), KEPT_BACKUPS); // their order and contents: backupsSurviveAnyClock
        static const QRegularExpression name(u"^boutique-\\d{8}-\\d{9}-s\\d{6}\\.tlvdb$"_s);
        for (const QString& c : copies)
            QVERIFY2(name.match(c).hasMatch(), qPrintable(c));

        // Where no hard link can be made (another file system), the backup is a copy.
        QTemporaryDir other(u"/dev/shm/tilvar-XXXXXX"_s);
        if (other.isValid() && QFileInfo(other.path()).isDir()) {
            SafeWriteOptions opt;
            opt.backupDir = other.path();
            safeWriteFile(path, QByteArray("next"), opt);
            QCOMPARE(readFileBytes(other.filePath(backupCopies(other.path(), DB_NAME).value(0))), last);
        }

        // A file that did not load whole, or is too old to load, is kept for
        // good when it is first replaced, outside the rotation.
        const QByteArray damaged = last.chopped(3);
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

        // A save cut short leaves "<file>.~tlvtmp-XXXXXX": the next save removes
        // it unless a live save holds it; no other name is ever removed, however
        // it looks, and the checks list those that may be old leftovers.
        QTemporaryDir tmp;
        const QString db = tmp.filePath(DB_NAME);
        QStringList mine;
        for (const char* tail : {".aB3xY9", ".bakJan", ".copieA", ".keep", ".oldOne", ".v2Copy", ".ABC123", ".aB3x-9", ".Zone12"})
            mine << DB_NAME + QLatin1String(tail);
        // Our mark with a tail one character short or long, or holding a
        // character just outside the letters and digits, is not ours.
        for (const char* tail : {"aB3xY", "aB3xY90", "aB3x@9", "aB3x[9", "aB3x`9", "aB3x{9", "aB3x:9"})
            mine << DB_NAME + u".~tlvtmp-"_s + QLatin1String(tail);
        mine.sort();
        const QString left = DB_NAME + u".~tlvtmp-aB3xY9"_s;
        const QString edges = DB_NAME + u".~tlvtmp-AZaz09"_s;
        const QString live = DB_NAME + u".~tlvtmp-Live01"_s;
        for (const QString& name : mine + QStringList{left, edges, live})
            QVERIFY(writeFileBytes(tmp.filePath(name), "x"));
        // Our name on what is not a regular file: not ours either.
        const QString pipe = DB_NAME + u".~tlvtmp-Fifo01"_s;
        const QString folder = DB_NAME + u".~tlvtmp-Dir001"_s;
        QCOMPARE(::mkfifo(QFile::encodeName(tmp.filePath(pipe)).constData(), 0600), 0);
        QVERIFY(QDir(tmp.path()).mkdir(folder));
        mine << pipe << folder;
        const int held = ::open(QFile::encodeName(tmp.filePath(live)).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        AppState state;
        saveDB(db, state);
        ::close(held);
        QStringList stray = mine + QStringList{live};
        QStringList found = strayFiles(tmp.path());
        stray.sort();
        found.sort();
        QCOMPARE(found, stray);
        QStringList listed;
        for (const QString& f : unprovenLeftovers(db))
            listed << QFileInfo(f).fileName();
        listed.sort();
        QCOMPARE(listed, (QStringList{DB_NAME + u".Zone12"_s, DB_NAME + u".aB3xY9"_s, DB_NAME + u".bakJan"_s,
                                      DB_NAME + u".copieA"_s, DB_NAME + u".oldOne"_s, DB_NAME + u".v2Copy"_s, live}));

        // A batch lists the folder once, and still finds each file's own.
        QTemporaryDir docs;
        const QStringList names{u"c001.xml.keep"_s, u"c002.xml.~tlvtmp-Qw3eRt"_s, u"c002.xmlx.~tlvtmp-Qw3eRt"_s,
                                u"c003.xml.Zx9cVb"_s};
        for (const QString& name : names)
            QVERIFY(writeFileBytes(docs.filePath(name), {}));
        const SafeWriteOptions batch = batchOptions();
        for (const QString& doc : {u"c001.xml"_s, u"c002.xml"_s, u"c003.xml"_s})
            safeWriteFile(docs.filePath(doc), QByteArray("<r/>"), batch);
        QCOMPARE(QDir(docs.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{u"c001.xml"_s, u"c001.xml.keep"_s, u"c002.xml"_s, u"c002.xmlx.~tlvtmp-Qw3eRt"_s,
                              u"c003.xml"_s, u"c003.xml.Zx9cVb"_s}));
    }

    // What the open command and the restore dialog make of each kind of
    // file: why it cannot be opened, or what it holds.
    void whatEachFileIs()
    {
        QTemporaryDir tmp;
        const QString fifo = tmp.filePath(u"pipe.tlvdb"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(writeFileBytes(tmp.filePath(u"empty.tlvdb"_s), {}));
        const QString data = QStringLiteral(TILVAR_TEST_DATA "/");
        QVERIFY(writeFileBytes(tmp.filePath(u"newer.tlvdb"_s), "\x02\x03" + readFileBytes(data + u"sales-realistic.tlvdb"_s).mid(2)));
        const struct {
            QString path;
            QString problem; // the start of it; empty: opens
            int artisans;
            int sheets;
        } cases[] = {
            {tmp.path(), u"ce n'est pas un fichier"_s, 0, 0}, {fifo, u"ce n'est pas un fichier"_s, 0, 0},
            {tmp.filePath(u"none.tlvdb"_s), u"le fichier n'existe pas"_s, 0, 0},
            {tmp.filePath(u"empty.tlvdb"_s), u"le fichier est vide"_s, 0, 0},
            {data + u"sales-realistic.tlvdb"_s, QString(), 3, 3}, {data + u"db-empty.tlvdb"_s, QString(), 0, 0},
            {data + u"db-version0.tlvdb"_s, OLD_VERSION_MSG.trimmed(), 0, 0},
            {tmp.filePath(u"newer.tlvdb"_s), u"il a été écrit par une version plus récente du programme (version 3)"_s, 0, 0},
        };
        for (const auto& c : cases) {
            const DbSummary s = readDbSummary(c.path);
            const QString problem = dbOpenProblem(c.path);
            QVERIFY2(c.problem.isEmpty() ? problem.isEmpty() : problem.startsWith(c.problem), qPrintable(c.path + u": "_s + problem));
            QVERIFY2(s.artisans == c.artisans && s.sheets == c.sheets, qPrintable(c.path));
            QCOMPARE(s.state == DbSummary::State::Whole, c.problem.isEmpty());
        }
    }

    // No write replaces a file being read, whatever name leads to it, nor
    // writes through anything that is not a regular file.
    void outputsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"the input", "link to the input", "hard link to the input", "FIFO", "link to a FIFO",
                                 "folder", "device"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void outputsRefused()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString input = dir.filePath(DB_NAME);
        const QString out = dir.filePath(u"out.pdf"_s);
        QVERIFY(writeFileBytes(input, "database"));
        const QByteArray in = QFile::encodeName(input);
        const QByteArray o = QFile::encodeName(out);
        const QByteArray fifo = QFile::encodeName(dir.filePath(u"pipe"_s));
        const int made = kind == u"the input"_s              ? 0
                         : kind == u"link to the input"_s      ? ::symlink(in.constData(), o.constData())
                         : kind == u"hard link to the input"_s ? ::link(in.constData(), o.constData())
                         : kind == u"FIFO"_s                   ? ::mkfifo(o.constData(), 0600)
                         : kind == u"folder"_s                 ? ::mkdir(o.constData(), 0700)
                         : kind == u"device"_s                 ? ::mknod(o.constData(), S_IFCHR | 0600, makedev(1, 3))
                                                               : ::mkfifo(fifo.constData(), 0600)
                                                                     + ::symlink(fifo.constData(), o.constData());
        if (made != 0 && kind == u"device"_s)
            QSKIP("a device node (a null device in a temporary folder) can only be made as root");
        QCOMPARE(made, 0);
        const QString target = kind == u"the input"_s ? input : out;
        SafeWriteOptions opt;
        opt.inputs = {input};
        opt.backupDir = dir.filePath(u"backup"_s);
        const QString error = errorOf([&] { safeWriteFile(target, QByteArray("pdf"), opt); });
        QVERIFY2(error.contains(QDir::toNativeSeparators(target)), qPrintable(error));
        QCOMPARE(error.contains(QDir::toNativeSeparators(input)), kind.contains(u"input"_s));
        QCOMPARE(readFileBytes(input), QByteArray("database"));
        struct stat sb {};
        QCOMPARE(::stat(o.constData(), &sb), kind == u"the input"_s ? -1 : 0);
        QVERIFY(kind == u"the input"_s || kind.contains(u"input"_s) == S_ISREG(sb.st_mode));
        QVERIFY(!QFileInfo::exists(opt.backupDir));
        const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(dir.path()).entryList(all).size(),
                 kind == u"the input"_s ? 1 : kind == u"link to a FIFO"_s ? 3 : 2);
    }

    // The last ten saves keep their copies whatever the clock said at each
    // (dates in the names run back, jump ahead, or older copies lie in the future).
    void backupsSurviveAnyClock_data()
    {
        QTest::addColumn<QList<int>>("days"); // the clock at each save, in days from now
        QTest::addColumn<bool>("futureCopies"); // ten copies named before numbering, dated 2099
        QTest::newRow("clock set back a day at each save")
            << QList<int>{0, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, -12} << false;
        QTest::newRow("clock a year ahead, then set right")
            << QList<int>{365, 365, 365, 365, 365, 0, 0, 0, 0, 0, 0, 0} << false;
        QTest::newRow("old copies dated in the future") << QList<int>{0, 0, 0} << true;
    }
    void backupsSurviveAnyClock()
    {
        QFETCH(QList<int>, days);
        QFETCH(bool, futureCopies);
        QTemporaryDir dir;
        const QString path = dir.filePath(DB_NAME);
        const QString backups = dir.filePath(u"backup"_s);
        QVERIFY(writeFileBytes(path, "v0") && QDir().mkpath(backups));
        for (int i = 0; futureCopies && i < 10; ++i)
            QVERIFY(writeFileBytes(QDir(backups).filePath(u"boutique-20990101-0000000%1.tlvdb"_s.arg(10 + i)), "old"));
        const QDateTime now(QDate(2026, 12, 7), QTime(10, 0));
        for (int i = 0; i < days.size(); ++i) {
            SafeWriteOptions opt;
            opt.backupDir = backups;
            opt.now = now.addDays(days.at(i));
            safeWriteFile(path, "v" + QByteArray::number(i + 1), opt);
            QVERIFY(setSavedAt(path, opt.now));
        }
        const QStringList copies = backupCopies(backups, DB_NAME);
        QVERIFY(copies.size() >= std::min<qsizetype>(days.size(), KEPT_BACKUPS));
        for (qsizetype k = 0; k < std::min<qsizetype>(days.size(), KEPT_BACKUPS); ++k)
            QCOMPARE(readFileBytes(QDir(backups).filePath(copies.at(copies.size() - 1 - k))),
                     "v" + QByteArray::number(days.size() - 1 - k));
        // The restore list shows them in that order, with the date each version was saved.
        const QList<BackupEntry> listed = databaseBackups(backups, DB_NAME);
        QCOMPARE(listed.size(), copies.size());
        QCOMPARE(listed.first().when, now.addDays(days.at(days.size() - 2)));
        QVERIFY(!futureCopies || listed.last().when.date().year() == 2099); // named before numbering: oldest
    }

    // A copy to a key: the file and its newest backups in a folder of their
    // own, a second copy the same minute beside the first, nothing replaced.
    void copiesKeptAndThinned()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(DB_NAME), backups = dir.filePath(u"backup"_s), key = dir.filePath(u"key"_s);
        QVERIFY(writeFileBytes(path, "v0") && QDir().mkpath(key));
        SafeWriteOptions opt;
        opt.backupDir = backups;
        for (int i = 1; i <= 4; ++i)
            safeWriteFile(path, "v" + QByteArray::number(i), opt);
        const QDateTime now(QDate(2026, 12, 7), QTime(14, 5));
        const QString first = copyDatabaseTo(path, backups, key, 2, now);
        const QString second = copyDatabaseTo(path, backups, key, 2, now);
        QCOMPARE(QDir(key).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{u"boutique 2026-12-07 1405"_s, u"boutique 2026-12-07 1405 (2)"_s}));
        QCOMPARE(readFileBytes(QDir(second).filePath(DB_NAME)), "v4");
        QStringList copied;
        for (const QString& c : QDir(first + u"/backup"_s).entryList(QDir::Files, QDir::Name))
            copied << QString::fromLatin1(readFileBytes(first + u"/backup/"_s + c));
        copied.sort();
        QCOMPARE(copied, (QStringList{u"v2"_s, u"v3"_s}));
        QCOMPARE(errorOf([&] { copyDatabaseTo(path, backups, dir.filePath(u"none"_s), 2, now); }),
                 u"Le dossier %1 n'existe pas."_s.arg(dir.filePath(u"none"_s)));
        // Reminded a week after the last copy, and when there never was one.
        const QDate today(2026, 12, 7);
        QCOMPARE((QList<bool>{copyIsDue(u"2026-11-30"_s, today), copyIsDue(u"2026-11-29"_s, today),
                              copyIsDue(QString(), today), copyIsDue(u"bad"_s, today)}),
                 (QList<bool>{false, true, true, true}));

        // Older copies are thinned to the last of each day for a month, then of
        // each month: many saves a day keep the copy from before the day's work.
        QTemporaryDir tmp;
        const QString file = tmp.filePath(DB_NAME);
        const QString folder = tmp.filePath(u"backup"_s);
        QDateTime clock(QDate(2026, 9, 1), QTime(9, 0));
        QList<QDateTime> saved; // every version, each holding the time it was saved
        auto save = [&](const QDateTime& at) {
            SafeWriteOptions opt;
            opt.backupDir = folder;
            opt.now = at;
            safeWriteFile(file, at.toString(Qt::ISODate).toUtf8(), opt);
            saved << at;
            return setSavedAt(file, at);
        };
        for (; clock.date() < QDate(2026, 12, 7); clock = clock.addSecs(12 * 3600))
            QVERIFY(save(clock));
        for (int i = 0; i < 20; ++i)
            QVERIFY(save(clock.addSecs(i * 60))); // a day of sales, each saved
        saved.removeLast(); // the current file
        const QDate day = clock.date();
        const auto bucket = [&](const QDateTime& t) {
            return t.date().daysTo(day) <= 31 ? t.date().toString(Qt::ISODate) : t.toString(u"yyyy-MM"_s);
        };
        QMap<QString, QDateTime> newest; // of each day (month), the last version saved
        for (const QDateTime& t : std::as_const(saved))
            newest[bucket(t)] = t;
        QList<QDateTime> kept;
        for (const QString& c : backupCopies(folder, DB_NAME))
            kept << QDateTime::fromString(QString::fromUtf8(readFileBytes(QDir(folder).filePath(c))), Qt::ISODate);
        QCOMPARE(kept.mid(kept.size() - KEPT_BACKUPS), saved.mid(saved.size() - KEPT_BACKUPS));
        QCOMPARE(kept.at(kept.size() - KEPT_BACKUPS - 1), QDateTime(QDate(2026, 12, 6), QTime(21, 0)));
        QSet<QString> seen;
        for (const QDateTime& t : std::as_const(kept))
            seen.insert(bucket(t));
        QCOMPARE(seen.size(), newest.size()); // every day (month) keeps one
        for (const QDateTime& t : kept.mid(0, kept.size() - KEPT_BACKUPS))
            QCOMPARE(t, newest.value(bucket(t)));
    }
};

QTEST_GUILESS_MAIN(TstDbFile)
#include "tst_dbFile.moc"
