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
    QList<html::Block> body;
    if (rows.empty()) {
        body << html::paragraph(u"Aucune vente enregistrée pour la période."_s, {}, false, true);
    } else {
        html::Block t = html::rowsTable(
            {u"Date"_s, u"Artisan"_s, u"Produit"_s, u"Description"_s, u"Prix"_s, u"Qté"_s, u"Total"_s}, {4, 5, 6});
        for (const SaleRow& r : rows)
            t.rows.append({r.date, r.artNo, r.prodNo, r.descript, r.priceText(), QString::number(r.qnt),
                           r.amount.format()});
        t.total = {u"Total"_s, total.format()};
        t.totalSpan = 6;
        body << t;
    }
    return pageHtml(u"Feuille des ventes"_s, statementHeader(st, p), body);
}

QString inventoryPageHtml(AppState& st)
{
    StatementHeader head = statementHeader(st, -1);
    QList<html::Block> body;
    for (int i = 0; i < st.artList.count(); ++i) {
        TArtisan& a = st.artList.at(i);
        const QStringList rows = readCommaList(a.products.getCurInvent(a.artNo, st.saleList, st.repList));
        body << html::heading(2, st.artList.displayName(i));
        if (rows.isEmpty()) {
            body << html::paragraph(u"Aucun produit."_s, {}, false, true);
            continue;
        }
        html::Block t =
            html::rowsTable({u"Produit"_s, u"Description"_s, u"Reçus"_s, u"Vendus"_s, u"Reste"_s}, {2, 3, 4});
        for (const QString& r : rows) {
            const QStringList f = readCommaList(r);
            t.rows.append({f.value(0), f.value(1), f.value(2), f.value(3), f.value(4)});
        }
        body << t;
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
