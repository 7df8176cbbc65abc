// Interlude benchmark: the second map with 230 enemies (ten wrong answers) on
// the game page, drawn by Qt Quick's software renderer, played by a tireless
// player who holds D, aims right and fires, and clicks straight back through
// every capture scene. Held at the map's end, that player can clear the map:
// a fresh wave of 230 then takes the place of the last. Run it on a display:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tools/bench/interludebench [seconds]
// Reports steps a second, the step's time (with and without the page's own
// handling of the enemy list), process CPU, enemy items created and destroyed
// after the first second, and memory.
// "interludebench --play 687" instead opens the real game's story at that line,
// with the game directory's pictures, to be played by hand.
#include "benchsupport.h"
#include "benchgame.h"
#include "stage/interlude.h"
#include "story/storystate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

} // namespace

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(qml);
    // "--play LINE": no bench, the game dir's pictures, the story at LINE, for trying by hand.
    const bool play = argc > 2 && QByteArray(argv[1]) == "--play";
    const int playLine = play ? atoi(argv[2]) : 0;
    const int seconds = !play && argc > 1 ? std::max(2, atoi(argv[1])) : 10;

    QTemporaryDir scratch;
    QDir::setCurrent(play ? QStringLiteral(SOLVANE_GAME_DIR) : scratch.path());
    QDir().mkpath(QStringLiteral("png"));
    // The interlude's own pictures: the maps, the figures, the enemy's frames.
    const QDir art(QStringLiteral(SOLVANE_GAME_DIR "/png"));
    for (const QString &name : art.entryList({QStringLiteral("difang*.png"), QStringLiteral("hd*.png")}))
        QFile::copy(art.filePath(name), QStringLiteral("png/") + name);
    if (!play)
        bench::writeSettings();

    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    app::substituteGameFont();
    bench::WiredGame wired;
    MainWindow &controller = wired.controller;
    QQmlApplicationEngine &engine = wired.engine;
    Game &game = wired.game;

    QTimer *timer = new QTimer;
    stage::interludeTimer() = timer;
    QElapsedTimer clock;
    clock.start();
    qint64 stepStart = 0;
    qint64 stepsBefore = 0;
    // Connected in this order around the game's own handlers: before and after.
    QObject::connect(timer, &QTimer::timeout, [&] {
        stepStart = clock.nsecsElapsed();
        stepsBefore = stage::interlude().stepsRun;
    });
    app::connectHandlers(game);
    app::publishInterludeProperties(game);

    story::scriptLines().clear();
    if (play)
        story::loadScript(QStringLiteral("a.txt"));
    else
        for (int n = 1; n <= 975; ++n)
            story::scriptLines() << "line " + QByteArray::number(n);
    if (play) {
        controller.navigategame(QStringLiteral("load"));
        engine.load(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/main.qml")));
        timer->start(10);
        story::state().currentLine = playLine - 1;
        controller.next1();
        return app.exec();
    }
    controller.navigategame(QStringLiteral("load"));
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());

    int frames = 0;
    QObject::connect(window, &QQuickWindow::frameSwapped, [&] { ++frames; });

    // What is measured starts after the first second.
    bool measuring = false;
    qint64 steps = 0, ticks = 0, lateTicks = 0, catchUps = 0, lastTick = 0;
    int captures = 0;
    int waves = 0;
    qint64 stoppedSince = -1, stoppedTotal = 0;
    int minEnemies = 1 << 30, maxEnemies = 0;
    std::vector<double> stepTimes;
    std::vector<stage::InterludeState> snapshots;
    bool clicking = false;
    // A capture asks for a forward step; the bench's own clicks are not captures.
    QObject::connect(&controller, &MainWindow::nextChanged, [&] {
        if (clicking)
            return;
        ++captures;
        stage::interlude().triesLeft = 3; // a tireless player
    });
    QObject *interludeView = nullptr;
    QObject *page = nullptr;

    QObject::connect(timer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const double total = (now - stepStart) / 1e6;
        if (!timer->isActive()) {
            // Caught: straight back through the capture scene, as a player in a hurry.
            stoppedSince = now;
            QTimer::singleShot(0, [&] {
                clicking = true;
                for (int i = 0; i < 20 && !timer->isActive(); ++i)
                    controller.next1();
                for (int i = 0; i < 5 && story::state().currentLine < 722; ++i)
                    controller.next1();
                clicking = false;
                // A new attempt lets go of held keys: D is pressed again.
                if (page)
                    page->setProperty("dPressed", true);
                if (stoppedSince >= 0)
                    stoppedTotal += clock.nsecsElapsed() - stoppedSince;
                stoppedSince = -1;
            });
        }
        if (!measuring)
            return;
        // A tick may run more than one step: the ones a late tick owes.
        const qint64 ran = stage::interlude().stepsRun - stepsBefore;
        ++ticks;
        if (lastTick && now - lastTick > 15000000)
            ++lateTicks;
        lastTick = now;
        if (ran > 1)
            ++catchUps;
        steps += ran;
        if (ran > 0)
            stepTimes.push_back(total / ran);
        if (ticks % 50 == 0)
            snapshots.push_back(stage::interlude());
        minEnemies = std::min(minEnemies, stage::interlude().enemyCount);
        maxEnemies = std::max(maxEnemies, stage::interlude().enemyCount);
        if (stage::interlude().enemyCount == 0) {
            stage::interlude().enemyCount = maxEnemies;
            stage::placeEnemies(game, 2);
            ++waves;
        }
    });

    double cpuAtStart = 0;
    qint64 wallAtStart = 0;
    long rssAtStart = 0, rssPeak = 0;
    int createdAtStart = 0, destroyedAtStart = 0;
    std::vector<long> rssSamples;

    QTimer::singleShot(300, [&] {
        timer->start(10);
        story::state().mistakeCount = 10;
        story::state().currentLine = 709;
        clicking = true;
        controller.next1(); // 710: the second map, 230 enemies
        for (int i = 0; i < 12; ++i)
            controller.next1(); // on to the lock at 722
        clicking = false;
        page = window->findChild<QObject *>(QStringLiteral("gamePage"));
        interludeView = window->findChild<QObject *>(QStringLiteral("interlude"));
        if (page)
            page->setProperty("dPressed", true); // the page's own repeat sends D
        std::printf("story at line %d, %d enemies, lock %s\n", story::state().currentLine,
                    stage::interlude().enemyCount, story::state().interludeActive ? "set" : "clear");
    });
    QTimer fireAndAim;
    QObject::connect(&fireAndAim, &QTimer::timeout, [&] {
        static int n = 0;
        controller.weizhi1(700, float(300 + (n++ % 5) * 10));
        controller.fs1();
    });
    fireAndAim.start(300);

    QTimer::singleShot(1300, [&] {
        measuring = true;
        cpuAtStart = bench::cpuSeconds();
        wallAtStart = clock.nsecsElapsed();
        rssAtStart = residentKiB();
        frames = 0;
        if (interludeView) {
            createdAtStart = interludeView->property("enemyItemsCreated").toInt();
            destroyedAtStart = interludeView->property("enemyItemsDestroyed").toInt();
        }
    });
    QTimer memory;
    QObject::connect(&memory, &QTimer::timeout, [&] {
        const long rss = residentKiB();
        rssPeak = std::max(rssPeak, rss);
        rssSamples.push_back(rss);
    });
    memory.start(seconds > 60 ? 30000 : 1000);
    QTimer::singleShot(1300 + seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();

    const double wall = (clock.nsecsElapsed() - wallAtStart) / 1e9;
    const long rssAtEnd = residentKiB();
    rssPeak = std::max(rssPeak, rssAtEnd);
    const double cpu = bench::cpuSeconds() - cpuAtStart;

    // The step's own time: the same states again, its list going to a
    // controller with no page behind it. Its publications still reach the page.
    timer->stop();
    MainWindow bare;
    game.controller = &bare;
    std::vector<double> ownTimes;
    for (const stage::InterludeState &state : snapshots) {
        for (int i = 0; i < 20; ++i) {
            stage::interlude() = state;
            QElapsedTimer t;
            t.start();
            stage::interludeStep(game);
            ownTimes.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    // The worst case: all 230 enemies at once, leaping at a player beyond them.
    std::vector<double> allLeaping;
    if (!snapshots.empty()) {
        stage::InterludeState crowd = snapshots.front();
        crowd.sja1x = 4500;
        crowd.sja2x = 4431;
        crowd.sja1y = crowd.sja2y = 310;
        for (int i = 0; i < 200; ++i) {
            stage::interlude() = crowd;
            QElapsedTimer t;
            t.start();
            stage::interludeStep(game);
            allLeaping.push_back(t.nsecsElapsed() / 1e6);
            if (i % 10 == 9)
                crowd = stage::interlude(); // let them move on now and then
        }
    }
    game.controller = &controller;
    const double running = wall - stoppedTotal / 1e9;
    const int created = interludeView ? interludeView->property("enemyItemsCreated").toInt() - createdAtStart : -1;
    const int destroyed = interludeView ? interludeView->property("enemyItemsDestroyed").toInt() - destroyedAtStart : -1;
    std::printf("measured %.1f s (step running %.2f s, %d captures), enemies %d to %d, %d fresh waves\n", wall,
                running, captures, minEnemies, maxEnemies, waves);
    std::printf("steps: %lld, %.1f a second while running (target >= 97); timer ticks %lld, %lld of them more than "
                "15 ms after the last, %lld ran owed steps\n",
                steps, steps / running, ticks, lateTicks, catchUps);
    std::printf("step, whole (with the page's handling): median %.3f ms, 95%% %.3f ms, max %.3f ms\n",
                bench::percentile(stepTimes, 0.5), bench::percentile(stepTimes, 0.95), bench::percentile(stepTimes, 1.0));
    std::printf("step, C++ own (%zu states, each 20 times): median %.3f ms (target <= 0.5), 95%% %.3f ms\n",
                snapshots.size(), bench::percentile(ownTimes, 0.5), bench::percentile(ownTimes, 0.95));
    std::printf("step, C++ own, all %d enemies leaping: median %.3f ms, 95%% %.3f ms\n",
                snapshots.empty() ? 0 : snapshots.front().enemyCount, bench::percentile(allLeaping, 0.5),
                bench::percentile(allLeaping, 0.95));
    std::printf("process CPU: %.1f %% of one core (target <= 50), %.1f frames a second\n", 100 * cpu / wall,
                frames / wall);
    std::printf("enemy items created %d, destroyed %d after the first second\n", created, destroyed);
    std::printf("memory: %ld KiB at the start, %ld KiB at the end, peak %ld KiB\n", rssAtStart, rssAtEnd, rssPeak);
    if (seconds > 60) {
        std::printf("memory samples (KiB, every 30 s):");
        for (long v : rssSamples)
            std::printf(" %ld", v);
        std::printf("\n");
    }
    return 0;
}
