// "Envoyer par courriel": the statement of the period handed to the user's
// mail program through the desktop's standard mail command (xdg-email), with
// the PDF attached. A web mail handler may drop the attachment without a
// word, so the program always names the PDF and offers its folder.

#include "boutique/appState.h"
#include "core/prompt.h"
#include "ui/reports/repFrm.h"
#include "ui/shell/main.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

bool startXdgEmail(const QStringList& args)
{
    const QString tool = QStandardPaths::findExecutable(u"xdg-email"_s);
    return !tool.isEmpty() && QProcess::startDetached(tool, args);
}

} // namespace

void TrepForm::mailStatement()
{
    const QString path = writeStatement();
    if (path.isEmpty())
        return;
    const QFileInfo pdf(path);
    const QString folder = QDir::toNativeSeparators(pdf.absolutePath());
    const int a = st.artList.indexOfArtNo(shownArtNo);
    const QString address = a >= 0 ? st.artList.at(a).courriel.trimmed() : QString();
    const QString where = u"Le relevé %1 est dans le dossier %2"_s.arg(pdf.fileName(), folder);
    QString said;
    if (address.isEmpty()) {
        said = u"%1 n'a pas d'adresse de courriel (page Artisans, champ « Courriel »). %2 : imprimez-le ou "
               "remettez-le à l'artisan autrement."_s.arg(shownName, where);
    } else {
        const QString period = cListCB->currentText();
        const QString greeting = a >= 0 ? st.artList.at(a).prenom.trimmed() : QString();
        const QStringList args{
            u"--utf8"_s, u"--subject"_s, u"Relevé de consignation - %1 - %2"_s.arg(st.shopName, period), u"--body"_s,
            u"Bonjour %1,\n\nVoici votre relevé de consignation de %2 pour la période « %3 », en pièce jointe (%4).\n\n"
            "Merci,\n%2"_s.arg(greeting, st.shopName, period, pdf.fileName()),
            u"--attach"_s, pdf.absoluteFilePath(), address};
        const bool started = runMailer ? runMailer(args) : startXdgEmail(args);
        said = started ? u"Le message à %1 est prêt dans votre programme de courriel. %2 ; s'il n'est pas joint au "
                          "message (un courriel sur le Web peut l'omettre sans le dire), joignez-le vous-même."_s
                             .arg(address, where)
                       : u"Aucun programme de courriel n'a pu être ouvert sur cet ordinateur. %1 : envoyez-le à %2 "
                          "depuis votre courriel habituel."_s.arg(where, address);
    }
    if (main.prompt().question(said + u"\n\nOuvrir ce dossier ?"_s, false) == Prompt::Answer::Yes)
        openPage(pdf.absolutePath());
}
