#include "core/safeWrite.h"

#include "core/appError.h"
#include "core/backupCopies.h"
#include "core/sysCause.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

// A rename is durable only once its folder is synced.
void syncFolder(const QString& dir, const WriteFaults* faults)
{
    if (faults && faults->failSync)
        throw AppError(injected(faults, QStringLiteral("Injected failure of the folder sync")));
    ::syncFolder(dir);
}

// Our temporaries are "<file>.~tlvtmp-" and six letters or digits: a name
// nobody types. Each stays locked while its save lives, so that another save
// removes only what a save cut short left behind.
const QString TEMP_MARK = QStringLiteral(".~tlvtmp-");

bool isOurTemporaryName(const QString& name, const QString& fileName)
{
    if (name.size() != fileName.size() + TEMP_MARK.size() + 6 || !name.startsWith(fileName + TEMP_MARK))
        return false;
    const QString tail = name.right(6);
    return std::all_of(tail.cbegin(), tail.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
    });
}

// The temporary file a save writes before it replaces its target; removed
// unless it replaced the target.
class OwnTemporary {
public:
    explicit OwnTemporary(const QString& target) : m_target(target)
    {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int tries = 0; m_fd < 0; ++tries) {
            QString tail;
            for (int i = 0; i < 6; ++i)
                tail += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
            m_name = target + TEMP_MARK + tail;
            m_fd = ::open(QFile::encodeName(m_name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          0666);
            if (m_fd < 0 && (errno != EEXIST || tries > 100))
                throw AppError(createError(target, errnoText(errno)));
        }
        ::flock(m_fd, LOCK_EX);
        // A replaced file keeps its permissions.
        struct stat old {};
        if (::stat(QFile::encodeName(target).constData(), &old) == 0)
            ::fchmod(m_fd, old.st_mode & 07777);
        m_file.open(m_fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
    }
    ~OwnTemporary()
    {
        m_file.close();
        if (!m_renamed)
            ::unlink(QFile::encodeName(m_name).constData());
        ::close(m_fd);
    }
    OwnTemporary(const OwnTemporary&) = delete;
    OwnTemporary& operator=(const OwnTemporary&) = delete;

    QFile& file() { return m_file; }

    void putOnDisk()
    {
        if (::fsync(m_fd) != 0)
            throw AppError(writeError(m_target, errnoText(errno)));
    }
    void replaceTarget(const WriteFaults* faults)
    {
        m_file.close();
        if (faults && faults->failReplace)
            throw AppError(writeError(m_target, injected(faults, QStringLiteral("Injected failure of the replace"))));
        if (::rename(QFile::encodeName(m_name).constData(), QFile::encodeName(m_target).constData()) != 0)
            throw AppError(writeError(m_target, errnoText(errno)));
        m_renamed = true;
    }

private:
    QString m_target;
    QString m_name;
    QFile m_file;
    int m_fd = -1;
    bool m_renamed = false;
};

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

// A regular file of our temporary's name that no save holds any more.
bool removeIfLeftBehind(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat sb {};
    if (::lstat(name.constData(), &sb) != 0 || !S_ISREG(sb.st_mode))
        return false;
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool unheld = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool removed = unheld && ::unlink(name.constData()) == 0;
    ::close(fd);
    return removed;
}

void removeOurTemporaries(const QFileInfo& target, QHash<QString, QStringList>* listings)
{
    const QDir dir = target.absoluteDir();
    const QStringList names = temporaryCandidates(target, listings);
    for (const QString& name : names) {
        if (isOurTemporaryName(name, target.fileName()))
            removeIfLeftBehind(dir.filePath(name));
    }
}

// The shape of the temporaries earlier versions left ("<file>.XXXXXX", six
// letters and digits, mixed case): never removed, since a person may have
// chosen such a name, but shown by the checks.
bool looksLikeOldTemporary(const QString& name, const QString& fileName)
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
    return upper && lower;
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

} // namespace

