#include "ui/products/AddEditQntFrm.h"

#include "boutique/appState.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/qntEvent.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QHBoxLayout>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {
constexpr int kHistoryMax = 6;
}

TEditQntDlg::TEditQntDlg(AppState& state, Prompt& messages, QWidget* parent)
    : QDialog(parent), st(state), prompt(messages)
{
    setObjectName(u"EditQntDlg"_s);
    setWindowTitle(u"Ajout/modification de quantités"_s);

    OKBtn = named<QPushButton>("OKBtn", u"Fermer"_s, this);
    OKBtn->setDefault(true);
    Label2 = named<QLabel>("Label2", u"Date"_s, this);
    itemNoLab = named<QLabel>("itemNoLab", this);
    Label4 = named<QLabel>("Label4", u"Qnt"_s, this);
    QuantEdit = named<QLineEdit>("QuantEdit", u"0"_s, this);
    UDQuant = named<QScrollBar>("UDQuant", Qt::Vertical, this);
    // A scroll bar's upper arrow lowers its value: it holds the negated
    // quantity, so that the upper arrow counts up as an up-down control does.
    UDQuant->setRange(-999, 999);
    UDQuant->setFixedSize(16, QuantEdit->sizeHint().height());
    UDQuant->setValue(0);
    DateCB = named<QComboBox>("DateCB", this);
    DateCB->setEditable(true);
    DateCB->setInsertPolicy(QComboBox::NoInsert);

    auto* grid = new QGridLayout(this);
    grid->addWidget(itemNoLab, 0, 0, 1, 4);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(DateCB, 1, 1, 1, 3);
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(QuantEdit, 2, 1);
    grid->addWidget(UDQuant, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    grid->addLayout(buttons, 3, 0, 1, 4);
    // The quantity is what one comes to type: "8" and Return store 8.
    keyboardDialog(this, OKBtn, buttons, QuantEdit);
    grid->setColumnStretch(1, 1);

    connect(OKBtn, &QPushButton::clicked, this, &TEditQntDlg::accept);
    connect(UDQuant, &QScrollBar::valueChanged, this,
            [this](int v) { QuantEdit->setText(QString::number(-v)); });
    connect(QuantEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        int v = 0;
        if (tryStrToInt(text, v) && v >= -999 && v <= 999) {
            const QSignalBlocker block(UDQuant);
            UDQuant->setValue(-v);
        }
    });
}

void TEditQntDlg::setEntry(const QString& qnt, const QString& date)
{
    const int v = strToIntDef(qnt, 0);
    m_stored = QString::number(v);
    {
        // The arrows stop at their range; the edit shows the quantity whole.
        const QSignalBlocker block(UDQuant);
        UDQuant->setValue(-qBound(-999, v, 999));
    }
    QuantEdit->setText(m_stored);
    QuantEdit->selectAll();
    DateCB->clear();
    DateCB->addItems(readCommaList(st.pDateStr));
    DateCB->setEditText(date);
}

QString TEditQntDlg::dateText() const
{
    return DateCB->currentText();
}

QString TEditQntDlg::qntText() const
{
    return QuantEdit->text();
}

void TEditQntDlg::accept()
{
    const QString problem = qntEventProblem(dateText(), qntText(), m_stored);
    if (!problem.isEmpty()) {
        prompt.error(problem);
        return;
    }
    // A date well ahead of today is most often a slip of the month or year.
    const QDate date = strToDate(dateText());
    const QDate today = QDate::currentDate();
    if (date.isValid() && date > today.addDays(3)
        && prompt.question(QStringLiteral("La date choisie (%1) est dans %2 jours. La garder quand même ?")
                               .arg(dateText(), QString::number(today.daysTo(date))))
               != Prompt::Answer::Yes)
        return;
    addToHistory(dateText());
    QDialog::accept();
}

void TEditQntDlg::addToHistory(const QString& date)
{
    QStringList items;
    for (int i = 0; i < DateCB->count(); ++i)
        items << DateCB->itemText(i);
    if (items.contains(date))
        return;
    items << date;
    while (items.size() > kHistoryMax)
        items.removeFirst();
    st.pDateStr = writeCommaList(items);
}
