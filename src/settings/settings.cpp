#include "settings/settings.h"

#include "core/log.h"
#include "settings/displaymode.h"
#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QString>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace settings {

namespace {

constexpr int kNoDisplayMode = 3;

int displayModeSetting()
{
    std::vector<std::string> lines;
    if (!readLines(&lines)) {
        qCDebug(lcSettings) << "状态文件不存在，使用默认缩放状态" << kNoDisplayMode;
        return kNoDisplayMode;
    }
    if (lines.empty()) {
        qCWarning(lcSettings) << "状态文件为空，使用默认缩放状态" << kNoDisplayMode;
        return kNoDisplayMode;
    }
    const std::string &line = lines.front();
    const QString text = QString::fromStdString(line);
    const char *begin = line.c_str();
    char *end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, 10);
    if (end == begin) {
        qCWarning(lcSettings).noquote() << QStringLiteral("文件第一行内容无效，使用默认缩放状态。内容'") + text + QLatin1Char('\'');
        return kNoDisplayMode;
    }
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        qCWarning(lcSettings).noquote() << QStringLiteral("文件缩放值超出整数范围，使用默认缩放状态。内容'") + text + QLatin1Char('\'');
        return kNoDisplayMode;
    }
    // 0 is the window, as start-up writes it on every windowed start.
    if (value < 0 || value > 10) {
        qCWarning(lcSettings) << "缩放值超出范围(0-10)，使用默认值。文件值" << int(value);
        return kNoDisplayMode;
    }
    qCDebug(lcSettings) << "成功从文件加载缩放状态" << int(value);
    return int(value);
}

// Pads missing option lines with their defaults (a "0" for the box's opacity
// would be repaired at the next start). Start-up leaves four lines; a file gone
// or cut short since then keeps the option for this run only.
Change writeOption(int line, const std::string &text)
{
    std::vector<std::string> lines;
    if (!readLines(&lines) || lines.size() < 4) {
        qCWarning(lcSettings).noquote() << QStringLiteral("设置文件 setting.txt 不完整，第 %1 行未保存").arg(line);
        return Change::Incomplete;
    }
    while (int(lines.size()) < line)
        lines.push_back(optionDefaultText(int(lines.size()) + 1));
    lines[std::size_t(line - 1)] = text;
    return writeLines(lines) ? Change::Saved : Change::NotSaved;
}

} // namespace

Settings::Settings(QObject *parent) : SettingValues(parent)
{
    connect(this, &SettingValues::textFormChanged, this, &Settings::noticeChanged);
}

QString Settings::notice() const
{
    return core::shown(lastNotice, core::TextForm(v.textForm));
}

void Settings::tell(const QString &text)
{
    if (text == lastNotice)
        return;
    lastNotice = text;
    emit noticeChanged();
}

StartSettings Settings::load()
{
    const StartSettings start = repairSettingsFile();
    // Storing the mode again would only repeat the warning the repair gave.
    if (start.stored)
        writeSettingLine(std::to_string(displayModeFromText(start.lines.front())), kDisplayModeLine);
    readDisplayMode();
    assign(v.textSpeed, settingValue(start, kTextSpeedLine), &SettingValues::textSpeedChanged);
    assign(v.autoSpeed, settingValue(start, kAutoSpeedLine), &SettingValues::autoSpeedChanged);
    assign(v.volume, settingValue(start, kVolumeLine), &SettingValues::volumeChanged);
    // Only the values the README names; the repair has said what was not one.
    const std::vector<std::string> &lines = start.lines;
    assign(v.wholeLineFirst, optionValue(lines, kWholeLineFirstLine) == 1, &SettingValues::wholeLineFirstChanged);
    assign(v.skipReadOnly, optionValue(lines, kSkipReadOnlyLine) == 1, &SettingValues::skipReadOnlyChanged);
    assign(v.interludeMode, int(optionValue(lines, kInterludeModeLine)), &SettingValues::interludeModeChanged);
    assign(v.textSize, int(optionValue(lines, kTextSizeLine)), &SettingValues::textSizeChanged);
    assign(v.boxOpacity, optionValue(lines, kBoxOpacityLine), &SettingValues::boxOpacityChanged);
    assign(v.readAloud, optionValue(lines, kReadAloudLine) == 1, &SettingValues::readAloudChanged);
    const int form = optionValue(lines, kTextFormLine) == 1 ? 1 : 0;
    const bool formChanged = form != v.textForm;
    v.textForm = form;
    translatePages();
    if (formChanged)
        emit textFormChanged(form);
    return start;
}

