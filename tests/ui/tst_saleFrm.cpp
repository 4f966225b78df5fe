// The sales window, its date and period dialogs and the month grid, driven
// through the real main window offscreen.

#include "uiHarness.h"

#include "model/uRep.h"
#include "support/modelSheets.h"
#include "support/sampleDb.h"
#include "support/soldInvariant.h"
#include "ui/widgets/PCalendar.h"
#include "ui/dialogs/addPeriodFrm.h"
#include "ui/sales/saleFrm.h"

#include <QSpinBox>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
void clickDay(TPCalendar* cal, int day)
{
    for (int r = 1; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            if (cal->dayAt(c, r) == day)
                return QTest::mouseClick(cal, Qt::LeftButton, {}, cal->cellRect(c, r).center());
    QFAIL("day not shown");
}

QStringList column(const QTableWidget* grid, int c)
{
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
    return out;
}
} // namespace

class TestSaleForm : public QObject {
    Q_OBJECT
private slots:
    // Where each month starts (weeks from Sunday) and ends, leap years too.
    void calendars()
    {
        const struct {
            int year, month, firstCol, days;
        } months[] = {{2009, 5, 5, 31}, {2009, 3, 0, 31}, {2000, 2, 2, 29}, {2100, 2, 1, 28}};
        for (const auto& m : months) {
            TPCalendar cal(nullptr, QDate(m.year, m.month, 1));
            cal.setStartOfWeek(0);
            const int last = m.firstCol + m.days - 1;
            QCOMPARE(cal.daysThisMonth(), m.days);
            const QStringList cells{cal.cellText(m.firstCol - 1, 1), cal.cellText(m.firstCol, 1),
                                    cal.cellText(last % 7, last / 7 + 1),
                                    cal.cellText((last + 1) % 7, (last + 1) / 7 + 1)};
            QCOMPARE(cells, (QStringList{QString(), u"1"_s, QString::number(m.days), QString()}));
        }

        // Both calendars: the shown day chosen at once, months and the year
        // across New Year (a 31st kept as the month's last day), the keyboard; a
        // date well ahead asks first.
        FakePrompt prompt;
        TCalDialog cal(prompt, nullptr, QDate(2026, 12, 31));
        cal.show();
        QVERIFY(cal.OkBtn->isEnabled());
        QCOMPARE(cal.chosenDate(), u"261231"_s);
        cal.nextBtn->click();
        QCOMPARE(cal.chosenDate(), u"270131"_s);
        for (int k : {Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Up, Qt::Key_Right})
            QTest::keyClick(cal.Calend, Qt::Key(k));
        QCOMPARE(cal.chosenDate(), u"261123"_s);
        cal.yearSpin->setValue(2025);
        QCOMPARE(cal.chosenDate() + cal.monthLab->text(), u"251123novembre"_s);
        cal.setDateStr(u"270111"_s); // eleven days ahead: asked, refused, still open
        prompt.answers = {Prompt::Answer::No};
        cal.OkBtn->click();
        QVERIFY(prompt.questions.last().startsWith(u"La date choisie (270111) est dans 11 jours"_s));
        QCOMPARE(cal.result(), int(QDialog::Rejected));
        cal.setDateStr(u"270103"_s); // three days: no question
        QTest::keyClick(cal.Calend, Qt::Key_Return);
        QCOMPARE(cal.result(), int(QDialog::Accepted));
        QCOMPARE(prompt.questions.size(), 1);

        // The period dialog: a start changed on the calendar, a one-day
        // period across New Year, deletion asked first.
        TRepList reps;
        reps.addPeriod(u"Décembre"_s, u"261201"_s, u"261231"_s);
        int cur = 0;
        TaddPeriodDlg p(reps, prompt, cur);
        p.addClick();
        p.pickField(true);
        p.prevBtn->click();
        QCOMPARE(p.dteLab1->text() + p.dteLab2->text(), u"270101270102"_s); // moving months changes nothing
        clickDay(p.Calend, 31);
        p.pickField(false); // shows the end, in January
        p.prevBtn->click();
        clickDay(p.Calend, 31);
        p.confirmTitle();
        QCOMPARE(reps.at(1).record(), u"janvier|:|261231|:|261231"_s);
        prompt.answers = {Prompt::Answer::No};
        p.mDel->trigger();
        QCOMPARE(reps.count(), 2);
        QVERIFY(prompt.questions.last().contains(u"« janvier »"_s));
    }

