#pragma once
// The register of a round of payouts: one line per artisan paid, with the
// mode and reference, and the total, as a PDF kept with the period's reports.

#include "model/account.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct RegisterLine {
    Payout payout;
    QString name; // as the windows name the artisan
};

// The PDF of lines paid on date for the period titled period by the boutique
// shop; the total is the sum of the amounts printed.
QByteArray payoutRegisterPdf(const QString& shop, const QString& period, const QString& date,
                             const QList<RegisterLine>& lines);
// "paiements-<date>.pdf": the register's name in the period's folder.
QString payoutRegisterName(const QString& date);
