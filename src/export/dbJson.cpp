#include "export/dbJson.h"

#include "boutique/appState.h"
#include "core/textUtil.h"

using namespace Qt::StringLiterals;

namespace {

// A small JSON writer that keeps keys in the order they are written and
// indents by two blanks per level.
class JsonOut {
public:
    QByteArray bytes;

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    void key(const char* name)
    {
        item();
        bytes += '"';
        bytes += name;
        bytes += "\": ";
        m_afterKey = true;
    }
    void string(const QString& text)
    {
        item();
        bytes += quote(text);
    }
    void number(qint64 n)
    {
        item();
        bytes += QByteArray::number(n);
    }
    void field(const char* name, const QString& text)
    {
        key(name);
        string(text);
    }
    void field(const char* name, qint64 n)
    {
        key(name);
        number(n);
    }

    static QByteArray quote(const QString& text)
    {
        QByteArray out = "\"";
        const QByteArray utf8 = text.toUtf8();
        for (const char ch : utf8) {
            const auto c = static_cast<unsigned char>(ch);
            switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20)
                    out += "\\u00" + QByteArray::number(c, 16).rightJustified(2, '0');
                else
                    out += ch;
            }
        }
        return out + '"';
    }

private:
    void item()
    {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        if (!m_first.isEmpty()) {
            if (!m_first.last())
                bytes += ',';
            m_first.last() = false;
            newline();
        }
    }
    void open(char c)
    {
        item();
        bytes += c;
        m_first.append(true);
    }
    void close(char c)
    {
        const bool empty = m_first.takeLast();
        if (!empty)
            newline();
        bytes += c;
    }
    void newline()
    {
        bytes += '\n';
        bytes += QByteArray(2 * m_first.size(), ' ');
    }

    QList<bool> m_first; // per open level: no item written yet
    bool m_afterKey = false;
};

void writeQnt(JsonOut& j, const char* name, const TQnt& q)
{
    j.key(name);
    j.beginArray();
    for (int i = 0; i < q.count(); ++i) {
        j.beginObject();
        j.field("date", q.at(i).date);
        j.field("qnt", q.at(i).qnt);
        j.endObject();
    }
    j.endArray();
}

void writeProduct(JsonOut& j, const TProduit& p)
{
    j.beginObject();
    j.field("artNo", p.artNo);
    j.field("prodNo", p.prodNo);
    j.field("descript", p.descript);
    j.field("valeur", p.valeur);
    j.field("prix", p.prix);
    j.field("soldQnt", p.soldQnt);
    j.field("totQnt", p.totQnt);
    j.field("reserved1", p.reserved1);
    j.field("reserved2", p.reserved2);
    j.field("reserved3", p.reserved3);
    writeQnt(j, "received", p.qntList);
    writeQnt(j, "sold", p.soldList);
    j.endObject();
}

void writeArtisan(JsonOut& j, const TArtisan& a)
{
    j.beginObject();
    j.field("artNo", a.artNo);
    j.field("nom", a.nom);
    j.field("prenom", a.prenom);
    j.field("adresse", a.adresse);
    j.field("ville", a.ville);
    j.field("CP", a.CP);
    j.field("tel", a.tel);
    j.field("courriel", a.courriel);
    j.field("varData", a.varData);
    j.field("comment", a.comment);
    j.key("products");
    j.beginArray();
    for (int i = 0; i < a.products.count(); ++i)
        writeProduct(j, a.products.at(i));
    j.endArray();
    j.endObject();
}

