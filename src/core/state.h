#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>

class QTimer;
struct Game;

// The one home of the process-wide state the handlers share. Each module keeps
// its accessor (story::state(), stage::interlude(), ...), but the values live
// here, timers included, so one reset reaches all of them. GUI thread only.
namespace core {

struct StoryState {
    int currentLine = 0;          // 1-based; 0 before the first line
    int viewLine = 0;             // line in the text box; behind currentLine while browsing
    int mistakeCount = 0;         // wrong answers in this story
    bool mistakePending = false;  // next step shows the mistake line
    bool interludeActive = false; // the interlude holds the story
};

struct TypingState {
    QString fullText;        // the line without its speaker tag
    QString typedText;       // revealed so far
    int typedCount = 0;      // UTF-16 units revealed
    bool typingDone = false; // the last typed line is complete
    int line = 0;            // script line in the text box; 0 when it shows none (or the player's own words)
    // Created on first use and kept; its ticks go to the game that typed last.
    QPointer<QTimer> timer;
    QMetaObject::Connection tick;
};

// Reading on without clicks; each timer exists while its mode is on.
struct AutoSkipState {
    QPointer<QTimer> autoTimer;
    QPointer<QTimer> skipTimer;
    bool autoJustStarted = true;
};

// Script lines this player has been shown (bit n: line n), in any run.
struct ReadLinesState {
    QBitArray lines;
    bool dirty = false;          // the file is behind
    QPointer<QTimer> writeTimer; // one write for a run of lines
    QString lastWriteFailure;    // told once while it lasts
};

// What is on screen behind the text. The slots persist across lines and
// stories, so a line that names only a background keeps the figures shown.
struct StagingState {
    QString bcPath;                        // background or full-screen illustration
    QString a1Path;                        // layout 1: one figure, centre
    QString a2_1Path, a2_2Path;            // layout 2: left, right
    QString a3_1Path, a3_2Path, a3_3Path;  // layout 3: left, middle, right
    QString a1fPath;                       // layout 4: one figure, left
    QString a3_1fPath, a3_2fPath, a3_3fPath; // layout 5: left, middle, right
    int bVisible = 0;                      // background shown
    int figureLayout = 0;                  // 0 none, 1 to 5 as above
    // The scene under the mistake line's figures: the question line's, which
    // the story comes back to when it steps on from the mistake line.
    QVector<QString> beforeMistake;        // empty unless a mistake line shows
    int beforeMistakeVisible = 0;
    int beforeMistakeLayout = 0;
    // What the page is still to be told: the background hide after an
    // illustration line, and the end of the scripted shots.
    QPointer<QTimer> pendingHide;
    QPointer<QTimer> shotsEnd;
};

// When the interlude's last tick came, how far the steps run are behind, and
// how many steps it has run: the interlude's own time, in 10 ms steps.
struct StepClock {
    QElapsedTimer last;
    qint64 owedNs = 0;
    qint64 steps = 0;
    QElapsedTimer idle;  // since the timer last stopped for want of a live map
};

// Where the figures stand when a map is set up and when an attempt starts
// again: the companion a step behind the player.
constexpr int kPlayerStartX = 90, kPlayerStartY = 310;
constexpr int kCompanionStartX = 20, kCompanionStartY = 310;

// Everything the interlude step and the staging share. Map coordinates in
// pixels; velocities in pixels per 10 ms step.
struct InterludeState {
    int sja1x = kPlayerStartX, sja1y = kPlayerStartY;       // player box, top-left
    float playerVx = 0, playerVy = 0;
    int sja2x = kCompanionStartX, sja2y = kCompanionStartY; // companion box, top-left
    float companionVx = 0, companionVy = 0;
    int scrollX = 0;                   // 0 or negative, published as sjx
    int interludeMap = 0;              // 0 none, 1 first map, 2 second map
    int enemyCount = 0;                // live enemies
    QList<int> enemyPositions;         // x0, y0, x1, y1, ...
    QVariantList enemyMotion;          // vx0, vy0, ... read as floats
    QList<int> enemySpawns;            // spawn record
    QList<int> enemyHomes;             // each listed enemy's spawn point, parallel to the positions
    float aimSlope = 0;
    int playerFiring = 0;
    int companionFiring = 0;
    // Clock steps at which the companion's fire starts and stops; -1 none due.
    qint64 companionFiresFrom = -1;
    qint64 companionFiresUntil = -1;
    int interludeReturnLine = 0;       // where a capture scene returns to
    bool returnPending = false;        // a capture scene is on; the attempt restarts with its map
    int enemyWait = 0;                 // steps the enemies still stand still after a restart
    int goalShown = 0;                 // 1 a lock lifted, 2 the map won; 0 after the next line
    // Captures; a new story and a loaded save reset them.
    int triesLeft = 3;
    int playerCaught = 0;              // 1 once the player was caught: the shorter scene next
    int companionCaught = 0;
    int mapCaptures = 0;               // captures since this map was set up
    bool skipOffered = false;          // the strip offers to pass the map
    bool skipTaken = false;            // this map passed as if skipped in the settings
    int containerShown = 0;            // published as sjvisible
    int map1Shown = 0;                 // ditu1visible
    int map2Shown = 0;                 // ditu2visible
    qint64 stepsRun = 0;               // interlude steps since start-up, idle time counted as steps
    bool clockHeld = false;            // a capture stopped the step until the attempt restarts
    StepClock clock;
    QList<int> idlePublished;          // what the page was last told while no interlude showed
};

struct MusicState {
    int musicIndex = 1;         // gallery entry; 1 although start-up plays entry 0
    bool musicStopped = false;  // paused from the music box: a track that ends stays ended
    bool trackFailed = false;   // the current track could not be played: no restart
};

// Where the story stood when a backlog line was shown: what going back to that
// line restores.
struct LinePlace {
    int cursor = 0;
    int mistakes = 0;
    int returnLine = 0;
    int triesLeft = 0;
    int playerCaught = 0;
    int companionCaught = 0;
};

// The route record (story/routerecord.h): the story graph's questions,
// interludes and endings reached in any run, by line, and the ways out of them
// taken (from line * 8 + their place among its ways, 1 to 5).
struct RouteRecordState {
    QSet<int> nodes;
    QSet<int> edges;
    int lastNode = -1;        // in this story, the graph node last passed; -1 unknown
    bool edgeSinceNode = false; // a way out of it was seen since
    QString lastWriteFailure;   // told once while it lasts
};

struct ProcessState {
    QList<QByteArray> scriptLines; // line n is entry n - 1
    QSet<int> missingLinesWarned;  // asked for outside the script: warned once each
    QString scriptProblem;         // why there is no script, for the title page
    StoryState story;
    TypingState typing;
    AutoSkipState autoSkip;
    ReadLinesState readLines;
    StagingState staging;
    InterludeState interlude;
    MusicState music;
    float cgProgress = 0;          // whole part the illustration, tenths the sub-image
    // A new process is on its way for a display-mode change; a second change
    // only stores its mode. The mode itself is the settings', and setting
    // line 1 carries it to the new process.
    bool restartPending = false;
    // Ending lines this player has reached, in any run, ascending.
    QList<int> endingsSeen;
    // The last warning given about each file the game reads, so that trouble
    // with one is told once while it lasts.
    QHash<QString, QString> fileWarnings;
    // The lines shown in this story, in the order shown (the backlog).
    QVector<int> shownLines;
    // Beside each, where the story stood; shorter when lines came without one.
    QVector<LinePlace> shownPlaces;
    RouteRecordState routes;
    // The script in Traditional characters, line for line; empty until 繁體 first needs it.
    QStringList scriptTraditional;
};

ProcessState &process();

// Stops the timer and lets it go; the slot is empty after.
void dropTimer(QPointer<QTimer> &timer);

// The repeating 10 ms timer of the interlude step; created by start-up, kept
// for the whole run, running only while a map is live.
QTimer *&interludeTimer();

// Runs the step while a map is shown and no capture holds it; otherwise lets
// the program sleep. The steps it would have run idle still count.
void runInterludeClock(bool mapLive);

// Everything back to its start value, the script included, every timer held
// above stopped. For a fresh process in tests.
void resetProcessState();

// What a new story and a loaded save both start from: an empty backlog, no
// lock, no pending mistake, the interlude running with its mode's tries and no capture seen yet, and
// a fresh spawn record. A load calls it before staging its line, so that an
// interlude set up there spawns from the fresh record.
void resetRun(Game &game);

} // namespace core
