#include "settings/livesettings.h"

#include "core/log.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "settings/settinglines.h"
#include "core/state.h"
#include "music/music.h"
#include "music/player.h"
#include "settings/displaymode.h"
#include "settings/settingsfile.h"
#include "stage/interlude.h"
#include "core/textform.h"
#include "story/presentation.h"
#include "story/readaloud.h"
#include "story/storystate.h"

#include <QQmlEngine>

#include <QTimer>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace settings {

namespace {

// A speed as the controller holds it, the line that stores it and the pages' copy.
struct LiveSpeed {
    float (MainWindow::*get)() const;
    void (MainWindow::*set)(float);
    int line;
    prop::Name name;
};

const LiveSpeed kTextSpeed{&MainWindow::getVzi, &MainWindow::setVzi, 2, prop::Vzi};
const LiveSpeed kAutoSpeed{&MainWindow::getVhang, &MainWindow::setVhang, 3, prop::Vhang};
const LiveSpeed kVolume{&MainWindow::getInliang, &MainWindow::setInliang, 4, prop::Inliang};

// False when the value must not reach the game at all.
bool storeLive(Game &game, const LiveSpeed &speed, float value)
{
    if (!std::isfinite(value)) {
        qCWarning(lcSettings).noquote() << QStringLiteral("忽略无效的设置值") << speed.name.text << value;
        return false;
    }
    value = std::clamp(value, 0.0f, 1.0f);
    MainWindow *c = game.controller;
    if (value == (c->*speed.get)())
        return false;
    (c->*speed.set)(value);
    bool stored = false;
    try {
        stored = writeSettingLine(formatSettingNumber(value), speed.line);
    } catch (const std::out_of_range &) {
        // Only when the file was cut short while the game runs; the next start repairs it.
        qCWarning(lcSettings).noquote() << QStringLiteral("设置文件 setting.txt 行数不足，第 %1 行未保存").arg(speed.line);
    }
    // The change holds for this run either way; the player knows it will not last.
    game.publish(prop::settingNotice, stored ? QString() : QStringLiteral("设置无法保存，只在本次运行中有效"));
    game.publish(speed.name, value);
    return true;
}

// Writes an option's line, padding missing option lines with "0".
void storeOptionLine(Game &game, int line, const std::string &text)
{
    std::vector<std::string> lines;
    // Start-up leaves four lines; a file gone since then keeps the option for this run only.
    if (!readLines(&lines) || lines.size() < 4) {
        qCWarning(lcSettings).noquote() << QStringLiteral("设置文件 setting.txt 不完整，第 %1 行未保存").arg(line);
        return;
    }
    while (int(lines.size()) < line)
        lines.push_back("0");
    lines[size_t(line - 1)] = text;
    game.publish(prop::settingNotice, writeLines(lines) ? QString() : QStringLiteral("设置无法保存，只在本次运行中有效"));
}

void storeOption(Game &game, bool &live, prop::Name name, int line, bool on)
{
    if (on == live)
        return;
    live = on;
    game.publish(name, live);
    storeOptionLine(game, line, on ? "1" : "0");
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
    game.publish(prop::settingNotice, QStringLiteral("无法重新启动游戏，新的显示模式将在下次启动时生效"));
}

} // namespace

void setTextSpeed(Game &game, float value)
{
    storeLive(game, kTextSpeed, value);
}

void setAutoSpeed(Game &game, float value)
{
    storeLive(game, kAutoSpeed, value);
}

void setVolume(Game &game, float value)
{
    if (storeLive(game, kVolume, value) && game.musicPlayer)
        game.musicPlayer->setVolume(music::volumePercent(game.volume()));
}

void loadOptions(Game &game)
{
    // Only the values the README names; start-up's repair has said what was not one.
    std::vector<std::string> lines;
    readLines(&lines);
    game.wholeLineFirst = optionValue(lines, kWholeLineFirstLine) == 1;
    game.skipReadOnly = optionValue(lines, kSkipReadOnlyLine) == 1;
    game.interludeMode = InterludeMode(int(optionValue(lines, kInterludeModeLine)));
    game.readAloud = optionValue(lines, kReadAloudLine) == 1;
    game.publish(prop::readAloud, game.readAloud);
    game.publish(prop::wholeLineFirst, game.wholeLineFirst);
    game.publish(prop::skipReadOnly, game.skipReadOnly);
    game.publish(prop::interludeMode, int(game.interludeMode));
    game.publish(prop::textSize, int(optionValue(lines, kTextSizeLine)));
    game.publish(prop::boxOpacity, optionValue(lines, kBoxOpacityLine));
    const bool traditional = optionValue(lines, kTextFormLine) == 1;
    core::setTextForm(traditional ? core::TextForm::Traditional : core::TextForm::Simplified);
    game.publish(prop::textForm, int(traditional));
}

