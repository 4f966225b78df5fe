#include "ui/tags/tagsDlg.h"

#include "core/textUtil.h"
#include "ui/shell/translations.h"
#include "ui/widgets/named.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
QDoubleSpinBox* mmSpin(const char* name, QWidget* parent)
{
    auto* s = named<QDoubleSpinBox>(name, parent);
    s->setRange(0, MaxPageSide);
    s->setDecimals(3);
    s->setSuffix(u" mm"_s);
    s->setLocale(decimalPointLocale()); // "." as everywhere in the program
    return s;
}
} // namespace

TTagsDlg::TTagsDlg(const QString& productKey, const QString& artisanName, const QDate& lastReceived,
                   const TagLayout& layout, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"TTagsDlg"_s);
    setWindowTitle(u"Imprimer les étiquettes"_s);
    auto* main = new QVBoxLayout(this);

    auto* what = new QGroupBox(u"Produits"_s, this);
    auto* w = new QGridLayout(what);
    productRadio = named<QRadioButton>("productRadio", u"Ce produit : %1"_s.arg(productKey), what);
    artisanRadio = named<QRadioButton>("artisanRadio", u"Tous les produits de %1"_s.arg(artisanName), what);
    dateRadio = named<QRadioButton>("dateRadio", u"Les produits reçus le"_s, what);
    dateEd = named<QDateEdit>("dateEd", lastReceived.isValid() ? lastReceived : QDate::currentDate(), what);
    dateEd->setDisplayFormat(u"dd/MM/yyyy"_s);
    dateEd->setCalendarPopup(true);
    dateEd->calendarWidget()->setFirstDayOfWeek(Qt::Sunday); // as the program's own calendars
    productRadio->setEnabled(!productKey.isEmpty());
    (productKey.isEmpty() ? artisanRadio : productRadio)->setChecked(true);
    w->addWidget(productRadio, 0, 0, 1, 2);
    w->addWidget(artisanRadio, 1, 0, 1, 2);
    w->addWidget(dateRadio, 2, 0);
    w->addWidget(dateEd, 2, 1);
    main->addWidget(what);

    auto* count = new QGroupBox(u"Nombre d'étiquettes"_s, this);
    auto* c = new QGridLayout(count);
    perUnitRadio = named<QRadioButton>("perUnitRadio", u"Une par unité reçue"_s, count);
    copiesRadio = named<QRadioButton>("copiesRadio", u"Par produit :"_s, count);
    copiesSpin = named<QSpinBox>("copiesSpin", count);
    copiesSpin->setRange(1, MaxCopies);
    perUnitRadio->setChecked(true);
    c->addWidget(perUnitRadio, 0, 0, 1, 2);
    c->addWidget(copiesRadio, 1, 0);
    c->addWidget(copiesSpin, 1, 1);
    main->addWidget(count);

    auto* sheet = new QGroupBox(u"Feuille d'étiquettes"_s, this);
    auto* f = new QFormLayout(sheet);
    presetCombo = named<QComboBox>("presetCombo", sheet);
    for (const TagPreset& p : tagPresets())
        presetCombo->addItem(p.name);
    presetCombo->addItem(u"Personnalisée"_s);
    f->addRow(u"Modèle :"_s, presetCombo);
    const auto pair = [&](const QString& label, QWidget* a, QWidget* b) {
        auto* row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(new QLabel(u"×"_s, sheet));
        row->addWidget(b);
        f->addRow(label, row);
    };
    pageWidthSpin = mmSpin("pageWidthSpin", sheet);
    pageHeightSpin = mmSpin("pageHeightSpin", sheet);
    labelWidthSpin = mmSpin("labelWidthSpin", sheet);
    labelHeightSpin = mmSpin("labelHeightSpin", sheet);
    columnsSpin = named<QSpinBox>("columnsSpin", sheet);
    rowsSpin = named<QSpinBox>("rowsSpin", sheet);
    columnsSpin->setRange(1, 20);
    rowsSpin->setRange(1, 50);
    leftSpin = mmSpin("leftSpin", sheet);
    topSpin = mmSpin("topSpin", sheet);
    hGapSpin = mmSpin("hGapSpin", sheet);
    vGapSpin = mmSpin("vGapSpin", sheet);
    pair(u"Page (largeur × hauteur) :"_s, pageWidthSpin, pageHeightSpin);
    pair(u"Étiquette (largeur × hauteur) :"_s, labelWidthSpin, labelHeightSpin);
    pair(u"Colonnes × rangées :"_s, columnsSpin, rowsSpin);
    pair(u"Marges (gauche × haut) :"_s, leftSpin, topSpin);
    pair(u"Espaces (colonnes × rangées) :"_s, hGapSpin, vGapSpin);
    startSpin = named<QSpinBox>("startSpin", sheet);
    startSpin->setToolTip(u"Sur une feuille déjà entamée : la première étiquette libre, "
                          "comptée rangée par rangée depuis le coin supérieur gauche"_s);
    f->addRow(u"Commencer à l'étiquette :"_s, startSpin);
    problemLab = named<QLabel>("problemLab", sheet);
    problemLab->setStyleSheet(u"color: #b00000;"_s);
    f->addRow(problemLab);
    main->addWidget(sheet);

    auto* buttons = new QDialogButtonBox(this);
    okBtn = buttons->addButton(u"Créer le PDF..."_s, QDialogButtonBox::AcceptRole);
    okBtn->setObjectName(u"okBtn"_s);
    buttons->addButton(u"Annuler"_s, QDialogButtonBox::RejectRole)->setObjectName(u"cancelBtn"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    main->addWidget(buttons);

    setSheetLayout(layout);
    connect(presetCombo, &QComboBox::activated, this, [this](int i) {
        if (i < tagPresets().size())
            setSheetLayout(tagPresets().at(i).layout);
    });
    for (QDoubleSpinBox* s : {pageWidthSpin, pageHeightSpin, labelWidthSpin, labelHeightSpin, leftSpin, topSpin,
                              hGapSpin, vGapSpin})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] { layoutEdited(); });
    for (QSpinBox* s : {columnsSpin, rowsSpin})
        connect(s, &QSpinBox::valueChanged, this, [this] { layoutEdited(); });
    connect(copiesSpin, &QSpinBox::valueChanged, copiesRadio, [this] { copiesRadio->setChecked(true); });
    connect(dateEd, &QDateEdit::dateChanged, dateRadio, [this] { dateRadio->setChecked(true); });
}

