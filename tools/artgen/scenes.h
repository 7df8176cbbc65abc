#pragma once
#include <QImage>
#include <QStringList>

// Base names (without ".png") of every background, illustration, page
// background and gallery copy the game loads, the interlude enemy included.
QStringList sceneNames();
// When a name is only a second file name for another picture (the gallery
// looks for "cg9-1" where the story shows "cg9 - 1"), the picture it copies;
// otherwise an empty string.
QString sceneAliasOf(const QString &name);
// Draws one picture, in twice the detail of its shown size: 720 x 480 for
// backgrounds and illustrations, 20 x 20 with transparency for "difang".
QImage drawScene(const QString &name);
// The interlude enemy in one of its frames: 0 standing (difang), 1 crouched,
// 2 leaping.
QImage enemySprite(int frame);
// The window icon at one of its sizes, transparent around the emblem.
QImage drawIcon(int size);
