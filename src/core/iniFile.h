#pragma once
// The settings file: "[SECTION]" and "key=value" lines read and written with
// the rules of the platform's private profile files.

#include <QString>
#include <QStringList>
#include <functional>

// One INI file kept in memory; every write goes to the disk at once.
//
// Names of sections and keys match whatever their case; values are read with
// the blanks around them removed, without a pair of matching quotes around
// them, and cut to MaxValueLength characters. A key written for the first time
// goes at the end of its section, a new section at the end of the file; every
// other line is kept as it was.
//
// The file is Windows-1252 while every character of it has a byte there; a
// value that has none turns the whole file into UTF-8 marked by a byte-order
// mark, which is how it is recognised when read back (a file edited by hand
// in UTF-8 without the mark is recognised too, as it is valid UTF-8).
class TIniFile {
public:
    static constexpr int MaxValueLength = 2047;

    // Reads path when it exists; a missing or unreadable file is an empty one.
    explicit TIniFile(const QString& path);

    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key,
                       const QString& fallback) const;
    // Decimal, or hexadecimal after "0x"; anything else gives fallback.
    int readInteger(const QString& section, const QString& key, int fallback) const;
    // True for a non-zero integer.
    bool readBool(const QString& section, const QString& key, bool fallback) const;

    // A value that would not read back as it is (blanks around it, a pair of
    // quotes around it) is written inside one more pair of double quotes; a
    // line break in it becomes a blank. A refused write raises AppError
    // "Unable to write to <path>" and leaves the file and this object unchanged.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

    // Hook for tests: replaces the disk write (the bytes of the whole file).
    using Writer = std::function<void(const QString& path, const QByteArray& bytes)>;
    void setWriter(Writer writer) { m_writer = std::move(writer); }
    // Files being read beside the settings (the open database): a write never
    // replaces one of them, whatever link leads there.
    void setInputs(QStringList inputs) { m_inputs = std::move(inputs); }

private:
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;
    int sectionEnd(int sectionLine) const;
    QByteArray bytes() const;

    QString m_path;
    QStringList m_lines;
    QString m_eol = QStringLiteral("\r\n");
    Writer m_writer;
    QStringList m_inputs;
};
