#include "saves/saverows.h"

#include "core/textform.h"
#include "saves/slotcaptions.h"

QString SaveRows::caption(int slot) const
{
    return core::shown(saves::slotCaption(slot));
}

QString SaveRows::quickCaption() const
{
    return core::shown(saves::quickCaption());
}
