#include "report/statement.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "report/htmlPage.h"
#include "report/pdfChart.h"
#include "report/pdfPainter.h"

using namespace Qt::StringLiterals;

namespace {

// The boutique's name in bold, its address below, line by line.
html::Block shopBlock(const StatementHeader& head)
{
    html::Block b = html::paragraph(head.shopName, u"shop"_s, true);
    for (const QString& l : head.shopAddress.split(u'\n'))
        if (!l.trimmed().isEmpty())
            b.lines << l.trimmed();
    return b;
}

} // namespace

QString shopHtml(const StatementHeader& head)
{
    return html::part({shopBlock(head)});
}

QString pageHtml(const QString& title, const StatementHeader& head, const QList<html::Block>& body)
{
    QList<html::Block> blocks{shopBlock(head), html::heading(1, title)};
    if (!head.periodTitle.isEmpty())
        blocks << html::paragraph(u"Période : "_s + head.periodTitle + u", du "_s + frenchDate(head.startDate) + u" au "_s
                                  + frenchDate(head.endDate));
    blocks += body;
    return QString::fromUtf8(html::page(title, blocks));
}

namespace {

// The three amounts a statement closes on.
QList<std::pair<QString, QString>> splitLines(const ShareSplit& split)
{
    return {{u"Ventes au prix de vente"_s, split.sales.format()},
            {u"Part de la boutique"_s, split.shop().format()},
            {u"Montant dû à l'artisan"_s, split.due.format()}};
}

} // namespace

// The account under the split: what was owed before, paid during the
// period, owed at its end; the last line is the one to read first.
QList<std::pair<QString, bool>> accountLines(const Statement& s)
{
    const AccountFigures& f = s.account;
    const Money end = balanceAmount(f.after());
    QList<std::pair<QString, bool>> out{
        {u"Solde avant la période : "_s + f.before.format(), false},
        {u"Paiements de la période : "_s + f.paid.format(), false},
        {u"%1 au %2 : %3"_s.arg(balanceCaption(f.after()), s.head.endDate, end.format()), true}};
    if (!f.credited.isZero())
        out.insert(1, {u"Crédité pour des produits manquants au comptage : "_s + f.credited.format(), false});
    if (!s.sharesRecordedOn.isEmpty())
        out.append({u"Les parts des ventes enregistrées avant le %1 ont été fixées ce jour-là, d'après les valeurs "
                    "d'alors."_s.arg(s.sharesRecordedOn),
                    false});
    return out;
}

QString splitHtml(const Statement& s)
{
    html::Block amounts;
    amounts.kind = html::Block::Table;
    amounts.cssClass = u"split"_s;
    amounts.num = {1};
    for (const auto& [label, amount] : splitLines(s.split))
        amounts.rows.append({label, amount});
    html::Block account;
    account.cssClass = u"account"_s;
    for (const auto& [line, bold] : accountLines(s)) {
        if (bold)
            account.boldLines << int(account.lines.size());
        account.lines << line;
    }
    QList<html::Block> blocks{amounts, html::paragraph(u"Part de l'artisan : "_s + s.rule.text()), account};
    if (const QString w = missingValeurWarning(s.split.missing); !w.isEmpty())
        blocks << html::paragraph(w, u"warning"_s, true);
    return html::part(blocks);
}

StatementHeader statementHeader(const AppState& st, int p)
{
    StatementHeader h{st.shopName, st.shopAddress, {}, {}, {}, st.reportCharts};
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
    Statement s{head, artNo, {}, {}, {st.repList.rangeRows.begin(), st.repList.rangeRows.end()}, {}, {}, {}, {}};
    const int at = st.artList.indexOfArtNo(artNo);
    if (at >= 0) {
        const TArtisan& a = st.artList.at(at);
        s.artName = (a.prenom.trimmed() + u' ' + a.nom.trimmed()).trimmed();
        s.artAddress = a.adresse.trimmed() + u'\n' + (a.ville.trimmed() + u"  "_s + a.CP.trimmed()).trimmed();
    }
    if (s.artName.isEmpty())
        s.artName = u"Artisan "_s + artNo;
    // The rule named is the one in force for the artisan at the period's end.
    const ShareRule fallback{st.artSharePercent};
    s.rule = st.account.ruleAt(artNo, head.endDate, fallback);
    s.split = shareOf(s.rows, st.artList, fallback, &st.account);
    s.account = accountFigures(st.repList.book(st.saleList), st.artList, st.account, fallback, artNo, head.startDate,
                               head.endDate);
    s.sharesRecordedOn = st.account.sharesRecordedOn;
    return s;
}

void addToSummary(Summary& sum, const Statement& s)
{
    if (s.rows.empty() && s.account.after().isZero())
        return;
    SummaryLine line{s.artNo,          s.artName,     unitsOf(s.rows), s.split.sales,
                     s.split.shop(),   s.split.due,   s.account.after()};
    sum.sales += line.sales;
    sum.shop += line.shop;
    sum.total += line.owed;
    sum.balance += line.balance;
    sum.rule = s.rule;
    sum.months.add(s.rows);
    if (!s.split.missing.isEmpty())
        sum.warnings << s.artName + u" : "_s + s.split.missing.join(u", "_s);
    sum.lines.push_back(std::move(line));
}

