// The products window's glue between prodList and its controls: the fields,
// the received-quantity grid, the sales history, and the quantity dialog.

#include "ui/widgets/limitEdit.h"
#include "ui/products/prodFrm.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/productState.h"
#include "core/money.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/saleRows.h"
#include "model/stockBook.h"
#include "model/uRep.h"
#include "model/uSale.h"
#include "ui/products/AddEditQntFrm.h"
#include "ui/shell/main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// An amount as typed: "12.5", "12,50" or "12.50$"; blank stays blank (no
// amount entered yet). Raises AppError naming the field otherwise.
QString amountEntry(const QString& typed, const QString& field)
{
    QString text = typed.trimmed();
    if (text.endsWith(QLatin1Char('$')))
        text.chop(1);
    text = text.trimmed();
    if (text.isEmpty())
        return QString();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const auto amount = Money::tryParse(text);
    // A price or value beyond a billion could not be multiplied by the
    // quantities sold and summed: refused where it is typed.
    static const Money most = Money::fromUnits(1000000000LL * Money::Scale);
    if (amount && *amount > most)
        throw AppError(u"%1 « %2 » dépasse le plus grand montant accepté (%3)."_s.arg(field, typed, most.format()));
    const bool digits = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.isDigit() || c == u'.';
    });
    if (!amount && digits)
        throw AppError(u"%1 « %2 » dépasse le plus grand montant accepté (%3)."_s.arg(field, typed, most.format()));
    if (!amount || *amount < Money())
        throw AppError(u"%1 « %2 » n'est pas un montant : entrez un nombre positif, "
                       u"par exemple 12.50 ou 12,50."_s.arg(field, typed));
    return amount->format();
}

// valeur or prix for its editor: two decimals without "$" when it is an amount.
QString amountShown(const QString& stored)
{
    const QString plain = stripDollar(stored).trimmed();
    const auto amount = Money::tryParse(plain);
    return amount ? amount->plain() : plain;
}

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

// A total for display: a quantity stored by an older program that is not an
// integer shows as "?" instead of stopping the display.
QString totalShown(const TQnt& list)
{
    try {
        return list.totalQntStr();
    } catch (const AppError&) {
        return u"?"_s;
    }
}

} // namespace

// --- fields -------------------------------------------------------------------

void TProdForm::showProduct(int index)
{
    if (st.curProdInd <= -1 || index < 0 || index >= st.prodList.count())
        return;
    TProduit& p = st.prodList.at(index);
    // Deliveries in date order: the same events, only their order changes.
    if (!inDateOrder(p.qntList))
        p.qntList.sortEvents();
    m_filling = true;
    prodNoLab->setText(p.prodNo);
    prodNumLab->setText(p.prodNo);
    showWhole(descriptEd, p.descript);
    showWhole(valEd, amountShown(p.valeur));
    showWhole(priceEd, amountShown(p.prix));
    receivedToGrid(p);
    totQLab->setText(totalShown(p.qntList));
    soldToGrid(p);
    st.curItem = p.prodNo;
    {
        const QSignalBlocker block(ProdListBox);
        ProdListBox->setCurrentRow(st.curProdInd);
    }
    if (!importChk->isChecked() && st.curProdInd < transList->rowCount())
        transList->selectRow(st.curProdInd);
    delSBTN->setVisible(index == st.prodList.count() - 1);
    qtyRow = -1;
    m_filling = false;
    m_dirty = false;
}

void TProdForm::setPData(int index)
{
    const int count = st.prodList.count();
    if (index < 0 || index >= count) {
        main.prompt().information(
            u"Produit n° %1 introuvable : la liste en compte %2."_s.arg(index).arg(count));
        return;
    }
    const TProduit& p = st.prodList.at(index);
    // Every entry is checked before anything is stored.
    const ProductEntry entry{descriptEd->text(), amountEntry(valEd->text(), u"La valeur"_s),
                             amountEntry(priceEd->text(), u"Le prix de vente"_s), receivedFromGrid(p)};
    main.doc().storeProduct(index, entry);
    // A delivery re-dated in its row took its place by date.
    if (!inDateOrder(entry.received))
        receivedToGrid(p);
    if (QListWidgetItem* line = ProdListBox->item(index); line && index < st.prodNoList.size())
        line->setText(productLines().value(index));
    // The editors show the amounts as stored.
    showWhole(valEd, amountShown(entry.valeur));
    showWhole(priceEd, amountShown(entry.prix));
    m_dirty = false;
    main.setStatusText(0, u"Produit n° "_s + p.prodNo + u" mis à jour"_s);
}

void TProdForm::saveCurrent()
{
    if (!validProduct()) {
        main.prompt().information(u"Can't do it! CurProdInd is : "_s + QString::number(st.curProdInd)
                                  + u" in a list of "_s + QString::number(st.prodList.count()));
        return;
    }
    setPData(st.curProdInd);
}

