#pragma once

struct Game;

namespace settings {

// Attaches the settings handlers to the controller: quit, and the live
// settings and display mode of the settings page.
void connectSettings(Game &game);

} // namespace settings
