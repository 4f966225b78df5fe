#pragma once
// The boutique as one document: it owns the program-wide state and its lists,
// keeps whether they differ from the file, and tells the windows what changed.
// Windows change the boutique through it and update their own controls from
// its signals; none writes another window's controls.

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "model/qntEvent.h"
#include "model/stockCount.h"
#include "model/stockShelf.h"

#include <QObject>

#include <array>

class TArtisan;
class TArtList;
class TProduit;

// What the artisan's page edits, in the order of the record: number, name,
// first name, address, city, postal code, phone, e-mail, comment.
using ArtisanFields = std::array<QString, 9>;

// What the product's page edits.
struct ProductEntry {
    QString descript;
    QString valeur;
    QString prix;
    TQnt received; // the deliveries
};

class Boutique : public QObject {
    Q_OBJECT
public:
    // What a change touched; each has its signal below.
    enum class Change { Artisans, Products, Sheets, Periods, Account };

    explicit Boutique(QObject* parent = nullptr);

    AppState& state() { return m_st; }
    const AppState& state() const { return m_st; }

    // True while the boutique in memory differs from its file.
    bool isModified() const { return m_st.modified; }
    // The boutique is its file again (loaded, saved, new), or a cancelled
    // edit gives back the state it had before.
    void setModified(bool modified);
    // A database was loaded, saved under a new name or started anew: every
    // window shows it again.
    void fileReplaced();

    // The boutique read from the file at path (loadDB), an older file's
    // shares taken at once; the windows are shown again by fileReplaced.
    LoadResult load(const QString& path, Prompt& prompt);
    // Written to path (saveDB): the boutique is its file again.
    void save(const QString& path);

    // Empties the boutique before a file is read or a new one begun; the
    // windows are shown again once it is in (fileReplaced).
    void startAnew();

    // Artisan index becomes the current one (index -1 on a non-empty list
    // means the first); nullptr when the list is empty.
    TArtisan* selectArtisan(int index);

    // --- the artisans: each says artisansChanged once done ---
    // The choosers' lists made again (index -1), or the name of artisan index
    // as stored; the file holds none of it: no modification.
    void refreshNames(int index = -1);
    // A new artisan numbered number, last in the list and current.
    TArtisan& addArtisan(const QString& number);
    // Artisan index takes values; each is checked before any is stored
    // (AppError, nothing changed). Returns whether a field changed.
    bool storeArtisan(int index, const ArtisanFields& values);
    // Artisan target takes the details of artisan sourceIndex of source and
    // keeps its own number: two artisans never share one.
    void importArtisan(int target, const TArtList& source, int sourceIndex);
    // Removes artisan index (nothing may keep it: see artisanKept).
    void removeArtisan(int index);
    // The artisans of an imported list take the place of none (a new base).
    void takeArtisans(TArtList&& list);

    // --- the current artisan's products (prodList, kept in its record):
    // each says productsChanged once done, when it changed something ---
    // Product index takes entry; the deliveries end up in date order. Every
    // entry is checked first. Returns whether anything changed.
    bool storeProduct(int index, const ProductEntry& entry);
    // A delivery of product index; a total out of range changes nothing.
    void addDelivery(int index, const QString& date, const QString& qnt);
    bool removeDelivery(int index, int row);
    // The deliveries of product index put in date order.
    bool sortDeliveries(int index);
    TProduit& addProduct(const QString& number);
    TProduit& addImportedProduct(const TProduit& source, const QString& number);
    // Removes product index with its sold quantities.
    void removeProduct(int index);
    // Every artisan's products numbered again from 001, the sheets with them.
    void renumberProducts();
    // The working list is the current artisan's: its record holds the same
    // products (each operation above keeps it so).
    void keepProducts();

    // --- the periods ---
    // The period dialog is closed (it edits the list as it goes): "-[tout]-"
    // fitted, titles refreshed, and periodsChanged(by) said; the boutique is
    // modified when what the file keeps of them differs from recordsBefore
    // (periodRecords taken before the dialog opened).
    void periodsEdited(const QStringList& recordsBefore, const QObject* by);
    // What the file keeps of the periods: the all-sales one follows the
    // ledger, so it is no one's edit.
    QStringList periodRecords() const;

    // --- the sheets: each says sheetsChanged once done ---
    void addSheet(const QString& date, const QString& agent);
    // What the sales page shows stored into sheet i; a sheet only looked at
    // keeps its stored total and leaves the boutique as it was. Returns the
    // status-bar text.
    QString storeSheet(int i, const QString& date, const QString& agent, const QString& shownTotal,
                       const QStringList& saleLines);
    // The sheet and its sold quantities moved to date, or removed.
    void redateSheet(int i, const QString& date);
    void deleteSheet(int i);
    // Product p of the sale being edited sold qnt on date (0 and below: a
    // return or nothing), or sells nothing that day.
    void setSold(TProduit& p, const QString& date, int qnt);
    void clearSold(TProduit& p, const QString& date);
    // Sold quantities given back as they were before an edit was cancelled.
    void restoreSold(const QList<std::pair<TProduit*, TQnt>>& before);

    // --- the account: each says accountChanged once done; an AppError
    // leaves the account as it was and says nothing ---
    const Payout& pay(const Payout& payout);
    // Several at once (one signal); the payouts as recorded, numbered.
    QList<Payout> pay(const QList<Payout>& payouts);
    const Payout& reversePayout(int id, const QString& date, const QString& note);
    // The artisan left on since, or came back when since is empty.
    void setGone(const QString& artNo, const QString& since);
    // An account whose share rules were tried on a copy takes the place of
    // the account.
    void replaceAccount(Account account);
    // The stock count's differences, and units handed back to an artisan:
    // the products' quantities move too (productsChanged).
    int recordCount(const QList<CountDiff>& diffs, const QString& date);
    QList<StockMove> recordReturn(const QString& artNo, const QList<ReturnLine>& lines, const QString& date);

    // --- the open stock count: kept in the file, it moves no balance, so it
    // only modifies ---
    void openCount(StockCount count);
    // The open count dropped; the boutique is modified as modifiedAfter says.
    void dropCount(bool modifiedAfter);
    ScanResult countScan(const QString& key);
    int countChosen(int artisan, int product);
    void setCounted(int line, int counted);

signals:
    void artisansChanged();
    void productsChanged();
    void sheetsChanged();
    void periodsChanged(const QObject* by);
    void accountChanged();
    void fileChanged();
    // The current artisan was just chosen (moved to, added, reloaded).
    void artisanSelected();
    void modifiedChanged(bool modified);

private:
    // what changed: its signal, and the boutique is modified from now on
    // (unless modifies is false: a refresh that the file does not hold).
    // by: the window that made the change and shows it already (it may skip
    // the signal).
    void changed(Change what, bool modifies = true, const QObject* by = nullptr);
    // Says modifiedChanged when the state differs from the last one said (a
    // save or a load changes it below the document).
    void announce();

    AppState m_st;
    bool m_said = false;
};
