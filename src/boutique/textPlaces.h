#pragma once
// Where the database holds a given character, named as the loader's messages
// name records: to tell staff which texts to look at after a repair.

#include <QChar>
#include <QStringList>

class AppState;

// "Artisan 001, champ « nom »", "Artisan 001, produit 002, champ « descript »",
// "Feuille 240315, ligne 2", "Période « Mai », champ « title »"..., in file
// order, at most max of them.
QStringList placesHolding(const AppState& st, QChar c, int max);
