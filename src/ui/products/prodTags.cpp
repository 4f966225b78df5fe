// The products window's "Imprimer les étiquettes...": the dialog, then the
// PDF where the user wants it; the sheet layout chosen is kept for next time.

#include "ui/products/prodFrm.h"

#include "core/appState.h"
#include "core/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "report/priceTags.h"
#include "ui/shell/main.h"
#include "ui/tags/tagsDlg.h"

#include <QDir>
#include <QSpinBox>

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
        TTagsDlg dlg(key, st.artList.displayName(st.curArtInd), lastReceived, readTagLayout(st.iniPath), this);
        if (main.runModal(dlg) != QDialog::Accepted)
            return;
        const TagLayout layout = dlg.sheetLayout();
        const int start = dlg.startSpin->value() - 1;
        const QList<PriceTag> tags = tagsFor(st, dlg.choice(st.curArtInd, product));
        QString problem;
        const QByteArray pdf = tagsPdf(tags, layout, start, &problem);
        if (pdf.isEmpty()) {
            main.prompt().information(problem);
            return;
        }
        const QString path = main.prompt().saveFileAsked(u"Enregistrer les étiquettes"_s,
                                                        st.xmlDir + u"etiquettes.pdf"_s,
                                                        u"Documents PDF (*.pdf)"_s, u"pdf"_s);
        if (path.isEmpty())
            return;
        safeWriteFile(path, pdf, outputOptions(st));
        writeTagLayout(st.iniPath, layout);
        const qsizetype sheets = (start + tags.size() + layout.perSheet() - 1) / layout.perSheet();
        main.prompt().information(u"%1 étiquette(s) sur %2 feuille(s) enregistrées dans %3"_s.arg(tags.size())
                                      .arg(sheets)
                                      .arg(QDir::toNativeSeparators(path)));
    });
}
