#pragma once
// Texts that many records repeat (numbers, prices, descriptions), kept once:
// a large boutique's products and sale lines hold a few thousand distinct
// ones among hundreds of thousands, each of which would otherwise be an
// allocation of its own.

#include <QHash>
#include <QString>
#include <QStringView>


class TextPool {
public:
    // v as a text: the copy given for an equal text before, else a new one
    // (kept for the next). An empty view gives what toString gives it.
    QString get(QStringView v)
    {
        if (v.isEmpty())
            return v.toString();
        QString& at = m_texts[qHash(v)];
        if (at.isNull())
            at = v.toString();
        else if (at != v)
            return v.toString(); // another text with the same hash: not pooled
        return at;
    }

private:
    QHash<size_t, QString> m_texts;
};
