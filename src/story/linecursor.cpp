#include "story/linecursor.h"

#include "app/game.h"
#include "app/mainwindow.h"
#include "stage/staging.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/storystate.h"

namespace story {

void advanceLine(Game &game)
{
    StoryState &s = state();
    if (isWaitingLine(s.currentLine))
        return;
    if (s.mistakePending) {
        typeLine(game, kMistakeLine);
        stage::stageLine(game, 0);
        s.mistakePending = false;
        return;
    }
    if (isEndingLine(s.currentLine)) {
        if (game.controller)
            game.controller->navigateindex();
        return;
    }
    if (s.interludeActive)
        return;
    ++s.currentLine;
    s.viewLine = s.currentLine;
    typeLine(game, s.currentLine);
    stage::stageLine(game, 0);
}

void browseHistory(Game &game, int step)
{
    StoryState &s = state();
    if (step == 1) {
        if (s.viewLine > 1) {
            --s.viewLine;
            showViewLine(game);
        }
    } else if (step == -1) {
        if (s.viewLine < s.currentLine) {
            ++s.viewLine;
            showViewLine(game);
        } else {
            advanceLine(game);
        }
    }
}

void resetStory(Game &game)
{
    StoryState &s = state();
    s.currentLine = 0;
    game.clearComponentCache();
    game.publish("currentText", QString());
    game.publish("nameText", QString());
    game.publish("bVisible", false);
    game.publish("daanvisible", false);
    game.publish("shuruvisible", false);
    game.triesLeft = 3;
    game.playerCaught = 0;
    game.companionCaught = 0;
    s.mistakeCount = 0;
}

} // namespace story
