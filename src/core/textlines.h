#pragma once

#include "core/fileio.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace core {

// How the game ends the lines it writes: as the platform's own editor
// expects (Notepad on Windows). Either is read.
#ifdef _WIN32
inline constexpr char kLineEnd[] = "\r\n";
#else
inline constexpr char kLineEnd[] = "\n";
#endif

// Lines as a text-mode stream reads them: split at LF, a CR before the LF
// dropped, a last line without LF still a line, no empty line after a final LF.
QList<QByteArray> splitTextLines(const QByteArray &content);

// The lines of a file named relative to the working directory, split as
// above. A missing file, or one that cannot be read, has none; state (when
// given) tells which, and truncated (when given) that only the file's first
// part was read, so it must not be written over.
QList<QByteArray> readTextLines(const QString &path, FileState *state = nullptr, bool *truncated = nullptr);

} // namespace core
