#pragma once
// Every message box, question and file dialog of the program goes through this
// interface, so the windows show real dialogs while tests answer them and read
// every message without blocking.

#include <QString>
#include <QStringList>

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
    // name typed without extension (save dialog only). The save dialog does
    // not ask before replacing a file: saveFileAsked does, for the name it
    // returns.
    virtual QString openFileName(const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& dir,
                                 const QString& filter, const QString& defaultSuffix) = 0;
    // A folder dialog; empty when cancelled (or where no window can show one).
    virtual QString folderName(const QString& caption, const QString& dir);

    // The save dialog, then the name made to end with "." + defaultSuffix
    // ("Boutique St. Jean" is no database name), then, when a file of that
    // very name exists, "Le remplacer ?" (Non: the dialog again). Empty when
    // the user cancelled.
    QString saveFileAsked(const QString& caption, const QString& dir, const QString& filter,
                          const QString& defaultSuffix);
};

// For work without windows (the command-line tool, benchmarks): every notice
// is collected, nothing is ever asked (questions answer No, dialogs cancel).
// A prompt that hands everything to another one; a prompt that changes a
// few of its calls derives from it and overrides only those.
class RelayPrompt : public Prompt {
public:
    explicit RelayPrompt(Prompt& real) : m_real(real) {}
    void information(const QString& text) override { m_real.information(text); }
    void error(const QString& text) override { m_real.error(text); }
    Answer question(const QString& text, bool withCancel) override { return m_real.question(text, withCancel); }
    bool inputText(const QString& caption, const QString& label, QString& value) override
    {
        return m_real.inputText(caption, label, value);
    }
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override
    {
        return m_real.openFileName(caption, dir, filter);
    }
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter,
                         const QString& defaultSuffix) override
    {
        return m_real.saveFileName(caption, dir, filter, defaultSuffix);
    }
    QString folderName(const QString& caption, const QString& dir) override { return m_real.folderName(caption, dir); }

protected:
    Prompt& m_real;
};

class CollectPrompt : public Prompt {
public:
    QStringList messages;
    void information(const QString& text) override { messages << text; }
    void error(const QString& text) override { messages << text; }
    Answer question(const QString& text, bool) override
    {
        messages << text;
        return Answer::No;
    }
    bool inputText(const QString&, const QString&, QString&) override { return false; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
};
