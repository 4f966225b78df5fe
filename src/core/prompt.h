#pragma once
// Every message box, question and file dialog of the program goes through this
// interface, so the windows show real dialogs while tests answer them and read
// every message without blocking.

#include <QString>

class Prompt {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompt() = default;

    // A short notice ("saved", "Le fichier ... semble inaccessible.").
    virtual void information(const QString& text) = 0;
    // An error notice: a failed operation or a loader's message.
    virtual void error(const QString& text) = 0;
    // Oui / Non, or Oui / Non / Annuler when withCancel is set.
    virtual Answer question(const QString& text, bool withCancel = false) = 0;
    // A line of text (input box); returns false when the user cancels.
    virtual bool inputText(const QString& caption, const QString& label, QString& value) = 0;
    // File dialogs: an empty result means the user cancelled. filter uses
    // Qt's syntax ("Fichiers tlvdb (*.tlvdb)"); defaultSuffix is added to a
    // name typed without extension (save dialog only).
    virtual QString openFileName(const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& dir,
                                 const QString& filter, const QString& defaultSuffix) = 0;
};
