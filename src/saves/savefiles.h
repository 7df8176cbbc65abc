#pragma once

#include "core/fileio.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QImage;

// The save files' names, the one way their slots are counted and the one way
// each is written, shared by the controller's count and every kind of save, so
// none of them disagree.
namespace saves {

inline const char *const kSavesDir = "saves";
inline const char *const kSaveLinesFile = "saves/save.txt";
inline const char *const kSaveMistakesFile = "saves/cuowu.txt";

// Slot k's screenshot, saves/k.png, as an absolute path.
QString screenshotPath(int slot);

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

// In one piece or not at all: a crash or a full disk leaves the old file.
// Warns itself; reason (when given) says why in the player's words.
bool writeWhole(const QString &path, const QByteArray &content, QString *reason);

// A screenshot, written whole as a PNG without its alpha channel.
bool writeScreenshot(const QString &path, const QImage &image, QString *reason);

} // namespace saves
