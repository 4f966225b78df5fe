#pragma once
// The boutique as one document: it owns the program-wide state and its lists,
// keeps whether they differ from the file, and tells the windows what changed.
// Windows change the boutique through it and update their own controls from
// its signals; none writes another window's controls.

#include "boutique/appState.h"
#include "model/stockCount.h"
#include "model/stockShelf.h"

#include <QObject>

class TArtisan;

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
    // what changed: its signal, and the boutique is modified from now on
    // (unless modifies is false: a refresh that the file does not hold).
    // by: the window that made the change and shows it already (it may skip
    // the signal).
    void changed(Change what, bool modifies = true, const QObject* by = nullptr);
    // The boutique is its file again (loaded, saved, new), or a cancelled
    // edit gives back the state it had before.
    void setModified(bool modified);
    // A database was loaded, saved under a new name or started anew: every
    // window shows it again.
    void fileReplaced();

    // Artisan index becomes the current one (index -1 on a non-empty list
    // means the first); nullptr when the list is empty.
    TArtisan* selectArtisan(int index);

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
    // Says modifiedChanged when the state differs from the last one said (a
    // save or a load changes it below the document).
    void announce();

    AppState m_st;
    bool m_said = false;
};
