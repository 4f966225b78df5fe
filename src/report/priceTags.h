#pragma once
// Price tags: which tags to print, the sheet of labels they go on, and the
// PDF with each product's key as a Code 128 barcode a till's scanner reads.

#include "export/tagLayout.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class AppState;
class QIODevice;

// What one tag shows.
struct PriceTag {
    QString shop;
    QString artisan; // display name
    QString descript;
    QString price;   // "12.00$"
    QString key;     // "TreMar005-003"
};

// Which products get tags.
struct TagChoice {
    int artisan = -1;       // position in the artisan list; -1: every artisan
    int product = -1;       // position in its products; -1: all of them
    QString receivedOn;     // "yymmdd": only products received that day
    int copies = 0;         // tags per product (1..MaxCopies); 0: one per unit received
};

// Tags one product gets at most when a number each is chosen.
inline constexpr int MaxCopies = 999;
// Tags one printing makes at most: thousands of sheets already.
inline constexpr qint64 MaxTags = 1'000'000;

// One product's tags: count copies of tag.
struct TagRun {
    PriceTag tag;
    qint64 count = 0;
};

// The runs of choice, in the artisans' and products' order: one tag per unit
// received (on receivedOn when given, in all otherwise), or copies each. A
// product whose units cannot be counted (a total past any number) counts
// as more than MaxTags, which tagsProblem refuses.
QList<TagRun> tagRunsFor(const AppState& st, const TagChoice& choice);
// The number of tags of runs (saturating past MaxTags).
qint64 tagCount(const QList<TagRun>& runs);
// Sheets that many tags from label start take.
qint64 sheetCount(qint64 tags, int start, const TagLayout& layout);
// Empty when runs can be printed on layout from label position start (0 =
// top left, row by row) of the first sheet; else a French message.
QString tagsProblem(const QList<TagRun>& runs, const TagLayout& layout, int start);

// Told after each sheet (done of total); false stops the printing.
using TagProgress = std::function<bool(qint64 done, qint64 total)>;

// Writes the PDF of runs into out as it goes, one sheet at a time, so memory
// does not grow with the number of tags. False, with a message in *error,
// when tagsProblem or a key that cannot be encoded refuses it (out is then
// untouched) or when progress stopped it (*error empty).
bool writeTagsPdf(QIODevice& out, const QList<TagRun>& runs, const TagLayout& layout, int start,
                  QString* error = nullptr, const TagProgress& progress = {});

// Each tag of choice on its own (for a few tags: runs are what prints).
QList<PriceTag> tagsFor(const AppState& st, const TagChoice& choice);
// The PDF of tags in memory; empty with *error when refused.
QByteArray tagsPdf(const QList<PriceTag>& tags, const TagLayout& layout, int start, QString* error = nullptr);

