#include "saves/savestore.h"

#include "core/game.h"
#include "core/mainwindow.h"
#include "saves/quickslot.h"
#include "saves/savefiles.h"
#include "saves/savepoint.h"
#include "saves/saveslots.h"

namespace saves {

void tellPlayer(Game &game, const QString &notice)
{
    if (notice.isEmpty())
        return;
    game.publish(prop::saveNotice, notice);
    game.publish(prop::saveNoticeCount, ++store().noticeCount);
}

void connectSaves(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    game.publish(prop::saveNotice, QString());
    store().noticeCount = 0;
    game.publish(prop::saveNoticeCount, store().noticeCount);
    c->setSaveCounter([g] {
        g->publish(prop::saveListProblem, saveListProblem());
        return countSaveSlots();
    });
    QObject::connect(c, &MainWindow::saveChanged, c, [g](int) { tellPlayer(*g, saveSlot(*g).notice); });
    QObject::connect(c, &MainWindow::Load, c, [g](int position) { tellPlayer(*g, loadSlot(*g, position).notice); });
    QObject::connect(c, &MainWindow::Drop, c, [g](int position) { tellPlayer(*g, dropSlot(*g, position).notice); });
    game.publish(prop::quickSaveLine, quickSaveLine());
    game.publish(prop::quickLoadAsks, store().quickLoadAsks);
    QObject::connect(c, &MainWindow::QuickSave, c, [g](int) { tellPlayer(*g, quickSave(*g).notice); });
    QObject::connect(c, &MainWindow::QuickLoad, c, [g](int confirmed) {
        tellPlayer(*g, quickLoad(*g, confirmed != 0).notice);
    });
}

} // namespace saves
