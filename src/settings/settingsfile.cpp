#include "settings/settingsfile.h"

#include "core/log.h"
#include "core/paths.h"

#include <QFileInfo>
#include <QString>
#include <QtDebug>

#include <cmath>
#include <string>
#include <vector>

namespace settings {

namespace {

struct OptionLine {
    int line;
    float low, high;
    bool whole;           // 0, 1, 2 and nothing between
    const char *fallback; // as the file holds it
};

// In line order.
const OptionLine kOptionLines[] = {
    {kWholeLineFirstLine, 0, 1, true, "0"},
    {kSkipReadOnlyLine, 0, 1, true, "0"},
    {kInterludeModeLine, 0, 2, true, "0"},
    {kTextSizeLine, 0, 2, true, "0"},
    {kBoxOpacityLine, 0.2f, 1, false, "0.750000"},
    {kReadAloudLine, 0, 1, true, "0"},
    {kTextFormLine, 0, 1, true, "0"},
};

const OptionLine *optionLine(int n)
{
    for (const OptionLine &option : kOptionLines) {
        if (option.line == n)
            return &option;
    }
    return nullptr;
}

// "nan", "inf", "-1" and "7" are no option's value.
bool takeOption(const OptionLine &option, const std::string &text, float *value)
{
    float v = 0;
    if (!parseFloatPrefix(text, &v) || !std::isfinite(v) || v < option.low || v > option.high
        || (option.whole && v != std::floor(v)))
        return false;
    *value = v;
    return true;
}

} // namespace

float optionValue(const std::vector<std::string> &lines, int n)
{
    const OptionLine *option = optionLine(n);
    if (!option)
        return 0;
    float value = 0;
    if (std::size_t(n) <= lines.size() && takeOption(*option, lines[std::size_t(n - 1)], &value))
        return value;
    parseFloatPrefix(option->fallback, &value);
    return value;
}

std::string optionDefaultText(int n)
{
    const OptionLine *option = optionLine(n);
    return option ? option->fallback : "0";
}

StartSettings repairSettingsFile()
{
    StartSettings result;
    std::vector<std::string> &lines = result.lines;
    core::FileState state = core::FileState::Missing;
    bool oversized = false;
    const bool existed = readLines(&lines, &state, &oversized);
    // A file that is there but cannot be read is not ours to replace: the run
    // goes on with the defaults and leaves it as it is.
    const bool keepOff = state == core::FileState::Unreadable || state == core::FileState::NotRegular;
    if (keepOff)
        qCWarning(lcSettings).noquote() << QStringLiteral("设置文件 setting.txt 无法读取（%1），使用默认设置")
                                    .arg(state == core::FileState::NotRegular ? QStringLiteral("不是普通文件")
                                                                               : QStringLiteral("没有读取权限"));
    else if (oversized)
        qCWarning(lcSettings).noquote() << QStringLiteral("设置文件 setting.txt 过大，只保留前 %1 行").arg(kSettingLines);
    else if (!existed)
        qCWarning(lcSettings).noquote() << QStringLiteral("设置文件 setting.txt 不存在，使用默认设置并重新创建");
    // Only its own lines go back into a file too large to be a settings file.
    bool changed = !existed || oversized;
    if (lines.empty()) {
        lines.push_back("0");
        changed = true;
    }
    for (int n = 2; n <= 4; ++n) {
        if (lines.size() < std::size_t(n)) {
            if (existed)
                qCWarning(lcSettings).noquote() << QStringLiteral("设置文件缺少第 %1 行，使用默认值 0.5").arg(n);
            lines.push_back("0.500000");
            changed = true;
            continue;
        }
        std::string &line = lines[std::size_t(n - 1)];
        float v = 0;
        if (!parseFloatPrefix(line, &v) || !std::isfinite(v) || v < 0.0f || v > 1.0f) {
            qCWarning(lcSettings).noquote() << QStringLiteral("设置文件第 %1 行内容无效 '%2'，使用默认值 0.5")
                                        .arg(n).arg(QString::fromStdString(line));
            line = "0.500000";
            changed = true;
        }
    }
    for (const OptionLine &option : kOptionLines) {
        if (lines.size() < std::size_t(option.line))
            break;
        std::string &line = lines[std::size_t(option.line - 1)];
        float v = 0;
        if (!takeOption(option, line, &v)) {
            qCWarning(lcSettings).noquote() << QStringLiteral("设置文件第 %1 行内容无效 '%2'，使用默认值 %3")
                                        .arg(option.line).arg(QString::fromStdString(line).left(40), QString::fromLatin1(option.fallback));
            line = option.fallback;
            changed = true;
        }
    }
    // writeLines has said why it failed; the run goes on with what is in memory.
    if (changed && !keepOff)
        result.stored = writeLines(lines);
    else if (keepOff)
        result.stored = false;
    return result;
}

float settingValue(const StartSettings &settings, int n)
{
    float value = 0.5f;
    if (n >= 1 && std::size_t(n) <= settings.lines.size())
        parseFloatPrefix(settings.lines[std::size_t(n - 1)], &value);
    return value;
}

} // namespace settings
