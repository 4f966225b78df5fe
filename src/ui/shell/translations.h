#pragma once
// Qt's own dialogs and buttons (file dialogs, Oui/Non/Annuler) in French.

class QCoreApplication;
class QLocale;

// Installs Qt's French translations on app; false when they are not found.
bool loadFrenchTranslations(QCoreApplication& app);

// Month and day names, and the week's first day (Sunday), of French (Canada)
// in every widget, whatever the machine's language.
void useBoutiqueLocale();
// For number entries with decimals: "." as the program's amounts write it.
QLocale decimalPointLocale();
