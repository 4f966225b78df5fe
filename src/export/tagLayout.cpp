#include "export/tagLayout.h"

#include "core/iniFile.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
const QString Section = u"TAGS"_s;

// A whole count in [1, 1000] as it is; anything else (a fraction, NaN, a
// number past int) 0, which problem() refuses.
int wholeCount(double v)
{
    return v >= 1 && v <= 1000 && v == std::floor(v) ? int(v) : 0;
}
} // namespace

QString TagLayout::problem() const
{
    for (double v : {pageWidth, pageHeight, labelWidth, labelHeight, left, top, hGap, vGap})
        if (!std::isfinite(v))
            return u"Chaque mesure de la feuille doit être un nombre de millimètres."_s;
    if (columns < 1 || rows < 1 || columns > 20 || rows > 50)
        return u"Le nombre de colonnes et de rangées doit être entre 1 et 20, et 1 et 50."_s;
    if (pageWidth <= 0 || pageHeight <= 0 || pageWidth > MaxPageSide || pageHeight > MaxPageSide)
        return u"La page doit mesurer plus de 0 et au plus %1 mm de côté."_s.arg(MaxPageSide);
    if (labelWidth < 30 || labelHeight < 15)
        return u"Une étiquette doit mesurer au moins 30 × 15 mm pour porter son code-barres."_s;
    if (left < 0 || top < 0 || hGap < 0 || vGap < 0)
        return u"Les marges et les espaces ne peuvent être négatifs."_s;
    if (left + columns * labelWidth + (columns - 1) * hGap > pageWidth + 0.01
        || top + rows * labelHeight + (rows - 1) * vGap > pageHeight + 0.01)
        return u"Les étiquettes dépassent de la page."_s;
    return {};
}

QString TagLayout::toText() const
{
    // The shortest text that reads back as the very number: a sheet kept in
    // the settings is the sheet that was accepted, to the last digit.
    const auto n = [](double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); };
    return QStringList{n(pageWidth), n(pageHeight), n(labelWidth), n(labelHeight), QString::number(columns),
                       QString::number(rows), n(left), n(top), n(hGap), n(vGap)}
        .join(u';');
}

TagLayout TagLayout::fromText(const QString& text, bool* ok, QString* why)
{
    const QStringList f = text.split(u';');
    TagLayout l;
    bool good = f.size() == 10;
    double v[10] = {};
    for (int i = 0; good && i < 10; ++i)
        v[i] = f.at(i).trimmed().toDouble(&good);
    QString problem;
    if (good) {
        l = {v[0], v[1], v[2], v[3], wholeCount(v[4]), wholeCount(v[5]), v[6], v[7], v[8], v[9]};
        problem = l.problem();
        good = problem.isEmpty();
    } else {
        problem = u"La feuille s'écrit en dix nombres séparés par « ; » : page (largeur, hauteur), étiquette "
                  u"(largeur, hauteur), colonnes, rangées, marges (gauche, haut), espaces (colonnes, rangées), "
                  u"en mm."_s;
    }
    if (ok)
        *ok = good;
    if (why)
        *why = good ? QString() : problem;
    return good ? l : TagLayout();
}

QList<TagPreset> tagPresets()
{
    return {{u"30 étiquettes 1 × 2 5/8 po, US Letter"_s, TagLayout()},
            {u"24 étiquettes 70 × 37 mm, A4"_s, {210, 297, 70, 37, 3, 8, 0, 0.5, 0, 0}}};
}

TagLayout readTagLayout(const QString& iniPath, QString* why)
{
    const QString text = TIniFile(iniPath).readString(Section, u"layout"_s, QString());
    QString problem;
    const TagLayout layout = text.isEmpty() ? TagLayout() : TagLayout::fromText(text, nullptr, &problem);
    if (why)
        *why = problem;
    return layout;
}

void writeTagLayout(const QString& iniPath, const TagLayout& layout)
{
    TIniFile ini(iniPath);
    ini.writeString(Section, u"layout"_s, layout.toText());
}
