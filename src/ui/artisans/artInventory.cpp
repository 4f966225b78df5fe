// The artisans window's "Imprimer l'inventaire...": the shown artisan's
// products or every artisan's, as a PDF where the user wants it.

#include "ui/artisans/artFrm.h"

#include "boutique/appState.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/safeWrite.h"
#include "core/textUtil.h"
#include "report/inventory.h"
#include "ui/shell/main.h"

#include <QDir>

using namespace Qt::StringLiterals;

void TArtForm::printInventory(bool wholeShop)
{
    main.guarded([this, wholeShop] {
        storeShown();
        if (st.artList.isEmpty() || (!wholeShop && (st.curArtInd < 0 || st.curArtInd >= st.artList.count()))) {
            main.prompt().information(u"Aucun artisan à inventorier."_s);
            return;
        }
        const int artisan = wholeShop ? -1 : st.curArtInd;
        const QByteArray pdf = inventoryPdf(inventoryOf(st, artisan, todayStr()));
        const QString name = wholeShop ? u"inventaire.pdf"_s : u"inventaire-%1.pdf"_s.arg(st.artList.at(artisan).artNo);
        const QString path = main.prompt().saveFileAsked(u"Enregistrer l'inventaire"_s, st.xmlDir + name,
                                                        u"Documents PDF (*.pdf)"_s, u"pdf"_s);
        if (path.isEmpty())
            return;
        safeWriteFile(path, pdf, outputOptions(st));
        main.prompt().information(u"Inventaire enregistré dans %1"_s.arg(QDir::toNativeSeparators(path)));
    });
}
