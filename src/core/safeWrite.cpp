#include "core/safeWrite.h"

#include "core/appError.h"
#include "core/sysCause.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString injected(const WriteFaults* faults, const QString& testText)
{
    return faults && faults->errnoCode ? systemCause(faults->errnoCode) : testText;
}

QString createError(const QString& path, const QString& why)
{
    return QStringLiteral("Impossible de créer le fichier « %1 ». %2")
        .arg(QDir::toNativeSeparators(path), why);
}

QString writeError(const QString& path, const QString& why)
{
    return QStringLiteral("Impossible d'écrire le fichier « %1 ». %2")
        .arg(QDir::toNativeSeparators(path), why);
}

// Passes writes on to the temporary file, counting them so a test can make
// one fail, and remembering any failure even if the producer ignores it.
class FileSink : public QIODevice {
public:
    FileSink(QFileDevice& target, const WriteFaults* faults) : m_target(target), m_faults(faults)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override
    {
        if (m_failed)
            return -1;
        ++m_writes;
        if (m_faults && m_faults->failWrite == m_writes)
            return fail(injected(m_faults, QStringLiteral("Injected failure of write %1").arg(m_writes)));
        const qint64 n = m_target.write(data, len);
        if (n != len)
            return fail(deviceCause(m_target, errno));
        return n;
    }

private:
    qint64 fail(const QString& why)
    {
        m_failed = true;
        setErrorString(why);
        return -1;
    }

    QFileDevice& m_target;
    const WriteFaults* m_faults;
    int m_writes = 0;
    bool m_failed = false;
};

// The content produce writes, complete and flushed into file; cancel drops
// the file before an error is raised.
void fill(QFileDevice& file, const QString& path, const std::function<void(QIODevice&)>& produce,
          const WriteFaults* faults, const std::function<void()>& cancel)
{
    {
        FileSink sink(file, faults);
        try {
            produce(sink);
        } catch (const AppError& e) {
            cancel();
            throw AppError(writeError(path, sink.failed() ? sink.errorString() : e.message()));
        }
        if (sink.failed()) {
            cancel();
            throw AppError(writeError(path, sink.errorString()));
        }
    }
    if (faults && faults->failFlush) {
        cancel();
        throw AppError(writeError(path, injected(faults, QStringLiteral("Injected failure of the flush"))));
    }
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString why = deviceCause(file, errno);
        cancel();
        throw AppError(writeError(path, why));
    }
}

QString errnoText(int err)
{
    return systemCause(err);
}

// Whole or not at all, as with QSaveFile, but without its sync: a batch of
// such files has its file system synced once, at its end.
void writeUnsynced(const QString& path, const std::function<void(QIODevice&)>& produce,
                   const WriteFaults* faults)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX")); // removed with it unless renamed
    errno = 0;
    if (!file.open())
        throw AppError(createError(path, deviceCause(file, errno)));
    fill(file, path, produce, faults, [] {});
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    file.close();
    if (faults && faults->failReplace)
        throw AppError(writeError(path, injected(faults, QStringLiteral("Injected failure of the replace"))));
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        const int err = errno;
        throw AppError(writeError(path, errnoText(err)));
    }
    file.setAutoRemove(false);
}

// A rename is durable only once its folder is synced.
void syncFolder(const QString& dir, const WriteFaults* faults)
{
    if (faults && faults->failSync)
        throw AppError(injected(faults, QStringLiteral("Injected failure of the folder sync")));
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw AppError(errnoText(errno));
    const int r = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (r != 0)
        throw AppError(errnoText(err));
}

// QSaveFile gives its temporary file a name ("<file>.XXXXXX", six random
// letters and digits) for a moment before renaming it over the target; a save
// killed in that moment leaves it. Names a person would choose ("bak123",
// "Backup", "OLD") do not have the mixed case of the random part and are kept.
bool looksLikeStaleTemporary(const QString& name, const QString& fileName)
{
    if (name.size() != fileName.size() + 7 || !name.startsWith(fileName + QLatin1Char('.')))
        return false;
    const QString tail = name.right(6);
    bool upper = false;
    bool lower = false;
    for (const QChar c : tail) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            upper = true;
        else if (u >= u'a' && u <= u'z')
            lower = true;
        else if (u < u'0' || u > u'9')
            return false;
    }
    const bool capitalized = tail.at(0).isUpper() && tail.mid(1) == tail.mid(1).toLower();
    return upper && lower && !capitalized;
}

