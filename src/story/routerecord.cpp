#include "story/routerecord.h"

#include "core/log.h"
#include "core/paths.h"
#include "core/textlines.h"
#include "story/linetables.h"
#include "story/routes.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

#include <algorithm>

namespace story {

namespace {

const QByteArray kHeader = "solvane-routes 1";

// The node whose own line this is, or -1.
int nodeOnLine(int line)
{
    const Routes &g = routes();
    const int at = g.nodeAt(line);
    return at >= 0 && g.nodes().at(at).line == line ? at : -1;
}

bool mark(QSet<int> &set, int key)
{
    if (set.contains(key))
        return false;
    set.insert(key);
    return true;
}

bool markNode(int node)
{
    return mark(routeRecord().nodes, routes().nodes().at(node).line);
}

bool markEdge(int edge)
{
    const Routes &g = routes();
    const RouteEdge &e = g.edges().at(edge);
    const RouteNode &from = g.nodes().at(e.from);
    return mark(routeRecord().edges, edgeKey(from.line, from.edges.indexOf(edge) + 1));
}

} // namespace

core::RouteRecordState &routeRecord()
{
    return core::process().routes;
}

bool parseRouteRecord(const QByteArray &content, core::RouteRecordState *record)
{
    record->nodes.clear();
    record->edges.clear();
    const QList<QByteArray> lines = core::splitTextLines(content);
    if (lines.isEmpty() || lines.first().trimmed() != kHeader)
        return false;
    const Routes &g = routes();
    QSet<int> nodes, edges;
    for (const QByteArray &raw : lines.mid(1)) {
        const QList<QByteArray> parts = raw.simplified().split(' ');
        if (parts.size() == 1 && parts.first().isEmpty())
            continue;
        bool ok = false;
        const int line = parts.first().toInt(&ok);
        const int node = ok ? nodeOnLine(line) : -1;
        if (node < 0 || parts.size() > 2)
            return false;
        if (parts.size() == 1) {
            nodes.insert(line);
            continue;
        }
        const int k = parts.at(1).toInt(&ok);
        if (!ok || k < 1 || k > g.nodes().at(node).edges.size())
            return false;
        edges.insert(edgeKey(line, k));
    }
    record->nodes = nodes;
    record->edges = edges;
    return true;
}

QByteArray routeRecordContent(const core::RouteRecordState &record)
{
    QList<int> nodes = record.nodes.values();
    QList<int> edges = record.edges.values();
    std::sort(nodes.begin(), nodes.end());
    std::sort(edges.begin(), edges.end());
    QByteArray text = kHeader + core::kLineEnd;
    for (int line : qAsConst(nodes))
        text += QByteArray::number(line) + core::kLineEnd;
    for (int key : qAsConst(edges))
        text += QByteArray::number(key / 8) + ' ' + QByteArray::number(key % 8) + core::kLineEnd;
    return text;
}

void loadRouteRecord(const QString &path)
{
    core::RouteRecordState &r = routeRecord();
    const core::FileRead file = core::readFile(core::resolvePath(path));
    if (file.ok() && !parseRouteRecord(file.bytes, &r))
        qCWarning(lcStory).noquote() << QStringLiteral("路线记录 %1 已损坏，从空记录开始").arg(path);
}

bool saveRouteRecord(const QString &path)
{
    const QString resolved = core::resolvePath(path);
    const core::FileRead now = core::readFile(resolved);
    if (!now.writable())
        return false;
    core::RouteRecordState &r = routeRecord();
    core::RouteRecordState onDisk;
    if (now.ok() && parseRouteRecord(now.bytes, &onDisk)) {
        r.nodes += onDisk.nodes;
        r.edges += onDisk.edges;
    }
    QDir().mkpath(QFileInfo(resolved).path());
    QString reason;
    if (core::writeFile(resolved, routeRecordContent(r), &reason)) {
        r.lastWriteFailure.clear();
        return true;
    }
    // Written again at each new find: a full disk is told once, not every time.
    if (reason != r.lastWriteFailure)
        qCWarning(lcStory).noquote() << QStringLiteral("无法写入路线记录 %1：%2").arg(path, reason);
    r.lastWriteFailure = reason;
    return false;
}

bool nodeReached(int node)
{
    const Routes &g = routes();
    if (node == 0)
        return true;
    if (node < 0 || node >= g.nodes().size())
        return false;
    const RouteNode &n = g.nodes().at(node);
    // Endings reached before the map kept its own record are in theirs.
    return routeRecord().nodes.contains(n.line)
           || (n.kind == RouteNode::Kind::Ending && core::process().endingsSeen.contains(n.line));
}

bool edgeTaken(int edge)
{
    const Routes &g = routes();
    if (edge < 0 || edge >= g.edges().size())
        return false;
    const RouteNode &from = g.nodes().at(g.edges().at(edge).from);
    return routeRecord().edges.contains(edgeKey(from.line, from.edges.indexOf(edge) + 1));
}

bool anyQuestionReached()
{
    const QSet<int> &nodes = routeRecord().nodes;
    return std::any_of(nodes.cbegin(), nodes.cend(), [](int line) { return isWaitingLine(line); });
}

void noteRouteLine(int line, bool first)
{
    const Routes &g = routes();
    core::RouteRecordState &r = routeRecord();
    bool found = false;
    const int at = g.nodeAt(line);
    if (first) {
        // Wherever the story starts, the way there was found to get there.
        const QVector<int> way = g.nodesOnWayTo(line);
        r.lastNode = way.isEmpty() ? -1 : way.constLast();
        r.edgeSinceNode = false;
        if (r.lastNode < 0)
            return;
        for (int node : way)
            found |= markNode(node);
        for (int edge : g.routeTo(r.lastNode).edges)
            found |= markEdge(edge);
        if (at != r.lastNode) {
            for (int edge : g.nodes().at(r.lastNode).edges) {
                if (g.edges().at(edge).lines.contains(line) || g.edges().at(edge).linesAgain.contains(line)) {
                    found |= markEdge(edge);
                    r.edgeSinceNode = true;
                    break;
                }
            }
        }
    } else if (r.lastNode < 0 || at == r.lastNode) {
        return;
    } else if (at >= 0 && g.nodes().at(at).line == line) {
        // Arrived: by the way seen leaving the last node, or the one that leads here.
        if (!r.edgeSinceNode) {
            for (int edge : g.nodes().at(r.lastNode).edges) {
                if (g.edges().at(edge).to == at) {
                    found |= markEdge(edge);
                    break;
                }
            }
        }
        found |= markNode(at);
        r.lastNode = at;
        r.edgeSinceNode = false;
    } else {
        // A way out shows its own first line: an answer's words, a capture's scene.
        for (int edge : g.nodes().at(r.lastNode).edges) {
            const RouteEdge &e = g.edges().at(edge);
            if (e.lines.value(0) == line || e.linesAgain.value(0) == line) {
                found |= markEdge(edge);
                r.edgeSinceNode = true;
                break;
            }
        }
    }
    if (found)
        saveRouteRecord();
}

} // namespace story
