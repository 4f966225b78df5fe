#pragma once
// "Imprimer les étiquettes...": which products get price tags, how many, on
// which sheet of labels and from which label on.

#include "report/priceTags.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TTagsDlg : public QDialog {
    Q_OBJECT
public:
    // productKey names the shown product ("TreMar005-003"); empty: none.
    TTagsDlg(const QString& productKey, const QString& artisanName, const QDate& lastReceived,
             const TagLayout& layout, QWidget* parent = nullptr);

    QRadioButton* productRadio;
    QRadioButton* artisanRadio;
    QRadioButton* dateRadio;
    QDateEdit* dateEd;
    QRadioButton* perUnitRadio;
    QRadioButton* copiesRadio;
    QSpinBox* copiesSpin;
    QComboBox* presetCombo; // the presets, then "Personnalisée"
    QDoubleSpinBox* pageWidthSpin;
    QDoubleSpinBox* pageHeightSpin;
    QDoubleSpinBox* labelWidthSpin;
    QDoubleSpinBox* labelHeightSpin;
    QSpinBox* columnsSpin;
    QSpinBox* rowsSpin;
    QDoubleSpinBox* leftSpin;
    QDoubleSpinBox* topSpin;
    QDoubleSpinBox* hGapSpin;
    QDoubleSpinBox* vGapSpin;
    QSpinBox* startSpin; // 1 = the sheet's first label
    QLabel* problemLab;
    QPushButton* okBtn;

    TagLayout sheetLayout() const;
    void setSheetLayout(const TagLayout& layout);
    // The products chosen, for the artisan at artisan and its product at product.
    TagChoice choice(int artisan, int product) const;

private:
    TagLayout spinLayout() const;
    void layoutEdited();
    bool m_filling = false;
};
