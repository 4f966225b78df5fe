#include "ui/dashboard/salesCharts.h"

#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "ui/shell/main.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QCursor>
#include <QDir>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QStackedBarSeries>
#include <QToolButton>
#include <QToolTip>
#include <QValueAxis>

using namespace Qt::StringLiterals;

namespace {

const QColor SALES(0x9d, 0xb9, 0xd8);
const QColor PART(0x2f, 0x5f, 0x8f);
const QColor SALES_BEFORE(0xd9, 0xd9, 0xd9);
const QColor PART_BEFORE(0x8c, 0x8c, 0x8c);

// Amounts become floating point only here, to be drawn to scale.
qreal dollars(Money m)
{
    return qreal(m.units()) / qreal(Money::Scale);
}

QBarSet* barSet(const QString& name, const QColor& color)
{
    auto* set = new QBarSet(name);
    set->setColor(color);
    set->setBorderColor(color.darker(130));
    return set;
}

// The months of one year as stacked bars: the share, then the rest of the
// sales over it (the sales alone without a share).
QStackedBarSeries* yearSeries(const QString& name, const std::vector<MonthFigures>& months, const QString& partName,
                              const QColor& sales, const QColor& part)
{
    auto* series = new QStackedBarSeries;
    series->setName(name);
    if (partName.isEmpty()) {
        QBarSet* all = barSet(name, sales);
        for (const MonthFigures& m : months)
            all->append(dollars(m.sales));
        series->append(all);
    } else {
        QBarSet* due = barSet(partName, part);
        QBarSet* rest = barSet(name, sales);
        for (const MonthFigures& m : months) {
            due->append(dollars(m.due));
            rest->append(dollars(m.sales - m.due));
        }
        series->append(due);
        series->append(rest);
    }
    const QString tipPart = partName;
    QObject::connect(series, &QStackedBarSeries::hovered, series, [months, tipPart](bool on, int index) {
        if (on && index >= 0 && size_t(index) < months.size())
            QToolTip::showText(QCursor::pos(), monthTip(months[size_t(index)], tipPart));
        else
            QToolTip::hideText();
    });
    return series;
}

QChart* newChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

// Saves the chart of view under a name asked for, as a PNG or a PDF.
void saveChart(QChartView* view, TmainForm& main, const QString& proposed, bool pdf)
{
    const QString suffix = pdf ? u"pdf"_s : u"png"_s;
    const QString filter = pdf ? u"Documents PDF (*.pdf)"_s : u"Images PNG (*.png)"_s;
    const QString path = main.prompt().saveFileAsked(u"Enregistrer le graphique"_s, proposed + u'.' + suffix, filter,
                                                     suffix);
    if (path.isEmpty())
        return;
    safeWriteFile(path, chartBytes(*view, pdf), outputOptions(main.state()));
    main.prompt().information(u"Graphique enregistré dans %1"_s.arg(QDir::toNativeSeparators(path)));
}

} // namespace

QString monthTip(const MonthFigures& m, const QString& partName)
{
    QString tip = monthName(m.month) + u"\nVentes : "_s + m.sales.format();
    if (!partName.isEmpty())
        tip += u'\n' + partName + u" : "_s + m.due.format();
    return tip + u"\nArticles : "_s + QString::number(m.items);
}

QChart* monthChart(const QString& title, const std::vector<MonthFigures>& months,
                   const std::vector<MonthFigures>* before, const QString& partName)
{
    QChart* chart = newChart(title);
    auto* axisX = new QBarCategoryAxis;
    for (const MonthFigures& m : months)
        axisX->append(monthName(m.month, true));
    chart->addAxis(axisX, Qt::AlignBottom);
    auto* axisY = new QValueAxis;
    axisY->setLabelFormat(u"%.0f $"_s);
    chart->addAxis(axisY, Qt::AlignLeft);
    // The year before stands left of each month, in grey; its share goes
    // unnamed in the legend, the year names it.
    QList<QStackedBarSeries*> years;
    if (before)
        years << yearSeries(u"Année précédente"_s, *before, partName, SALES_BEFORE, PART_BEFORE);
    years << yearSeries(partName.isEmpty() ? u"Ventes"_s : u"Part de la boutique"_s, months, partName, SALES, PART);
    for (QStackedBarSeries* s : years) {
        chart->addSeries(s);
        s->attachAxis(axisX);
        s->attachAxis(axisY);
    }
    Money top;
    for (const auto* year : {&months, before})
        for (size_t k = 0; year && k < year->size(); ++k)
            top = std::max(top, (*year)[k].sales);
    if (before && !partName.isEmpty())
        chart->legend()->markers(years.first()).first()->setVisible(false);
    axisY->setRange(0, top > Money() ? dollars(top) : 1);
    axisY->applyNiceNumbers();
    return chart;
}

