#pragma once

#include <QObject>
#include <QString>

struct Game;

// What the load page asks about a slot beyond its number and picture.
class SaveRows : public QObject
{
    Q_OBJECT

public:
    // game outlives the rows: it gives the script they are shown in.
    SaveRows(const Game &game, QObject *parent);

    // The save's date and time and the first words of its line, read afresh,
    // in the script the game writes in.
    Q_INVOKABLE QString caption(int slot) const;
    Q_INVOKABLE QString quickCaption() const;

private:
    const Game &game;
};
