#include "report/xslTransform.h"

#include "core/appError.h"
#include "core/cp1252.h"
#include "boutique/appState.h"
#include "core/safeWrite.h"
#include "core/sysCause.h"
#include "report/shipped.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
struct StyleFree {
    void operator()(xsltStylesheet* s) const { xsltFreeStylesheet(s); }
};
struct ContextFree {
    void operator()(xsltTransformContext* c) const { xsltFreeTransformContext(c); }
};
struct SecurityFree {
    void operator()(xsltSecurityPrefs* s) const { xsltFreeSecurityPrefs(s); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

// libxml and libxslt report through callbacks: the first message is kept
// for the user, nothing goes to stderr.
void keepStructured(void* sink, xmlErrorPtr error)
{
    auto* text = static_cast<QString*>(sink);
    if (!text->isEmpty() || !error || !error->message)
        return;
    *text = QString::fromUtf8(error->message).trimmed();
    if (error->line > 0)
        *text += u" (ligne %1)"_s.arg(error->line);
}

void keepGeneric(void* sink, const char* format, ...)
{
    auto* text = static_cast<QString*>(sink);
    char buf[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    if (text->size() < 400)
        *text += QString::fromUtf8(buf);
}

class ErrorCapture {
public:
    ErrorCapture()
    {
        xmlSetStructuredErrorFunc(&text, keepStructured);
        xmlSetGenericErrorFunc(&text, keepGeneric);
        xsltSetGenericErrorFunc(&text, keepGeneric);
    }
    ~ErrorCapture()
    {
        xmlSetStructuredErrorFunc(nullptr, nullptr);
        xmlSetGenericErrorFunc(nullptr, nullptr);
        xsltSetGenericErrorFunc(nullptr, nullptr);
    }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    [[noreturn]] void fail(const QString& what)
    {
        const QString detail = text.trimmed();
        throw AppError(detail.isEmpty() ? what : what + u" : "_s + detail);
    }

    QString text;
};

// What a transformation may read: only these files.
struct ReadAllowance {
    QByteArray xmlPath;
    QByteArray xslPath;
};

int checkRead(xsltSecurityPrefsPtr, xsltTransformContextPtr ctxt, const char* value)
{
    const auto* allow = ctxt ? static_cast<const ReadAllowance*>(ctxt->_private) : nullptr;
    if (!allow || !value)
        return 0;
    const QByteArray url(value);
    return (!allow->xmlPath.isEmpty() && url == allow->xmlPath)
        || (!allow->xslPath.isEmpty() && url == allow->xslPath);
}

// xsl:include and xsl:import would read other files while the sheet is
// compiled, before any transformation's rules apply: refused.
bool includesOthers(xmlDoc* styleDoc)
{
    const xmlNode* root = xmlDocGetRootElement(styleDoc);
    for (const xmlNode* n = root ? root->children : nullptr; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE || !n->ns || !xmlStrEqual(n->ns->href, XSLT_NAMESPACE))
            continue;
        if (xmlStrEqual(n->name, BAD_CAST "include") || xmlStrEqual(n->name, BAD_CAST "import"))
            return true;
    }
    return false;
}

QByteArray fileUrl(const QString& path)
{
    return path.isEmpty() ? QByteArray() : QFile::encodeName(QFileInfo(path).absoluteFilePath());
}

bool isInside(const QString& file, const QStringList& dirs)
{
    const QString folder = QFileInfo(QFileInfo(file).canonicalPath()).canonicalFilePath();
    if (folder.isEmpty())
        return false;
    for (const QString& d : dirs) {
        const QString trusted = QFileInfo(d).canonicalFilePath();
        if (!trusted.isEmpty() && trusted == folder)
            return true;
    }
    return false;
}

Doc parse(const QByteArray& bytes, const char* name, const char* encoding, int options)
{
    return Doc(xmlReadMemory(bytes.constData(), int(bytes.size()), name, encoding,
                             options | XML_PARSE_NONET));
}

} // namespace

namespace xslt {

QByteArray transform(const QByteArray& xml, const QByteArray& xsl, const QString& xmlPath,
                     const QString& xslPath)
{
    const ReadAllowance allow{fileUrl(xmlPath), fileUrl(xslPath)};
    xmlInitParser();
    ErrorCapture errors;

    // Our documents declare ISO-8859-1 over Windows-1252 bytes (the euro sign
    // and quotes of 0x80..0x9F): read them as such.
    const QByteArray utf8 = cp1252::decode(xml).toUtf8();
    Doc doc = parse(utf8, allow.xmlPath.isEmpty() ? "document.xml" : allow.xmlPath.constData(), "UTF-8",
                    XML_PARSE_IGNORE_ENC);
    if (!doc)
        errors.fail(u"Document XML illisible"_s);

    Doc styleDoc = parse(xsl, allow.xslPath.isEmpty() ? "style.xsl" : allow.xslPath.constData(), nullptr, 0);
    if (!styleDoc)
        errors.fail(u"Feuille de style illisible"_s);
    if (includesOthers(styleDoc.get()))
        throw AppError(u"Feuille de style refusée : elle inclut d'autres fichiers (xsl:include, xsl:import)."_s);
    std::unique_ptr<xsltStylesheet, StyleFree> style(xsltParseStylesheetDoc(styleDoc.get()));
    if (!style)
        errors.fail(u"Feuille de style invalide"_s);
    (void)styleDoc.release(); // the style sheet owns its document now

    std::unique_ptr<xsltSecurityPrefs, SecurityFree> security(xsltNewSecurityPrefs());
    for (xsltSecurityOption o : {XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
                                 XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
        xsltSetSecurityPrefs(security.get(), o, xsltSecurityForbid);
    std::unique_ptr<xsltTransformContext, ContextFree> ctxt(
        xsltNewTransformContext(style.get(), doc.get()));
    if (!ctxt)
        errors.fail(u"Transformation impossible"_s);
    xsltSetSecurityPrefs(security.get(), XSLT_SECPREF_READ_FILE, checkRead);
    ctxt->_private = const_cast<ReadAllowance*>(&allow);
    xsltSetCtxtSecurityPrefs(security.get(), ctxt.get());
    Doc result(xsltApplyStylesheetUser(style.get(), doc.get(), nullptr, nullptr, nullptr, ctxt.get()));
    if (!result || ctxt->state == XSLT_STATE_ERROR || ctxt->state == XSLT_STATE_STOPPED)
        errors.fail(u"Transformation impossible"_s);

    xmlChar* out = nullptr;
    int size = 0;
    if (xsltSaveResultToString(&out, &size, result.get(), style.get()) != 0)
        errors.fail(u"Transformation impossible"_s);
    QByteArray html(reinterpret_cast<const char*>(out), size);
    xmlFree(out);
    return html;
}

QString styleSheetHref(const QByteArray& xml)
{
    static const QRegularExpression pi(uR"(<\?xml-stylesheet[^?>]*\bhref\s*=\s*["']([^"']*)["'])"_s);
    const QRegularExpressionMatch m = pi.match(QString::fromLatin1(xml.left(1024)));
    return m.hasMatch() ? m.captured(1) : QString();
}

QStringList trustedStyleDirs(const AppState& st)
{
    if (st.progDir.isEmpty())
        return {};
    QStringList dirs{st.progDir};
    for (const QString& d : {st.xmlDir, st.dataDir})
        if (!d.isEmpty())
            dirs << d;
    return dirs;
}

QByteArray addToPage(QByteArray page, const PageAdditions& add)
{
    if (!add.bottom.isEmpty()) {
        const qsizetype end = page.lastIndexOf("</body>");
        page.insert(end >= 0 ? end : page.size(), add.bottom.toUtf8());
    }
    if (!add.top.isEmpty()) {
        const qsizetype body = page.indexOf("<body");
        const qsizetype open = body >= 0 ? page.indexOf('>', body) : -1;
        page.insert(open >= 0 ? open + 1 : 0, add.top.toUtf8());
    }
    return page;
}

QString transformFile(const QString& xmlPath, const QStringList& trustedDirs, const QString& defaultHref,
                      const SafeWriteOptions& write, const PageAdditions& add)
{
    QFile in(xmlPath);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(u"Impossible d'ouvrir le fichier « %1 ». %2"_s.arg(
            QDir::toNativeSeparators(xmlPath), in.errorString()));
    const QByteArray xml = in.readAll();
    const QFileInfo info(xmlPath);

    QString href = styleSheetHref(xml);
    if (href.isEmpty())
        href = defaultHref;
    QByteArray xsl;
    QString xslPath;
    if (!href.isEmpty() && !href.contains(u':')) {
        const QString candidate = info.dir().filePath(href);
        QFile own(candidate);
        if (isInside(candidate, trustedDirs) && notRegularFile(candidate).isEmpty()
            && own.open(QIODevice::ReadOnly)) {
            xsl = own.readAll();
            xslPath = candidate;
        }
    }
    if (xsl.isEmpty()) {
        xsl = shipped::file(QFileInfo(href).fileName());
        xslPath.clear();
    }
    if (xsl.isEmpty())
        throw AppError(u"Aucune feuille de style pour \"%1\"."_s.arg(QDir::toNativeSeparators(xmlPath)));

    const QString htmlPath = info.dir().filePath(info.completeBaseName() + u".html"_s);
    safeWriteFile(htmlPath, addToPage(transform(xml, xsl, xmlPath, xslPath), add), write);
    return htmlPath;
}

} // namespace xslt
