#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <QtGlobal>

// A tenth of a second of a quiet square wave as a WAV file: enough for the
// player to start and reach the end, in milliseconds with the fake sink.
inline QByteArray shortWav()
{
    const int rate = 8000;
    const int samples = rate / 10;
    QByteArray pcm(samples * 2, '\0');
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(qint16((i % 40 < 20) ? 2000 : -2000), pcm.data() + 2 * i);
    QByteArray wav("RIFF");
    auto u32 = [&wav](quint32 v) { char b[4]; qToLittleEndian(v, b); wav.append(b, 4); };
    auto u16 = [&wav](quint16 v) { char b[2]; qToLittleEndian(v, b); wav.append(b, 2); };
    u32(quint32(36 + pcm.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);        // PCM
    u16(1);        // mono
    u32(rate);
    u32(rate * 2); // bytes per second
    u16(2);        // block size
    u16(16);       // bits per sample
    wav.append("data");
    u32(quint32(pcm.size()));
    return wav + pcm;
}

// Half a second of silent MP3 (MPEG-1 layer III, 32 kbit/s, 48 kHz, mono):
// twenty frames of a header and nothing else, each 1152 samples of silence.
// What the music chain plays, in milliseconds with the fake sink.
inline QByteArray shortMp3()
{
    QByteArray frame(96, '\0'); // 144 * 32000 / 48000 bytes
    frame[0] = char(0xFF);
    frame[1] = char(0xFB); // MPEG-1, layer III, no CRC
    frame[2] = char(0x14); // 32 kbit/s, 48 kHz, no padding
    frame[3] = char(0xC0); // mono
    return frame.repeated(20);
}

// Every message logged while it lives, so that a test can also tell that one
// did not come. Messages still reach the test log.
class MessageLog
{
public:
    MessageLog() { previous = qInstallMessageHandler(&MessageLog::handle); current() = this; }
    ~MessageLog() { qInstallMessageHandler(previous); current() = nullptr; }

    int count(const QString &needle) const
    {
        int n = 0;
        for (const QString &m : messages)
            n += m.contains(needle) ? 1 : 0;
        return n;
    }

    QStringList messages;

private:
    static MessageLog *&current()
    {
        static MessageLog *log = nullptr;
        return log;
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        MessageLog *log = current();
        if (!log)
            return;
        log->messages.append(text);
        if (log->previous)
            log->previous(type, context, text);
    }

    QtMessageHandler previous = nullptr;
};
