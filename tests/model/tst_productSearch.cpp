// The forgiving product search: what a cashier types or a scanner sends, and
// the barcode text a tag carries.

#include "model/productSearch.h"
#include "boutique/artisanState.h"
#include "model/uArt.h"
#include "support/modelSheets.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
void addArtisan(TArtList& list, const QString& nom, const QString& prenom, const QString& no,
                const QStringList& descripts)
{
    TArtisan& a = newArtisan(list, no, nom, prenom);
    for (int i = 0; i < descripts.size(); ++i)
        newProduct(a, numberText(i + 1), descripts.at(i));
}

// "CotHel001-001" for artisan 0, product 0.
QString keysOf(const TArtList& list, const QList<ProductHit>& hits)
{
    QStringList out;
    for (const ProductHit& h : hits) {
        const TArtisan& a = list.at(h.artisan);
        out << barcodeText(a.artTag() + a.artNo + u"-"_s + a.products.ptrAt(h.product)->prodNo)
                   + (h.exactKey ? u"!"_s : QString());
    }
    return out.join(u' ');
}
} // namespace

class TstProductSearch : public QObject {
    Q_OBJECT

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found"); // keys in order, "!" for a whole key
        QTest::newRow("upper with dash") << u"COTHEL001-001"_s << u"CotHel001-001!"_s;
        QTest::newRow("padded tag") << u"libo002001"_s << u"LiBo002-001!"_s;
        QTest::newRow("padding typed") << u"Li_Bo_002-001"_s << u"LiBo002-001!"_s;
        QTest::newRow("scanned, blanks") << u"  LiBo002-001 "_s << u"LiBo002-001!"_s;
        QTest::newRow("edit separator") << u"CotHel001*002"_s << u"CotHel001-002!"_s;
        QTest::newRow("artisan prefix") << u"cothel001"_s << u"CotHel001-001 CotHel001-002"_s;
        QTest::newRow("other artisan number") << u"cothel003001"_s << QString();
        QTest::newRow("description, no accents") << u"echarpe"_s << u"CotHel001-002 LiBo002-002"_s;
        QTest::newRow("description, accents and case") << u"ÉCHARPE ROUGE"_s << u"LiBo002-002"_s;
        QTest::newRow("artisan family name") << u"cote"_s << u"CotHel001-001 CotHel001-002"_s;
        QTest::newRow("first and family name") << u"bo li"_s << u"LiBo002-001 LiBo002-002"_s;
        // Keys first: "Libellule" comes back once, where its key put it.
        QTest::newRow("key prefix before description") << u"li"_s
                                                       << u"LiBo002-001 LiBo002-002"_s;
        QTest::newRow("blank") << u"   "_s << QString();
        QTest::newRow("nothing") << u"zzz"_s << QString();
    }
    void find()
    {
        QFETCH(QString, typed);
        QFETCH(QString, found);
        TArtList list;
        addArtisan(list, u"Côté"_s, u"Hélène"_s, u"001"_s, {u"Vase bleu"_s, u"Écharpe en laine"_s});
        addArtisan(list, u"Li"_s, u"Bo"_s, u"002"_s, {u"Libellule en verre"_s, u"Echarpe rouge"_s});
        QCOMPARE(keysOf(list, findProducts(list, typed, 100)), found);
    }

    void limitAndBarcodeText()
    {
        TArtList list;
        addArtisan(list, u"Côté"_s, u"Hélène"_s, u"001"_s, {u"a"_s, u"a"_s, u"a"_s});
        QCOMPARE(findProducts(list, u"a"_s, 2).size(), 2);
        // An artisan with neither name nor number has no key: its descriptions come after the keys.
        TArtList unnamed;
        addArtisan(unnamed, {}, {}, {}, {u"Libellule rose"_s});
        addArtisan(unnamed, u"Li"_s, u"Bo"_s, u"002"_s, {u"Bol"_s});
        QCOMPARE(keysOf(unnamed, findProducts(unnamed, u"li"_s, 10)), u"LiBo002-001 -001"_s);
        QCOMPARE(barcodeText(u"Œuv_Zoë003-010"_s), u"OEuvZoe003-010"_s);
        QCOMPARE(foldedKey(barcodeText(u"Ça_Mü_001*002"_s)), foldedKey(u"ÇA_MÜ_001-002"_s));
    }
};

QTEST_APPLESS_MAIN(TstProductSearch)
#include "tst_productSearch.moc"
