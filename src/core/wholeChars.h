#pragma once
// Texts cut or mended between whole characters: a surrogate pair, or a letter
// with its accents, is never split, and a half pair is never written.

#include <QString>
#include <QStringView>
#include <functional>

// The end of text's longest start of at most n UTF-16 units that splits no
// character (n itself when that splits none).
qsizetype wholeCharsEnd(QStringView text, qsizetype n);
// text's first n units, cut back to whole characters.
QString wholeLeft(const QString& text, qsizetype n);

// Replaces each half surrogate pair of text by U+FFFD; returns how many.
int mendHalfChars(QString& text);

// The largest n in [0, size] for which fits(n) holds, fits holding from 0 up
// to some n and not after: a doubling then a halving search, so the cost is a
// few calls around the answer, however long the text behind size.
qsizetype longestFitting(qsizetype size, const std::function<bool(qsizetype n)>& fits);
