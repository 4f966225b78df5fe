#include "core/iniFile.h"

#include "core/appError.h"
#include "core/cp1252.h"
#include "core/sysCause.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"

#include <QFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool isComment(const QString& trimmedLine)
{
    return trimmedLine.startsWith(QLatin1Char(';')) || trimmedLine.startsWith(QLatin1Char('#'));
}

// The section name of a "[name]" line; null for any other line.
QString sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return QString();
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

bool isQuotePair(const QString& v)
{
    return v.size() >= 2 && v.front() == v.back() &&
           (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\''));
}

// What the file holds for value, so that reading gives value back.
QString storedForm(QString value)
{
    value.replace(u"\r\n"_s, u" "_s).replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (value.trimmed() != value || isQuotePair(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

} // namespace

TIniFile::TIniFile(const QString& path) : m_path(path)
{
    // A pipe or device would block the start-up: only a regular file is read.
    if (!notRegularFile(path).isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    QString text;
    if (data.startsWith(Utf8Bom)) {
        text = QString::fromUtf8(data.mid(Utf8Bom.size()));
    } else {
        // A file edited by hand may be UTF-8 without a mark; Windows-1252 text
        // with accents is practically never valid UTF-8.
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8(data);
        if (utf8.hasError())
            text = cp1252::decode(data);
    }
    if (text.isEmpty())
        return;
    if (!text.contains(u"\r\n"_s) && text.contains(QLatin1Char('\n')))
        m_eol = u"\n"_s;
    // A lone carriage return ends a line too, as the value writer assumes
    // (it turns line breaks inside a value into blanks).
    text.replace(u"\r\n"_s, u"\n"_s).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_lines = text.split(QLatin1Char('\n'));
    if (m_lines.last().isEmpty())
        m_lines.removeLast();
}

int TIniFile::findSection(const QString& section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString name = sectionName(m_lines.at(i));
        if (!name.isNull() && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TIniFile::sectionEnd(int sectionLine) const
{
    int i = sectionLine + 1;
    while (i < m_lines.size() && sectionName(m_lines.at(i)).isNull())
        ++i;
    return i;
}

int TIniFile::findKey(int sectionLine, const QString& key) const
{
    const int end = sectionEnd(sectionLine);
    for (int i = sectionLine + 1; i < end; ++i) {
        const QString& line = m_lines.at(i);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || isComment(line.trimmed()))
            continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TIniFile::readString(const QString& section, const QString& key,
                             const QString& fallback) const
{
    const int s = findSection(section);
    const int k = s < 0 ? -1 : findKey(s, key);
    if (k < 0)
        return fallback;
    const QString& line = m_lines.at(k);
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (isQuotePair(value))
        value = value.mid(1, value.size() - 2);
    return value.left(MaxValueLength);
}

int TIniFile::readInteger(const QString& section, const QString& key, int fallback) const
{
    const QString text = readString(section, key, QString());
    if (text.size() > 2 && text.front() == QLatin1Char('0') &&
        (text.at(1) == QLatin1Char('x') || text.at(1) == QLatin1Char('X'))) {
        bool ok = false;
        const uint value = text.mid(2).toUInt(&ok, 16);
        return ok ? int(value) : fallback;
    }
    int value = 0;
    return tryStrToInt(text, value) ? value : fallback;
}

bool TIniFile::readBool(const QString& section, const QString& key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

QByteArray TIniFile::bytes() const
{
    QString text;
    for (const QString& line : m_lines)
        text += line + m_eol;
    if (cp1252::fits(text)) {
        const QByteArray bytes = cp1252::encode(text);
        // Windows-1252 bytes that also read as UTF-8 ("Ã©") would come back
        // as other characters: such a file is written as marked UTF-8 too.
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString asUtf8 = utf8(bytes);
        if (utf8.hasError() || asUtf8 == text)
            return bytes;
    }
    return Utf8Bom + text.toUtf8();
}

void TIniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QStringList before = m_lines;
    const QString entry = key + QLatin1Char('=') + storedForm(value);
    const int s = findSection(section);
    if (s < 0) {
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(entry);
    } else if (const int k = findKey(s, key); k >= 0) {
        m_lines[k] = entry;
    } else {
        // After the section's last line that is not blank.
        int at = sectionEnd(s);
        while (at > s + 1 && m_lines.at(at - 1).trimmed().isEmpty())
            --at;
        m_lines.insert(at, entry);
    }
    try {
        if (m_writer)
            m_writer(m_path, bytes());
        else {
            SafeWriteOptions write;
            write.inputs = m_inputs;
            safeWriteFile(m_path, bytes(), write);
        }
    } catch (const AppError&) {
        m_lines = before;
        throw AppError(u"Unable to write to %1"_s.arg(m_path));
    }
}

void TIniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void TIniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? u"1"_s : u"0"_s);
}
