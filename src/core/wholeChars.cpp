#include "core/wholeChars.h"

#include <QTextBoundaryFinder>

#include <algorithm>

qsizetype wholeCharsEnd(QStringView text, qsizetype n)
{
    if (n <= 0)
        return 0;
    if (n >= text.size())
        return text.size();
    // Below U+0300 nothing joins the character before it.
    if (text.at(n).unicode() < 0x300 && !text.at(n - 1).isHighSurrogate())
        return n;
    // A character's parts lie close together: look at the units around n only.
    qsizetype from = std::max<qsizetype>(0, n - 32);
    if (from > 0 && text.at(from).isLowSurrogate())
        --from;
    const qsizetype to = std::min(text.size(), n + 32);
    QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, text.constData() + from, to - from);
    chars.setPosition(n - from);
    qsizetype end = n;
    if (!chars.isAtBoundary()) {
        const qsizetype back = chars.toPreviousBoundary();
        end = back < 0 ? from : from + back;
    }
    if (end > 0 && end < text.size() && text.at(end).isLowSurrogate() && text.at(end - 1).isHighSurrogate())
        --end;
    return end;
}

QString wholeLeft(const QString& text, qsizetype n)
{
    return text.left(wholeCharsEnd(text, n));
}

int mendHalfChars(QString& text)
{
    int mended = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!c.isSurrogate())
            continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        text[i] = QChar(0xFFFD);
        ++mended;
    }
    return mended;
}

qsizetype longestFitting(qsizetype size, const std::function<bool(qsizetype n)>& fits)
{
    qsizetype lo = 0; // fits
    qsizetype hi = 1; // beyond what is known to fit
    while (hi < size && fits(hi)) {
        lo = hi;
        hi *= 2;
    }
    if (hi >= size) {
        if (size > lo && fits(size))
            return size;
        hi = size;
    }
    while (hi - lo > 1) {
        const qsizetype mid = lo + (hi - lo) / 2;
        (fits(mid) ? lo : hi) = mid;
    }
    return lo;
}
