#pragma once

#include <QString>

struct Game;

// What the story says aloud while 朗读 is on: each line as it is shown, the
// answers of a question with their numbers, and whatever a page asks for.
namespace story {

// Line n as it is read: the speaker's name, then the text without its tags;
// a question adds both answers, the typed question that an answer is typed.
QString lineSpeech(int n);

// Says text when 朗读 is on and there is a voice, at the text speed's rate
// and the music's volume; cuts off what was being said.
void say(Game &game, const QString &text);
void speakLine(Game &game, int n);
void stopSpeech(Game &game);

// Auto holds its timer while this is true.
bool speechHolds(const Game &game);

} // namespace story
