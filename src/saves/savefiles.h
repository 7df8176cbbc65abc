#pragma once

// The save files' names and the one way their slots are counted, shared by the
// controller's count and the save store, so the two never disagree.
namespace saves {

inline const char *const kSaveLinesFile = "saves/save.txt";
inline const char *const kSaveMistakesFile = "saves/cuowu.txt";

// Slots are the lines of saves/save.txt, empty ones included.
int countSaveSlots();

} // namespace saves
