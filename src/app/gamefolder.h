#pragma once

#include <QString>

// Which folder the game plays in. The game names every file relative to its
// working directory; on Windows that is the executable's own folder (a game
// unpacked from the zip keeps its saves beside it), or, for a game installed
// where players cannot write, the player's own folder under %APPDATA%, with the
// story, pictures and music still read from beside the executable.
namespace app {

// Marks an installed game: the installer puts this file beside the executable.
inline constexpr char kInstalledMarker[] = "installed";

// Enters the folder for the executable at exeDir; returns it. Makes the
// player's folder and seeds its settings on an installed game's first start.
// appDataDir: where the player's folders live (%APPDATA% on Windows).
QString enterGameFolder(const QString &exeDir, const QString &appDataDir);

// The same for this process (Windows only; elsewhere the launcher has done it).
void enterOwnGameFolder();

} // namespace app
