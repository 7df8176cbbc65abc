#pragma once

#include <QList>
#include <QString>

struct Game;

// What is on screen behind the text is decided here from the cursor alone:
// the script carries no markup for it. The slots persist across lines and
// stories, so a line that names only a background keeps the figures shown.
namespace stage {

struct StagingState {
    QString bcPath;                        // background or full-screen illustration
    QString a1Path;                        // layout 1: one figure, centre
    QString a2_1Path, a2_2Path;            // layout 2: left, right
    QString a3_1Path, a3_2Path, a3_3Path;  // layout 3: left, middle, right
    QString a1fPath;                       // layout 4: one figure, left
    QString a3_1fPath, a3_2fPath, a3_3fPath; // layout 5: left, middle, right
    int bVisible = 0;                      // background shown
    int figureLayout = 0;                  // 0 none, 1 to 5 as above
};

StagingState &staging();

// Applies the entry of the current line and publishes the scene. loadFlag 1
// (a loaded save) also restores the nearest earlier entry and the music.
void stageLine(Game &game, int loadFlag);

// Spawn points of a map's enemies, appended to the process-wide record as long
// as it is shorter than this map needs; returns the whole record.
QList<int> spawnEnemies(Game &game, int map);

} // namespace stage
