#pragma once
// The artisan-list XML document: written byte by byte in ISO-8859-1 with every
// text escaped, and read back in one pass of Qt's stream reader, including the
// files of the older program (Windows-1252 bytes declared as ISO8859-1, texts
// unescaped).

#include "core/safeWrite.h"

#include <QByteArray>
#include <QString>

class TArtList;
class TArtisan;

// Whether the artisans' home address, telephone and e-mail are written: always
// for the export between boutiques, only when the user chose it for the
// published pages.
enum class Contacts { Kept, Withheld };

// The "artItem" element of one artisan (it holds line feeds of its own).
QString artItemXML(const TArtisan& artisan, Contacts contacts = Contacts::Kept);
// The whole document: declaration, "<artList>", one item per artisan,
// "</artList>", each line ended by CR LF; ISO-8859-1 bytes.
QByteArray artListXML(const TArtList& list, Contacts contacts = Contacts::Kept);
// Writes the document to path in one step; a refused write raises AppError and
// leaves any previous file as it was.
void writeArtListXML(const TArtList& list, const QString& path, Contacts contacts = Contacts::Kept,
                     const SafeWriteOptions& write = {});
// The export's file name for a database file name: its first ".tlvdb" becomes
// ".xml"; a name without ".tlvdb" gets ".xml" appended (so the database file is
// never overwritten), and an empty name gives "artList.xml".
QString artListFileName(const QString& artFileName);

// A list is four levels deep and its elements carry two attributes at most:
// deeper nesting, or more attributes in one element, is refused at once (Qt's
// reader takes time growing with the square of an element's attributes).
inline constexpr int MAX_XML_DEPTH = 64;
inline constexpr int MAX_XML_ATTRIBUTES = 32;

// Reads an artisan-list document into list, replacing what it held. The
// "artList" element is the document element when it has that name, else its
// first "artList" child; its children are the artisans, read by position
// ("artID" with six or seven children; products from the second child). A
// file declared ISO-8859-1 (or Latin-1, Windows-1252) is read as
// Windows-1252, which the older program wrote, and a bare "&" of its
// unescaped texts is taken as a character. False (list untouched) when there
// is no "artList" element; AppError (list untouched) when the document cannot
// be parsed, nests more than MAX_XML_DEPTH elements, gives an element more
// than MAX_XML_ATTRIBUTES attributes, declares entities or attributes in a
// document type, holds a character no
// report can hold, or a text a record could not store (the last two name the
// artisan or product and the field).
bool readArtListBytes(TArtList& list, const QByteArray& bytes);
// readArtListBytes of the file at path; AppError when it cannot be read.
bool readArtListFile(TArtList& list, const QString& path);
