#pragma once

#include "core/game.h"
#include "core/mainwindow.h"
#include "app/startup.h"
#include "core/state.h"
#include "settings/settings.h"
#include "stage/interludestate.h"
#include "story/presentation.h"
#include "story/storystate.h"
#include "testsupport.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QTimer>

#include <memory>

// A story with a real controller and engine, wired as start-up wires them,
// over a script of numbered lines ("line 1" ... "line 975") unless given one.
struct StoryFixture {
    ScratchDir dir;
    settings::Settings settings;
    // Declared first, so it outlives the engine that bounds the run's timers.
    Game game;
    std::unique_ptr<MainWindow> controller;
    std::unique_ptr<QQmlEngine> engine;

    explicit StoryFixture(const QList<QByteArray> &script = numberedScript(975))
    {
        dir.write("setting.txt", "1\n0.5\n0.5\n0.5\n");
        settings.load();
        controller.reset(new MainWindow(app::controllerStart(settings)));
        engine.reset(new QQmlEngine);
        game.engine = engine.get();
        game.controller = controller.get();
        game.settings = &settings;
        controller->setVzi(1.0f);
        core::resetProcessState();
        story::scriptLines() = script;
        app::publishStartupProperties(game);
        app::connectHandlers(game);
    }

    ~StoryFixture() { story::typeTimer()->stop(); }

    static QList<QByteArray> numberedScript(int count = 975)
    {
        QList<QByteArray> lines;
        for (int n = 1; n <= count; ++n)
            lines << "line " + QByteArray::number(n);
        return lines;
    }

    QVariant property(prop::Name name) const { return game.property(name); }
    QString text() const { return property(prop::currentText).toString(); }
    QString name() const { return property(prop::nameText).toString(); }
    bool shown(prop::Name flag) const
    {
        const QVariant v = property(flag);
        return v.canConvert<QObject *>() && v.userType() == QMetaType::QObjectStar ? v.value<QObject *>() != nullptr
                                                                                     : v.toBool();
    }

    // Runs the typing timer's ticks until the line is complete.
    void finishTyping()
    {
        for (int i = 0; i < 10000 && !story::typing().typingDone; ++i)
            story::typeTick(game);
    }

    void at(int line)
    {
        story::state().currentLine = line;
        story::state().viewLine = line;
    }
};
