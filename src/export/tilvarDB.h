#pragma once
// The holder object the main window creates beside the model lists: the column
// titles of the artisan and product rows and the artisan-list XML export.

#include "core/safeWrite.h"
#include "model/uProd.h"

#include <QString>
#include <QStringList>

class AppState;
class TArtList;

inline const QString ART_COLUMNS =
    QStringLiteral("ArtNo,Nom,Prenom,Adresse,Ville,CP,Tel,Courriel,Produits,Comment");
inline const QString PROD_COLUMNS = QStringLiteral("ArtNo,ProdNo,Descript,Date,Quant,Valeur,Prix");

// Column titles and the artisan-list export, shared by the windows.
class TtilvarDB {
public:
    // Sets curArtNo and curItem to "001".
    explicit TtilvarDB(AppState& st);

    TProdList prodList;       // a product list of its own
    QStringList artColumns;   // ART_COLUMNS read as a comma list
    QStringList prodColumns;  // PROD_COLUMNS read as a comma list
    QStringList otherList;    // empty

    static QString todayStr();
    // Writes list as the artisan-list XML file dataDir + fileName in one step
    // and returns that path; a refused write raises AppError and keeps any
    // previous file.
    static QString writeArtListFile(const TArtList& list, const QString& dataDir,
                                    const QString& fileName, const SafeWriteOptions& write = {});
};
