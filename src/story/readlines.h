#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QString>

struct Game;

// Which script lines this player has been shown, in any run, so skipping can
// stop where new text begins. Kept in a small file in saves/, written whole.
namespace story {

inline const char *const kReadLinesFile = "saves/read.dat";

// The file: the header line "solvane-read 1 <bits> <crc16>" and then the bits,
// line n at bit n, eight to a byte. What does not match its own header
// (cut short, overwritten, another format) is damaged.
QByteArray readLinesFileContent(const QBitArray &bits);
// False when damaged; bits then empty.
bool parseReadLinesFile(const QByteArray &content, QBitArray *bits);

// Reads the file at start; a damaged one starts empty, with a warning.
void loadReadLines(const QString &path = QString::fromLatin1(kReadLinesFile));
// Writes now if anything changed since the last write.
bool saveReadLines(const QString &path = QString::fromLatin1(kReadLinesFile));

bool isLineRead(int line);
// Remembers the line as shown; the file follows a second later, or sooner at
// the title and on quitting.
void markLineRead(Game &game, int line);

// Connects the writes at the title, on quitting and at the end of the run.
void connectReadLines(Game &game);

} // namespace story
