#pragma once

#include "core/state.h"

#include <QDateTime>
#include <QString>

struct Game;

// The player's saves: slot k is line k of saves/save.txt (the line to resume
// at), line k of saves/cuowu.txt (the mistakes made) and saves/k.png.
// Everything is re-read from the files on every call.
namespace saves {

using SaveStoreState = core::SaveStoreState;

SaveStoreState &store();

// The line a save at this cursor resumes at: a capture scene resumes where the
// interlude returns to, and an interlude map not yet won from its start.
int storedLine(int cursor, int returnLine);

struct Outcome {
    bool ok = false;
    QString notice; // what the player is told; empty when there is nothing to say
};

// Appends a slot. Both text lines or neither; the screenshot named by the slot.
Outcome saveSlot(Game &game);

// Restores the story from slot `position`; anything that cannot be a saved
// story is refused and nothing changes.
Outcome loadSlot(Game &game, int position);

// Puts the story at a saved line with its mistakes, as a load does: a fresh
// run, the line typed, the staging and music of that line.
void startFrom(Game &game, int line, int mistakeCount);

// The quick slot: saves/quick.txt ("line mistakes") and saves/quick.png, apart
// from the numbered slots, whose list and pairing it never touches. A quick
// save replaces the last one.
inline const char *const kQuickFile = "saves/quick.txt";
inline const char *const kQuickPicture = "saves/quick.png";
Outcome quickSave(Game &game);
// Loads the quick slot; unless confirmed, a story that has moved since the
// quick save is not left without asking (the page is asked to put the question).
Outcome quickLoad(Game &game, bool confirmed);
// The quick slot's line, 0 when there is none that loads.
int quickSaveLine();
// The quick slot's date and first words, as the load page shows them.
QString quickCaption();

// Removes slot `position` and moves the later screenshots down one number.
// A position that names no slot is refused before anything is touched.
Outcome dropSlot(Game &game, int position);

// What a row of the load page says about a slot under its name.
struct SlotDetails {
    QDateTime savedAt; // invalid when the screenshot is missing
    int line = 0;      // 0 when the saved line is not a number
    QString opening;   // first words of that line of the script
};
SlotDetails slotDetails(int position);
QString slotCaption(int position);

// Shows a word on the page after a save, load or delete ("已保存", or why not),
// and counts it, so the same word twice still shows twice.
void tellPlayer(Game &game, const QString &notice);

void connectSaves(Game &game);

} // namespace saves
