#pragma once

#include "saves/savepoint.h"

struct Game;

// The numbered slots: slot k is line k of saves/save.txt (the line to resume
// at), line k of saves/cuowu.txt (the mistakes made) and saves/k.png.
// Everything is re-read from the files on every call.
namespace saves {

// Appends a slot. Both text lines or neither; the screenshot named by the slot.
Outcome saveSlot(Game &game);

// Restores the story from slot `position`; anything that cannot be a saved
// story is refused and nothing changes.
Outcome loadSlot(Game &game, int position);

// Removes slot `position` and moves the later screenshots down one number.
// A position that names no slot is refused before anything is touched.
Outcome dropSlot(Game &game, int position);

} // namespace saves
