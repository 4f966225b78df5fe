#include "report/publish.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "export/artListXML.h"
#include "report/settlement.h"
#include "report/shipped.h"
#include "report/xslTransform.h"

using namespace Qt::StringLiterals;

namespace publish {

namespace {

QString cells(const QStringList& fields, const QList<int>& which, const QList<int>& right)
{
    QString row = u"<tr class=\"row\">"_s;
    for (int i : which)
        row += (right.contains(i) ? u"<td class=\"num\" align=\"right\">"_s : u"<td>"_s)
               + fields.value(i).toHtmlEscaped() + u"</td>"_s;
    return row + u"</tr>\n"_s;
}

const QString TABLE = u"<table class=\"rows\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"_s;

} // namespace

bool chosen(const QString& prefs, int n)
{
    if (n == CONTACTS_CHOICE) // added later: older settings lack it
        return prefs.size() >= n && prefs.at(n - 1) == u'1';
    return prefs.size() >= 5 && n >= 1 && n <= 5 && prefs.at(n - 1) == u'1';
}

QString salesPageHtml(AppState& st, int p)
{
    const std::vector<SaleRow> rows = st.repList.book(st.saleList).periodRows(p);
    const Money total = amountOf(rows); // first: a sum that cannot be held writes nothing
    QString body;
    if (rows.empty()) {
        body = u"<p><i>Aucune vente enregistrée pour la période.</i></p>\n"_s;
    } else {
        body = TABLE + u"<tr><th>Date</th><th>Artisan</th><th>Produit</th><th>Description</th>"
                       "<th class=\"num\">Prix</th><th class=\"num\">Qté</th><th class=\"num\">Total</th></tr>\n"_s;
        for (const SaleRow& r : rows)
            body += cells({r.date, r.artNo, r.prodNo, r.descript, r.priceText(), QString::number(r.qnt),
                           r.amount.format()},
                          {0, 1, 2, 3, 4, 5, 6}, {4, 5, 6});
        body += u"<tr class=\"total\"><td colspan=\"6\"><b>Total</b></td><td class=\"num\" align=\"right\"><b>"_s
                + total.format() + u"</b></td></tr>\n</table>\n"_s;
    }
    return pageHtml(u"Feuille des ventes"_s, statementHeader(st, p), body);
}

QString inventoryPageHtml(AppState& st)
{
    StatementHeader head = statementHeader(st, -1);
    QString body;
    for (int i = 0; i < st.artList.count(); ++i) {
        TArtisan& a = st.artList.at(i);
        const QStringList rows = readCommaList(a.products.getCurInvent(a.artNo, st.saleList, st.repList));
        body += u"<h2>"_s + st.artList.displayName(i).toHtmlEscaped() + u"</h2>\n"_s;
        if (rows.isEmpty()) {
            body += u"<p><i>Aucun produit.</i></p>\n"_s;
            continue;
        }
        body += TABLE + u"<tr><th>Produit</th><th>Description</th><th class=\"num\">Reçus</th>"
                        "<th class=\"num\">Vendus</th><th class=\"num\">Reste</th></tr>\n"_s;
        for (const QString& r : rows)
            body += cells(readCommaList(r), {0, 1, 2, 3, 4}, {2, 3, 4});
        body += u"</table>\n"_s;
    }
    return pageHtml(u"Rapport d'inventaire"_s, head, body);
}

QStringList publishPages(AppState& st, const QString& prefs, int p)
{
    QStringList written = shipped::install(st);
    const QString dir = st.dataDir;
    // Read by whoever reads the boutique's pages: the artisans' private
    // details only when the user chose so.
    writeArtListXML(st.artList, dir + u"artList.xml"_s, chosen(prefs, CONTACTS_CHOICE) ? Contacts::Kept : Contacts::Withheld,
                    outputOptions(st));
    written << dir + u"artList.xml"_s;
    if (chosen(prefs, 1))
        written << xslt::transformFile(dir + u"artList.xml"_s, xslt::trustedStyleDirs(st), u"../xData.xsl"_s,
                                       outputOptions(st), {shopHtml(statementHeader(st, -1)), {}});
    const bool period = p >= 0 && p < st.repList.count();
    if (chosen(prefs, 2) && period) {
        safeWriteFile(dir + SALES_PAGE, salesPageHtml(st, p).toUtf8(), outputOptions(st));
        written << dir + SALES_PAGE;
    }
    if (chosen(prefs, 3) && period) {
        writeSummary(dir + SUMMARY_PAGE, settlementSummary(st, p), outputOptions(st));
        written << dir + SUMMARY_PAGE + u".html"_s << dir + SUMMARY_PAGE + u".pdf"_s;
    }
    if (chosen(prefs, 4)) {
        safeWriteFile(dir + INVENTORY_PAGE, inventoryPageHtml(st).toUtf8(), outputOptions(st));
        written << dir + INVENTORY_PAGE;
    }
    return written;
}

} // namespace publish
