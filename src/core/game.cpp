#include "core/game.h"

#include "core/mainwindow.h"
#include "core/settingvalues.h"
#include "core/textform.h"

#include <QCoreApplication>
#include <QQmlContext>
#include <QQmlEngine>

QObject *Game::lifetime() const
{
    if (engine)
        return engine;
    return controller;
}

float Game::textSpeed() const
{
    return core::SettingValues::of(settings).textSpeed;
}

float Game::autoSpeed() const
{
    return core::SettingValues::of(settings).autoSpeed;
}

float Game::volume() const
{
    return core::SettingValues::of(settings).volume;
}

bool Game::wholeLineFirst() const
{
    return core::SettingValues::of(settings).wholeLineFirst;
}

bool Game::skipReadOnly() const
{
    return core::SettingValues::of(settings).skipReadOnly;
}

InterludeMode Game::interludeMode() const
{
    return InterludeMode(core::SettingValues::of(settings).interludeMode);
}

bool Game::readAloud() const
{
    return core::SettingValues::of(settings).readAloud;
}

core::TextForm Game::textForm() const
{
    return core::TextForm(core::SettingValues::of(settings).textForm);
}

void Game::quit() const
{
    if (hooks.quit)
        hooks.quit();
    else
        QCoreApplication::quit();
}

bool Game::restartSelf() const
{
    return hooks.restartSelf ? hooks.restartSelf() : false;
}

QImage Game::grabWindow() const
{
    return hooks.grabWindow ? hooks.grabWindow() : QImage();
}

void Game::goToTitle() const
{
    if (hooks.goToTitle)
        hooks.goToTitle();
    else if (controller)
        controller->navigateindex();
}

void Game::publish(prop::Name name, const QVariant &value) const
{
    if (!engine)
        return;
    const QString key = QString::fromLatin1(name.text);
    if (!name.words) {
        engine->rootContext()->setContextProperty(key, value);
        return;
    }
    wordsPublished.insert(key, value);
    engine->rootContext()->setContextProperty(key, core::shown(value, textForm()));
}

void Game::republishWords() const
{
    if (!engine)
        return;
    for (auto it = wordsPublished.constBegin(); it != wordsPublished.constEnd(); ++it)
        engine->rootContext()->setContextProperty(it.key(), core::shown(it.value(), textForm()));
}

void Game::publishNull(prop::Name name) const
{
    publish(name, QVariant::fromValue<QObject *>(nullptr));
}

QVariant Game::property(prop::Name name) const
{
    return engine ? engine->rootContext()->contextProperty(QString::fromLatin1(name.text)) : QVariant();
}

void Game::clearComponentCache() const
{
    if (engine)
        engine->clearComponentCache();
}
