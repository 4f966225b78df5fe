#include "ui/widgets/limitEdit.h"

#include "core/wholeChars.h"
#include "model/fieldLimits.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace {
const char* const LimitKey = "fieldLimit";
const char* const AllowedKey = "allowedLength";

int limitOf(const QObject* e)
{
    return e->property(LimitKey).toInt();
}
} // namespace

void limitEdit(QLineEdit* e, const char* field)
{
    const int limit = fieldLimit(field);
    e->setProperty(LimitKey, limit);
    e->setMaxLength(limit);
    e->setToolTip(limitHint(limit));
    e->setStatusTip(limitHint(limit));
    // A long text shown whole may be shortened, never lengthened again.
    QObject::connect(e, &QLineEdit::textEdited, e, [e, limit](const QString& text) {
        e->setMaxLength(std::max(limit, int(text.size())));
    });
}

void limitEdit(QPlainTextEdit* e, const char* field)
{
    const int limit = fieldLimit(field);
    e->setProperty(LimitKey, limit);
    e->setProperty(AllowedKey, limit);
    e->setToolTip(limitHint(limit));
    e->setStatusTip(limitHint(limit));
    QObject::connect(e, &QPlainTextEdit::textChanged, e, [e, limit] {
        const QString text = e->toPlainText();
        const int allowed = e->property(AllowedKey).toInt();
        if (text.size() > allowed) {
            // Typed or pasted past the limit: the end goes, between whole characters.
            QTextCursor c(e->document());
            c.setPosition(int(wholeCharsEnd(text, allowed)));
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            c.removeSelectedText();
            return;
        }
        e->setProperty(AllowedKey, std::max(limit, int(text.size())));
    });
}

void showWhole(QLineEdit* e, const QString& text)
{
    e->setMaxLength(std::max(limitOf(e) > 0 ? limitOf(e) : 32767, int(text.size())));
    e->setText(text);
}

void showWhole(QPlainTextEdit* e, const QString& text)
{
    e->setProperty(AllowedKey, std::max(limitOf(e), int(text.size())));
    e->setPlainText(text);
}
