// Damaged database files: every cut and seeded random mutations of real
// files (bytes set to tags among them). None may crash or hang; each loads or
// gives one of the loader's two messages, and loading never changes the file. (The reader's own refusals are in tst_valueStream,
// inputs the fuzzers found in tst_fuzzRegressions.)

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "support/fakePrompt.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstDbCorruption : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Loads bytes from a file; checks the outcome and that the file is untouched.
    LoadResult loadDamaged(const QByteArray& bytes, const QString& what)
    {
        const QString path = m_dir.filePath(u"damaged.tlvdb"_s);
        // A new file each time: rewriting a truncated one makes ext4 flush it to disk.
        QFile::remove(path);
        const bool written = writeFileBytes(path, bytes);
        const QDateTime before = QFileInfo(path).lastModified();
        AppState st;
        FakePrompt prompt;
        LoadResult r{};
        try {
            r = loadDB(path, st, prompt);
        } catch (const AppError& e) {
            QTest::qFail(qPrintable(what + u": raised "_s + e.message()), __FILE__, __LINE__);
            return LoadResult::Missing;
        }
        // One message when refused (the loader's, with what follows the end
        // of the file or a newer version named); when loaded, at most the
        // note naming a record that holds a character no report can show.
        const QString one = prompt.all.size() == 1 ? prompt.all.first() : QString();
        const bool told = r == LoadResult::OldVersion ? one == OLD_VERSION_MSG
                          : r == LoadResult::Loaded   ? prompt.all.isEmpty() || one.contains(u"rapport ne peut pas"_s)
                                                      : one.startsWith(READ_ERROR_MSG);
        if (!written || r == LoadResult::Missing || !told || readFileBytes(path) != bytes
            || QFileInfo(path).lastModified() != before)
            QTest::qFail(qPrintable(what + u": wrong outcome, messages or file"_s), __FILE__, __LINE__);
        return r;
    }

private slots:
    void damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        AppState st;
        fillSampleDatabase(st, 3, 2, 1);
        st.repList.curPeriod = 1;
        QTest::newRow("sample") << savedBytes(st);
        QTest::newRow("sales-realistic") << readFileBytes(QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb"));
    }

    void damaged()
    {
        QFETCH(QByteArray, bytes);
        static const std::array<char, 8> tags{0x00, 0x01, 0x06, 0x0C, 0x12, 0x14, 0x7F, char(0xFF)};
        QCOMPARE(loadDamaged(bytes, u"undamaged"_s), LoadResult::Loaded);
        // Nothing is optional in the file: every cut is a read error.
        for (qsizetype n = 0; n < bytes.size() && !QTest::currentTestFailed(); ++n) {
            const LoadResult r = loadDamaged(bytes.left(n), u"cut at %1"_s.arg(n));
            QVERIFY2(r == LoadResult::ReadError || QTest::currentTestFailed(), qPrintable(u"cut at %1"_s.arg(n)));
        }
        const quint32 seed = 20260101;
        QRandomGenerator rng(seed);
        for (int n = 0; n < 5000 && !QTest::currentTestFailed(); ++n) {
            QByteArray b = bytes;
            for (int e = rng.bounded(1, 5); e > 0 && !b.isEmpty(); --e) {
                const qsizetype at = rng.bounded(int(b.size()));
                switch (rng.bounded(5)) {
                case 0: b[at] = char(rng.bounded(256)); break;                  // overwrite
                case 1: b.remove(at, rng.bounded(1, 9)); break;                  // delete
                case 2: b.insert(at, char(rng.bounded(256))); break;             // insert
                case 3: b[at] = tags[rng.bounded(int(tags.size()))]; break;      // a tag
                default: b.append(b.mid(at, rng.bounded(1, 64))); break;         // trailing junk
                }
            }
            loadDamaged(b, u"mutation %1 (seed %2)"_s.arg(n).arg(seed));
        }
    }
};

QTEST_GUILESS_MAIN(TstDbCorruption)
#include "tst_dbCorruption.moc"
