#include "report/tagsCommand.h"

#include "core/appError.h"
#include "boutique/appPaths.h"
#include "boutique/appState.h"
#include "core/safeWrite.h"
#include "boutique/settings.h"
#include "core/sysCause.h"
#include "core/textUtil.h"
#include "export/tlvdbCommand.h"
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

// Runs of at least this many sheets say how far they got.
constexpr qint64 ProgressFrom = 50;

int runTags(const QStringList& args, AppState& st, QByteArray& out, QByteArray& err,
            const std::function<void(const QByteArray&)>& progress)
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
    QString kept;
    TagLayout layout = readTagLayout(ini, &kept);
    if (flags.contains(u"preset"_s)) {
        const QList<TagPreset> presets = tagPresets();
        const int n = flags.value(u"preset"_s).toInt();
        if (n < 1 || n > presets.size())
            return fail(err, u"--preset must be 1 to %1"_s.arg(presets.size()));
        layout = presets.at(n - 1).layout;
        kept.clear();
    }
    if (flags.contains(u"layout"_s)) {
        bool ok = false;
        QString why;
        layout = TagLayout::fromText(flags.value(u"layout"_s), &ok, &why);
        if (!ok)
            return fail(err, u"--layout wants PAGEW;PAGEH;LABELW;LABELH;COLUMNS;ROWS;LEFT;TOP;HGAP;VGAP "
                             u"(finite mm, positive sizes) that fit: %1"_s.arg(why));
        kept.clear();
    }
    // A sheet kept in the settings that cannot be printed is said, never
    // swapped silently for another.
    if (!kept.isEmpty())
        return fail(err, u"%1: [TAGS] layout= cannot be used (%2); give --preset or --layout"_s.arg(ini, kept));
    TagChoice choice;
    bool ok = true;
    const int start = flags.value(u"start"_s, u"1"_s).toInt(&ok);
    if (!ok || start < 1 || start > layout.perSheet())
        return fail(err, u"--start wants a label position from 1 to %1"_s.arg(layout.perSheet()));
    choice.copies = flags.value(u"copies"_s, u"0"_s).toInt(&ok);
    if (!ok || choice.copies < 0 || choice.copies > MaxCopies)
        return fail(err, u"--copies wants a number from 1 to %1 (0: one per unit received)"_s.arg(MaxCopies));
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
    const QList<TagRun> runs = tagRunsFor(st, choice);
    if (const QString problem = tagsProblem(runs, layout, start - 1); !problem.isEmpty())
        return fail(err, problem, ExitFailed);
    const qint64 count = tagCount(runs);
    const qint64 sheets = sheetCount(count, start - 1, layout);
    // The sheets go into the temporary file as they are drawn; a long run
    // says how far it got about every tenth of the way.
    qint64 told = 0;
    const TagProgress step = [&](qint64 done, qint64 total) {
        if (total >= ProgressFrom && done < total && done * 10 / total > told) {
            told = done * 10 / total;
            progress(u"tlvdb: tags: %1 of %2 sheets\n"_s.arg(done).arg(total).toUtf8());
        }
        return true;
    };
    try {
        SafeWriteOptions write;
        write.inputs = inputs;
        safeWriteFile(
            plain.at(1),
            [&](QIODevice& dev) {
                QString problem;
                if (!writeTagsPdf(dev, runs, layout, start - 1, &problem, step))
                    throw AppError(problem);
            },
            write);
    } catch (const AppError& e) {
        return fail(err, e.message(), ExitFailed);
    }
    out += line(u"%1 tags, %2 sheet(s): %3"_s.arg(count).arg(sheets).arg(plain.at(1)));
    return ExitOk;
}

} // namespace

TlvdbCommand tlvdbTagsCommand(const std::function<void(const QByteArray&)>& progress)
{
    return {u"tags"_s, 2, 10,
            "       tlvdb tags FILE OUTPDF [ARTNO [PRODNO]] [--preset=N] [--layout=L] [--start=N]\n"
            "                  [--copies=N] [--date=yymmdd] [--settings=INI]\n"
            "                                       price tags with barcodes: one per unit received\n"
            "                                       (or --copies each, 1 to 999), on the settings' sheet\n"
            "                                       layout; a long run tells its progress on stderr\n",
            [progress](const QStringList& args, AppState& st, QByteArray& out, QByteArray& err) {
                return runTags(args, st, out, err, progress);
            }};
}
