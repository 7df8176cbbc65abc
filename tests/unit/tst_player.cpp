#include "core/paths.h"
#include "music/player.h"
#include "audiofixture.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QtTest>

#include <memory>

#ifndef SOLVANE_QT_MEDIA_PLAYER
#include <gst/gst.h>

// Live objects of one type, by GStreamer's own leak tracer (-1 when the
// tracer is not running).
static int liveGstObjects(const char *typeName)
{
    int n = -1;
    GList *tracers = gst_tracing_get_active_tracers();
    for (GList *t = tracers; t; t = t->next) {
        if (g_strcmp0(G_OBJECT_TYPE_NAME(t->data), "GstLeaksTracer") != 0)
            continue;
        GstStructure *info = nullptr;
        g_signal_emit_by_name(t->data, "get-live-objects", &info);
        if (!info)
            continue;
        n = 0;
        const GValue *list = gst_structure_get_value(info, "live-objects-list");
        for (guint i = 0; list && i < gst_value_list_get_size(list); ++i) {
            const GstStructure *o = gst_value_get_structure(gst_value_list_get_value(list, i));
            const GValue *object = gst_structure_get_value(o, "object");
            n += object && g_strcmp0(G_VALUE_TYPE_NAME(object), typeName) == 0 ? 1 : 0;
        }
        // Not freed: GStreamer 1.22 puts the objects in it without a reference of
        // their own, so freeing it would release objects that are still in use.
        (void)info;
    }
    g_list_free_full(tracers, gst_object_unref);
    return n;
}
#endif

// The music player on its own: what a track change does to messages still on
// their way from the track before, and starting, stopping and deleting it at
// awkward moments.
class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void playsToTheEnd_data();
    void playsToTheEnd();
    void earlierTrackErrorsDoNotReachTheNext_data();
    void earlierTrackErrorsDoNotReachTheNext();
    void oneErrorPerBrokenTrack_data();
    void oneErrorPerBrokenTrack();
    void loadsOnlyItsOwnChain();
    void withoutOutputKeepsTime_data();
    void withoutOutputKeepsTime();
    void stoppedFromItsOwnStart();
    void volumeStaysInRange_data();
    void volumeStaysInRange();
    void deletedWhilePlaying();
    void finishedTracksAreReleased();
    void keepsItsPlace_data();
    void keepsItsPlace();

private:
    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<music::Player> player;
};

void TestPlayer::initTestCase()
{
    // Before the first track starts GStreamer, which reads it once.
    qputenv("GST_TRACERS", "leaks");
}

void TestPlayer::init()
{
    dir = std::make_unique<ScratchDir>();
    dir->write("good.mp3", shortMp3());
    dir->write("wave.mp3", shortWav());
    dir->write("text.mp3", QByteArray(4096, 'x'));
    dir->write("empty.mp3", QByteArray());
    player = std::make_unique<music::Player>();
}

void TestPlayer::cleanup()
{
    player.reset();
    dir.reset();
}

void TestPlayer::playsToTheEnd_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("short silent track") << "good.mp3";
    // As the generator writes them, when it has.
    QTest::newRow("game track") << SOLVANE_GAME_DIR "/mp3/Universe.mp3";
}

void TestPlayer::playsToTheEnd()
{
    QFETCH(QString, file);
    if (!QFile::exists(file))
        QSKIP("the game's music is not generated");
    QSignalSpy states(player.get(), &music::Player::stateChanged);
    QSignalSpy statuses(player.get(), &music::Player::mediaStatusChanged);
    QSignalSpy errors(player.get(), &music::Player::error);
    player->setMedia(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    QVERIFY(player->mediaStatus() == music::Player::LoadedMedia || player->mediaStatus() == music::Player::LoadingMedia);
    player->play();
    QCOMPARE(player->state(), music::Player::PlayingState);
    QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), music::Player::EndOfMedia, 30000);
    // The end comes first, so that a handler of the stop can tell it from an error.
    QCOMPARE(statuses.constLast().at(0).value<music::Player::MediaStatus>(), music::Player::EndOfMedia);
    QCOMPARE(player->state(), music::Player::StoppedState);
    QCOMPARE(errors.size(), 0);

    // Again from the start.
    states.clear();
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(states.size(), 2, 30000);
    QCOMPARE(player->mediaStatus(), music::Player::EndOfMedia);
}

void TestPlayer::earlierTrackErrorsDoNotReachTheNext_data()
{
    QTest::addColumn<QString>("broken");
    QTest::newRow("missing file") << "nothing.mp3";
    QTest::newRow("not audio") << "text.mp3";
    QTest::newRow("empty file") << "empty.mp3";
    QTest::newRow("WAV named .mp3") << "wave.mp3";
}

