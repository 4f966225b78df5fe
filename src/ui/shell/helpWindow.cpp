#include "ui/shell/helpWindow.h"

#include "ui/widgets/named.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"helpWindow"_s);
    setWindowTitle(u"Aide de TilvarBD"_s);
    resize(760, 600);
    guide = named<QTextBrowser>("guide", this);
    guide->setOpenExternalLinks(false);
    guide->setSource(QUrl(u"qrc:/guide/index.html"_s));
    auto* close = named<QPushButton>("closeBtn", u"Fermer"_s, this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(guide, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    guide->setFocus();
}
