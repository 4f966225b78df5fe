// Settlement day from the windows: publishing (the options dialog, the
// web-page button with every page chosen, the two exports) and the report
// window (its tabs for an artisan and a period, the consignment report, the
// PDF statement and "XportTout"), both over the reference boutique.

#include "uiHarness.h"
#include "core/textUtil.h"
#include "model/uRep.h"
#include "report/settlement.h"
#include "ui/artisans/artAccount.h"
#include "ui/artisans/artFrm.h"
#include "ui/dialogs/addPeriodFrm.h"
#include "ui/dialogs/prefsForm.h"
#include "ui/reports/pubOptions.h"
#include "ui/reports/payAllDlg.h"
#include "ui/reports/payoutDlg.h"
#include "ui/sales/saleFrm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>

using namespace Qt::StringLiterals;

class TstSettlement : public QObject {
    Q_OBJECT

private slots:
    void publishAndExport()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic(u"stock09.tlvdb"_s);
        w.findChild<TPublisher*>(u"publisher"_s)->openPage = [](const QString&) {};

        // Every choice taken, for Printemps; the artisans' details are not
        // published unless chosen.
        const int spring = h.st().repList.indexOfTitle(u"Printemps"_s);
        h.st().repList.curPeriod = spring;
        QString shown;
        h.onModal = UiHarness::answer<TpubDlgForm>([&](TpubDlgForm& dlg) {
            shown = dlg.getPrefs() + dlg.RepCB->currentText();
            for (QCheckBox* c : dlg.checks)
                c->setChecked(true);
            return QDialog::Accepted;
        });
        w.pmPubPrefs->trigger();
        QCOMPARE(shown, u"000010Printemps"_s);
        QCOMPARE(h.st().pubPrefs, u"111111"_s);
        QCOMPARE(h.st().curCIndex, spring);

        h.click(w.WebPageBtn);
        for (const QString& f : {u"data/artList.xml"_s, u"data/artList.html"_s, u"data/sales.html"_s,
                                 u"data/consignation.html"_s, u"data/consignation.pdf"_s,
                                 u"data/inventaire.html"_s, u"data/index.htm"_s, u"xData.xsl"_s,
                                 u"dXML/report.xsl"_s})
            QVERIFY2(QFile::exists(h.progDir() + f), qPrintable(f));
        const QByteArray sales = readFileBytes(h.dataDir() + u"sales.html"_s);
        QVERIFY(sales.contains("Vase bleu, grand") && sales.contains("108.00$"));
        QVERIFY(readFileBytes(h.dataDir() + u"artList.html"_s).contains("Tremblay"));

