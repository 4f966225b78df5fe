#include "core/sysCause.h"

#include <QFile>
#include <QFileDevice>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QString known(int err)
{
    switch (err) {
    case ENOSPC:
        return u"plus d'espace libre sur le disque"_s;
    case EDQUOT:
        return u"quota de disque dépassé"_s;
    case EACCES:
    case EPERM:
        return u"permission refusée"_s;
    case EROFS:
        return u"système de fichiers en lecture seule"_s;
    case EFBIG:
        return u"fichier trop volumineux"_s;
    case ENAMETOOLONG:
        return u"nom de fichier trop long"_s;
    case ENOENT:
        return u"dossier ou fichier inexistant"_s;
    case ENOTDIR:
        return u"un élément du chemin n'est pas un dossier"_s;
    case EISDIR:
        return u"c'est un dossier"_s;
    case EIO:
        return u"erreur d'entrée-sortie du disque"_s;
    case EMFILE:
    case ENFILE:
        return u"trop de fichiers ouverts"_s;
    case EXDEV:
        return u"autre système de fichiers"_s;
    case ELOOP:
        return u"trop de liens symboliques"_s;
    default:
        return {};
    }
}

} // namespace

QString systemCause(int err, const QString& fallback)
{
    const QString text = known(err);
    if (!text.isEmpty())
        return text;
    return fallback.isEmpty() ? QString::fromLocal8Bit(std::strerror(err)) : fallback;
}

QString deviceCause(const QFileDevice& file, int err)
{
    return systemCause(err, file.errorString());
}

QString notRegularFile(const QString& path)
{
    struct stat sb {};
    if (::stat(QFile::encodeName(path).constData(), &sb) != 0 || S_ISREG(sb.st_mode))
        return {};
    if (S_ISDIR(sb.st_mode))
        return u"c'est un dossier, pas un fichier"_s;
    if (S_ISFIFO(sb.st_mode))
        return u"c'est un tube nommé (FIFO), pas un fichier"_s;
    if (S_ISSOCK(sb.st_mode))
        return u"c'est une socket, pas un fichier"_s;
    return u"c'est un périphérique, pas un fichier"_s;
}
