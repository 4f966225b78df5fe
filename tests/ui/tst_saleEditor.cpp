// The sale-line editor in the real main window, offscreen: a whole day of
// sales, then the refusals and the edge cases of lines and quantities.

#include "uiHarness.h"

#include "core/textUtil.h"
#include "support/sampleDb.h"
#include "support/soldInvariant.h"
#include "ui/editor/addSItemFrm.h"
#include "ui/products/prodFrm.h"
#include "ui/sales/saleFrm.h"

#include <QRegularExpression>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
TaddSItemDlg& editor(UiHarness& h)
{
    if (!h.w->saleForm->sItemDlg)
        qFatal("the editor is not open");
    return *h.w->saleForm->sItemDlg;
}

void clickItem(QAbstractItemView* view, const QRect& rect, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(view->viewport(), button, {}, rect.center());
}

// Chooses the artisan tagged tag, then right-clicks its product prodNo, or
// gives it the quantity qnt (typed only, without Enter, when typed), or
// presses "+" on it.
void act(TaddSItemDlg& e, const QString& tag, const QString& prodNo, const QString& qnt = {},
         bool typed = false)
{
    const auto found = e.artListBox->findItems(tag, Qt::MatchStartsWith);
    QVERIFY(!found.isEmpty());
    clickItem(e.artListBox, e.artListBox->visualItemRect(found.first()));
    for (int r = 0; r < e.prodStrGrid->rowCount(); ++r) {
        if (e.prodStrGrid->item(r, 0)->text().remove(u'*') != prodNo)
            continue;
        const QRect cell = e.prodStrGrid->visualItemRect(e.prodStrGrid->item(r, 0));
        if (qnt.isEmpty())
            return clickItem(e.prodStrGrid, cell, Qt::RightButton);
        clickItem(e.prodStrGrid, cell);
        if (qnt == u"+"_s)
            return QTest::keyClick(e.prodStrGrid, Qt::Key_Plus);
        e.QuantEdit->selectAll();
        QTest::keyClicks(e.QuantEdit, qnt);
        if (!typed)
            QTest::keyClick(e.QuantEdit, Qt::Key_Return);
        return;
    }
    QFAIL("no such product");
}

// Each line with its fields joined by "|": it proves the line splits back.
QStringList fieldsOf(const QString& lines)
{
    QStringList out;
    for (const QString& line : readCommaList(lines))
        out << readCommaList(line).join(u'|');
    return out;
}

// Types text in the search field as a cashier or a scanner would, then
// Enter; gives the keys the search listed before Enter.
QString scan(TaddSItemDlg& e, const QString& text)
{
    e.searchEd->setFocus();
    e.searchEd->selectAll();
    QTest::keyClicks(e.searchEd, text);
    QStringList found;
    for (int i = 0; i < e.searchList->count(); ++i)
        found << e.searchList->item(i)->text().section(u"  "_s, 0, 0);
    QTest::keyClick(e.searchEd, Qt::Key_Return);
    return found.join(u' ');
}

QString soldOn(AppState& st, const QString& date)
{
    QStringList out;
    for (int a = 0; a < st.artList.count(); ++a)
        for (const auto& p : st.artList.at(a).products.items())
            out << p->soldList.qntAt(date);
    return out.join(u' ');
}
} // namespace

class TestSaleEditor : public QObject {
    Q_OBJECT
private slots:
    void wholeDay()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        AppState& st = h.st();
        TsaleForm& s = *w.saleForm;
        h.click(h.art().artPageBtn); // the products page, on the vase
        QTableWidget* vaseSales = w.prodForm->sDQGrid;
        const int before = vaseSales->rowCount();
        h.click(w.pageBtn);
        h.onModal = UiHarness::answerDate(u"090602"_s, u"Zoé"_s);
        h.click(s.addReportBtn);

        h.click(s.addProdBtn);
        TaddSItemDlg& e = editor(h);
        QVERIFY(!e.qTableImg->pixmap().isNull()); // the JPEG plugin read it

