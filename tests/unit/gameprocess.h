#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

// The real game as a process: its environment, and a display of its own.

// Headless, silent and at scale 1 unless a test says otherwise.
inline QProcessEnvironment gameEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_QUICK_BACKEND", "software");
    env.insert("QT_GSTREAMER_PLAYBIN_AUDIOSINK", "fakesink");
    env.remove("QT_SCALE_FACTOR");
    return env;
}

// A bare X server of our own (no window manager), for the tests that need a
// real window; the display number comes back on a pipe.
class XServer
{
public:
    bool start()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return false;
        // No reset when the last client leaves: each xdotool call would
        // otherwise restart the server and a game connecting then is refused.
        server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"});
        if (!server.waitForStarted(5000))
            return false;
        QByteArray number;
        QElapsedTimer clock;
        clock.start();
        while (!number.contains('\n') && clock.elapsed() < 10000) {
            server.waitForReadyRead(200);
            number += server.readAllStandardOutput();
        }
        display = ":" + QString::fromLatin1(number.trimmed());
        return number.contains('\n');
    }
    // Empty when the server runs and xdotool can drive it; else why not, for QSKIP.
    QString startForDriving()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return QStringLiteral("no xdotool to drive the game");
        return start() ? QString() : QStringLiteral("no Xvfb to run the game on");
    }
    ~XServer()
    {
        server.terminate();
        server.waitForFinished(5000);
    }

    // xdotool's answer, trimmed; empty when it fails.
    QString xdotool(const QStringList &args) const
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), args);
        tool.waitForFinished(10000);
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

    QProcessEnvironment gameEnvironment() const
    {
        QProcessEnvironment env = ::gameEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", display);
        return env;
    }

    // The game's window ids, newest last.
    QStringList windows() const
    {
        return xdotool({"search", "--name", "^Solvane$"}).split('\n', Qt::SkipEmptyParts);
    }

    QString display;

private:
    QProcess server;
};

// The game's own script, for a test that plays the real story in a scratch folder.
inline QByteArray gameScript()
{
    QFile script(QStringLiteral(SOLVANE_GAME_DIR "/a.txt"));
    return script.open(QIODevice::ReadOnly) ? script.readAll() : QByteArray();
}
