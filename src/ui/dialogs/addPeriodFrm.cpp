#include "ui/dialogs/addPeriodFrm.h"

#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/uProd.h"
#include "model/uRep.h"
#include "ui/widgets/limitEdit.h"
#include "ui/widgets/PCalendar.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/named.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kBadEntry = u"Entrée incorrecte, veuillez corriger!"_s;

// "yymmdd" read with the dialogs' century rule: yy below 50 is 20yy.
QDate shownDate(const QString& text)
{
    if (text.size() != 6)
        return {};
    bool ok = false;
    const int yy = text.left(2).toInt(&ok);
    if (!ok)
        return {};
    return QDate(yy < 50 ? 2000 + yy : 1900 + yy, text.mid(2, 2).toInt(), text.mid(4, 2).toInt());
}
} // namespace

TaddPeriodDlg::TaddPeriodDlg(TRepList& r, Prompt& p, int& cIndex, QWidget* parent)
    : QDialog(parent), reps(r), prompt(p), curCIndex(cIndex)
{
    setObjectName(u"addPeriodDlg"_s);
    setWindowTitle(u"Périodes"_s);
    resize(560, 304);
    auto* outer = new QVBoxLayout(this);
    auto* layout = new QHBoxLayout;
    outer->addLayout(layout, 1);

    // --- the list and the selected period ---
    auto* left = new QVBoxLayout;
    layout->addLayout(left, 1);
    auto* addRow = new QHBoxLayout;
    Label4 = named<QLabel>("Label4", u"Choisir dans la liste ou "_s, this);
    addPBtn = speedButton(this, "addPBtn", u"Ajouter item"_s, u"Ajouter"_s);
    remPBtn = speedButton(this, "remPBtn", u"Supprimer item"_s, u"-"_s);
    remPBtn->hide();
    addRow->addWidget(Label4);
    addRow->addWidget(addPBtn);
    addRow->addWidget(remPBtn);
    addRow->addStretch();
    left->addLayout(addRow);

    sPeriodList = named<QListWidget>("sPeriodList", this);
    cListPop = named<QMenu>("cListPop", sPeriodList);
    mDel = new QAction(u"supprimer"_s, cListPop);
    mDel->setObjectName(u"mDel"_s);
    cListPop->addAction(mDel);
    sPeriodList->setContextMenuPolicy(Qt::CustomContextMenu);
    left->addWidget(sPeriodList, 1);

    auto* fields = new QGridLayout;
    itemNoLab = named<QLabel>("itemNoLab", u"Période"_s, this);
    tLab = named<QLabel>("tLab", u"nom"_s, this);
    Label1 = named<QLabel>("Label1", u"début:"_s, this);
    dteLab1 = named<QLabel>("dteLab1", u"?"_s, this);
    dteLab1->setToolTip(u"Cliquez pour choisir le début sur le calendrier"_s);
    Label2 = named<QLabel>("Label2", u"fin:"_s, this);
    dteLab2 = named<QLabel>("dteLab2", u"?"_s, this);
    dteLab2->setToolTip(u"Cliquez pour choisir la fin sur le calendrier"_s);
    fields->addWidget(itemNoLab, 0, 0);
    fields->addWidget(tLab, 0, 1);
    fields->addWidget(Label1, 1, 0);
    fields->addWidget(dteLab1, 1, 1);
    fields->addWidget(Label2, 2, 0);
    fields->addWidget(dteLab2, 2, 1);
    left->addLayout(fields);

    pTPanel = named<QFrame>("pTPanel", this);
    auto* titleRow = new QHBoxLayout(pTPanel);
    titleRow->setContentsMargins(0, 0, 0, 0);
    pTitle = named<QLineEdit>("pTitle", pTPanel);
    limitEdit(pTitle, "title");
    pTitleBtn = speedButton(pTPanel, "pTitleBtn", {}, u"Ok"_s);
    titleRow->addWidget(pTitle, 1);
    titleRow->addWidget(pTitleBtn);
    pTPanel->hide();
    left->addWidget(pTPanel);

    // --- the calendar ---
    calPanel = named<QFrame>("calPanel", this);
    auto* cal = new QVBoxLayout(calPanel);
    m_head = MonthHeader::make(calPanel, "YearLab");
    m_head.expose(prevBtn, nextBtn, monthLab, YearLab, yearSpin);
    cal->addLayout(m_head.row);
    Calend = new TPCalendar(calPanel);
    Calend->setStartOfWeek(0);
    Calend->setRangeActive(true);
    cal->addWidget(Calend, 1);
    auto* dateRow = new QHBoxLayout;
    Label6 = named<QLabel>("Label6", u"Date:"_s, calPanel);
    dInfoLab = named<QLabel>("dInfoLab", calPanel);
    dateRow->addWidget(Label6);
    dateRow->addWidget(dInfoLab, 1);
    cal->addLayout(dateRow);
    cal->addStretch();
    layout->addWidget(calPanel);
    // The instructions run under both halves, the button under them.
    infoLab = named<QLabel>("infoLab", this);
    infoLab->setWordWrap(true);
    infoLab->setMinimumHeight(32);
    outer->addWidget(infoLab);
    OKBtn = named<QPushButton>("OKBtn", u"Fermer"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    outer->addLayout(buttons);
    keyboardDialog(this, OKBtn, buttons, sPeriodList);

    connect(sPeriodList, &QListWidget::itemClicked, this, [this] { listClick(); });
    // Moving in the list from the keyboard chooses as a click does.
    connect(sPeriodList, &QListWidget::currentRowChanged, this, [this] { listClick(); });
    connect(sPeriodList, &QListWidget::itemDoubleClicked, this, [this] { editClick(); });
    connect(sPeriodList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { cListPop->popup(sPeriodList->viewport()->mapToGlobal(at)); });
    connect(mDel, &QAction::triggered, this, [this] { deleteSelected(); });
    connect(addPBtn, &QToolButton::clicked, this, [this] { addClick(); });
    connect(pTitleBtn, &QToolButton::clicked, this, [this] { confirmTitle(); });
    connect(Calend, &TPCalendar::changed, this, [this] { calendarChange(); });
    connect(Calend, &TPCalendar::clicked, this, [this] { calendarClick(); });
    connect(prevBtn, &QToolButton::clicked, this, [this] { moveMonth(-1); });
    connect(nextBtn, &QToolButton::clicked, this, [this] { moveMonth(1); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    addPBtn->installEventFilter(this);
    sPeriodList->installEventFilter(this);
    // The hint says to click « début: »: the word picks as well as the date.
    for (QLabel* l : {Label1, dteLab1, Label2, dteLab2}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }
    connect(yearSpin, &QSpinBox::valueChanged, this, [this](int year) { Calend->setYear(year); });

    for (int i = 0; i < reps.count(); ++i)
        m_found.append({reps.at(i).title, reps.at(i).startDate, reps.at(i).endDate});
    m_foundCurPeriod = reps.curPeriod;
    m_foundCIndex = curCIndex;
    // The all-sales period is not edited here: the caller makes it again
    // from the ledger once the dialog is closed.
    const int all = reps.indexOfTitle(ALL_PERIOD_TITLE);
    if (all >= 0)
        reps.deletePeriod(all, &curCIndex);
    reps.refreshTitles();
    const bool valid = reps.curPeriod >= 0 && reps.curPeriod < reps.count();
    reloadList(valid ? reps.curPeriod : 0);
    calendarChange();
}

bool TaddPeriodDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The list from the keyboard: F2 edits the chosen period, Delete deletes it.
    if (watched == sPeriodList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F2)
            editClick();
        else if (key == Qt::Key_Delete)
            deleteSelected();
        if (key == Qt::Key_F2 || key == Qt::Key_Delete)
            return true;
    }
    if (watched == addPBtn && (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove))
        infoLab->setText(u"Ajoutez une nouvelle période..."_s);
    else if ((watched == dteLab1 || watched == dteLab2 || watched == Label1 || watched == Label2)
             && event->type() == QEvent::MouseButtonRelease)
        pickField(watched == dteLab1 || watched == Label1);
    return QDialog::eventFilter(watched, event);
}

void TaddPeriodDlg::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !pTPanel->isHidden())
        confirmTitle();
    else
        QDialog::keyPressEvent(event);
}