// The broken track's error is still queued when the next one starts; it
// must not stop the good track or be reported against it.
void TestPlayer::earlierTrackErrorsDoNotReachTheNext()
{
    QFETCH(QString, broken);
    QSignalSpy errors(player.get(), &music::Player::error);
    player->setMedia(core::mediaUrl(broken));
    player->play();
    player->stop();
    player->setMedia(core::mediaUrl("good.mp3"));
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), music::Player::EndOfMedia, 10000);
    QTest::qWait(200);
    QCOMPARE(errors.size(), 0);
    QVERIFY(player->errorString().isEmpty());
}

void TestPlayer::oneErrorPerBrokenTrack_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<music::Player::Error>("kind");
    QTest::newRow("not audio") << "text.mp3" << music::Player::FormatError;
    QTest::newRow("empty file") << "empty.mp3" << music::Player::FormatError;
    QTest::newRow("WAV named .mp3") << "wave.mp3" << music::Player::FormatError;
    QTest::newRow("missing file") << "nothing.mp3" << music::Player::ResourceError;
}

void TestPlayer::oneErrorPerBrokenTrack()
{
    QFETCH(QString, file);
    QFETCH(music::Player::Error, kind);
    QSignalSpy errors(player.get(), &music::Player::error);
    QSignalSpy states(player.get(), &music::Player::stateChanged);
    player->setMedia(core::mediaUrl(file));
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 10000);
    QTest::qWait(300);
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.constFirst().at(0).value<music::Player::Error>() != music::Player::NoError);
#ifndef SOLVANE_QT_MEDIA_PLAYER // Qt's own player names its errors its own way
    QCOMPARE(errors.constFirst().at(0).value<music::Player::Error>(), kind);
    QCOMPARE(player->mediaStatus(), music::Player::InvalidMedia);
#else
    Q_UNUSED(kind)
#endif
    QCOMPARE(player->state(), music::Player::StoppedState);
    QVERIFY(!player->errorString().isEmpty());
    // Never started again by itself.
    int started = 0;
    for (const QList<QVariant> &args : states)
        started += args.at(0).value<music::Player::State>() == music::Player::PlayingState ? 1 : 0;
    QVERIFY(started <= 1);
}

// Whatever else the machine has installed, playing and failing load the
// chain's own plugins and no others (no typefinders, no codecs by rank).
void TestPlayer::loadsOnlyItsOwnChain()
{
#ifdef SOLVANE_QT_MEDIA_PLAYER
    QSKIP("Qt's player chooses its own");
#else
    for (const char *file : {"good.mp3", "text.mp3"}) {
        player->setMedia(core::mediaUrl(file));
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(player->state() == music::Player::StoppedState, 10000);
    }
    const QStringList chain = {"staticelements", "coreelements", "coretracers", "audioparsers", "mpg123",
                               "audioconvert", "audioresample", "volume"};
    QStringList others;
    GList *plugins = gst_registry_get_plugin_list(gst_registry_get());
    for (GList *p = plugins; p; p = p->next) {
        const QString name = QString::fromUtf8(gst_plugin_get_name(GST_PLUGIN(p->data)));
        if (gst_plugin_is_loaded(GST_PLUGIN(p->data)) && !chain.contains(name))
            others.append(name);
    }
    gst_plugin_list_free(plugins);
    QVERIFY2(others.isEmpty(), qPrintable(others.join(' ')));
#endif
}

void TestPlayer::withoutOutputKeepsTime_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("plays");
    QTest::newRow("a track ends at its length") << "good.mp3" << true;
    QTest::newRow("not audio is still told") << "text.mp3" << false;
    QTest::newRow("WAV named .mp3 is still told") << "wave.mp3" << false;
}

// Whatever output the machine has (none here, where only time is kept and
// nothing decoded), a track lasts its length and a broken one is an error.
void TestPlayer::withoutOutputKeepsTime()
{
    QFETCH(QString, file);
    QFETCH(bool, plays);
    const QByteArray asked = qgetenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK");
    qunsetenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK");
    auto restore = qScopeGuard([&asked] { qputenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK", asked); });
    QSignalSpy errors(player.get(), &music::Player::error);
    QElapsedTimer clock;
    clock.start();
    player->setMedia(core::mediaUrl(file));
    player->play();
    if (!plays) {
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 10000);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), music::Player::EndOfMedia, 10000);
    QVERIFY2(clock.elapsed() >= 400, qPrintable(QString::number(clock.elapsed()))); // 20 frames of 24 ms
    QCOMPARE(errors.size(), 0);
}

