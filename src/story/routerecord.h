#pragma once

#include "core/fileio.h"
#include "core/state.h"

#include <QByteArray>
#include <QString>

// What the player has found of the story's branches, in any run: each
// question, interlude and ending reached and each way out of one taken, for
// the route map. Kept in a small file in saves/, merged and written whole.
namespace story {

inline const char *const kRouteFile = "saves/routes.txt";

// A way out of the node on fromLine, k its place among the node's ways (1 to 5).
constexpr int edgeKey(int fromLine, int k) { return fromLine * 8 + k; }

// The file: "solvane-routes 1", then one line per node ("261") and per way
// taken ("261 2"). Anything the story graph does not know makes the whole
// file untrustworthy: false, and nothing read.
bool parseRouteRecord(const QByteArray &content, core::RouteRecordState *record);
QByteArray routeRecordContent(const core::RouteRecordState &record);

// The file into the run; a damaged one starts empty, with a warning.
void loadRouteRecord(const QString &path = QString::fromLatin1(kRouteFile));
// Written whole with what the file already holds (another copy of the game
// may have found more); never over a file that could not be read whole.
bool saveRouteRecord(const QString &path = QString::fromLatin1(kRouteFile));

core::RouteRecordState &routeRecord();
bool nodeReached(int node); // by index in story::routes()
bool edgeTaken(int edge);
bool anyQuestionReached();

// A line the story showed; first: the story starts afresh there (a new story,
// a load, a jump, a return to an earlier line), so the way to it counts as
// found too. New finds are written at once.
void noteRouteLine(int line, bool first);

} // namespace story
