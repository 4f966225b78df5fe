// The products window's "Imprimer les étiquettes...": the dialog, then the
// PDF where the user wants it; the sheet layout chosen is kept for next time.

#include "ui/products/prodFrm.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "report/priceTags.h"
#include "ui/shell/main.h"
#include "ui/tags/tagsDlg.h"

#include <QDir>
#include <QProgressDialog>
#include <QSpinBox>

#include <algorithm>
#include <climits>

using namespace Qt::StringLiterals;

void TProdForm::printTags()
{
    main.guarded([this] {
        storeShown();
        if (st.curArtInd < 0 || st.curArtInd >= st.artList.count()) {
            main.prompt().information(u"Choisissez d'abord un artisan."_s);
            return;
        }
        const TArtisan& a = st.artList.at(st.curArtInd);
        const int product = st.curProdInd >= 0 && st.curProdInd < a.products.count() ? st.curProdInd : -1;
        QString key;
        QDate lastReceived;
        if (product >= 0) {
            const TProduit& p = *a.products.ptrAt(product);
            key = a.artTag() + a.artNo + u'-' + p.prodNo;
            for (int i = 0; i < p.qntList.count(); ++i) {
                const QDate d = strToDate(p.qntList.at(i).date);
                if (d.isValid() && (!lastReceived.isValid() || d > lastReceived))
                    lastReceived = d;
            }
        }
        QString kept;
        const TagLayout saved = readTagLayout(st.iniPath, &kept);
        if (!kept.isEmpty())
            main.prompt().information(u"La feuille d'étiquettes enregistrée dans les réglages ne peut pas servir : "
                                      u"%1 La feuille par défaut est proposée."_s.arg(kept));
        TTagsDlg dlg(key, st.artList.displayName(st.curArtInd), lastReceived, saved, this);
        if (main.runModal(dlg) != QDialog::Accepted)
            return;
        const TagLayout layout = dlg.sheetLayout();
        const int start = dlg.startSpin->value() - 1;
        const QList<TagRun> runs = tagRunsFor(st, dlg.choice(st.curArtInd, product));
        if (const QString problem = tagsProblem(runs, layout, start); !problem.isEmpty()) {
            main.prompt().information(problem);
            return;
        }
        const QString path = main.prompt().saveFileAsked(u"Enregistrer les étiquettes"_s,
                                                        st.xmlDir + u"etiquettes.pdf"_s,
                                                        u"Documents PDF (*.pdf)"_s, u"pdf"_s);
        if (path.isEmpty())
            return;
        const qint64 count = tagCount(runs);
        const qint64 sheets = sheetCount(count, start, layout);
        // The sheets go to the file as they are drawn, the window telling how
        // far it got; "Annuler" leaves whatever file was there.
        QProgressDialog wait(u"Étiquettes..."_s, u"Annuler"_s, 0, int(std::min<qint64>(sheets, INT_MAX)), this);
        wait.setWindowModality(Qt::WindowModal);
        bool stopped = false;
        const TagProgress step = [&](qint64 done, qint64) {
            wait.setValue(int(std::min<qint64>(done, INT_MAX)));
            stopped = wait.wasCanceled();
            return !stopped;
        };
        try {
            safeWriteFile(path, [&](QIODevice& dev) {
                QString problem;
                if (!writeTagsPdf(dev, runs, layout, start, &problem, step))
                    throw AppError(stopped ? u"Annulé"_s : problem);
            }, outputOptions(st));
        } catch (const AppError&) {
            if (stopped)
                return;
            throw;
        }
        wait.reset();
        writeTagLayout(st.iniPath, layout);
        main.prompt().information(u"%1 étiquette(s) sur %2 feuille(s) enregistrées dans %3"_s.arg(count)
                                      .arg(sheets)
                                      .arg(QDir::toNativeSeparators(path)));
    });
}