// The names in the target's folder that start with its name and a dot: listed
// now, or taken from the batch's listing of the folder.
QStringList temporaryCandidates(const QFileInfo& target, QHash<QString, QStringList>* listings)
{
    const QDir dir = target.absoluteDir();
    const QString prefix = target.fileName() + QLatin1Char('.');
    const auto filters = QDir::Files | QDir::Hidden | QDir::System;
    if (!listings)
        return dir.entryList({prefix + QLatin1Char('*')}, filters);
    auto listed = listings->find(dir.absolutePath());
    if (listed == listings->end()) {
        QStringList all = dir.entryList(filters);
        std::sort(all.begin(), all.end());
        listed = listings->insert(dir.absolutePath(), all);
    }
    QStringList names;
    for (auto it = std::lower_bound(listed->cbegin(), listed->cend(), prefix);
         it != listed->cend() && it->startsWith(prefix); ++it)
        names << *it;
    return names;
}

void removeStaleTemporaries(const QFileInfo& target, QHash<QString, QStringList>* listings)
{
    const QDir dir = target.absoluteDir();
    const QStringList names = temporaryCandidates(target, listings);
    for (const QString& name : names) {
        if (looksLikeStaleTemporary(name, target.fileName()))
            QFile::remove(dir.filePath(name));
    }
}

QRegularExpression backupPattern(const QString& fileName)
{
    const QFileInfo fi(fileName);
    const QString suffix = fi.suffix().isEmpty() ? QString() : QLatin1Char('.') + fi.suffix();
    return QRegularExpression(QStringLiteral("^%1-(\\d{8}-\\d{9})(?:-(\\d+))?%2$")
                                  .arg(QRegularExpression::escape(fi.completeBaseName()),
                                       QRegularExpression::escape(suffix)));
}

// The backup's name must be on disk before the save replaces the file it keeps.
void syncBackupFolder(const QString& dir, const QString& copy)
{
    try {
        syncFolder(dir, nullptr);
    } catch (const AppError& e) {
        QFile::remove(copy);
        throw AppError(QStringLiteral("Impossible de faire la copie de sauvegarde « %1 ». %2")
                           .arg(QDir::toNativeSeparators(copy), e.message()));
    }
}

// The file a save through path replaces: the end of any chain of symbolic
// links (a database linked into a synced folder is saved and backed up there).
QString followLinks(const QString& path)
{
    QFileInfo info(path);
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops)
        info = QFileInfo(info.symLinkTarget());
    return info.isSymLink() ? path : info.absoluteFilePath();
}

// Keeps the replaced version under a dated name. A hard link costs nothing and
// keeps the old content, since the replace puts a new file in its place.
QString makeBackup(const QString& path, const SafeWriteOptions& opt)
{
    const QFileInfo fi(path);
    if (!QDir().mkpath(opt.backupDir))
        throw AppError(
            QStringLiteral("Impossible de créer le dossier des copies de sauvegarde « %1 ».")
                .arg(QDir::toNativeSeparators(opt.backupDir)));
    const QString suffix = fi.suffix().isEmpty() ? QString() : QLatin1Char('.') + fi.suffix();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmsszzz"));
    const QString tail = opt.keepBackupForever ? QStringLiteral("-damaged") : QString();
    const QDir dir(opt.backupDir);
    for (int n = 1;; ++n) {
        const QString name = fi.completeBaseName() + QLatin1Char('-') + stamp
            + (n > 1 ? QLatin1Char('-') + QString::number(n) : QString()) + tail + suffix;
        const QString copy = dir.filePath(name);
        if (QFileInfo::exists(copy))
            continue;
        if (::link(QFile::encodeName(path).constData(), QFile::encodeName(copy).constData()) == 0) {
            syncBackupFolder(opt.backupDir, copy);
            return copy;
        }
        if (errno == EEXIST)
            continue;
        // Another file system, or no hard links: copy the bytes instead.
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("Impossible de faire la copie de sauvegarde « %1 ». %2")
                               .arg(QDir::toNativeSeparators(copy), old.errorString()));
        QSaveFile out(copy);
        bool ok = out.open(QIODevice::WriteOnly);
        while (ok && !old.atEnd()) {
            const QByteArray block = old.read(1 << 20);
            ok = !block.isEmpty() && out.write(block) == block.size();
        }
        if (!ok || !out.commit())
            throw AppError(QStringLiteral("Impossible de faire la copie de sauvegarde « %1 ». %2")
                               .arg(QDir::toNativeSeparators(copy), deviceCause(out, errno)));
        syncBackupFolder(opt.backupDir, copy);
        return copy;
    }
}

