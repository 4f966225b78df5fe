#pragma once
// The causes of failed file operations told in French: the platform's own
// texts are English ("No space left on device") or, through Qt, often just
// "Unknown error".

#include <QString>

class QFileDevice;

// The French text for errno value err; for a value without one, fallback
// (or the platform's text when fallback is empty).
QString systemCause(int err, const QString& fallback = {});

// The cause of file's last failure: errno as the failing call left it when it
// names a file-system cause, else the device's own text.
QString deviceCause(const QFileDevice& file, int err);

// Why path cannot be opened as a data file (database, list, settings) though
// it exists: a folder, a named pipe, a device or a socket would block or
// mislead a reader. Empty for a regular file or a missing one.
QString notRegularFile(const QString& path);
