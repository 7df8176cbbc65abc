// Route benchmark: the real game, started in a game directory exactly as
// ./solvane starts, played from the title page to an ending by a reader who
// clicks on every line, answers every question rightly, types the right
// answer, and in the interludes aims at the nearest enemy, taps E, and holds
// D while nothing is near. Everything
// goes through the controller, as the pages' own clicks and keys do.
// Prints, one "route:" line each, resident and peak memory after 20 lines,
// after 100 lines (then the CPU used over 10 s while that line stays shown),
// and at the ending; then any OpenGL driver or LLVM loaded and the largest
// mappings. It saves once on the way, so tools/bench/startup.sh runs it in a
// scratch copy of the game:  (cd COPY_OF_GAME_DIR && routebench [ms per line])
#include "benchsupport.h"
#include "app/startup.h"
#include "core/mainwindow.h"
#include "core/props.h"
#include "stage/interludestate.h"
#include "story/linetables.h"
#include "story/storystate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QMap>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QStringList>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <vector>

namespace {

void report(const char *what)
{
    std::printf("route: %-12s line %3d  resident %5.1f MB  peak %5.1f MB\n", what, story::state().currentLine,
                bench::statusKiB("VmRSS:") / 1024.0, bench::statusKiB("VmHWM:") / 1024.0);
    std::fflush(stdout);
}

void printLargestMappings(int count)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return;
    QHash<QByteArray, long> rss;
    QByteArray name;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 5 && f.at(0).contains('-') && !f.at(0).endsWith(':'))
            name = f.size() >= 6 ? f.at(5) : QByteArray("[anonymous]");
        else if (f.size() >= 2 && f.at(0) == "Rss:")
            rss[name] += f.at(1).toLong();
    }
    std::vector<std::pair<long, QByteArray>> sorted;
    for (auto it = rss.cbegin(); it != rss.cend(); ++it)
        sorted.emplace_back(it.value(), it.key());
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    std::printf("route: largest mappings at the ending (resident):\n");
    for (int i = 0; i < count && i < int(sorted.size()); ++i)
        std::printf("route:   %7.1f MB  %s\n", sorted[i].first / 1024.0, sorted[i].second.constData());
    std::fflush(stdout);
}

// After pictures, a save and both interludes: is any OpenGL driver or LLVM loaded?
void printGraphicsDrivers()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return;
    QStringList found;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const QString path = QString::fromLocal8Bit(line.simplified().split(' ').value(5));
        if (path.contains(QStringLiteral("LLVM")) || path.endsWith(QStringLiteral("_dri.so"))
            || path.contains(QStringLiteral("GLX_mesa")) || path.contains(QStringLiteral("EGL_mesa"))
            || path.contains(QStringLiteral("gallium")))
            found.append(path);
    }
    found.removeDuplicates();
    std::printf("route: OpenGL driver or LLVM mapped at the ending: %s\n",
                found.isEmpty() ? "none" : qPrintable(found.join(QLatin1Char(' '))));
}

// The answer that carries the story on through both interludes to its last
// ending without a mistake.
int rightAnswer(int line)
{
    static const QMap<int, int> answers = {{261, 1}, {406, 1}, {521, 1}, {533, 2}, {539, 2},
                                           {563, 1}, {577, 2}, {585, 1}, {613, 2}, {667, 2},
                                           {673, 1}, {681, 2}, {695, 1}, {841, 1}};
    return answers.value(line, 1);
}

class Reader : public QObject
{
public:
    explicit Reader(int msPerLine) : perLine(msPerLine) {}

