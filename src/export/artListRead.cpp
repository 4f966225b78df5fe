#include "export/artListXML.h"

#include "core/appError.h"
#include "core/cp1252.h"
#include "core/sysCause.h"
#include "core/textUtil.h"
#include "export/artListMarkup.h"
#include "model/fieldLimits.h"
#include "model/uArt.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Takes one address field from rest: a quoted field (doubled quotes made
// single) or, as the older program did, the text up to the next ";".
QString takeAddressField(QString& rest)
{
    if (rest.startsWith(QLatin1Char('"'))) {
        QString field;
        qsizetype i = 1;
        for (; i < rest.size(); ++i) {
            if (rest.at(i) == QLatin1Char('"')) {
                if (i + 1 < rest.size() && rest.at(i + 1) == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    ++i;
                    continue;
                }
                break;
            }
            field += rest.at(i);
        }
        // Past the closing quote and the separator after it.
        rest = rest.mid(i + 1);
        if (rest.startsWith(QLatin1Char(';')))
            rest = rest.mid(1);
        return field;
    }
    return takeField(rest, u";"_s);
}

bool isLegacyEncoding(QString name)
{
    name = name.toLower();
    name.remove(QLatin1Char('-')).remove(QLatin1Char('_')).remove(QLatin1Char(' '));
    return name == u"iso88591"_s || name == u"latin1"_s || name == u"windows1252"_s ||
           name == u"cp1252"_s;
}

// Whether a character of the kind is in one of a record's texts as read
// (an imported product's other fields are computed from its empty
// quantity lists).
template <typename Kind>
bool anyChar(std::initializer_list<QStringView> texts, Kind kind)
{
    return std::any_of(texts.begin(), texts.end(),
                       [&](QStringView t) { return std::any_of(t.begin(), t.end(), kind); });
}

template <typename Kind>
bool anyChar(const TArtisan& a, Kind kind)
{
    return anyChar({a.artNo, a.nom, a.prenom, a.adresse, a.ville, a.CP, a.tel, a.courriel, a.varData, a.comment},
                   kind);
}

template <typename Kind>
bool anyChar(const TProduit& p, Kind kind)
{
    return anyChar({p.prodNo, p.descript, p.qntStr, p.valeur, p.prix}, kind);
}

// Both record separators hold "|", and the characters a record cannot store
// were refused with the document's: a record none of whose texts holds "|"
// needs no closer look, which spares a list of millions of records as many
// records built and checked.
bool bar(QChar c)
{
    Q_ASSERT(REC_SEP.contains(u'|') && PROD_SEP.contains(u'|'));
    return c == u'|';
}

// The known shape of a list read in one pass: the artisans, the fields of
// their "artID" and their products by position. Everything else is only
// checked by the reader, never kept.
class ListReader {
public:
    // ampersand, when not empty, is read as "&" (see ampersandStand). With
    // stopAt, the reader looks for the first artisan or product holding a
    // character of that kind: it stops there and drops the records before it,
    // which artisanPosition and productPosition then count.
    ListReader(TArtList& out, const QString& ampersand, bool (*stopAt)(QChar) = nullptr)
        : m_out(out), m_ampersand(ampersand), m_stopAt(stopAt)
    {
    }

    // Reads the document until its end or the reader's first error (left to
    // the caller); AppError on nesting past MAX_XML_DEPTH.
    void read(QXmlStreamReader& reader)
    {
        reader.setNamespaceProcessing(false);
        int depth = 0;
        while (!reader.atEnd() && !m_stopped) {
            switch (reader.readNext()) {
            case QXmlStreamReader::StartElement:
                if (++depth > MAX_XML_DEPTH)
                    throw AppError(u"Document XML refusé (ligne %1) : plus de %2 niveaux d'éléments imbriqués."_s.arg(
                        QString::number(reader.lineNumber()), QString::number(MAX_XML_DEPTH)));
                startElement(reader, depth);
                break;
            case QXmlStreamReader::EndElement:
                endElement(depth--);
                break;
            case QXmlStreamReader::Characters:
                if (m_text)
                    m_text->append(reader.text());
                break;
            default:
                break;
            }
        }
    }

