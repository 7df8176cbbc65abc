#include "music/player.h"

#include "core/log.h"

#include <QtDebug>

#ifdef SOLVANE_QT_MEDIA_PLAYER

#include <QMediaContent>
#include <QMediaPlayer>

// Windows: Qt's player has no video pipeline to build for a file without pictures.
namespace music {

struct Player::Backend {
    QMediaPlayer player;
};

Player::Player(QObject *parent) : QObject(parent), backend(std::make_unique<Backend>())
{
    registerTypes();
    QMediaPlayer *p = &backend->player;
    // The enums are Qt's, value for value.
    connect(p, &QMediaPlayer::stateChanged, this, [this](QMediaPlayer::State s) { setState(State(s)); });
    connect(p, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus s) { setStatus(MediaStatus(s)); });
    connect(p, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), this,
            [this, p](QMediaPlayer::Error e) { fail(Error(e), p->errorString()); });
}

Player::~Player() = default;

void Player::setMedia(const QUrl &file)
{
    current = file;
    backend->player.setMedia(QMediaContent(file));
}

void Player::play()
{
    backend->player.play();
}

void Player::pause()
{
    backend->player.pause();
}

void Player::stop()
{
    backend->player.stop();
}

qint64 Player::position() const
{
    return backend->player.position();
}

void Player::setPosition(qint64 ms)
{
    backend->player.setPosition(ms);
}

void Player::setVolume(int volume)
{
    vol = qBound(0, volume, 100);
    backend->player.setVolume(vol);
}

void Player::fail(Error e, const QString &text)
{
    lastError = text;
    emit error(e);
}

} // namespace music

#else

#include "music/audiooutput.h"

#include <gst/gst.h>

#include <QFile>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <mutex>

namespace music {

namespace {

// Where Debian ships each element of the chain.
const char *packageOf(const char *element)
{
    const QByteArray name(element);
    if (name == "filesrc" || name == "fakesink")
        return "libgstreamer1.0-0";
    if (name == "mpegaudioparse" || name == "mpg123audiodec")
        return "gstreamer1.0-plugins-good";
    return "gstreamer1.0-plugins-base";
}

} // namespace

// Loading GStreamer and finding a sound output take 50 to 100 ms, more than
// the whole title page; a thread of the player's own does that and starts
// each track, so start-up never waits for it. Everything else stays on the
// GUI thread.
struct Player::Backend {
    Player *owner = nullptr;
    // Nothing in the pipeline can ever show a picture, and it runs on one
    // streaming thread (playbin adds a queue and a second one). Made by the
    // first start.
    GstElement *pipeline = nullptr;
    GstElement *source = nullptr;
    GstElement *level = nullptr;
    bool built = false;
    double volume = 1.0;
    // Paused by the player: a start still on its way only prerolls.
    bool paused = false;
    // Where the next run begins once it has prerolled, in ms; -1 from the start.
    qint64 startAt = -1;
    // Held around every state change, the rise of the run and the fields above.
    std::mutex lock;
    // Raised each time the pipeline is torn down: a start or a bus message of
    // an earlier run is stale and dropped, so one broken file reports once.
    std::atomic<int> run{0};
    QThreadPool starter; // one thread: starts happen in the order asked

    // Back to READY, not NULL: the automatic audio sink keeps the output it
    // found instead of probing every sound system again for each track.
    void teardown(GstState to = GST_STATE_READY)
    {
        std::lock_guard<std::mutex> hold(lock);
        if (pipeline)
            gst_element_set_state(pipeline, to);
        paused = false;
        ++run;
    }

    // Paused or playing on, without a new run: the track keeps its place.
    void hold(bool pause)
    {
        std::lock_guard<std::mutex> guard(lock);
        paused = pause;
        if (pipeline)
            gst_element_set_state(pipeline, pause ? GST_STATE_PAUSED : GST_STATE_PLAYING);
    }

    void seekIfAsked()
    {
        std::lock_guard<std::mutex> hold(lock);
        if (startAt < 0 || !pipeline)
            return;
        gst_element_seek_simple(pipeline, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                startAt * GST_MSECOND);
        startAt = -1;
    }