void rotateBackups(const QString& backupDir, const QString& fileName, int keep)
{
    const QStringList copies = backupCopies(backupDir, fileName);
    const QDir dir(backupDir);
    for (qsizetype i = 0; i + keep < copies.size(); ++i)
        QFile::remove(dir.filePath(copies.at(i)));
}

} // namespace

QStringList backupCopies(const QString& backupDir, const QString& fileName)
{
    const QRegularExpression pattern = backupPattern(fileName);
    struct Entry {
        QString stamp;
        int n;
        QString name;
    };
    QList<Entry> entries;
    const QStringList names = QDir(backupDir).entryList(QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (m.hasMatch())
            entries.append({m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt(), name});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.n < b.n;
    });
    QStringList out;
    for (const Entry& e : std::as_const(entries))
        out << e.name;
    return out;
}

void safeWriteFile(const QString& linkPath, const std::function<void(QIODevice&)>& produce,
                   const SafeWriteOptions& options)
{
    const QString path = followLinks(linkPath);
    const WriteFaults* faults = options.faults;
    const QFileInfo target(path);
    removeStaleTemporaries(target, options.listings.get());

    if (!options.syncNow) {
        writeUnsynced(path, produce, faults);
        return;
    }
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(createError(path, deviceCause(file, errno)));
    fill(file, path, produce, faults, [&file] { file.cancelWriting(); });

    QString backup;
    if (!options.backupDir.isEmpty() && target.exists()) {
        try {
            backup = makeBackup(path, options);
        } catch (const AppError&) {
            file.cancelWriting();
            throw;
        }
    }
    errno = 0;
    const bool replaced = !(faults && faults->failReplace) && file.commit();
    if (!replaced) {
        const QString why = (faults && faults->failReplace)
            ? injected(faults, QStringLiteral("Injected failure of the replace"))
            : deviceCause(file, errno);
        file.cancelWriting();
        if (!backup.isEmpty())
            QFile::remove(backup); // the file it copies is still in place
        throw AppError(writeError(path, why));
    }
    try {
        syncFolder(target.absolutePath(), faults);
    } catch (const AppError& e) {
        throw AppError(writeError(path, e.message()));
    }
    if (!backup.isEmpty() && !options.keepBackupForever)
        rotateBackups(options.backupDir, target.fileName(), options.keepBackups);
}

SafeWriteOptions batchOptions()
{
    SafeWriteOptions options;
    options.syncNow = false;
    options.listings = std::make_shared<QHash<QString, QStringList>>();
    return options;
}

void writeBatch(const std::function<void()>& write, const std::function<void()>& sync)
{
    try {
        write();
    } catch (const AppError&) {
        try {
            sync();
        } catch (const AppError&) {
        }
        throw;
    }
    sync();
}

void safeWriteFile(const QString& path, const QByteArray& data, const SafeWriteOptions& options)
{
    safeWriteFile(
        path,
        [&data](QIODevice& dev) {
            if (dev.write(data) != data.size())
                throw AppError(dev.errorString());
        },
        options);
}

void syncFileSystem(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int r = fd < 0 ? -1 : ::syncfs(fd);
    const int err = errno;
    if (fd >= 0)
        ::close(fd);
    if (r != 0)
        throw AppError(QStringLiteral("Impossible d'écrire sur le disque le dossier « %1 ». %2")
                           .arg(QDir::toNativeSeparators(dir), errnoText(err)));
}
