// The report window over the reference boutique: its tabs for an artisan and
// a period, the consignment report, the PDF statement and "XportTout".

#include "uiHarness.h"
#include "report/settlement.h"
#include "ui/repFrm.h"

#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QMenuBar>
#include <QTabBar>
#include <QTableWidget>

using namespace Qt::StringLiterals;

class TstRepForm : public QObject {
    Q_OBJECT

private slots:
    void settleAPeriod()
    {
        UiHarness h;
        TmainForm& w = h.start();
        h.copyRealistic(u"b.tlvdb"_s);
        w.db().openDB(u"b.tlvdb"_s);
        auto* rep = w.findChild<TrepForm*>(u"repForm"_s);
        QVERIFY(rep);
        QStringList opened;
        rep->openPage = [&](const QString& path) { opened << path; };
        h.st().curArtNo = u"001"_s;
        h.st().curCIndex = h.st().repList.indexOfTitle(u"Printemps"_s);

        w.findChild<QAction*>(u"aRepForm"_s)->trigger();
        QVERIFY(rep->isVisible());
        QCOMPARE(rep->cListCB->currentText(), u"Printemps"_s);
        QCOMPARE(rep->startDate->text(), u"090301"_s);
        QCOMPARE(rep->ConsGrid->rowCount(), 3);
        QCOMPARE(rep->ConsGrid->item(0, 2)->text(), u"Vase bleu, grand"_s);
        QCOMPARE(rep->sTotLab->text(), u"63.00$"_s);
        rep->TabControl->setCurrentIndex(1);
        QCOMPARE(rep->tabInfoLab->text(), u"3"_s);
        QVERIFY(rep->totPanel->isHidden());
        rep->TabControl->setCurrentIndex(2);
        QCOMPARE(rep->ConsGrid->columnCount(), 5);
        QCOMPARE(rep->tabInfoLab->text(), QString::number(rep->ConsGrid->rowCount()));
        QVERIFY(rep->ConsGrid->rowCount() > 0);

        const QString dir = h.progDir() + u"dXML/Printemps/"_s;
        QTest::mouseClick(rep->XMLxPortBtn, Qt::LeftButton);
        QCOMPARE(opened, QStringList{dir + u"consigne1.html"_s});
        QVERIFY(QFile::exists(dir + u"consigne1.xml"_s) && QFile::exists(h.progDir() + u"dXML/report.xsl"_s));
        QTest::mouseClick(rep->PrintBtn, Qt::LeftButton);
        QCOMPARE(opened.last(), dir + u"releve001.pdf"_s);
        QVERIFY(QFile::exists(opened.last()));

        // Cancelled after the first artisan: no summary; then the whole period.
        rep->progress = [](int done, int) { return done < 1; };
        rep->pmXportAllRec->trigger();
        QVERIFY(!QFile::exists(dir + SUMMARY_NAME + u".html"_s) && QFile::exists(dir + u"c001.pdf"_s));
        rep->progress = [](int, int) { return true; };
        rep->pmXportAllRec->trigger();
        QCOMPARE(opened.last(), dir + SUMMARY_NAME + u".html"_s);
        QVERIFY(QFile::exists(dir + u"c002.pdf"_s) && QFile::exists(dir + u"c003.xml"_s));
        QVERIFY(h.prompt.errors.isEmpty());
    }
};

QTEST_MAIN(TstRepForm)
#include "tst_repForm.moc"
