#pragma once

#include <QHash>
#include <QString>
#include <QVector>

// The story's shape as a graph: its questions, interludes and endings, and
// where each answer or outcome leads with the lines shown on the way. The
// line tables and the staging table hold it in pieces; this is the one walk
// of them, for whatever must see the story whole (a route map, the
// storyboard, the tests). Built on first use, never at start-up.
namespace story {

struct RouteNode {
    enum class Kind { Start, Question, Interlude, Ending };
    Kind kind = Kind::Start;
    int line = 0;       // the question; an interlude's first line; an ending's last line; 0 for the start
    int lastLine = 0;   // an interlude's goal line (its story goes on while the map is up); else line
    bool typed = false; // a question answered by typing
    int map = 0;        // an interlude's map, 1 or 2
    QVector<int> edges; // leaving it, in order: answers 1 and 2, or an interlude's outcomes

    // A question's words (its speaker cut), an ending's title; empty otherwise.
    // In the script's own characters: a page shows them as it shows any text.
    QString text() const;
};

struct RouteEdge {
    enum class Kind {
        Opening, // from the start to the first question
        Answer,  // a question's answer; at the typed one, 1 is a right answer and 2 a wrong one
        Won,     // the map's goal reached, or the interlude skipped
        Caught,  // a try lost: a capture scene, then the map again
        Lost,    // caught with no try left
    };
    Kind kind = Kind::Opening;
    int from = -1;
    int to = -1;            // -1 when the tables lead nowhere
    int answer = 0;         // Answer: 1 or 2
    bool mistake = false;   // counted as a wrong answer (a wrong typed one is not)
    bool companion = false; // Caught, Lost: the companion caught, not the player
    int answerLine = 0;     // an answer's own line (the button's text); 0 at the typed question
    QVector<int> lines;     // shown on the way, in order, the answer's own line first
    QVector<int> linesAgain; // Caught: the scene when that figure was caught before in the story

    // A button's text, as the button shows it; empty otherwise.
    QString text() const;
};

// A way from the start and the story it leaves behind, which is what a jump
// to its last node has to restore.
struct Route {
    bool found = false;
    QVector<int> edges; // taken in turn
    int mistakes = 0;   // wrong answers on the way
    int captures = 0;   // tries lost on the way (a Lost edge comes only once none is left)
};

class Routes
{
public:
    const QVector<RouteNode> &nodes() const { return m_nodes; }
    const QVector<RouteEdge> &edges() const { return m_edges; }

    // The node at a line: a question's line, any line of an interlude, an
    // ending's last line, 0 for the start; -1 for any other line.
    int nodeAt(int line) const;

    // The fewest steps from the start to a node, or through an edge (the way
    // to its node, then the edge); not found when nothing leads there.
    Route routeTo(int node) const;
    Route routeThrough(int edge) const;

    // The nodes passed on the way to a line, from the start: those of the
    // shortest route that shows it, ending with the node that holds it or the
    // one whose answer leads to it. Empty when no route shows the line.
    QVector<int> nodesOnWayTo(int line) const;

private:
    friend const Routes &routes();
    Routes();
    void addEdge(const RouteEdge &edge);
    void walk(RouteEdge &edge, int cursor, int returnTo) const;

    QVector<RouteNode> m_nodes;
    QVector<RouteEdge> m_edges;
    QHash<int, int> m_nodeAt;  // line -> node
    QVector<int> m_parentEdge; // per node, the edge the shortest way arrives by; -1 at the start or none
};

// The story's routes, built from the tables on first use and kept.
const Routes &routes();

} // namespace story
