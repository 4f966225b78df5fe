#pragma once
// The error every operation raises: it carries the exact text shown to the user.

#include <QByteArray>
#include <QString>
#include <exception>

class AppError : public std::exception {
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// An amount or a quantity beyond what the program can hold: the French text
// for the windows, an English one for tlvdb.
class RangeError : public AppError {
public:
    RangeError(QString french, QString english) : AppError(std::move(french)), m_english(std::move(english)) {}
    const QString& english() const noexcept { return m_english; }

private:
    QString m_english;
};

// A value stream or database file that cannot be read as the format says.
class ReadError : public AppError {
public:
    using AppError::AppError;
};
