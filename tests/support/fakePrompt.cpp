#include "support/fakePrompt.h"

void FakePrompt::information(const QString& text)
{
    informations << text;
    all << text;
}

void FakePrompt::error(const QString& text)
{
    errors << text;
    all << text;
}

Prompt::Answer FakePrompt::question(const QString& text, bool withCancel)
{
    questions << text;
    all << text;
    if (answers.isEmpty())
        return Answer::Yes;
    const Answer a = answers.takeFirst();
    return (a == Answer::Cancel && !withCancel) ? Answer::No : a;
}

bool FakePrompt::inputText(const QString& caption, const QString& label, QString& value)
{
    all << label;
    dialogCaptions << caption;
    if (inputs.isEmpty())
        return false;
    value = inputs.takeFirst();
    return true;
}

QString FakePrompt::openFileName(const QString& caption, const QString&, const QString&)
{
    dialogCaptions << caption;
    return openNames.isEmpty() ? QString() : openNames.takeFirst();
}

QString FakePrompt::saveFileName(const QString& caption, const QString&, const QString&,
                                 const QString& defaultSuffix)
{
    dialogCaptions << caption;
    if (saveNames.isEmpty())
        return {};
    QString name = saveNames.takeFirst();
    if (!defaultSuffix.isEmpty() && !name.section(QLatin1Char('/'), -1).contains(QLatin1Char('.')))
        name += QLatin1Char('.') + defaultSuffix;
    return name;
}

QString FakePrompt::folderName(const QString& caption, const QString&)
{
    dialogCaptions << caption;
    return folderNames.isEmpty() ? QString() : folderNames.takeFirst();
}

void FakePrompt::clear()
{
    *this = FakePrompt();
}

#if defined(__SANITIZE_ADDRESS__)
// The same D-Bus entry as tests/lsan.supp, for a test binary run by hand
// without CTest's LSAN_OPTIONS.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
#endif
