// The sheet view of the sales window: showing and storing sheets, moving
// between them, new sheets and new dates, the agent and the total.

#include "ui/sales/saleFrm.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/uProd.h"

#include "ui/sales/FCalDlg.h"
#include "ui/widgets/PCalendar.h"
#include "ui/shell/main.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

void TsaleForm::clearSheetView()
{
    dateLab->setText(u"?"_s);
    saleLines.clear();
    rebuildGrid();
    sTotLab->setText(u"0.00$"_s);
    curSheet = 0;
    curRow = 0;
    viewModeBtn->setVisible(false);
    delSBTN->setEnabled(false);
    redateBtn->setEnabled(false);
}

void TsaleForm::showSheet(int i)
{
    const TSaleItem& s = st.saleList.selectSheet(i);
    curSheet = i;
    dateLab->setText(s.date);
    sNameLab->setText(s.agent);
    // The sum of the lines' amounts, as every report prints it (a file
    // written elsewhere may store another).
    sTotLab->setText(sheetAmount(s).format());
    saleLines = st.saleList.saleLinesOf(i);
    rebuildGrid();
    delSBTN->setEnabled(!editing);
    redateBtn->setEnabled(!editing);
}

void TsaleForm::deleteShownSheet()
{
    if (editing || curSheet < 0 || curSheet >= st.saleList.count())
        return;
    storeShown();
    const TSaleItem& s = st.saleList.at(curSheet);
    const auto n = st.saleList.saleLinesOf(curSheet).size();
    const QString question = u"Supprimer la feuille du %1 (%2 ligne%3, total %4) ?\n"
                             "Les quantités vendues de ses lignes seront retirées des produits."_s.arg(
                                 frenchDate(s.date), QString::number(n), n > 1 ? u"s"_s : QString(),
                                 sheetAmount(s).format());
    if (main.prompt().question(question) != Prompt::Answer::Yes)
        return;
    main.doc().deleteSheet(curSheet);
    refreshSheetList();
    if (listMode)
        periodChange();
    main.setStatusText(0, u"feuille supprimée"_s);
}

void TsaleForm::storeSheet(int i)
{
    // A sheet only looked at keeps what its file stores; a changed one stores
    // the sum of its lines, as shown.
    main.doc().storeSheet(i, dateLab->text(), sNameLab->text(), sTotLab->text(), saleLines);
    main.setStatusText(0, u"Feuille du "_s + dateLab->text() + u" à jour"_s);
}

void TsaleForm::storeCurrentSheet()
{
    const int i = st.saleList.indexOfCurDate();
    if (i >= 0)
        storeSheet(i);
}

void TsaleForm::refreshSheetList()
{
    {
        const QSignalBlocker block(sListBox);
        const QStringList dates = st.saleList.sheetDates();
        if (dates != listedDates || sListBox->count() != dates.size()) {
            sListBox->clear();
            sListBox->addItems(dates);
            listedDates = dates;
        }
        if (sListBox->count() > 0)
            sListBox->setCurrentRow(0);
    }
    if (st.saleList.isEmpty()) {
        clearSheetView();
        return;
    }
    showSheet(0);
    placeViewButton();
}

void TsaleForm::rebuildGrid()
{
    SalesGrid->clearContents();
    const auto n = int(saleLines.size());
    SalesGrid->setRowCount(n > 0 ? n : 1);
    for (int r = 0; r < n; ++r) {
        const QStringList cells = readCommaList(saleLines.at(r));
        for (int c = 0; c < SalesGrid->columnCount() && c < cells.size(); ++c)
            SalesGrid->setItem(r, c, new QTableWidgetItem(cells.at(c)));
    }
    tCntLab->setText(QString::number(n));
}

void TsaleForm::computeTotal()
{
    sheetTotal = Money();
    for (int r = 0; r < SalesGrid->rowCount(); ++r) {
        const QTableWidgetItem* price = SalesGrid->item(r, 2);
        const QTableWidgetItem* qnt = SalesGrid->item(r, 3);
        if (price && qnt)
            sheetTotal += saleAmount(price->text(), qnt->text());
    }
    sTotLab->setText(sheetTotal.format());
}

void TsaleForm::moveToSheet(int i)
{
    if (i < 0 || i >= st.saleList.count() || i == curSheet)
        return;
    if (curSheet >= 0 && curSheet < st.saleList.count())
        storeSheet(curSheet);
    curSheet = i;
    showSheet(i);
}

void TsaleForm::chooseDate(bool redate)
{
    const bool haveSheet = curSheet >= 0 && curSheet < st.saleList.count();
    if (editing || (redate && !haveSheet))
        return;
    // What the shown sheet holds is kept before the ledger is reordered.
    storeShown();

    TCalDialog dlg(main.prompt(), &main);
    dlg.setWindowTitle(u"Ajouter..."_s);
    const int placeholder = commaIndexOf(st.sAgentList, u"nom..."_s);
    if (placeholder >= 0)
        st.sAgentList = delCommaItem(st.sAgentList, placeholder);
    dlg.sNameCB->addItems(readCommaList(st.sAgentList));
    dlg.sNameCB->setEditText(st.lastSAgent);
    dlg.usedDates = st.saleList.sheetDates();
    dlg.fillUsedDays();
    dlg.Calend->setRangeActive(false);
    if (redate) {
        dlg.setWindowTitle(u"Modifier..."_s);
        dlg.sNameCB->setEditText(sNameLab->text());
        dlg.setDateStr(dateLab->text());
    }
    if (main.runModal(dlg) != QDialog::Accepted)
        return;

    const QString date = dlg.chosenDate();
    if (!strToDate(date).isValid() || st.saleList.indexOfDate(date) >= 0)
        return; // the dialog closes only on a free date
    if (redate) {
        // The sheet's sold quantities move with it, or nothing moves.
        main.doc().redateSheet(curSheet, date);
        curSheet = st.saleList.indexOfDate(date);
    }
    st.lastSAgent = dlg.agent();
    st.sAgentList = addCommaItem(st.lastSAgent, st.sAgentList);
    if (redate) {
        dateLab->setText(date);
        sNameLab->setText(st.lastSAgent);
        storeSheet(curSheet);
    } else {
        main.doc().addSheet(date, st.lastSAgent);
    }
    const int at = st.saleList.indexOfDate(date);
    refreshSheetList();
    showSheet(at);
    {
        const QSignalBlocker block(sListBox);
        sListBox->setCurrentRow(at);
    }
    // Re-dated from the all-sales view: its rows follow.
    if (listMode)
        periodChange();
}

void TsaleForm::showAgentBox()
{
    if (editing)
        return;
    sNameCB->setEditText(sNameLab->text());
    sNameCB->show();
    sNameCB->raise();
    sNameCB->setFocus();
}

void TsaleForm::commitAgent()
{
    const QString agent = sNameCB->currentText();
    if (agent.isEmpty())
        return;
    // The agent is a field of the sheet's record.
    const QString problem = recordFieldProblem(agent, REC_SEP);
    if (!problem.isEmpty())
        throw AppError(problem);
    st.lastSAgent = agent;
    st.sAgentList = addCommaItem(st.lastSAgent, st.sAgentList);
    {
        const QSignalBlocker block(sNameCB);
        sNameCB->clear();
        sNameCB->addItems(readCommaList(st.sAgentList));
        sNameCB->setEditText(agent);
    }
    sNameLab->setText(st.lastSAgent);
    sNameCB->hide();
    storeCurrentSheet();
}
