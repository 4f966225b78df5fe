#include "ui/shell/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool loadFrenchTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::French, QLocale::Canada), QStringLiteral("qtbase"),
                          QStringLiteral("_"), dir)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void useBoutiqueLocale()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::Canada));
}

QLocale decimalPointLocale()
{
    QLocale l = QLocale::c();
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}
