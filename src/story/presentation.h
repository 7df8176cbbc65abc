#pragma once

#include "core/state.h"

#include <QString>

struct Game;
class QTimer;

// Turns a script line into the name box (nameText) and the text box
// (currentText): typed one UTF-16 unit per tick, or shown whole at once.
namespace story {

using TypingState = core::TypingState;

TypingState &typing();

// The one typing timer, created on first use and kept for the run.
QTimer *typeTimer();

// int(50 / (Vzi + 0.0001)) ms per character: 49 at 1.0, 99 at 0.5; never more
// than 1000, so even the slowest speed finishes a line.
int typingInterval(float vzi);

void typeLine(Game &game, int n);
void typeTick(Game &game);

// Shows the line being typed whole and ends its typing as the last tick would
// (a question line then offers its answers).
void finishTyping(Game &game);
void showViewLine(Game &game);

// The text box shows an earlier line, paged back to; a question's answers
// wait meanwhile (published as readingBack).
bool readingBack();

// Back from paging to the line the story stands on, as paging forward would come.
void showCurrentLine(Game &game);

// The line in the text box again, in the script now chosen: a line still
// typing goes on from where it was. Nothing when the box shows no script line.
void reshowLine(Game &game);

} // namespace story
