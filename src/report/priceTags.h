#pragma once
// Price tags: which tags to print, the sheet of labels they go on, and the
// PDF with each product's key as a Code 128 barcode a till's scanner reads.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class AppState;

// A sheet of labels, lengths in millimetres.
struct TagLayout {
    double pageWidth = 215.9;
    double pageHeight = 279.4;
    double labelWidth = 66.675;
    double labelHeight = 25.4;
    int columns = 3;
    int rows = 10;
    double left = 4.7625; // page edge to the first column
    double top = 12.7;    // page edge to the first row
    double hGap = 3.175;  // between two columns
    double vGap = 0;      // between two rows

    int perSheet() const { return columns * rows; }
    // Empty when the labels fit on the page, else a French message saying why not.
    QString problem() const;
    // "215.9;279.4;66.675;25.4;3;10;4.7625;12.7;3.175;0", as the settings file keeps it.
    QString toText() const;
    // The layout of text; nullopt-like: ok false (and the default layout) when unreadable.
    static TagLayout fromText(const QString& text, bool* ok = nullptr);
    friend bool operator==(const TagLayout&, const TagLayout&) = default;
};

// Named sheets the dialog offers.
struct TagPreset {
    QString name;
    TagLayout layout;
};
QList<TagPreset> tagPresets();

// The layout kept in the settings file at iniPath (section TAGS), the first
// preset when none or unreadable; writing raises AppError when refused.
TagLayout readTagLayout(const QString& iniPath);
void writeTagLayout(const QString& iniPath, const TagLayout& layout);

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
    int copies = 0;         // tags per product; 0: one per unit received
};

// The tags of choice, in the artisans' and products' order: one per unit
// received (on receivedOn when given, in all otherwise), or copies each.
QList<PriceTag> tagsFor(const AppState& st, const TagChoice& choice);

// The description as it fits a tag: cut with "..." after at most maxChars.
QString cutDescription(const QString& text, int maxChars);

// The PDF of tags on sheets of layout, the first tag at label position
// start (0 = top left, row by row) of the first sheet. Empty when layout has
// a problem or a key cannot be encoded (a message in *error).
QByteArray tagsPdf(const QList<PriceTag>& tags, const TagLayout& layout, int start, QString* error = nullptr);
