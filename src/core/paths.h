#pragma once

#include <QString>
#include <QUrl>

// Every file the game uses is named relative to the working directory, which
// is also what the pages know as exePath.
namespace core {

// The data files are named as on a case-blind file system ("mp3/universe.mp3"
// and "mp3/Universe.mp3" are one file). Returns the relative path of the file
// that exists, whatever the case of each part; the path unchanged when none does.
QString resolvePath(const QString &relativePath);

// An installed game reads its story, pictures, music and icon from here when
// the working directory (the player's own folder) has none of its own.
void setShippedDataDir(const QString &dir);

// The working directory as the pages expect it after "file:///".
QString exePathForPages();

// A local media file named relative to the working directory, whatever its case.
QUrl mediaUrl(const QString &relativePath);

} // namespace core
