#include "story/routes.h"

// The interludes' lines and capture scenes are the staging table's, one layer
// below the story: the graph reads them there rather than keep a copy.
#include "stage/stagetable.h"
#include "story/choices.h"
#include "story/endings.h"
#include "story/linetables.h"
#include "story/storystate.h"

#include <algorithm>

namespace story {

namespace {

using NodeKind = RouteNode::Kind;
using EdgeKind = RouteEdge::Kind;

bool inMap(int map, int line)
{
    return map == 1 ? stage::inFirstMap(line) : stage::inSecondMap(line);
}

int mapSetUpAt(int line)
{
    const stage::StageRow *row = stage::stageEntry(line);
    if (row && row->other.special == stage::Special::SetUpMap1)
        return 1;
    if (row && row->other.special == stage::Special::SetUpMap2)
        return 2;
    return 0;
}

bool returnsToMap(int line)
{
    const stage::StageRow *row = stage::stageEntry(line);
    return row && row->other.special == stage::Special::ReturnToInterlude;
}

} // namespace

QString RouteNode::text() const
{
    if (kind == Kind::Question)
        return splitSpeaker(lineText(line)).text;
    if (kind == Kind::Ending)
        return endingTitle(line);
    return QString();
}

QString RouteEdge::text() const
{
    return answerLine > 0 ? answerButtonText(lineText(answerLine)) : QString();
}

const Routes &routes()
{
    static const Routes built;
    return built;
}

Routes::Routes()
{
    QVector<RouteNode> found;
    for (int line : waitingLines()) {
        RouteNode node;
        node.kind = NodeKind::Question;
        node.line = node.lastLine = line;
        node.typed = line == kInputLine;
        found << node;
    }
    for (const stage::StageRow &row : stage::stageTable()) {
        for (int line : row.lines) {
            RouteNode node;
            node.map = mapSetUpAt(line);
            if (node.map == 0)
                continue;
            node.kind = NodeKind::Interlude;
            node.line = node.lastLine = line;
            while (inMap(node.map, node.lastLine + 1))
                ++node.lastLine;
            found << node;
        }
    }
    for (int line : endingLines()) {
        RouteNode node;
        node.kind = NodeKind::Ending;
        node.line = node.lastLine = line;
        found << node;
    }
    std::sort(found.begin(), found.end(), [](const RouteNode &a, const RouteNode &b) { return a.line < b.line; });
    m_nodes << RouteNode() << found;
    for (int i = 0; i < m_nodes.size(); ++i) {
        for (int line = m_nodes.at(i).line; line <= m_nodes.at(i).lastLine; ++line)
            m_nodeAt.insert(line, i);
    }

    for (int i = 0; i < m_nodes.size(); ++i) {
        const RouteNode node = m_nodes.at(i);
        if (node.kind == NodeKind::Start) {
            RouteEdge opening;
            opening.from = i;
            walk(opening, 0, -1);
            addEdge(opening);
        } else if (node.kind == NodeKind::Question) {
            for (int answer : {1, 2}) {
                RouteEdge edge;
                edge.kind = EdgeKind::Answer;
                edge.from = i;
                edge.answer = answer;
                if (node.typed) {
                    // As the typed answer is checked: a right one shows the
                    // next line; a wrong one the mistake line, then the
                    // question again, and it is not counted.
                    const bool right = answer == 1;
                    const int cursor = right ? node.line + 1 : node.line - 1;
                    edge.lines << (right ? cursor : kMistakeLine);
                    walk(edge, cursor, -1);
                } else {
                    Branch branch;
                    if (branchFor(node.line, answer, &branch)) {
                        edge.answerLine = answerLine(node.line, answer);
                        edge.mistake = branch.mistake;
                        edge.lines << edge.answerLine;
                        if (branch.mistake)
                            edge.lines << kMistakeLine;
                        walk(edge, branch.cursor, -1);
                    }
                }
                addEdge(edge);
            }
        } else if (node.kind == NodeKind::Interlude) {
            const stage::CaptureLines scenes = stage::captureLines(node.map);
            auto outcome = [&](EdgeKind kind, bool companion, int cursor, int again) {
                RouteEdge edge;
                edge.kind = kind;
                edge.from = i;
                edge.companion = companion;
                walk(edge, cursor, i);
                if (again > 0) {
                    RouteEdge later;
                    walk(later, again, i);
                    edge.linesAgain = later.lines;
                }
                addEdge(edge);
            };
            outcome(EdgeKind::Won, false, node.lastLine, 0);
            outcome(EdgeKind::Caught, false, scenes.player, scenes.playerAgain);
            outcome(EdgeKind::Caught, true, scenes.companion, scenes.companionAgain);
            outcome(EdgeKind::Lost, false, scenes.playerLost, 0);
            outcome(EdgeKind::Lost, true, scenes.companionLost, 0);
        }
    }

    // Breadth first, answers in order: the fewest steps, the first answer on a tie.
    m_parentEdge.fill(-1, m_nodes.size());
    QVector<bool> reached(m_nodes.size(), false);
    reached[0] = true;
    QVector<int> queue{0};
    for (int k = 0; k < queue.size(); ++k) {
        for (int e : m_nodes.at(queue.at(k)).edges) {
            const int to = m_edges.at(e).to;
            if (to < 0 || reached.at(to))
                continue;
            reached[to] = true;
            m_parentEdge[to] = e;
            queue << to;
        }
    }
}

void Routes::addEdge(const RouteEdge &edge)
{
    m_nodes[edge.from].edges << m_edges.size();
    m_edges << edge;
}

// Steps on from the cursor as the forward step does, to the next node; a
// capture scene's return line goes back to its map.
void Routes::walk(RouteEdge &edge, int cursor, int returnTo) const
{
    // A waiting line holds: an answer that leaves the cursor on it asks again.
    if (isWaitingLine(cursor)) {
        edge.to = nodeAt(cursor);
        return;
    }
    const int lastLine = m_nodes.constLast().lastLine;
    for (int line = cursor + 1; line <= lastLine; ++line) {
        const int at = nodeAt(line);
        if (at > 0) {
            edge.to = at;
            return;
        }
        edge.lines << line;
        if (returnTo >= 0 && returnsToMap(line)) {
            edge.to = returnTo;
            return;
        }
    }
}

int Routes::nodeAt(int line) const
{
    return m_nodeAt.value(line, -1);
}

Route Routes::routeTo(int node) const
{
    Route route;
    if (node < 0 || node >= m_nodes.size() || (node > 0 && m_parentEdge.at(node) < 0))
        return route;
    for (int at = node; at > 0; at = m_edges.at(m_parentEdge.at(at)).from)
        route.edges.prepend(m_parentEdge.at(at));
    route.found = true;
    for (int e : qAsConst(route.edges)) {
        route.mistakes += m_edges.at(e).mistake ? 1 : 0;
        route.captures += m_edges.at(e).kind == EdgeKind::Caught ? 1 : 0;
    }
    return route;
}

Route Routes::routeThrough(int edge) const
{
    if (edge < 0 || edge >= m_edges.size())
        return Route();
    const RouteEdge &through = m_edges.at(edge);
    Route route = routeTo(through.from);
    if (!route.found)
        return route;
    route.edges << edge;
    route.mistakes += through.mistake ? 1 : 0;
    route.captures += through.kind == EdgeKind::Caught ? 1 : 0;
    return route;
}

QVector<int> Routes::nodesOnWayTo(int line) const
{
    int last = -1;
    int steps = 0;
    auto consider = [&](int node, int extra) {
        const Route route = routeTo(node);
        const int n = route.edges.size() + extra;
        if (route.found && (last < 0 || n < steps)) {
            last = node;
            steps = n;
        }
    };
    if (nodeAt(line) >= 0)
        consider(nodeAt(line), 0);
    for (const RouteEdge &edge : m_edges) {
        if (edge.lines.contains(line) || edge.linesAgain.contains(line))
            consider(edge.from, 1);
    }
    if (last < 0)
        return {};
    QVector<int> way{0};
    for (int e : routeTo(last).edges)
        way << m_edges.at(e).to;
    return way;
}

} // namespace story
