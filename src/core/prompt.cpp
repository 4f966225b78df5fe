#include "core/prompt.h"

#include <QDir>
#include <QFileInfo>

QString Prompt::folderName(const QString&, const QString&)
{
    return {};
}

QString Prompt::saveFileAsked(const QString& caption, const QString& dir, const QString& filter,
                              const QString& defaultSuffix)
{
    QString start = dir;
    for (;;) {
        QString name = saveFileName(caption, start, filter, defaultSuffix);
        if (name.isEmpty())
            return {};
        const QString ending = QLatin1Char('.') + defaultSuffix;
        if (!defaultSuffix.isEmpty() && !name.endsWith(ending, Qt::CaseInsensitive))
            name += ending;
        // Links followed: what is there is what the write replaces.
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return name;
        const QString question = QStringLiteral("Le fichier « %1 » existe déjà dans %2.\nLe remplacer ?")
                                     .arg(QFileInfo(name).fileName(),
                                          QDir::toNativeSeparators(QFileInfo(name).absolutePath()));
        const Answer answer = this->question(question, true);
        if (answer == Answer::Yes)
            return name;
        if (answer == Answer::Cancel)
            return {};
        start = name; // Non: another name
    }
}
