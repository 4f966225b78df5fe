#include "ui/widgets/widgetPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QString title() { return QApplication::applicationName(); }
} // namespace

void WidgetPrompt::information(const QString& text)
{
    QMessageBox::information(m_parent, title(), text);
}

void WidgetPrompt::error(const QString& text)
{
    QMessageBox::critical(m_parent, title(), text);
}

Prompt::Answer WidgetPrompt::question(const QString& text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    switch (QMessageBox::question(m_parent, title(), text, buttons, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

bool WidgetPrompt::inputText(const QString& caption, const QString& label, QString& value)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, caption, label, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

QString WidgetPrompt::openFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, dir, filter);
}

QString WidgetPrompt::folderName(const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(m_parent, caption, dir);
}

QString WidgetPrompt::saveFileName(const QString& caption, const QString& dir, const QString& filter,
                                   const QString& defaultSuffix)
{
    QFileDialog dialog(m_parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // The name is completed and asked about by saveFileAsked, which asks about
    // the very name it writes.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
