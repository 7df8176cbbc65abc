#pragma once

#include "core/props.h"

#include <QHash>
#include <QImage>
#include <QVariant>

#include <functional>

class QObject;
class QQmlEngine;
class MainWindow;
namespace core {
class SettingValues;
enum class TextForm;
}
namespace music {
class Player;
}
namespace speech {
class Voice;
}

// How the interludes play, setting line 7: as made, kinder (enemies leap
// later and slower, five tries), or skipped (won for the player, the map
// only scenery).
enum class InterludeMode { Standard = 0, Kinder = 1, Skipped = 2 };

// The tries a story starts its interludes with.
constexpr int startingTries(InterludeMode mode) { return mode == InterludeMode::Kinder ? 5 : 3; }

// What start-up owns for the whole run and hands to every handler. The
// handlers reach QML only through the engine's root context.
struct Game {
    QQmlEngine *engine = nullptr;
    MainWindow *controller = nullptr;
    // What setting.txt says (settings/settings.h); null in tests that need none.
    core::SettingValues *settings = nullptr;
    music::Player *musicPlayer = nullptr; // null in tests that need no music
    speech::Voice *voice = nullptr;       // null in tests that need no speech

    // What leaves the process or touches the window goes through these, so
    // tests can watch it happen without a second process or a real window.
    struct Hooks {
        std::function<void()> quit;
        std::function<bool()> restartSelf; // true when the new process started
        std::function<QImage()> grabWindow; // null image when there is no window
        std::function<void()> goToTitle;
    } hooks;

    // The object whose life bounds the run's timers and connections.
    QObject *lifetime() const;

    // The settings the story and the stage read; their defaults without any.
    float textSpeed() const;
    float autoSpeed() const;
    float volume() const;
    bool wholeLineFirst() const; // a step while a line types shows it whole first
    bool skipReadOnly() const;   // skip stops at the first line never shown
    InterludeMode interludeMode() const;
    bool readAloud() const; // 朗读
    core::TextForm textForm() const;

    void quit() const;
    bool restartSelf() const;
    QImage grabWindow() const;
    void goToTitle() const;

    // A name marked as words is published in the chosen script, and its
    // Simplified value kept for republishWords.
    void publish(prop::Name name, const QVariant &value) const;
    // Every word property published so far again, in the script now chosen.
    void republishWords() const;
    void publishNull(prop::Name name) const; // QML reads a null object as false
    QVariant property(prop::Name name) const;
    void clearComponentCache() const;

private:
    // The Simplified value of each word property published to this engine.
    mutable QHash<QString, QVariant> wordsPublished;
};
