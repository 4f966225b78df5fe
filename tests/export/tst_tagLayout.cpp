// The sheet of labels: which measures are accepted, each rule at its edge
// (at, just inside, just outside), and its text in the settings file.

#include "export/tagLayout.h"

#include <QTest>

#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString Counts = u"Le nombre de colonnes et de rangées doit être entre 1 et 20, et 1 et 50."_s;
const QString Page = u"La page doit mesurer plus de 0 et au plus 1000 mm de côté."_s;
const QString Label = u"Une étiquette doit mesurer au moins 30 × 15 mm pour porter son code-barres."_s;
const QString Negative = u"Les marges et les espaces ne peuvent être négatifs."_s;
const QString Overflow = u"Les étiquettes dépassent de la page."_s;
const QString NotNumber = u"Chaque mesure de la feuille doit être un nombre de millimètres."_s;

// A roll of the largest page with the smallest labels, no margins: room for
// every count the rules allow.
TagLayout roomy()
{
    return {1000, 1000, 30, 15, 2, 2, 0, 0, 0, 0};
}

} // namespace

class TstTagLayout : public QObject {
    Q_OBJECT

private slots:
    void eachRuleAtItsEdge()
    {
        const struct {
            const char* edge;
            std::function<void(TagLayout&)> change;
            QString problem;
        } cases[] = {
            {"one column", [](TagLayout& l) { l.columns = 1; }, {}},
            {"no column", [](TagLayout& l) { l.columns = 0; }, Counts},
            {"twenty columns", [](TagLayout& l) { l.columns = 20; }, {}},
            {"twenty-one columns", [](TagLayout& l) { l.columns = 21; }, Counts},
            {"one row", [](TagLayout& l) { l.rows = 1; }, {}},
            {"no row", [](TagLayout& l) { l.rows = 0; }, Counts},
            {"fifty rows", [](TagLayout& l) { l.rows = 50; }, {}},
            {"fifty-one rows", [](TagLayout& l) { l.rows = 51; }, Counts},
            {"page as wide as the largest", [](TagLayout& l) { l.pageWidth = MaxPageSide; }, {}},
            {"page wider than the largest", [](TagLayout& l) { l.pageWidth = MaxPageSide + 0.5; }, Page},
            {"page taller than the largest", [](TagLayout& l) { l.pageHeight = MaxPageSide + 0.5; }, Page},
            {"page of no width", [](TagLayout& l) { l.pageWidth = 0; }, Page},
            {"page of no height", [](TagLayout& l) { l.pageHeight = 0; }, Page},
            {"label of the narrowest width", [](TagLayout& l) { l.labelWidth = 30; }, {}},
            {"label narrower", [](TagLayout& l) { l.labelWidth = 29.99; }, Label},
            {"label of the lowest height", [](TagLayout& l) { l.labelHeight = 15; }, {}},
            {"label lower", [](TagLayout& l) { l.labelHeight = 14.99; }, Label},
            {"no margin or space", [](TagLayout& l) { l.left = l.top = l.hGap = l.vGap = 0; }, {}},
            {"left margin below 0", [](TagLayout& l) { l.left = -0.01; }, Negative},
            {"top margin below 0", [](TagLayout& l) { l.top = -0.01; }, Negative},
            {"space between columns below 0", [](TagLayout& l) { l.hGap = -0.01; }, Negative},
            {"space between rows below 0", [](TagLayout& l) { l.vGap = -0.01; }, Negative},
            // Two columns of 30 mm and one space of 10 mm: the left margin
            // takes the rest of the width (930 mm), then a hundredth less
            // than the tolerance more, then more than it.
            {"columns filling the width", [](TagLayout& l) { l.hGap = 10; l.left = 930; }, {}},
            {"columns past the width within the tolerance", [](TagLayout& l) { l.hGap = 10; l.left = 930.009; }, {}},
            {"columns past the width", [](TagLayout& l) { l.hGap = 10; l.left = 930.02; }, Overflow},
            {"rows filling the height", [](TagLayout& l) { l.vGap = 10; l.top = 960; }, {}},
            {"rows past the height", [](TagLayout& l) { l.vGap = 10; l.top = 960.02; }, Overflow},
            {"a measure that is no number",
             [](TagLayout& l) { l.vGap = std::numeric_limits<double>::quiet_NaN(); }, NotNumber},
            {"an endless measure", [](TagLayout& l) { l.pageWidth = std::numeric_limits<double>::infinity(); },
             NotNumber},
        };
        for (const auto& c : cases) {
            TagLayout l = roomy();
            c.change(l);
            QVERIFY2(l.problem() == c.problem, c.edge);
        }
    }

    void settingsText()
    {
        // An accepted sheet reads back as the very numbers.
        const TagLayout edge{MaxPageSide, 0.5 + 15, 30, 15, 20, 1, 0.1, 0.2, 3.175, 0};
        QCOMPARE(edge.problem(), QString());
        bool ok = false;
        QCOMPARE(TagLayout::fromText(edge.toText(), &ok), edge);
        QVERIFY(ok);
        QCOMPARE(TagLayout().toText(), u"215.9;279.4;66.675;25.4;3;10;4.7625;12.7;3.175;0"_s);

        // Refused texts give the usual sheet and say why.
        const struct {
            QString text;
            QString why;
        } refused[] = {
            {u"215.9;279.4;66.675;25.4;3;10;4.7625;12.7;3.175"_s, u"La feuille s'écrit en dix nombres"_s},
            {u"215.9;279.4;66.675;25.4;3;10;4.7625;12.7;3.175;0;0"_s, u"La feuille s'écrit en dix nombres"_s},
            {u"215.9;279.4;66.675;25.4;2.5;10;4.7625;12.7;3.175;0"_s, Counts},
            {u"215.9;279.4;66.675;25.4;3;1e10;4.7625;12.7;3.175;0"_s, Counts},
            {u"215.9;279.4;66.675;25.4;3;10;x;12.7;3.175;0"_s, u"La feuille s'écrit en dix nombres"_s},
        };
        for (const auto& r : refused) {
            QString why;
            ok = true;
            QCOMPARE(TagLayout::fromText(r.text, &ok, &why), TagLayout());
            QVERIFY2(!ok && why.startsWith(r.why), qPrintable(r.text + u" → "_s + why));
        }
    }
};

QTEST_GUILESS_MAIN(TstTagLayout)
#include "tst_tagLayout.moc"
