#include "saves/rollback.h"

#include "core/interludeview.h"
#include "core/game.h"
#include "core/state.h"
#include "saves/savepoint.h"
#include "story/backlog.h"
#include "story/presentation.h"
#include "story/storystate.h"

#include <algorithm>

namespace saves {

bool returnToRow(Game &game, int row)
{
    if (!story::canReturnTo(row))
        return false;
    core::ProcessState &p = core::process();
    const int k = story::returnRow(row);
    const core::LinePlace place = p.shownPlaces.at(k);
    // Where a save made there would resume: a map half played starts again.
    const int line = storedLine(place.cursor, place.returnLine);
    if (line < 1 || line > story::scriptLines().size())
        return false;
    int keep = k;
    if (line != p.shownLines.at(k))
        keep = std::max(0, int(p.shownLines.lastIndexOf(line, k)));
    const QVector<int> lines = p.shownLines.mid(0, keep);
    const QVector<core::LinePlace> places = p.shownPlaces.mid(0, keep);

    startFrom(game, line, place.mistakes);
    core::InterludeState &in = p.interlude;
    in.triesLeft = place.triesLeft;
    in.playerCaught = place.playerCaught;
    in.companionCaught = place.companionCaught;
    in.interludeReturnLine = place.returnLine;
    core::interludeView().setTriesLeft(in.triesLeft);
    p.shownLines = lines + p.shownLines;
    p.shownPlaces = places + p.shownPlaces;
    story::publishBacklog();
    return true;
}

int viewedRow()
{
    const core::ProcessState &p = core::process();
    if (!story::readingBack())
        return -1;
    const int row = p.shownLines.lastIndexOf(p.story.viewLine);
    return story::canReturnTo(row) ? row : -1;
}

} // namespace saves

LineReturn::LineReturn(Game &game, QObject *parent) : QObject(parent), game(game) {}

bool LineReturn::returnTo(int row)
{
    return saves::returnToRow(game, row);
}
