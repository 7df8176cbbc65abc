#pragma once

#include "core/state.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QTimer;
struct Game;

// What is on screen behind the text is decided here from the cursor alone:
// the script carries no markup for it. The slots persist across lines and
// stories, so a line that names only a background keeps the figures shown.
namespace stage {

using StagingState = core::StagingState;

StagingState &staging();

// Applies the entry of the current line and publishes the scene. loadFlag 1
// (a loaded save) also restores the nearest earlier entry and the music.
void stageLine(Game &game, int loadFlag);

// Publishes once after ms, from a timer held in the slot, where a reset finds
// it; a new wait in the same slot replaces the one before. The timer goes with
// the engine, and publishes through the game itself, so a word it publishes is
// re-sent with the others when the script changes.
void publishLater(QPointer<QTimer> &slot, const Game &game, int ms, const std::function<void(const Game &)> &publishing);

} // namespace stage
