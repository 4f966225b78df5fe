#include "ui/stock/returnDlg.h"

#include "core/textUtil.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TReturnDlg::TReturnDlg(const QString& artName, const QList<ShelfLine>& lines, const QHash<QString, int>& ticked,
                       const QDate& today, QWidget* parent)
    : QDialog(parent), m_lines(lines)
{
    setObjectName(u"returnDlg"_s);
    setWindowTitle(u"Rendre à l'artisan"_s);
    resize(820, 480);
    infoLab = named<QLabel>("infoLab", this);
    infoLab->setWordWrap(true);
    infoLab->setText(lines.isEmpty() ? u"%1 n'a aucun produit en stock."_s.arg(artName)
                                     : u"Produits de %1 en stock, les plus anciens en rayon indiqués par leur date "
                                       "d'arrivée. Cochez ce que l'artisan reprend et la quantité."_s.arg(artName));
    retGrid = named<QTableWidget>("retGrid", int(lines.size()), 7, this);
    retGrid->setHorizontalHeaderLabels({u"Rendre"_s, u"Produit"_s, u"Description"_s, u"Reçu le"_s,
                                        u"Jours en rayon"_s, u"En stock"_s, u"À rendre"_s});
    retGrid->verticalHeader()->hide();
    retGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    for (int r = 0; r < lines.size(); ++r) {
        const ShelfLine& l = lines.at(r);
        auto* tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        tick->setCheckState(ticked.contains(l.prodNo) ? Qt::Checked : Qt::Unchecked);
        retGrid->setItem(r, TickCol, tick);
        const QDate in = strToDate(l.oldest);
        const QStringList cells{l.key, l.descript, l.oldest, in.isValid() ? QString::number(in.daysTo(today)) : QString(),
                                QString::number(l.stock)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells.at(c));
            item->setFlags(Qt::ItemIsEnabled);
            if (c >= 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            retGrid->setItem(r, c + 1, item);
        }
        auto* qnt = new QTableWidgetItem(QString::number(ticked.value(l.prodNo, l.stock)));
        qnt->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        retGrid->setItem(r, QntCol, qnt);
    }
    OkBtn = named<QPushButton>("OkBtn", u"Rendre..."_s, this);
    OkBtn->setToolTip(u"Enregistre le retour (le stock baisse) et fait le bon de retour à signer"_s);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OkBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLab);
    layout->addWidget(retGrid, 1);
    layout->addLayout(row);
    connect(OkBtn, &QPushButton::clicked, this, [this] {
        const QString why = problem ? problem(chosen()) : QString();
        if (why.isEmpty())
            accept();
        else if (refuse)
            refuse(why);
    });
    keyboardDialog(this, OkBtn, row, retGrid);
}

QList<ReturnLine> TReturnDlg::chosen() const
{
    QList<ReturnLine> out;
    for (int r = 0; r < m_lines.size(); ++r) {
        if (retGrid->item(r, TickCol)->checkState() != Qt::Checked)
            continue;
        bool ok = false;
        const int qnt = retGrid->item(r, QntCol)->text().trimmed().toInt(&ok);
        out.append({m_lines.at(r).prodNo, ok ? qnt : -1});
    }
    return out;
}