void TProdForm::saveAs(const QString& number)
{
    st.curItem = number.trimmed();
    setPData(st.curProdInd);
}

void TProdForm::loadWindow()
{
    if (importChk->isChecked()) {
        const QSignalBlocker block(importChk);
        importChk->setChecked(false);
        impProdList.clear();
        imProdBtn->hide();
        main.updatePageBtn();
    }
    st.prodNoList = st.prodList.prodNumbers();
    m_filling = true;
    ProdListBox->clear();
    ProdListBox->addItems(productLines());
    m_filling = false;
    st.curProdInd = -1;
    if (st.prodList.isEmpty()) {
        resetWindow();
        return;
    }
    st.curProdInd = 0;
    if (prodListMode)
        fillProductGrid();
    showCurrentProduct();
}

void TProdForm::resetWindow()
{
    m_filling = true;
    prodNoLab->setText(u"--"_s);
    prodNumLab->clear();
    descriptEd->clear();
    valEd->clear();
    priceEd->clear();
    dqStrGrid->setRowCount(0);
    sDQGrid->clearContents();
    sDQGrid->setRowCount(0);
    sqInfoPanel->hide();
    Label17->show();
    totQLab->setText(u"0"_s);
    ProdListBox->clear();
    ProdListBox->addItems(productLines());
    prodCntLab->setText(QString::number(ProdListBox->count()));
    st.curProdInd = ProdListBox->count() - 1;
    transList->clearContents();
    transList->setRowCount(st.prodList.count());
    delSBTN->setVisible(st.curProdInd >= 0 && st.curProdInd == st.prodList.count() - 1);
    m_filling = false;
    m_dirty = false;
}

// --- grids --------------------------------------------------------------------

void TProdForm::receivedToGrid(const TProduit& p)
{
    const bool filling = m_filling;
    m_filling = true;
    dqStrGrid->clearContents();
    dqStrGrid->setRowCount(p.qntList.count());
    // A day's quantity merges its delivery with what a count or a return
    // changed that day: the row says so.
    const QList<StockMove> moves = st.account.stock.movesOf(p.artNo.isEmpty() ? st.curArtNo : p.artNo, p.prodNo);
    for (int i = 0; i < p.qntList.count(); ++i) {
        const TDQEvent& e = p.qntList.at(i);
        dqStrGrid->setItem(i, 0, new QTableWidgetItem(e.date));
        dqStrGrid->setItem(i, 1, new QTableWidgetItem(e.qnt));
        if (const QString note = stockDayNote(moves, e.date, strToIntDef(e.qnt, 0)); !note.isEmpty()) {
            auto* mark = new QTableWidgetItem(u"*"_s);
            mark->setFlags(Qt::ItemIsEnabled);
            for (QTableWidgetItem* item : {dqStrGrid->item(i, 0), dqStrGrid->item(i, 1), mark})
                item->setToolTip(note);
            dqStrGrid->setItem(i, 2, mark);
        }
    }
    m_filling = filling;
}

TQnt TProdForm::receivedFromGrid(const TProduit& p) const
{
    const int rows = dqStrGrid->rowCount();
    if (rows == 0)
        return p.qntList;
    TQnt events;
    QStringList dates;
    for (int r = 0; r < rows; ++r)
        dates << cellText(dqStrGrid, r, 0);
    for (int r = 0; r < rows; ++r) {
        const QString& date = dates.at(r);
        const QString qnt = cellText(dqStrGrid, r, 1);
        // Rows as stored are kept as they are; a changed row must read back.
        const bool asStored = r < p.qntList.count() && p.qntList.at(r).date == date
                              && p.qntList.at(r).qnt == qnt;
        if (!asStored) {
            const QString problem =
                qntEventProblem(date, qnt, r < p.qntList.count() ? p.qntList.at(r).qnt : QString());
            if (!problem.isEmpty())
                throw AppError(problem);
            // Two rows of one date would merge on the way in, and "-" would
            // then take out another row than the one chosen: refused.
            if (dates.count(date) > 1)
                throw AppError(u"Le %1 a déjà sa ligne de quantité reçue : changez la quantité "
                               u"de cette ligne-là ou choisissez une autre date."_s.arg(date));
        }
        events.addQnt(date, qnt);
    }
    return events;
}

QStringList TProdForm::productLines() const
{
    QStringList lines;
    for (int i = 0; i < st.prodNoList.size(); ++i) {
        const QString descript = i < st.prodList.count() ? st.prodList.at(i).descript : QString();
        lines << (descript.isEmpty() ? st.prodNoList.at(i) : st.prodNoList.at(i) + u" - "_s + descript);
    }
    return lines;
}