void Settings::readDisplayMode()
{
    assign(v.displayMode, displayModeSetting(), &SettingValues::displayModeChanged);
}

Change Settings::setDisplayMode(int mode)
{
    if (mode < 0 || mode > 2 || mode == v.displayMode)
        return Change::None;
    if (!writeSettingLine(std::to_string(mode), kDisplayModeLine))
        return Change::NotSaved;
    assign(v.displayMode, mode, &SettingValues::displayModeChanged);
    return Change::Saved;
}

Change Settings::storeSpeed(float &field, float value, int line, const char *name,
                            void (SettingValues::*changed)(float))
{
    if (!std::isfinite(value)) {
        qCWarning(lcSettings).noquote() << QStringLiteral("忽略无效的设置值") << name << value;
        return Change::None;
    }
    value = std::clamp(value, 0.0f, 1.0f);
    if (value == field)
        return Change::None;
    bool stored = false;
    try {
        stored = writeSettingLine(formatSettingNumber(value), line);
    } catch (const std::out_of_range &) {
        // Only when the file was cut short while the game runs; the next start repairs it.
        qCWarning(lcSettings).noquote() << QStringLiteral("设置文件 setting.txt 行数不足，第 %1 行未保存").arg(line);
    }
    // The change holds for this run either way.
    assign(field, value, changed);
    return stored ? Change::Saved : Change::NotSaved;
}

Change Settings::setTextSpeed(float value)
{
    return storeSpeed(v.textSpeed, value, kTextSpeedLine, "Vzi", &SettingValues::textSpeedChanged);
}

Change Settings::setAutoSpeed(float value)
{
    return storeSpeed(v.autoSpeed, value, kAutoSpeedLine, "Vhang", &SettingValues::autoSpeedChanged);
}

Change Settings::setVolume(float value)
{
    return storeSpeed(v.volume, value, kVolumeLine, "Inliang", &SettingValues::volumeChanged);
}

template <typename T>
Change Settings::storeOption(T &field, T value, int line, const std::string &text, void (SettingValues::*changed)(T))
{
    if (value == field)
        return Change::None;
    const Change change = writeOption(line, text);
    assign(field, value, changed);
    return change;
}

Change Settings::setWholeLineFirst(bool on)
{
    return storeOption(v.wholeLineFirst, on, kWholeLineFirstLine, on ? "1" : "0", &SettingValues::wholeLineFirstChanged);
}

Change Settings::setSkipReadOnly(bool on)
{
    return storeOption(v.skipReadOnly, on, kSkipReadOnlyLine, on ? "1" : "0", &SettingValues::skipReadOnlyChanged);
}

Change Settings::setInterludeMode(int mode)
{
    if (mode < 0 || mode > 2)
        return Change::None;
    return storeOption(v.interludeMode, mode, kInterludeModeLine, std::to_string(mode),
                       &SettingValues::interludeModeChanged);
}

Change Settings::setTextSize(int size)
{
    if (size < 0 || size > 2)
        return Change::None;
    return storeOption(v.textSize, size, kTextSizeLine, std::to_string(size), &SettingValues::textSizeChanged);
}

Change Settings::setBoxOpacity(float value)
{
    if (!std::isfinite(value))
        return Change::None;
    value = std::clamp(value, 0.2f, 1.0f);
    return storeOption(v.boxOpacity, value, kBoxOpacityLine, formatSettingNumber(value),
                       &SettingValues::boxOpacityChanged);
}

Change Settings::setReadAloud(bool on)
{
    return storeOption(v.readAloud, on, kReadAloudLine, on ? "1" : "0", &SettingValues::readAloudChanged);
}

Change Settings::setTextForm(int form)
{
    if ((form != 0 && form != 1) || form == v.textForm)
        return Change::None;
    const Change change = writeOption(kTextFormLine, form ? "1" : "0");
    // The pages' words turn before anyone hears of the change.
    v.textForm = form;
    translatePages();
    emit textFormChanged(form);
    return change;
}

void Settings::translatePages()
{
    if (!QCoreApplication::instance())
        return;
    // Installed at most once: the application would keep a second copy.
    QCoreApplication::removeTranslator(&translator);
    if (v.textForm == 1)
        QCoreApplication::installTranslator(&translator);
}

} // namespace settings
