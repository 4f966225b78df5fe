// Damaged database files: every cut, every bit of the head flipped, every
// byte set to each tag, and ten thousand seeded random mutations of real
// files. None may crash or hang; each loads or gives one of the loader's two
// messages, and loading never changes the file.

#include "core/appError.h"
#include "core/appState.h"
#include "core/dbFile.h"
#include "support/fakePrompt.h"
#include "support/sampleDb.h"
#include "support/testFiles.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstDbCorruption : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cutAtEveryOffset_data();
    void cutAtEveryOffset();
    void headBitFlips_data();
    void headBitFlips();
    void randomMutations_data();
    void randomMutations();
    void tagBytesAtEveryOffset();

private:
    // Loads bytes from a file and checks the outcome and that the file is untouched.
    void loadDamaged(const QByteArray& bytes, const QString& what, LoadResult* result = nullptr);
    void addReferenceRows();

    QTemporaryDir m_dir;
    QList<QPair<QString, QByteArray>> m_refs;
};

void TstDbCorruption::initTestCase()
{
    AppState st;
    fillSampleDatabase(st, 3, 2, 1);
    st.repList.curPeriod = 1;
    const QString path = m_dir.filePath(u"sample.tlvdb"_s);
    saveDB(path, st);
    m_refs.append({u"sample"_s, readFileBytes(path)});
    const QString realistic = QStringLiteral(TILVAR_TEST_DATA) + u"/sales-realistic.tlvdb"_s;
    if (QFileInfo::exists(realistic))
        m_refs.append({u"sales-realistic"_s, readFileBytes(realistic)});
    for (const auto& ref : std::as_const(m_refs)) {
        LoadResult r{};
        loadDamaged(ref.second, ref.first, &r);
        QCOMPARE(r, LoadResult::Loaded);
    }
}

void TstDbCorruption::loadDamaged(const QByteArray& bytes, const QString& what, LoadResult* result)
{
    const QString path = m_dir.filePath(u"damaged.tlvdb"_s);
    // A new file each time: rewriting a truncated one makes ext4 flush it to disk.
    QFile::remove(path);
    QVERIFY(writeFileBytes(path, bytes));
    const QDateTime before = QFileInfo(path).lastModified();
    AppState st;
    FakePrompt prompt;
    QElapsedTimer t;
    t.start();
    LoadResult r{};
    try {
        r = loadDB(path, st, prompt);
    } catch (const AppError& e) {
        QFAIL(qPrintable(what + u": raised "_s + e.message()));
    }
    QVERIFY2(t.elapsed() < 5000, qPrintable(what + u": took too long"_s));
    switch (r) {
    case LoadResult::Loaded:
        QVERIFY2(prompt.all.isEmpty(), qPrintable(what));
        break;
    case LoadResult::ReadError:
        QCOMPARE(prompt.errors, QStringList{READ_ERROR_MSG});
        break;
    case LoadResult::OldVersion:
        QCOMPARE(prompt.errors, QStringList{OLD_VERSION_MSG});
        break;
    case LoadResult::Missing:
        QFAIL(qPrintable(what + u": file reported missing"_s));
    }
    QCOMPARE(prompt.all.size(), prompt.errors.size());
    QCOMPARE(readFileBytes(path), bytes);
    QCOMPARE(QFileInfo(path).lastModified(), before);
    if (result)
        *result = r;
}

void TstDbCorruption::addReferenceRows()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const auto& ref : std::as_const(m_refs))
        QTest::newRow(qPrintable(ref.first)) << ref.second;
}

void TstDbCorruption::cutAtEveryOffset_data()
{
    addReferenceRows();
}

void TstDbCorruption::cutAtEveryOffset()
{
    QFETCH(QByteArray, bytes);
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        LoadResult r{};
        loadDamaged(bytes.left(n), u"cut at %1"_s.arg(n), &r);
        if (QTest::currentTestFailed())
            return;
        // Nothing is optional in the file: every cut is a read error.
        QCOMPARE(r, LoadResult::ReadError);
    }
}

void TstDbCorruption::headBitFlips_data()
{
    addReferenceRows();
}

void TstDbCorruption::headBitFlips()
{
    QFETCH(QByteArray, bytes);
    const qsizetype head = std::min<qsizetype>(64, bytes.size());
    for (qsizetype i = 0; i < head; ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray b = bytes;
            b[i] = char(b.at(i) ^ (1 << bit));
            loadDamaged(b, u"bit %1 of byte %2"_s.arg(bit).arg(i));
            if (QTest::currentTestFailed())
                return;
        }
    }
}

void TstDbCorruption::randomMutations_data()
{
    addReferenceRows();
}

void TstDbCorruption::randomMutations()
{
    QFETCH(QByteArray, bytes);
    const quint32 seed = 20260101;
    QRandomGenerator rng(seed);
    for (int n = 0; n < 5000; ++n) {
        QByteArray b = bytes;
        const int edits = rng.bounded(1, 5);
        for (int e = 0; e < edits && !b.isEmpty(); ++e) {
            const qsizetype at = rng.bounded(int(b.size()));
            switch (rng.bounded(5)) {
            case 0: b[at] = char(rng.bounded(256)); break;                  // overwrite
            case 1: b.remove(at, rng.bounded(1, 9)); break;                  // delete
            case 2: b.insert(at, char(rng.bounded(256))); break;             // insert
            case 3: b[at] = char(std::array{0x00, 0x01, 0x06, 0x0C, 0x12, 0x14, 0xFF}[rng.bounded(7)]); break;
            default: b.append(b.mid(at, rng.bounded(1, 64))); break;          // trailing junk
            }
        }
        loadDamaged(b, u"mutation %1 (seed %2)"_s.arg(n).arg(seed));
        if (QTest::currentTestFailed())
            return;
    }
}

void TstDbCorruption::tagBytesAtEveryOffset()
{
    // Every byte of an empty database followed by a 2 GB string length, set in
    // turn to each value tag and to the bytes at the ends of the range.
    AppState st;
    const QByteArray bytes = savedBytes(st) + QByteArray::fromHex("0CFFFFFF7F");
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        for (int v : {0x00, 0x01, 0x06, 0x0C, 0x12, 0x14, 0x7F, 0xFF}) {
            QByteArray b = bytes;
            b[i] = char(v);
            loadDamaged(b, u"byte %1 set to %2"_s.arg(i).arg(v));
            if (QTest::currentTestFailed())
                return;
        }
    }
}

QTEST_GUILESS_MAIN(TstDbCorruption)
#include "tst_dbCorruption.moc"
