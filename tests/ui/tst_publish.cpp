// Publishing from the main window: the options dialog, the web-page button
// with every page chosen, and the two exports.

#include "uiHarness.h"
#include "ui/pubOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>

using namespace Qt::StringLiterals;

class TstPublish : public QObject {
    Q_OBJECT

private slots:
    void publishAndExport()
    {
        UiHarness h;
        TmainForm& w = h.start();
        h.copyRealistic(u"stock09.tlvdb"_s);
        w.db().openDB(u"stock09.tlvdb"_s);
        auto* pub = w.findChild<TPublisher*>(u"publisher"_s);
        QVERIFY(pub);
        QStringList opened;
        pub->openPage = [&](const QString& path) { opened << path; };

        // Every choice taken, for Printemps.
        const int spring = h.st().repList.indexOfTitle(u"Printemps"_s);
        h.st().repList.curPeriod = spring;
        h.onModal = [&](QDialog& d) {
            auto& dlg = static_cast<TpubDlgForm&>(d);
            [&] {
                QCOMPARE(dlg.windowTitle(), u"Publication XML des données"_s);
                QCOMPARE(dlg.getPrefs(), u"00001"_s);
                QVERIFY(dlg.periodPanel->isVisibleTo(&dlg));
                QCOMPARE(dlg.RepCB->currentText(), u"Printemps"_s);
            }();
            for (QCheckBox* c : dlg.checks)
                c->setChecked(true);
            return int(QDialog::Accepted);
        };
        w.pmPubPrefs->trigger();
        QCOMPARE(h.st().pubPrefs, u"11111"_s);
        QCOMPARE(h.st().curCIndex, spring);

        h.click(w.WebPageBtn);
        QVERIFY(h.prompt.errors.isEmpty());
        for (const QString& f : {u"data/artList.xml"_s, u"data/artList.html"_s, u"data/sales.html"_s,
                                 u"data/consignation.html"_s, u"data/consignation.pdf"_s,
                                 u"data/inventaire.html"_s, u"data/index.htm"_s, u"xData.xsl"_s,
                                 u"dXML/report.xsl"_s})
            QVERIFY2(QFile::exists(h.progDir() + f), qPrintable(f));
        QCOMPARE(opened, QStringList{h.dataDir() + u"index.htm"_s});
        const QByteArray sales = readFileBytes(h.dataDir() + u"sales.html"_s);
        QVERIFY(sales.contains("Vase bleu, grand") && sales.contains("108.00$"));
        QVERIFY(readFileBytes(h.dataDir() + u"artList.html"_s).contains("Tremblay"));

        w.aExpArt->trigger();
        QVERIFY(QFile::exists(h.dataDir() + u"stock09.xml"_s));
        QVERIFY(w.aExpSales->isEnabled());
        w.aExpSales->trigger();
        for (const QString& f : {u"allSales.html"_s, u"periodSales.html"_s, u"shortSalesRep.html"_s})
            QVERIFY2(QFile::exists(h.dataDir() + f), qPrintable(f));
        QVERIFY(h.prompt.errors.isEmpty());
    }
};

QTEST_MAIN(TstPublish)
#include "tst_publish.moc"
