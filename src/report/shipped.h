#pragma once
// The style sheets and start page that travel inside the program, and their
// installation into the program's folders.

#include <QByteArray>
#include <QString>
#include <QStringList>

class AppState;

namespace shipped {

// Our copy of report.xsl, xData.xsl or index.htm; empty for any other name.
QByteArray file(const QString& name);

// Writes report.xsl into xmlDir, xData.xsl into progDir and index.htm into
// dataDir when the file is missing or is a copy an earlier version installed
// and nobody changed (a user's own is never replaced; folders are made as
// needed). Returns the paths written; kept receives each report.xsl that a
// user changed and that therefore still differs from ours. AppError when one
// cannot be written.
QStringList install(const AppState& st, QStringList* kept = nullptr);
// Says that the user's own style sheets at paths were kept as they are.
QString keptNotice(const QStringList& paths);

} // namespace shipped
