#pragma once

#include <QMediaContent>
#include <QMediaPlayer>
#include <QObject>
#include <QString>

#include <memory>

// The background-music player: one local file at a time, played to its end,
// with the states, statuses and errors of Qt's own player so that the music
// code reads the same everywhere. Off Windows it is an audio-only GStreamer
// pipeline: Qt's player there builds and probes video outputs for every
// file, which on a machine without a GPU starts software OpenGL (tens of MB
// and a slower first frame) for music that has no picture.
namespace music {

class Player : public QObject
{
    Q_OBJECT

public:
    using State = QMediaPlayer::State;
    using MediaStatus = QMediaPlayer::MediaStatus;
    using Error = QMediaPlayer::Error;

    explicit Player(QObject *parent = nullptr);
    ~Player() override;

    // Stops whatever plays; the file starts with the next play().
    void setMedia(const QMediaContent &media);
    QMediaContent media() const;

    // From the start after stop() or the end of the file.
    void play();
    void stop();

    // 0 to 100, linear.
    void setVolume(int volume);
    int volume() const;

    State state() const;
    MediaStatus mediaStatus() const;
    QString errorString() const;

    struct Backend;

signals:
    void stateChanged(QMediaPlayer::State state);
    void mediaStatusChanged(QMediaPlayer::MediaStatus status);
    void error(QMediaPlayer::Error error);

private:
    friend struct Backend;
    void setState(State state);
    void setStatus(MediaStatus status);
    void fail(Error error, const QString &text);

    std::unique_ptr<Backend> backend;
    QMediaContent current;
    State playState = QMediaPlayer::StoppedState;
    MediaStatus status = QMediaPlayer::NoMedia;
    QString lastError;
    int vol = 100;
};

} // namespace music
