// Plays the real script through the real controller to every ending: forward
// steps, answers, the typed answer and both interludes through their inputs.
// Every line shown must be a line of the script, every picture and track the
// game asks for must be in the ready-to-play directory, every speaker known.
#include "core/paths.h"
#include "music/player.h"
#include "stage/interlude.h"
#include "stage/staging.h"
#include "story/endings.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/routes.h"
#include "storyfixture.h"

#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

enum class Interlude { Win, LosePlayer, LoseCompanion };

struct Route {
    QString name;
    std::map<int, QList<int>> answers; // question -> answers in turn, the last repeated
    QStringList typed;                 // typed answers in turn, the last repeated
    Interlude map1 = Interlude::Win;
    Interlude map2 = Interlude::Win;
    InterludeMode mode = InterludeMode::Standard;
    int target = -1;  // a node to stop at once every answer and capture listed is used
    int captures = 0;
};

const story::Routes &graph()
{
    return story::routes();
}

const story::RouteNode &nodeAt(int line)
{
    static const story::RouteNode none{};
    const int at = graph().nodeAt(line);
    return at < 0 ? none : graph().nodes().at(at);
}

// A route of the graph as the controller is to play it.
Route planOf(const story::Route &way)
{
    Route r;
    for (int e : way.edges) {
        const story::RouteEdge &edge = graph().edges().at(e);
        const story::RouteNode &from = graph().nodes().at(edge.from);
        r.target = edge.to;
        if (edge.kind == story::RouteEdge::Kind::Answer && from.typed)
            r.typed << (edge.answer == 1 ? QStringLiteral("说话") : QStringLiteral("不知道"));
        else if (edge.kind == story::RouteEdge::Kind::Answer)
            r.answers[from.line] << edge.answer;
        else if (edge.kind == story::RouteEdge::Kind::Caught || edge.kind == story::RouteEdge::Kind::Lost)
            (from.map == 1 ? r.map1 : r.map2) = edge.companion ? Interlude::LoseCompanion : Interlude::LosePlayer;
    }
    r.captures = way.captures;
    return r;
}

QString gameFile(const QString &relative)
{
    return QStringLiteral(SOLVANE_GAME_DIR "/") + relative;
}

} // namespace

Q_DECLARE_METATYPE(Route)

class TestRoutes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void route_data();
    void route();
    void throughEachEdge_data();
    void throughEachEdge();
    void everyEndingReached();

private:
    struct Played {
        int ending = 0;
        int stoppedAt = -1; // the target node reached
        int lines = 0;
        int captures = 0;
        qint64 characters = 0;
        QStringList faults;
    };

    Played play(const Route &route);
    void shown(Played &played, int line);
    void driveInterlude(Played &played, Interlude plan);

    std::unique_ptr<StoryFixture> story;
    std::unique_ptr<music::Player> player;
    QHash<QString, QList<int>> linesByText; // a line as shown -> its numbers
    QSet<int> everShown;
    QSet<int> endingsReached;
    QSet<QString> picturesMissing;
    QSet<int> captureScenes; // the first line each capture shows
};

void TestRoutes::initTestCase()
{
    QVERIFY2(QFileInfo::exists(gameFile("png")) && QFileInfo::exists(gameFile("mp3")),
             "build the game's data first (build/game/png, build/game/mp3)");
    story = std::make_unique<StoryFixture>(QList<QByteArray>{});
#ifdef Q_OS_WIN
    // No links there: the pictures and music are found where an installed game's are.
    core::setShippedDataDir(QFileInfo(gameFile("png")).path());
#else
    // The pages and the player find their files under the working directory.
    QVERIFY(QFile::link(gameFile("png"), story->dir.path() + "/png"));
    QVERIFY(QFile::link(gameFile("mp3"), story->dir.path() + "/mp3"));
#endif
    story::loadScript(QStringLiteral(SOLVANE_SOURCE_DIR "/data/story/a.txt"));
    QVERIFY2(story::scriptLines().size() >= 975, "the script has fewer lines than the story needs");
    player = std::make_unique<music::Player>();
    story->game.musicPlayer = player.get();
    // Running from the first line; a line without a map or a capture stops it.
    stage::interludeTimer()->start(10);
    for (int n = 1; n <= story::scriptLines().size(); ++n)
        linesByText[story::splitSpeaker(story::lineText(n)).text] << n;
    for (const story::RouteEdge &edge : graph().edges()) {
        if (edge.kind == story::RouteEdge::Kind::Caught || edge.kind == story::RouteEdge::Kind::Lost)
            captureScenes << edge.lines.value(0) << edge.linesAgain.value(0);
    }
    captureScenes.remove(0);
}