void setTextForm(Game &game, int form)
{
    if ((form != 0 && form != 1) || core::TextForm(form) == core::textForm())
        return;
    core::setTextForm(core::TextForm(form));
    game.publish(prop::textForm, form);
    storeOptionLine(game, kTextFormLine, form ? "1" : "0");
    game.republishWords();
    story::reshowLine(game);
    if (game.engine)
        game.engine->retranslate();
}

void setTextSize(Game &game, int size)
{
    if (size < 0 || size > 2 || game.property(prop::textSize).toInt() == size)
        return;
    game.publish(prop::textSize, size);
    storeOptionLine(game, kTextSizeLine, std::to_string(size));
}

void setBoxOpacity(Game &game, float value)
{
    if (!std::isfinite(value))
        return;
    value = std::clamp(value, 0.2f, 1.0f);
    if (game.property(prop::boxOpacity).toFloat() == value)
        return;
    game.publish(prop::boxOpacity, value);
    storeOptionLine(game, kBoxOpacityLine, formatSettingNumber(value));
}

void setWholeLineFirst(Game &game, bool on)
{
    storeOption(game, game.wholeLineFirst, prop::wholeLineFirst, kWholeLineFirstLine, on);
}

void setSkipReadOnly(Game &game, bool on)
{
    storeOption(game, game.skipReadOnly, prop::skipReadOnly, kSkipReadOnlyLine, on);
}

void setReadAloud(Game &game, bool on)
{
    if (on == game.readAloud)
        return;
    storeOption(game, game.readAloud, prop::readAloud, kReadAloudLine, on);
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

void setInterludeMode(Game &game, int mode)
{
    if (mode < 0 || mode > 2 || InterludeMode(mode) == game.interludeMode)
        return;
    const InterludeMode before = game.interludeMode;
    game.interludeMode = InterludeMode(mode);
    game.publish(prop::interludeMode, mode);
    const char *texts[] = {"0", "1", "2"};
    storeOptionLine(game, kInterludeModeLine, texts[mode]);
    stage::changeInterludeMode(game, before);
}

void changeDisplayMode(Game &game, int mode)
{
    // Set while the buttons are given back the mode in effect: that is no request.
    static bool takingBack = false;
    // The controller holds the mode asked for; 3 is none, with nothing to store.
    if (mode == 3 || takingBack)
        return;
    bool stored = false;
    const double scale = scaleFactorFor(mode, &stored);
    // A new process would read the old mode from the file and come up as before:
    // nothing changes, and the buttons mark the mode the window is in.
    if (!stored) {
        game.publish(prop::settingNotice, QStringLiteral("无法写入设置文件，显示模式没有改变"));
        if (game.controller) {
            takingBack = true;
            game.controller->takeBackDisplayMode();
            takingBack = false;
        }
        return;
    }
    qputenv("QT_SCALE_FACTOR", formatScaleFactor(scale));
    game.publish(prop::settingNotice, QString());
    // Two quick changes give one new process, which reads the later mode.
    bool &pending = core::process().restartPending;
    if (pending)
        return;
    pending = true;
    Game *g = &game;
    QTimer::singleShot(100, game.lifetime(), [g] { restartNow(*g); });
}

void connectSettings(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    game.publish(prop::settingNotice, QString());
    loadOptions(game);
    QObject::connect(c, &MainWindow::wholeLineFirstChanged, c, [g](bool on) { setWholeLineFirst(*g, on); });
    QObject::connect(c, &MainWindow::TextSize, c, [g](int size) { setTextSize(*g, size); });
    QObject::connect(c, &MainWindow::BoxOpacity, c, [g](float value) { setBoxOpacity(*g, value); });
    QObject::connect(c, &MainWindow::skipReadOnlyChanged, c, [g](bool on) { setSkipReadOnly(*g, on); });
    QObject::connect(c, &MainWindow::interludeModeChanged, c, [g](int mode) { setInterludeMode(*g, mode); });
    QObject::connect(c, &MainWindow::textFormChanged, c, [g](int form) { setTextForm(*g, form); });
    QObject::connect(c, &MainWindow::readAloudChanged, c, [g](bool on) { setReadAloud(*g, on); });
    QObject::connect(c, &MainWindow::suofangChanged, c, [g](int mode) { changeDisplayMode(*g, mode); });
    QObject::connect(c, &MainWindow::exitChanged, c, [g](int value) {
        if (value == 1)
            g->quit();
    });
    QObject::connect(c, &MainWindow::vziChanged, c, [g](float v) { setTextSpeed(*g, v); });
    QObject::connect(c, &MainWindow::vhangChanged, c, [g](float v) { setAutoSpeed(*g, v); });
    QObject::connect(c, &MainWindow::inliangChanged, c, [g](float v) { setVolume(*g, v); });
}

} // namespace settings
