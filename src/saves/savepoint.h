#pragma once

#include "core/state.h"

#include <QImage>
#include <QString>

struct Game;

// What the numbered slots and the quick slot share: the line a save stores,
// the picture it takes, what the player is told, and the story a load starts.
namespace saves {

// No save holds more wrong answers than this; a larger count is damage.
constexpr int kMostMistakes = 999;

// The line a save at this cursor resumes at: a capture scene resumes where the
// interlude returns to, and an interlude map not yet won from its start.
int storedLine(int cursor, int returnLine);

struct Outcome {
    bool ok = false;
    QString notice; // what the player is told; empty when there is nothing to say
    bool asks = false; // nothing done: the player is asked first
};

inline Outcome failed(const QString &notice)
{
    return Outcome{false, notice};
}

// The line a save here would store, or 0 with the refusal to give.
int lineToSave(Outcome *refusal);

// The window as the saved line shows it.
QImage grabResumedLine(Game &game);

// Puts the story at a saved line with its mistakes, as a load does: a fresh
// run, the line typed, the staging and music of that line.
void startFrom(Game &game, int line, int mistakeCount);

} // namespace saves
