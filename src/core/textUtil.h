#pragma once
// Shared text, number and date helpers: record strings, comma lists, integer
// reading, money display and "yymmdd" dates. Pure functions, no global state.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

// Separators of record strings. A field must never hold its record's separator.
inline const QString REC_SEP = QStringLiteral("|:|");  // artisans, sheets, periods
inline const QString PROD_SEP = QStringLiteral(":|:"); // products

// The text without the blanks (characters of code 0..32) around it.
QString trimBlanks(const QString& text);

// --- record strings ---------------------------------------------------------

// Returns the text before the first separator and removes it and the separator
// from rec; without a separator returns the whole of rec and leaves it as is.
QString takeField(QString& rec, const QString& sep);

// --- comma lists ------------------------------------------------------------

// Reads a comma list into its items (quoting rules of the program's comma lists).
QStringList readCommaList(const QString& text);
// Writes items as a comma list: items holding a comma, a quote or a character
// of code 1..32 are quoted with inner quotes doubled; one empty item is "".
QString writeCommaList(const QStringList& items);
// The items readCommaList(text) would give, as views into text (reading a
// row without making a text per item); an item holding a doubled quote is
// made into held, which the views then point into.
void commaViews(QStringView text, QVarLengthArray<QStringView, 8>& items, QStringList& held);
// Appends item as writeCommaList writes one of several items (quoted when
// it holds a comma, a quote or a blank).
void appendCommaItem(QString& out, QStringView item);

// The one rule for characters a report cannot hold (control characters but
// tab, line feed and carriage return; lone surrogates; U+FFFE, U+FFFF):
// empty when text has none, else the French message naming the first. Typed
// and imported texts are refused with it; reports show REPLACEMENT_CHAR.
QString reportCharProblem(const QString& text);
inline constexpr char16_t REPLACEMENT_CHAR = 0xFFFD;

// An index below zero raises AppError; one past the end returns the trimmed list.
QString getCommaItem(const QString& list, int index);
// An index below zero or past the end raises AppError.
void setCommaItem(QString& list, int index, const QString& value);
QString delCommaItem(const QString& list, int index);
int commaCount(const QString& list);
int commaIndexOf(const QString& list, const QString& item);
QString commaSum(const QString& list);
QString addCommaItem(const QString& item, const QString& list);
QString uniqueName(const QString& base, const QString& list);

// --- ordering ---------------------------------------------------------------

// Case-insensitive, accent-aware order used wherever the program sorts texts
// (the same on every machine, whatever its locale).
int compareText(const QString& a, const QString& b);
void sortTextList(QStringList& list);

// --- integers ---------------------------------------------------------------

// The one integer syntax of the program: surrounding blanks, an optional sign,
// decimal digits, fitting in 32 bits.
bool tryStrToInt(QStringView text, int& value);
// As tryStrToInt, but raises AppError "'%s' is not a valid integer value".
int strToInt(const QString& text);
int strToIntDef(QStringView text, int fallback);
// (a read as integer) - (b read as integer); a non-integer counts 0.
int compareNum(const QString& a, const QString& b);

// --- money and small texts --------------------------------------------------

// Parses text as an amount ("." only; invalid or empty is 0) and shows it as "0.00$".
QString formatMoney(const QString& text);
QString stripDollar(const QString& text);
QString twoDigits(int n);
// Language 1: French month name of month 1..12; otherwise text is left unchanged.
void monthName(int language, int month, QString& text);
QString cutAtDot(const QString& text);
QString dequote(const QString& text);
// A count with its noun as French writes it: the singular below two ("0 artisan",
// "1 artisan"), the plural from two on ("2 artisans").
QString countOf(qint64 n, const QString& one, const QString& many);

// --- dates ------------------------------------------------------------------

// "yymmdd" of a date, and of today.
QString dateStr(const QDate& date);
QString todayStr();
// The date of a "yymmdd" text (years 00..99 read as 2000..2099); invalid QDate
// when the text is not a valid date.
QDate strToDate(const QString& text);
// Whether text is a "yymmdd" day that exists.
bool isDay(const QString& text);
// "18 mai 2009" for "090518"; any other text comes back unchanged.
QString frenchDate(const QString& yymmdd);
