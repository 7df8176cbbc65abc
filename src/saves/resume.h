#pragma once

struct Game;

// A display-mode change starts a new process: a small record carries the story
// across, read once by the new process and then deleted.
namespace saves {

inline const char *const kResumeFile = "saves/resume.txt";

// Where the player is: the page, the line, the mistakes, the interlude's tries.
bool writeResumeRecord(const Game &game);

// Puts the player back where the record says, and deletes it. A damaged
// record, or one older than a couple of minutes, is ignored with a warning.
// False when there was nothing to resume.
bool resumeFromRecord(Game &game);

} // namespace saves