QString summaryHtml(const Summary& sum)
{
    QList<html::Block> body;
    if (sum.lines.empty()) {
        body << html::paragraph(u"Aucune vente enregistrée pour la période."_s, {}, false, true);
    } else {
        html::Block t = html::rowsTable({u"No"_s, u"Artisan"_s, u"Articles vendus"_s, u"Ventes"_s, u"Part de la boutique"_s,
                                   u"Montant dû"_s, u"Solde au "_s + sum.head.endDate},
                                  {2, 3, 4, 5, 6});
        for (const SummaryLine& l : sum.lines)
            t.rows.append({l.artNo, l.name, QString::number(l.items), l.sales.format(), l.shop.format(),
                           l.owed.format(), l.balance.format()});
        t.total = {u"Total"_s, sum.sales.format(), sum.shop.format(), sum.total.format(), sum.balance.format()};
        t.totalSpan = 3;
        body << t << html::paragraph(u"Part de l'artisan : "_s + sum.rule.text());
        if (!sum.warnings.isEmpty())
            body << html::paragraph(missingValeurWarning(sum.warnings), u"warning"_s, true);
    }
    return pageHtml(u"Sommaire de consignation"_s, sum.head, body);
}

namespace {

const QString NO_SALE = u"Aucune vente enregistrée pour la période."_s;

// The boutique, the title and the period, as on the page.
void drawHead(PdfPainter& page, const QString& heading, const StatementHeader& h)
{
    page.text(page.field(h.shopName, 1.0, true), page.bold());
    page.lines(h.shopAddress);
    page.gap(0.8);
    page.text(heading, page.title());
    page.gap(0.5);
    if (!h.periodTitle.isEmpty()) {
        page.text(u"Période : "_s + page.field(h.periodTitle, 0.5, false) + u", du "_s + frenchDate(h.startDate)
                      + u" au "_s + frenchDate(h.endDate),
                  page.normal());
        page.gap(0.5);
    }
}

} // namespace

QByteArray statementPdf(const Statement& s)
{
    return PdfPainter::report(u"Relevé "_s + s.artName, [&](PdfPainter& page) {
        drawHead(page, u"Relevé de consignation"_s, s.head);
        page.text(page.field(s.artName, 0.7, true) + u" (artisan no "_s + page.field(s.artNo, 0.2, true) + u')',
                  page.bold());
        page.lines(s.artAddress);
        page.gap(0.8);
        if (s.rows.empty()) {
            page.text(NO_SALE, PdfPainter::font(10, false, true));
            return;
        }
        const PdfColumns cols{{0.11, 0.16, 0.43, 0.11, 0.07, 0.12},
                              {false, false, false, true, true, true},
                              {u"Date"_s, u"Produit"_s, u"Description"_s, u"Prix"_s, u"Qté"_s, u"Total"_s}};
        page.beginTable(cols);
        for (const SaleRow& r : s.rows)
            page.row({r.date, r.prodNo, r.descript, r.priceText(), QString::number(r.qnt), r.amount.format()});
        page.closeTable(u"Total des ventes"_s, {s.split.sales.format()});
        page.endTable();
        page.gap(0.8);
        for (const auto& [label, amount] : splitLines(s.split))
            page.text(label + u" : "_s + amount, label.startsWith(u"Montant"_s) ? page.bold() : page.normal());
        page.text(u"Part de l'artisan : "_s + s.rule.text(), page.normal());
        page.gap(0.5);
        for (const auto& [line, bold] : accountLines(s))
            page.text(line, bold ? page.bold() : page.normal());
        if (const QString w = missingValeurWarning(s.split.missing); !w.isEmpty())
            page.paragraph(w, page.bold());
        // The artisan's months, when the period spans more than one.
        const QStringList months = chartMonths(s.head.periodTitle, s.head.startDate, s.head.endDate);
        if (s.head.charts && months.size() > 1) {
            MonthTally t;
            t.add(s.rows);
            page.gap(0.8);
            drawMonthChart(page, u"Ventes par mois"_s, t.series(months), u"Part de l'artisan"_s);
        }
    });
}

QByteArray summaryPdf(const Summary& sum)
{
    return PdfPainter::report(u"Sommaire de consignation"_s, [&](PdfPainter& page) {
        drawHead(page, u"Sommaire de consignation"_s, sum.head);
        if (sum.lines.empty()) {
            page.text(NO_SALE, PdfPainter::font(10, false, true));
            return;
        }
        const PdfColumns cols{{0.06, 0.28, 0.09, 0.14, 0.14, 0.14, 0.15},
                              {false, false, true, true, true, true, true},
                              {u"No"_s, u"Artisan"_s, u"Articles"_s, u"Ventes"_s, u"Part boutique"_s,
                               u"Montant dû"_s, u"Solde au "_s + sum.head.endDate}};
        page.beginTable(cols);
        for (const SummaryLine& l : sum.lines)
            page.row({l.artNo, l.name, QString::number(l.items), l.sales.format(), l.shop.format(), l.owed.format(),
                      l.balance.format()});
        page.closeTable(u"Total"_s,
                        {sum.sales.format(), sum.shop.format(), sum.total.format(), sum.balance.format()});
        page.endTable();
        page.gap(0.8);
        page.text(u"Part de l'artisan : "_s + sum.rule.text(), page.normal());
        if (!sum.warnings.isEmpty())
            page.paragraph(missingValeurWarning(sum.warnings), page.bold());
        if (!sum.head.charts)
            return;
        page.gap(0.8);
        const QStringList months = chartMonths(sum.head.periodTitle, sum.head.startDate, sum.head.endDate);
        if (months.size() > 1)
            drawMonthChart(page, u"Ventes de la boutique par mois"_s, sum.months.series(months),
                           u"Part des artisans"_s);
        // The ten artisans who sold most, as the table's lines give them.
        std::vector<Ranked> all;
        for (const SummaryLine& l : sum.lines)
            all.push_back({l.artNo, l.name, l.sales, l.items});
        std::vector<RankBar> bars;
        for (const Ranked& r : topOf(std::move(all), 10))
            bars.push_back({r.label, r.sales});
        if (bars.size() > 1)
            drawRankChart(page, u"Les artisans qui ont le plus vendu"_s, bars, sum.sales);
    });
}
