#pragma once
// The main window's "Artisans" menu: moving to the next or previous artisan,
// adding one and removing one, each with its key on the artisan side.

#include <QObject>

class QAction;
class TmainForm;

// Builds the menu beside the main window's others and runs its commands.
class TArtisanCommands : public QObject {
    Q_OBJECT
public:
    explicit TArtisanCommands(TmainForm& main);

    // "Supprimer l'artisan...": the shown artisan, when nothing keeps it,
    // after a question naming it; otherwise says what keeps it.
    void removeShown();

private:
    void followPage();

    TmainForm& main;
    QAction* aPrevArt;
    QAction* aNextArt;
    QAction* aAddArt;
    QAction* aDelArt;
};