        act(e, u"Li_Bo_"_s, u"001"_s);          // Foulard, the last one in stock
        act(e, u"TreMar"_s, u"001"_s);          // Vase
        act(e, u"TreMar"_s, u"002"_s);          // Bol
        h.click(e.upBtn);                       // Bol: 2
        act(e, u"TreMar"_s, u"001"_s, u"3"_s);  // Vase: 3
        act(e, u"TreMar"_s, u"002"_s);          // Bol off
        // Under the boutique's Valeur rule, the bowl has one; 003 has none: named.
        QVERIFY(e.valeurLab->text().isEmpty());
        e.prodStrGrid->setCurrentCell(2, 0);
        QVERIFY2(e.valeurLab->text().startsWith(u"TreMar001-003 n'a pas de « Valeur »"_s), qPrintable(e.valeurLab->text()));
        // At the till: a scanned key and Enter is one sale; a name lists its
        // products and Enter takes the first.
        QCOMPARE(scan(e, u"tremar001002"_s), u"TreMar001-002"_s);
        QCOMPARE(scan(e, u"Marie"_s), u"TreMar001-001 TreMar001-002 TreMar001-003"_s);
        QCOMPARE(UiHarness::texts(e.ProdListBox), QStringList({u"_1.Li_Bo_002-001 | 1"_s, u"_2.TreMar001-001 | 4"_s,
                                                    u"_3.TreMar001-002 | 1"_s}));
        h.click(e.OKBtn);