    bool found() const { return m_list > 0; }
    int artisanPosition() const { return m_artisans; }
    int productPosition() const { return m_products; }

    // What was read of an artisan or product the document left open.
    void flush()
    {
        if (m_product)
            endProduct();
        if (m_artisan)
            endArtisan();
    }

private:
    void startElement(const QXmlStreamReader& reader, int depth)
    {
        if (m_list == 0) {
            // The document element, or its first "artList" child.
            const bool named = reader.qualifiedName() == u"artList";
            if (depth == 1)
                m_rootNamed = named;
            if (named && (depth == 1 || (depth == 2 && !m_rootNamed)))
                m_list = depth;
            return;
        }
        if (m_listDone || depth <= m_list)
            return;
        switch (depth - m_list) {
        case 1:
            m_artisan = &m_out.append();
            ++m_artisans;
            m_products = 0;
            m_parts = 0;
            m_id.clear();
            break;
        case 2:
            m_part = m_parts++;
            break;
        case 3:
            if (m_part == 0) {
                m_id.append(QString());
                capture(&m_id.last(), depth);
            } else if (m_part == 1) {
                m_product = &m_artisan->products.append();
                ++m_products;
                const QXmlStreamAttributes& attributes = reader.attributes();
                m_product->prodNo = restored(attributes.value(QLatin1StringView("id")).toString());
                m_product->descript = restored(attributes.value(QLatin1StringView("dsc")).toString());
                if (m_product->descript.startsWith(QLatin1Char('"')))
                    m_product->descript = dequote(m_product->descript);
                m_productChildren = 0;
            }
            break;
        case 4:
            // A product's children: quantities, two unused, value and price.
            if (m_product) {
                const int child = m_productChildren++;
                if (child == 0 || child == 3 || child == 4)
                    capture(&m_productTexts[child == 0 ? 0 : child - 2], depth);
            }
            break;
        default:
            break;
        }
    }

    void endElement(int depth)
    {
        if (m_text && depth == m_textDepth)
            m_text = nullptr;
        if (m_list == 0 || m_listDone)
            return;
        if (depth == m_list)
            m_listDone = true;
        else if (depth == m_list + 1)
            endArtisan();
        else if (depth == m_list + 3 && m_product)
            endProduct();
    }

    QString restored(QString text) const
    {
        if (!m_ampersand.isEmpty() && m_ampersand != u"&amp;")
            text.replace(m_ampersand, u"&"_s);
        return text;
    }

    void capture(QString* text, int depth)
    {
        text->clear();
        m_text = text;
        m_textDepth = depth;
    }

    void endProduct()
    {
        m_product->qntStr = restored(std::exchange(m_productTexts[0], QString()));
        m_product->valeur = restored(std::exchange(m_productTexts[1], QString()));
        m_product->prix = restored(std::exchange(m_productTexts[2], QString()));
        if (m_stopAt && anyChar(*m_product, m_stopAt))
            m_stopped = true;
        else if (m_stopAt)
            m_artisan->products.removeAt(m_artisan->products.count() - 1);
        m_product = nullptr;
    }

    void endArtisan()
    {
        TArtisan& a = *std::exchange(m_artisan, nullptr);
        if (m_parts > 0)
            setFields(a);
        if (m_stopAt && (anyChar(a, m_stopAt) || !a.products.isEmpty()))
            m_stopped = true;
        else if (m_stopAt)
            m_out.clear();
    }

    void setFields(TArtisan& a) const
    {
        const auto text = [this](int i) { return i < m_id.size() ? restored(m_id.at(i)) : QString(); };
        a.artNo = text(0);
        a.nom = text(1);
        a.prenom = text(2);
        QString address = text(3);
        if (address.startsWith(QLatin1Char('"')))
            address = dequote(address);
        a.adresse = takeAddressField(address);
        a.ville = takeAddressField(address);
        a.CP = takeAddressField(address);
        a.tel = takeAddressField(address);
        a.courriel = text(4);
        if (m_id.size() < 7) {
            a.comment = text(5);
        } else {
            a.varData = text(5);
            a.comment = text(6);
        }
    }

