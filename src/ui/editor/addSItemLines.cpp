// The sale-line editor's work: choosing an artisan, putting products on and
// off the sheet, quantities, the list of the sheet's lines, and the search.
// Every change sets the product's sold quantity for the sheet's date at once,
// so the lines and the products never disagree.

#include "ui/editor/addSItemFrm.h"

#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/productSearch.h"
#include "ui/shell/main.h"
#include "ui/sales/saleFrm.h"

#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
const QString kAddFirst = u"Ajoutez d'abord le produit à la liste pour en changer la quantité... :) "_s;
const QString kNoZero = u"Une quantité de 0 n'est pas une vente : retirez plutôt le produit de la feuille "
                         "(une quantité négative enregistre un retour)."_s;
// Search results listed at most: the first ones are what a key finds.
constexpr int kMaxFound = 100;

// The product key of a line: its first field.
QString keyOf(const QString& line)
{
    return readCommaList(line).value(0);
}

// Whether key ("TreMar005-003", "*" while edited) names a product of the
// artisan whose tag is tag ("TreMar005"); its product number goes to prodNo.
// Only the artisan's number counts: the name part of a line is the label of
// the day it was made, and a renamed artisan keeps its lines.
bool keyOfArtisan(const QString& key, const QString& tag, QString* prodNo = nullptr)
{
    if (tag.size() < 3 || key.size() < 7)
        return false;
    const QChar sep = key.at(key.size() - 4);
    if (sep != u'-' && sep != u'*')
        return false;
    const TProductKey k = TSaleList::splitKey(key);
    if (k.artNo != tag.right(3))
        return false;
    if (prodNo)
        *prodNo = k.prodNo;
    return true;
}

// The number after the "*" of an artisan entry ("TreMar    *4"); -1 when none.
int entryIndex(const QString& entry)
{
    const qsizetype star = entry.indexOf(u'*');
    if (star < 0)
        return -1;
    bool ok = false;
    const int i = entry.mid(star + 1).toInt(&ok);
    return ok ? i : -1;
}

} // namespace

// --- opening ------------------------------------------------------------------

void TaddSItemDlg::loadSheet()
{
    saleDate = sale.dateLab->text();
    linesBefore = sale.saleLines;
    modifiedBefore = st.modified;
    dlgLines.clear();
    for (const QString& line : sale.saleLines)
        if (!keyOf(line).isEmpty())
            dlgLines << line;
    {
        const QSignalBlocker block(artListBox);
        artListBox->clear();
        artListBox->addItems(st.artList.fillItems(1));
        // Each line's tag and "*" mark said in words.
        for (int pos = 0; pos < artListBox->count(); ++pos) {
            QListWidgetItem* item = artListBox->item(pos);
            const int index = entryIndex(item->text());
            if (index >= 0 && index < st.artList.count())
                item->setToolTip(st.artList.displayName(index) + u"\n« *"_s + QString::number(index)
                                 + u" » : son rang dans la liste des artisans (le premier est *0)"_s);
        }
    }
    rebuildLineList();
}

void TaddSItemDlg::showFirst()
{
    shown = true;
    if (artListBox->count() > 0) {
        if (artListBox->currentRow() != 0)
            artListBox->setCurrentRow(0);
        else
            chooseArtisan(0);
    }
    if (startRow > -1 && startRow < dlgLines.size())
        chooseLine(startRow);
    searchEd->setFocus();
}

// --- the artisan and its products -----------------------------------------------

void TaddSItemDlg::chooseArtisan(int pos)
{
    if (pos < 0 || pos >= artListBox->count())
        return;
    if (pos != artPos)
        commitQuantity();
    const int index = entryIndex(artListBox->item(pos)->text());
    if (index < 0 || index >= st.artList.count())
        return;
    artPos = pos;
    artIndex = index;
    const TArtisan& a = st.artList.at(index);
    // The key of the artisan's lines, as the products' consignment reads it.
    curTag = a.artTag() + a.artNo;
    curTagLab->setText(curTag);
    NameLab->setText(st.artList.displayName(index));
    artProducts.assign(a.products);

    const QSignalBlocker block(prodStrGrid);
    prodStrGrid->clearContents();
    const int n = artProducts.count();
    prodStrGrid->setRowCount(n > 0 ? n : 1);
    QHash<QString, int> onSheet;
    for (const QString& line : dlgLines) {
        QString prodNo;
        if (keyOfArtisan(keyOf(line), curTag, &prodNo))
            onSheet.insert(prodNo, 1);
    }
    for (int r = 0; r < n; ++r)
        refreshRow(r, onSheet.contains(artProducts.ptrAt(r)->prodNo));
    prodStrGrid->setCurrentCell(0, 0);
    showRow(1);
    rebuildLineList();
}