void TestRoutes::cleanupTestCase()
{
    stage::interludeTimer()->stop();
    story->game.musicPlayer = nullptr;
    player.reset();
    story.reset();
}

void TestRoutes::route_data()
{
    QTest::addColumn<Route>("route");
    QTest::addColumn<int>("ending");

    auto row = [](const char *name, std::map<int, QList<int>> answers, int ending,
                  Interlude map1 = Interlude::Win, Interlude map2 = Interlude::Win,
                  QStringList typed = {QStringLiteral("说话")}, InterludeMode mode = InterludeMode::Standard) {
        // The answers that go on towards the last chapter: the way to its ending.
        Route r = planOf(graph().routeTo(graph().nodeAt(849)));
        r.target = -1;
        r.name = QString::fromUtf8(name);
        for (const auto &given : answers)
            r.answers[given.first] = given.second;
        r.typed = typed;
        r.map1 = map1;
        r.map2 = map2;
        r.mode = mode;
        QTest::newRow(name) << r << ending;
    };

    row("onward", {}, 849);
    // Every wrong answer once (more enemies in both interludes), a wrong typed
    // answer, and the question at 681 asked again.
    row("every mistake once",
        {{521, {2, 1}}, {533, {1, 2}}, {539, {1, 2}}, {563, {2, 1}}, {577, {1, 2}},
         {585, {2, 1}}, {613, {1, 2}}, {681, {1, 2}}},
        849, Interlude::Win, Interlude::Win, {QStringLiteral("不知道"), QStringLiteral("语言")});
    row("stays at 261", {{261, {2}}}, 857);
    row("stays at 406", {{406, {2}}}, 896);
    row("leaves at 667", {{667, {1}}}, 936);
    row("leaves at 673", {{673, {2}}}, 911);
    row("leaves at 695", {{695, {2}}}, 911);
    row("turns back at 841", {{841, {2}}}, 971);
    row("player caught on the first map", {}, 939, Interlude::LosePlayer);
    row("companion caught on the first map", {}, 947, Interlude::LoseCompanion);
    row("player caught on the second map", {}, 939, Interlude::Win, Interlude::LosePlayer);
    row("companion caught on the second map", {}, 975, Interlude::Win, Interlude::LoseCompanion);
    // Each mode of the interludes once: won in 轻松, lost there after five
    // tries, and passed without a key in 跳过.
    const QStringList said{QStringLiteral("说话")};
    row("onward, 轻松", {}, 849, Interlude::Win, Interlude::Win, said, InterludeMode::Kinder);
    row("player caught on the first map, 轻松", {}, 939, Interlude::LosePlayer, Interlude::Win, said,
        InterludeMode::Kinder);
    row("onward, 跳过", {}, 849, Interlude::Win, Interlude::Win, said, InterludeMode::Skipped);
}

void TestRoutes::route()
{
    QFETCH(Route, route);
    QFETCH(int, ending);

    const Played played = play(route);
    // Reading time at the README's pace: 99 ms a character and 1.5 s a line.
    const double seconds = played.characters * 0.099 + played.lines * 1.5;
    std::printf("ROUTE %-36s ending %3d  %4d lines  %6lld characters  %3d min %02d s\n", qPrintable(route.name),
                played.ending, played.lines, static_cast<long long>(played.characters), int(seconds) / 60,
                int(seconds) % 60);
    std::fflush(stdout);
    QVERIFY2(played.faults.isEmpty(), qPrintable(played.faults.mid(0, 20).join(QLatin1Char('\n'))));
    QCOMPARE(played.ending, ending);
    // Lost on the first map: every try taken, then the capture that ends it.
    if (route.map1 == Interlude::LosePlayer)
        QCOMPARE(played.captures, startingTries(route.mode) + 1);
    QCOMPARE(story->controller->getCurrentPage(), QStringLiteral("index"));
    QVERIFY2(player->media().toLocalFile().endsWith(QLatin1String("Universe.mp3")),
             qPrintable(player->media().toString()));
}

