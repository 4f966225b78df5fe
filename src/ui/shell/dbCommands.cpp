#include "ui/shell/dbCommands.h"

#include "boutique/artisanState.h"
#include "core/appError.h"
#include "core/textUtil.h"
#include "boutique/appState.h"
#include "core/dbCopy.h"
#include "boutique/dbFile.h"
#include "core/dbLock.h"
#include "boutique/dbSummary.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "export/artListXML.h"
#include "model/artNumbers.h"
#include "model/uArt.h"
#include "ui/artisans/artFrm.h"
#include "ui/dialogs/restoreDlg.h"
#include "ui/shell/main.h"
#include "ui/products/prodFrm.h"
#include "ui/sales/saleFrm.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <QToolButton>

#include <vector>

using namespace Qt::StringLiterals;

namespace {
const QString kDbFilter = u"Fichiers tlvdb (*.tlvdb)"_s;
const QString kXmlFilter = u"Fichiers XML (*.xml)"_s;

// Same file content: the copy in the data folder is the chosen file.
bool sameContent(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    return fa.size() == fb.size() && fa.readAll() == fb.readAll();
}

bool sameFolder(const QString& folderA, const QString& folderB)
{
    const QString a = QFileInfo(folderA).canonicalFilePath();
    const QString b = QFileInfo(folderB).canonicalFilePath();
    return !a.isEmpty() && a == b;
}

// A database file's path: a name in the data folder, or a full path for a
// file the user chose to keep elsewhere.
QString dbPath(const AppState& st, const QString& name)
{
    return QFileInfo(name).isAbsolute() ? name : st.dataDir + name;
}

bool samePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// Holds the start-up's notices until the window is on screen, so that none
// appears alone before it.
class HeldPrompt : public RelayPrompt {
public:
    using RelayPrompt::RelayPrompt;
    std::vector<std::pair<bool, QString>> held; // (error, text), in order

    void information(const QString& text) override { held.emplace_back(false, text); }
    void error(const QString& text) override { held.emplace_back(true, text); }
};

// Replaces a database file of the data folder as a save does: in one step,
// the file it replaces kept in the backups first.
void copyFileOver(const AppState& st, const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(u"Impossible de lire "_s + source + u" : "_s + in.errorString());
    safeWriteFile(target, in.readAll(), dbWriteOptions(st, target));
}
} // namespace

TDbCommands::TDbCommands(TmainForm& mainForm, AppState& state, Prompt& p)
    : main(mainForm), st(state), prompt(p)
{
}

TDbCommands::~TDbCommands() = default;

void TDbCommands::resetState()
{
    main.doc().startAnew();
    main.artSubPage = 0;
}

void TDbCommands::clearAll()
{
    TArtForm* art = main.artForm;
    // The artisans side comes back in form mode.
    if (art->artListMode)
        art->toggleViewMode();
    st.curFilePath.clear();
    st.artFileName.clear();
    resetState();
    main.artInfoLab->clear();
    art->clearWindow();
    main.saleForm->showCurrent();
    main.curPage = -1;
    main.pageBtnSide = 0;
    main.pageBtn->hide();
    main.showPage(0);
    art->addArtisan(st.curArtNo);
    main.doc().setModified(false);
    main.refreshStatus(0); // the one new artisan, counted
    if (main.mainReady)
        art->focusEntry();
}