TProduit* TaddSItemDlg::rowProduct() const
{
    const int r = prodRow - 1;
    return r >= 0 && r < artProducts.count() ? artProducts.ptrAt(r).get() : nullptr;
}

QString TaddSItemDlg::cell(int row, int col) const
{
    const QTableWidgetItem* item = prodStrGrid->item(row, col);
    return item ? item->text() : QString();
}

void TaddSItemDlg::setCell(int row, int col, const QString& text)
{
    if (QTableWidgetItem* item = prodStrGrid->item(row, col))
        item->setText(text);
    else
        prodStrGrid->setItem(row, col, new QTableWidgetItem(text));
}

void TaddSItemDlg::refreshRow(int row, bool marked)
{
    const QStringList cells = readCommaList(artProducts.saleLine(row, saleDate));
    for (int c = 0; c < prodStrGrid->columnCount(); ++c)
        setCell(row, c, cells.value(c));
    if (marked) {
        setCell(row, 0, u"*"_s + cells.value(0));
        setCell(row, 5, TProduit::unitAmount(cells.value(4), cells.value(3)));
    }
}

void TaddSItemDlg::showRow(int row)
{
    if (row != prodRow)
        commitQuantity();
    prodRow = row;
    const int r = row - 1;
    prodNoLab->setText(cell(r, 0));
    descriptLab->setText(cell(r, 1));
    priceLab->setText(cell(r, 3));
    TProduit* p = rowProduct();
    if (p)
        p->availableStr();
    qTlab0->setText(p ? QString::number(p->totIn) : u"na"_s);
    qTlab1->setText(cell(r, 4));
    qTlab2->setText(p ? QString::number(p->available) : u"na"_s);
    alertShape->setVisible(p && p->available < 0);
    // Under a Valeur rule, a product without one earns its artisan nothing:
    // said before it is sold, not only on the statement.
    const bool noValeur = p && !ValeurLookup(st.artList).valeur(p->artNo, p->prodNo)
                          && st.account.ruleAt(p->artNo, saleDate, ShareRule{st.artSharePercent}).byValeur();
    valeurLab->setText(noValeur ? u"%1 n'a pas de « Valeur » : sa vente ne rapporte rien à l'artisan. Inscrivez-la "
                                  "sur la page des produits."_s.arg(curTag + u'-' + p->prodNo)
                                : QString());
    sTotLab->setText(cell(r, 5));
    const bool marked = cell(r, 0).trimmed().startsWith(u'*');
    QntPanel->setEnabled(marked);
    QuantEdit->setVisible(marked);
    UDQuant->setVisible(marked);
    QuantEdit->setText(marked ? cell(r, 4) : u"1"_s);
    m_typed = false;
}

// --- the lines -------------------------------------------------------------------

int TaddSItemDlg::findLine(const QString& tag, const QString& prodNo) const
{
    int found = -1;
    for (qsizetype i = 0; i < dlgLines.size(); ++i) {
        QString no;
        if (keyOfArtisan(keyOf(dlgLines.at(i)), tag, &no) && no == prodNo)
            found = int(i);
    }
    return found;
}

QString TaddSItemDlg::lineOfRow(int row) const
{
    // Written as a comma list: a description holding quotes, commas or blanks
    // reads back as one field.
    return writeCommaList({curTag + u"*"_s + cell(row, 0).trimmed().remove(u'*'),
                           rowProduct() ? rowProduct()->descript : cell(row, 1), cell(row, 3),
                           cell(row, 4), cell(row, 5)});
}

QStringList TaddSItemDlg::sheetLines() const
{
    QStringList out;
    out.reserve(dlgLines.size());
    for (const QString& line : dlgLines) {
        QStringList fields = readCommaList(line);
        // Only the key's separator changes: a "*" in a description stays.
        if (!fields.isEmpty() && fields.first().contains(u'*')) {
            fields.first().replace(u'*', u'-');
            out << writeCommaList(fields);
        } else {
            out << line;
        }
    }
    return out;
}

