// The document: each change says what it touched, the modified mark is said
// once when it turns and again when a save or a load below it turned it back.

#include "boutique/artisanState.h"
#include "boutique/boutique.h"
#include "boutique/dbSummary.h"
#include "core/appError.h"
#include "model/uArt.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TstBoutique : public QObject {
    Q_OBJECT

private slots:
    void changesAndTheModifiedMark()
    {
        Boutique doc;
        using C = Boutique::Change;
        QSignalSpy arts(&doc, &Boutique::artisansChanged), prods(&doc, &Boutique::productsChanged),
            sheets(&doc, &Boutique::sheetsChanged), periods(&doc, &Boutique::periodsChanged),
            account(&doc, &Boutique::accountChanged), file(&doc, &Boutique::fileChanged),
            mark(&doc, &Boutique::modifiedChanged);
        const QSignalSpy* each[] = {&arts, &prods, &sheets, &periods, &account};
        const C changes[] = {C::Artisans, C::Products, C::Sheets, C::Periods, C::Account};
        for (int i = 0; i < 5; ++i) {
            doc.changed(changes[i], i == 4, this); // only the last one modifies
            for (int k = 0; k < 5; ++k)
                QCOMPARE(each[k]->count(), k <= i ? 1 : 0);
            QCOMPARE(doc.isModified(), i == 4);
        }
        QCOMPARE(periods.first().first().value<const QObject*>(), this);
        QCOMPARE(mark.count(), 1);
        doc.changed(C::Sheets);
        QCOMPARE(mark.count(), 1); // already said

        // A save below the document turns the flag: said on the next word.
        doc.state().modified = false;
        doc.fileReplaced();
        QCOMPARE(file.count(), 1);
        QCOMPARE(mark.count(), 2);
        QCOMPARE(mark.last().first().toBool(), false);
        doc.setModified(false);
        QCOMPARE(mark.count(), 2);
        doc.setModified(true); // a cancelled edit giving back its state
        QCOMPARE(mark.count(), 3);
    }

    // A sheet only looked at stays as stored; an operation refused says nothing.
    void operationsSayWhatTheyDid()
    {
        Boutique doc;
        QSignalSpy sheets(&doc, &Boutique::sheetsChanged), account(&doc, &Boutique::accountChanged);
        doc.addSheet(u"260101"_s, u"Julie"_s);
        doc.setModified(false);
        doc.storeSheet(0, u"260101"_s, u"Julie"_s, u"9.00$"_s, {});
        QCOMPARE(sheets.count(), 1);
        QVERIFY(!doc.isModified() && doc.state().saleList.at(0).total.isEmpty());
        doc.storeSheet(0, u"260101"_s, u"Luc"_s, u"9.00$"_s, {});
        QCOMPARE(sheets.count(), 2);
        QVERIFY(doc.isModified() && doc.state().saleList.at(0).total == u"9.00$"_s);

        doc.setModified(false);
        Payout p{0, u"001"_s, u"260102"_s, Money::fromUnits(-1), u"chèque"_s, {}, {}, {}, 0};
        QVERIFY_THROWS_EXCEPTION(AppError, doc.pay(p));
        QVERIFY(account.isEmpty() && !doc.isModified());
        p.amount = Money::fromUnits(500);
        QCOMPARE(doc.pay(QList<Payout>{p, p}).last().id, 2);
        QCOMPARE(account.count(), 1);
        QVERIFY(doc.isModified());
    }

    void choosingAnArtisan()
    {
        Boutique doc;
        QSignalSpy chosen(&doc, &Boutique::artisanSelected);
        QVERIFY(!doc.selectArtisan(0)); // none to choose
        QCOMPARE(chosen.count(), 0);
        doc.state().artList.append().artNo = u"007"_s;
        QCOMPARE(doc.selectArtisan(-1)->artNo, u"007"_s);
        QCOMPARE(doc.state().curArtNo, u"007"_s);
        QCOMPARE(chosen.count(), 1);
        doc.state().artList.at(0).nom = u"Roy"_s;
        rebuildLists(doc.state());
        QCOMPARE(displayNameOf(doc.state(), u"007"_s), doc.state().artList.displayName(0));
        QVERIFY(displayNameOf(doc.state(), u"008"_s).isEmpty());

        // The five databases opened last, newest first, each once.
        QStringList recent;
        for (const char* f : {"/a", "/b", "/c", "/a", "/d", "/e", "/f"})
            rememberRecent(recent, QString::fromLatin1(f));
        QCOMPARE(recent, (QStringList{u"/f"_s, u"/e"_s, u"/d"_s, u"/a"_s, u"/c"_s}));
    }
};

QTEST_GUILESS_MAIN(TstBoutique)
#include "tst_boutique.moc"
