#include "export/stockCommands.h"

#include "boutique/appState.h"
#include "core/textUtil.h"
#include "model/stockCount.h"
#include "model/stockShelf.h"

using namespace Qt::StringLiterals;

namespace {

QByteArray line(const QString& text)
{
    return text.toUtf8() + '\n';
}

const QByteArray USAGE = "       tlvdb stock FILE [ARTNO] [--unsold-since YYMMDD]\n"
                         "                                       the stock the books expect per product (received\n"
                         "                                       - sold) and the day its oldest units came in;\n"
                         "                                       with --unsold-since, the products with units come\n"
                         "                                       in before that day\n";

int runStock(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err)
{
    QString artNo;
    QString since;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args.at(i) == u"--unsold-since"_s && i + 1 < args.size())
            since = args.at(++i);
        else if (artNo.isEmpty() && !args.at(i).startsWith(u"--"_s) && !args.at(i).isEmpty())
            artNo = args.at(i);
        else {
            err += "usage:" + USAGE.mid(6);
            return ExitUsage;
        }
    }
    if (!since.isNull() && !isDay(since)) {
        err += line(u"tlvdb: \"%1\" is not a day (YYMMDD)"_s.arg(since));
        return ExitUsage;
    }
    if (!artNo.isEmpty() && st.artList.indexOfArtNo(artNo) < 0) {
        err += line(u"tlvdb: no artisan numbered \"%1\""_s.arg(artNo));
        return ExitFailed;
    }
    const StockBook& book = st.account.stock;
    out += line(u"key  description  stock  oldest-on-shelf  price  value"_s);
    int units = 0;
    for (const ShelfLine& l : shelfLines(st.artList, book, artNo)) {
        out += line(u"%1  %2  %3  %4  %5  %6"_s.arg(l.key, l.descript.simplified(), QString::number(l.stock), l.oldest,
                                                   l.price.format(), l.value.format()));
        units += l.stock;
    }
    out += line(u"total  %1 units"_s.arg(units));
    if (book.open)
        out += line(u"a count begun %1 is open (%2 products scanned)"_s.arg(book.open->started)
                        .arg(book.open->lines.size()));
    if (since.isNull())
        return ExitOk;
    out += line(u"unsold since %1: key  description  units-come-before  stock  oldest  price  value"_s.arg(since));
    for (const ShelfLine& l : unsoldSince(st.artList, book, artNo, since))
        out += line(u"%1  %2  %3  %4  %5  %6  %7"_s.arg(l.key, l.descript.simplified(), QString::number(l.old),
                                                       QString::number(l.stock), l.oldest, l.price.format(),
                                                       l.value.format()));
    return ExitOk;
}

} // namespace

TlvdbCommand tlvdbStockCommand()
{
    return {u"stock"_s, 1, 4, USAGE, runStock};
}
