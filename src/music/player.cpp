#include "music/player.h"

#include <QtDebug>

#ifdef SOLVANE_QT_MEDIA_PLAYER

// Windows: Qt's player has no video pipeline to build for a file without pictures.
namespace music {

struct Player::Backend {
    QMediaPlayer player;
};

Player::Player(QObject *parent) : QObject(parent), backend(std::make_unique<Backend>())
{
    QMediaPlayer *p = &backend->player;
    connect(p, &QMediaPlayer::stateChanged, this, [this](State s) { setState(s); });
    connect(p, &QMediaPlayer::mediaStatusChanged, this, [this](MediaStatus s) { setStatus(s); });
    connect(p, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), this,
            [this, p](Error e) { fail(e, p->errorString()); });
}

Player::~Player() = default;

void Player::setMedia(const QMediaContent &media)
{
    current = media;
    backend->player.setMedia(media);
}

void Player::play()
{
    backend->player.play();
}

void Player::stop()
{
    backend->player.stop();
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

#include <gst/gst.h>

#include <atomic>

namespace music {

namespace {

// playbin's GstPlayFlags: audio, with its own volume element; no video,
// subtitles or visualisation, so no video sink is ever looked for.
constexpr guint playAudio = 1u << 1;
constexpr guint playSoftVolume = 1u << 4;

bool gstreamerReady()
{
    static const bool ready = [] {
        GError *err = nullptr;
        if (gst_init_check(nullptr, nullptr, &err))
            return true;
        qWarning().noquote() << QStringLiteral("GStreamer 无法初始化：%1").arg(QString::fromUtf8(err ? err->message : ""));
        g_clear_error(&err);
        return false;
    }();
    return ready;
}

} // namespace

struct Player::Backend {
    Player *owner = nullptr;
    GstElement *playbin = nullptr;
    // Raised each time the pipeline is torn down; a bus message queued by an
    // earlier run is stale and dropped, so one broken file reports once.
    std::atomic<int> run{0};

    // Back to READY, not NULL: the automatic audio sink keeps the output it
    // found instead of probing every sound system again for each track.
    void teardown(GstState to = GST_STATE_READY)
    {
        if (playbin)
            gst_element_set_state(playbin, to);
        ++run;
    }

    // Streaming threads post here; the message is handled on the GUI thread.
    static GstBusSyncReply onMessage(GstBus *, GstMessage *msg, gpointer data)
    {
        auto *self = static_cast<Backend *>(data);
        const GstMessageType type = GST_MESSAGE_TYPE(msg);
        const bool fromPipeline = GST_MESSAGE_SRC(msg) == GST_OBJECT(self->playbin);
        if (type == GST_MESSAGE_ERROR || (fromPipeline && (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ASYNC_DONE))) {
            const int sent = self->run.load();
            gst_message_ref(msg);
            QMetaObject::invokeMethod(
                self->owner,
                [self, msg, sent] {
                    if (sent == self->run.load())
                        self->handle(msg);
                    gst_message_unref(msg);
                },
                Qt::QueuedConnection);
        }
        return GST_BUS_DROP;
    }

    void handle(GstMessage *msg)
    {
        switch (GST_MESSAGE_TYPE(msg)) {
        case GST_MESSAGE_ASYNC_DONE:
            if (owner->status == QMediaPlayer::LoadingMedia)
                owner->setStatus(QMediaPlayer::BufferedMedia);
            break;
        case GST_MESSAGE_EOS:
            // Release the decoder; play() starts afresh.
            teardown();
            owner->setStatus(QMediaPlayer::EndOfMedia);
            owner->setState(QMediaPlayer::StoppedState);
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
            owner->fail(missing ? QMediaPlayer::ResourceError : QMediaPlayer::FormatError, text);
            break;
        }
        default:
            break;
        }
    }
};

Player::Player(QObject *parent) : QObject(parent), backend(std::make_unique<Backend>())
{
    backend->owner = this;
    if (!gstreamerReady())
        return;
    backend->playbin = gst_element_factory_make("playbin", "music");
    if (!backend->playbin) {
        qWarning().noquote() << QStringLiteral("缺少 GStreamer 的 playbin（gstreamer1.0-plugins-base），没有音乐");
        return;
    }
    gst_object_ref_sink(backend->playbin);
    g_object_set(backend->playbin, "flags", playAudio | playSoftVolume, nullptr);
    // Tests ask for a sink that does not keep time, the same knob Qt's player read.
    const QByteArray sinkName = qgetenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK");
    if (!sinkName.isEmpty()) {
        if (GstElement *sink = gst_element_factory_make(sinkName.constData(), nullptr))
            g_object_set(backend->playbin, "audio-sink", sink, nullptr);
    }
    // Without a sound card playbin's automatic sink falls back to a fake sink
    // that keeps time, so tracks still end and loop at their own pace.
    GstBus *bus = gst_element_get_bus(backend->playbin);
    gst_bus_set_sync_handler(bus, &Backend::onMessage, backend.get(), nullptr);
    gst_object_unref(bus);
    setVolume(vol);
}

Player::~Player()
{
    if (!backend->playbin)
        return;
    backend->teardown(GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(backend->playbin);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(backend->playbin);
}

void Player::setMedia(const QMediaContent &media)
{
    backend->teardown();
    current = media;
    lastError.clear();
    setStatus(media.isNull() ? QMediaPlayer::NoMedia : QMediaPlayer::LoadedMedia);
    setState(QMediaPlayer::StoppedState);
}

void Player::play()
{
    if (current.isNull() || playState == QMediaPlayer::PlayingState)
        return;
    if (!backend->playbin) {
        fail(QMediaPlayer::ServiceMissingError, QStringLiteral("no GStreamer playbin"));
        return;
    }
    backend->teardown();
    lastError.clear();
    const QByteArray uri = current.request().url().toEncoded();
    g_object_set(backend->playbin, "uri", uri.constData(), nullptr);
    setStatus(QMediaPlayer::LoadingMedia);
    setState(QMediaPlayer::PlayingState);
    if (playState != QMediaPlayer::PlayingState)
        return; // a handler of the state change stopped it again
    if (gst_element_set_state(backend->playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        // The element that failed has posted its error already; it is handled
        // first. This covers a failure that posted none.
        const int sent = backend->run.load();
        QMetaObject::invokeMethod(
            this,
            [this, sent] {
                if (sent != backend->run.load())
                    return;
                backend->teardown(GST_STATE_NULL);
                fail(QMediaPlayer::ResourceError, QStringLiteral("the pipeline did not start"));
            },
            Qt::QueuedConnection);
    }
}

void Player::stop()
{
    backend->teardown();
    if (status == QMediaPlayer::LoadingMedia || status == QMediaPlayer::BufferedMedia
        || status == QMediaPlayer::EndOfMedia)
        setStatus(QMediaPlayer::LoadedMedia);
    setState(QMediaPlayer::StoppedState);
}

void Player::setVolume(int volume)
{
    vol = qBound(0, volume, 100);
    if (backend->playbin)
        g_object_set(backend->playbin, "volume", vol / 100.0, nullptr);
}

void Player::fail(Error e, const QString &text)
{
    lastError = text;
    setStatus(QMediaPlayer::InvalidMedia);
    emit error(e);
    setState(QMediaPlayer::StoppedState);
}

} // namespace music

#endif

namespace music {

QMediaContent Player::media() const
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
