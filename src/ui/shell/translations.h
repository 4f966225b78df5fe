#pragma once
// Qt's own dialogs and buttons (file dialogs, Oui/Non/Annuler) in French.

class QCoreApplication;

// Installs Qt's French translations on app; false when they are not found.
bool loadFrenchTranslations(QCoreApplication& app);