QChart* rankChart(const QString& title, const std::vector<Ranked>& top, const QStringList& names, Money total)
{
    QChart* chart = newChart(title);
    chart->legend()->hide();
    auto* series = new QHorizontalBarSeries;
    QBarSet* set = barSet(title, PART);
    auto* axisY = new QBarCategoryAxis;
    // Categories run upwards: the largest last, on top. A label is rich
    // text: the name (escaped) over its figures.
    QStringList tips;
    for (size_t k = top.size(); k-- > 0;) {
        const Ranked& r = top[k];
        const QString share = shareText(r.sales, total);
        const QString figures = r.sales.format() + (share.isEmpty() ? QString() : u" ("_s + share + u')');
        axisY->append(names.value(qsizetype(k)).toHtmlEscaped() + u"<br>"_s + figures);
        tips << names.value(qsizetype(k)) + u'\n' + figures + u"\nArticles : "_s + QString::number(r.items);
        set->append(dollars(r.sales));
    }
    series->append(set);
    QObject::connect(series, &QHorizontalBarSeries::hovered, series, [tips](bool on, int index) {
        if (on && index >= 0 && index < tips.size())
            QToolTip::showText(QCursor::pos(), tips.at(index));
        else
            QToolTip::hideText();
    });
    chart->addSeries(series);
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);
    auto* axisX = new QValueAxis;
    axisX->setLabelFormat(u"%.0f $"_s);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);
    axisX->setRange(0, top.empty() || top.front().sales <= Money() ? 1 : dollars(top.front().sales));
    axisX->applyNiceNumbers();
    return chart;
}

void replaceChart(QChartView* view, QChart* chart)
{
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

QChartView* chartView(const char* objectName, QWidget* parent)
{
    auto* view = new QChartView(parent);
    view->setObjectName(QString::fromLatin1(objectName));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 220);
    return view;
}

QToolButton* saveChartButton(QChartView* view, const char* base, TmainForm& main,
                             const std::function<QString()>& proposedPath)
{
    auto* b = new QToolButton(view->parentWidget());
    b->setObjectName(QString::fromLatin1(base));
    b->setText(u"Enregistrer..."_s);
    b->setToolTip(u"Enregistrer le graphique en image PNG ou en document PDF"_s);
    b->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(b);
    for (const bool pdf : {false, true}) {
        QAction* a = menu->addAction(pdf ? u"Document PDF..."_s : u"Image PNG..."_s);
        a->setObjectName(QString::fromLatin1(base) + (pdf ? u"Pdf"_s : u"Png"_s));
        QObject::connect(a, &QAction::triggered, view, [view, &main, proposedPath, pdf] {
            main.guarded([&] { saveChart(view, main, proposedPath(), pdf); });
        });
    }
    b->setMenu(menu);
    return b;
}

QByteArray chartBytes(QChartView& view, bool pdf)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    if (pdf) {
        QPdfWriter w(&buf);
        w.setCreator(u"TilvarBD"_s);
        w.setTitle(view.chart() ? view.chart()->title() : QString());
        w.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(15, 15, 15, 15),
                                    QPageLayout::Millimeter));
        QPainter p(&w);
        view.render(&p, QRectF(p.viewport()), view.viewport()->rect(), Qt::KeepAspectRatio);
    } else {
        // Twice the window's size: sharp on a page or a screen of today.
        QImage img(view.viewport()->size() * 2, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            view.render(&p, QRectF(img.rect()), view.viewport()->rect());
        }
        img.save(&buf, "PNG");
    }
    return bytes;
}