// Each answer and outcome of the graph, played through the controller by the
// way the graph gives: the story must stand where the edge leads, with the
// mistakes and tries the way leaves, offering what the graph says it offers.
void TestRoutes::throughEachEdge_data()
{
    QTest::addColumn<int>("edge");
    const char *const kinds[] = {"opening", "answer", "won", "caught", "lost"};
    for (int e = 0; e < graph().edges().size(); ++e) {
        const story::RouteEdge &edge = graph().edges().at(e);
        QString name = QStringLiteral("%1 %2").arg(graph().nodes().at(edge.from).line).arg(kinds[int(edge.kind)]);
        if (edge.answer > 0)
            name += QStringLiteral(" %1").arg(edge.answer);
        if (edge.companion)
            name += QStringLiteral(", companion");
        QTest::newRow(qPrintable(name)) << e;
    }
}

void TestRoutes::throughEachEdge()
{
    QFETCH(int, edge);
    const story::RouteEdge &through = graph().edges().at(edge);
    const story::Route way = graph().routeThrough(edge);
    QVERIFY(way.found);
    QVERIFY2(through.to > 0, "the edge leads nowhere");
    const story::RouteNode &to = graph().nodes().at(through.to);
    const Played played = play(planOf(way));
    QVERIFY2(played.faults.isEmpty(), qPrintable(played.faults.mid(0, 20).join(QLatin1Char('\n'))));
    if (to.kind == story::RouteNode::Kind::Ending) {
        QCOMPARE(played.ending, to.line);
        return;
    }
    QCOMPARE(played.stoppedAt, through.to);
    QCOMPARE(story::state().mistakeCount, way.mistakes);
    QCOMPARE(stage::interlude().triesLeft, startingTries(InterludeMode::Standard) - way.captures);
    if (to.kind == story::RouteNode::Kind::Interlude) {
        QCOMPARE(stage::interlude().interludeMap, to.map);
    } else if (to.typed) {
        QVERIFY(story->shown(prop::shuruvisible));
    } else {
        QVERIFY(story->shown(prop::daanvisible));
        QCOMPARE(story->property(prop::ida1).toString(), graph().edges().at(to.edges.at(0)).text());
        QCOMPARE(story->property(prop::ida2).toString(), graph().edges().at(to.edges.at(1)).text());
    }
}

void TestRoutes::everyEndingReached()
{
    const QSet<int> endings(story::endingLines().cbegin(), story::endingLines().cend());
    QList<int> unreached = (endings - endingsReached).values();
    std::sort(unreached.begin(), unreached.end());
    QList<int> neverShown;
    for (int n = 1; n <= 975; ++n)
        if (!everShown.contains(n))
            neverShown << n;
    QStringList unshown;
    for (int n : neverShown)
        unshown << QString::number(n);
    std::printf("ENDINGS reached %d of %d; never shown by any route: %s\n", int(endingsReached.size()),
                int(endings.size()), qPrintable(unshown.join(QLatin1Char(' '))));
    std::fflush(stdout);
    // Lines no branch leads to: 858 to 862 (an ending of its own) and the
    // lines a branch passes over to land on the one after.
    const QList<int> unreachable = {683, 850, 852, 858, 859, 860, 861, 862, 863, 897, 912, 937, 940, 948,
                                    957, 963, 965, 967, 972};
    QCOMPARE(neverShown, unreachable);
    QCOMPARE(unreached, QList<int>{862});
    // The graph shows no more and no less than the plays did.
    QList<int> noWayTo;
    for (int n = 1; n <= 975; ++n)
        if (graph().nodesOnWayTo(n).isEmpty())
            noWayTo << n;
    QCOMPARE(noWayTo, unreachable);
    // The extras page's tally leaves out exactly what no route reaches.
    QList<int> leftOut;
    for (int line : story::endingLines())
        if (!story::tallyEndingLines().contains(line))
            leftOut << line;
    QCOMPARE(leftOut, unreached);
    QList<int> routed;
    for (int i = 0; i < graph().nodes().size(); ++i)
        if (graph().nodes().at(i).kind == story::RouteNode::Kind::Ending && graph().routeTo(i).found)
            routed << graph().nodes().at(i).line;
    QCOMPARE(routed, story::tallyEndingLines());
    QVERIFY2(picturesMissing.isEmpty(), qPrintable(picturesMissing.values().join(QLatin1Char(' '))));
}

