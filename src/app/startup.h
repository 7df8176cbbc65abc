#pragma once

#include <QString>
#include <QUrl>

struct Game;

// The whole run: settings, script, scale factor, application, controller,
// engine, music, wiring, page shell, event loop. Returns the process result.
int runGame(int argc, char **argv);

// The working directory as the pages expect it after "file:///".
QString exePathForPages();

// A local media file named relative to the working directory, whatever its case.
QUrl mediaUrl(const QString &relativePath);

// The player's volume for a setting from 0 to 1, truncated: 0.999 gives 99.
int volumePercent(float inliang);

// The context properties that the pages read before any handler has run.
void publishStartupProperties(Game &game);
void publishInterludeProperties(Game &game);

// Connects the handlers to the controller, the music player and the interlude timer.
void connectHandlers(Game &game);

// Makes the requested family resolve to an installed CJK face, so Latin and
// Chinese text share one font where Microsoft Yahei is not installed.
void substituteGameFont();
