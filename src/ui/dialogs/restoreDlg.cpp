#include "ui/dialogs/restoreDlg.h"

#include "core/textUtil.h"
#include "ui/widgets/controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QString TRestoreDlg::lineFor(const BackupEntry& b)
{
    const QLocale fr(QLocale::French, QLocale::Canada);
    QString line = b.when.toString(u"dd/MM/yyyy HH:mm:ss"_s) + u"   "_s
                   + fr.toString(double(b.size) / 1024.0, 'f', 1) + u" Ko   "_s;
    const DbSummary& s = b.summary;
    if (s.state == DbSummary::State::Unreadable)
        return line + u"endommagée : "_s + s.problem;
    line += countOf(s.artisans, u"artisan"_s, u"artisans"_s) + u", "_s + countOf(s.sheets, u"feuille"_s, u"feuilles"_s)
            + u", "_s + countOf(s.lines, u"ligne"_s, u"lignes"_s);
    if (!s.lastSheet.isEmpty())
        line += u", dernière feuille "_s + s.lastSheet;
    return s.state == DbSummary::State::Partly ? line + u" (endommagée, lue en partie)"_s : line;
}

TRestoreDlg::TRestoreDlg(const QString& databaseName, const QList<BackupEntry>& backups, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"RestoreDlg"_s);
    setWindowTitle(u"Restaurer une sauvegarde"_s);
    infoLab = named<QLabel>("infoLab", this);
    infoLab->setWordWrap(true);
    infoLab->setText(backups.isEmpty()
                         ? u"Aucune sauvegarde de %1 pour le moment."_s.arg(databaseName)
                         : u"Sauvegardes de %1, la plus récente en premier. La base actuelle sera elle aussi "
                           u"gardée en sauvegarde avant d'ouvrir celle choisie."_s.arg(databaseName));
    backupList = named<QListWidget>("backupList", this);
    backupList->setMinimumWidth(520);
    for (const BackupEntry& b : backups) {
        auto* item = new QListWidgetItem(lineFor(b), backupList);
        item->setData(Qt::UserRole, b.path);
        // A damaged copy would restore a loss: shown, not offered.
        if (b.summary.state != DbSummary::State::Whole)
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
    }
    for (int i = 0; i < backupList->count(); ++i)
        if (backupList->item(i)->flags() & Qt::ItemIsEnabled) {
            backupList->setCurrentRow(i);
            break;
        }
    OKBtn = named<QPushButton>("OKBtn", u"Restaurer"_s, this);
    OKBtn->setEnabled(!chosenPath().isEmpty());
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(backupList, &QListWidget::currentRowChanged, this,
            [this] { OKBtn->setEnabled(!chosenPath().isEmpty()); });
    connect(backupList, &QListWidget::itemDoubleClicked, this, [this] {
        if (!chosenPath().isEmpty())
            accept();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLab);
    layout->addWidget(backupList, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    layout->addLayout(buttons);
    keyboardDialog(this, OKBtn, buttons, backupList);
}

QString TRestoreDlg::chosenPath() const
{
    const QListWidgetItem* item = backupList->currentItem();
    return item && (item->flags() & Qt::ItemIsEnabled) ? item->data(Qt::UserRole).toString() : QString();
}
