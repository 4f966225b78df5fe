// The products window's list mode: all products of the artisan in one grid,
// and in import mode the products offered by the import list.

#include "ui/products/prodFrm.h"

#include "boutique/appState.h"
#include "boutique/productState.h"
#include "core/textUtil.h"
#include "export/artListXML.h"
#include "model/uArt.h"
#include "ui/artisans/artFrm.h"
#include "ui/artisans/importArtDlg.h"
#include "ui/shell/main.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
const QString kListTitles = u"Prod,Descript,Qnt,Val,Prix"_s;
const QString kImportTitles = u"N0,Descript,Val,Prix,N1"_s;
} // namespace

// --- list mode ----------------------------------------------------------------

void TProdForm::fillProductGrid()
{
    const bool importing = importChk->isChecked();
    TProdList& list = importing ? impProdList : st.prodList;
    transList->clearContents();
    QStringList titles = readCommaList(importing ? kImportTitles : kListTitles);
    while (titles.size() < transList->columnCount())
        titles << QString(); // the spare columns carry no title
    transList->setHorizontalHeaderLabels(titles);
    transList->setRowCount(list.count());
    int total = 0;
    for (int i = 0; i < list.count(); ++i) {
        const QStringList cells = readCommaList(importing ? list.importLine(i) : list.listLine(i));
        for (int c = 0; c < cells.size() && c < transList->columnCount(); ++c)
            transList->setItem(i, c, new QTableWidgetItem(cells.at(c)));
        total += importing ? 1 : strToIntDef(cells.value(2), 0);
    }
    gridTotLab->setText(QString::number(total));
    if (!importing && validProduct())
        transList->selectRow(st.curProdInd);
}

void TProdForm::toggleProdViewMode()
{
    if (!prodListMode)
        storeShown(); // the grid shows what was just typed
    prodListMode = !prodListMode;
    prodNoLab->setText(st.curItem);
    if (importChk->isChecked())
        importChk->setChecked(false);
    imProdBtn->hide();
    if (prodListMode) {
        main.showArtSubPage(3);
        placeArtPageBtn(listPanel);
        main.subTLabel->setText(u"liste"_s);
        fillProductGrid();
    } else {
        main.showArtSubPage(1);
        fieldPanel->setEnabled(!st.prodList.isEmpty());
        placeArtPageBtn(formPanel);
        main.subTLabel->setText(u"détail"_s);
    }
    artPageBtn->show();
    main.refreshStatus(2);
    prodViewPage = main.artSubPage;
}

void TProdForm::placeArtPageBtn(QWidget* panel)
{
    if (artPageBtn->parentWidget() == panel)
        return;
    auto* formTop = static_cast<QBoxLayout*>(
        static_cast<QGridLayout*>(formPanel->layout())->itemAtPosition(0, 0)->layout());
    auto* listTop = static_cast<QBoxLayout*>(listPanel->layout()->itemAt(0)->layout());
    (panel == listPanel ? formTop : listTop)->removeWidget(artPageBtn);
    artPageBtn->setParent(panel);
    (panel == listPanel ? listTop : formTop)->addWidget(artPageBtn);
}

void TProdForm::transListClick(int row)
{
    if (importChk->isChecked()) {
        impRow = row;
        const QTableWidgetItem* linked = transList->item(row, 4);
        if (!linked || linked->text().isEmpty())
            imProdBtn->show();
        else
            main.setStatusText(2, u"produit déjà importé..."_s);
        return;
    }
    if (st.prodList.isEmpty() || row < 0 || row >= st.prodList.count())
        return;
    if (validProduct())
        setPData(st.curProdInd);
    st.curProdInd = row;
    {
        const QSignalBlocker block(ProdListBox);
        ProdListBox->setCurrentRow(row);
    }
    showCurrentProduct();
}

void TProdForm::transListDoubleClick()
{
    if (importChk->isChecked())
        imProdBtnClick();
    else
        toggleProdViewMode();
}

// --- import of products -------------------------------------------------------------

void TProdForm::setImportMode(bool on)
{
    main.setPageBtnShown(!on);
    setHelp(u"Importation de produits d'un artisan déjà inscrit"_s);
    if (!on) {
        impProdList.clear();
        imProdBtn->hide();
        main.showArtSubPage(prodListMode ? 3 : 1);
        fieldPanel->setEnabled(!st.prodNoList.isEmpty());
        main.updatePageBtn();
        if (prodListMode)
            fillProductGrid();
        return;
    }
    storeShown();
    main.showArtSubPage(3);
    prepareImport();
    fillProductGrid();
    prodListMode = true;
    importDone = false;
}

void TProdForm::prepareImport()
{
    main.setStatusText(2, u"Produits de la liste importée"_s);
    QString source;
    impArtIndex = st.curArtInd >= 0 && st.curArtInd < st.artList.count()
                      ? st.artList.varSourceIndex(st.curArtInd, &source)
                      : -1;
    // The products come from the file the artisan was imported from, which
    // need not be the import file chosen last; that choice stays as it is.
    const QString path = importFilePath(st, source.isEmpty() ? st.importFName : source);
    TArtForm& art = *main.artForm;
    if (st.impArtList.isEmpty() || art.impListSource != path) {
        st.impArtList.clear();
        art.impListSource.clear();
        if (QFileInfo(path).isFile() && readArtListFile(st.impArtList, path))
            art.impListSource = path;
    }
    impProdList.clear();
    impRow = -1;
    if (impArtIndex >= 0 && impArtIndex < st.impArtList.count())
        impProdList.assign(st.impArtList.productsOf(impArtIndex));
}

void TProdForm::imProdBtnClick()
{
    st.curItem = nextProdNo(st);
    prodNoLab->setText(st.curItem);
    const QTableWidgetItem* linked = transList->item(impRow, 4);
    if (impRow < 0 || impRow >= impProdList.count() || (linked && !linked->text().isEmpty())) {
        main.setStatusText(2, u"produit déjà importé..."_s);
        importDone = true;
        return;
    }
    storeShown();
    // A blank product last in the list is filled instead of a new one: it
    // keeps its own number.
    const int count = st.prodList.count();
    if (count >= 2 && st.prodList.at(count - 1).descript.isEmpty())
        st.curItem = st.prodList.at(count - 1).prodNo;
    main.doc().addImportedProduct(impProdList.at(impRow), st.curItem);
    {
        const QSignalBlocker block(ProdListBox);
        ProdListBox->clear();
        ProdListBox->addItems(productLines());
    }
    st.curProdInd = st.prodList.count() - 1;
    showProduct(st.curProdInd);
    transList->setItem(impRow, 4, new QTableWidgetItem(st.curItem));
    st.impArtList.setImportedProdNo(impArtIndex, impRow, u"*"_s + st.curItem);
    main.setStatusText(2, countOf(st.prodList.count(), u"produit"_s, u"produits"_s));
    imProdBtn->hide();
    importDone = true;
}