    void salesScenario()
    {
        UiHarness h;
        AppState db;
        fillSampleDatabase(db, 2, 2, 1);
        addSheet(db.saleList, u"090520"_s, {u"TreMar005-003,Vase,12.00$,2,24.00$"_s},
                 u"Marie"_s, u"24.00$"_s);
        addSheet(db.saleList, u"090510"_s, {}, u"Paul Tremblay"_s, u"10.50$"_s);
        addSheet(db.saleList, u"090301"_s, {}, u"Marie"_s, u"5.00$"_s);
        db.repList.addPeriod(u"Hiver"_s, u"090101"_s, u"090228"_s);
        db.repList.curPeriod = 0;
        TmainForm& w = h.startOn(db);
        TsaleForm& s = *w.saleForm;
        AppState& st = h.st();
        h.click(w.pageBtn);
        QCOMPARE(s.SalesGrid->item(0, 4)->text(), u"24.00$"_s);
        // A stored total its lines do not make (another program's): the
        // window shows the lines' sum, as the reports do; looking changes nothing.
        s.moveToSheet(1);
        QCOMPARE(s.sTotLab->text(), u"0.00$"_s);
        s.moveToSheet(0);
        QCOMPARE(st.saleList.at(1).total, u"10.50$"_s);
        QVERIFY(!st.modified);

        // Two new sheets; the second is first refused on a used date.
        QStringList seen;
        h.onModal = UiHarness::answer<TCalDialog>([&](TCalDialog& dlg) {
            dlg.setDateStr(seen.isEmpty() ? u"090525"_s : u"090510"_s);
            seen << dlg.dInfoLab->text() + (dlg.OkBtn->isEnabled() ? u"+"_s : u"-"_s);
            if (!dlg.OkBtn->isEnabled())
                clickDay(dlg.Calend, 12);
            dlg.sNameCB->setEditText(u"Julie"_s);
            dlg.OkBtn->click();
            return dlg.result();
        });
        h.click(s.addReportBtn);
        h.click(s.addReportBtn);
        QCOMPARE(seen, QStringList({u"090525+"_s, u"Date déjà utilisée!-"_s}));
        QCOMPARE(UiHarness::texts(s.sListBox),
                 QStringList({u"090525"_s, u"090520"_s, u"090512"_s, u"090510"_s, u"090301"_s}));
        QVERIFY(st.modified);

        // Re-dating moves the sheet to its place.
        h.onModal = UiHarness::answerDate(u"090215"_s);
        h.clickLabel(s.dateLab);
        QCOMPARE(UiHarness::texts(s.sListBox).last(), u"090215"_s);

        // The agent: the record separator is refused, a comma is not.
        h.clickLabel(s.sNameLab);
        s.sNameCB->setEditText(u"A|:|B"_s);
        QTest::keyClick(s.sNameCB->lineEdit(), Qt::Key_Return);
        QCOMPARE(h.prompt.errors.last(), recordFieldProblem(u"A|:|B"_s, REC_SEP));
        QCOMPARE(s.sNameLab->text(), u"Julie"_s);
        s.sNameCB->setEditText(u"Zoé, caissière"_s);
        QTest::mouseDClick(s.sNameCB->lineEdit(), Qt::LeftButton);

        // Three periods from the main menu, one first refused for an equal end.
        h.onModal = UiHarness::answer<TaddPeriodDlg>([&](TaddPeriodDlg& p) {
            seen = {UiHarness::texts(p.sPeriodList).join(u'/')};
            p.addPBtn->click();
            seen << p.dteLab1->text() + u'-' + p.dteLab2->text() + u' ' + p.pTitle->text();
            clickDay(p.Calend, 31);
            p.pTitleBtn->click();
            p.addPBtn->click();
            p.prevBtn->click(); // a month back shows March
            clickDay(p.Calend, 15);
            p.pTitleBtn->click();
            seen << (p.pTPanel->isHidden() ? u"closed"_s : u"open"_s);
            p.nextBtn->click();
            clickDay(p.Calend, 30);
            p.pTitleBtn->click();
            p.addPBtn->click();
            p.pTitle->setText(u"mai|:|"_s);
            p.pTitleBtn->click();
            seen << h.prompt.errors.last();
            p.pTitle->setText(u"mars"_s);
            p.nextBtn->click();
            clickDay(p.Calend, 5);
            p.pTitleBtn->click();
            p.OKBtn->click();
            return p.result();
        });
        w.aSetPeriods->trigger();
        QCOMPARE(seen, QStringList({u"Hiver"_s,
                                    u"090301-090302 mars"_s, u"open"_s,
                                    recordFieldProblem(u"mai|:|"_s, REC_SEP)}));
        QVERIFY(h.prompt.informations.last().startsWith(u"La fin de la période (090315) précède son début (090401)"_s));
        QCOMPARE(st.repList.titles,
                 QStringList({u"Hiver"_s, u"mars"_s, u"avril"_s, u"mars1"_s, u"-[tout]-"_s}));
        QCOMPARE(st.repList.at(2).endDate, u"090430"_s);

        // The all-sales view; there the period dialog edits one period and
        // deletes another, and is closed by its close box.
        h.click(s.viewModeBtn);
        QCOMPARE(column(s.gGrid, 0), QStringList({u"090525"_s, u"090520"_s, u"090510"_s}));
        QCOMPARE(s.gTotLab->text(), u"24.00$"_s); // from the lines: 090510 stores 10.50$ but has none
        h.onModal = UiHarness::answer<TaddPeriodDlg>([](TaddPeriodDlg& p) {
            p.editClick();
            p.pTitle->setText(u"printemps"_s);
            p.pTitleBtn->click();
            p.sPeriodList->setCurrentRow(2);
            p.mDel->trigger();
            return QDialog::Rejected;
        });
        h.click(s.addPeriodBtn);
        QCOMPARE(s.pListCB->currentText(), u"mars"_s);
        QCOMPARE(column(s.gGrid, 0), QStringList({u"090301"_s}));

        // Every sheet and period as the dialogs left them.
        QStringList saved;
        for (int i = 0; i < st.saleList.count(); ++i)
            saved << st.saleList.at(i).date + u' ' + st.saleList.at(i).agent;
        for (int i = 0; i < st.repList.count(); ++i)
            saved << st.repList.at(i).record();
        QCOMPARE(saved, QStringList({u"090525 Julie"_s, u"090520 Marie"_s,
                                     u"090510 Paul Tremblay"_s, u"090301 Marie"_s,
                                     u"090215 Zoé, caissière"_s, u"Hiver|:|090101|:|090228"_s,
                                     u"mars|:|090301|:|090331"_s, u"printemps|:|090501|:|090605"_s,
                                     u"-[tout]-|:|090215|:|090525"_s}));
        QCOMPARE(st.repList.curPeriod, 1);
    }