void TDbCommands::autoload()
{
    // The default name without a file is a first run, not a lost file.
    const QString name =
        st.autoload && (st.artFileName != st.defaultFileName || QFile::exists(st.dataDir + st.artFileName))
            ? st.artFileName
            : QString();
    HeldPrompt held(prompt);
    bool opened = false;
    const QString problem = name.isEmpty() ? QString() : dbOpenProblem(dbPath(st, name));
    const bool notDatabase = QFileInfo(dbPath(st, name)).isFile() && !problem.isEmpty();
    if (!name.isEmpty() && QFileInfo(dbPath(st, name)).isFile() && !notDatabase) {
        resetState();
        main.showPage(0);
        try {
            openDB(name, held);
            opened = true;
        } catch (const AppError& e) {
            held.error(e.message());
        } catch (const std::exception& e) {
            held.error(QString::fromLocal8Bit(e.what()));
        }
    }
    if (!opened) {
        clearAll();
        if (!name.isEmpty()) {
            // The setting stays: the file may come back (a drive, a folder restored).
            m_keptAutoload = name;
            if (notDatabase)
                held.error(notDatabaseMessage(dbPath(st, name), problem)
                           + u"\nUne base vide est ouverte."_s);
            else
                held.error(u"Le fichier "_s + QDir::toNativeSeparators(dbPath(st, name))
                       + u" n'a pas pu être ouvert au démarrage : une base vide est ouverte.\n"_s
                       + u"Le chargement automatique le rouvrira quand il sera de nouveau accessible."_s);
        }
    }
    if (!held.held.empty())
        QTimer::singleShot(0, &main, [p = &prompt, notices = held.held] {
            for (const auto& [isError, text] : notices)
                isError ? p->error(text) : p->information(text);
        });
}

void TDbCommands::keepAutoloadSetting()
{
    if (st.artFileName.isEmpty() && !m_keptAutoload.isEmpty())
        st.artFileName = m_keptAutoload;
}

void TDbCommands::openDB(const QString& fileName)
{
    openDB(fileName, prompt);
}

void TDbCommands::holdLock(const QString& path)
{
    if (path.isEmpty()) {
        m_lock.reset();
        m_lockPath.clear();
        return;
    }
    if (m_lock && samePath(m_lockPath, path))
        return;
    auto lock = std::make_unique<DbLock>(path);
    if (!lock->tryLock())
        throw AppError(u"La base %1 est utilisée en ce moment par %2 : elle n'est pas ouverte ici, pour que rien de ce "
                       "qui s'y écrit ne se perde. Réessayez dans un moment."_s
                           .arg(QDir::toNativeSeparators(path), lock->holder(true)));
    m_lock = std::move(lock);
    m_lockPath = path;
}

void TDbCommands::openDB(const QString& fileName, Prompt& say)
{
    holdLock(dbPath(st, fileName));
    if (main.mainReady)
        clearAll();
    st.artFileName = fileName;
    st.curFilePath = dbPath(st, fileName);
    // The loader keeps the modified mark of a partly read file. Its notices
    // wait: a read error is said once, in the sentence below.
    HeldPrompt loading(say);
    const LoadResult result = main.doc().load(st.curFilePath, loading);
    main.mainReady = true;
    // Every window shows the boutique read.
    main.doc().fileReplaced();
    main.updatePageBtn();
    main.refreshStatus(1);
    if (result == LoadResult::Loaded)
        rememberRecent(st.recentFiles, st.curFilePath);
    QString cause;
    if (result == LoadResult::ReadError)
        for (auto it = loading.held.begin(); it != loading.held.end(); ++it)
            if (it->first && it->second.startsWith(READ_ERROR_MSG)) {
                cause = it->second;
                loading.held.erase(it);
                break;
            }
    if (result == LoadResult::ReadError)
        say.error(u"Le fichier "_s + QFileInfo(fileName).fileName() + u" n'a été lu qu'en partie (« "_s + cause
                  + u" ») : "_s + countOf(st.artList.count(), u"artisan"_s, u"artisans"_s) + u", "_s
                  + countOf(st.saleList.count(), u"feuille de ventes"_s, u"feuilles de ventes"_s) + u" et "_s
                  + countOf(st.repList.count(), u"période"_s, u"périodes"_s) + u" ont pu être lus.\n"_s
                  + u"Vérifiez ce qui a été lu, ou reprenez la dernière version avec Fichier > Restaurer une "_s
                  + u"sauvegarde... Ce qui a été lu n'est pas enregistré ; avant d'être remplacé, l'original sera "_s
                  + u"conservé dans "_s + QDir::toNativeSeparators(backupDir(st, st.curFilePath)) + u"."_s);
    for (const auto& [isError, text] : loading.held)
        isError ? say.error(text) : say.information(text);
}

