#include "fuzzEntries.h"

#include "core/appState.h"
#include "core/dbFile.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "core/appError.h"
#include "model/qntEvent.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryFile>

#include <cstdlib>

namespace {

// Answers nothing and shows nothing: the loader's messages are expected here.
class SilentPrompt : public Prompt {
public:
    void information(const QString&) override {}
    void error(const QString&) override {}
    Answer question(const QString&, bool) override { return Answer::No; }
    bool inputText(const QString&, const QString&, QString&) override { return false; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
};

QString text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

QString tempPath()
{
    QTemporaryFile f(QStringLiteral("/dev/shm/tlvfuzz-XXXXXX.tlvdb"));
    if (!f.open())
        std::abort();
    return f.fileName(); // removed on return; the name stays usable
}

} // namespace

namespace fuzzEntry {

int loadDb(const uint8_t* data, size_t size)
{
    const QString in = tempPath();
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    SilentPrompt prompt;
    AppState st;
    const LoadResult r = loadDB(in, st, prompt);
    QFile::remove(in);
    if (r != LoadResult::Loaded)
        return 0;

    // Whatever loads whole must save, and its saved form must be stable.
    const QString a = tempPath();
    const QString b = tempPath();
    saveDB(a, st);
    AppState again;
    if (loadDB(a, again, prompt) != LoadResult::Loaded)
        std::abort();
    saveDB(b, again);
    const bool same = readAll(a) == readAll(b);
    QFile::remove(a);
    QFile::remove(b);
    if (!same)
        std::abort();
    return 0;
}

int commaList(const uint8_t* data, size_t size)
{
    const QString list = text(data, size);
    const QStringList items = readCommaList(list);
    // Writing then reading gives the same items back.
    if (readCommaList(writeCommaList(items)) != items)
        std::abort();
    const int n = commaCount(list);
    if (n < 0)
        std::abort();
    for (int i = 0; i <= n; ++i)
        (void)getCommaItem(list, i);
    (void)commaSum(list);
    (void)addCommaItem(QStringLiteral("x"), list);
    (void)uniqueName(QStringLiteral("x"), list);
    if (n > 0) {
        QString copy = list;
        setCommaItem(copy, 0, QStringLiteral("y"));
        (void)delCommaItem(list, n - 1);
    }
    return 0;
}

int qntText(const uint8_t* data, size_t size)
{
    TQnt q;
    q.setQntText(text(data, size));
    for (int form = 0; form <= 4; ++form)
        (void)q.qntText(form);
    try {
        (void)q.totalQntStr();
        q.sortEvents();
    } catch (const AppError&) {
        // A quantity that is not an integer is reported, never a crash.
    }
    return 0;
}

} // namespace fuzzEntry
