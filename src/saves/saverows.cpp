#include "saves/saverows.h"

#include "core/game.h"
#include "core/textform.h"
#include "saves/slotcaptions.h"

SaveRows::SaveRows(const Game &game, QObject *parent) : QObject(parent), game(game) {}

QString SaveRows::caption(int slot) const
{
    return core::shown(saves::slotCaption(slot), game.textForm());
}

QString SaveRows::quickCaption() const
{
    return core::shown(saves::quickCaption(), game.textForm());
}
