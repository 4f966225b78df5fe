#include "ui/widgets/frenchPrompt.h"

#include <QDir>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

struct Notice {
    QRegularExpression english;
    QString french; // %1: the English text; %2: the file it names, if any
};

const Notice& noticeAt(int i)
{
    static const Notice notices[] = {
        {QRegularExpression(u"^Error reading file.*newer program"_s, QRegularExpression::DotMatchesEverythingOption),
         u"Ce fichier a été écrit par une version plus récente du programme (« %1 ») : il n'a pas été ouvert. "
         "Ouvrez-le avec cette version-là, ou ouvrez une autre base."_s},
        {QRegularExpression(u"^Error reading file"_s),
         u"Le fichier n'a pas pu être lu en entier (« %1 »). Ce qui a pu être lu est ouvert : vérifiez-le avant "
         "d'enregistrer, ou reprenez la dernière version avec Fichier > Restaurer une sauvegarde..."_s},
        {QRegularExpression(u"^Unable to write to (.+)$"_s),
         u"Le fichier %2 n'a pas pu être écrit (« %1 »). Vérifiez que son dossier existe, qu'il reste de la place "
         "sur le disque et que le fichier n'est pas protégé en écriture, puis recommencez."_s},
        {QRegularExpression(u"^(?:File )?(.*) was not found$"_s),
         u"Le fichier %2 est introuvable (« %1 »). Vérifiez qu'il est encore dans le dossier des données, ou "
         "choisissez-en un autre avec Fichier > Importer."_s},
        {QRegularExpression(u"^(?:List index out of bounds|Integer overflow|Stream write error|'.*' is not a valid "
                            "integer value)"_s),
         u"Le programme a rencontré une erreur (« %1 ») : l'opération n'a pas été faite. Enregistrez votre travail "
         "et signalez ce message."_s},
    };
    return notices[i];
}
constexpr int NOTICES = 5;

} // namespace

QString inFrench(const QString& text)
{
    for (int i = 0; i < NOTICES; ++i) {
        const QRegularExpressionMatch m = noticeAt(i).english.match(text);
        if (!m.hasMatch())
            continue;
        const QString file = m.lastCapturedIndex() >= 1 && !m.captured(1).isEmpty()
                                 ? u"« "_s + QDir::toNativeSeparators(m.captured(1)) + u" »"_s
                                 : u"choisi"_s;
        const QString& french = noticeAt(i).french;
        return french.contains(u"%2"_s) ? french.arg(text, file) : french.arg(text);
    }
    return text;
}
