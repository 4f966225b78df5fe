#include "report/tagsCommand.h"

#include "core/appError.h"
#include "core/appPaths.h"
#include "core/appState.h"
#include "core/safeWrite.h"
#include "core/settings.h"
#include "core/sysCause.h"
#include "core/textUtil.h"
#include "export/tlvdbTool.h"
#include "report/priceTags.h"

#include <QCoreApplication>
#include <QDate>
#include <QMap>

using namespace Qt::StringLiterals;

namespace {

QByteArray line(const QString& text)
{
    return text.toUtf8() + '\n';
}

int fail(QByteArray& err, const QString& message, int rc = ExitUsage)
{
    err += line(u"tlvdb: "_s + message);
    return rc;
}

int runTags(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err)
{
    QStringList plain;
    QMap<QString, QString> flags;
    for (const QString& a : args) {
        if (!a.startsWith(u"--"_s)) {
            plain << a;
            continue;
        }
        const qsizetype eq = a.indexOf(u'=');
        const QString name = a.mid(2, eq < 0 ? -1 : eq - 2);
        static const QStringList known{u"settings"_s, u"preset"_s, u"layout"_s, u"start"_s, u"copies"_s, u"date"_s};
        if (eq < 0 || !known.contains(name))
            return fail(err, u"unknown option \"%1\""_s.arg(a));
        flags.insert(name, a.mid(eq + 1));
    }
    if (plain.size() < 2 || plain.size() > 4)
        return fail(err, u"tags needs FILE OUTPDF [ARTNO [PRODNO]]"_s);

    // The layout and the boutique's name come from the program's settings file.
    if (!flags.contains(u"settings"_s))
        setupStartPaths(st, QCoreApplication::applicationDirPath(), QDate::currentDate());
    const QString ini = flags.value(u"settings"_s, st.iniPath);
    // A pipe or device would block the read, or give settings nobody wrote.
    if (const QString why = notRegularFile(ini); !why.isEmpty())
        return fail(err, u"%1: %2"_s.arg(ini, why));
    readSettings(ini, st);
    TagLayout layout = readTagLayout(ini);
    if (flags.contains(u"preset"_s)) {
        const QList<TagPreset> presets = tagPresets();
        const int n = flags.value(u"preset"_s).toInt();
        if (n < 1 || n > presets.size())
            return fail(err, u"--preset must be 1 to %1"_s.arg(presets.size()));
        layout = presets.at(n - 1).layout;
    }
    if (flags.contains(u"layout"_s)) {
        bool ok = false;
        layout = TagLayout::fromText(flags.value(u"layout"_s), &ok);
        if (!ok)
            return fail(err, u"--layout wants PAGEW;PAGEH;LABELW;LABELH;COLUMNS;ROWS;LEFT;TOP;HGAP;VGAP (mm) that fit"_s);
    }
    TagChoice choice;
    bool ok = true;
    const int start = flags.value(u"start"_s, u"1"_s).toInt(&ok);
    if (!ok)
        return fail(err, u"--start wants a number"_s);
    choice.copies = flags.value(u"copies"_s, u"0"_s).toInt(&ok);
    if (!ok || choice.copies < 0)
        return fail(err, u"--copies wants a number"_s);
    choice.receivedOn = flags.value(u"date"_s);
    if (!choice.receivedOn.isEmpty() && !strToDate(choice.receivedOn).isValid())
        return fail(err, u"--date wants yymmdd"_s);
    if (plain.size() > 2) {
        choice.artisan = st.artList.indexOfArtNo(plain.at(2));
        if (choice.artisan < 0)
            return fail(err, u"no artisan numbered \"%1\""_s.arg(plain.at(2)), ExitFailed);
    }
    if (plain.size() > 3) {
        const QStringList numbers = st.artList.at(choice.artisan).products.prodNumbers();
        choice.product = int(numbers.indexOf(plain.at(3)));
        if (choice.product < 0)
            return fail(err, u"no product numbered \"%1\""_s.arg(plain.at(3)), ExitFailed);
    }
    // Neither the database nor the settings read are ever replaced by the tags.
    const QStringList inputs{args.at(0), ini};
    if (const QString why = outputRefusedText(plain.at(1), inputs); !why.isEmpty())
        return fail(err, why, ExitFailed);
    const QList<PriceTag> tags = tagsFor(st, choice);
    QString problem;
    const QByteArray pdf = tagsPdf(tags, layout, start - 1, &problem);
    if (pdf.isEmpty())
        return fail(err, problem, ExitFailed);
    try {
        SafeWriteOptions write;
        write.inputs = inputs;
        safeWriteFile(plain.at(1), pdf, write);
    } catch (const AppError& e) {
        return fail(err, e.message(), ExitFailed);
    }
    out += line(u"%1 tags, %2 sheet(s): %3"_s.arg(tags.size())
                    .arg((start - 1 + tags.size() + layout.perSheet() - 1) / layout.perSheet())
                    .arg(plain.at(1)));
    return ExitOk;
}

} // namespace

TlvdbCommand tlvdbTagsCommand()
{
    return {u"tags"_s, 2, 10,
            "       tlvdb tags FILE OUTPDF [ARTNO [PRODNO]] [--preset=N] [--layout=L] [--start=N]\n"
            "                  [--copies=N] [--date=yymmdd] [--settings=INI]\n"
            "                                       price tags with barcodes: one per unit received\n"
            "                                       (or --copies each), on the settings' sheet layout\n",
            runTags};
}
