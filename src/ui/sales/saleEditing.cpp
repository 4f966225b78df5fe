// The sales window's side of the sale-line editor: editing mode, docking the
// editor in place of the sheet view, and taking its lines back.

#include "ui/sales/saleFrm.h"

#include "boutique/appState.h"
#include "core/prompt.h"
#include "ui/editor/addSItemFrm.h"
#include "ui/shell/dbCommands.h"
#include "ui/shell/main.h"

#include <QFrame>
#include <QLabel>
#include <QTableWidget>

using namespace Qt::StringLiterals;

void TsaleForm::openEditor(int line)
{
    if (editing || listMode || curSheet < 0 || curSheet >= st.saleList.count()
        || st.saleList.curDate.isEmpty())
        return;
    // The agent or date being changed is stored first.
    storeShown();
    curRow = line;
    setEditing(true);
    sItemDlg = new TaddSItemDlg(st, main, *this, this);
    sItemDlg->loadSheet();
    sItemDlg->infoLab->clear();
    if (curRow > -1) {
        sItemDlg->setWindowTitle(u"Modifier une entrée"_s);
        sItemDlg->startRow = curRow;
    } else {
        sItemDlg->setWindowTitle(u"Ajouter/modifier une entrée"_s);
    }
    sItemDlg->setWindowFlags(Qt::Widget);
    swapHosted(formPanel, sItemDlg);
}

void TsaleForm::takeEditedLines()
{
    sItemDlg->commitQuantity();
    sItemDlg->storedWhileOpen = true;
    saleLines = sItemDlg->sheetLines();
    rebuildGrid();
    computeTotal();
    storeSheet(curSheet);
}

void TsaleForm::closeEditor()
{
    if (!editing || !sItemDlg)
        return;
    // Every product taken off leaves an empty sheet, as its quantities are.
    takeEditedLines();
    const int start = sItemDlg->startRow;
    dropEditor();

    // The line opened on stays selected, or the last one after adding.
    const auto n = int(saleLines.size());
    curRow = start > -1 && start < n ? start : n - 1;
    if (curRow >= 0)
        SalesGrid->selectRow(curRow);
    // Saved after the sheet took its lines; a failed save is shown and the
    // database stays marked unsaved. Nothing changed, nothing is written
    // (a save would push a real backup copy out of the rotation).
    if (st.modified && !main.db().save())
        main.setStatusText(0, u"non enregistré!"_s);
}

void TsaleForm::cancelEditor()
{
    if (!editing || !sItemDlg)
        return;
    TaddSItemDlg& e = *sItemDlg;
    if ((e.changed || e.storedWhileOpen)
        && main.prompt().question(u"Annuler les changements de la feuille du %1 ?"_s.arg(dateLab->text()))
               != Prompt::Answer::Yes)
        return;
    e.undo();
    saleLines = e.linesBefore;
    rebuildGrid();
    const bool stored = e.storedWhileOpen;
    const bool modifiedBefore = e.modifiedBefore;
    const int start = e.startRow;
    dropEditor();
    const auto n = int(saleLines.size());
    curRow = start > -1 && start < n ? start : n - 1;
    if (curRow >= 0)
        SalesGrid->selectRow(curRow);
    // A save made while it was open wrote the edits: the file takes the
    // sheet back too. Otherwise the file never saw them.
    if (!stored) {
        main.doc().setModified(modifiedBefore);
        return;
    }
    computeTotal();
    storeSheet(curSheet);
    if (!main.db().save())
        main.setStatusText(0, u"non enregistré!"_s);
}

void TsaleForm::dropEditor()
{
    if (!sItemDlg)
        return;
    swapHosted(sItemDlg, formPanel);
    sItemDlg->hide();
    // Closed from its own button: it goes once that click is over.
    sItemDlg->deleteLater();
    sItemDlg = nullptr;
    setEditing(false);
}
