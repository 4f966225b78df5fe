#include "core/backupCopies.h"

#include "core/appError.h"
#include "core/safeWrite.h"
#include "core/sysCause.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString STAMP_FORMAT = u"yyyyMMdd-HHmmsszzz"_s;
const QString FOREVER_TAIL = u"-damaged"_s;
// Copies up to this many days old keep one per day; older ones one per month.
constexpr int DAILY_DAYS = 31;

QString dotSuffix(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.isEmpty() ? QString() : u'.' + suffix;
}

// "boutique-20261207-093000123-s000042.tlvdb"; before numbering the copies
// were "boutique-20261207-093000123[-2].tlvdb".
QRegularExpression copyPattern(const QString& fileName)
{
    return QRegularExpression(u"^%1-(\\d{8}-\\d{9})(?:-(\\d+))?(?:-s(\\d+))?%2$"_s.arg(
        QRegularExpression::escape(QFileInfo(fileName).completeBaseName()),
        QRegularExpression::escape(dotSuffix(fileName))));
}

// The highest sequence number of fileName's copies in dir, those kept for good included.
qint64 lastSequence(const QString& dir, const QString& fileName)
{
    const QRegularExpression numbered(u"^%1-\\d{8}-\\d{9}-s(\\d+)(?:%2)?%3$"_s.arg(
        QRegularExpression::escape(QFileInfo(fileName).completeBaseName()), FOREVER_TAIL,
        QRegularExpression::escape(dotSuffix(fileName))));
    qint64 last = 0;
    const QStringList names = QDir(dir).entryList(QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = numbered.match(name);
        if (m.hasMatch())
            last = std::max(last, m.captured(1).toLongLong());
    }
    return last;
}

AppError copyError(const QString& copy, const QString& why)
{
    return AppError(
        u"Impossible de faire la copie de sauvegarde « %1 ». %2"_s.arg(QDir::toNativeSeparators(copy), why));
}

// Where no hard link can be made (another file system), the bytes are copied
// into the new name, synced before the name counts.
void copyBytes(const QString& path, const QString& copy)
{
    QFile old(path);
    if (!old.open(QIODevice::ReadOnly))
        throw copyError(copy, old.errorString());
    const int fd = ::open(QFile::encodeName(copy).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw copyError(copy, systemCause(errno));
    int err = 0;
    while (err == 0 && !old.atEnd()) {
        const QByteArray block = old.read(1 << 20);
        if (block.isEmpty()) {
            err = EIO;
            break;
        }
        for (qsizetype done = 0; done < block.size();) {
            const ssize_t n = ::write(fd, block.constData() + done, size_t(block.size() - done));
            if (n <= 0) {
                err = n < 0 ? errno : EIO;
                break;
            }
            done += n;
        }
    }
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    ::close(fd);
    if (err != 0) {
        QFile::remove(copy);
        throw copyError(copy, systemCause(err));
    }
}

} // namespace

QList<BackupCopy> listBackups(const QString& backupDir, const QString& fileName)
{
    const QRegularExpression pattern = copyPattern(fileName);
    QList<BackupCopy> copies;
    const QStringList names = QDir(backupDir).entryList(QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch())
            continue;
        BackupCopy c;
        c.name = name;
        c.stamp = QDateTime::fromString(m.captured(1), STAMP_FORMAT);
        c.dup = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        c.seq = m.captured(3).toLongLong();
        copies << c;
    }
    // Numbered copies in the order of their saves; those named before
    // numbering came first, in the order of their dates.
    std::sort(copies.begin(), copies.end(), [](const BackupCopy& a, const BackupCopy& b) {
        if (a.seq != b.seq)
            return a.seq < b.seq;
        if (a.stamp != b.stamp)
            return a.stamp < b.stamp;
        return a.dup != b.dup ? a.dup < b.dup : a.name < b.name;
    });
    return copies;
}

QStringList backupCopies(const QString& backupDir, const QString& fileName)
{
    QStringList names;
    for (const BackupCopy& c : listBackups(backupDir, fileName))
        names << c.name;
    return names;
}

QString makeBackup(const QString& path, const QString& backupDir, bool keepForever)
{
    const QFileInfo fi(path);
    if (!QDir().mkpath(backupDir) || !QFileInfo(backupDir).isDir())
        throw AppError(u"Impossible de créer le dossier des copies de sauvegarde « %1 »."_s.arg(
            QDir::toNativeSeparators(backupDir)));
    const QDateTime saved = fi.lastModified();
    const QString stamp = (saved.isValid() ? saved : QDateTime::currentDateTime()).toString(STAMP_FORMAT);
    const QDir dir(backupDir);
    // A hard link costs nothing and keeps the old content, since the replace
    // puts a new file in its place.
    for (qint64 seq = lastSequence(backupDir, fi.fileName()) + 1;; ++seq) {
        const QString name = fi.completeBaseName() + u'-' + stamp + u"-s"_s
                             + QString::number(seq).rightJustified(6, u'0')
                             + (keepForever ? FOREVER_TAIL : QString()) + dotSuffix(fi.fileName());
        const QString copy = dir.filePath(name);
        if (::link(QFile::encodeName(path).constData(), QFile::encodeName(copy).constData()) != 0) {
            if (errno == EEXIST)
                continue;
            copyBytes(path, copy);
        }
        // The copy's name must be on disk before the save replaces the file it keeps.
        try {
            syncFolder(backupDir);
        } catch (const AppError& e) {
            QFile::remove(copy);
            throw copyError(copy, e.message());
        }
        return copy;
    }
}

void thinBackups(const QString& backupDir, const QString& fileName, int keep, const QDateTime& now)
{
    const QList<BackupCopy> copies = listBackups(backupDir, fileName);
    const QDate today = now.date();
    const auto bucket = [&](const BackupCopy& c) {
        if (!c.stamp.isValid())
            return u"?"_s + c.name; // no date to thin by: kept
        const QDate d = c.stamp.date();
        return d.daysTo(today) <= DAILY_DAYS ? d.toString(u"'d'yyyyMMdd"_s) : d.toString(u"'m'yyyyMM"_s);
    };
    // From the latest save back: each day (or month) keeps its latest copy.
    QSet<QString> taken;
    const QDir dir(backupDir);
    for (qsizetype i = copies.size() - 1; i >= 0; --i) {
        const BackupCopy& c = copies.at(i);
        const bool recent = copies.size() - i <= keep;
        const QString b = bucket(c);
        if (!recent && taken.contains(b))
            QFile::remove(dir.filePath(c.name));
        taken.insert(b);
    }
}
