#pragma once
// Windows-1252, the 8-bit text of the program's files.

#include <QByteArray>
#include <QString>

namespace cp1252 {
// True when every character of text has a Windows-1252 byte.
bool fits(const QString& text);
bool fits(QChar c);
// Bytes of text; a character without a byte becomes '?' and *ok is set false.
QByteArray encode(const QString& text, bool* ok = nullptr);
// Every byte decodes; the five unassigned bytes keep their own code point.
QString decode(const QByteArray& bytes);
QString decode(const char* data, qsizetype size);
// Maps U+0080..U+009F (what a Latin-1 reader makes of Windows-1252 bytes
// 0x80..0x9F) to the characters those bytes stand for.
QString fixC1Controls(const QString& text);
} // namespace cp1252