void TestRoutes::shown(Played &played, int line)
{
    story->finishTyping();
    const QString text = story::typing().fullText;
    const QList<int> numbers = linesByText.value(text);
    if (!numbers.contains(line)) {
        played.faults << QStringLiteral("line %1 shows a text that is not that line: %2").arg(line).arg(text.left(40));
        return;
    }
    everShown.insert(line);
    ++played.lines;
    played.characters += text.size();
    const story::SpeakerSplit speaker = story::splitSpeaker(story::lineText(line));
    if (speaker.tagged && story::speakerName(speaker.id).isEmpty())
        played.faults << QStringLiteral("line %1: unknown speaker %2").arg(line).arg(speaker.id);

    const stage::StagingState &s = stage::staging();
    QStringList pictures{s.bcPath};
    switch (s.figureLayout) {
    case 1: pictures << s.a1Path; break;
    case 2: pictures << s.a2_1Path << s.a2_2Path; break;
    case 3: pictures << s.a3_1Path << s.a3_2Path << s.a3_3Path; break;
    case 4: pictures << s.a1fPath; break;
    case 5: pictures << s.a3_1fPath << s.a3_2fPath << s.a3_3fPath; break;
    default: break;
    }
    for (const QString &name : qAsConst(pictures)) {
        if (!name.isEmpty() && !QFileInfo::exists(gameFile("png/" + name + ".png"))) {
            picturesMissing.insert(name);
            played.faults << QStringLiteral("line %1: picture %2 missing").arg(line).arg(name);
        }
    }
    const QString track = player->media().toLocalFile();
    if (!track.isEmpty() && !QFileInfo::exists(track))
        played.faults << QStringLiteral("line %1: track %2 missing").arg(line).arg(track);
}

TestRoutes::Played TestRoutes::play(const Route &route)
{
    Played played;
    MainWindow *c = story->controller.get();
    story::StoryState &s = story::state();
    story->settings.setInterludeMode(int(route.mode));
    // A route that failed half-way leaves the game page: back to the title, as 返回 does.
    c->navigateindex();
    c->navigategame(QStringLiteral("index"));
    std::map<int, int> asked;
    int typedCount = 0;
    int interludesPlayed = 0;
    for (int guard = 0; guard < 5000; ++guard) {
        const int line = s.currentLine;
        if (c->getCurrentPage() == QLatin1String("index"))
            return played;
        const story::RouteNode &node = nodeAt(line);
        const bool allUsed = std::all_of(route.answers.cbegin(), route.answers.cend(), [&asked](const auto &given) {
            return asked[given.first] >= given.second.size();
        }) && typedCount >= route.typed.size() && played.captures >= route.captures;
        // Standing at a question, or on a map shown again after a capture; an
        // ending is reached below.
        const bool standing = node.kind == story::RouteNode::Kind::Question
                              || (node.kind == story::RouteNode::Kind::Interlude && stage::interlude().interludeMap != 0);
        if (route.target > 0 && graph().nodeAt(line) == route.target && standing && !s.mistakePending && allUsed) {
            played.stoppedAt = route.target;
            return played;
        }
        if (node.kind == story::RouteNode::Kind::Question && !s.mistakePending) {
            if (node.typed) {
                if (!story->shown(prop::shuruvisible)) {
                    played.faults << QStringLiteral("no input box at %1").arg(line);
                    return played;
                }
                const QString text = route.typed.value(qMin(typedCount++, route.typed.size() - 1));
                c->shuru1(text);
                if (s.mistakePending) {
                    // A wrong text is shown as Sorin's and is no script line.
                    if (story->name() != QLatin1String("Sorin") || story->text() != text)
                        played.faults << QStringLiteral("wrong typed answer not shown as Sorin's");
                } else {
                    shown(played, s.currentLine);
                }
                continue;
            }
            if (!story->shown(prop::daanvisible)) {
                played.faults << QStringLiteral("no answers offered at %1").arg(line);
                return played;
            }
            if (!route.answers.count(line)) {
                played.faults << QStringLiteral("no answer planned at %1").arg(line);
                return played;
            }
            const QList<int> &given = route.answers.at(line);
            const int answer = given.value(qMin(asked[line]++, given.size() - 1));
            c->da1(answer);
            shown(played, graph().edges().at(node.edges.at(answer - 1)).answerLine);
            continue;
        }
        if (node.kind == story::RouteNode::Kind::Ending && !s.mistakePending) {
            played.ending = line;
            endingsReached.insert(line);
            c->next1();
            if (c->getCurrentPage() != QLatin1String("index"))
                played.faults << QStringLiteral("ending %1 did not return to the title").arg(line);
            return played;
        }
        if (s.interludeActive) {
            if (route.mode == InterludeMode::Skipped) {
                played.faults << QStringLiteral("the story is held at %1 though the interludes are skipped").arg(line);
                return played;
            }
            const Interlude plan = nodeAt(line).map == 1 ? route.map1 : route.map2;
            if (++interludesPlayed > 20) {
                played.faults << QStringLiteral("the interlude at %1 never ends").arg(line);
                return played;
            }
            driveInterlude(played, plan);
            continue;
        }
        const bool mistake = s.mistakePending;
        c->next1();
        // A return line shows itself and then moves the cursor back into the interlude.
        shown(played, mistake ? story::kMistakeLine : line + 1);
        if (!played.faults.isEmpty())
            return played;
    }
    played.faults << QStringLiteral("no ending after 5000 steps, at line %1").arg(s.currentLine);
    return played;
}