        // The sheet and the products agree; saved (the file: refusalsAndEdges).
        QCOMPARE(s.sTotLab->text() + st.saleList.at(0).agent, u"156.00$Zoé"_s);
        QCOMPARE(soldOn(st, u"090602"_s), u"4 1 0 1"_s);
        QVERIFY(!st.modified && h.prompt.all.isEmpty());
        // Back on the products page, the vase shows today's sale at once.
        h.click(w.pageBtn);
        QCOMPARE(vaseSales->rowCount(), before + 1);
        QCOMPARE(vaseSales->item(before, 0)->text() + vaseSales->item(before, 1)->text(), u"0906024"_s);
    }

    void refusalsAndEdges_data()
    {
        // tag:prodNo[=qnt, ~typed or +], an answer, "fail", "annuler", "esc"; "rename" first: 001
        // renamed Gagnon, its lines keeping their tag TreMar.
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("lines");  // the sheet's lines, fields joined by "|"
        QTest::addColumn<QString>("sold");       // the products' sold quantities on 090518
        QTest::addColumn<QString>("said");       // what the editor said last
        const QString vase = u"TreMar001-001|Vase bleu, grand|24.00$|2|48.00$"_s;
        const QString bol = u"TreMar001-002|Bol \"Océan\"|15.00$|1|15.00$"_s;
        const QString empty = u"TreMar001-003||0.00$|0|"_s;
        const QString foulard = u"Li_Bo_002-001|Foulard   soie|45.00$|1|45.00$"_s;
        QTest::newRow("quotes, commas and a short tag come back whole")
            << QStringList{u"TreMar:002"_s, u"TreMar:002"_s, u"TreMar:001"_s, u"TreMar:001"_s,
                           u"Li_Bo_:001"_s, u"Li_Bo_:001"_s}
            << QStringList{empty, bol, u"TreMar001-001|Vase bleu, grand|24.00$|1|24.00$"_s, foulard}
            << u"1 1 0 1"_s << QString();
        QTest::newRow("a renamed artisan's line: quantity, off, on again as one line")
            << QStringList{u"rename"_s, u"GagMar:001=3"_s, u"GagMar:001"_s, u"GagMar:001"_s}
            << QStringList{bol, foulard, empty, u"GagMar001-001|Vase bleu, grand|24.00$|1|24.00$"_s}
            << u"1 1 0 1"_s << QString();
        QTest::newRow("stock below zero refused")
            << QStringList{u"no"_s, u"Li_Bo_:001=3"_s} << QStringList{vase, bol, foulard, empty}
            << u"2 1 0 1"_s << u"Le stock de Li_Bo_002-001 passera à -1 (Foulard   soie).\nVendre quand même ?"_s;
        QTest::newRow("stock below zero accepted")
            << QStringList{u"yes"_s, u"Li_Bo_:001=3"_s}
            << QStringList{vase, bol, u"Li_Bo_002-001|Foulard   soie|45.00$|3|135.00$"_s, empty}
            << u"2 1 0 3"_s << u"Le stock de Li_Bo_002-001 passera à -1 (Foulard   soie).\nVendre quand même ?"_s;
        QTest::newRow("a quantity for a product not on the sheet")
            << QStringList{u"TreMar:003"_s, u"TreMar:003=+"_s} << QStringList{vase, bol, foulard}
            << u"2 1 0 1"_s << u"Ajoutez d'abord le produit à la liste pour en changer la quantité... :) "_s;
        QTest::newRow("a failed save keeps the changes (a return), unsaved")
            << QStringList{u"fail"_s, u"TreMar:002=-1"_s}
            << QStringList{vase, u"TreMar001-002|Bol \"Océan\"|15.00$|-1|-15.00$"_s, foulard, empty}
            << u"2 -1 0 1"_s << u"fail"_s;
        QTest::newRow("a quantity of 0 is no sale: refused")
            << QStringList{u"TreMar:002=0"_s} << QStringList{vase, bol, foulard, empty} << u"2 1 0 1"_s
            << u"Une quantité de 0 n'est pas une vente : retirez plutôt le produit de la feuille "
               "(une quantité négative enregistre un retour)."_s;
        // Typed quantities are kept when the user leaves them without Enter.
        QTest::newRow("typed, then another line, then Terminé")
            << QStringList{u"TreMar:001~5"_s, u"TreMar:002~3"_s}
            << QStringList{u"TreMar001-001|Vase bleu, grand|24.00$|5|120.00$"_s,
                           u"TreMar001-002|Bol \"Océan\"|15.00$|3|45.00$"_s, foulard, empty}
            << u"5 3 0 1"_s << QString();
        QTest::newRow("typed, then another artisan")
            << QStringList{u"TreMar:001~5"_s, u"Li_Bo_:001"_s}
            << QStringList{u"TreMar001-001|Vase bleu, grand|24.00$|5|120.00$"_s, bol, empty}
            << u"5 1 0 0"_s << QString();
        QTest::newRow("an artisan who left: off, and not on again")
            << QStringList{u"gone"_s, u"Li_Bo_:001"_s, u"Li_Bo_:001"_s} << QStringList{vase, bol, empty}
            << u"2 1 0 0"_s
            << u"L'artisan 002 a quitté la boutique le 090101 : ses produits ne se vendent plus. Pour l'y remettre, "
               "décochez « A quitté la boutique » sur sa page."_s;
        const QString undo = u"Annuler les changements de la feuille du 090518 ?"_s;
        QTest::newRow("Annuler puts the lines and the sold quantities back")
            << QStringList{u"TreMar:001=3"_s, u"Li_Bo_:001"_s, u"TreMar:003"_s, u"annuler"_s}
            << QStringList{vase, bol, foulard, empty} << u"2 1 0 1"_s << undo;
        QTest::newRow("Escape undoes a product taken off")
            << QStringList{u"TreMar:002"_s, u"esc"_s} << QStringList{vase, bol, foulard, empty}
            << u"2 1 0 1"_s << undo;
    }

    void refusalsAndEdges()
    {
        QFETCH(QStringList, script);
        QFETCH(QStringList, lines);
        QFETCH(QString, sold);
        QFETCH(QString, said);
        UiHarness h;
        TmainForm& w = h.startRealistic();
        TsaleForm& s = *w.saleForm;
        h.click(w.pageBtn);
        if (script.first() == u"rename"_s)
            h.st().artList.at(0).nom = u"Gagnon"_s;
        s.sListBox->setCurrentRow(1); // 090518
        const QRect line0 = s.SalesGrid->visualItemRect(s.SalesGrid->item(0, 0));
        clickItem(s.SalesGrid, line0);
        QTest::mouseDClick(s.SalesGrid->viewport(), Qt::LeftButton, {}, line0.center());
        TaddSItemDlg& e = editor(h);
        const QString file = h.dataDir() + u"boutique.tlvdb"_s;
        for (const QString& step : script) {
            if (step == u"esc"_s) {
                QTest::keyClick(e.prodStrGrid, Qt::Key_Escape);
            } else if (step == u"annuler"_s) {
                h.click(e.cancelBtn);
            } else if (step == u"no"_s || step == u"yes"_s) {
                h.prompt.answers << (step == u"no"_s ? Prompt::Answer::No : Prompt::Answer::Yes);
            } else if (step == u"fail"_s) {
                QFile::remove(file); // a folder in its place: the save cannot replace it
                QDir().mkpath(file);
            } else if (step == u"gone"_s) {
                h.st().account.gone.insert(u"002"_s, u"090101"_s);
            } else if (step != u"rename"_s) {
                const QStringList p = step.split(QRegularExpression(u"[:=]"_s));
                const QStringList typed = step.split(u'~');
                act(e, p.at(0), p.at(1).left(3), p.value(2, typed.value(1)), typed.size() > 1);
            }
        }
        const bool closed = !s.editing;
        QCOMPARE(closed, script.endsWith(u"esc"_s) || script.endsWith(u"annuler"_s));
        if (!closed)
            h.click(e.OKBtn);
        AppState& st = h.st();
        QCOMPARE(fieldsOf(st.saleList.at(1).lines), lines);
        QCOMPARE(soldOn(st, u"090518"_s), sold);
        QCOMPARE(h.prompt.all.isEmpty() ? QString() : h.prompt.all.first(),
                 said == u"fail"_s ? h.prompt.errors.value(0) : said);
        QCOMPARE(st.modified, said == u"fail"_s);
        AppState saved; // the file holds the sheet, unless the save failed
        QVERIFY(said == u"fail"_s ? !h.prompt.errors.isEmpty()
                                  : loadDB(file, saved, h.prompt) == LoadResult::Loaded
                                        && saved.saleList.saleLinesOf(1).size() == lines.size());
    }

    // A save made while the editor is open (Ctrl+S, or closing the program
    // with "Oui") writes each line with its sold quantity; "Annuler"
    // afterwards brings the file back with the sheet.
    void savedWithTheEditorOpen_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Ctrl+S") << u"keys"_s;
        QTest::newRow("closing, Oui") << u"close"_s;
    }

    void savedWithTheEditorOpen()
    {
        QFETCH(QString, how);
        UiHarness h;
        TmainForm& w = h.startRealistic();
        h.click(w.pageBtn); // 090601: the vase alone
        h.click(w.saleForm->addProdBtn);
        TaddSItemDlg& e = editor(h);
        scan(e, u"bol"_s);
        const QString file = h.dataDir() + u"boutique.tlvdb"_s;
        const auto fileSheet = [&] {
            AppState saved;
            if (!UiHarness::load(file, saved))
                return u"unreadable"_s;
            const QString gaps = soldGaps(saved);
            return gaps.isEmpty() ? QString::number(saved.saleList.saleLinesOf(0).size()) + u" lines"_s : gaps;
        };
        if (how == u"close"_s) {
            h.prompt.answers << Prompt::Answer::Yes;
            QVERIFY(h.stop());
            QCOMPARE(h.prompt.questions, QStringList{u"Enregistrer les modifications ?"_s});
            QCOMPARE(fileSheet(), u"2 lines"_s);
            return;
        }
        if (w.activateWindow(), QTest::qWaitForWindowActive(&w))
            QTest::keyClick(e.searchEd, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!h.st().modified);
        QCOMPARE(fileSheet(), u"2 lines"_s);
        h.click(e.cancelBtn); // asked, "Oui" by default
        QVERIFY(!w.saleForm->editing);
        QVERIFY(!h.st().modified);
        QCOMPARE(fileSheet(), u"1 lines"_s);
    }

    // Three artisans of one tag, 250 lines on one sheet: entries past the
    // 99th are numbered and chosen like the others.
    void manyLines()
    {
        UiHarness h;
        AppState db;
        fillSampleDatabase(db, 3, 100, 1);
        QStringList lines;
        for (int i = 0; i < 250; ++i)
            lines << u"LévHél%1-%2,Vase,25.00$,1,25.00$"_s.arg(numberText(i / 100 + 1), numberText(i % 100 + 1));
        db.saleList.addSheet(u"090601"_s, u"Zoé"_s);
        db.saleList.storeSheet(0, u"090601"_s, u"Zoé"_s, u"6250.00$"_s, lines);
        TmainForm& w = h.startOn(db);
        h.click(w.pageBtn);
        h.click(w.saleForm->addProdBtn);
        TaddSItemDlg& e = editor(h);
        for (const auto& [entry, text] : {std::pair{99, u"100.LévHél001-100 | 1"_s}, {249, u"250.LévHél003-050 | 1"_s}}) {
            QListWidgetItem* item = e.ProdListBox->item(entry);
            QCOMPARE(item->text(), text);
            e.ProdListBox->scrollToItem(item);
            clickItem(e.ProdListBox, e.ProdListBox->visualItemRect(item));
            const QString key = text.section(u'.', 1).left(13);
            QCOMPARE(e.curTagLab->text() + e.prodNoLab->text(), key.left(9) + u'*' + key.right(3));
        }
    }
};

QTEST_MAIN(TestSaleEditor)
#include "tst_saleEditor.moc"
