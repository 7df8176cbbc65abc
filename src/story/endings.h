#pragma once

#include "core/fileio.h"

#include <QList>
#include <QString>

struct Game;

// The endings a player has reached, kept across runs, and the card that
// names an ending when the story leaves it.
namespace story {

inline const char *const kEndingsFile = "saves/endings.txt";

// The script's own title of the ending on that line, from its closing
// "【结局·title】"; "结局 n" (n its place among the endings) when it has none.
QString endingTitle(int endingLine);

// Ending lines, one per file line. Missing: none yet. Anything that is not an
// ending line makes the whole file untrustworthy: none, with a warning.
// state (when given) says whether the record was there and could be read,
// truncated whether it was read only in part.
QList<int> readEndingsSeen(const QString &path = QString::fromLatin1(kEndingsFile), core::FileState *state = nullptr,
                           bool *truncated = nullptr);
// Written whole with what the record already holds (another copy of the game
// may have reached more since), sorted; merged (when given) gets that list.
// Never over a record that could not be read, or only in part.
bool writeEndingsSeen(const QList<int> &lines, const QString &path = QString::fromLatin1(kEndingsFile),
                      QList<int> *merged = nullptr);

// The endings the tally on the extras page offers, in story order: those a
// player can reach, and any other a loaded save has already led to.
QList<int> tallyEndingLines();

// Reads the file into the run and publishes what the extras page shows.
void loadEndingsSeen(Game &game);

// The story stepped past an ending's last line: remembered (written at once)
// and its card published for the title page.
void reachEnding(Game &game, int endingLine);

} // namespace story
