#pragma once
// The shelves' commands of the main window: "Compter le stock..." and
// "Invendus depuis..." (menu Spécial), "Rendre à l'artisan..." (products
// page); each runs its windows, then records what staff confirmed.

#include <QHash>
#include <QString>

class QMenu;
class TmainForm;

// Adds the two commands to the Spécial menu.
void addStockActions(TmainForm& main, QMenu* special);

// Starts a count (the whole boutique or the shown artisan) or takes up the
// one under way; closing it shows the differences and records the chosen
// adjustments.
void countStock(TmainForm& main);
// The unsold list; its "Rendre à l'artisan..." opens the return.
void showUnsold(TmainForm& main);
// The return of artNo's goods, ticked: products ticked at once with their
// quantities. Records it and makes the "bon de retour".
void returnToArtisan(TmainForm& main, const QString& artNo, const QHash<QString, int>& ticked = {});
