#include "story/readaloud.h"

#include "core/game.h"
#include "music/music.h"
#include "speech/voice.h"
#include "story/choices.h"
#include "story/linetables.h"
#include "story/storystate.h"

#include <QStringList>

namespace story {

namespace {

// A full stop where the text has no end of its own, so the voice pauses once.
QString sentence(const QString &text)
{
    static const QString ends = QStringLiteral("。！？…—.!?");
    return text.isEmpty() || ends.contains(text.back()) ? text : text + QStringLiteral("。");
}

} // namespace

QString lineSpeech(int n)
{
    const SpeakerSplit split = splitSpeaker(lineText(n));
    QStringList parts;
    QString name = speakerName(split.id);
    // "???" is a name nobody could say.
    if (split.id > 0 && !name.isEmpty())
        parts << name.replace(QLatin1Char('&'), QStringLiteral("和"));
    parts << answerButtonText(split.text);
    QString speech = parts.join(QStringLiteral("，"));
    if (isChoiceLine(n)) {
        speech = sentence(speech) + QStringLiteral("选项一，")
                 + sentence(answerButtonText(lineText(answerLine(n, 1)))) + QStringLiteral("选项二，")
                 + sentence(answerButtonText(lineText(answerLine(n, 2))));
    } else if (n == kInputLine) {
        speech = sentence(speech) + QStringLiteral("请输入答案，按回车提交。");
    }
    return speech;
}

void say(Game &game, const QString &text)
{
    if (!game.readAloud() || !game.voice)
        return;
    game.voice->setRate(speech::rateFor(game.textSpeed()));
    game.voice->setVolume(music::volumePercent(game.volume()));
    game.voice->say(text);
}

void speakLine(Game &game, int n)
{
    // Every shown line comes here: nothing is put together while 朗读 is off.
    if (game.readAloud())
        say(game, lineSpeech(n));
}

void stopSpeech(Game &game)
{
    if (game.voice)
        game.voice->stop();
}

bool speechHolds(const Game &game)
{
    return game.readAloud() && game.voice && game.voice->speaking();
}

} // namespace story
