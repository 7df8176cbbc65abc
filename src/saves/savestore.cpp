#include "saves/savestore.h"

#include "core/game.h"
#include "core/mainwindow.h"
#include "saves/quickslot.h"
#include "saves/savefiles.h"
#include "saves/savepoint.h"
#include "saves/savestate.h"
#include "saves/saveslots.h"

namespace saves {

void tellPlayer(const QString &notice)
{
    saveState().tell(notice);
}

void connectSaves(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    saveState().reset(game.settings);
    c->setSaveCounter([] {
        saveState().setListProblem(saveListProblem());
        return countSaveSlots();
    });
    QObject::connect(c, &MainWindow::saveChanged, c, [g](int) { tellPlayer(saveSlot(*g).notice); });
    QObject::connect(c, &MainWindow::Load, c, [g](int position) { tellPlayer(loadSlot(*g, position).notice); });
    QObject::connect(c, &MainWindow::Drop, c, [g](int position) { tellPlayer(dropSlot(*g, position).notice); });
    saveState().setQuickSaveLine(quickSaveLine());
    QObject::connect(c, &MainWindow::QuickSave, c, [g](int) {
        const Outcome saved = quickSave(*g);
        if (saved.ok)
            saveState().setQuickSaveLine(quickSaveLine());
        tellPlayer(saved.notice);
    });
    QObject::connect(c, &MainWindow::QuickLoad, c, [g](int confirmed) {
        const Outcome loaded = quickLoad(*g, confirmed != 0);
        if (loaded.asks)
            saveState().askQuickLoad();
        tellPlayer(loaded.notice);
    });
}

} // namespace saves
