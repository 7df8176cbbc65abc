#pragma once

struct Game;
class QTimer;

// Reading on without clicks. Auto waits for each line to finish typing (with
// 朗读 on, to be heard out too), then steps; skip steps every 100 ms showing
// lines whole, reading none aloud. Both stop by themselves where the player
// has to act.
namespace story {

// int(500 / (Vhang + 0.00001)) ms: 499 at 1.0, 999 at 0.5; never more than
// ten seconds, so even the slowest speed steps on, as typing at the slowest
// speed still finishes a line.
constexpr int kLongestAutoWait = 10000;
int autoInterval(float vhang);
// int(50 / (Vhang + 0.00001)) ms between a tick that found the line typing and
// the next; never more than a second.
int autoRearmDelay(float vhang);

void setAuto(Game &game, int value);
void autoTick(Game &game);
void setSkip(Game &game, int value);
void skipTick(Game &game);

QTimer *autoTimer(); // null while auto is off
QTimer *skipTimer(); // null while skip is off
bool &autoJustStarted();

} // namespace story