        w.aExpSales->trigger();
        for (const QString& f : {u"allSales.html"_s, u"periodSales.html"_s, u"shortSalesRep.html"_s})
            QVERIFY2(QFile::exists(h.dataDir() + f), qPrintable(f));
        // The export says what it wrote and where.
        const QString said = h.prompt.informations.value(0);
        QVERIFY2(said.contains(QDir::toNativeSeparators(QDir(h.dataDir()).absolutePath()))
                     && said.contains(u"allSales.xml"_s) && said.contains(u"shortSalesRep.html"_s),
                 qPrintable(said));
        QVERIFY(h.prompt.errors.isEmpty());
    }

    // A payout from the report window: its balance proposed, a date that is
    // no day refused, then the payout kept in the file.
    void payFromTheReportWindow()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        h.st().curArtNo = u"001"_s;
        h.st().curCIndex = h.st().repList.indexOfTitle(u"Printemps"_s);
        TrepForm* rep = &h.report(true);
        const Money owed = rep->shownAccount().after();
        QVERIFY2(owed > Money() && rep->balanceLab->text().endsWith(u"Solde à payer au 090531 : "_s + owed.format()),
                 qPrintable(rep->balanceLab->text()));
        QStringList dates{u"090532"_s, u"090531"_s};
        QString proposed;
        h.onModal = [&](QDialog& d) {
            auto* dlg = qobject_cast<TPayoutDlg*>(&d);
            if (!dlg || dates.isEmpty())
                return int(QDialog::Rejected);
            if (proposed.isEmpty())
                proposed = dlg->amountEd->text();
            dlg->dateEd->setText(dates.takeFirst());
            dlg->amountEd->setText(u"10.00"_s);
            dlg->modeCB->setCurrentText(u"virement"_s);
            return int(QDialog::Accepted);
        };
        QTest::mouseClick(rep->payBtn, Qt::LeftButton);
        QCOMPARE(proposed, owed.plain());
        QCOMPARE(h.prompt.errors.size(), 1);
        QVERIFY(h.st().modified && h.st().account.payouts().size() == 1);
        const Money left = owed - Money::parse(u"10.00"_s);
        QVERIFY2(rep->balanceLab->text().endsWith(u"Solde à payer au 090531 : "_s + left.format()),
                 qPrintable(rep->balanceLab->text()));
        // The statement ends with the account: nothing owed before, the payout, what is left.
        QTest::mouseClick(rep->PrintBtn, Qt::LeftButton);
        const QString text = pdfText(h.opened.value(0)).simplified();
        QVERIFY2(text.contains(u"Paiements de la période : 10.00$ Solde à payer au 090531 : "_s + left.format()),
                 qPrintable(text));
        // The artisans page lists it; an own rule from June leaves spring as it was.
        auto* account = w.artForm->accountBox;
        QVERIFY(account->payoutList->item(0)->text().contains(u"10.00$  virement"_s));
        // Cancelled by a reversing entry once staff say yes; then paid again.
        account->payoutList->setCurrentRow(0);
        h.prompt.answers << Prompt::Answer::Yes;
        h.prompt.inputs << u"erreur de montant"_s;
        QVERIFY(account->reverseChosenPayout());
        QCOMPARE(h.st().account.payouts().last().note, u"erreur de montant"_s);
        QVERIFY(account->payoutList->item(0)->text().endsWith(u"annulé"_s));
        account->payoutList->setCurrentRow(0);
        h.prompt.inputs << QString();
        QVERIFY(!account->reverseChosenPayout());
        QCOMPARE(h.prompt.errors.last(), u"Le paiement numéro 1 est déjà annulé."_s);
        account->ownRuleCB->setCurrentIndex(2);
        account->ownPctSpin->setValue(80);
        h.prompt.inputs << u"090601"_s;
        QTest::mouseClick(account->ownRuleBtn, Qt::LeftButton);
        QVERIFY2(h.prompt.questions.last().startsWith(u"Artisan 001 : 80 % du prix de vente, pour les ventes du 090601"_s),
                 qPrintable(h.prompt.questions.last()));
        QCOMPARE(rep->shownAccount().after(), left);
        // Marked as gone once staff say yes; kept in the file.
        h.prompt.answers << Prompt::Answer::No << Prompt::Answer::Yes;
        account->goneChk->click();
        QVERIFY(!account->goneChk->isChecked() && h.st().account.gone.isEmpty());
        account->goneChk->click();
        QVERIFY(account->goneChk->isChecked() && h.st().account.gone.contains(u"001"_s));
        // The period's books, the payout in its journal.
        const QString books = h.progDir() + u"compta"_s;
        h.prompt.folderNames << books;
        rep->pmBooks->trigger();
        QVERIFY(readFileBytes(books + u"/comptable-Printemps-paiements.csv"_s).contains(";10,00;virement;"));
        w.aSave->trigger();
        AppState back;
        QVERIFY(UiHarness::load(h.st().curFilePath, back));
        QCOMPARE(back.account.payouts().value(0).period, u"Printemps"_s);
        QCOMPARE(back.account.gone.value(u"001"_s), todayStr());
    }

    // The boutique's rule changed in the preferences from a day on: the sales
    // before it keep their share, those after take the new one.
    void shareRuleFromADay()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        h.st().curArtNo = u"001"_s;
        TrepForm* rep = &h.report(true);
        const int spring = h.st().repList.indexOfTitle(u"Printemps"_s);
        const int june = h.st().repList.indexOfTitle(u"Juin, été"_s);
        const auto earned = [&](int p) {
            h.st().curCIndex = p;
            rep->refresh();
            return rep->shownAccount();
        };
        const Money springBefore = earned(spring).earned, juneBefore = earned(june).earned;
        h.onModal = [](QDialog& d) {
            if (auto* prefs = qobject_cast<TPrefsDialog*>(&d))
                prefs->setSharePercent(40);
            return int(QDialog::Accepted);
        };
        // Said No once it names the lines it changes: nothing changed.
        h.prompt.inputs << u"090601"_s << u"090601"_s;
        h.prompt.answers << Prompt::Answer::No;
        w.aPrefs->trigger();
        const QString asked = h.prompt.questions.last();
        QVERIFY2(asked.contains(u"40 % du prix de vente (sauf les artisans qui ont leur propre règle), pour les "
                                "ventes du 090601"_s) && asked.contains(u"ligne(s) de vente changent de part"_s),
                 qPrintable(asked));
        QVERIFY(!h.st().modified);
        QCOMPARE(earned(june).earned, juneBefore);
        w.aPrefs->trigger();
        QCOMPARE(h.st().artSharePercent, 40);
        QCOMPARE(earned(spring).earned, springBefore);
        const AccountFigures jun = earned(june);
        QVERIFY(!jun.sales.isZero());
        QCOMPARE(jun.earned, jun.sales.percentOf(40));
        QVERIFY(h.st().modified);
    }

    // Every artisan owed at the period's end paid at once, but the one
    // unticked; the register lists the payouts and their total.
    void payEveryArtisan()
    {
        UiHarness h;
        h.startRealistic();
        h.st().curCIndex = h.st().repList.indexOfTitle(u"Printemps"_s);
        TrepForm* rep = &h.report(true);
        int listed = 0;
        h.onModal = [&](QDialog& d) {
            auto* dlg = qobject_cast<TPayAllDlg*>(&d);
            if (!dlg)
                return int(QDialog::Rejected);
            listed = dlg->dueGrid->rowCount();
            // A minimum above every balance proposes none; lowered, all again.
            dlg->minEd->setText(u"100000.00"_s);
            if (dlg->payouts().size() || !dlg->dueGrid->isRowHidden(0))
                return int(QDialog::Rejected);
            dlg->minEd->setText(u"0.50"_s);
            dlg->dueGrid->item(0, 0)->setCheckState(Qt::Unchecked);
            dlg->dateEd->setText(u"090601"_s);
            return int(QDialog::Accepted);
        };
        rep->pmPayAll->trigger();
        QVERIFY(listed >= 2);
        const QList<Payout>& paid = h.st().account.payouts();
        QCOMPARE(paid.size(), listed - 1);
        QCOMPARE(h.st().payoutMinimum.plain(), u"0.50"_s);
        QVERIFY(h.opened.value(0).endsWith(u"/Printemps/paiements-090601.pdf"_s));
        Money total;
        for (const Payout& p : paid)
            total += p.amount;
        const QString text = pdfText(h.opened.value(0));
        QVERIFY2(text.contains(total.format()) && text.contains(paid.last().amount.format()), qPrintable(text));
    }

    // The statement handed to the mail program (replaced here), the PDF always
    // named; no mail program, or no address, says what to do instead.
    void mailTheStatement()
    {
        UiHarness h;
        h.startRealistic();
        h.st().curArtNo = u"001"_s;
        h.st().curCIndex = h.st().repList.indexOfTitle(u"Printemps"_s);
        TrepForm* rep = &h.report(true);
        QStringList args;
        bool started = true;
        rep->runMailer = [&](const QStringList& a) { return args = a, started; };
        h.prompt.answers << Prompt::Answer::No << Prompt::Answer::No << Prompt::Answer::No;
        QTest::mouseClick(rep->MailBtn, Qt::LeftButton);
        QCOMPARE(args.mid(args.size() - 3, 2), (QStringList{u"--attach"_s, h.progDir() + u"dXML/Printemps/c001.pdf"_s}));
        QCOMPARE(args.last(), u"marie@example.org"_s);
        QVERIFY(h.prompt.questions.last().contains(u"c001.pdf"_s) && h.prompt.questions.last().contains(u"joignez"_s));
        started = false;
        QTest::mouseClick(rep->MailBtn, Qt::LeftButton);
        QVERIFY(h.prompt.questions.last().startsWith(u"Aucun programme de courriel"_s));
        h.st().curArtNo = u"003"_s;
        rep->refresh();
        args.clear();
        QTest::mouseClick(rep->MailBtn, Qt::LeftButton);
        QVERIFY(args.isEmpty() && h.prompt.questions.last().contains(u"pas d'adresse de courriel"_s));
    }

    void settleAPeriod()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        h.st().curArtNo = u"001"_s;
        h.st().curCIndex = h.st().repList.indexOfTitle(u"Printemps"_s);
        TrepForm* rep = &h.report(true);
        QCOMPARE(rep->ConsGrid->rowCount(), 3);
        rep->TabControl->setCurrentIndex(1);
        // Each column under its heading: the product, its description, the
        // quantity, the product's "Valeur" and the selling price.
        QStringList cells, heads;
        for (int c = 0; c < 5; ++c)
            cells << rep->ConsGrid->item(0, c)->text(), heads << rep->ConsGrid->horizontalHeaderItem(c)->text();
        QCOMPARE(heads, (QStringList{u"Produit"_s, u"Description"_s, u"Qté"_s, u"Valeur"_s, u"Prix de vente"_s}));
        QCOMPARE(cells, (QStringList{u"001"_s, u"Vase bleu, grand"_s, u"2"_s, u"12.00$"_s, u"24.00$"_s}));

        const QString dir = h.progDir() + u"dXML/Printemps/"_s;
        QTest::mouseClick(rep->XMLxPortBtn, Qt::LeftButton);
        QCOMPARE(h.opened, QStringList{dir + u"consigne1.html"_s});
        // The page names the sales' total as the statement does.
        const QByteArray page = readFileBytes(dir + u"consigne1.html"_s);
        QVERIFY(page.contains("Total des ventes") && !page.contains("Total dû"));
        QTest::mouseClick(rep->PrintBtn, Qt::LeftButton);
        QVERIFY(h.opened.last() == dir + u"c001.pdf"_s && QFile::exists(h.opened.last()));

        // Over every sheet, the artisan's rows and total only (the report
        // following the main window's artisan: tst_crossWindows), in the
        // whole ledger's folder: the period's own files stay as they were.
        const QByteArray periodXml = readFileBytes(dir + u"consigne1.xml"_s);
        const QByteArray periodPdf = readFileBytes(dir + u"c001.pdf"_s);
        h.click(rep->allTransBtn);
        QTest::mouseClick(rep->XMLxPortBtn, Qt::LeftButton);
        QTest::mouseClick(rep->PrintBtn, Qt::LeftButton);
        const QString all = h.progDir() + u"dXML/tout/"_s;
        QCOMPARE(h.opened.mid(h.opened.size() - 2), (QStringList{all + u"consigne1.html"_s, all + u"c001.pdf"_s}));
        const QByteArray xml = readFileBytes(all + u"consigne1.xml"_s);
        QVERIFY2(xml.contains("Vase") && xml.contains("<total>87.00$</total>")
                     && xml.contains("<cTitle>Toutes transactions</cTitle>"), xml.constData());
        QCOMPARE(readFileBytes(dir + u"consigne1.xml"_s), periodXml);
        QCOMPARE(readFileBytes(dir + u"c001.pdf"_s), periodPdf);
        h.click(w.nextBtn);
        QTest::mouseClick(rep->XMLxPortBtn, Qt::LeftButton);
        const QByteArray li = readFileBytes(all + u"consigne1.xml"_s);
        QVERIFY2(li.contains("Foulard") && !li.contains("Vase") && li.contains("<total>45.00$</total>"),
                 li.constData());
        h.click(rep->allTransBtn);

        // Cancelled after the first artisan: no summary; then the whole period.
        rep->progress = [](int done, int) { return done < 1; };
        rep->pmXportAllRec->trigger();
        QVERIFY(!QFile::exists(dir + SUMMARY_NAME + u".html"_s) && QFile::exists(dir + u"c001.pdf"_s));
        rep->progress = [](int, int) { return true; };
        const QString fromButton = pdfText(dir + u"c001.pdf"_s); // its bytes hold the time it was made
        rep->pmXportAllRec->trigger();
        QCOMPARE(h.opened.last(), dir + SUMMARY_NAME + u".html"_s);
        QVERIFY(QFile::exists(dir + u"c002.pdf"_s) && QFile::exists(dir + u"c003.xml"_s));
        // One statement, one name: "Tout exporter" wrote the button's file again.
        QCOMPARE(pdfText(dir + u"c001.pdf"_s), fromButton);
        QVERIFY(QDir(dir).entryList({u"releve*"_s}).isEmpty());

        // Without sales, a statement saying so; nothing to show it: the folder
        // offered (and opened), the whole path across the status bar.
        rep->openPage = [&w](const QString& path) { w.showWritten(path, true); };
        w.openWithSystem = [&](const QString& path) { return h.opened << path, false; };
        w.moveToArtisan(h.st().artList.indexOfArtNo(u"003"_s));
        QTest::mouseClick(rep->PrintBtn, Qt::LeftButton);
        const QString none = QDir::cleanPath(dir + u"c003.pdf"_s);
        QVERIFY(h.opened.endsWith(QDir::cleanPath(dir)) && h.prompt.questions.last().contains(u"Ouvrir le dossier"_s)
                && w.StatusBar->currentMessage() == u"Écrit : "_s + QDir::toNativeSeparators(none)
                && pdfText(none).simplified().contains(u"Aucune vente enregistrée pour la période."_s));
        QVERIFY(h.prompt.errors.isEmpty());
    }

    // From the sales side into the list view's queries, back, all the
    // artisan's sales, and new periods.
    void queriesAndPeriods()
    {
        UiHarness h;
        TmainForm& w = h.startRealistic();
        TrepForm* rep = &h.report();
        h.st().curArtNo = u"001"_s;
        h.st().repList.curPeriod = h.st().repList.indexOfTitle(u"Printemps"_s); // the sales side's
        w.saleForm->findChild<QToolButton*>(u"repFormBtn"_s)->click();
        h.click(rep->viewModeBtn);
        // The period's rows, asked two ways, agree.
        QTest::mouseClick(rep->allRangeBtn, Qt::LeftButton);
        const int rows = rep->RepListBox->count();
        QVERIFY(rows > 0 && rep->lCntLab->text() == QString::number(rows) && rep->rGrid1->rowCount() == rows);
        const QString first = rep->RepListBox->item(0)->text();
        rep->rangeChk->setChecked(true);
        rep->getAllSalesBtns->button(2)->click();
        QVERIFY(rep->RepListBox->count() == rows && rep->RepListBox->item(0)->text() == first);
        QTest::mouseClick(rep->aNoSBtn, Qt::LeftButton);
        QCOMPARE(rep->RepListBox->count(), 3);
        h.st().repList.total = u"999.00$"_s; // another consignment's
        QTest::mouseClick(rep->expCurBtn, Qt::LeftButton);
        const QByteArray consAll = readFileBytes(h.progDir() + u"dXML/Printemps/consAll.xml"_s);
        QVERIFY(consAll.contains("Vase bleu, grand") && consAll.contains("<total>63.00$</total>"));
        h.click(rep->viewModeBtn);

        // Every sale of the artisan, whatever the period; then the period again.
        h.click(rep->allTransBtn);
        QVERIFY(rep->cListPanel->isHidden() && rep->ConsGrid->rowCount() >= 3);
        const int n = rep->ConsGrid->rowCount();
        QCOMPARE(rep->startDate->text(), rep->ConsGrid->item(n - 1, 0)->text());
        QVERIFY(rep->startDate->text() <= rep->endDate->text());
        h.click(rep->allTransBtn);
        QCOMPARE(rep->startDate->text(), u"090301"_s);

        // Answers the period dialog with one new period (its dates when given).
        const auto newPeriod = [](const QString& title, const QString& start = {}, const QString& end = {}) {
            return UiHarness::answer<TaddPeriodDlg>([=](TaddPeriodDlg& dlg) {
                dlg.addClick();
                dlg.pTitle->setText(title);
                if (!start.isEmpty())
                    dlg.dteLab1->setText(start), dlg.dteLab2->setText(end);
                dlg.confirmTitle();
                return QDialog::Accepted;
            });
        };
        h.onModal = newPeriod(u"Été"_s, u"090601"_s, u"090831"_s);
        h.st().modified = false;
        h.click(rep->addPeriodBtn);
        QCOMPARE(rep->cListCB->currentText(), u"Été"_s);
        QCOMPARE(rep->endDate->text(), u"090831"_s);
        QCOMPARE(w.saleForm->pListCB->count(), h.st().repList.count());
        QVERIFY(h.st().modified);
        // Opened and closed from the Special menu without a change: nothing
        // to save, "-[tout]-" as it was; a period added there reaches the
        // report window at once, which shows it.
        const QString all = h.st().repList.at(h.st().repList.indexOfTitle(ALL_PERIOD_TITLE)).record();
        h.st().modified = false;
        h.onModal = [](QDialog&) { return int(QDialog::Rejected); };
        w.aSetPeriods->trigger();
        QVERIFY(!h.st().modified);
        QCOMPARE(h.st().repList.at(h.st().repList.indexOfTitle(ALL_PERIOD_TITLE)).record(), all);
        h.onModal = newPeriod(u"Automne"_s);
        w.aSetPeriods->trigger();
        QCOMPARE(rep->cListCB->currentText(), u"Automne"_s);
        QVERIFY(h.prompt.errors.isEmpty());
        QApplication::setActiveWindow(rep);
        QTest::keyClick(rep, Qt::Key_Escape);
        QVERIFY(!rep->isVisible());
    }
};

QTEST_MAIN(TstSettlement)
#include "tst_settlement.moc"
