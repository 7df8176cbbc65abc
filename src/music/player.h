#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

// The background-music player: one local file at a time, played to its end,
// with the states, statuses and errors of Qt's own player (same names, same
// values) so that the music code reads the same everywhere. Off Windows it is
// an audio-only GStreamer pipeline, and the game does not link Qt Multimedia
// at all: Qt's player there builds and probes video outputs for every file,
// which on a machine without a GPU starts software OpenGL (tens of MB and a
// slower first frame) for music that has no picture.
namespace music {

class Player : public QObject
{
    Q_OBJECT

public:
    enum State { StoppedState, PlayingState, PausedState };
    Q_ENUM(State)
    enum MediaStatus {
        UnknownMediaStatus,
        NoMedia,
        LoadingMedia,
        LoadedMedia,
        StalledMedia,
        BufferingMedia,
        BufferedMedia,
        EndOfMedia,
        InvalidMedia
    };
    Q_ENUM(MediaStatus)
    enum Error {
        NoError,
        ResourceError,
        FormatError,
        NetworkError,
        AccessDeniedError,
        ServiceMissingError,
        MediaIsPlaylist
    };
    Q_ENUM(Error)

    explicit Player(QObject *parent = nullptr);
    ~Player() override;

    // Stops whatever plays; the file starts with the next play().
    void setMedia(const QUrl &file);
    QUrl media() const;

    // From the start after stop() or the end of the file; from where it was
    // after pause().
    void play();
    void pause();
    void stop();
    // Milliseconds into the track; 0 when nothing plays.
    qint64 position() const;
    // Where the track started next (or now starting) begins, in milliseconds.
    void setPosition(qint64 ms);

    // 0 to 100, linear.
    void setVolume(int volume);
    int volume() const;

    State state() const;
    MediaStatus mediaStatus() const;
    QString errorString() const;

    struct Backend;

signals:
    void stateChanged(music::Player::State state);
    void mediaStatusChanged(music::Player::MediaStatus status);
    void error(music::Player::Error error);

private:
    friend struct Backend;
    // For queued signals and signal spies, as Qt's player does for its own.
    static void registerTypes();
    void setState(State state);
    void setStatus(MediaStatus status);
    void fail(Error error, const QString &text);

    std::unique_ptr<Backend> backend;
    QUrl current;
    State playState = StoppedState;
    MediaStatus status = NoMedia;
    QString lastError;
    int vol = 100;
};

} // namespace music
