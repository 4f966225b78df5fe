#pragma once
// "Restaurer une sauvegarde...": the backup copies of the open database with
// their date, time, size and contents; a damaged copy is shown, not chosen.

#include "boutique/dbSummary.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class TRestoreDlg : public QDialog {
    Q_OBJECT
public:
    TRestoreDlg(const QString& databaseName, const QList<BackupEntry>& backups, QWidget* parent = nullptr);

    QLabel* infoLab;
    QListWidget* backupList;
    QPushButton* OKBtn;

    // The copy chosen; empty when none.
    QString chosenPath() const;

    // One line of the list: "18/05/2026 14:03:12   12,4 Ko   5 artisans, 40 feuilles".
    static QString lineFor(const BackupEntry& backup);
};
