#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// The one way the game reads and rewrites its own files. A file that is there
// but cannot be read is told apart from a missing one, so that nothing is ever
// written over what could not be read; only regular files are read, so a pipe
// or a device in a file's place never blocks or floods the game; every rewrite
// reaches the disk whole or leaves the old file as it was.
namespace core {

// Far above any real size: the script is about 100 KB, the others a few KB.
inline constexpr qint64 kSmallFileCap = 1 << 20;
inline constexpr qint64 kScriptCap = 16 << 20;

enum class FileState {
    Missing,    // nothing there (a dangling link counts as missing)
    Read,       // a regular file, read
    NotRegular, // a directory, pipe, device or socket
    Unreadable, // there, but it cannot be opened or read
};

// Missing or readable: a reader may go on with it, and a writer write over it.
inline bool usable(FileState state)
{
    return state == FileState::Missing || state == FileState::Read;
}

struct FileRead {
    FileState state = FileState::Missing;
    QByteArray bytes;       // without a leading UTF-8 byte-order mark
    bool truncated = false; // longer than the cap: only the cap was read
    bool ok() const { return state == FileState::Read; }
    bool usable() const { return core::usable(state); }
    // What may be written over: a file read only in part is not, as one that
    // could not be read is not; what the rest held would be lost.
    bool writable() const { return usable() && !truncated; }
};

// Reads a file whole, following links, up to cap bytes. Anything but a missing
// or readable regular file, and a file longer than cap, logs a warning naming
// the file, once while the trouble lasts.
// quiet: the caller says what the trouble means in its own words.
FileRead readFile(const QString &path, qint64 cap = kSmallFileCap, bool quiet = false);

// Logs message about path unless it is the last one logged about it: the same
// trouble with the same file is told once while it lasts.
void warnOnce(const QString &path, const QString &message);

// Rewrites path in one piece: every byte is written and flushed before the new
// file takes the old one's place; otherwise the old file stays and *reason
// (when given) says why in the player's words ("磁盘空间不足", ...), for the
// caller's own warning. A link is never written through, nor is a file that is
// there but cannot be read or is not a regular file. The directory must exist.
bool writeFile(const QString &path, const QByteArray &bytes, QString *reason = nullptr);

// The same for content that a writer produces on the device (a picture).
bool writeFileWith(const QString &path, const std::function<bool(QIODevice &)> &fill, QString *reason = nullptr);

} // namespace core
