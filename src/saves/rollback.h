#pragma once

#include <QObject>

struct Game;

// Going back to an earlier line of the backlog, as other engines' rollback
// does: the story as it stood there, answers and mistakes since undone.
namespace saves {

// The story at that backlog row as a load would put it there, with the
// mistakes and tries it had; the rows after it go. False when its place is
// not known or it is the line the story stands on.
bool returnToRow(Game &game, int row);

// While paging back, the newest row showing the line in view, if the story can
// go back there; -1 otherwise.
int viewedRow();

} // namespace saves

// The pages' way back to a line: the backlog's rows and the line paged back to.
class LineReturn : public QObject
{
    Q_OBJECT

public:
    // game outlives it: it is the story taken back.
    LineReturn(Game &game, QObject *parent);

    Q_INVOKABLE int viewedRow() const { return saves::viewedRow(); }
    Q_INVOKABLE bool returnTo(int row);

private:
    Game &game;
};
