#pragma once

#include "core/game.h"
#include "stage/interludestate.h"

#include <QList>

struct Game;

// The side-view action scene: a fixed 10 ms step over the interlude state,
// the player's four inputs, captures and the goal. The staging sets the scene
// up and hides it; the page draws what is published here.
namespace stage {

// One step: figures, scroll, enemies (leap, the companion's aim, shots,
// contact), the companion's fire, the goal; then the results are published
// and a capture, if any, moves the story. It starts no timer: what must wait
// is kept as a step of the clock in the interlude state.
void interludeStep(Game &game);

// A step on the interlude's clock: its time moves on by one step, then the
// step runs. The timer runs these; a step run by hand takes no time.
void clockedStep(Game &game);

// The four inputs. Each call applies its rule once per step run so far,
// stopping as soon as the rule's condition fails.
void walk(Game &game, int ad);       // 1 left (A), 2 right (D)
void jumpOrDrop(Game &game, int ws); // 1 jump (W), 2 drop (S)
void aim(Game &game, float sx, float sy); // pointer on the page
void fire(Game &game, int fs);       // 1 on, 0 off

// How wide map 1 or 2 is, in the page's pixels; 0 for no map.
int mapWidth(int map);

// How far from a map's ends the figures stop: their glow shows whole.
constexpr int kEdgeMargin = 12;

// Ground physics of one figure.
void settleBody(float &vx, float &vy, int &y);

// Spawn points of a map's enemies, appended to the record as long as it is
// shorter than this map needs; returns the whole record.
QList<int> spawnEnemies(Game &game, int map);

// A map's enemies at their spawn points, at rest.
void placeEnemies(Game &game, int map);

// Keeps the motion list as long as the position list; new enemies at rest.
void fitEnemyMotion();

// Both figures at their start, at rest: nobody runs into a map, new or
// begun again, with the speed they left the last one at.
void placeFiguresAtStart(InterludeState &in);

// After a capture scene, as its map comes back: both figures at the start and
// at rest, every live enemy at home and standing still for a second, held
// keys let go, and the step running again.
void restartAttempt(Game &game);

// Steps the enemies stand still after a restart; longer in the kinder mode.
constexpr int kEnemyWaitSteps = 100;
constexpr int kKinderWaitSteps = 300;

void connectInterlude(Game &game);

// The goal's signal goes once the story has moved on.
void clearGoal();

// The story stops for an interlude at a lock line; with the interludes
// skipped the lock lifts at once, as the goal would lift it.
void lockStory(Game &game);

// After the settings page changed the mode: the tries move by the difference
// between the modes' starting tries, and a story held by an interlude now
// skipped goes on.
void changeInterludeMode(Game &game, InterludeMode before);

// A map set up anew: no captures in it yet, nothing offered or taken.
void freshMap();

// With the story held by a map that offers a way past, once its enemies move
// again: the map is passed as the skipped mode passes it, this time only.
// False when nothing was offered.
bool takeSkipOffer(Game &game);

// The mode the map plays in: the setting, or skipped once the offer was taken.
InterludeMode playedMode(const Game &game);

} // namespace stage
