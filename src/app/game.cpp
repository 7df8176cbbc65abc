#include "app/game.h"

#include <QQmlContext>
#include <QQmlEngine>

void Game::publish(const char *name, const QVariant &value) const
{
    if (engine)
        engine->rootContext()->setContextProperty(QString::fromLatin1(name), value);
}

void Game::publishNull(const char *name) const
{
    publish(name, QVariant::fromValue<QObject *>(nullptr));
}

void Game::clearComponentCache() const
{
    if (engine)
        engine->clearComponentCache();
}
