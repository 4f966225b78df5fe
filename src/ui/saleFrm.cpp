#include "ui/saleFrm.h"

#include "core/appState.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

TsaleForm::TsaleForm(AppState& state, QWidget* parent) : QWidget(parent), st(state)
{
    setObjectName(QStringLiteral("saleForm"));
    sTopPan = new QFrame(this);
    sTopPan->setObjectName(QStringLiteral("sTopPan"));
    auto* top = new QHBoxLayout(sTopPan);
    top->setContentsMargins(4, 0, 4, 0);
    sNameLab = new QLabel(QStringLiteral("nom..."), sTopPan);
    sNameLab->setObjectName(QStringLiteral("sNameLab"));
    sNameCB = new QComboBox(sTopPan);
    sNameCB->setObjectName(QStringLiteral("sNameCB"));
    sNameCB->hide();
    top->addWidget(sNameLab);
    top->addWidget(sNameCB);
    top->addStretch();
    sTopPan->hide();

    formPanel = new QFrame(this);
    formPanel->setObjectName(QStringLiteral("formPanel"));
    pListCB = new QComboBox(formPanel);
    pListCB->setObjectName(QStringLiteral("pListCB"));
    pListCB->hide();
    resize(830, 460);
}