    TArtList& m_out;
    const QString m_ampersand;
    bool (*const m_stopAt)(QChar);
    bool m_stopped = false;
    int m_artisans = 0; // artisan elements so far
    int m_products = 0; // product elements of the last artisan so far
    bool m_rootNamed = false;
    int m_list = 0; // depth of the "artList" element, 0 before it
    bool m_listDone = false;
    TArtisan* m_artisan = nullptr;
    int m_parts = 0; // the artisan's child elements so far
    int m_part = 0;  // the one open: 0 "artID", 1 the products
    QStringList m_id;
    TProduit* m_product = nullptr;
    int m_productChildren = 0;
    QString m_productTexts[3]; // children 0, 3 and 4
    QString* m_text = nullptr; // the field whose text is being read
    int m_textDepth = 0;
};

// Parses a document into out; false when it has no "artList" element.
bool parseList(const QByteArray& data, const QString& ampersand, TArtList& out)
{
    QXmlStreamReader reader(data);
    ListReader list(out, ampersand);
    list.read(reader);
    if (reader.hasError())
        throw AppError(u"Document XML illisible (ligne %1, colonne %2) : %3"_s.arg(
            QString::number(reader.lineNumber()), QString::number(reader.columnNumber()),
            reader.errorString()));
    return list.found();
}

// The characters the rule refuses, moved to plane 15 (U+F0000 + code) where
// the reader accepts them, so the record holding one can be named.
constexpr char32_t kMaskBase = 0xF0000;

// The first half of a plane-15 character.
bool moved(QChar c)
{
    return c.unicode() >= 0xDB80 && c.unicode() <= 0xDBBF;
}

bool refusedChar(const QString& text, qsizetype i)
{
    const QChar c = text.at(i);
    // Only these can break the rule: the rule itself is asked about them.
    if (c.unicode() >= 0x20 && !c.isSurrogate() && c.unicode() < 0xFFFE)
        return false;
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return false;
    if (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())
        return false;
    return !reportCharProblem(QString(c)).isEmpty();
}

// text with the moved characters back, or, when shown in a message, as U+FFFD.
QString unmasked(const QString& text, bool shown = false)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (moved(text.at(i)) && i + 1 < text.size()) {
            const char32_t u = QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) - kMaskBase;
            out += shown ? QChar(REPLACEMENT_CHAR) : QChar(char16_t(u));
            ++i;
        } else {
            out += text.at(i);
        }
    }
    return out;
}

// Refuses text for a character no report can hold, naming the artisan (and
// product) holding it and the field, as the loader does; by line when no
// record holds it (a comment, an element the list does not read).
[[noreturn]] void refuseCharacter(const QString& text, const QString& ampersand)
{
    qsizetype first = 0;
    while (!refusedChar(text, first))
        ++first;
    const QString byLine = refusedAtLine(text, first, reportCharProblem(text.mid(first, 1)));
    // A file already in plane 15 could not tell its own characters from
    // moved ones.
    if (std::any_of(text.begin(), text.end(), moved))
        throw AppError(byLine);
    QString masked;
    masked.reserve(text.size() + 16);
    qsizetype copied = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        if (!refusedChar(text, i))
            continue;
        masked += QStringView(text).mid(copied, i - copied);
        const char32_t u = kMaskBase + text.at(i).unicode();
        masked += QString::fromUcs4(&u, 1);
        copied = i + 1;
    }
    masked += QStringView(text).mid(copied);
    TArtList read;
    QXmlStreamReader reader(masked);
    ListReader records(read, ampersand, moved);
    try {
        records.read(reader);
    } catch (const AppError&) {
        // What was read before the fault still names the records.
    }
    records.flush();
    if (read.count() == 1) {
        const TArtisan& a = read.at(0);
        QList<RecordField> fields = a.recordFields();
        for (RecordField& f : fields)
            f.value = unmasked(f.value);
        QString owner = a.artNo.isEmpty() ? u"Artisan (position %1 de la liste)"_s.arg(records.artisanPosition())
                                          : u"Artisan %1"_s.arg(unmasked(a.artNo, true));
        QString why = recordCharProblem(owner, fields);
        if (why.isEmpty() && !a.products.isEmpty()) {
            const TProduit& p = a.products.at(0);
            owner += p.prodNo.isEmpty() ? u", produit (position %1)"_s.arg(records.productPosition())
                                        : u", produit %1"_s.arg(unmasked(p.prodNo, true));
            why = recordCharProblem(owner, {{"prodNo", unmasked(p.prodNo)},
                                            {"descript", unmasked(p.descript)},
                                            {"qntStr", unmasked(p.qntStr)},
                                            {"valeur", unmasked(p.valeur)},
                                            {"prix", unmasked(p.prix)}});
        }
        if (!why.isEmpty())
            throw AppError(why);
    }
    throw AppError(byLine);
}

} // namespace

