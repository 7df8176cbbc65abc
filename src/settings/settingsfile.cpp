#include "settings/settingsfile.h"

#include <QString>
#include <QtDebug>

#include <cmath>
#include <string>
#include <vector>

namespace settings {

void repairSettingsFile()
{
    std::vector<std::string> lines;
    const bool existed = readLines(&lines);
    if (!existed)
        qWarning().noquote() << QStringLiteral("设置文件 setting.txt 不存在，使用默认设置并重新创建");
    bool changed = !existed;
    if (lines.empty()) {
        lines.push_back("0");
        changed = true;
    }
    for (int n = 2; n <= 4; ++n) {
        if (lines.size() < std::size_t(n)) {
            if (existed)
                qWarning().noquote() << QStringLiteral("设置文件缺少第 %1 行，使用默认值 0.5").arg(n);
            lines.push_back("0.500000");
            changed = true;
            continue;
        }
        std::string &line = lines[std::size_t(n - 1)];
        float v = 0;
        if (!parseFloatPrefix(line, &v) || !std::isfinite(v) || v < 0.0f || v > 1.0f) {
            qWarning().noquote() << QStringLiteral("设置文件第 %1 行内容无效 '%2'，使用默认值 0.5")
                                        .arg(n).arg(QString::fromStdString(line));
            line = "0.500000";
            changed = true;
        }
    }
    if (changed)
        writeLines(lines);
}

} // namespace settings
