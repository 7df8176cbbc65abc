#include "core/paths.h"
#include "core/textlines.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "app/startup.h"
#include "stage/interludestate.h"
#include "music/music.h"
#include "story/storystate.h"
#include "audiofixture.h"
#include "testsupport.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

QString fileOf(const music::Player &player)
{
    return player.media().toLocalFile();
}

int failures(const MessageLog &log)
{
    return log.count(QStringLiteral("无法播放音乐"));
}

int playingCount(const QSignalSpy &spy)
{
    int n = 0;
    for (const QList<QVariant> &args : spy)
        n += args.at(0).value<music::Player::State>() == music::Player::PlayingState ? 1 : 0;
    return n;
}

} // namespace

class TestMusic : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void storyTrack_data();
    void storyTrack();
    void cursorBeforeFirstLine();
    void titleTrack();
    void galleryStep_data();
    void galleryStep();
    void galleryWrapsRoundTheTable();
    void tracksLoop();
    void holdStopsTheLoop();
    void failedTrack_data();
    void failedTrack();
    void caseBlindNames_data();
    void caseBlindNames();
    void noPlayerDoesNothing();

private:
    QString absolute(const QString &relative) const { return QDir(dir->path()).absoluteFilePath(relative); }

    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<MainWindow> controller;
    std::unique_ptr<music::Player> player;
    Game game;
};

void TestMusic::initTestCase()
{
    // The wiring also reaches the interlude timer, which start-up creates first.
    if (!stage::interludeTimer())
        stage::interludeTimer() = new QTimer;
}

void TestMusic::init()
{
    dir = std::make_unique<ScratchDir>();
    for (const QString &file : music::musicFiles())
        dir->write(file, shortMp3());
    engine = std::make_unique<QQmlEngine>();
    controller = std::make_unique<MainWindow>();
    player = std::make_unique<music::Player>();
    game = Game();
    game.engine = engine.get();
    game.controller = controller.get();
    game.musicPlayer = player.get();
    music::music() = music::MusicState();
    story::state() = story::StoryState();
    app::connectHandlers(game);
}

void TestMusic::cleanup()
{
    player->disconnect();
    player->stop();
    player.reset();
    controller.reset();
    engine.reset();
    dir.reset();
}

void TestMusic::storyTrack_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("file");
    QTest::newRow("first line") << 1 << "mp3/Memories.mp3";
    QTest::newRow("just before a change") << 37 << "mp3/Memories.mp3";
    QTest::newRow("on a table line") << 38 << "mp3/Playing_Together_With_You.mp3";
    QTest::newRow("between 192 and 255") << 200 << "mp3/Playing_Together_With_You.mp3";
    QTest::newRow("inside the first map") << 700 << "mp3/Civilization.mp3";
    QTest::newRow("after the first map") << 702 << "mp3/Memories.mp3";
    QTest::newRow("between 898 and 913") << 900 << "mp3/Farewell.mp3";
    QTest::newRow("last line") << 975 << "mp3/Farewell.mp3";
}

void TestMusic::storyTrack()
{
    QFETCH(int, line);
    QFETCH(QString, file);
    story::state().currentLine = line;
    music::playMusicForLine(game);
    QCOMPARE(fileOf(*player), absolute(file));
    QTRY_VERIFY(player->state() == music::Player::PlayingState || player->mediaStatus() == music::Player::EndOfMedia);
}

void TestMusic::cursorBeforeFirstLine()
{
    story::state().currentLine = 5;
    music::playMusicForLine(game);
    MessageLog log;
    story::state().currentLine = 0;
    music::playMusicForLine(game);
    QCOMPARE(fileOf(*player), absolute("mp3/Memories.mp3"));
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.messages.constFirst().contains("配乐"));
}