bool readArtListBytes(TArtList& list, const QByteArray& bytes)
{
    static const QRegularExpression declaration(
        uR"(^\s*<\?xml[^>]*?encoding\s*=\s*["']([^"']*)["'])"_s);
    QByteArray data = bytes;
    QString text;
    QString ampersand;
    const auto match = declaration.match(QString::fromLatin1(bytes.left(256)));
    if (match.hasMatch() && isLegacyEncoding(match.captured(1))) {
        // The older program wrote Windows-1252 bytes under this declaration;
        // decoding them ourselves gives € and ’ back, and the text goes on to
        // the parser as UTF-8 under a declaration saying so.
        text = cp1252::decode(bytes);
        text.replace(match.capturedStart(1), match.capturedLength(1), u"UTF-8"_s);
        // Its texts were not escaped: a bare "&" stands for itself.
        ampersand = ampersandStand(text);
        text = withBareAmpersands(text, ampersand);
        data = text.toUtf8();
    } else {
        text = QString::fromUtf8(data);
    }
    // A character no report can hold is refused with the rule's own message,
    // before the reader's terser one.
    if (!reportCharProblem(text).isEmpty())
        refuseCharacter(text, ampersand);
    checkMarkup(text);

    TArtList read;
    if (!parseList(data, ampersand, read))
        return false;
    // An artisan or product text that a record could not hold (a record
    // separator, or the start of one at its end) would come back shifted
    // once saved: the whole import is refused before list changes.
    for (int i = 0; i < read.count(); ++i) {
        const TArtisan& a = read.at(i);
        QString why = anyChar(a, bar) ? a.storeProblem() : QString();
        for (int k = 0; why.isEmpty() && k < a.products.count(); ++k) {
            const TProduit& p = a.products.at(k);
            if (anyChar(p, bar))
                why = recordProblem(u"Artisan %1, produit %2"_s.arg(a.artNo, p.prodNo), p.recordFields(), PROD_SEP);
        }
        // Texts longer than the windows take are refused too, named.
        if (why.isEmpty())
            why = lengthProblem(u"Artisan %1"_s.arg(a.artNo), a.recordFields());
        for (int k = 0; why.isEmpty() && k < a.products.count(); ++k) {
            const TProduit& p = a.products.at(k);
            why = lengthProblem(u"Artisan %1, produit %2"_s.arg(a.artNo, p.prodNo), p.recordFields());
        }
        if (!why.isEmpty())
            throw AppError(why);
    }
    list = std::move(read);
    return true;
}

bool readArtListFile(TArtList& list, const QString& path)
{
    if (const QString why = notRegularFile(path); !why.isEmpty())
        throw AppError(u"« %1 » : %2."_s.arg(QDir::toNativeSeparators(path), why));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(deviceCause(file, errno));
    return readArtListBytes(list, file.readAll());
}
