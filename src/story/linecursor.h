#pragma once

struct Game;

// Moving through the story: the forward step, browsing with the wheel, and
// the reset that starts a new story.
namespace story {

// One forward step; first match wins: a waiting line holds (a question still
// typing is shown whole with its answers), a pending mistake
// shows the mistake line, an ending returns to the title, the interlude holds,
// otherwise the next line is typed and staged.
void advanceLine(Game &game);

enum class ShowLine { Typed, Whole };

// The forward step after the waiting-line check, shared with auto and skip;
// skipping shows the next line whole. True when the cursor moved on.
bool stepForward(Game &game, ShowLine show);

// +1 back one line, -1 forward (a forward step at the newest line), 0 nothing.
void browseHistory(Game &game, int step);

// Back to before line 1, with a fresh run (no lock, no pending mistake, the
// interlude running); viewLine stays until the first step.
void resetStory(Game &game);

} // namespace story
