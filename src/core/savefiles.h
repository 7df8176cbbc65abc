#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The save files' names and the one way their lines are counted, shared by the
// controller's count and the save store, so the two never disagree.
namespace core {

inline const char *const kSaveLinesFile = "saves/save.txt";
inline const char *const kSaveMistakesFile = "saves/cuowu.txt";

// The file's lines, either line ending; empty lines count, nothing after a
// final line end. A missing file has none; ok (when given) says it opened.
QList<QByteArray> readSaveLines(const QString &path, bool *ok = nullptr);

// Slots are the lines of saves/save.txt.
int countSaveSlots();

} // namespace core
