#include "saves/routemap.h"

#include "core/interludeview.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/state.h"
#include "core/textform.h"
#include "story/routerecord.h"
#include "saves/savepoint.h"
#include "story/routes.h"

#include <QVariantMap>

#include <algorithm>
#include <cstdlib>

namespace saves {

namespace {

using NodeKind = story::RouteNode::Kind;
using EdgeKind = story::RouteEdge::Kind;

// The page's flowchart, in the coordinates of its scrolling area (680 wide).
constexpr int kSpineX = 10, kSpineWidth = 300, kNodeHeight = 44, kRowPitch = 84;
constexpr int kSpineLineX = 30;
constexpr int kEndingX = 470, kEndingWidth = 200, kEndingHeight = 34;
constexpr int kTop = 8;

MapBox hLine(int x0, int x1, int y)
{
    return MapBox{std::min(x0, x1), y - 1, std::abs(x1 - x0), 2};
}

MapBox vLine(int x, int y0, int y1)
{
    return MapBox{x - 1, std::min(y0, y1), 2, std::abs(y1 - y0)};
}

int centreY(const MapBox &box)
{
    return box.y + box.height / 2;
}

MapLayout buildLayout()
{
    const story::Routes &g = story::routes();
    MapLayout layout;
    layout.nodes.resize(g.nodes().size());
    layout.segments.resize(g.edges().size());
    layout.labels.resize(g.edges().size());

    QVector<int> row(g.nodes().size(), -1);
    int rows = 0;
    for (int i = 0; i < g.nodes().size(); ++i) {
        if (g.nodes().at(i).kind == NodeKind::Ending)
            continue;
        row[i] = rows;
        layout.nodes[i] = MapBox{kSpineX, kTop + rows * kRowPitch, kSpineWidth, kNodeHeight};
        ++rows;
    }
    int bottom = kTop + (rows - 1) * kRowPitch + kNodeHeight;

    // Each ending beside the first node that leads there; one none leads to goes last.
    QVector<QPair<int, int>> endings; // (row of the first way in, node)
    for (int i = 0; i < g.nodes().size(); ++i) {
        if (g.nodes().at(i).kind != NodeKind::Ending)
            continue;
        int first = rows;
        for (const story::RouteEdge &e : g.edges()) {
            if (e.to == i && row.at(e.from) >= 0)
                first = std::min(first, row.at(e.from));
        }
        endings << qMakePair(first, i);
    }
    std::sort(endings.begin(), endings.end());
    int endingBottom = 0;
    for (const auto &ending : qAsConst(endings)) {
        const int beside = ending.first < rows ? kTop + ending.first * kRowPitch + 3 : bottom + 10;
        const int y = std::max(beside, endingBottom + 6);
        layout.nodes[ending.second] = MapBox{kEndingX, y, kEndingWidth, kEndingHeight};
        endingBottom = y + kEndingHeight;
    }
    layout.height = std::max(bottom, endingBottom) + 10;

    QVector<int> loops(g.nodes().size(), 0), toEndings(g.nodes().size(), 0), intoEnding(g.nodes().size(), 0);
    for (int e = 0; e < g.edges().size(); ++e) {
        const story::RouteEdge &edge = g.edges().at(e);
        if (edge.to < 0)
            continue;
        const MapBox &from = layout.nodes.at(edge.from);
        const MapBox &to = layout.nodes.at(edge.to);
        const int below = from.y + from.height;
        QVector<MapBox> &line = layout.segments[e];
        if (edge.to == edge.from) {
            // A wrong answer, a question asked again, a try lost: back where it was.
            layout.labels[e] = MapBox{180, below + 3 + 14 * loops[edge.from]++, 130, 14};
        } else if (row.at(edge.to) >= 0 && row.at(edge.to) == row.at(edge.from) + 1) {
            line << vLine(kSpineLineX, below, to.y);
            layout.labels[e] = MapBox{kSpineLineX + 8, below + 3, 138, 32};
        } else if (row.at(edge.to) < 0) {
            // A second way from the same node runs below the first, its words
            // under it; a second way into an ending turns a little earlier.
            const int k = toEndings[edge.from]++;
            const int y0 = centreY(from) - 6 + 10 * k;
            const int bend = kEndingX - 14 - 8 * (k + intoEnding[edge.to]++);
            line << hLine(from.x + from.width, bend, y0) << vLine(bend, y0, centreY(to)) << hLine(bend, to.x, centreY(to));
            layout.labels[e] = MapBox{from.x + from.width + 6, k == 0 ? y0 - 15 : y0 + 2, bend - from.x - from.width - 10, 14};
        } else {
            // Forward past the next node: round by the left margin.
            const int y0 = centreY(from), y1 = centreY(to);
            line << hLine(kSpineX, 3, y0) << vLine(3, y0, y1) << hLine(3, kSpineX, y1);
            layout.labels[e] = MapBox{kSpineLineX + 8, below + 3, 138, 32};
        }
    }
    return layout;
}

QVariantMap boxMap(const MapBox &box)
{
    return QVariantMap{{QStringLiteral("x"), box.x},
                       {QStringLiteral("y"), box.y},
                       {QStringLiteral("width"), box.width},
                       {QStringLiteral("height"), box.height}};
}

QString nodeText(const story::RouteNode &node)
{
    switch (node.kind) {
    case NodeKind::Start: return QStringLiteral("序章");
    case NodeKind::Question: return node.text();
    case NodeKind::Interlude: return node.map == 1 ? QStringLiteral("互动（第一段）") : QStringLiteral("互动（第二段）");
    case NodeKind::Ending: return QStringLiteral("结局：") + node.text();
    }
    return QString();
}

QString edgeText(const story::RouteEdge &edge, const story::RouteNode &from)
{
    switch (edge.kind) {
    case EdgeKind::Opening: return QString();
    case EdgeKind::Answer:
        if (from.typed)
            return edge.answer == 1 ? QStringLiteral("答对") : QStringLiteral("答错");
        return (edge.mistake ? QStringLiteral("答错：") : QString()) + edge.text();
    case EdgeKind::Won: return QStringLiteral("通过");
    case EdgeKind::Caught: return edge.companion ? QStringLiteral("同伴被抓，重来") : QStringLiteral("被抓，重来");
    case EdgeKind::Lost: return edge.companion ? QStringLiteral("同伴被抓，机会用完") : QStringLiteral("被抓，机会用完");
    }
    return QString();
}

const QString kLocked = QStringLiteral("？？？");

} // namespace

const MapLayout &mapLayout()
{
    static const MapLayout layout = buildLayout();
    return layout;
}

JumpState jumpState(int node)
{
    const story::Routes &g = story::routes();
    JumpState state;
    if (node < 0 || node >= g.nodes().size())
        return state;
    // Breadth first through the ways taken, answers in order: the fewest steps,
    // which never go round a wrong answer or a lost try.
    QVector<int> via(g.nodes().size(), -2);
    via[0] = -1;
    QVector<int> queue{0};
    for (int k = 0; k < queue.size() && via.at(node) == -2; ++k) {
        for (int e : g.nodes().at(queue.at(k)).edges) {
            const int to = g.edges().at(e).to;
            if (to < 0 || via.at(to) != -2 || !story::edgeTaken(e))
                continue;
            via[to] = e;
            queue << to;
        }
    }
    QVector<int> way;
    if (via.at(node) != -2) {
        for (int at = node; at > 0; at = g.edges().at(via.at(at)).from)
            way.prepend(via.at(at));
    } else {
        const story::Route route = g.routeTo(node);
        if (!route.found)
            return state;
        way = route.edges;
    }
    state.found = true;
    for (int e : qAsConst(way)) {
        const story::RouteEdge &edge = g.edges().at(e);
        state.mistakes += edge.mistake ? 1 : 0;
        if (edge.kind == EdgeKind::Caught) {
            ++state.captures;
            (edge.companion ? state.companionCaught : state.playerCaught) = 1;
        }
    }
    return state;
}

} // namespace saves

