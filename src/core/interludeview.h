#pragma once

#include <QObject>
#include <QVariantList>

namespace core {

// Where the great Watcher stands before the second map's last gate until the
// two of them meet it.
constexpr int kGreatWatcherHome = 3366;

// What the interlude's strip and map show beyond the figures and the enemy
// list: the tries, the goal, the skip offer, a capture. QML knows it as
// InterludeView. The step and the staging set it; the page only reads it.
class InterludeView : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int triesLeft READ triesLeft NOTIFY triesLeftChanged)
    // The enemies stand still for a moment after a capture scene.
    Q_PROPERTY(bool enemiesWaiting READ enemiesWaiting NOTIFY enemiesWaitingChanged)
    // 0 not reached, 1 the lock lifted (the story goes on at a click), 2 the map won.
    Q_PROPERTY(int goal READ goal NOTIFY goalChanged)
    Q_PROPERTY(int enemiesLeft READ enemiesLeft NOTIFY enemiesLeftChanged)
    // Both rays broke the great Watcher; and where it stands.
    Q_PROPERTY(bool greatWatcherDown READ greatWatcherDown NOTIFY greatWatcherDownChanged)
    Q_PROPERTY(int greatWatcherX READ greatWatcherX NOTIFY greatWatcherXChanged)
    // After the second capture in a map, a way past it; and the map passed that way.
    Q_PROPERTY(bool skipOffered READ skipOffered NOTIFY skipOfferedChanged)
    Q_PROPERTY(bool skipTaken READ skipTaken NOTIFY skipTakenChanged)
    // 1 the player, 2 the companion, until the attempt starts again; 0 nobody.
    Q_PROPERTY(int caught READ caught NOTIFY caughtChanged)

public:
    explicit InterludeView(QObject *parent = nullptr);

    int triesLeft() const { return tries; }
    bool enemiesWaiting() const { return waiting; }
    int goal() const { return goalShown; }
    int enemiesLeft() const { return left; }
    bool greatWatcherDown() const { return watcherDown; }
    int greatWatcherX() const { return watcherX; }
    bool skipOffered() const { return offered; }
    bool skipTaken() const { return taken; }
    int caught() const { return caughtFigure; }

    void setTriesLeft(int n);
    void setEnemiesWaiting(bool on);
    void setGoal(int goal);
    void setEnemiesLeft(int n);
    void setGreatWatcher(bool down, int x);
    void setSkip(bool offered, bool taken);
    void setCaught(int who);
    // An attempt started or ended; x, y of each enemy a step's shots hit.
    void turnAttempt() { emit attemptTurned(); }
    void hitEnemies(const QVariantList &at) { emit enemiesHit(at); }
    // As before any interlude.
    void reset();

signals:
    void triesLeftChanged();
    void enemiesWaitingChanged();
    void goalChanged();
    void enemiesLeftChanged();
    void greatWatcherDownChanged();
    void greatWatcherXChanged();
    void skipOfferedChanged();
    void skipTakenChanged();
    void caughtChanged();
    // A key held through a capture scene must not walk the figure on into the next capture.
    void attemptTurned();
    void enemiesHit(const QVariantList &at);

private:
    int tries = 3;
    bool waiting = false;
    int goalShown = 0;
    int left = 0;
    bool watcherDown = false;
    int watcherX = kGreatWatcherHome;
    bool offered = false;
    bool taken = false;
    int caughtFigure = 0;
};

// The process's one, kept for the whole run.
InterludeView &interludeView();

} // namespace core
