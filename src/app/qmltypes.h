#pragma once

namespace app {

// The game's own QML types (import Solvane 1.0): Input, the actions of the
// story page; InterludeView, the interlude's strip and what a capture shows;
// Saves, what the pages are told about the saves; and Story, how the story
// stands beyond its line and pictures. Done as the
// application starts; a program whose linker may leave this file out (one
// that links a static library) calls it before loading a page.
void registerQmlTypes();

} // namespace app
