#pragma once

#include <QString>

struct Game;

// The saves on the controller's signals: the numbered slots (saveslots.h) and
// the quick slot (quickslot.h), each telling the player how it went.
namespace saves {

// Shows a word on the page after a save, load or delete ("已保存", or why not);
// the same word twice shows twice.
void tellPlayer(const QString &notice);

void connectSaves(Game &game);

} // namespace saves
