#include "support/sampleDb.h"

#include "boutique/appState.h"
#include "support/modelSheets.h"

void fillSampleDatabase(AppState& st, int artisans, int productsPerArtisan, int generation)
{
    for (int a = 0; a < artisans; ++a) {
        TArtisan& art = newArtisan(st.artList, TArtList::artNoFor(a + 1), QStringLiteral("Lévesque%1").arg(a),
                                   QStringLiteral("Hélène"));
        art.adresse = QStringLiteral("%1 rue des Érables").arg(a + 10);
        art.ville = QStringLiteral("Québec");
        art.CP = QStringLiteral("G1R 2B5");
        art.tel = QStringLiteral("418-555-%1").arg(1000 + a);
        art.courriel = QStringLiteral("artisan%1@example.org").arg(a);
        art.comment = QStringLiteral("génération %1").arg(generation);
        for (int p = 0; p < productsPerArtisan; ++p) {
            TProduit& prod = art.products.addProduct(TProdList::numberFor(p), art.artNo,
                                                     QStringLiteral("090101"));
            prod.descript = QStringLiteral("Vase émaillé n°%1 «%2»").arg(p).arg(generation);
            prod.valeur = QStringLiteral("12.50");
            prod.prix = QStringLiteral("25.00");
            for (int d = 1; d <= 8; ++d)
                prod.qntList.addQnt(QStringLiteral("0902%1").arg(d, 2, 10, QLatin1Char('0')),
                                    QString::number(d));
            for (int d = 1; d <= 20; ++d)
                prod.soldList.addQnt(QStringLiteral("0903%1").arg(d, 2, 10, QLatin1Char('0')),
                                     QStringLiteral("1"));
        }
    }
}
