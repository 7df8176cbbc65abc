// Typing benchmark: with the game page shown, how long a 60-character line
// takes to type at full text speed, against 59 ticks of 49 ms. Run it on a
// display (xvfb-run -a build/tools/bench/typingbench).
#include "benchgame.h"
#include "story/presentation.h"
#include "story/storystate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(qml);
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    bench::writeSettings();

    QGuiApplication app(argc, argv);
    app::chooseRenderer(); // as the game does
    app::substituteGameFont();
    bench::WiredGame wired;
    MainWindow &controller = wired.controller;
    QQmlApplicationEngine &engine = wired.engine;
    Game &game = wired.game;
    app::connectHandlers(game);
    controller.navigategame(QStringLiteral("load"));
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;

    const QByteArray line = QStringLiteral("<2>").toUtf8()
        + QString(60, QChar(0x661F)).toUtf8(); // 60 × "星"
    story::scriptLines() = QList<QByteArray>() << line << line << line << line << line << line;

    const int runs = story::scriptLines().size();
    const double expected = 59 * 49;
    std::vector<double> times;
    QElapsedTimer clock;
    int run = 0;
    // Poll every millisecond: each new line starts when the last one is done.
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!story::typing().typingDone || story::typing().typedCount != 60)
            return;
        times.push_back(clock.nsecsElapsed() / 1e6);
        if (++run == runs) {
            app.quit();
            return;
        }
        story::state().currentLine = run + 1;
        clock.start();
        story::typeLine(game, run + 1);
    });
    QTimer::singleShot(500, [&] {
        story::state().currentLine = 1;
        clock.start();
        story::typeLine(game, 1);
        poll.start();
    });
    app.exec();

    // The tick that marks a line done comes one interval after its last character.
    double worst = 0;
    for (double t : times) {
        const double typed = t - 49;
        std::printf("line typed in %.0f ms (done %.0f ms), %+.1f %% of %.0f ms\n", typed, t,
                    100 * (typed - expected) / expected, expected);
        worst = std::max(worst, std::abs(100 * (typed - expected) / expected));
    }
    std::printf("worst deviation: %.1f %% (target within 10 %%)\n", worst);
    return worst <= 10 ? 0 : 2;
}
