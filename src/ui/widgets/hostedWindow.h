#pragma once
// What the main window asks of a working window whose panels it hosts. Every
// command that writes the database or leaves the shown record goes through
// storeShown() first, so typing in progress is never lost or skipped.

class QWidget;

class THostedWindow {
public:
    virtual ~THostedWindow() = default;

    // Shows the current record of the shared state in the window's controls.
    virtual void showCurrent() = 0;
    // Stores what the controls show into the model. Raises AppError, storing
    // nothing, when an entry cannot be kept; the caller then stays where it is.
    virtual void storeShown() = 0;
    // The window's panels are about to be hidden: store, then drop any
    // transient mode (an editor, a list mode the next visit should not find).
    virtual void leave() { storeShown(); }
    // True while the controls hold edits that storeShown() has not stored yet.
    virtual bool isModified() const = 0;
    // A widget the window swapped in for one of its panels (an editor shown
    // in the sheet's place): while it is shown the window counts as shown.
    virtual const QWidget* standIn() const { return nullptr; }
};
