#pragma once

#include <QObject>
#include <QString>

// What the load page asks about a slot beyond its number and picture.
class SaveRows : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The save's date and time and the first words of its line, read afresh,
    // in the script the game writes in.
    Q_INVOKABLE QString caption(int slot) const;
    Q_INVOKABLE QString quickCaption() const;
};
