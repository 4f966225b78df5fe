#include "core/dbLock.h"

using namespace Qt::StringLiterals;

DbLock::DbLock(const QString& dbPath) : m_lock(std::make_unique<QLockFile>(lockPath(dbPath)))
{
    // Only a holder that no longer runs is stale, however long ago it locked.
    m_lock->setStaleLockTime(0);
}

DbLock::~DbLock() = default;

QString DbLock::lockPath(const QString& dbPath)
{
    return dbPath + u".lock"_s;
}

bool DbLock::tryLock()
{
    if (m_lock->tryLock(0))
        return true;
    // A folder where no lock can be made (read-only, full) is one where no
    // other writer could make one either; the write itself says what fails.
    return m_lock->error() != QLockFile::LockFailedError;
}

bool DbLock::isLocked() const
{
    return m_lock->isLocked();
}

QString DbLock::holder(bool french) const
{
    qint64 pid = 0;
    QString host;
    QString app;
    if (!m_lock->getLockInfo(&pid, &host, &app))
        return {};
    if (app.isEmpty())
        app = u"?"_s;
    return french ? u"%1 (processus %2) sur %3"_s.arg(app).arg(pid).arg(host)
                  : u"%1 (process %2) on %3"_s.arg(app).arg(pid).arg(host);
}
