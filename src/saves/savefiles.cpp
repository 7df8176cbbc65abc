#include "saves/savefiles.h"

#include "core/paths.h"
#include "core/textlines.h"

#include <QString>

namespace saves {

bool SaveLists::readable() const
{
    return core::usable(linesState) && core::usable(mistakesState);
}

SaveLists readSaveLists()
{
    SaveLists lists;
    bool linesCut = false, mistakesCut = false;
    lists.lines = core::readTextLines(QString::fromLatin1(kSaveLinesFile), &lists.linesState, &linesCut);
    lists.mistakes = core::readTextLines(QString::fromLatin1(kSaveMistakesFile), &lists.mistakesState, &mistakesCut);
    lists.partial = linesCut || mistakesCut;
    return lists;
}

int countSaveSlots()
{
    const SaveLists lists = readSaveLists();
    return lists.readable() ? lists.lines.size() : 0;
}

QString saveListProblem()
{
    return readSaveLists().readable() ? QString() : QStringLiteral("存档列表无法读取");
}

} // namespace saves