void TaddPeriodDlg::closeEvent(QCloseEvent* event)
{
    event->accept();
    done(QDialog::Rejected);
}

void TaddPeriodDlg::showEvent(QShowEvent* event)
{
    m_shownIndex = selIndex;
    QDialog::showEvent(event);
}

void TaddPeriodDlg::reject()
{
    while (reps.count() > 0)
        reps.deletePeriod(reps.count() - 1);
    for (const auto& [title, start, end] : std::as_const(m_found))
        reps.addPeriod(title, start, end);
    reps.refreshTitles();
    reps.curPeriod = m_foundCurPeriod;
    curCIndex = m_foundCIndex;
    selIndex = m_shownIndex;
    QDialog::reject();
}

void TaddPeriodDlg::reloadList(int select)
{
    sPeriodList->clear();
    sPeriodList->addItems(reps.titles);
    if (select >= 0 && select < sPeriodList->count()) {
        sPeriodList->setCurrentRow(select);
        listClick();
    } else {
        selIndex = -1;
        tLab->setText(u"nom"_s);
        dteLab1->setText(u"?"_s);
        dteLab2->setText(u"?"_s);
        Calend->setRange({}, {});
    }
}

void TaddPeriodDlg::listClick()
{
    selIndex = sPeriodList->currentRow();
    if (selIndex < 0)
        return;
    // Another period chosen: an entry in progress is dropped, or showing the
    // start would become its end.
    pTPanel->hide();
    OKBtn->show();
    const TReport& rep = reps.at(selIndex);
    tLab->setText(rep.title);
    dteLab1->setText(rep.startDate);
    dteLab2->setText(rep.endDate);
    showDate(dteLab1->text());
    Calend->setRange(dteLab1->text(), dteLab2->text());
}