bool TDbCommands::openRecent(const QString& path)
{
    return confirmDiscard() && openChosen(path);
}

bool TDbCommands::restoreBackup()
{
    if (st.curFilePath.isEmpty() || !QFileInfo(st.curFilePath).isFile()) {
        prompt.information(u"La base ouverte n'est pas encore enregistrée : elle n'a pas de sauvegarde."_s);
        return false;
    }
    const QString name = QFileInfo(st.curFilePath).fileName();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QList<BackupEntry> backups = databaseBackups(backupDir(st, st.curFilePath), name);
    QApplication::restoreOverrideCursor();
    TRestoreDlg dlg(name, backups, &main);
    if (main.runModal(dlg) != QDialog::Accepted || dlg.chosenPath().isEmpty())
        return false;
    if (!confirmDiscard())
        return false;
    const QString chosen = dlg.chosenPath();
    const QString target = st.curFilePath;
    const QString fileName = st.artFileName;
    return main.guarded([&] {
        copyFileOver(st, chosen, target); // the current file goes to the backups first
        openDB(fileName);
        main.setStatusText(0, u"Sauvegarde restaurée : "_s + QFileInfo(chosen).fileName());
    });
}

bool TDbCommands::copyDatabase()
{
    if (!confirmDiscard())
        return false;
    if (st.curFilePath.isEmpty() || !QFileInfo(st.curFilePath).isFile()) {
        prompt.information(u"La base ouverte n'est pas encore enregistrée : rien à copier."_s);
        return false;
    }
    const QString dest = prompt.folderName(u"Copier la base vers : choisissez le dossier (une clé USB)"_s, QString());
    if (dest.isEmpty())
        return false;
    return main.guarded([&] {
        constexpr int Backups = 3;
        const QString folder =
            copyDatabaseTo(st.curFilePath, backupDir(st, st.curFilePath), dest, Backups, QDateTime::currentDateTime());
        st.lastCopy = QDate::currentDate().toString(Qt::ISODate);
        main.setStatusText(2, u"Copiée dans "_s + QFileInfo(folder).fileName());
        prompt.information(u"La base %1 et ses dernières sauvegardes sont copiées dans le dossier %2."_s.arg(
            QFileInfo(st.curFilePath).fileName(), QDir::toNativeSeparators(folder)));
    });
}

void TDbCommands::remindCopy()
{
    const QDate today = QDate::currentDate();
    if (st.lastCopy.isEmpty()) {
        st.lastCopy = today.toString(Qt::ISODate);
        return;
    }
    if (st.curFilePath.isEmpty() || !copyIsDue(st.lastCopy, today))
        return;
    prompt.information(u"La dernière copie de la base ailleurs (une clé USB) date du %1. Un disque qui lâche ou un "
                       "ordinateur volé emporterait tout : faites-en une avec « Fichier » > « Copier la base "
                       "vers... »."_s.arg(QLocale(QLocale::French).toString(QDate::fromString(st.lastCopy, Qt::ISODate),
                                                                          u"d MMMM yyyy"_s)));
}

bool TDbCommands::confirmDiscard()
{
    if (!st.modified && !main.shownModified())
        return true;
    if (main.curPage >= 0 && main.mainReady && !main.guarded([this] { main.storeShown(); }))
        return false;
    if (!st.modified)
        return true;
    switch (prompt.question(u"Enregistrer les modifications ?"_s, true)) {
    case Prompt::Answer::Yes:
        return save();
    case Prompt::Answer::No:
        return true;
    case Prompt::Answer::Cancel:
        break;
    }
    return false;
}

bool TDbCommands::fileOpen()
{
    if (!confirmDiscard())
        return false;
    const QString path = prompt.openFileName(u"Ouvrir"_s, st.dataDir, kDbFilter);
    if (path.isEmpty())
        return false;
    return openChosen(path);
}

