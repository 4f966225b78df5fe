#pragma once
// The boutique as one document: it owns the program-wide state and its lists,
// keeps whether they differ from the file, and tells the windows what changed.
// Windows change the boutique through it and update their own controls from
// its signals; none writes another window's controls.

#include "boutique/appState.h"

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
