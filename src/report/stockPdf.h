#pragma once
// The shelves' printouts: the differences a count found, and the "bon de
// retour" an artisan signs when taking goods back; as PDFs.

#include "core/money.h"
#include "model/stockCount.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A count's differences, by artisan: missing, found in excess, never scanned.
struct DifferencesSheet {
    QString shopName;
    QString started; // "yymmdd", the day the count began
    QString closed;  // the day it was closed
    QString scope;   // "la boutique" or the artisan's display name
    QList<CountDiff> diffs;
};
QByteArray differencesPdf(const DifferencesSheet& sheet);

// One product handed back.
struct ReturnSlipLine {
    QString key;
    QString descript;
    int qnt = 0;
    Money price;
    Money value;
};

struct ReturnSlip {
    QString shopName;
    QString shopAddress; // one line per postal line
    QString artName;     // display name
    QString artAddress;
    QString date;        // "yymmdd"
    QList<ReturnSlipLine> lines;
};
QByteArray returnSlipPdf(const ReturnSlip& slip);
