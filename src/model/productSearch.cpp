#include "model/productSearch.h"

#include "model/uArt.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {
bool isPlain(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x7f)
            return false;
    return true;
}
} // namespace

QString plainAscii(const QString& text)
{
    if (isPlain(text))
        return text;
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f)
            out += c;
        else if (u == u'œ' || u == u'Œ')
            out += u == u'œ' ? u"oe"_s : u"OE"_s;
        else if (u == u'æ' || u == u'Æ')
            out += u == u'æ' ? u"ae"_s : u"AE"_s;
        else if (u == u'ß')
            out += u"ss"_s;
        else if (u == u'\t' || u == 0xa0)
            out += u' ';
        // Combining accents and whatever a scanner could not type go.
    }
    return out;
}

QString barcodeText(const QString& key)
{
    QString out = plainAscii(key.trimmed());
    out.remove(u'_');
    out.replace(u'*', u'-');
    out.remove(u' ');
    return out;
}

QString foldedKey(const QString& text)
{
    QString out = plainAscii(text).toLower();
    out.remove(u'_');
    out.remove(u'-');
    out.remove(u'*');
    out.remove(u' ');
    return out;
}

QString foldedWords(const QString& text)
{
    return plainAscii(text).toLower().simplified();
}

namespace {
// Whether text holds words (folded): a plain text is compared as it is, so a
// search through every description folds only the accented ones.
bool holdsWords(const QString& text, const QString& words)
{
    if (isPlain(text) && !text.contains(u"  "_s))
        return text.contains(words, Qt::CaseInsensitive);
    return foldedWords(text).contains(words);
}
} // namespace

QList<ProductHit> findProducts(const TArtList& artists, const QString& text, int max)
{
    QList<ProductHit> hits;
    const QString key = foldedKey(text);
    const QString words = foldedWords(text);
    if (words.isEmpty() || max <= 0)
        return hits;
    QSet<quint64> seen;
    const auto add = [&](int a, int j, bool exact) {
        if (hits.size() < max && !seen.contains((quint64(a) << 32) | quint32(j))) {
            seen.insert((quint64(a) << 32) | quint32(j));
            hits.append({a, j, exact});
        }
    };
    // Four passes, one per kind, so a scanned key comes first whatever else matches.
    for (int pass = 0; pass < 4 && hits.size() < max; ++pass) {
        for (int a = 0; a < artists.count() && hits.size() < max; ++a) {
            const TArtisan& artisan = artists.at(a);
            const QString tag = foldedKey(artisan.artTag() + artisan.artNo);
            if (pass < 2 && !key.isEmpty() && !tag.startsWith(key.left(tag.size())))
                continue; // the typed key names another artisan
            if (pass == 3 && !holdsWords(artisan.nom + u' ' + artisan.prenom, words)
                && !holdsWords(artisan.prenom + u' ' + artisan.nom, words))
                continue;
            const QList<TProdList::Ptr>& products = artisan.products.items();
            for (int j = 0; j < products.size() && hits.size() < max; ++j) {
                const TProduit& p = *products.at(j);
                switch (pass) {
                case 0:
                    if (!key.isEmpty() && tag + foldedKey(p.prodNo) == key)
                        add(a, j, true);
                    break;
                case 1:
                    if (!key.isEmpty() && (tag + foldedKey(p.prodNo)).startsWith(key))
                        add(a, j, false);
                    break;
                case 2:
                    if (holdsWords(p.descript, words))
                        add(a, j, false);
                    break;
                default:
                    add(a, j, false);
                }
            }
        }
    }
    return hits;
}