TagLayout TTagsDlg::sheetLayout() const
{
    const int i = presetCombo->currentIndex();
    return i >= 0 && i < tagPresets().size() ? tagPresets().at(i).layout : spinLayout();
}

TagLayout TTagsDlg::spinLayout() const
{
    return {pageWidthSpin->value(), pageHeightSpin->value(), labelWidthSpin->value(), labelHeightSpin->value(),
            columnsSpin->value(),   rowsSpin->value(),       leftSpin->value(),       topSpin->value(),
            hGapSpin->value(),      vGapSpin->value()};
}

void TTagsDlg::setSheetLayout(const TagLayout& l)
{
    m_filling = true;
    pageWidthSpin->setValue(l.pageWidth);
    pageHeightSpin->setValue(l.pageHeight);
    labelWidthSpin->setValue(l.labelWidth);
    labelHeightSpin->setValue(l.labelHeight);
    columnsSpin->setValue(l.columns);
    rowsSpin->setValue(l.rows);
    leftSpin->setValue(l.left);
    topSpin->setValue(l.top);
    hGapSpin->setValue(l.hGap);
    vGapSpin->setValue(l.vGap);
    m_filling = false;
    layoutEdited();
}

void TTagsDlg::layoutEdited()
{
    if (m_filling)
        return;
    // The spin boxes round to their decimals: a preset is recognised at that
    // precision and then given whole.
    const TagLayout cur = spinLayout();
    const auto near = [](double a, double b) { return qAbs(a - b) < 0.0006; };
    int preset = int(tagPresets().size());
    for (int i = 0; i < tagPresets().size(); ++i) {
        const TagLayout p = tagPresets().at(i).layout;
        if (near(p.pageWidth, cur.pageWidth) && near(p.pageHeight, cur.pageHeight)
            && near(p.labelWidth, cur.labelWidth) && near(p.labelHeight, cur.labelHeight)
            && p.columns == cur.columns && p.rows == cur.rows && near(p.left, cur.left) && near(p.top, cur.top)
            && near(p.hGap, cur.hGap) && near(p.vGap, cur.vGap))
            preset = i;
    }
    presetCombo->setCurrentIndex(preset);
    const TagLayout l = sheetLayout();
    startSpin->setRange(1, std::max(1, l.perSheet()));
    problemLab->setText(l.problem());
    problemLab->setVisible(!l.problem().isEmpty());
    // A sheet that cannot be printed is not offered to print.
    okBtn->setEnabled(l.problem().isEmpty());
}

TagChoice TTagsDlg::choice(int artisan, int product) const
{
    TagChoice c;
    if (!dateRadio->isChecked())
        c.artisan = artisan;
    if (productRadio->isChecked())
        c.product = product;
    if (dateRadio->isChecked())
        c.receivedOn = dateStr(dateEd->date());
    c.copies = copiesRadio->isChecked() ? copiesSpin->value() : 0;
    return c;
}
