#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

// Reading aloud: eSpeak NG's Mandarin voice, synthesised on a thread of the
// voice's own and played through a GStreamer chain like the music's. One
// utterance at a time; a new one cuts the old one off.
namespace speech {

// Words a minute eSpeak speaks at for a text speed of 0 to 1.
int rateFor(float textSpeed);

// The whole utterance as 16-bit mono samples at sampleRate(); empty when
// eSpeak is missing. Safe from any thread.
QVector<qint16> synthesize(const QString &text, int wordsPerMinute);
int sampleRate();

class Voice : public QObject
{
    Q_OBJECT

public:
    explicit Voice(QObject *parent = nullptr);
    ~Voice() override; // stops and joins the thread

    // Stops what is being said and says text; an empty text only stops.
    void say(const QString &text);
    void stop();

    // From the call to say() until the last sample has been played or stop().
    bool speaking() const { return busy; }
    QString text() const { return current; }

    // Take effect from the next utterance; volume 0 to 100.
    void setRate(int wordsPerMinute);
    void setVolume(int volume);

    struct Engine;

signals:
    // speaking() turned false: the utterance ended or was stopped.
    void idle();

private:
    void finish(int generation);

    std::unique_ptr<Engine> engine;
    QString current;
    bool busy = false;
};

} // namespace speech