bool TDbCommands::openChosen(const QString& path)
{
    // A file that does not load changes nothing: not the database on
    // screen, not the one the next start opens.
    if (const QString problem = dbOpenProblem(path); !problem.isEmpty()) {
        prompt.error(notDatabaseMessage(path, problem));
        return false;
    }
    return main.guarded([this, &path] {
        const QString name = adoptFile(path);
        if (!name.isEmpty())
            openDB(name);
    });
}

QString TDbCommands::adoptFile(const QString& path)
{
    const QFileInfo chosen(path);
    const QString name = chosen.fileName();
    const QString target = st.dataDir + name;
    if (!chosen.exists() || sameFolder(chosen.absolutePath(), st.dataDir))
        return name;
    if (!QFile::exists(target)) {
        copyFileOver(st, path, target);
    } else if (!sameContent(path, target)) {
        const Prompt::Answer a = prompt.question(
            u"Le fichier "_s + name + u" existe déjà dans le dossier des données ("_s
                + QDir::toNativeSeparators(st.dataDir)
                + u").\nLe remplacer par le fichier choisi ?\n(Non : garder celui du dossier des données)"_s,
            true);
        if (a == Prompt::Answer::Cancel)
            return {};
        if (a == Prompt::Answer::Yes)
            copyFileOver(st, path, target);
    }
    return name;
}

bool TDbCommands::saveAsTo(const QString& chosenPath)
{
    QString path = chosenPath;
    // "Boutique St. Jean" has a suffix of its own, but is no database name.
    if (!path.endsWith(u".tlvdb"_s, Qt::CaseInsensitive))
        path += u".tlvdb"_s;
    const QFileInfo chosen(path);
    const QString name = chosen.fileName();
    const QString target = st.dataDir + name;
    main.doc().save(path);
    QString working = target;
    // Saved elsewhere: the data folder gets the same file, so that later
    // saves and the next autoload find it, without ever replacing another
    // database silently.
    if (!sameFolder(chosen.absolutePath(), st.dataDir)) {
        bool write = true;
        if (QFile::exists(target))
            write = prompt.question(u"Le fichier "_s + name
                                    + u" existe déjà dans le dossier des données ("_s
                                    + QDir::toNativeSeparators(st.dataDir)
                                    + u").\nLe remplacer ?"_s)
                    == Prompt::Answer::Yes;
        if (write) {
            try {
                main.doc().save(target);
            } catch (const AppError&) {
                // Only one of the two files holds the work: not saved as meant.
                main.doc().setModified(true);
                throw;
            }
        } else {
            working = chosen.absoluteFilePath();
        }
    }
    // Kept elsewhere, the full path is what the next start must open.
    st.artFileName = working == target ? name : working;
    st.curFilePath = working;
    main.doc().setModified(false);
    holdLock(working);
    rememberRecent(st.recentFiles, working);
    main.updatePageBtn();
    main.setStatusText(0, u"Enregistré : "_s + name);
    main.updateCaption();
    return true;
}

bool TDbCommands::fileSaveAs()
{
    if (main.curPage >= 0 && !main.guarded([this] { main.storeShown(); }))
        return false;
    const QString path = prompt.saveFileAsked(u"Enregistrer sous"_s, st.dataDir, kDbFilter, u"tlvdb"_s);
    if (path.isEmpty())
        return false;
    bool saved = false;
    main.guarded([&] { saved = saveAsTo(path); });
    return saved;
}

