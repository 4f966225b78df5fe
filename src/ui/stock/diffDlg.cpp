#include "ui/stock/diffDlg.h"

#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QComboBox>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kChoiceCol = 8;

// The choices a line offers: units in excess come back to the stock, with no
// loss to bear.
QStringList choicesOf(bool missing)
{
    const QStringList all = TDiffDlg::choiceTexts();
    return missing ? all : QStringList{all.at(0), u"Ajuster"_s};
}

// The choice column's box, made only while a line is edited: a count of the
// whole boutique may list thousands of lines.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* box = new QComboBox(parent);
        box->addItems(choicesOf(index.data(Qt::UserRole + 1).toBool()));
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentIndex(index.data(Qt::UserRole).toInt());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* box = static_cast<QComboBox*>(editor);
        model->setData(index, box->currentIndex(), Qt::UserRole);
        model->setData(index, box->currentText(), Qt::DisplayRole);
    }
};

QString kindText(CountDiff::Kind k)
{
    return k == CountDiff::Missing ? u"manquant"_s : k == CountDiff::Excess ? u"en trop"_s : u"non scanné"_s;
}

} // namespace

QStringList TDiffDlg::choiceTexts()
{
    return {u"Ne rien enregistrer"_s, u"Ajuster, perte sans crédit"_s, u"Ajuster, perte à la boutique"_s};
}

TDiffDlg::TDiffDlg(const QList<CountDiff>& diffs, const QString& caption, QWidget* parent)
    : QDialog(parent), m_diffs(diffs)
{
    setObjectName(u"diffDlg"_s);
    setWindowTitle(u"Écarts du comptage"_s);
    resize(900, 520);
    infoLab = named<QLabel>("infoLab", caption, this);
    infoLab->setWordWrap(true);
    diffGrid = named<QTableWidget>("diffGrid", int(diffs.size()), 9, this);
    diffGrid->setHorizontalHeaderLabels({u"Artisan"_s, u"Produit"_s, u"Description"_s, u"Attendu"_s, u"Compté"_s,
                                         u"Écart"_s, u"Au prix"_s, u"À la valeur"_s, u"À enregistrer"_s});
    diffGrid->verticalHeader()->hide();
    diffGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    diffGrid->setItemDelegateForColumn(kChoiceCol, new ChoiceDelegate(diffGrid));
    diffGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    for (int r = 0; r < diffs.size(); ++r) {
        const CountDiff& d = diffs.at(r);
        const int n = d.diff() < 0 ? -d.diff() : d.diff();
        const QStringList cells{d.artName,
                                d.key,
                                d.descript + u" ("_s + kindText(d.kind) + u')',
                                QString::number(d.expected),
                                QString::number(d.counted),
                                QString::number(d.diff()),
                                (d.price * n).format(),
                                (d.value * n).format()};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells.at(c));
            item->setFlags(Qt::ItemIsEnabled);
            if (c >= 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            diffGrid->setItem(r, c, item);
        }
        auto* choice = new QTableWidgetItem(choiceTexts().at(0));
        choice->setData(Qt::UserRole, int(CountDiff::Nothing));
        choice->setData(Qt::UserRole + 1, d.diff() < 0);
        choice->setFlags(Qt::ItemIsEnabled | Qt::ItemIsEditable);
        diffGrid->setItem(r, kChoiceCol, choice);
    }
    allBoutiqueBtn = named<QPushButton>("allBoutiqueBtn", u"Tout ajuster, perte à la boutique"_s, this);
    allBoutiqueBtn->setToolTip(u"L'artisan est crédité de sa part des unités manquantes"_s);
    allNobodyBtn = named<QPushButton>("allNobodyBtn", u"Tout ajuster, perte sans crédit"_s, this);
    allNothingBtn = named<QPushButton>("allNothingBtn", u"Ne rien enregistrer"_s, this);
    printBtn = named<QPushButton>("printBtn", u"Imprimer les écarts..."_s, this);
    OkBtn = named<QPushButton>("OkBtn", u"Enregistrer et clore"_s, this);
    for (QPushButton* b : {allBoutiqueBtn, allNobodyBtn, allNothingBtn, printBtn})
        b->setAutoDefault(false);
    auto* all = new QHBoxLayout;
    all->addWidget(allBoutiqueBtn);
    all->addWidget(allNobodyBtn);
    all->addWidget(allNothingBtn);
    all->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(printBtn);
    row->addStretch();
    row->addWidget(OkBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLab);
    layout->addWidget(diffGrid, 1);
    layout->addLayout(all);
    layout->addLayout(row);
    connect(allBoutiqueBtn, &QPushButton::clicked, this,
            [this] { setAll(CountDiff::AdjustBoutiqueBears, CountDiff::Adjust); });
    connect(allNobodyBtn, &QPushButton::clicked, this, [this] { setAll(CountDiff::Adjust, CountDiff::Adjust); });
    connect(allNothingBtn, &QPushButton::clicked, this, [this] { setAll(CountDiff::Nothing, CountDiff::Nothing); });
    connect(printBtn, &QPushButton::clicked, this, [this] {
        if (print)
            print(chosen());
    });
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    keyboardDialog(this, OkBtn, row, diffGrid);
}

void TDiffDlg::setChoice(int row, CountDiff::Choice c)
{
    QTableWidgetItem* item = diffGrid->item(row, kChoiceCol);
    const QStringList texts = choicesOf(m_diffs.at(row).diff() < 0);
    const int at = std::min(int(c), int(texts.size()) - 1);
    item->setData(Qt::UserRole, at);
    item->setText(texts.at(at));
}

CountDiff::Choice TDiffDlg::choice(int row) const
{
    return CountDiff::Choice(diffGrid->item(row, kChoiceCol)->data(Qt::UserRole).toInt());
}

void TDiffDlg::setAll(CountDiff::Choice missing, CountDiff::Choice other)
{
    for (int r = 0; r < m_diffs.size(); ++r)
        setChoice(r, m_diffs.at(r).diff() < 0 ? missing : other);
}

QList<CountDiff> TDiffDlg::chosen() const
{
    QList<CountDiff> out = m_diffs;
    for (int r = 0; r < out.size(); ++r)
        out[r].choice = choice(r);
    return out;
}
