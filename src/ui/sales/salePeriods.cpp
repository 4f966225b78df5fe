// The all-sales view of the sales window: the sheets of the chosen period
// with their totals, and the period dialog.

#include "ui/sales/saleFrm.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "ui/widgets/PCalendar.h"
#include "ui/dialogs/addPeriodFrm.h"
#include "ui/shell/main.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
// The busy cursor for the length of a scope, whatever leaves it.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
} // namespace

void TsaleForm::reloadPeriodBox(int select)
{
    {
        const QSignalBlocker block(pListCB);
        pListCB->clear();
        pListCB->addItems(st.repList.titles);
        pListCB->setCurrentIndex(select >= 0 && select < pListCB->count() ? select : -1);
    }
    const int i = pListCB->currentIndex();
    st.curCIndex = i;
    pStartDate->setText(i >= 0 ? st.repList.at(i).startDate : u"Début"_s);
    pEndDate->setText(i >= 0 ? st.repList.at(i).endDate : u"Fin"_s);
}

void TsaleForm::periodChange()
{
    st.curCIndex = pListCB->currentIndex();
    const int i = st.curCIndex;
    if (i == -1)
        return;
    st.repList.curPeriod = i;
    pStartDate->setText(st.repList.periodField(i, 1, main.prompt()));
    pEndDate->setText(st.repList.periodField(i, 2, main.prompt()));
    st.saleList.periodSheets(i, st.repList, main.prompt());

    const BusyCursor busy;
    gGrid->setUpdatesEnabled(false);
    gGrid->clearContents();
    gGrid->setRowCount(1);
    setHelp(u"Aucune vente pour cette période"_s);
    gTotLab->clear();
    const QStringList& rows = st.saleList.results;
    if (!rows.isEmpty()) {
        gGrid->setRowCount(int(rows.size()));
        periodTotal = Money();
        for (int r = 0; r < rows.size(); ++r) {
            // Each row is a comma list: an agent holding a comma or a blank
            // stays one column.
            const QStringList cells = readCommaList(rows.at(r));
            for (int c = 0; c < 3 && c < cells.size(); ++c)
                gGrid->setItem(r, c, new QTableWidgetItem(cells.at(c)));
            periodTotal += st.saleList.resultTotals.value(r);
        }
        gTotLab->setText(periodTotal.format());
        setHelp(u"Ventes par périodes"_s);
    }
    gGrid->setUpdatesEnabled(true);
}

void TsaleForm::openPeriodRow(int row)
{
    const QTableWidgetItem* cell = gGrid->item(row, 0);
    if (!cell)
        return;
    const int i = st.saleList.indexOfDate(cell->text());
    if (i < 0)
        return;
    curSheet = i;
    {
        const QSignalBlocker block(sListBox);
        sListBox->setCurrentRow(i);
    }
    showSheet(i);
    setListMode(false);
}

void TsaleForm::editPeriods()
{
    const QStringList before = main.doc().periodRecords();
    TaddPeriodDlg dlg(st.repList, main.prompt(), st.curCIndex, &main);
    dlg.setWindowTitle(u"Ajouter une période de transactions"_s);
    dlg.Calend->setRangeActive(true);
    main.runModal(dlg);
    // The dialog changed the list as it went, however it was closed: the
    // box follows it either way, and the report window lists them now, on
    // the period chosen here.
    st.curCIndex = dlg.selIndex >= 0 ? dlg.selIndex : 0;
    main.doc().periodsEdited(before, this);
    reloadPeriodBox(st.curCIndex);
    st.repList.curPeriod = st.curCIndex;
    if (pListCB->currentIndex() >= 0) {
        periodChange();
    } else {
        gGrid->clearContents();
        gGrid->setRowCount(1);
        gTotLab->clear();
    }
}
