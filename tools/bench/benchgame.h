#pragma once

// The game as start-up wires it (settings, controller, engine, the properties
// the pages read first), without start-up's scale factor or window.

#include "app/startup.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "settings/settings.h"

#include <QFile>
#include <QQmlApplicationEngine>

namespace bench {

// The settings file the benchmarks start from, in the current directory:
// a window, text speed 1, auto speed 0.5, no music.
inline void writeSettings()
{
    QFile settings(QStringLiteral("setting.txt"));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("0\n1\n0.5\n0\n");
}

// Handlers are left to the benchmark: some connect their own probes first.
struct WiredGame {
    settings::Settings settings;
    MainWindow controller{app::controllerStart(settings)};
    QQmlApplicationEngine engine;
    Game game;

    WiredGame()
    {
        settings.load();
        game.engine = &engine;
        game.controller = &controller;
        game.settings = &settings;
        controller.setVzi(1.0f);
        app::publishStartupProperties(game);
    }
};

} // namespace bench
