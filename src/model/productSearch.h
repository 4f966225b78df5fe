#pragma once
// Finding products from what a cashier types or a scanner sends: keys with or
// without accents, padding, dash or case, words of a description, artisans'
// names. The tags' barcodes hold the key in the form this search reads back.

#include <QList>
#include <QString>

class TArtList;

// The text without accents ("CôtHél" -> "CotHel"; "œ" -> "oe"); characters a
// plain US keyboard cannot type are dropped.
QString plainAscii(const QString& text);
// The content of a product's barcode: the key without accents or "_" padding
// ("Li_Bo_002-001" -> "LiBo002-001"), every character a scanner can type.
QString barcodeText(const QString& key);
// The form keys are compared in: plain, lower case, without "_", "-", "*" or
// blanks ("CôtHél001-001", "cothel001001" -> "cothel001001").
QString foldedKey(const QString& text);
// The form words are compared in: plain, lower case, blanks kept.
QString foldedWords(const QString& text);

// A product found: its artisan's position in the artisan list and its own in
// the artisan's products.
struct ProductHit {
    int artisan = -1;
    int product = -1;
    bool exactKey = false; // the whole key was typed (or scanned)
    friend bool operator==(const ProductHit&, const ProductHit&) = default;
};

// Products matching text, at most max: whole keys first, then keys that start
// with it, then descriptions holding it, then the products of artisans whose
// name holds it; each product once, in the list's order within each kind.
QList<ProductHit> findProducts(const TArtList& artists, const QString& text, int max);
