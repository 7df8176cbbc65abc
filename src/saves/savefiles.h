#pragma once

#include "core/fileio.h"

#include <QByteArray>
#include <QList>

// The save files' names and the one way their slots are counted, shared by the
// controller's count and the save store, so the two never disagree.
namespace saves {

inline const char *const kSaveLinesFile = "saves/save.txt";
inline const char *const kSaveMistakesFile = "saves/cuowu.txt";

// Both lists as they stand. A list that is there but cannot be read is not
// empty: nothing may be written over it, and the player is told.
struct SaveLists {
    core::FileState linesState = core::FileState::Missing;
    core::FileState mistakesState = core::FileState::Missing;
    QList<QByteArray> lines;
    QList<QByteArray> mistakes;
    bool partial = false; // either list was read only in part: a load may use it, no write may replace it
    bool readable() const;
};

SaveLists readSaveLists();

// Slots are the lines of saves/save.txt, empty ones included; none when either
// list cannot be read.
int countSaveSlots();

// "存档列表无法读取" when either list is there but cannot be read, else empty.
QString saveListProblem();

} // namespace saves
