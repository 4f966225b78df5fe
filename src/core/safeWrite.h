#pragma once
// Writing a whole file so that it is either completely replaced or left as it
// was: the content goes to a temporary file in the same folder, which replaces
// the target only once it is complete and flushed.

#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;

// Writes data to path. On failure raises AppError with the platform's message
// and leaves any previous file at path intact.
void safeWriteFile(const QString& path, const QByteArray& data);

// As above, with the content written by produce into the device it is given;
// an AppError thrown by produce cancels the write and is raised again with the
// file name.
void safeWriteFile(const QString& path, const std::function<void(QIODevice&)>& produce);
