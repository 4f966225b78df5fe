#pragma once
// The artisan-list XML document: written byte by byte in ISO-8859-1 with every
// text escaped, and read back through Qt's DOM, including the files of the
// older program (Windows-1252 bytes declared as ISO8859-1, texts unescaped).

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QString>

class TArtList;
class TArtisan;

// Element text and attribute values of the document: xmlEscape and
// xmlAttrEscape, the one rule of every XML we write.
QString xmlLeafText(const QString& text);
QString xmlAttrText(const QString& text);

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
void writeArtListXML(const TArtList& list, const QString& path, Contacts contacts = Contacts::Kept);
// The export's file name for a database file name: its first ".tlvdb" becomes
// ".xml"; a name without ".tlvdb" gets ".xml" appended (so the database file is
// never overwritten), and an empty name gives "artList.xml".
QString artListFileName(const QString& artFileName);

// Deeper nesting is refused by parseXMLDocument.
inline constexpr int MAX_XML_DEPTH = 64;

// Parses an XML file's bytes. A file declared ISO-8859-1 (or Latin-1,
// Windows-1252) is read as Windows-1252, which the older program wrote, and a
// bare "&" of its unescaped texts is taken as a character. A document that
// cannot be parsed, or nests more than MAX_XML_DEPTH elements, raises
// AppError with the reader's error.
void parseXMLDocument(const QByteArray& bytes, QDomDocument& doc);
// The "artList" element: the document element when it has that name, else its
// first "artList" child; null when there is none.
QDomElement artListElement(const QDomDocument& doc);
// Replaces list by the artisans of an "artList" element (children by position;
// "artID" with six or seven children; products from the second child).
void readArtListXML(TArtList& list, const QDomElement& artList);
// Reads the file at path into list. False (list untouched) when the document
// has no "artList" element; AppError (list untouched) when the file cannot be
// read or parsed, or when a text could not be stored in a record (the
// message names the artisan or product and the field).
bool readArtListFile(TArtList& list, const QString& path);
