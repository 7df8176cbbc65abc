// A scripted interlude player: holds D from start to end and, unless told
// not to fire, keeps the pointer on the enemy nearest to the figure and taps
// E every 0.3 s; clicks straight through every capture scene and never takes
// a way out. Runs the game's own step on simulated time, without a page.
//   interludeplayer [MISTAKES [MODE MAP FIRE]]   MODE 0 标准, 1 轻松, 2 跳过; MAP 1, 2 or 3; FIRE 0 or 1
// MAP 3 plays the first map and then the second in one process, as the story
// does: the second map then keeps the first one's spawn points.
// The wrong answers so far (0 unless given) decide how many enemies there are.
// Without arguments it plays every mode on both maps, with and without firing,
// each in a process of its own (the spawn record outlives a map), one row each.
#include "benchgame.h"
#include "stage/interlude.h"
#include "story/storystate.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr qint64 kMaxSteps = 100 * 600; // ten minutes

struct Result {
    bool won = false;
    qint64 steps = 0;
    qint64 firstCapture = -1;
    int captures = 0;
    int left = 0; // watchers left at the end
};

// The live enemy nearest to the player, as a point on the page.
bool nearestEnemy(const stage::InterludeState &in, float &sx, float &sy)
{
    int best = -1;
    for (int k = 0; k < in.enemyCount && 2 * k + 1 < in.enemyPositions.size(); ++k)
        if (best < 0 || std::abs(in.enemyPositions.at(2 * k) - in.sja1x)
                            < std::abs(in.enemyPositions.at(2 * best) - in.sja1x))
            best = k;
    if (best < 0)
        return false;
    sx = float(in.enemyPositions.at(2 * best) + 10 + in.scrollX);
    sy = float(in.enemyPositions.at(2 * best + 1) + 10);
    return true;
}

Result play(bench::WiredGame &wired, int map, bool firing)
{
    MainWindow &c = wired.controller;
    Game &game = wired.game;
    story::StoryState &s = story::state();
    QTimer *timer = stage::interludeTimer();
    const int lock = map == 1 ? 692 : 722;
    const int lastLock = map == 1 ? 692 : 756;
    auto inMap = [map](int line) { return map == 1 ? line >= 687 && line <= 701 : line >= 710 && line <= 760; };
    // Through a capture scene: clicks until the map is back, or the story went on without it.
    auto clickOn = [&] {
        for (int i = 0; i < 60 && !timer->isActive(); ++i)
            c.next1();
    };
    s.currentLine = map == 1 ? 686 : 709;
    timer->start(10);
    c.next1();
    while (s.currentLine < lock)
        c.next1();

    Result r;
    for (; r.steps < kMaxSteps; ++r.steps) {
        r.left = stage::interlude().enemyCount;
        if (!timer->isActive()) {
            if (r.firstCapture < 0)
                r.firstCapture = r.steps;
            ++r.captures;
            clickOn();
            if (!timer->isActive() || !inMap(s.currentLine))
                return r; // no tries left: the story went on without the map
        }
        if (!s.interludeActive) {
            if (s.currentLine >= lastLock) {
                r.won = true;
                r.left = stage::interlude().enemyCount;
                return r;
            }
            while (s.currentLine < lastLock && inMap(s.currentLine))
                c.next1(); // the next part of the map, read in no time
        }
        stage::InterludeState &in = stage::interlude();
        if ((r.steps * 10) % 16 < 10)
            c.ad1(2); // the page repeats a held key every 16 ms
        float sx = 0, sy = 0;
        if (firing && nearestEnemy(in, sx, sy))
            stage::aim(game, sx, sy);
        if (firing && r.steps % 30 == 0)
            stage::fire(game, 1);
        else if (firing && r.steps % 30 == 20)
            stage::fire(game, 0);
        stage::clockedStep(game);
    }
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int mistakes = argc > 1 ? atoi(argv[1]) : 0;
    if (argc < 5) {
        static const char *const modes[] = {"标准", "轻松", "跳过"};
        std::printf("| mode | map | player | result | lasted | captures | first capture | watchers left |\n"
                    "|---|---|---|---|---|---|---|---|\n");
        for (int mode = 0; mode < 3; ++mode)
            for (int map = 1; map <= 3; ++map)
                for (int fire = 0; fire <= 1; ++fire) {
                    QProcess one;
                    one.start(app.applicationFilePath(),
                              {QString::number(mistakes), QString::number(mode), QString::number(map),
                               QString::number(fire)});
                    one.waitForFinished(-1);
                    std::printf("| %s | %s | %s | %s", modes[mode], map == 3 ? "1 then 2" : map == 1 ? "1" : "2",
                                fire ? "D, E at the nearest" : "D only",
                                one.readAllStandardOutput().constData());
                }
        return 0;
    }
    const int mode = atoi(argv[2]);
    const int map = atoi(argv[3]);
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    bench::writeSettings();
    bench::WiredGame wired;
    stage::interludeTimer() = new QTimer;
    app::connectHandlers(wired.game);
    app::publishInterludeProperties(wired.game);
    story::scriptLines().clear();
    for (int n = 1; n <= 975; ++n)
        story::scriptLines() << "line " + QByteArray::number(n);
    wired.controller.interludeMode1(mode);
    wired.controller.navigateindex(); // a new story: the mode's tries
    story::state().mistakeCount = mistakes;
    const bool fire = atoi(argv[4]) != 0;
    Result r = play(wired, map == 3 ? 1 : map, fire);
    if (map == 3 && r.won) {
        const Result second = play(wired, 2, fire);
        r.won = second.won;
        r.left = second.left;
        r.captures += second.captures;
        if (r.firstCapture < 0 && second.firstCapture >= 0)
            r.firstCapture = r.steps + second.firstCapture;
        r.steps += second.steps;
    }
    std::printf("%s | %.1f s | %d | %s | %d |\n", r.won ? "won" : "lost", r.steps / 100.0, r.captures,
                r.firstCapture < 0 ? "-" : qPrintable(QString::number(r.firstCapture / 100.0, 'f', 1) + " s"), r.left);
    return 0;
}
