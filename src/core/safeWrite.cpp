#include "core/safeWrite.h"

#include "core/appError.h"

#include <QDir>
#include <QSaveFile>

namespace {

QString createError(const QString& path, const QString& why)
{
    return QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), why);
}

QString writeError(const QString& path, const QString& why)
{
    return QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(path), why);
}

} // namespace

void safeWriteFile(const QString& path, const std::function<void(QIODevice&)>& produce)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(createError(path, file.errorString()));
    try {
        produce(file);
    } catch (const AppError& e) {
        file.cancelWriting();
        throw AppError(writeError(path, e.message()));
    }
    if (file.error() != QFileDevice::NoError) {
        const QString why = file.errorString();
        file.cancelWriting();
        throw AppError(writeError(path, why));
    }
    if (!file.commit())
        throw AppError(writeError(path, file.errorString()));
}

void safeWriteFile(const QString& path, const QByteArray& data)
{
    safeWriteFile(path, [&data](QIODevice& dev) {
        if (dev.write(data) != data.size())
            throw AppError(dev.errorString());
    });
}