void TaddSItemDlg::rebuildLineList()
{
    QStringList entries;
    entries.reserve(dlgLines.size());
    for (qsizetype i = 0; i < dlgLines.size(); ++i) {
        const QStringList fields = readCommaList(dlgLines.at(i));
        QString key = fields.value(0);
        const qsizetype star = key.indexOf(u'*');
        if (star >= 0)
            key[star] = u'-';
        entries << (i + 1 < 10 ? u"_"_s : QString()) + QString::number(i + 1) + u"."_s + key
                       + u" | "_s + fields.value(3);
    }
    bool same = entries.size() == ProdListBox->count();
    for (qsizetype i = 0; same && i < entries.size(); ++i)
        same = ProdListBox->item(int(i))->text() == entries.at(i);
    if (same)
        return;
    const int keep = ProdListBox->currentRow();
    const QSignalBlocker block(ProdListBox);
    ProdListBox->clear();
    ProdListBox->addItems(entries);
    if (keep >= 0 && keep < ProdListBox->count())
        ProdListBox->setCurrentRow(keep);
}

int TaddSItemDlg::artisanOfTag(const QString& key) const
{
    for (int i = 0; i < st.artList.count(); ++i) {
        const TArtisan& a = st.artList.at(i);
        if (keyOfArtisan(key, a.artTag() + a.artNo))
            return i;
    }
    return -1;
}

void TaddSItemDlg::selectArtisan(int artisan)
{
    for (int pos = 0; pos < artListBox->count(); ++pos) {
        if (entryIndex(artListBox->item(pos)->text()) != artisan)
            continue;
        if (artListBox->currentRow() != pos)
            artListBox->setCurrentRow(pos);
        if (artPos != pos)
            chooseArtisan(pos);
        return;
    }
}

void TaddSItemDlg::selectProduct(const QString& prodNo)
{
    for (int r = 0; r < artProducts.count(); ++r) {
        if (artProducts.ptrAt(r)->prodNo != prodNo)
            continue;
        {
            const QSignalBlocker block(prodStrGrid);
            prodStrGrid->setCurrentCell(r, 0);
        }
        showRow(r + 1);
        return;
    }
}

void TaddSItemDlg::chooseLine(int index)
{
    commitQuantity();
    if (index < 0 || index >= dlgLines.size())
        return;
    const QString key = keyOf(dlgLines.at(index));
    const int artisan = artisanOfTag(key);
    if (artisan < 0)
        return;
    selectArtisan(artisan);
    QString prodNo;
    if (keyOfArtisan(key, curTag, &prodNo))
        selectProduct(prodNo);
    const QSignalBlocker block(ProdListBox);
    ProdListBox->setCurrentRow(index);
}

// --- putting on, taking off, quantities ----------------------------------------------

void TaddSItemDlg::remember()
{
    const int r = prodRow - 1;
    if (r < 0 || r >= artProducts.count())
        return;
    const TProdList::Ptr& p = artProducts.ptrAt(r);
    for (const auto& kept : m_soldBefore)
        if (kept.first == p)
            return;
    m_soldBefore.emplace_back(p, p->soldList);
}

void TaddSItemDlg::undo()
{
    QList<std::pair<TProduit*, TQnt>> before;
    for (auto& [p, sold] : m_soldBefore)
        before.append({p.get(), sold});
    main.doc().restoreSold(before);
    m_soldBefore.clear();
    dlgLines.clear();
    changed = false;
}

bool TaddSItemDlg::setSold(TProduit& p, int qnt, int previous)
{
    // An artisan who left sells nothing new; a customer's return still counts.
    const auto gone = st.account.gone.constFind(p.artNo);
    if (qnt > 0 && previous <= 0 && gone != st.account.gone.cend() && *gone <= saleDate) {
        main.prompt().error(u"L'artisan %1 a quitté la boutique le %2 : ses produits ne se vendent plus. Pour l'y "
                            "remettre, décochez « A quitté la boutique » sur sa page."_s.arg(p.artNo, *gone));
        return false;
    }
    p.availableStr();
    const int after = p.available + previous - qnt;
    if (after < 0 && qnt > previous
        && main.prompt().question(u"Le stock de %1-%2 passera à %3 (%4).\nVendre quand même ?"_s.arg(
               curTag, p.prodNo, QString::number(after), p.descript))
               != Prompt::Answer::Yes)
        return false;
    remember();
    main.doc().setSold(p, saleDate, qnt);
    changed = true;
    return true;
}

