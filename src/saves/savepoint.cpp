#include "saves/savepoint.h"

#include "core/game.h"
#include "core/log.h"
#include "stage/stagetable.h"
#include "stage/staging.h"
#include "story/presentation.h"
#include "story/storystate.h"

#include <QtDebug>

namespace saves {

int storedLine(int cursor, int returnLine)
{
    const int line = (cursor >= 948 && cursor <= 966) ? returnLine : cursor;
    // A map half played starts again; one won is not played again.
    if (stage::inFirstMap(line))
        return 687;
    if (stage::inSecondMap(line))
        return 710;
    return line;
}

// Before the first line there is nothing a load could bring back, and a line
// outside the script (a capture scene returning nowhere) is one a load would
// call damaged.
int lineToSave(Outcome *refusal)
{
    const core::StoryState &story = core::process().story;
    const int line = storedLine(story.currentLine, core::process().interlude.interludeReturnLine);
    if (story.currentLine < 1) {
        qCWarning(lcSaves) << "故事尚未开始，不能存档";
        *refusal = failed(QStringLiteral("还没有可以保存的内容"));
        return 0;
    }
    if (line < 1 || line > story::scriptLines().size()) {
        qCWarning(lcSaves).noquote() << QStringLiteral("要保存的第 %1 行不在剧本中，不能存档").arg(line);
        *refusal = failed(QStringLiteral("保存失败：当前位置不在剧本中"));
        return 0;
    }
    return line;
}

// A player paging back is brought to the saved line first, or the picture
// would show an earlier line's words.
QImage grabResumedLine(Game &game)
{
    story::showCurrentLine(game);
    return game.grabWindow();
}

// The run is reset before staging, which sets the lock again when the saved
// line starts an interlude; nothing from where the player was stays.
void startFrom(Game &game, int line, int mistakeCount)
{
    core::resetRun(game);
    core::StoryState &story = core::process().story;
    story.currentLine = line;
    story.mistakeCount = mistakeCount;
    story.viewLine = line;
    story::typeLine(game, line);
    game.publishNull(prop::daanvisible);
    game.publishNull(prop::shuruvisible);
    stage::stageLine(game, 1);
}

} // namespace saves