void TestMusic::titleTrack()
{
    controller->inextra1(1);
    QCOMPARE(fileOf(*player), absolute("mp3/Playing_Together_With_You.mp3"));
    controller->navigateindex();
    QCOMPARE(fileOf(*player), absolute("mp3/Universe.mp3"));

    story::state().currentLine = 900;
    music::playMusicForLine(game);
    controller->navigateindex();
    QCOMPARE(fileOf(*player), absolute("mp3/Universe.mp3"));
    QTRY_COMPARE(player->state(), music::Player::PlayingState);
}

void TestMusic::galleryStep_data()
{
    QTest::addColumn<int>("startIndex");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    // -1 stands for the index the run starts with.
    QTest::newRow("first > after start") << -1 << 1 << "mp3/Playing_Together_With_You.mp3" << "一起玩";
    QTest::newRow("first < after start") << -1 << -1 << "mp3/Universe.mp3" << "宇宙";
    QTest::newRow("< from 0 wraps to 7") << 0 << -1 << "mp3/The_Stars_Shall_Never_Forget.mp3" << "群星永不忘记";
    QTest::newRow("> from 7 wraps to 0") << 7 << 1 << "mp3/Universe.mp3" << "宇宙";
    QTest::newRow("> from 4") << 4 << 1 << "mp3/Civilization.mp3" << "文明";
    QTest::newRow("< from 6") << 6 << -1 << "mp3/Civilization.mp3" << "文明";
}

void TestMusic::galleryStep()
{
    QFETCH(int, startIndex);
    QFETCH(int, step);
    QFETCH(QString, file);
    QFETCH(QString, title);
    if (startIndex >= 0)
        music::music().musicIndex = startIndex;
    QCOMPARE(engine->rootContext()->contextProperty(prop::texte.text).toString(), QString("宇宙"));
    controller->inextra1(step);
    QCOMPARE(fileOf(*player), absolute(file));
    QCOMPARE(engine->rootContext()->contextProperty(prop::texte.text).toString(), title);
}

void TestMusic::galleryWrapsRoundTheTable()
{
    for (int step : {-1, 1}) {
        music::music().musicIndex = 3;
        controller->inextra1(step);
        const QString first = fileOf(*player);
        const QString firstTitle = engine->rootContext()->contextProperty(prop::texte.text).toString();
        QStringList seen;
        for (int i = 0; i < 8; ++i) {
            controller->inextra1(step);
            seen.append(engine->rootContext()->contextProperty(prop::texte.text).toString());
        }
        QCOMPARE(fileOf(*player), first);
        QCOMPARE(seen.last(), firstTitle);
        seen.removeDuplicates();
        QCOMPARE(seen.size(), 8);
    }
}

void TestMusic::tracksLoop()
{
    QSignalSpy states(player.get(), &music::Player::stateChanged);
    music::startTrack(game, "mp3/Memories.mp3");
    QTRY_VERIFY_WITH_TIMEOUT(playingCount(states) >= 3, 10000);
    QCOMPARE(fileOf(*player), absolute("mp3/Memories.mp3"));
}

void TestMusic::holdStopsTheLoop()
{
    QSignalSpy states(player.get(), &music::Player::stateChanged);
    music::startTrack(game, "mp3/Memories.mp3");
    QTRY_VERIFY_WITH_TIMEOUT(playingCount(states) >= 1, 10000);

    controller->inbextra1(0);
    QVERIFY(music::music().musicStopped);
    QCOMPARE(player->state(), music::Player::PausedState);
    states.clear();
    QTest::qWait(500);
    QCOMPARE(playingCount(states), 0);

    // A new track still plays while paused, but only once.
    music::startTrack(game, "mp3/Farewell.mp3");
    QTRY_VERIFY_WITH_TIMEOUT(player->mediaStatus() == music::Player::EndOfMedia, 10000);
    QTest::qWait(300);
    QCOMPARE(playingCount(states), 1);
    QCOMPARE(player->state(), music::Player::StoppedState);

    controller->inbextra1(1);
    QVERIFY(!music::music().musicStopped);
    QTRY_VERIFY_WITH_TIMEOUT(playingCount(states) >= 3, 10000);
    QCOMPARE(fileOf(*player), absolute("mp3/Farewell.mp3"));
}

