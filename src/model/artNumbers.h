#pragma once
// Artisan numbers and removal: the sheets name artisans by number, so a number
// is never held by two artisans, nor given to a new artisan while a sheet line
// still names it; an artisan goes only when nothing names it any more.

#include <QString>
#include <QStringList>

class TArtList;
class TSaleList;

// Three digits: the highest number an artisan can have.
inline constexpr int MAX_ART_NO = 999;
inline const QString ART_NO_FULL_MSG = QStringLiteral(
    "Tous les numéros d'artisans, de 001 à 999, sont pris (par la liste des artisans ou par les lignes des "
    "feuilles de ventes) : aucun artisan ne peut être ajouté.");

// The number a new artisan takes: one above every number the list and the
// sheets' lines use; past 999, the lowest number nothing uses; empty when
// every number is used.
QString nextArtisanNumber(const TArtList& arts, const TSaleList& sales);

// The numbers held by more than one artisan of the list, in list order.
QStringList duplicateArtNos(const TArtList& arts);
// One line per duplicated number, naming its artisans ("003: Côté Hélène,
// Bouchard Luc"), English for tlvdb, French for the window.
QStringList duplicateArtNoLines(const TArtList& arts, bool french);

// Gives every artisan of list whose number an earlier one holds (or that has
// none) a free number, one above every number in use; returns one French line
// per artisan renumbered ("Bouchard Luc (003) reçoit le numéro 005").
QStringList giveFreeNumbers(TArtList& list);

