#pragma once
// The program-wide state: every variable and model list the windows and the
// model operations share. Owned by the main window, passed by reference.

#include "model/account.h"
#include "model/uArt.h"
#include "model/uProd.h"
#include "model/uRep.h"
#include "model/uSale.h"

#include <QString>
#include <QStringList>

// The "modified" flag: marking the database modified also advances a
// change counter, so whatever marks a change advances the revision.
class ChangeFlag {
public:
    ChangeFlag& operator=(bool on)
    {
        if (on)
            ++m_changes;
        m_on = on;
        return *this;
    }
    operator bool() const { return m_on; }
    quint64 changes() const { return m_changes; }

private:
    bool m_on = false;
    quint64 m_changes = 0;
};

class AppState {
public:
    AppState();

    // The database's revision: advanced by every change to the sheets, the
    // periods (their own revisions) and by every change marked in modified.
    // What is computed from the database keeps the revision it was computed
    // at and is computed again once it differs.
    quint64 revision() const
    {
        return saleList.revision() + repList.revision() + modified.changes();
    }

    // --- program and files ---
    QString appCaption;
    QString progDir;   // ends with "/"
    QString dataDir;   // progDir + "data/"
    QString xmlDir;    // progDir + "dXML/"
    QString iniPath;   // progDir + "tilvarDB.ini"
    bool userFolders = false; // data in the user's folders: the program's own takes none
    QString defaultFileName;
    QString artFileName;
    QString curFilePath;
    int dbVersion = 0;

    // --- current positions ---
    QString curArtNo = QStringLiteral("001");
    int curArtInd = -1;
    QString curItem;
    int curProdInd = -1;
    int totProdCount = 0;
    int curCIndex = -1;

    // --- settings (kept in the settings file) ---
    QString lastPeriodNo;
    QString sAgentList;
    QString lastSAgent;
    QString pDateStr;
    QString importFName;
    QStringList recentFiles; // the last databases opened or saved, newest first (at most five)
    bool autoload = false;
    bool showSplash = true;
    bool saveSales = true;
    bool adminMode = true;
    int wLeft = 0;
    int wTop = 0;
    int wWidth = 830;
    int wHeight = 655;
    int lastTab = 0;
    QString pubPrefs = QStringLiteral("00001");
    // The boutique as its statements to the artisans name it; the address
    // holds one line per postal line.
    QString shopName = QStringLiteral("Tilvar");
    QString shopAddress;
    // "Part de l'artisan": 0 pays each product's "Valeur" x quantity, 1..100
    // that percentage of the selling price.
    int artSharePercent = 0;

    // --- shared text lists ---
    QStringList numItems;   // artisan numbers (main window's nListCB)
    QStringList nameItems;  // artisans' display names (ArtListCB)
    QStringList prodNoList; // product numbers of prodList (ProdListBox)
    int MaxRecs = 0;

    // --- model lists ---
    TArtList artList;
    TArtList impArtList;
    TProdList prodList;
    TSaleList saleList;
    TRepList repList;
    // Payouts, share rules and recorded shares: the file's account section.
    Account account;

    // --- report state ---
    QStringList xmlDataLines;
    QString repArtName;
    QString curRepName;
    QString repDir;
    // repDir was chosen by the caller (tlvdb report's OUTDIR): the report
    // writers keep it instead of deriving it from the period.
    bool repDirFixed = false;

    // --- database state ---
    // True while the database in memory differs from its file; only a
    // successful save clears it.
    ChangeFlag modified;
    // A database file that did not load (read error or old version): the next
    // save over it keeps a backup copy of it that is never rotated away.
    QString damagedDbPath;
};
