#pragma once
// The real dialogs behind the prompt interface: message boxes, input boxes and
// file dialogs, in French, over a parent window.

#include "core/prompt.h"

class QWidget;

class WidgetPrompt : public Prompt {
public:
    explicit WidgetPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void information(const QString& text) override;
    void error(const QString& text) override;
    Answer question(const QString& text, bool withCancel) override;
    bool inputText(const QString& caption, const QString& label, QString& value) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter,
                         const QString& defaultSuffix) override;
    QString folderName(const QString& caption, const QString& dir) override;

private:
    QWidget* m_parent;
};
