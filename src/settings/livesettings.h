#pragma once

struct Game;

namespace settings {

// Attaches the settings handlers to the controller: quit, and what each
// request of the settings page does once game.settings (a settings::Settings)
// has taken it: the page's notice when the file missed the change, and the
// game's side of it (the music's volume, the speech, the interlude, the words
// on screen, a restart in the new display mode). A game without settings gets
// quit only.
void connectSettings(Game &game);

} // namespace settings
