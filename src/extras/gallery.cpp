#include "extras/gallery.h"

#include "core/game.h"
#include "core/mainwindow.h"
#include "extras/unlockrecord.h"

namespace extras {

void refreshExtra(Game &game, int extrac)
{
    if (extrac == 0)
        return;
    // Memory can be ahead of the file only when a write failed, and the file
    // ahead of memory only when something else wrote it: either way the
    // higher value is what the player has seen.
    const float stored = readUnlockRecord();
    float &record = cgProgress();
    if (stored > record)
        record = stored;
    else if (record > stored)
        writeUnlockRecord(record);
    game.publish(prop::extra, record);
}

void connectExtras(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    QObject::connect(c, &MainWindow::Extra, c, [g](int extrac) { refreshExtra(*g, extrac); });
}

} // namespace extras
