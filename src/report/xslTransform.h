#pragma once
// Our XML documents made into HTML pages through XSL style sheets (libxslt),
// since browsers no longer apply a style sheet to a local XML file.

#include "core/safeWrite.h"

#include <QByteArray>
#include <QString>

class AppState;

namespace xslt {

// The HTML that the style sheet xsl makes of the document xml. The document
// is read as the program writes it: Windows-1252 bytes whatever its
// declaration says. The style sheet may neither write files nor reach the
// network, nor include others; it may read no file but itself and the
// document (xslPath and xmlPath, when they are files). AppError with libxml's
// or libxslt's message when either does not parse or the transformation fails.
QByteArray transform(const QByteArray& xml, const QByteArray& xsl, const QString& xmlPath = {},
                     const QString& xslPath = {});

// The folders whose style sheets a page may go through: the program's own
// (its folder and export folder) and the user's data folder, as the program
// set them up; none for a tool that did not (only ours are used then).
QStringList trustedStyleDirs(const AppState& st);

// The style sheet a document names in its xml-stylesheet line ("" when none).
QString styleSheetHref(const QByteArray& xml);

// The page of the document at xmlPath, written beside it as the same name
// with ".html", through the style sheet the document names when that file
// exists in one of trustedDirs (the user's own), else through ours of the
// same name: a sheet planted beside a report folder is never used. Returns the
// page's path. A document that names none goes through defaultHref. AppError
// when reading, transforming or writing fails; a page already there is then
// left as it was.
// add.top goes right after the page's <body> tag, add.bottom before its
// </body> (HTML in UTF-8, as our style sheets write pages).
struct PageAdditions {
    QString top;
    QString bottom;
};
QString transformFile(const QString& xmlPath, const QStringList& trustedDirs,
                      const QString& defaultHref = {}, const SafeWriteOptions& write = {},
                      const PageAdditions& add = {});
// The same additions made to a page's bytes.
QByteArray addToPage(QByteArray page, const PageAdditions& add);

} // namespace xslt