void TestMusic::failedTrack_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("not audio") << QByteArray(4096, 'x');
    QTest::newRow("empty file") << QByteArray("");
    QTest::newRow("another format named .mp3") << shortWav();
}

void TestMusic::failedTrack()
{
    QFETCH(QByteArray, content);
#ifdef Q_OS_WIN
    if (content.startsWith("RIFF"))
        QSKIP("Windows' player reads a WAV file whatever its name says");
#endif
    const QString broken = "mp3/Broken.mp3";
    if (!content.isNull())
        dir->write(broken, content);
    QSignalSpy states(player.get(), &music::Player::stateChanged);
    MessageLog log;

    music::startTrack(game, broken);
    QTRY_VERIFY_WITH_TIMEOUT(failures(log) >= 1, 10000);
    QTest::qWait(500);
    QCOMPARE(failures(log), 1);
    QVERIFY(log.messages.filter("无法播放音乐").constFirst().contains("Broken.mp3"));
    // A corrupt file starts once on its own; it must never be started again.
    QVERIFY2(playingCount(states) <= 1, qPrintable(QString::number(states.size())));
    QCOMPARE(player->state(), music::Player::StoppedState);

    // The play button does not retry a track that failed.
    states.clear();
    controller->inbextra1(1);
    QTest::qWait(200);
    QCOMPARE(playingCount(states), 0);
    QCOMPARE(failures(log), 1);

    // Asking for another track plays and loops again.
    music::startTrack(game, "mp3/Universe.mp3");
    QTRY_VERIFY_WITH_TIMEOUT(playingCount(states) >= 2, 10000);
    QCOMPARE(failures(log), 1);
}

void TestMusic::caseBlindNames_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("start-up name") << "mp3/universe.mp3" << "mp3/Universe.mp3";
    QTest::newRow("exact name") << "mp3/Universe.mp3" << "mp3/Universe.mp3";
    QTest::newRow("every part in other case") << "MP3/FAREWELL.MP3" << "mp3/Farewell.mp3";
    QTest::newRow("directory with a dot part") << "./Mp3/memories.mp3" << "mp3/Memories.mp3";
    QTest::newRow("missing file stays as asked") << "mp3/nothing.mp3" << "mp3/nothing.mp3";
    QTest::newRow("missing directory stays as asked") << "ogg/Universe.mp3" << "ogg/Universe.mp3";
}

void TestMusic::caseBlindNames()
{
    QFETCH(QString, asked);
    QFETCH(QString, resolved);
#ifdef Q_OS_WIN
    // Windows' own file system finds a file whatever the case asked.
    QCOMPARE(QFileInfo::exists(core::mediaUrl(asked).toLocalFile()), QFileInfo::exists(resolved));
#else
    QCOMPARE(core::resolvePath(asked), resolved);
    QCOMPARE(core::mediaUrl(asked).toLocalFile(), absolute(resolved));
#endif
    if (!QFile::exists(resolved))
        return;
    MessageLog log;
    QSignalSpy statuses(player.get(), &music::Player::mediaStatusChanged);
    music::startTrack(game, asked);
    QTRY_VERIFY_WITH_TIMEOUT(statuses.contains({QVariant::fromValue(music::Player::EndOfMedia)}), 10000);
    QCOMPARE(failures(log), 0);
}

void TestMusic::noPlayerDoesNothing()
{
    game.musicPlayer = nullptr;
    story::state().currentLine = 0;
    music::playMusicForLine(game);
    music::playTitleMusic(game, 1);
    music::playGalleryTrack(game, 1);
    music::holdMusic(game, 0);
    music::loopMusic(game, music::Player::StoppedState);
    music::startTrack(game, "mp3/Universe.mp3");
    QCOMPARE(music::music().musicIndex, 1);
    QVERIFY(!music::music().musicStopped);
    QVERIFY(player->media().isEmpty());
}

QTEST_MAIN(TestMusic)
#include "tst_music.moc"
