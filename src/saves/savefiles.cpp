#include "saves/savefiles.h"

#include "core/textlines.h"

#include <QString>

namespace saves {

int countSaveSlots()
{
    return core::readTextLines(QString::fromLatin1(kSaveLinesFile)).size();
}

} // namespace saves
