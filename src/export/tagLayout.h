#pragma once
// The sheet of labels price tags are printed on: its measures, the named
// sheets offered, and its text in the settings file ([TAGS] layout=).

#include <QList>
#include <QString>

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
    // Empty when the labels fit on the page, else a French message saying why
    // not (a measure that is not a finite number, or not a sane size, among them).
    QString problem() const;
    // "215.9;279.4;66.675;25.4;3;10;4.7625;12.7;3.175;0", as the settings file keeps it.
    QString toText() const;
    // The layout of text; ok false (and the default layout) when unreadable or
    // refused by problem(), whose message (or a word on the form) goes to *why.
    static TagLayout fromText(const QString& text, bool* ok = nullptr, QString* why = nullptr);
    friend bool operator==(const TagLayout&, const TagLayout&) = default;
};

// Largest page side accepted, in millimetres (a roll of labels at most).
inline constexpr double MaxPageSide = 1000;

// Named sheets the dialog offers.
struct TagPreset {
    QString name;
    TagLayout layout;
};
QList<TagPreset> tagPresets();

// The layout kept in the settings file at iniPath (section TAGS), the first
// preset when none; one that cannot be used gives the first preset too, and
// says why in *why (empty otherwise). Writing raises AppError when refused.
TagLayout readTagLayout(const QString& iniPath, QString* why = nullptr);
void writeTagLayout(const QString& iniPath, const TagLayout& layout);
