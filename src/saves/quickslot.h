#pragma once

#include "saves/savepoint.h"

struct Game;

// The quick slot: saves/quick.txt ("line mistakes") and saves/quick.png, apart
// from the numbered slots, whose list and pairing it never touches. A quick
// save replaces the last one.
namespace saves {

inline const char *const kQuickFile = "saves/quick.txt";
inline const char *const kQuickPicture = "saves/quick.png";

struct QuickRecord {
    bool ok = false; // a line of the script and a count a load accepts
    int line = 0;
    int mistakes = 0;
};

QuickRecord readQuickRecord();

Outcome quickSave(Game &game);
// Loads the quick slot; unless confirmed, a story that has moved since the
// quick save is not left without asking (the page is asked to put the question).
Outcome quickLoad(Game &game, bool confirmed);
// The quick slot's line, 0 when there is none that loads.
int quickSaveLine();

} // namespace saves
