#pragma once

#include "core/mainwindow.h"

struct Game;
namespace settings {
class Settings;
}

namespace app {

// The whole run: settings, script, scale factor, application, controller,
// engine, music, wiring, page shell, event loop. Returns the process result.
int runGame(int argc, char **argv);

// What the controller starts from: the settings (their display mode and
// speeds) and the save slots on disk, which it logs.
MainWindow::StartValues controllerStart(settings::Settings &settings);

// The context properties that the pages read before any handler has run.
void publishStartupProperties(Game &game);
void publishInterludeProperties(Game &game);

// Each subsystem connects its handlers to the controller, the music player
// and the interlude timer.
void connectHandlers(Game &game);

// Qt Quick's software renderer where the machine has no GPU (unless
// QT_QUICK_BACKEND says otherwise); before the first window.
void chooseRenderer();

// Makes the requested family resolve to an installed CJK face, so Latin and
// Chinese text share one font where Microsoft Yahei is not installed.
void substituteGameFont();

} // namespace app
