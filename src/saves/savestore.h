#pragma once

#include <QString>

struct Game;

// The saves on the controller's signals: the numbered slots (saveslots.h) and
// the quick slot (quickslot.h), each telling the player how it went.
namespace saves {

// Shows a word on the page after a save, load or delete ("已保存", or why not),
// and counts it, so the same word twice still shows twice.
void tellPlayer(Game &game, const QString &notice);

void connectSaves(Game &game);

} // namespace saves
