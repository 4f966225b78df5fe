#pragma once
// Passes over the text of an XML document before Qt's reader sees it: what
// would make the reader slow is refused, and the older program's bare "&"
// is made readable. Each pass is linear in the text.

#include <QString>

// "Document XML refusé (ligne N) : why" for the line holding text[at].
QString refusedAtLine(const QString& text, qsizetype at, const QString& why);
// AppError when a start tag holds more than MAX_XML_ATTRIBUTES attributes or
// a document type declares entities or attributes.
void checkMarkup(const QString& text);
// A character the text neither holds nor refers to, to stand for a bare "&"
// ("&amp;" in a text holding every character); empty when there is no "&".
QString ampersandStand(const QString& text);
// text with each bare "&" (one starting no reference) replaced by stand in
// the text and quoted values, where the reader takes it as it is, and by
// "&amp;" in tags, where the reader refuses both; comments and the like keep
// theirs.
QString withBareAmpersands(const QString& text, const QString& stand);