OutputClash outputClash(const QString& path, const QStringList& inputs)
{
    OutputClash clash;
    struct stat out {};
    if (::stat(QFile::encodeName(path).constData(), &out) != 0)
        return clash; // nothing there yet (or a folder that is not one: the write says so)
    if (!S_ISREG(out.st_mode)) {
        clash.kind = OutputClash::Kind::NotRegular;
        clash.mode = out.st_mode;
        return clash;
    }
    for (const QString& input : inputs) {
        struct stat in {};
        if (!input.isEmpty() && ::stat(QFile::encodeName(input).constData(), &in) == 0 && in.st_dev == out.st_dev
            && in.st_ino == out.st_ino) {
            clash.kind = OutputClash::Kind::SameAsInput;
            clash.input = input;
            return clash;
        }
    }
    return clash;
}

QString outputRefusal(const QString& path, const QStringList& inputs)
{
    const OutputClash clash = outputClash(path, inputs);
    switch (clash.kind) {
    case OutputClash::Kind::None:
        break;
    case OutputClash::Kind::SameAsInput:
        return QStringLiteral("« %1 » est le fichier « %2 », qui est lu : il n'est pas remplacé.")
            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(clash.input));
    case OutputClash::Kind::NotRegular:
        return QStringLiteral("Impossible d'écrire « %1 » : %2 ; rien n'est écrit à travers lui.")
            .arg(QDir::toNativeSeparators(path), notRegularFile(path));
    }
    return {};
}

QStringList unprovenLeftovers(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo target(followLinks(path));
    QStringList found;
    const QStringList names = temporaryCandidates(target, nullptr);
    for (const QString& name : names) {
        if (looksLikeOldTemporary(name, target.fileName())
            || (isOurTemporaryName(name, target.fileName()) && QFileInfo(target.dir().filePath(name)).isFile()))
            found << target.dir().filePath(name);
    }
    return found;
}

QString leftoversNote(const QStringList& leftovers)
{
    if (leftovers.isEmpty())
        return {};
    QStringList names;
    for (const QString& f : leftovers)
        names << QDir::toNativeSeparators(f);
    return QStringLiteral("\n\nFichiers à côté de la base qui ont peut-être été laissés par un enregistrement "
                          "interrompu (ils ne sont pas supprimés : supprimez-les vous-même s'ils ne vous servent "
                          "pas) :\n")
           + names.join(QLatin1Char('\n'));
}

void safeWriteFile(const QString& linkPath, const std::function<void(QIODevice&)>& produce,
                   const SafeWriteOptions& options)
{
    if (const QString why = outputRefusal(linkPath, options.inputs); !why.isEmpty())
        throw AppError(why);
    const QString path = followLinks(linkPath);
    const WriteFaults* faults = options.faults;
    const QFileInfo target(path);
    removeOurTemporaries(target, options.listings.get());

    OwnTemporary temp(path);
    fill(temp.file(), path, produce, faults, [] {});
    if (!options.syncNow) {
        // Whole or not at all, but on disk only with the batch's sync.
        temp.replaceTarget(faults);
        return;
    }
    temp.putOnDisk();
    QString backup;
    if (!options.backupDir.isEmpty() && target.exists())
        backup = makeBackup(path, options.backupDir, options.keepBackupForever);
    try {
        temp.replaceTarget(faults);
    } catch (const AppError&) {
        if (!backup.isEmpty())
            QFile::remove(backup); // the file it copies is still in place
        throw;
    }
    try {
        syncFolder(target.absolutePath(), faults);
    } catch (const AppError& e) {
        throw AppError(writeError(path, e.message()));
    }
    if (!backup.isEmpty() && !options.keepBackupForever)
        thinBackups(options.backupDir, target.fileName(), options.keepBackups,
                    options.now.isValid() ? options.now : QDateTime::currentDateTime());
}

void syncFolder(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw AppError(errnoText(errno));
    const int r = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (r != 0)
        throw AppError(errnoText(err));
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