RouteMap::RouteMap(Game &game, QObject *parent) : QObject(parent), game(game) {}

bool RouteMap::anyReached() const
{
    return story::anyQuestionReached();
}

int RouteMap::contentHeight() const
{
    return saves::mapLayout().height;
}

void RouteMap::refresh()
{
    using namespace saves;
    const story::Routes &g = story::routes();
    const MapLayout &layout = mapLayout();
    const core::TextForm form = game.textForm();
    // Only while a story runs: from the title there is no place to mark.
    current = core::process().story.currentLine > 0 ? story::routeRecord().lastNode : -1;

    nodeList.clear();
    static const char *const kinds[] = {"start", "question", "interlude", "ending"};
    for (int i = 0; i < g.nodes().size(); ++i) {
        const story::RouteNode &node = g.nodes().at(i);
        const bool reached = story::nodeReached(i);
        const bool canJump = reached && node.kind == NodeKind::Question;
        QVariantMap m = boxMap(layout.nodes.at(i));
        const QString text = reached ? core::shown(nodeText(node), form) : kLocked;
        m.insert(QStringLiteral("kind"), QString::fromLatin1(kinds[int(node.kind)]));
        m.insert(QStringLiteral("reached"), reached);
        m.insert(QStringLiteral("text"), text);
        m.insert(QStringLiteral("current"), i == current);
        m.insert(QStringLiteral("canJump"), canJump);
        QString spoken = reached ? text : core::shown(QStringLiteral("未解锁"), form);
        if (i == current)
            spoken += core::shown(QStringLiteral("，当前位置"), form);
        m.insert(QStringLiteral("spoken"), spoken);
        nodeList << m;
    }

    edgeList.clear();
    for (int e = 0; e < g.edges().size(); ++e) {
        const story::RouteEdge &edge = g.edges().at(e);
        const bool taken = story::edgeTaken(e);
        QVariantList segments;
        for (const MapBox &box : layout.segments.at(e))
            segments << boxMap(box);
        const MapBox &label = layout.labels.at(e);
        const QString words = edgeText(edge, g.nodes().at(edge.from));
        QVariantMap m;
        m.insert(QStringLiteral("segments"), segments);
        m.insert(QStringLiteral("label"), words.isEmpty() ? QString() : taken ? core::shown(words, form) : kLocked);
        m.insert(QStringLiteral("labelX"), label.x);
        m.insert(QStringLiteral("labelY"), label.y);
        m.insert(QStringLiteral("labelWidth"), label.width);
        m.insert(QStringLiteral("taken"), taken);
        m.insert(QStringLiteral("loop"), edge.to == edge.from);
        m.insert(QStringLiteral("mistake"), edge.mistake);
        edgeList << m;
    }
    emit changed();
}

bool RouteMap::jump(int node)
{
    using namespace saves;
    const story::Routes &g = story::routes();
    if (node < 0 || node >= g.nodes().size() || g.nodes().at(node).kind != NodeKind::Question || !story::nodeReached(node))
        return false;
    const JumpState state = jumpState(node);
    if (!state.found)
        return false;
    startFrom(game, g.nodes().at(node).line, state.mistakes);
    core::InterludeState &in = core::process().interlude;
    in.triesLeft = std::max(1, startingTries(game.interludeMode()) - state.captures);
    in.playerCaught = state.playerCaught;
    in.companionCaught = state.companionCaught;
    core::interludeView().setTriesLeft(in.triesLeft);
    if (game.controller)
        game.controller->navigategame(QStringLiteral("route"));
    return true;
}
