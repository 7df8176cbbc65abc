#include "saves/saverows.h"

#include "saves/savestore.h"

QString SaveRows::caption(int slot) const
{
    return saves::slotCaption(slot);
}

QString SaveRows::quickCaption() const
{
    return saves::quickCaption();
}
