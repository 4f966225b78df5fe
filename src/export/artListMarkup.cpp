#include "export/artListMarkup.h"

#include "core/appError.h"
#include "export/artListXML.h"

#include <vector>

using namespace Qt::StringLiterals;

QString refusedAtLine(const QString& text, qsizetype at, const QString& why)
{
    return u"Document XML refusé (ligne %1) : %2"_s.arg(QString::number(text.left(at).count(u'\n') + 1), why);
}

namespace {

// The parts of a document the guards below tell apart: the text between
// tags, a start tag outside and inside its quoted values, other tags, and
// what holds no references (comments, processing instructions, CDATA).
// Malformed markup is left to the reader, which stops at it.
enum class Part { Text, StartTag, Quoted, OtherTag, Passed };

// Calls each(part, from, to, tag) for the stretches of text in order; tag is
// where the tag holding the stretch starts.
template <typename Each>
void walkMarkup(const QString& text, Each each)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype tag = text.indexOf(QLatin1Char('<'), i);
        if (tag != i)
            each(Part::Text, i, tag < 0 ? n : tag, tag);
        if (tag < 0)
            return;
        const QStringView rest = QStringView(text).mid(tag + 1, 8);
        const auto passTo = [&](qsizetype from, QStringView end) {
            const qsizetype at = text.indexOf(end, from);
            i = at < 0 ? n : at + end.size();
            each(Part::Passed, tag, i, tag);
        };
        if (rest.startsWith(u"!--")) {
            passTo(tag + 4, u"-->");
            continue;
        }
        if (rest.startsWith(u"![CDATA[")) {
            passTo(tag + 9, u"]]>");
            continue;
        }
        if (rest.startsWith(u'?')) {
            passTo(tag + 2, u"?>");
            continue;
        }
        const bool startTag = !rest.startsWith(u'!') && !rest.startsWith(u'/');
        const Part outside = startTag ? Part::StartTag : Part::OtherTag;
        qsizetype from = tag;
        for (i = tag + 1; i < n; ++i) {
            const QChar c = text.at(i);
            if (c == u'>' || (c == u'<' && startTag))
                break;
            if (c != u'"' && c != u'\'')
                continue;
            each(outside, from, i + 1, tag);
            const qsizetype close = text.indexOf(c, i + 1);
            from = i + 1;
            i = close < 0 ? n : close;
            each(startTag ? Part::Quoted : outside, from, i, tag);
            from = i;
        }
        i = i < n && text.at(i) == u'>' ? i + 1 : i;
        if (i > from)
            each(outside, from, i, tag);
    }
}

// Whether a reference ("&name;", "&#123;", "&#x1F;") starts at text[amp];
// *code receives the character a numeric one refers to (0 past U+10FFFF).
bool startsReference(const QString& text, qsizetype amp, char32_t* code)
{
    const auto letter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'; };
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const auto hexValue = [&](QChar c) {
        return digit(c) ? c.unicode() - u'0'
               : (c >= u'a' && c <= u'f') ? c.unicode() - u'a' + 10
               : (c >= u'A' && c <= u'F') ? c.unicode() - u'A' + 10 : -1;
    };
    const qsizetype n = text.size();
    qsizetype i = amp + 1;
    *code = 0;
    if (i < n && text.at(i) == u'#') {
        const bool hex = i + 1 < n && text.at(i + 1) == u'x';
        i += hex ? 2 : 1;
        const qsizetype first = i;
        char32_t value = 0;
        for (; i < n && (hex ? hexValue(text.at(i)) >= 0 : digit(text.at(i))); ++i)
            value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + char32_t(hexValue(text.at(i)));
        *code = value > 0x10FFFF ? 0 : value;
        return i > first && i < n && text.at(i) == u';';
    }
    if (i >= n || !letter(text.at(i)))
        return false;
    while (i < n && (letter(text.at(i)) || digit(text.at(i)) || text.at(i) == u'.' || text.at(i) == u'-'))
        ++i;
    return i < n && text.at(i) == u';';
}

} // namespace

// Qt's reader compares each attribute of an element with every other one, so
// one element of a million attributes would take hours. And it applies what a
// document type declares: entities can expand a small file to gigabytes,
// attribute defaults give every element thousands of attributes (and take
// time growing with their square to read). A list declares nothing.
void checkMarkup(const QString& text)
{
    qsizetype counted = -1;
    qsizetype doctype = -1;
    int attributes = 0;
    walkMarkup(text, [&](Part part, qsizetype from, qsizetype to, qsizetype tag) {
        const QStringView piece = QStringView(text).mid(from, to - from);
        if (part == Part::OtherTag && from == tag && piece.startsWith(u"<!DOCTYPE"))
            doctype = tag;
        if (part == Part::OtherTag && tag == doctype && piece.contains(u'['))
            throw AppError(refusedAtLine(text, tag, u"une liste d'artisans ne déclare ni entités ni attributs "
                                                    u"(DOCTYPE avec déclarations)."_s));
        if (part != Part::StartTag)
            return;
        if (tag != counted) {
            counted = tag;
            attributes = 0;
        }
        attributes += int(piece.count(u'='));
        if (attributes > MAX_XML_ATTRIBUTES)
            throw AppError(refusedAtLine(text, tag, u"plus de %1 attributs dans un élément."_s.arg(MAX_XML_ATTRIBUTES)));
    });
}

// The older program's bare "&" reaches the reader as a character the
// document neither holds nor refers to, given back as "&" in what is read:
// written "&amp;", a file of ampersands would take the reader five times as
// long as its size. Private-use and later characters are tried first.
QString ampersandStand(const QString& text)
{
    if (!text.contains(u'&'))
        return {};
    std::vector<bool> used(0x110000);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            used[QChar::surrogateToUcs4(c, text.at(++i))] = true;
        else
            used[c.unicode()] = true;
    }
    char32_t code = 0;
    for (qsizetype amp = text.indexOf(u'&'); amp >= 0; amp = text.indexOf(u'&', amp + 1))
        if (startsReference(text, amp, &code))
            used[code] = true;
    for (char32_t u = 0xE000; u < used.size(); ++u)
        if (!used[u] && u != 0xFFFE && u != 0xFFFF)
            return QString::fromUcs4(&u, 1);
    return u"&amp;"_s; // a document of every character there is
}

QString withBareAmpersands(const QString& text, const QString& stand)
{
    QString out;
    out.reserve(text.size());
    char32_t code = 0;
    walkMarkup(text, [&](Part part, qsizetype from, qsizetype to, qsizetype) {
        const QStringView piece = QStringView(text).mid(from, to - from);
        const QString as = part == Part::Text || part == Part::Quoted ? stand : u"&amp;"_s;
        qsizetype copied = 0;
        for (qsizetype amp = piece.indexOf(u'&'); amp >= 0 && part != Part::Passed; amp = piece.indexOf(u'&', amp + 1)) {
            if (startsReference(text, from + amp, &code))
                continue;
            out += piece.mid(copied, amp - copied);
            out += as;
            copied = amp + 1;
        }
        out += piece.mid(copied);
    });
    return out;
}
