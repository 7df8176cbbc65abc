#pragma once

#include "core/state.h"

#include <QList>
#include <QString>

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

} // namespace stage
