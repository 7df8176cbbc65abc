#include "settings/livesettings.h"

#include "core/log.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/state.h"
#include "music/music.h"
#include "music/player.h"
#include "settings/displaymode.h"
#include "settings/settings.h"
#include "stage/interlude.h"
#include "story/presentation.h"
#include "story/readaloud.h"
#include "story/storystate.h"

#include <QQmlEngine>

#include <QTimer>
#include <QtDebug>

namespace settings {

namespace {

void tell(Game &game, const QString &text)
{
    if (auto *s = qobject_cast<Settings *>(game.settings))
        s->tell(text);
}

// A change that could not reach the file holds for this run; the player knows
// it will not last.
void tellStored(Game &game, Change change)
{
    if (change == Change::Saved)
        tell(game, QString());
    else if (change == Change::NotSaved)
        tell(game, QStringLiteral("设置无法保存，只在本次运行中有效"));
}

void setVolume(Game &game, Settings &settings, float value)
{
    const Change change = settings.setVolume(value);
    tellStored(game, change);
    if (change != Change::None && game.musicPlayer)
        game.musicPlayer->setVolume(music::volumePercent(settings.volume()));
}

void setReadAloud(Game &game, Settings &settings, bool on)
{
    const Change change = settings.setReadAloud(on);
    if (change == Change::None)
        return;
    tellStored(game, change);
    if (!on) {
        story::stopSpeech(game);
        return;
    }
    const int line = story::state().viewLine;
    if (game.controller && game.controller->getCurrentPage() == QLatin1String("game") && line > 0)
        story::speakLine(game, line);
    else
        story::say(game, QStringLiteral("朗读 开"));
}

void setInterludeMode(Game &game, Settings &settings, int mode)
{
    const InterludeMode before = game.interludeMode();
    const Change change = settings.setInterludeMode(mode);
    if (change == Change::None)
        return;
    tellStored(game, change);
    stage::changeInterludeMode(game, before);
}

// A new form shows at once: the pages' words, every word property and the
// line in the text box.
void setTextForm(Game &game, Settings &settings, int form)
{
    const Change change = settings.setTextForm(form);
    if (change == Change::None)
        return;
    tellStored(game, change);
    game.republishWords();
    story::reshowLine(game);
    if (game.engine)
        game.engine->retranslate();
}

void restartNow(Game &game)
{
    core::process().restartPending = false;
    if (game.restartSelf()) {
        game.quit();
        return;
    }
    // Line 1 already holds the new mode, so the next start shows it.
    qCWarning(lcSettings).noquote() << QStringLiteral("新的游戏进程没有启动，继续运行；新的显示模式在下次启动时生效");
    tell(game, QStringLiteral("无法重新启动游戏，新的显示模式将在下次启动时生效"));
}

// The mode goes to line 1 and the scale factor to QT_SCALE_FACTOR; 100 ms
// later a new game process starts and this one quits, or, when the new one
// does not start, this one keeps running and says so on the page.
void changeDisplayMode(Game &game, Settings &settings, int mode)
{
    const double scale = scaleFactorFor(mode);
    const Change change = settings.setDisplayMode(mode);
    if (change == Change::None)
        return;
    // A new process would read the old mode from the file and come up as
    // before: nothing changes, and the pages go on marking the mode in effect.
    if (change != Change::Saved) {
        tell(game, QStringLiteral("无法写入设置文件，显示模式没有改变"));
        return;
    }
    qputenv("QT_SCALE_FACTOR", formatScaleFactor(scale));
    tell(game, QString());
    // Two quick changes give one new process, which reads the later mode.
    bool &pending = core::process().restartPending;
    if (pending)
        return;
    pending = true;
    Game *g = &game;
    QTimer::singleShot(100, game.lifetime(), [g] { restartNow(*g); });
}

} // namespace

void connectSettings(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    tell(game, QString());
    QObject::connect(c, &MainWindow::exitChanged, c, [g](int value) {
        if (value == 1)
            g->quit();
    });
    Settings *s = qobject_cast<Settings *>(game.settings);
    if (!s)
        return;
    // Start-up read the file before there was an application to translate in.
    s->translatePages();
    QObject::connect(c, &MainWindow::wholeLineFirstChanged, s, [g, s](bool on) { tellStored(*g, s->setWholeLineFirst(on)); });
    QObject::connect(c, &MainWindow::TextSize, s, [g, s](int size) { tellStored(*g, s->setTextSize(size)); });
    QObject::connect(c, &MainWindow::BoxOpacity, s, [g, s](float value) { tellStored(*g, s->setBoxOpacity(value)); });
    QObject::connect(c, &MainWindow::skipReadOnlyChanged, s, [g, s](bool on) { tellStored(*g, s->setSkipReadOnly(on)); });
    QObject::connect(c, &MainWindow::interludeModeChanged, s, [g, s](int mode) { setInterludeMode(*g, *s, mode); });
    QObject::connect(c, &MainWindow::textFormChanged, s, [g, s](int form) { setTextForm(*g, *s, form); });
    QObject::connect(c, &MainWindow::readAloudChanged, s, [g, s](bool on) { setReadAloud(*g, *s, on); });
    QObject::connect(c, &MainWindow::suofangChanged, s, [g, s](int mode) { changeDisplayMode(*g, *s, mode); });
    QObject::connect(c, &MainWindow::vziChanged, s, [g, s](float v) { tellStored(*g, s->setTextSpeed(v)); });
    QObject::connect(c, &MainWindow::vhangChanged, s, [g, s](float v) { tellStored(*g, s->setAutoSpeed(v)); });
    QObject::connect(c, &MainWindow::inliangChanged, s, [g, s](float v) { setVolume(*g, *s, v); });
}

} // namespace settings
