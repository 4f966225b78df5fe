#pragma once
// The pages the web-page command publishes into the data folder, beside the
// start page that links to them.

#include <QString>
#include <QStringList>

class AppState;

namespace publish {

// File names (in dataDir) of the pages of choices 1..4 of pubPrefs.
inline const QString ART_LIST_PAGE = QStringLiteral("artList.html");
inline const QString SALES_PAGE = QStringLiteral("sales.html");
inline const QString SUMMARY_PAGE = QStringLiteral("consignation"); // .html and .pdf
inline const QString INVENTORY_PAGE = QStringLiteral("inventaire.html");

// Choice 6: "Publier les coordonnées des artisans" (off when missing).
inline constexpr int CONTACTS_CHOICE = 6;

// True when choice n (1..6) of prefs is taken: its character is "1".
bool chosen(const QString& prefs, int n);

// artList.xml for the artisan list, our style sheets and start page when
// missing, then the page of each choice 1..4 taken in prefs: the artisan
// list, the sale rows of period p, the settlement summary of period p and
// the inventory of every artisan (no period page when p names no period).
// Returns the paths written. AppError when a file cannot be written.
QStringList publishPages(AppState& st, const QString& prefs, int p);

// The sale rows of period p, every artisan's, with their total.
QString salesPageHtml(AppState& st, int p);
// Each artisan's products: received, sold and left.
QString inventoryPageHtml(AppState& st);

} // namespace publish
