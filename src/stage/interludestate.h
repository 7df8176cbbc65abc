#pragma once

#include <QList>
#include <QVariantList>

class QTimer;

namespace stage {

// Everything the interlude step and the staging share. Map coordinates in
// pixels; velocities in pixels per 10 ms step. GUI thread only.
struct InterludeState {
    int sja1x = 90, sja1y = 310;       // player box, top-left
    float playerVx = 0, playerVy = 0;
    int sja2x = 20, sja2y = 310;       // companion box, top-left
    float companionVx = 0, companionVy = 0;
    int scrollX = 0;                   // 0 or negative, published as sjx
    int interludeMap = 0;              // 0 none, 1 first map, 2 second map
    int enemyCount = 0;                // live enemies
    QList<int> enemyPositions;         // x0, y0, x1, y1, ...
    QVariantList enemyMotion;          // vx0, vy0, ... read as floats; only grows between hits
    QList<int> enemySpawns;            // spawn record for the whole process
    float aimSlope = 0;
    int playerFiring = 0;
    int companionFiring = 0;
    int interludeReturnLine = 0;       // where a capture scene returns to
    int containerShown = 0;            // published as sjvisible
    int map1Shown = 0;                 // ditu1visible
    int map2Shown = 0;                 // ditu2visible
    qint64 stepsRun = 0;               // interlude steps since start-up
};

InterludeState &interlude();

// The repeating 10 ms timer of the interlude step; created by start-up.
QTimer *&interludeTimer();

} // namespace stage
