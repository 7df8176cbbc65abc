#pragma once

#include <QObject>
#include <QVariantList>

struct Game;

namespace saves {

// What a story started at a node would carry from the way there: the route
// through the ways the player has taken (the graph's own where they do not
// lead there), with its wrong answers and lost tries.
struct JumpState {
    bool found = false;
    int mistakes = 0;
    int captures = 0;
    int playerCaught = 0;
    int companionCaught = 0;
};
JumpState jumpState(int node);

// Where each node and way of the story graph is drawn: the story's own order
// down the left, the endings on the right beside the first node leading there.
struct MapBox {
    int x = 0, y = 0, width = 0, height = 0;
};
struct MapLayout {
    QVector<MapBox> nodes;              // per graph node
    QVector<QVector<MapBox>> segments;  // per graph edge: its line in straight pieces; empty for a loop
    QVector<MapBox> labels;             // per graph edge: where its words go
    int height = 0;
};
const MapLayout &mapLayout();

} // namespace saves

// The route map page's view of the story graph and the route record.
class RouteMap : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool anyReached READ anyReached NOTIFY changed)
    Q_PROPERTY(QVariantList nodes READ nodes NOTIFY changed)
    Q_PROPERTY(QVariantList edges READ edges NOTIFY changed)
    Q_PROPERTY(int contentHeight READ contentHeight NOTIFY changed)
    Q_PROPERTY(int currentNode READ currentNode NOTIFY changed)

public:
    // game outlives the map: it gives the story to start and the script to show.
    RouteMap(Game &game, QObject *parent);

    // A first question reached: the title page offers the map.
    bool anyReached() const;
    // Per node: kind ("start", "question", "interlude", "ending"), x, y,
    // width, height, reached, text (？？？ when not), spoken, current, canJump.
    QVariantList nodes() const { return nodeList; }
    // Per way: segments [{x, y, width, height}], label, labelX, labelY,
    // labelWidth, taken, loop, mistake.
    QVariantList edges() const { return edgeList; }
    int contentHeight() const;
    int currentNode() const { return current; }

    // Reads the record and the story's place afresh, in the script now chosen.
    Q_INVOKABLE void refresh();
    // Starts the story at a reached question as a load would, and shows it.
    Q_INVOKABLE bool jump(int node);

signals:
    void changed();

private:
    Game &game;
    QVariantList nodeList;
    QVariantList edgeList;
    int current = -1;
};
