// Load page benchmark: makes 1000 saves through the real save path (the game
// page grabbed at 720 x 480, PNG, text files), then opens the load page from
// the title page and scrolls its list to the end. Prints the time of a save,
// the time to the first rows, the frame times while scrolling and the memory.
// The saves are made by a second run of this program, so that the load page
// is measured in a process that, like a player's, did not make them all.
// Run it on a display from the build directory:
//   xvfb-run -a -s "-screen 0 1280x800x24" tools/bench/loadpagebench [slots]
#include "benchsupport.h"
#include "benchgame.h"
#include "core/state.h"
#include "saves/saveslots.h"
#include "stage/staging.h"
#include "story/presentation.h"
#include "story/storystate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

namespace {

QQuickItem *findItem(QQuickItem *from, const QString &name)
{
    if (from->objectName() == name)
        return from;
    for (QQuickItem *child : from->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// From the title page: 读取, then the list scrolled to its end.
int measureLoadPage(MainWindow &controller, QQuickWindow *window)
{
    controller.navigateindex();
    settle(500);
    const long rssBefore = bench::statusKiB("VmRSS:");

    // From "读取" to the first frame that shows rows, and to their pictures.
    QElapsedTimer clock;
    double rowsShown = -1;
    double picturesShown = -1;
    bool rowsOnScreen = false;
    auto onFrame = QObject::connect(window, &QQuickWindow::afterRendering, window, [&] {
        if (rowsOnScreen && rowsShown < 0)
            rowsShown = clock.nsecsElapsed() / 1e6;
    }, Qt::DirectConnection);
    clock.start();
    controller.navigateload(QStringLiteral("index"));
    QQuickItem *list = nullptr;
    while (clock.elapsed() < 10000 && picturesShown < 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QQuickItem *root = window->contentItem();
        if (!list)
            list = findItem(root, QStringLiteral("saveList"));
        if (!rowsOnScreen && findItem(root, QStringLiteral("saveRow0")))
            rowsOnScreen = true;
        bool allReady = rowsOnScreen;
        for (int i = 0; allReady && i < 6; ++i) {
            QQuickItem *thumb = findItem(root, QStringLiteral("saveThumb%1").arg(i));
            allReady = thumb && thumb->property("status").toInt() == 1;
        }
        if (allReady && rowsShown >= 0)
            picturesShown = clock.nsecsElapsed() / 1e6;
    }
    QObject::disconnect(onFrame);
    std::printf("load page: first rows on screen %.1f ms after 读取, their pictures %.1f ms\n", rowsShown,
                picturesShown);
    if (!list)
        return 1;

    // Scroll to the end as a wheel would, 120 px a frame, timing each frame.
    std::vector<double> frames;
    std::vector<double> frameCpu;
    QElapsedTimer frameClock;
    bool frameDone = false;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [&] { frameDone = true; }, Qt::DirectConnection);
    qreal end = list->property("contentHeight").toReal() - list->height() + list->property("originY").toReal();
    qreal y = list->property("contentY").toReal();
    while (y < end - 0.5) {
        y = std::min(end, y + 120);
        frameDone = false;
        frameClock.start();
        const double cpu = bench::threadCpuMs();
        list->setProperty("contentY", y);
        window->update();
        while (!frameDone && frameClock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        frames.push_back(frameClock.nsecsElapsed() / 1e6);
        frameCpu.push_back(bench::threadCpuMs() - cpu);
        // End of the list moves as rows further down are measured.
        const qreal newEnd = list->property("contentHeight").toReal() - list->height()
                             + list->property("originY").toReal();
        if (newEnd > end)
            end = newEnd;
    }
    settle(300);
    const long over = std::count_if(frames.begin(), frames.end(), [](double f) { return f >= 33; });
    std::printf("scrolling %zu frames to the end: median %.1f ms, 99th %.1f ms, max %.1f ms, %ld at 33 ms or more, min %.1f ms\n",
                frames.size(), bench::percentile(frames, 0.5), bench::percentile(frames, 0.99), bench::percentile(frames, 1.0), over,
                bench::percentile(frames, 0.0));
    std::printf("  of it on the GUI thread's CPU: median %.1f ms, 99th %.1f ms, max %.1f ms\n",
                bench::percentile(frameCpu, 0.5), bench::percentile(frameCpu, 0.99), bench::percentile(frameCpu, 1.0));
    std::printf("memory: %ld MB resident before 读取, %ld MB after scrolling, peak %ld MB\n", rssBefore / 1024,
                bench::statusKiB("VmRSS:") / 1024, bench::statusKiB("VmHWM:") / 1024);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(qml);
    // "--make-saves DIR N": the first run's helper, saving into DIR.
    const bool makingSaves = argc > 3 && QByteArray(argv[1]) == "--make-saves";
    const int slotCount = makingSaves ? QByteArray(argv[3]).toInt() : argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    QTemporaryDir scratch;
    if (makingSaves) {
        QDir::setCurrent(QString::fromLocal8Bit(argv[2]));
    } else {
        QDir::setCurrent(scratch.path());
        const QString gameDir = QStringLiteral(SOLVANE_GAME_DIR);
        QFile::link(gameDir + QStringLiteral("/png"), QStringLiteral("png"));
        QFile::copy(gameDir + QStringLiteral("/a.txt"), QStringLiteral("a.txt"));
        bench::writeSettings();
    }

    QGuiApplication app(argc, argv);
    app::chooseRenderer(); // as the game does
    if (!makingSaves) {
        QProcess helper;
        helper.setProcessChannelMode(QProcess::ForwardedChannels);
        helper.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--make-saves"), scratch.path(), QString::number(slotCount)});
        if (!helper.waitForFinished(-1) || helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0) {
            std::printf("making the saves failed\n");
            return 1;
        }
    }
    app::substituteGameFont();
    QGuiApplication::setFont(QFont(QStringLiteral("Microsoft Yahei"), 9));
    story::loadScript(QStringLiteral("a.txt"));
    bench::WiredGame wired;
    MainWindow &controller = wired.controller;
    QQmlApplicationEngine &engine = wired.engine;
    Game &game = wired.game;
    app::connectHandlers(game);
    if (makingSaves)
        controller.navigategame(QStringLiteral("load"));
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    game.hooks.grabWindow = [window] { return window->grabWindow(); };
    settle(500);

    if (!makingSaves)
        return measureLoadPage(controller, window);

    // Saves at lines spread over the story, each after its scene is on screen.
    std::vector<double> saveTimes;
    std::vector<double> saveCpu;
    core::process().interlude.interludeReturnLine = 720; // saves in the capture scene store it
    const int scriptLength = story::scriptLines().size();
    for (int k = 1; k <= slotCount; ++k) {
        const int line = 1 + (k * 7) % (scriptLength - 1);
        core::process().story.currentLine = line;
        core::process().story.viewLine = line;
        stage::stageLine(game, 0);
        story::showViewLine(game);
        settle(2);
        QElapsedTimer t;
        t.start();
        const double cpu = bench::threadCpuMs();
        const saves::Outcome outcome = saves::saveSlot(game);
        saveTimes.push_back(t.nsecsElapsed() / 1e6);
        saveCpu.push_back(bench::threadCpuMs() - cpu);
        if (outcome.notice != QStringLiteral("已保存")) {
            std::printf("save %d: %s\n", k, qPrintable(outcome.notice));
            return 1;
        }
    }
    std::printf("%d saves (grab, PNG, text files, unlock record): median %.1f ms, 95th %.1f ms, max %.1f ms, min %.1f ms\n",
                slotCount, bench::percentile(saveTimes, 0.5), bench::percentile(saveTimes, 0.95), bench::percentile(saveTimes, 1.0),
                bench::percentile(saveTimes, 0.0));
    std::printf("  of it on the GUI thread's CPU: median %.1f ms, 95th %.1f ms, max %.1f ms\n", bench::percentile(saveCpu, 0.5),
                bench::percentile(saveCpu, 0.95), bench::percentile(saveCpu, 1.0));

    return 0;
}
