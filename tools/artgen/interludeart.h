#pragma once
#include <QImage>
#include <QStringList>

// The interludes' pictures: each map in tiles 500 wide, a picture for every
// shape the page lays over a map (in that shape's size), the two figures'
// frames, the enemy's other frames, the burst of a hit and the great Watcher.
QStringList interludeArtNames();
QImage drawInterludeArt(const QString &name);