    // A sheet re-dated from the all-sales view's "Période:" (off screen) takes
    // its lines' sold events along; "Supprimer" asks first, naming the sheet,
    // and its lines' sold quantities go with it.
    void redateAndDeleteSheet()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        TsaleForm& s = *w.saleForm;
        AppState& st = h.st();
        h.click(w.pageBtn);
        s.sListBox->setCurrentRow(1); // 090518: four lines, the vase sold 2
        h.click(s.viewModeBtn);
        QVERIFY(!w.isWindowModified() && w.modifiedLab->text().isEmpty());
        h.onModal = UiHarness::answerDate(u"090610"_s);
        h.clickLabel(s.bInfoLab1);
        QCOMPARE(st.saleList.sheetDates(), (QStringList{u"090610"_s, u"090601"_s, u"090301"_s}));
        // Not saved yet, as the caption's "*" and the status bar say; then
        // re-dated from the sheet view by its button's key, and saved.
        QVERIFY(w.isWindowModified() && w.modifiedLab->text() == u"Modifications non enregistrées"_s);
        h.click(s.viewModeBtn);
        s.sListBox->setCurrentRow(0);
        QApplication::setActiveWindow(&w);
        h.onModal = UiHarness::answerDate(u"090611"_s);
        QTest::keyClick(s.sListBox, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(s.dateLab->text() == u"090611"_s && st.saleList.indexOfDate(u"090610"_s) < 0 && soldGaps(st).isEmpty());
        w.aSave->trigger();
        QVERIFY(!w.isWindowModified() && w.modifiedLab->text().isEmpty());
        h.prompt.answers << Prompt::Answer::No;
        h.click(s.delSBTN);
        QCOMPARE(h.prompt.questions.last(),
                 u"Supprimer la feuille du 11 juin 2009 (4 lignes, total 108.00$) ?\n"
                 "Les quantités vendues de ses lignes seront retirées des produits."_s);
        QVERIFY(st.saleList.count() == 3 && !st.modified);
    }
};

QTEST_MAIN(TestSaleForm)
#include "tst_saleFrm.moc"
