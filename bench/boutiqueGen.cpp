#include "boutiqueGen.h"

#include "boutique/appState.h"
#include "core/money.h"
#include "core/textUtil.h"

#include <QDate>
#include <QSet>
#include <QStringList>

#include <memory>
#include <random>

namespace {

const QStringList familyNames = {
    QStringLiteral("Tremblay"), QStringLiteral("Gagnon"), QStringLiteral("Côté"),
    QStringLiteral("Bouchard"), QStringLiteral("Gauthier"), QStringLiteral("Lévesque"),
    QStringLiteral("O'Neil"),   QStringLiteral("Roy"),    QStringLiteral("Bélanger"),
    QStringLiteral("Pelletier")};
const QStringList firstNames = {
    QStringLiteral("Marie"), QStringLiteral("Jean"),  QStringLiteral("Élise"),
    QStringLiteral("Luc"),   QStringLiteral("Anne-Sophie"), QStringLiteral("Noël"),
    QStringLiteral("Zoé"),   QStringLiteral("Al")};
// Descriptions exercise the comma-list quoting: blanks, commas, quotes, accents.
const QStringList descriptions = {
    QStringLiteral("Vase"), QStringLiteral("Bol en grès"), QStringLiteral("Tasse \"rouge\""),
    QStringLiteral("Foulard, soie"), QStringLiteral("Boucles d'oreilles"),
    QStringLiteral("Savon à l'érable"), QStringLiteral("Carte de Noël"), QStringLiteral("Panier")};

QString dateOfDay(int day)
{
    return dateStr(QDate(2016, 1, 1).addDays(day));
}

} // namespace

BoutiqueScale BoutiqueScale::tenYears(int factor)
{
    BoutiqueScale s;
    // The period documents hold one quantity column per period for every
    // product of every period, so their size grows with the square of the
    // number of periods by their very format: a bigger boutique has more
    // artisans and more sales days, over the same settlement periods.
    s.artisans *= factor;
    s.days *= factor;
    return s;
}

QString BoutiqueScale::describe() const
{
    return QStringLiteral("%1 artisans x %2 products (%3 received events each), "
                          "%4 sheets x %5 lines (the sold events), %6 periods")
        .arg(artisans).arg(productsPerArtisan).arg(receivedPerProduct)
        .arg(days).arg(linesPerDay).arg(periods);
}

void generateBoutique(AppState& st, const BoutiqueScale& scale)
{
    std::mt19937 rng(scale.seed);
    auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };

    // Artisans and their products.
    for (int a = 0; a < scale.artisans; ++a) {
        TArtisan& art = st.artList.append();
        art.artNo = TArtList::artNoFor(a + 1);
        art.nom = familyNames.at(pick(familyNames.size()));
        art.prenom = firstNames.at(pick(firstNames.size()));
        art.adresse = QStringLiteral("%1, rue Principale").arg(10 + a);
        art.ville = QStringLiteral("Québec");
        art.CP = QStringLiteral("G1R 2B5");
        art.tel = QStringLiteral("418-555-%1").arg(1000 + a % 9000);
        art.courriel = QStringLiteral("artisan%1@exemple.ca").arg(a);
        art.comment = (a % 7 == 0) ? QStringLiteral("Paie par chèque\nle 15 du mois") : QString();
        for (int p = 0; p < scale.productsPerArtisan; ++p) {
            TProduit& prod = art.products.append();
            prod.artNo = art.artNo;
            prod.prodNo = TProdList::numberFor(p);
            prod.descript = descriptions.at(pick(descriptions.size()));
            const Money value = Money::fromUnits((5 + pick(60)) * 2500);
            prod.valeur = value.format();
            prod.prix = (value + value).format();
            for (int e = 0; e < scale.receivedPerProduct; ++e)
                prod.qntList.addQnt(dateOfDay(pick(scale.days)), QString::number(1 + pick(12)));
        }
    }
    st.totProdCount = st.artList.totalProducts();

    // One sheet a day, newest first, each line a real product of a real
    // artisan, at most one line per product, as the sale-line editor makes
    // them; the products' sold events are exactly the sheets' lines.
    const QStringList agents = {QStringLiteral("Préposé"), QStringLiteral("Julie"),
                                QStringLiteral("Marc-André")};
    for (int day = scale.days - 1; day >= 0; --day) {
        auto sheet = std::make_unique<TSaleItem>();
        sheet->date = dateOfDay(day);
        sheet->agent = agents.at(pick(agents.size()));
        QStringList lines;
        Money total;
        QSet<TProduit*> onSheet;
        const int lineCount = qMin(scale.linesPerDay, scale.artisans * scale.productsPerArtisan);
        for (int l = 0; l < lineCount; ++l) {
            const int a = pick(scale.artisans);
            TArtisan& art = st.artList.at(a);
            TProduit& prod = art.products.at(pick(scale.productsPerArtisan));
            if (onSheet.contains(&prod)) {
                --l; // drawn again
                continue;
            }
            onSheet.insert(&prod);
            const int qnt = 1 + pick(3);
            prod.soldList.addQnt(sheet->date, QString::number(qnt));
            const Money price = Money::parse(stripDollar(prod.prix));
            const Money amount = price * qnt;
            total += amount;
            lines << writeCommaList({art.artTag() + art.artNo + QLatin1Char('-') + prod.prodNo,
                                     prod.descript, prod.prix, QString::number(qnt),
                                     amount.format()});
        }
        sheet->lines = writeCommaList(lines);
        sheet->total = total.format();
        st.saleList.append(std::move(sheet));
    }
    for (int a = 0; a < st.artList.count(); ++a)
        for (const TProdList::Ptr& p : st.artList.at(a).products.items())
            (void)p->prodRecord(); // refreshes the stored texts and totals

    // Periods of equal length over the whole ledger.
    const int perPeriod = qMax(1, scale.days / qMax(1, scale.periods));
    for (int p = 0; p < scale.periods; ++p) {
        const int first = p * perPeriod;
        const int last = (p == scale.periods - 1) ? scale.days - 1 : first + perPeriod - 1;
        st.repList.addPeriod(QStringLiteral("Période %1").arg(p + 1, 2, 10, QLatin1Char('0')),
                             dateOfDay(first), dateOfDay(last));
    }
    st.repList.refreshTitles();
    st.repList.curPeriod = scale.periods > 0 ? 0 : -1;
}
