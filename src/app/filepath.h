#pragma once

#include <QString>

// The data files are named as on a case-blind file system ("mp3/universe.mp3"
// and "mp3/Universe.mp3" are one file). Returns the relative path of the file
// that exists, whatever the case of each part; the path unchanged when none does.
QString resolvePath(const QString &relativePath);

#include <QByteArray>
#include <QList>

// Lines as a text-mode stream reads them: split at LF, a CR before the LF
// dropped, a last line without LF still a line, no empty line after a final LF.
QList<QByteArray> splitTextLines(const QByteArray &content);
