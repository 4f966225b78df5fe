#include "ui/prodFrm.h"

#include "core/appState.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

TProdForm::TProdForm(AppState& state, QWidget* parent) : QWidget(parent), st(state)
{
    setObjectName(QStringLiteral("ProdForm"));
    formPanel = new QFrame(this);
    formPanel->setObjectName(QStringLiteral("formPanel"));
    listPanel = new QFrame(this);
    listPanel->setObjectName(QStringLiteral("listPanel"));
    fieldPanel = new QFrame(formPanel);
    fieldPanel->setObjectName(QStringLiteral("fieldPanel"));
    impPanel = new QFrame(formPanel);
    impPanel->setObjectName(QStringLiteral("impPanel"));
    impPanel->hide();
    prodCntLab = new QLabel(QStringLiteral("0"), formPanel);
    prodCntLab->setObjectName(QStringLiteral("prodCntLab"));
    resize(830, 460);
}

void TProdForm::loadWindow()
{
    // selectArtisan has just filled prodNoList and curProdInd: shown, not undone.
    prodCntLab->setText(QString::number(st.prodNoList.count()));
}

void TProdForm::resetWindow()
{
    prodCntLab->setText(QString::number(st.prodNoList.count()));
    st.curProdInd = int(st.prodNoList.count()) - 1;
}

void TProdForm::setPData(int) {}
