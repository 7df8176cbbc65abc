#pragma once

#include <QVariant>

class QQmlEngine;
class QMediaPlayer;
class MainWindow;

// What start-up owns for the whole run and hands to every handler. The
// handlers reach QML only through the engine's root context.
struct Game {
    QQmlEngine *engine = nullptr;
    MainWindow *controller = nullptr;
    QMediaPlayer *musicPlayer = nullptr; // null in tests that need no music

    // Live settings, mirrored as the context properties of the same names.
    float Vzi = 0.5f;
    float Vhang = 0.5f;
    float Inliang = 0.5f;

    // Interlude counters; a new story and a loaded save reset them.
    int triesLeft = 3;
    int playerCaught = 0;
    int companionCaught = 0;

    void publish(const char *name, const QVariant &value) const;
    void publishNull(const char *name) const; // QML reads a null object as false
    void clearComponentCache() const;
};