    // On the starter thread.
    void start(int sent, const QByteArray &file)
    {
        std::lock_guard<std::mutex> hold(lock);
        if (sent != run.load())
            return;
        if (!built) {
            built = true;
            if (gstreamerReady()) {
                if (const char *missing = build())
                    qCWarning(lcMusic).noquote() << QStringLiteral("缺少 GStreamer 插件 %1（%2），没有音乐")
                                                        .arg(QLatin1String(missing), QLatin1String(packageOf(missing)));
            }
        }
        if (!pipeline) {
            failLater(sent, Player::ServiceMissingError, QStringLiteral("no GStreamer pipeline"));
            return;
        }
        g_object_set(source, "location", file.constData(), nullptr);
        if (level)
            g_object_set(level, "volume", volume, nullptr);
        // An element that fails posts its error first, and that is handled
        // first; this covers a failure that posted none.
        if (gst_element_set_state(pipeline, paused ? GST_STATE_PAUSED : GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
            failLater(sent, Player::ResourceError, QStringLiteral("the pipeline did not start"));
    }

    void failLater(int sent, Error error, const QString &text)
    {
        QMetaObject::invokeMethod(
            owner,
            [this, sent, error, text] {
                if (sent != run.load())
                    return;
                teardown(GST_STATE_NULL);
                owner->fail(error, text);
            },
            Qt::QueuedConnection);
    }

    // file ! MP3 parser ! mpg123 ! convert ! resample ! volume ! output, each
    // element by name: the tracks are MP3, and choosing a decoder by rank
    // would load every codec library the machine has (tens of MB) to find one.
    // Returns the first element that is missing, or nullptr.
    const char *build()
    {
        // Silent, the parser alone keeps the track's time.
        const Chain chain = buildChain("music", {"filesrc", "mpegaudioparse", "mpg123audiodec", "audioconvert",
                                                  "audioresample", "volume"}, 2);
        if (!chain.pipeline)
            return chain.missing ? chain.missing : "mpg123audiodec";
        pipeline = chain.pipeline;
        source = chain.parts[0];
        level = chain.parts.size() > 6 ? chain.parts[5] : nullptr;
        GstBus *bus = gst_element_get_bus(pipeline);
        gst_bus_set_sync_handler(bus, &Backend::onMessage, this, nullptr);
        gst_object_unref(bus);
        return nullptr;
    }

    // Streaming threads post here; the message is handled on the GUI thread.
    // No lock: a thread tearing the pipeline down holds it and waits for them.
    // Returning GST_BUS_DROP hands the message to us. Each one keeps its
    // sender (the decoder elements of a finished track) alive, so each is
    // released here, or by the queued handler, or with that handler when the
    // player is deleted before it runs.
    static GstBusSyncReply onMessage(GstBus *, GstMessage *msg, gpointer data)
    {
        auto *self = static_cast<Backend *>(data);
        std::shared_ptr<GstMessage> owned(msg, [](GstMessage *m) { gst_message_unref(m); });
        const GstMessageType type = GST_MESSAGE_TYPE(msg);
        const bool fromPipeline = GST_MESSAGE_SRC(msg) == GST_OBJECT(self->pipeline);
        if (type == GST_MESSAGE_ERROR || (fromPipeline && (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ASYNC_DONE))) {
            const int sent = self->run.load();
            QMetaObject::invokeMethod(
                self->owner,
                [self, owned, sent] {
                    if (sent == self->run.load())
                        self->handle(owned.get());
                },
                Qt::QueuedConnection);
        }
        return GST_BUS_DROP;
    }

    void handle(GstMessage *msg)
    {
        switch (GST_MESSAGE_TYPE(msg)) {
        case GST_MESSAGE_ASYNC_DONE:
            if (owner->status == Player::LoadingMedia) {
                qCDebug(lcMusic).noquote() << QStringLiteral("开始播放") << owner->current.toLocalFile();
                owner->setStatus(Player::BufferedMedia);
                seekIfAsked();
            }
            break;
        case GST_MESSAGE_EOS:
            // Release the decoder; play() starts afresh.
            teardown();
            owner->setStatus(Player::EndOfMedia);
            owner->setState(Player::StoppedState);
            break;
        case GST_MESSAGE_ERROR: {
            GError *err = nullptr;
            gst_message_parse_error(msg, &err, nullptr);
            const bool missing = err && err->domain == GST_RESOURCE_ERROR
                && (err->code == GST_RESOURCE_ERROR_NOT_FOUND || err->code == GST_RESOURCE_ERROR_OPEN_READ);
            const QString text = QString::fromUtf8(err ? err->message : "unknown error");
            g_clear_error(&err);
            // A failed run may leave elements behind that would fail the next
            // file too; only NULL clears them.
            teardown(GST_STATE_NULL);
            owner->fail(missing ? Player::ResourceError : Player::FormatError, text);
            break;
        }
        default:
            break;
        }
    }
};

Player::Player(QObject *parent) : QObject(parent), backend(std::make_unique<Backend>())
{
    registerTypes();
    backend->owner = this;
    backend->starter.setMaxThreadCount(1);
}

Player::~Player()
{
    backend->teardown(GST_STATE_NULL);
    backend->starter.waitForDone(); // a start still queued sees the raised run and returns
    if (!backend->pipeline)
        return;
    gst_element_set_state(backend->pipeline, GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(backend->pipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(backend->pipeline);
}

void Player::setMedia(const QUrl &file)
{
    backend->teardown();
    backend->startAt = -1;
    current = file;
    lastError.clear();
    setStatus(file.isEmpty() ? NoMedia : LoadedMedia);
    setState(Player::StoppedState);
}

void Player::play()
{
    if (current.isEmpty() || playState == Player::PlayingState)
        return;
    if (playState == Player::PausedState) {
        backend->hold(false);
        setState(Player::PlayingState);
        return;
    }
    backend->teardown();
    lastError.clear();
    setStatus(Player::LoadingMedia);
    setState(Player::PlayingState);
    if (playState != Player::PlayingState)
        return; // a handler of the state change stopped it again
    const int sent = backend->run.load();
    const QByteArray file = QFile::encodeName(current.toLocalFile());
    Backend *b = backend.get();
    backend->starter.start([b, sent, file] { b->start(sent, file); });
}

void Player::pause()
{
    if (playState != Player::PlayingState)
        return;
    backend->hold(true);
    setState(Player::PausedState);
}

qint64 Player::position() const
{
    std::lock_guard<std::mutex> hold(backend->lock);
    gint64 at = 0;
    if (playState == Player::StoppedState || !backend->pipeline
        || !gst_element_query_position(backend->pipeline, GST_FORMAT_TIME, &at))
        return 0;
    return at / GST_MSECOND;
}

void Player::setPosition(qint64 ms)
{
    {
        std::lock_guard<std::mutex> hold(backend->lock);
        backend->startAt = qMax<qint64>(0, ms);
    }
    if (status == Player::BufferedMedia)
        backend->seekIfAsked();
}

void Player::stop()
{
    backend->teardown();
    if (status == Player::LoadingMedia || status == Player::BufferedMedia
        || status == Player::EndOfMedia)
        setStatus(Player::LoadedMedia);
    setState(Player::StoppedState);
}

void Player::setVolume(int volume)
{
    vol = qBound(0, volume, 100);
    std::lock_guard<std::mutex> hold(backend->lock);
    backend->volume = vol / 100.0;
    if (backend->level)
        g_object_set(backend->level, "volume", backend->volume, nullptr);
}

void Player::fail(Error e, const QString &text)
{
    lastError = text;
    setStatus(Player::InvalidMedia);
    emit error(e);
    setState(Player::StoppedState);
}

} // namespace music

#endif

namespace music {

void Player::registerTypes()
{
    qRegisterMetaType<Player::State>();
    qRegisterMetaType<Player::MediaStatus>();
    qRegisterMetaType<Player::Error>();
}

QUrl Player::media() const
{
    return current;
}

int Player::volume() const
{
    return vol;
}

Player::State Player::state() const
{
    return playState;
}

Player::MediaStatus Player::mediaStatus() const
{
    return status;
}

QString Player::errorString() const
{
    return lastError;
}

void Player::setState(State s)
{
    if (playState == s)
        return;
    playState = s;
    emit stateChanged(s);
}

void Player::setStatus(MediaStatus s)
{
    if (status == s)
        return;
    status = s;
    emit mediaStatusChanged(s);
}

} // namespace music