    void start()
    {
        auto *window = qobject_cast<QQuickWindow *>(QGuiApplication::topLevelWindows().value(0));
        QQmlEngine *engine = window ? qmlEngine(window) : nullptr;
        if (!engine) {
            // The window is not there yet; look again shortly.
            QTimer::singleShot(100, this, [this] { start(); });
            return;
        }
        this->window = window;
        controller = qobject_cast<MainWindow *>(
            engine->rootContext()->contextProperty(prop::Controller.text).value<QObject *>());
        clock.start();
        controller->navigategame(QStringLiteral("index")); // the title page's "开始"
        connect(&tick, &QTimer::timeout, this, [this] { step(); });
        tick.start(perLine);
    }

private:
    void step()
    {
        const story::StoryState &s = story::state();
        const int line = s.currentLine;
        if (!seen20 && line >= 20) {
            seen20 = true;
            report("20 lines");
        }
        if (!seen100 && line >= 100) {
            seen100 = true;
            report("100 lines");
            controller->save1(); // a save, with its screenshot, on the way
            idleOnShownLine();
            return;
        }
        if (clock.elapsed() > 600000) {
            report("gave up");
            finish();
            return;
        }
        if (story::isEndingLine(line) && !s.interludeActive) {
            QTimer::singleShot(2000, this, [this] {
                report("ending");
                printGraphicsDrivers();
                printLargestMappings(15);
                finish();
            });
            tick.stop();
            return;
        }
        QObject *page = window->findChild<QObject *>(QStringLiteral("gamePage"));
        if (s.interludeActive) {
            // Walk on only while nothing is close: standing, the rays clear the way.
            if (page)
                page->setProperty("dPressed", aimAtNearestEnemy() > 400);
            // E as a player taps it: each press fires for 200 ms.
            if (shots++ % std::max(1, 220 / perLine) == 0)
                controller->fs1();
            return;
        }
        if (page)
            page->setProperty("dPressed", false);
        if (line == story::kInputLine)
            controller->shuru1(QStringLiteral("语言"));
        else if (story::isWaitingLine(line))
            controller->da1(rightAnswer(line));
        else
            controller->next1();
    }

    // The pointer on the enemy nearest the player, or straight ahead; returns
    // how far that enemy is.
    int aimAtNearestEnemy()
    {
        const stage::InterludeState &in = stage::interlude();
        float x = 700, y = float(in.sja1y + 20);
        int best = 1 << 30;
        for (int i = 0; i + 1 < in.enemyPositions.size(); i += 2) {
            const int distance = std::abs(in.enemyPositions.at(i) - in.sja1x);
            if (distance < best) {
                best = distance;
                x = float(in.enemyPositions.at(i) + 20 + in.scrollX);
                y = float(in.enemyPositions.at(i + 1) + 20);
            }
        }
        controller->weizhi1(x, y);
        return best;
    }

    void idleOnShownLine()
    {
        tick.stop();
        // Let the line finish typing, then read the CPU used while it is shown.
        QTimer::singleShot(3000, this, [this] {
            const double before = bench::cpuSeconds();
            QTimer::singleShot(10000, this, [this, before] {
                std::printf("route: idle CPU on a shown line over 10 s: %.2f%% of one core\n",
                            (bench::cpuSeconds() - before) * 10.0);
                std::fflush(stdout);
                tick.start(perLine);
            });
        });
    }

    void finish()
    {
        std::printf("route: %.1f s from the title page to the ending\n", clock.elapsed() / 1000.0);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    int perLine;
    QQuickWindow *window = nullptr;
    MainWindow *controller = nullptr;
    QTimer tick;
    QElapsedTimer clock;
    bool seen20 = false;
    bool seen100 = false;
    int shots = 0;
};

int msPerLine = 40;

// Runs as the application object is made inside start-up: the reader starts
// once the event loop runs, after the title page has been on screen a while.
void installReader()
{
    auto *reader = new Reader(msPerLine);
    reader->setParent(QCoreApplication::instance());
    QTimer::singleShot(3000, reader, [reader] { reader->start(); });
}
Q_COREAPP_STARTUP_FUNCTION(installReader)

} // namespace

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(qml);
    if (argc > 1)
        msPerLine = std::max(10, atoi(argv[1]));
    return app::runGame(argc, argv);
}
