#include "ui/shell/artisanCommands.h"

#include "boutique/appState.h"
#include "boutique/artisanState.h"
#include "core/prompt.h"
#include "model/artNumbers.h"
#include "model/uArt.h"
#include "ui/artisans/artFrm.h"
#include "ui/shell/main.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
QAction* action(QObject* parent, const char* name, const QString& text, const QKeySequence& key = {})
{
    auto* a = new QAction(text, parent);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    return a;
}
} // namespace

TArtisanCommands::TArtisanCommands(TmainForm& mainForm) : QObject(&mainForm), main(mainForm)
{
    setObjectName(u"artisanCommands"_s);
    // Ctrl+PageUp/PageDown as between a browser's tabs; plain PageUp/PageDown
    // and Ctrl+arrows stay with the lists and fields.
    aPrevArt = action(&main, "aPrevArt", u"Artisan précédent"_s, QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    aNextArt = action(&main, "aNextArt", u"Artisan suivant"_s, QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    aAddArt = action(&main, "aAddArt", u"Nouvel artisan"_s, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    aDelArt = action(&main, "aDelArt", u"Supprimer l'artisan..."_s);

    auto* menu = new QMenu(u"&Artisans"_s, &main);
    menu->setObjectName(u"ArtMenu"_s);
    menu->addAction(aPrevArt);
    menu->addAction(aNextArt);
    menu->addSeparator();
    menu->addAction(aAddArt);
    menu->addAction(aDelArt);
    main.menuBar()->insertMenu(main.helpMenu->menuAction(), menu);

    // The green bar's buttons do the moving and the adding, so that keys,
    // menu and buttons act alike.
    connect(aPrevArt, &QAction::triggered, main.prevBtn, &QToolButton::click);
    connect(aNextArt, &QAction::triggered, main.nextBtn, &QToolButton::click);
    connect(aAddArt, &QAction::triggered, main.addRecBtn, &QToolButton::click);
    connect(aDelArt, &QAction::triggered, this, [this] { main.guarded([this] { removeShown(); }); });
    connect(&main, &TmainForm::pageShown, this, &TArtisanCommands::followPage);
    followPage();
}

void TArtisanCommands::followPage()
{
    // The sales side names no artisan to move to, add or remove.
    const bool artisanSide = main.curPage != 1;
    for (QAction* a : {aPrevArt, aNextArt, aAddArt, aDelArt})
        a->setEnabled(artisanSide);
}

void TArtisanCommands::removeShown()
{
    AppState& st = main.state();
    main.storeShown();
    const int index = st.curArtInd;
    if (index < 0 || index >= st.artList.count())
        return;
    if (const QString kept = artisanKept(st, index); !kept.isEmpty()) {
        main.prompt().information(kept);
        return;
    }
    const int products = st.artList.at(index).products.count();
    const QString withThem = products == 0 ? QString()
                             : products == 1 ? u" Son produit (sans quantités) est supprimé avec lui."_s
                                             : u" Ses %1 produits (sans quantités) sont supprimés avec lui."_s.arg(products);
    if (main.prompt().question(u"Supprimer l'artisan %1 ?"_s.arg(st.artList.displayName(index)) + withThem)
        != Prompt::Answer::Yes)
        return;
    main.doc().removeArtisan(index);
    // The window shows the artisan now in its place; nothing of the removed
    // one is stored again.
    main.artForm->rebuildLists();
    main.artForm->fillGrid();
    main.showCurrentArtisan();
}