// The shelves' records, when there are any (older dumps stay as they were).
void writeStock(JsonOut& j, const StockBook& b)
{
    if (b.isEmpty())
        return;
    j.key("stockMoves");
    j.beginArray();
    for (const StockMove& m : b.moves()) {
        j.beginObject();
        j.field("id", qint64(m.id));
        j.field("date", m.date);
        j.field("artNo", m.artNo);
        j.field("prodNo", m.prodNo);
        j.field("qnt", qint64(m.qnt));
        j.field("reason", m.reason == StockReason::Return ? QStringLiteral("return") : QStringLiteral("count"));
        j.field("countDate", m.countDate);
        j.field("counted", qint64(m.counted));
        j.field("expected", qint64(m.expected));
        j.field("lossBorneBy", m.bearer == LossBearer::Boutique ? QStringLiteral("boutique") : QStringLiteral("nobody"));
        j.field("credit", m.credit.plainExact());
        j.endObject();
    }
    j.endArray();
    if (!b.open)
        return;
    j.key("openCount");
    j.beginObject();
    j.field("started", b.open->started);
    j.field("artNo", b.open->artNo);
    j.key("lines");
    j.beginArray();
    for (const CountLine& l : b.open->lines) {
        j.beginObject();
        j.field("artNo", l.artNo);
        j.field("prodNo", l.prodNo);
        j.field("counted", qint64(l.counted));
        j.field("expected", qint64(l.expected));
        j.field("soldAtScan", qint64(l.soldAtScan));
        j.endObject();
    }
    j.endArray();
    j.endObject();
}

void writeAccount(JsonOut& j, const Account& a)
{
    j.key("account");
    j.beginObject();
    j.field("sharesRecordedOn", a.sharesRecordedOn);
    j.key("rules");
    j.beginArray();
    for (const RuleChange& c : a.rules()) {
        j.beginObject();
        j.field("from", c.from);
        j.field("artNo", c.artNo);
        j.field("percent", qint64(c.percent));
        j.endObject();
    }
    j.endArray();
    j.key("payouts");
    j.beginArray();
    for (const Payout& p : a.payouts()) {
        j.beginObject();
        j.field("id", qint64(p.id));
        j.field("artNo", p.artNo);
        j.field("date", p.date);
        j.field("amount", p.amount.plainExact());
        j.field("mode", p.mode);
        j.field("ref", p.ref);
        j.field("period", p.period);
        j.field("note", p.note);
        j.field("reverses", qint64(p.reverses));
        j.endObject();
    }
    j.endArray();
    j.key("gone");
    j.beginArray();
    QStringList gone = a.gone.keys();
    gone.sort();
    for (const QString& no : std::as_const(gone)) {
        j.beginObject();
        j.field("artNo", no);
        j.field("since", a.gone.value(no));
        j.endObject();
    }
    j.endArray();
    j.key("shares");
    j.beginArray();
    for (const QString& date : a.shareDates()) {
        for (const LineShare& s : *a.sharesOn(date)) {
            j.beginObject();
            j.field("date", date);
            j.field("artNo", s.artNo);
            j.field("prodNo", s.prodNo);
            j.field("qnt", qint64(s.qnt));
            j.field("price", s.price.plainExact());
            j.field("due", s.due.plainExact());
            j.endObject();
        }
    }
    j.endArray();
    writeStock(j, a.stock);
    j.endObject();
}

} // namespace

QByteArray databaseJson(const AppState& st)
{
    JsonOut j;
    j.beginObject();
    j.key("version");
    j.number(st.dbVersion);

    j.key("artisans");
    j.beginArray();
    for (int i = 0; i < st.artList.count(); ++i)
        writeArtisan(j, st.artList.at(i));
    j.endArray();

    j.key("sheets");
    j.beginArray();
    for (int i = 0; i < st.saleList.count(); ++i) {
        const TSaleItem& s = st.saleList.at(i);
        j.beginObject();
        j.field("date", s.date);
        j.field("agent", s.agent);
        j.field("total", s.total);
        j.key("lines");
        j.beginArray();
        const QStringList lines = readCommaList(s.lines);
        for (const QString& line : lines) {
            j.beginArray();
            const QStringList fields = readCommaList(line);
            for (const QString& f : fields)
                j.string(f);
            j.endArray();
        }
        j.endArray();
        j.endObject();
    }
    j.endArray();

    j.key("curPeriod");
    j.number(st.repList.curPeriod);

    j.key("periods");
    j.beginArray();
    for (int i = 0; i < st.repList.count(); ++i) {
        const TReport& r = st.repList.at(i);
        j.beginObject();
        j.field("title", r.title);
        j.field("startDate", r.startDate);
        j.field("endDate", r.endDate);
        j.endObject();
    }
    j.endArray();
    // Only a file that holds one: the dump of an older file stays as it was.
    if (st.account.inFile)
        writeAccount(j, st.account);
    j.endObject();
    j.bytes += '\n';
    return j.bytes;
}
