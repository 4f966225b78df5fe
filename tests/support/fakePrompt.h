#pragma once
// Test double of the prompt interface: records every text it is shown and
// answers questions and file dialogs from queues (defaults when empty).

#include "core/prompt.h"

#include <QStringList>
#include <QList>

class FakePrompt : public Prompt {
public:
    QStringList informations;
    QStringList errors;
    QStringList questions;
    QList<Answer> answers;        // next answers to questions; Yes when empty
    QStringList inputs;           // next input-box texts; cancelled when empty
    QStringList openNames;        // next open-dialog results; cancelled when empty
    QStringList saveNames;        // next save-dialog results; cancelled when empty
    QStringList folderNames;      // next folder-dialog results; cancelled when empty
    QStringList dialogCaptions;   // caption of every file dialog shown

    // Every text shown, in order, whatever its kind.
    QStringList all;

    void information(const QString& text) override;
    void error(const QString& text) override;
    Answer question(const QString& text, bool withCancel) override;
    bool inputText(const QString& caption, const QString& label, QString& value) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter,
                         const QString& defaultSuffix) override;
    QString folderName(const QString& caption, const QString& dir) override;
    void clear();
};
