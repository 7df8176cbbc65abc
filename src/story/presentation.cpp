#include "story/presentation.h"

#include "core/game.h"
#include "story/backlog.h"
#include "story/choices.h"
#include "story/linetables.h"
#include "story/readaloud.h"
#include "story/readlines.h"
#include "story/storystate.h"
#include "story/storyview.h"

#include <QTimer>

#include <algorithm>

namespace story {

namespace {

// The ticks publish to the game that typed last, and only while its engine
// lives: the engine is the connection's context.
void tickFor(Game &game)
{
    QMetaObject::Connection &tick = typing().tick;
    QObject::disconnect(tick);
    QObject *context = game.lifetime();
    if (!context)
        return;
    Game *g = &game;
    tick = QObject::connect(typeTimer(), &QTimer::timeout, context, [g] { typeTick(*g); });
}

} // namespace

TypingState &typing()
{
    return core::process().typing;
}

QTimer *typeTimer()
{
    QPointer<QTimer> &timer = typing().timer;
    if (!timer)
        timer = new QTimer;
    return timer;
}

int typingInterval(float vzi)
{
    const double interval = 50.0 / (double(vzi) + 0.0001);
    return interval < 1000.0 ? int(interval) : 1000;
}

void typeLine(Game &game, int n)
{
    TypingState &t = typing();
    t.typingDone = false;
    QTimer *timer = typeTimer();
    timer->stop();
    tickFor(game);

    markLineRead(game, n);
    recordShown(n);
    t.line = n;
    const SpeakerSplit split = splitSpeaker(shownLineText(n, game.textForm()));
    t.fullText = split.text;
    t.typedText.clear();
    t.typedCount = 0;
    storyView().setLineComplete(false);
    game.publish(prop::nameText, speakerName(split.id));
    if (!t.fullText.isEmpty()) {
        t.typedText = t.fullText.left(1);
        t.typedCount = 1;
        game.publish(prop::currentText, t.typedText);
    }
    timer->start(typingInterval(game.textSpeed()));
    storyView().setReadingBack(false);
    speakLine(game, n);
}

namespace {

void endTyping(Game &game)
{
    typeTimer()->stop();
    typing().typingDone = true;
    storyView().setLineComplete(true);
    if (isWaitingLine(state().currentLine))
        offerChoice(game);
}

} // namespace

void typeTick(Game &game)
{
    TypingState &t = typing();
    if (t.typedCount >= t.fullText.size()) {
        endTyping(game);
        return;
    }
    t.typedText.append(t.fullText.at(t.typedCount));
    ++t.typedCount;
    game.publish(prop::currentText, t.typedText);
    game.clearComponentCache();
    t.typingDone = false;
}

void finishTyping(Game &game)
{
    TypingState &t = typing();
    if (t.typedCount < t.fullText.size()) {
        t.typedText = t.fullText;
        t.typedCount = t.fullText.size();
        game.publish(prop::currentText, t.typedText);
    }
    endTyping(game);
}

void showViewLine(Game &game)
{
    typing().typingDone = false;
    typing().line = state().viewLine;
    const SpeakerSplit split = splitSpeaker(shownLineText(state().viewLine, game.textForm()));
    game.publish(prop::nameText, speakerName(split.id));
    if (!split.text.isEmpty())
        game.publish(prop::currentText, split.text);
    storyView().setLineComplete(true);
    storyView().setReadingBack(readingBack());
}

bool readingBack()
{
    return typing().line == state().viewLine && state().viewLine < state().currentLine;
}

void showCurrentLine(Game &game)
{
    if (!readingBack())
        return;
    state().viewLine = state().currentLine;
    showViewLine(game);
}

void reshowLine(Game &game)
{
    TypingState &t = typing();
    if (t.line < 1)
        return;
    const SpeakerSplit split = splitSpeaker(shownLineText(t.line, game.textForm()));
    game.publish(prop::nameText, speakerName(split.id));
    if (typeTimer()->isActive()) {
        // Typing goes on from as far as it had come, in the new script.
        t.fullText = split.text;
        t.typedCount = std::min(t.typedCount, int(t.fullText.size()));
        t.typedText = t.fullText.left(t.typedCount);
        game.publish(prop::currentText, t.typedText);
    } else if (!split.text.isEmpty()) {
        game.publish(prop::currentText, split.text);
    }
}

} // namespace story
