#pragma once

struct Game;

// The story's handlers on the controller's signals. Who may move the line
// cursor: the forward step and browsing (linecursor), the player's answers (answers),
// the staging's return lines, the interlude's captures and loading a save.
namespace story {

// Forward step, new story, auto and skip, wheel browsing, answers.
void connectStory(Game &game);

} // namespace story
