#pragma once

struct Game;

// The extras page's side of the unlock record.
namespace extras {

// On entry to the extras page (extrac 1): the record is the larger of the file
// and memory, published as the page property prop::extra. 0 does nothing.
void refreshExtra(Game &game, int extrac);

void connectExtras(Game &game);

} // namespace extras
