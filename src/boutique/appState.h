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

class AppState {
public:
    AppState();

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
    // "Payer les artisans..." proposes no balance below this.
    Money payoutMinimum = Money::fromUnits(Money::Scale);
    // The day of the last "Copier la base vers...", "yyyy-MM-dd"; "" never.
    QString lastCopy;

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
    // The statements and the summary carry their charts; the benchmark turns
    // them off to measure what they cost.
    bool reportCharts = true;

    // --- database state ---
    // True while the database in memory differs from its file; only a
    // successful save clears it.
    bool modified = false;
    // A database file that did not load (read error or old version): the next
    // save over it keeps a backup copy of it that is never rotated away.
    QString damagedDbPath;
};