bool TDbCommands::save()
{
    bool saved = false;
    main.guarded([&] {
        main.setStatusText(0, u"Enregistrement..."_s);
        main.curPage = main.pageBtnSide;
        main.storeShown();
        if (!st.curFilePath.isEmpty() && QFile::exists(st.curFilePath)) {
            if (samePath(st.curFilePath, st.damagedDbPath)
                && prompt.question(u"Le fichier "_s + QFileInfo(st.curFilePath).fileName()
                                   + u" n'a été lu qu'en partie.\nLe remplacer par ce qui a été lu ? (l'original est conservé dans "_s
                                   + QDir::toNativeSeparators(backupDir(st, st.curFilePath)) + u")"_s)
                       != Prompt::Answer::Yes)
                return;
            main.doc().save(st.curFilePath);
            main.setStatusText(0, u"Enregistré : "_s + QFileInfo(st.artFileName).fileName());
            saved = true;
        } else {
            saved = fileSaveAs();
        }
        main.updatePageBtn();
    });
    // Cancelled or refused: the status bar says so instead of a save still running.
    if (!saved && main.statusText(0) == u"Enregistrement..."_s)
        main.setStatusText(0, u"Non enregistré"_s);
    return saved;
}

bool TDbCommands::newDb()
{
    if (!clearAllAsked())
        return false;
    holdLock(QString());
    st.curFilePath.clear();
    st.artFileName.clear();
    main.updatePageBtn();
    return true;
}

bool TDbCommands::clearAllAsked()
{
    if (!confirmDiscard())
        return false;
    clearAll();
    return true;
}

bool TDbCommands::impArt()
{
    const QString path = prompt.openFileName(u"Ouvrir"_s, st.dataDir, kXmlFilter);
    const QString name = QFileInfo(path).fileName();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        if (!path.isEmpty())
            prompt.information(u"Le fichier "_s + name + u" est introuvable."_s);
        main.moveToArtisan(0);
        return false;
    }
    // Read once aside: a file that does not read changes nothing.
    TArtList read;
    bool found = false;
    if (!main.guarded([&] { found = readArtListFile(read, path); }))
        return false;
    if (!found || read.isEmpty()) {
        prompt.information(u"Le fichier "_s + name + u" ne contient aucune liste d'artisans : rien n'a été importé."_s);
        return false;
    }
    const QString what = read.count() == 1 ? u"l'artisan"_s : u"les "_s + QString::number(read.count()) + u" artisans"_s;
    // The sheets name artisans by number: two artisans never share one.
    const QStringList renumbered = giveFreeNumbers(read);
    const QString twice = renumbered.isEmpty() ? QString()
        : u"\nDes numéros d'artisans sont en double dans le fichier : "_s + renumbered.join(u" ; "_s) + u"."_s;
    if (prompt.question(u"Importer "_s + what + u" de "_s + name
                        + u" ?\nLe résultat est une nouvelle base sans nom, avec ces artisans (leurs coordonnées) et "_s
                          u"leurs produits (numéros, descriptions, valeurs et prix). Les quantités reçues et vendues ne "_s
                          u"sont pas importées : les produits arrivent sans stock, la base sans ventes ni périodes. "_s
                          u"La base ouverte reste telle qu'elle est enregistrée."_s + twice)
        != Prompt::Answer::Yes)
        return false;
    if (!confirmDiscard())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool done = main.guarded([&] {
        clearAll();
        main.mainReady = false;
        main.doc().takeArtisans(std::move(read));
        main.artForm->rebuildLists();
        main.artForm->fillGrid();
    });
    st.curArtInd = 0;
    main.mainReady = true;
    done = main.guarded([this] {
        main.artForm->showArtisan(0);
        main.prodForm->loadWindow();
    }) && done;
    main.updatePageBtn();
    main.refreshStatus(0);
    main.setStatusText(3, countOf(st.artList.count(), u"artisan importé"_s, u"artisans importés"_s));
    QApplication::restoreOverrideCursor();
    return done;
}

bool TDbCommands::expArt()
{
    if (main.curPage >= 0 && !main.guarded([this] { main.storeShown(); }))
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString path = st.dataDir + artListFileName(QFileInfo(st.artFileName).fileName());
    const bool done = main.guarded([&] { writeArtListXML(st.artList, path, Contacts::Kept, outputOptions(st)); });
    QApplication::restoreOverrideCursor();
    if (done)
        main.showWritten(path);
    return done;
}
