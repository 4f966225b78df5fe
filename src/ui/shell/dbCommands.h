#pragma once
// The database commands of the main window: open, save, save as, new, clear
// all, the whole-list artisan import, bringing a chosen file into the data
// folder, the unsaved-changes question and the start-up's automatic load.

#include <QString>
#include <memory>

class AppState;
class Prompt;
class DbLock;
class TmainForm;

class TDbCommands {
public:
    TDbCommands(TmainForm& main, AppState& st, Prompt& prompt);
    ~TDbCommands();

    // The commands as the menus run them. Each returns false when it did not
    // complete (cancelled, or an error was shown).
    bool fileOpen();
    // Opens a chosen file (open dialog, recent files, restore): refused with
    // a French notice, changing nothing, when it is no readable database.
    bool openChosen(const QString& path);
    // "Fichiers récents": one of the last databases, after the unsaved-changes question.
    bool openRecent(const QString& path);
    // "Restaurer une sauvegarde...": the chosen backup copy replaces the open
    // database's file (kept as a backup first) and is opened.
    bool restoreBackup();
    // "Copier la base vers...": the saved database and its newest backups
    // copied into a new folder of the place chosen (a USB key).
    bool copyDatabase();
    // At start: a reminder when the last copy is more than a week old (the
    // first start only notes the day, so that a new boutique is not nagged).
    void remindCopy();
    bool fileSaveAs();
    bool save();
    bool newDb();
    bool clearAllAsked();
    // Replaces the database by a new unnamed one holding the artisans of an
    // artisan-list XML file (after asking); a file that does not read
    // changes nothing.
    bool impArt();
    // Writes the artisan list as XML beside the database file.
    bool expArt();

    // Opens a database file by name from the data folder.
    void openDB(const QString& fileName);
    // The first show: the last database when the automatic load is on, else
    // an empty one.
    void autoload();
    // At shut-down: a file the automatic load could not open stays the one
    // to open, unless another database got a name since.
    void keepAutoloadSetting();
    void resetState();
    // Empties the database in memory (no question asked).
    void clearAll();
    // Brings a file chosen anywhere into the data folder, where the program
    // keeps, saves and reopens its files (asking before replacing a different
    // file of that name there). Returns its name there; empty when the user
    // cancelled. A failed copy raises AppError.
    QString adoptFile(const QString& path);
    // Stores what is shown, then asks "Enregistrer les modifications ?" when
    // the database holds unsaved changes; true when the caller may go on
    // (saved, or changes dropped).
    bool confirmDiscard();

private:
    // Loading notices go to say.
    void openDB(const QString& fileName, Prompt& say);
    bool saveAsTo(const QString& path);
    // Holds the lock of the database at path, letting go of the previous
    // one; AppError when another copy of the program or a command holds it.
    void holdLock(const QString& path);

    TmainForm& main;
    AppState& st;
    Prompt& prompt;
    QString m_keptAutoload;
    std::unique_ptr<DbLock> m_lock;
    QString m_lockPath;
};