void TProdForm::soldToGrid(TProduit& p)
{
    const bool sold = p.soldList.count() > 0;
    sqInfoPanel->setVisible(sold);
    Label17->setVisible(!sold);
    sDQGrid->clearContents();
    sDQGrid->setRowCount(0);
    if (!sold)
        return;
    const auto value = [&p](const QString& qnt) {
        try {
            return p.soldValue(qnt);
        } catch (const AppError&) {
            return u"?"_s;
        }
    };
    // Each day's sale at the price of its sheet's line (the product's own
    // price where no line says), its amount, and the artisan's Valeur.
    const std::span<const SaleRow> lines =
        st.repList.book(st.saleList).artisanRows(p.artNo.isEmpty() ? st.curArtNo : p.artNo);
    sDQGrid->setRowCount(p.soldList.count());
    for (int i = 0; i < p.soldList.count(); ++i) {
        const TDQEvent& e = p.soldList.at(i);
        QString price, amount;
        try {
            Money sum;
            for (const SaleRow& r : lines)
                if (r.date == e.date && r.prodNo == p.prodNo) {
                    r.check();
                    price = price.isEmpty() ? r.priceText() : price;
                    sum += r.amount;
                }
            amount = price.isEmpty() ? TProduit::unitAmount(e.qnt, p.prix) : sum.format();
        } catch (const AppError&) {
            amount = u"?"_s;
        }
        const QStringList cells{e.date, e.qnt, price.isEmpty() ? formatMoney(stripDollar(p.prix)) : price, amount, value(e.qnt)};
        for (int c = 0; c < cells.size(); ++c)
            sDQGrid->setItem(i, c, new QTableWidgetItem(cells.at(c)));
    }
    const QString total = totalShown(p.soldList);
    totSQLab->setText(total);
    totSQValLab->setText(value(total));
    try {
        totAvailLab->setText(p.availableStr());
    } catch (const AppError&) {
        totAvailLab->setText(u"?"_s);
    }
}

void TProdForm::refreshTotals(TProduit& p)
{
    receivedToGrid(p);
    totQLab->setText(totalShown(p.qntList));
    soldToGrid(p);
    if (prodListMode)
        fillProductGrid();
}

// --- quantities ---------------------------------------------------------------

void TProdForm::gridDoubleClick(int row)
{
    qtyRow = row;
    if (qtyRow <= -1)
        return;
    qtyDate = cellText(dqStrGrid, qtyRow, 0);
    qtyText = cellText(dqStrGrid, qtyRow, 1);
    editQuantity();
}

void TProdForm::addDateBtnClick()
{
    if (qtyText.isEmpty())
        qtyText = u"1"_s;
    if (qtyDate.isEmpty())
        qtyDate = todayStr();
    qtyRow = -1;
    editQuantity();
}

void TProdForm::editQuantity()
{
    if (!validProduct())
        return;
    TEditQntDlg dlg(st, main.prompt(), &main);
    dlg.setWindowTitle(u"Ajouter/modifier une quantité"_s);
    dlg.itemNoLab->setText(st.curItem);
    dlg.setEntry(qtyText, qtyDate);
    // A row's date changes here as its quantity does.
    dlg.DateCB->setEnabled(true);
    // Closed any other way than "Fermer", the dialog changes nothing.
    if (main.runModal(dlg) != QDialog::Accepted)
        return;
    const QString problem = qntEventProblem(dlg.dateText(), dlg.qntText(), dlg.storedQnt());
    if (!problem.isEmpty())
        throw AppError(problem);
    qtyDate = dlg.dateText();
    qtyText = dlg.qntText();
    const int row = qtyRow;
    if (row > -1 && row < dqStrGrid->rowCount()) {
        const QString dateBefore = cellText(dqStrGrid, row, 0);
        const QString qntBefore = cellText(dqStrGrid, row, 1);
        dqStrGrid->setItem(row, 0, new QTableWidgetItem(qtyDate));
        dqStrGrid->setItem(row, 1, new QTableWidgetItem(qtyText));
        try {
            setPData(st.curProdInd);
        } catch (const AppError&) {
            // Refused (another row's date): the row shows what it held.
            dqStrGrid->setItem(row, 0, new QTableWidgetItem(dateBefore));
            dqStrGrid->setItem(row, 1, new QTableWidgetItem(qntBefore));
            throw;
        }
    } else {
        // What was typed in the grid goes in first, then the new event.
        setPData(st.curProdInd);
        main.doc().addDelivery(st.curProdInd, qtyDate, qtyText);
    }
    refreshTotals(st.prodList.at(st.curProdInd));
    qtyRow = -1;
}

void TProdForm::remDateBtnClick()
{
    if (qtyRow <= -1 || !validProduct())
        return;
    setPData(st.curProdInd);
    main.doc().removeDelivery(st.curProdInd, qtyRow);
    refreshTotals(st.prodList.at(st.curProdInd));
    qtyRow = -1;
}

void TProdForm::sortEvents()
{
    if (!validProduct())
        return;
    setPData(st.curProdInd);
    main.doc().sortDeliveries(st.curProdInd);
    refreshTotals(st.prodList.at(st.curProdInd));
}
