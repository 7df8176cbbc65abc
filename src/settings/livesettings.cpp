#include "settings/livesettings.h"

#include "core/game.h"
#include "core/mainwindow.h"

namespace settings {

void connectSettings(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    QObject::connect(c, &MainWindow::exitChanged, c, [g](int value) {
        if (value == 1)
            g->quit();
    });
}

} // namespace settings
