#include "story/linecursor.h"

#include "core/game.h"
#include "core/state.h"
#include "stage/staging.h"
#include "story/backlog.h"
#include "story/choices.h"
#include "story/endings.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/readaloud.h"
#include "story/readlines.h"
#include "story/storystate.h"
#include "story/storyview.h"

#include <QTimer>

namespace story {

bool stepForward(Game &game, ShowLine show)
{
    StoryState &s = state();
    if (s.mistakePending) {
        typeLine(game, kMistakeLine);
        stage::stageLine(game, 0);
        s.mistakePending = false;
        return false;
    }
    if (isEndingLine(s.currentLine)) {
        const int ending = s.currentLine;
        stopSpeech(game);
        game.goToTitle();
        // After the title's reset, which takes any earlier card away.
        reachEnding(game, ending);
        return false;
    }
    if (s.interludeActive)
        return false;
    ++s.currentLine;
    s.viewLine = s.currentLine;
    if (show == ShowLine::Typed) {
        typeLine(game, s.currentLine);
    } else {
        // A line still typing from before would overwrite the one shown now.
        typeTimer()->stop();
        stopSpeech(game); // skipping reads nothing
        markLineRead(game, s.currentLine);
        recordShown(s.currentLine);
        showViewLine(game);
    }
    stage::stageLine(game, 0);
    return true;
}

void advanceLine(Game &game)
{
    if (isWaitingLine(state().currentLine)) {
        if (typeTimer()->isActive())
            finishTyping(game); // at a slow text speed the answers would be long in coming
    } else if (game.wholeLineFirst() && typeTimer()->isActive()) {
        finishTyping(game); // the player asked to read every line whole before it goes
    } else {
        stepForward(game, ShowLine::Typed);
    }
}

namespace {

// A line still typing would overwrite the browsed one at its next tick, so it
// stops here. Its end would have offered the answers; that happens now instead,
// or a question interrupted this way would wait for good.
void showBrowsedLine(Game &game)
{
    QTimer *timer = typeTimer();
    if (timer->isActive()) {
        timer->stop();
        if (isWaitingLine(state().currentLine))
            offerChoice(game);
    }
    showViewLine(game);
    speakLine(game, state().viewLine);
}

} // namespace

void browseHistory(Game &game, int step)
{
    StoryState &s = state();
    if (step == 1) {
        if (s.viewLine > 1) {
            --s.viewLine;
            showBrowsedLine(game);
        }
    } else if (step == -1) {
        if (s.viewLine < s.currentLine) {
            ++s.viewLine;
            showBrowsedLine(game);
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
    game.publish(prop::currentText, QString());
    game.publish(prop::nameText, QString());
    typing().line = 0;
    game.publish(prop::bVisible, false);
    game.publish(prop::daanvisible, false);
    game.publish(prop::shuruvisible, false);
    storyView().setEndingCard(QString());
    core::resetRun(game);
    s.mistakeCount = 0;
}

} // namespace story