void TaddPeriodDlg::pickField(bool start)
{
    // Only while a period is being entered does a click change its dates;
    // otherwise the calendar just shows the date.
    if (!pTPanel->isHidden()) {
        pickStart = start;
        Label1->setStyleSheet(start ? u"font-weight: bold"_s : QString());
        Label2->setStyleSheet(start ? QString() : u"font-weight: bold"_s);
        infoLab->setText(start ? u"Choisissez le premier jour de la période sur le calendrier."_s
                               : u"Choisissez le dernier jour de la période sur le calendrier."_s);
    }
    showDate(start ? dteLab1->text() : dteLab2->text());
}

void TaddPeriodDlg::showDate(const QString& date)
{
    if (date == u"?"_s)
        return;
    Calend->setDate(shownDate(date));
    calendarChange();
}

void TaddPeriodDlg::calendarChange()
{
    dInfoLab->setText(dateStr(Calend->date()));
    m_head.showMonthOf(*Calend);
}

void TaddPeriodDlg::calendarClick()
{
    if (pTPanel->isHidden())
        return;
    (pickStart ? dteLab1 : dteLab2)->setText(dInfoLab->text());
    if (pTitle->text().isEmpty())
        pTitle->setText(monthLab->text());
    Calend->setRange(dteLab1->text(), dteLab2->text());
}

void TaddPeriodDlg::moveMonth(int step)
{
    Calend->stepMonths(step);
}

void TaddPeriodDlg::addClick()
{
    editMode = false;
    pickField(false);
    // The end is set once the calendar shows the start, which would
    // otherwise take it while the title panel is open.
    pTPanel->hide();
    dteLab1->setText(TRepList::nextDay(reps.defaultStartDate()));
    showDate(dteLab1->text());
    dteLab2->setText(TRepList::nextDay(dteLab1->text()));
    Calend->setRange(dteLab1->text(), dteLab2->text());
    pTitle->setText(uniqueName(monthLab->text(), writeCommaList(reps.titles)));
    pTPanel->show();
    OKBtn->hide();
    pTitle->setFocus();
    pTitle->selectAll();
    infoLab->setText(
        u"Inscrivez le titre de la période et choisissez sa fin sur le calendrier "
        "(cliquez « début: » pour en changer le début)."_s);
}

void TaddPeriodDlg::editClick()
{
    if (selIndex < 0 || selIndex >= reps.count())
        return;
    editMode = true;
    showWhole(pTitle, tLab->text());
    pTPanel->show();
    pTitle->setFocus();
    pTitle->selectAll();
    pickField(false);
    infoLab->setText(u"Modifiez le titre et la fin de la période sur le calendrier "
                     "(cliquez « début: » pour en changer le début)."_s);
}

void TaddPeriodDlg::confirmTitle()
{
    QString title = pTitle->text();
    const QString problem = recordFieldProblem(title, REC_SEP);
    if (!problem.isEmpty()) {
        prompt.error(problem);
        return;
    }
    // A title taken by another period (or reserved for the all-sales one)
    // gets a number after it.
    QStringList others = reps.titles;
    if (editMode && selIndex >= 0 && selIndex < others.size())
        others.removeAt(selIndex);
    others << ALL_PERIOD_TITLE;
    if (others.contains(title))
        title = uniqueName(title, writeCommaList(others));
    showWhole(pTitle, title);

    const QDate start = strToDate(dteLab1->text());
    const QDate end = strToDate(dteLab2->text());
    if (title.isEmpty() || !start.isValid() || !end.isValid()) {
        prompt.information(kBadEntry);
        OKBtn->show();
        return;
    }
    // A period of one day is a period; one that ends before it starts is not.
    if (end < start) {
        prompt.information(u"La fin de la période (%1) précède son début (%2) : choisissez une fin "
                           "le même jour ou après."_s.arg(dteLab2->text(), dteLab1->text()));
        return;
    }
    int select = reps.count();
    if (editMode && selIndex >= 0 && selIndex < reps.count()) {
        reps.editPeriod(selIndex, title, dteLab1->text(), dteLab2->text());
        select = selIndex;
    } else {
        reps.addPeriod(title, dteLab1->text(), dteLab2->text());
    }
    reps.refreshTitles();
    pTPanel->hide();
    OKBtn->show();
    editMode = false;
    pickStart = false;
    reloadList(select);
    // Back in the list, on the period just stored: Return now closes.
    infoLab->clear();
    sPeriodList->setFocus();
}

void TaddPeriodDlg::deleteSelected()
{
    const int i = sPeriodList->currentRow();
    if (i < 0)
        return;
    selIndex = i;
    if (prompt.question(u"Supprimer la période « %1 » ?"_s.arg(reps.at(i).title)) != Prompt::Answer::Yes)
        return;
    reps.deletePeriod(i, &curCIndex);
    reloadList(i > 0 ? i - 1 : 0);
}