// Steps the interlude as its timer would, with the page's inputs: walk on
// while nothing is near, otherwise aim at the nearest enemy and fire. A
// losing plan walks on without firing, or (for the companion) keeps the
// player in the air so that the enemies pass under to the companion.
void TestRoutes::driveInterlude(Played &played, Interlude plan)
{
    MainWindow *c = story->controller.get();
    stage::InterludeState &in = stage::interlude();
    story::StoryState &s = story::state();
    const int startLine = s.currentLine;
    if (!QFileInfo::exists(gameFile("png/difang.png")))
        played.faults << QStringLiteral("the enemies' picture difang.png is missing");
    for (int step = 0; step < 20000; ++step) {
        if (!s.interludeActive || s.currentLine != startLine)
            return;
        if (!stage::interludeTimer()->isActive()) {
            played.faults << QStringLiteral("the story is held at %1 but the interlude is not running").arg(startLine);
            s.interludeActive = false;
            return;
        }
        const bool enemyNear = in.enemyCount > 0 && in.enemyPositions.size() >= 2
                               && std::abs(in.enemyPositions.at(0) - in.sja2x) < 460;
        if (plan == Interlude::Win && enemyNear) {
            const int ex = in.enemyPositions.at(0);
            const int ey = in.enemyPositions.at(1);
            const float sy = ey > in.sja1y - 10 ? ey + 10 : float(in.sja1y);
            c->weizhi1(float(ex + in.scrollX), sy);
            if (in.playerFiring == 0)
                c->fs1();
        } else if (plan == Interlude::LosePlayer) {
            // Stand just left of where the nearest enemy ahead will land.
            int best = -1;
            for (int k = 0; k < in.enemyCount && 2 * k + 1 < in.enemyPositions.size(); ++k) {
                const int ex = in.enemyPositions.at(2 * k);
                if (ex > in.sja1x - 10 && (best < 0 || ex < in.enemyPositions.at(2 * best)))
                    best = k;
            }
            int target = in.sja1x + 100;
            if (best >= 0) {
                float ex = in.enemyPositions.at(2 * best);
                float ey = in.enemyPositions.at(2 * best + 1);
                const float evx = in.enemyMotion.value(2 * best).toFloat();
                float evy = in.enemyMotion.value(2 * best + 1).toFloat();
                for (int t = 0; t < 80 && (ey <= 325 || evy < 0); ++t) {
                    evy += 0.5f;
                    ex += std::round(evx);
                    ey += std::round(evy);
                }
                target = int(ex) - 20;
            }
            if (in.sja1x < target - 4 && in.playerVx < 1)
                c->ad1(2);
            else if (in.sja1x > target + 4 && in.playerVx > -1)
                c->ad1(1);
        } else if (plan == Interlude::LoseCompanion) {
            // Standing while the enemies blink, then off the ground and on.
            if (in.sja1y >= 305 && in.enemyWait == 0)
                c->ws1(1);
            if (std::abs(in.playerVx) < 2 && in.enemyWait == 0)
                c->ad1(2);
        } else if (std::abs(in.playerVx) < 1) {
            c->ad1(2);
        }
        const int before = s.currentLine;
        stage::interludeStep(story->game);
        if (s.currentLine != before) {
            // A capture: its scene's first line is shown, or a return line at once.
            story->finishTyping();
            int scene = 0;
            for (int n : linesByText.value(story::typing().fullText))
                if (captureScenes.contains(n))
                    scene = n;
            if (scene == 0) {
                played.faults << QStringLiteral("a capture at %1 shows no capture scene").arg(startLine);
                return;
            }
            ++played.captures;
            shown(played, scene);
            return;
        }
    }
    played.faults << QStringLiteral("interlude at %1 undecided after 20000 steps (x %2, %3 enemies)")
                         .arg(startLine).arg(in.sja1x).arg(in.enemyCount);
    s.interludeActive = false;
}

QTEST_MAIN(TestRoutes)
#include "tst_routes.moc"
