#include "ui/shell/main.h"

#include "boutique/appPaths.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/textUtil.h"
#include "core/prompt.h"
#include "report/shipped.h"
#include "ui/artisans/artAccount.h"
#include "ui/dialogs/prefsForm.h"
#include "ui/shell/about.h"
#include "ui/shell/dbCommands.h"
#include "ui/widgets/limitEdit.h"
#include "ui/shell/onScreen.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>

using namespace Qt::StringLiterals;

// The main window's small windows and notices: preferences, about, recent
// files, the caption and where written files went.

void TmainForm::fillRecentMenu()
{
    recentMenu->clear();
    for (const QString& path : std::as_const(st.recentFiles)) {
        QAction* a = recentMenu->addAction(QDir::toNativeSeparators(path));
        a->setEnabled(QFileInfo(path).isFile());
        connect(a, &QAction::triggered, this, [this, path] { m_db->openRecent(path); });
    }
    if (st.recentFiles.isEmpty())
        recentMenu->addAction(u"(aucun)"_s)->setEnabled(false);
}

void TmainForm::doPrefs()
{
    TPrefsDialog dlg(this);
    dlg.setWindowTitle(u"Préférences"_s);
    dlg.autoLoadChk->setChecked(st.autoload);
    dlg.splashScreenChk->setChecked(st.showSplash);
    // The name as the user knows it: no folder, no ".tlvdb" (a dot of the
    // name itself stays).
    QString shownName = QFileInfo(st.artFileName).fileName();
    if (shownName.endsWith(u".tlvdb"_s, Qt::CaseInsensitive))
        shownName.chop(6);
    dlg.BDNameEd->setText(shownName);
    dlg.extLab->setText(u".tlvdb"_s);
    dlg.autoSaveSalesChk->setChecked(st.saveSales);
    showWhole(dlg.shopNameEd, st.shopName);
    dlg.shopAddressMemo->setPlainText(st.shopAddress);
    // The boutique's rule in force today, which the file keeps.
    const int sharePercent = st.account.ruleAt(QString(), todayStr(), ShareRule{st.artSharePercent}).percent;
    dlg.setSharePercent(sharePercent);
    if (m_runModal(dlg) == QDialog::Accepted) {
        st.autoload = dlg.autoLoadChk->isChecked();
        st.showSplash = dlg.splashScreenChk->isChecked();
        // No name, no file: ".tlvdb" alone would name nothing. An unchanged
        // name keeps the file, wherever it lies.
        const QString name = dlg.BDNameEd->text();
        if (!name.isEmpty() && name != shownName)
            st.artFileName = name.endsWith(u".tlvdb"_s, Qt::CaseInsensitive) ? name : name + dlg.extLab->text();
        st.saveSales = dlg.autoSaveSalesChk->isChecked();
        st.shopName = dlg.shopNameEd->text().trimmed();
        st.shopAddress = dlg.shopAddressMemo->toPlainText().trimmed().replace(u'|', u'/'); // "|": line ends in the file
        if (dlg.sharePercent() != sharePercent)
            changeShareRule(dlg.sharePercent());
    }
}

void TmainForm::changeShareRule(int percent)
{
    if (::changeShareRule(m_doc, *m_prompt, QString(), percent,
                          u"Part de l'artisan : %1 (sauf les artisans qui ont leur propre règle)"_s.arg(
                              ShareRule{percent}.text())))
        st.artSharePercent = percent;
}

void TmainForm::installShipped()
{
    QStringList kept;
    shipped::install(st, &kept);
    kept.removeIf([this](const QString& p) { return m_keptSaid.contains(p); });
    if (kept.isEmpty())
        return;
    m_keptSaid << kept;
    m_prompt->information(shipped::keptNotice(kept));
}

void TmainForm::showWritten(const QString& path, bool view)
{
    const QFileInfo file(path);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    setStatusText(0, u"Écrit : "_s + file.fileName());
    // The panel is narrow: the folder's own name, the whole one as its tip.
    setStatusText(1, u"Dossier : "_s + file.absoluteDir().dirName());
    statusPanels[1]->setToolTip(folder);
    // The whole path over the whole bar, until the status changes again.
    const QString whole = u"Écrit : "_s + QDir::toNativeSeparators(file.absoluteFilePath());
    StatusBar->showMessage(whole);
    const bool fits = StatusBar->fontMetrics().horizontalAdvance(whole) + 12 <= StatusBar->width() - modifiedLab->width();
    const QString where = u"Le fichier "_s + file.fileName() + u" a été écrit dans le dossier "_s + folder + u"."_s;
    if (!view) {
        m_prompt->information(where);
        return;
    }
    if (openWithSystem(file.absoluteFilePath())) {
        if (!fits) // too long for the bar: said in a message
            m_prompt->information(where);
        return;
    }
    if (m_prompt->question(where + u"\nAucun programme de cet ordinateur ne peut l'afficher.\nOuvrir le dossier ?"_s)
        == Prompt::Answer::Yes)
        openWithSystem(file.absolutePath());
}

void TmainForm::updateCaption()
{
    const QString name = QFileInfo(st.artFileName).fileName();
    setWindowTitle((name.isEmpty() ? u"Nouvelle base"_s : name) + u"[*] - "_s + st.appCaption);
    showModifiedMark();
}

void TmainForm::showModifiedMark()
{
    if (!modifiedLab || m_shutDown)
        return;
    // Changes stored in the database, or typed and not stored yet.
    const bool unsaved = st.modified || (mainReady && shownModified());
    setWindowModified(unsaved);
    modifiedLab->setText(unsaved ? u"Modifications non enregistrées"_s : QString());
}

void TmainForm::doVersion(bool splash)
{
    TaboutForm about(this, splash);
    about.versionLab->setText(st.appCaption);
    // A folder may break after any of its separators (zero-width spaces).
    QString details = dataFolderText(st);
    details.replace(QDir::separator(), QString(QDir::separator()) + QChar(0x200B));
    about.detailsLab->setText(details + u"\n"_s + appLicenceText());
    // As the splash, the main window is not shown yet: centre on where it will be.
    if (!isVisible()) {
        const QRect future(placeOnScreens({st.wLeft, st.wTop}, {830, 655}), QSize(830, 655));
        about.move(future.center() - QPoint(about.width() / 2, about.height() / 2));
    }
    m_runModal(about);
    unsetCursor();
}
