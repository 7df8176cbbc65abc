#include "story/presentation.h"

#include "app/game.h"
#include "story/choices.h"
#include "story/linetables.h"
#include "story/storystate.h"

#include <QRegularExpression>
#include <QTimer>

namespace story {

namespace {

// The game that the timer's ticks publish to: the one that typed last.
Game *typingGame = nullptr;

} // namespace

TypingState &typing()
{
    static TypingState s;
    return s;
}

QTimer *typeTimer()
{
    static QTimer *timer = nullptr;
    if (!timer) {
        timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [] {
            if (typingGame)
                typeTick(*typingGame);
        });
    }
    return timer;
}

int typingInterval(float vzi)
{
    return int(50.0 / (double(vzi) + 0.0001));
}

SpeakerSplit splitSpeaker(const QString &line)
{
    static const QRegularExpression tag(QStringLiteral("<(\\d+)>"));
    SpeakerSplit split;
    split.text = line;
    const QRegularExpressionMatch match = tag.match(line);
    if (match.hasMatch()) {
        split.tagged = true;
        bool ok = false;
        const int id = match.captured(1).toInt(&ok);
        split.id = ok ? id : -1;
        split.text.remove(match.capturedStart(0), match.capturedLength(0));
    }
    return split;
}

QString speakerName(int id)
{
    switch (id) {
    case 0: return QStringLiteral("???");
    case 1: return QStringLiteral("Sorin");
    case 2: return QStringLiteral("Taviel");
    case 3: return QStringLiteral("Lio");
    case 4: return QStringLiteral("其他同学");
    case 5: return QStringLiteral("Sorin&Lio");
    case 6: return QStringLiteral("飞船AI");
    case 7: return QStringLiteral("Taviel&Lio");
    case 8: return QStringLiteral("Sorin&Taviel");
    case 9: return QStringLiteral("路人");
    default: return QString();
    }
}

void typeLine(Game &game, int n)
{
    TypingState &t = typing();
    t.typingDone = false;
    QTimer *timer = typeTimer();
    timer->stop();
    typingGame = &game;

    const SpeakerSplit split = splitSpeaker(lineText(n));
    t.fullText = split.text;
    t.typedText.clear();
    t.typedCount = 0;
    game.publish("nameText", speakerName(split.id));
    if (!t.fullText.isEmpty()) {
        t.typedText = t.fullText.left(1);
        t.typedCount = 1;
        game.publish("currentText", t.typedText);
    }
    timer->start(typingInterval(game.Vzi));
}

void typeTick(Game &game)
{
    TypingState &t = typing();
    if (t.typedCount >= t.fullText.size()) {
        typeTimer()->stop();
        t.typingDone = true;
        if (isWaitingLine(state().currentLine))
            offerChoice(game);
        return;
    }
    t.typedText.append(t.fullText.at(t.typedCount));
    ++t.typedCount;
    game.publish("currentText", t.typedText);
    game.clearComponentCache();
    t.typingDone = false;
}

void showViewLine(Game &game)
{
    typing().typingDone = false;
    const SpeakerSplit split = splitSpeaker(lineText(state().viewLine));
    game.publish("nameText", speakerName(split.id));
    if (!split.text.isEmpty())
        game.publish("currentText", split.text);
}

} // namespace story
