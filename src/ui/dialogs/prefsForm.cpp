#include "ui/dialogs/prefsForm.h"

#include "ui/widgets/controls.h"
#include "ui/widgets/limitEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TPrefsDialog::TPrefsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrefsDialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);

    autoLoadChk = new QCheckBox(QStringLiteral("chargement automatique"), Panel1);
    autoLoadChk->setObjectName(QStringLiteral("autoLoadChk"));
    splashScreenChk = new QCheckBox(QStringLiteral("écran d'ouverture"), Panel1);
    splashScreenChk->setObjectName(QStringLiteral("splashScreenChk"));

    // Kept but not shown: the database name, its extension and the sales option.
    Label1 = new QLabel(QStringLiteral("nom de la BD"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    BDNameEd = new QLineEdit(Panel1);
    BDNameEd->setObjectName(QStringLiteral("BDNameEd"));
    extLab = new QLabel(Panel1);
    extLab->setObjectName(QStringLiteral("extLab"));
    autoSaveSalesChk = new QCheckBox(QStringLiteral("sauvegarde auto. des ventes"), Panel1);
    autoSaveSalesChk->setObjectName(QStringLiteral("autoSaveSalesChk"));
    autoSaveSalesChk->setChecked(true);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Label1);
    nameRow->addWidget(BDNameEd);
    nameRow->addWidget(extLab);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->addWidget(autoLoadChk);
    panelLayout->addWidget(splashScreenChk);
    panelLayout->addLayout(nameRow);
    panelLayout->addWidget(autoSaveSalesChk);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, BDNameEd, extLab, autoSaveSalesChk})
        w->hide();

    // The boutique as its statements name it.
    shopNameLab = new QLabel(QStringLiteral("Nom de la boutique:"), Panel1);
    shopNameLab->setObjectName(QStringLiteral("shopNameLab"));
    shopNameEd = new QLineEdit(Panel1);
    limitEdit(shopNameEd, "shopName");
    shopNameEd->setObjectName(QStringLiteral("shopNameEd"));
    shopAddressLab = new QLabel(QStringLiteral("Adresse:"), Panel1);
    shopAddressLab->setObjectName(QStringLiteral("shopAddressLab"));
    shopAddressMemo = new QPlainTextEdit(Panel1);
    shopAddressMemo->setObjectName(QStringLiteral("shopAddressMemo"));
    shopAddressMemo->setTabChangesFocus(true);
    shopAddressMemo->setFixedHeight(shopAddressMemo->fontMetrics().lineSpacing() * 4 + 12);
    panelLayout->addWidget(shopNameLab);
    panelLayout->addWidget(shopNameEd);
    panelLayout->addWidget(shopAddressLab);
    panelLayout->addWidget(shopAddressMemo);

    // What the statements pay the artisan.
    shareLab = new QLabel(QStringLiteral("Part de l'artisan:"), Panel1);
    shareLab->setObjectName(QStringLiteral("shareLab"));
    shareRuleCB = new QComboBox(Panel1);
    shareRuleCB->setObjectName(QStringLiteral("shareRuleCB"));
    shareRuleCB->addItems({QStringLiteral("« Valeur » du produit × quantité"),
                           QStringLiteral("pourcentage du prix de vente")});
    sharePctSpin = new QSpinBox(Panel1);
    sharePctSpin->setObjectName(QStringLiteral("sharePctSpin"));
    sharePctSpin->setRange(1, 100);
    sharePctSpin->setSuffix(QStringLiteral(" %"));
    sharePctSpin->setValue(60);
    shareLab->setBuddy(shareRuleCB);
    auto* shareRow = new QHBoxLayout;
    shareRow->addWidget(shareRuleCB, 1);
    shareRow->addWidget(sharePctSpin);
    panelLayout->addWidget(shareLab);
    panelLayout->addLayout(shareRow);
    connect(shareRuleCB, &QComboBox::currentIndexChanged, sharePctSpin,
            [this](int i) { sharePctSpin->setEnabled(i == 1); });
    sharePctSpin->setEnabled(false);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    layout->addLayout(buttons);
    keyboardDialog(this, OKBtn, buttons, autoLoadChk);
}

void TPrefsDialog::setSharePercent(int percent)
{
    const bool byPercent = percent > 0 && percent <= 100;
    if (byPercent)
        sharePctSpin->setValue(percent);
    shareRuleCB->setCurrentIndex(byPercent ? 1 : 0);
    sharePctSpin->setEnabled(byPercent);
}

int TPrefsDialog::sharePercent() const
{
    return shareRuleCB->currentIndex() == 1 ? sharePctSpin->value() : 0;
}
