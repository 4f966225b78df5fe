#include "report/statement.h"

#include "core/appState.h"
#include "core/textUtil.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString linesHtml(const QString& text)
{
    QStringList lines;
    for (const QString& l : text.split(u'\n'))
        if (!l.trimmed().isEmpty())
            lines << esc(l.trimmed());
    return lines.join(u"<br>"_s);
}

} // namespace

QString pageHtml(const QString& title, const StatementHeader& head, const QString& body)
{
    QString h = u"<!DOCTYPE html>\n<html lang=\"fr\"><head><meta charset=\"utf-8\"><title>"_s + esc(title)
                + u"</title>\n<style>body{font-family:'DejaVu Sans',Arial,sans-serif;font-size:10pt;color:#000;}"
                  "h1{font-size:15pt;}h2{font-size:12pt;}table.rows{border-collapse:collapse;width:100%;}"
                  "table.rows th,table.rows td{border:1px solid #888;padding:3px 6px;}"
                  "td.num,th.num{text-align:right;white-space:nowrap;}tr.total td{font-weight:bold;}"
                  "@media print{body{margin:0;}}</style></head>\n<body>\n"_s;
    h += u"<p><b>"_s + esc(head.shopName) + u"</b><br>"_s + linesHtml(head.shopAddress) + u"</p>\n"_s;
    h += u"<h1>"_s + esc(title) + u"</h1>\n"_s;
    if (!head.periodTitle.isEmpty())
        h += u"<p>Période : "_s + esc(head.periodTitle) + u", du "_s + esc(frenchDate(head.startDate))
             + u" au "_s + esc(frenchDate(head.endDate)) + u"</p>\n"_s;
    return h + body + u"</body></html>\n"_s;
}

namespace {

const QString TABLE = u"<table class=\"rows\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"_s;

} // namespace

StatementHeader statementHeader(const AppState& st, int p)
{
    StatementHeader h{st.shopName, st.shopAddress, {}, {}, {}};
    if (p >= 0 && p < st.repList.count()) {
        const TReport& r = st.repList.at(p);
        h.periodTitle = r.title;
        h.startDate = r.startDate;
        h.endDate = r.endDate;
    }
    return h;
}

Statement statementFor(const AppState& st, const StatementHeader& head, const QString& artNo)
{
    Statement s{head, artNo, {}, {}, st.repList.rangeLines, st.repList.total};
    const int at = st.artList.indexOfArtNo(artNo);
    if (at >= 0) {
        const TArtisan& a = st.artList.at(at);
        s.artName = (a.prenom.trimmed() + u' ' + a.nom.trimmed()).trimmed();
        s.artAddress = a.adresse.trimmed() + u'\n' + (a.ville.trimmed() + u"  "_s + a.CP.trimmed()).trimmed();
    }
    if (s.artName.isEmpty())
        s.artName = u"Artisan "_s + artNo;
    if (s.total.isEmpty())
        s.total = Money().format();
    return s;
}

void addToSummary(Summary& sum, const Statement& s)
{
    if (s.rows.isEmpty())
        return;
    SummaryLine line{s.artNo, s.artName, 0, Money::parse(QString(s.total).remove(u'$'))};
    for (const QString& row : s.rows)
        line.items += strToIntDef(getCommaItem(row, 5), 0);
    sum.total += line.owed;
    sum.lines.push_back(std::move(line));
}

QString frenchDate(const QString& yymmdd)
{
    static const char* const months[] = {"janvier", "février", "mars", "avril", "mai", "juin",
                                         "juillet", "août", "septembre", "octobre", "novembre",
                                         "décembre"};
    bool ok = false;
    const int n = yymmdd.toInt(&ok);
    if (yymmdd.size() != 6 || !ok)
        return yymmdd;
    const QDate d(2000 + n / 10000, n / 100 % 100, n % 100);
    if (!d.isValid())
        return yymmdd;
    return u"%1 %2 %3"_s.arg(d.day()).arg(QString::fromUtf8(months[d.month() - 1])).arg(d.year());
}

QString statementHtml(const Statement& s)
{
    QString body = u"<p><b>"_s + esc(s.artName) + u"</b> (artisan no "_s + esc(s.artNo) + u")<br>"_s
                   + linesHtml(s.artAddress) + u"</p>\n"_s;
    if (s.rows.isEmpty()) {
        body += u"<p><i>Aucune vente enregistrée pour la période.</i></p>\n"_s;
    } else {
        body += TABLE + u"<tr><th>Date</th><th>Produit</th><th>Description</th><th class=\"num\">Prix</th>"
                        "<th class=\"num\">Qté</th><th class=\"num\">Total</th></tr>\n"_s;
        for (const QString& row : s.rows) {
            const QStringList f = readCommaList(row);
            body += u"<tr class=\"row\"><td>"_s + esc(f.value(0)) + u"</td><td>"_s + esc(f.value(2))
                    + u"</td><td>"_s + esc(f.value(3)) + u"</td><td class=\"num\" align=\"right\">"_s
                    + esc(f.value(4)) + u"</td><td class=\"num\" align=\"right\">"_s + esc(f.value(5))
                    + u"</td><td class=\"num\" align=\"right\">"_s + esc(f.value(6)) + u"</td></tr>\n"_s;
        }
        body += u"<tr class=\"total\"><td colspan=\"5\"><b>Total dû</b></td><td class=\"num\" align=\"right\">"
                "<b>"_s + esc(s.total) + u"</b></td></tr>\n</table>\n"_s;
    }
    return pageHtml(u"Relevé de consignation"_s, s.head, body);
}

QString summaryHtml(const Summary& sum)
{
    QString body;
    if (sum.lines.empty()) {
        body = u"<p><i>Aucune vente enregistrée pour la période.</i></p>\n"_s;
    } else {
        body = TABLE + u"<tr><th>No</th><th>Artisan</th><th class=\"num\">Articles vendus</th>"
                       "<th class=\"num\">Montant dû</th></tr>\n"_s;
        for (const SummaryLine& l : sum.lines)
            body += u"<tr class=\"row\"><td>"_s + esc(l.artNo) + u"</td><td>"_s + esc(l.name)
                    + u"</td><td class=\"num\" align=\"right\">"_s + QString::number(l.items)
                    + u"</td><td class=\"num\" align=\"right\">"_s + esc(l.owed.format()) + u"</td></tr>\n"_s;
        body += u"<tr class=\"total\"><td colspan=\"3\"><b>Total</b></td><td class=\"num\" align=\"right\">"
                "<b>"_s + esc(sum.total.format()) + u"</b></td></tr>\n</table>\n"_s;
    }
    return pageHtml(u"Sommaire de consignation"_s, sum.head, body);
}

QByteArray pdfFromHtml(const QString& html, const QString& title)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buf);
        pdf.setTitle(title);
        pdf.setCreator(u"TilvarBD"_s);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        QTextDocument doc;
        doc.setDefaultFont(QFont(u"DejaVu Sans"_s, 10));
        doc.setHtml(html);
        doc.print(&pdf);
    }
    return bytes;
}