// A handler that stops the player as it starts leaves it stopped for good,
// not playing behind the music code's back.
void TestPlayer::stoppedFromItsOwnStart()
{
    player->setMedia(core::mediaUrl("good.mp3"));
    connect(player.get(), &music::Player::stateChanged, this, [this](music::Player::State state) {
        if (state == music::Player::PlayingState)
            player->stop();
    });
    QSignalSpy statuses(player.get(), &music::Player::mediaStatusChanged);
    player->play();
    QCOMPARE(player->state(), music::Player::StoppedState);
    QTest::qWait(300);
    QCOMPARE(player->state(), music::Player::StoppedState);
    QVERIFY(!statuses.contains({QVariant::fromValue(music::Player::EndOfMedia)}));
}

void TestPlayer::volumeStaysInRange_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("kept");
    QTest::newRow("silent") << 0 << 0;
    QTest::newRow("half") << 50 << 50;
    QTest::newRow("full") << 100 << 100;
    QTest::newRow("below") << -5 << 0;
    QTest::newRow("above") << 250 << 100;
}

void TestPlayer::volumeStaysInRange()
{
    QFETCH(int, asked);
    QFETCH(int, kept);
    player->setVolume(asked);
    QCOMPARE(player->volume(), kept);
    // Set while a track plays as well as before.
    player->setMedia(core::mediaUrl("good.mp3"));
    player->play();
    player->setVolume(asked);
    QCOMPARE(player->volume(), kept);
    QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), music::Player::EndOfMedia, 10000);
}

// Messages from the pipeline may still be queued for a player that is gone.
void TestPlayer::deletedWhilePlaying()
{
    for (const char *file : {"good.mp3", "text.mp3", "nothing.mp3"}) {
        auto doomed = std::make_unique<music::Player>();
        doomed->setMedia(core::mediaUrl(file));
        doomed->play();
        QTest::qWait(5);
        doomed.reset();
        QTest::qWait(100);
    }
    player->setMedia(core::mediaUrl("good.mp3"));
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), music::Player::EndOfMedia, 10000);
#ifndef SOLVANE_QT_MEDIA_PLAYER
    // Nor may those messages outlive it.
    QCoreApplication::processEvents();
    const int messages = liveGstObjects("GstMessage");
    QVERIFY2(messages <= 0, qPrintable(QString::number(messages)));
#endif
}

// Music loops by starting its track again at each end: whatever a finished
// track held (its parser, its decoder, the messages they posted) must go,
// or a long session grows without bound.
void TestPlayer::finishedTracksAreReleased()
{
#ifdef SOLVANE_QT_MEDIA_PLAYER
    QSKIP("GStreamer's objects are Qt's player's own");
#else
    player->setMedia(core::mediaUrl("good.mp3"));
    const int tracks = 30;
    for (int i = 0; i < tracks; ++i) {
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), music::Player::EndOfMedia, 10000);
    }
    const int parsers = liveGstObjects("GstMpegAudioParse");
    if (parsers < 0)
        QSKIP("GStreamer's leak tracer is not installed");
    QVERIFY2(parsers <= 1, qPrintable(QString::number(parsers)));
    const int messages = liveGstObjects("GstMessage");
    QVERIFY2(messages < tracks, qPrintable(QString::number(messages)));
#endif
}

void TestPlayer::keepsItsPlace_data()
{
    QTest::addColumn<qint64>("startAt"); // -1: from the start, paused on the way
    QTest::newRow("paused and played on") << qint64(-1);
    QTest::newRow("started where it was") << qint64(4000);
}

// ▷ after ‖ goes on from where the track was; a track handed over to a new
// process starts where it had come to.
void TestPlayer::keepsItsPlace()
{
    QFETCH(qint64, startAt);
    const QString file = QStringLiteral(SOLVANE_GAME_DIR "/mp3/Universe.mp3");
    if (!QFile::exists(file))
        QSKIP("the game's music is not generated");
    // In time, as a player hears it: the tests' own sink runs through a track at once.
    const QByteArray sink = qgetenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK");
    qunsetenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK");
    player->setMedia(QUrl::fromLocalFile(file));
    player->play();
    if (startAt >= 0)
        player->setPosition(startAt); // asked while the track still loads
    QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), music::Player::BufferedMedia, 5000);
    qputenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK", sink);
    if (startAt >= 0) {
        // Sooner than playing there from the start could bring it.
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= startAt, 1500);
        QVERIFY(player->position() < startAt + 2000);
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 800, 5000);
    player->pause();
    QCOMPARE(player->state(), music::Player::PausedState);
    const qint64 held = player->position();
    QTest::qWait(400);
    QVERIFY(qAbs(player->position() - held) < 100);
    player->play();
    QCOMPARE(player->state(), music::Player::PlayingState);
    QTest::qWait(300);
    QVERIFY2(player->position() >= held, qPrintable(QString("%1 -> %2").arg(held).arg(player->position())));
}

QTEST_MAIN(TestPlayer)
#include "tst_player.moc"
