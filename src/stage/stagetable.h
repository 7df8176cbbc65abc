#pragma once

#include <QStringList>
#include <QVector>

// The scene of every script line that changes it, as data. The rows follow
// the story's own staging sheet one for one, so the two can be compared line
// by line; the code that applies them is in staging.cpp.
namespace stage {

// The two interlude maps, both ends inclusive: from the set-up to the line
// whose lock the map's goal lifts. The story goes on without the map after it.
constexpr bool inFirstMap(int line) { return line >= 687 && line <= 692; }
constexpr bool inSecondMap(int line) { return line >= 710 && line <= 756; }
// The locks whose lifting wins a map (the second map's lock at 722 only lets
// the story talk on while the player runs).
constexpr bool isMapGoalLine(int line) { return line == 692 || line == 756; }

// Where a capture puts the cursor: its scene starts on the next line and runs
// to a return line (a try lost, the map again) or to an ending (none left).
struct CaptureLines {
    int player;         // the player caught for the first time in this story
    int playerAgain;
    int companion;
    int companionAgain;
    int playerLost;     // caught with no try left
    int companionLost;  // 0 where there is no map
};
constexpr CaptureLines captureLines(int map)
{
    return {957, 965, 948, 963, 937, map == 1 ? 940 : map == 2 ? 972 : 0};
}

// What an entry does beyond background and figures.
enum class Special {
    None,
    SetUpMap1,         // the first interlude begins
    SetUpMap2,         // the second interlude begins
    LockStory,         // the story waits for the interlude's goal
    EndInterlude,      // the interlude container and maps go away
    ScriptedShots,     // both rays shown for a moment
    HideBackgroundLater, // the background goes 200 ms after the illustration came
    ReturnToInterlude, // a capture scene ends: back to where the player was caught
};

enum class CgRule {
    None,
    Raise,       // raise the unlock record to the value, never lower it
    FromZero,    // only a record still at 0 takes the value
    RaiseLogged, // as Raise, with a debug line when it rises
};

struct Background {
    const char *name = nullptr; // nullptr: the background is not touched
    int visible = -1;           // -1 untouched, 0 hidden, 1 shown
};

struct Figures {
    int layout = -1;                 // -1 untouched; 0 none; 1 to 5 as the slots
    const char *names[3] = {};       // in slot order, as many as the layout has
};

struct StageAction {
    float cg = 0;
    CgRule cgRule = CgRule::None;
    bool music = false;              // the track of the line starts
    Special special = Special::None;
};

struct StageRow {
    QVector<int> lines; // every line with this same entry
    Background background;
    Figures figures;
    StageAction other;
};

const QVector<StageRow> &stageTable();

// The entry of a line, or nullptr when the line has none.
const StageRow *stageEntry(int line);

// Every image name the staging can show, each once (the wrong-answer scene's
// figures included), for the data checks.
QStringList stageImageNames();

// Figures of the wrong-answer scene, in layout 2.
constexpr const char *kMistakeLeftFigure = "a1-6";
constexpr const char *kMistakeRightFigure = "a2-2-3";

} // namespace stage
