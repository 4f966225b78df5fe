#pragma once
// The books for the accountant: a period's figures per artisan and its payout
// journal, as CSV that a French-language spreadsheet opens in one double
// click (semicolons, decimal comma, UTF-8 with a byte-order mark, fields
// quoted as RFC 4180 says).

#include "core/money.h"
#include "core/safeWrite.h"
#include "model/artShare.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class Account;
class SaleBook;
class TArtList;
class TReport;

// One CSV record, CRLF-terminated; a field holding ";", a quote or a line
// break is quoted, its quotes doubled.
QByteArray csvRecord(const QStringList& fields);
// "1234,50", "-5,00": two decimals, a decimal comma, no "$".
QString csvMoney(Money m);

// The two files' names for a period titled title.
QString booksArtisansName(const QString& title);
QString booksPayoutsName(const QString& title);

struct BooksInput {
    const SaleBook& book;
    const TArtList& arts;
    const Account& account;
    ShareRule fallback;
};

// The CSV bytes of the period's figures: one row per artisan with sales,
// payouts or a balance, then the totals (sums of the rows above).
QByteArray booksArtisansCsv(const BooksInput& in, const TReport& period);
// The payouts dated in the period, in the order entered.
QByteArray booksPayoutsCsv(const BooksInput& in, const TReport& period);

// Writes both into outDir; returns their paths. AppError when a write fails.
QStringList writeBooks(const BooksInput& in, const TReport& period, const QString& outDir,
                       const SafeWriteOptions& options);
