#pragma once
// Edit boxes that take no more than their field's limit when typed into, and
// say so in their tips; a longer text a file holds is shown whole (and can
// only be shortened), never cut when shown and stored back.

#include <QString>

class QLineEdit;
class QPlainTextEdit;

// Gives e the limit of the record field named field ("nom", "descript"...).
void limitEdit(QLineEdit* e, const char* field);
void limitEdit(QPlainTextEdit* e, const char* field);
// Shows text whole, whatever its length.
void showWhole(QLineEdit* e, const QString& text);
void showWhole(QPlainTextEdit* e, const QString& text);