void TaddSItemDlg::putOnOff()
{
    TProduit* p = rowProduct();
    if (!p || artPos < 0)
        return;
    const int r = prodRow - 1;
    const int line = findLine(curTag, p->prodNo);
    if (!cell(r, 0).trimmed().startsWith(u'*')) {
        if (line < 0) {
            bool ok = false;
            const int qnt = QuantEdit->text().toInt(&ok);
            if (!setSold(*p, ok && qnt != 0 ? qnt : 1, 0))
                return;
            refreshRow(r, true);
            dlgLines << lineOfRow(r);
        } else {
            refreshRow(r, true);
        }
    } else {
        if (line >= 0)
            dlgLines.removeAt(line);
        remember();
        main.doc().clearSold(*p, saleDate);
        refreshRow(r, false);
        changed = true;
    }
    rebuildLineList();
    showRow(prodRow);
}

void TaddSItemDlg::changeQuantity()
{
    if (artPos < 0)
        return;
    TProduit* p = rowProduct();
    const int r = prodRow - 1;
    const int line = p ? findLine(curTag, p->prodNo) : -1;
    if (line < 0 || !cell(r, 0).trimmed().startsWith(u'*')) {
        main.prompt().information(kAddFirst);
        return;
    }
    const QString before = p->soldList.qntAt(saleDate);
    m_typed = false;
    bool ok = false;
    const int qnt = QuantEdit->text().toInt(&ok);
    // A line of no quantity is no sale: it is taken off, not kept.
    if (ok && qnt == 0) {
        main.prompt().information(kNoZero);
        QuantEdit->setText(before);
        return;
    }
    if (!ok || !setSold(*p, qnt, before.toInt())) {
        QuantEdit->setText(before);
        return;
    }
    refreshRow(r, true);
    dlgLines[line] = lineOfRow(r);
    rebuildLineList();
    showRow(prodRow);
}

void TaddSItemDlg::commitQuantity()
{
    // Only a product on the sheet shows the field; an unchanged or unreadable
    // text is no entry.
    const int r = prodRow - 1;
    if (!m_typed || artPos < 0 || QuantEdit->isHidden() || !rowProduct()
        || !cell(r, 0).trimmed().startsWith(u'*'))
        return;
    m_typed = false;
    bool ok = false;
    const int typed = QuantEdit->text().toInt(&ok);
    if (ok && typed != cell(r, 4).toInt())
        changeQuantity();
}

void TaddSItemDlg::stepQuantity(int delta)
{
    // A product not on the sheet gets the reminder to put it on first.
    if (QuantEdit->isHidden())
        return changeQuantity();
    int qnt = QuantEdit->text().toInt() + delta;
    if (qnt == 0) // stepping passes over 0, from a sale to a return
        qnt += delta;
    QuantEdit->setText(QString::number(qBound(-999, qnt, 999)));
    changeQuantity();
}

// --- search -------------------------------------------------------------------------

void TaddSItemDlg::search(const QString& text)
{
    m_found.clear();
    searchList->clear();
    QStringList entries;
    for (const ProductHit& hit : findProducts(st.artList, text, kMaxFound)) {
        const TArtisan& artisan = st.artList.at(hit.artisan);
        const TProduit& p = *artisan.products.ptrAt(hit.product);
        m_found.append({hit.artisan, hit.product});
        entries << artisan.artTag() + artisan.artNo + u"-"_s + p.prodNo + u"  "_s + p.descript;
    }
    searchList->addItems(entries);
    if (!entries.isEmpty())
        searchList->setCurrentRow(0);
}

void TaddSItemDlg::takeSearchResult()
{
    int row = searchList->currentRow();
    if (row < 0 && !m_found.isEmpty())
        row = 0;
    if (row < 0 || row >= m_found.size())
        return;
    const auto [artisan, product] = m_found.at(row);
    selectArtisan(artisan);
    if (artIndex != artisan || product >= artProducts.count())
        return;
    selectProduct(artProducts.ptrAt(product)->prodNo);
    if (cell(prodRow - 1, 0).trimmed().startsWith(u'*')) {
        QuantEdit->setText(QString::number(cell(prodRow - 1, 4).toInt() + 1));
        changeQuantity();
    } else {
        QuantEdit->setText(u"1"_s);
        putOnOff();
    }
    searchEd->selectAll();
}
