#include "core/settinglines.h"

#include "core/paths.h"
#include "core/textlines.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QtDebug>

#include <cmath>
#include <locale>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace settings {

namespace {

QString settingsPath()
{
    return resolvePath(QStringLiteral("setting.txt"));
}

} // namespace

bool readLines(std::vector<std::string> *lines)
{
    QFile file(settingsPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : splitTextLines(file.readAll()))
        lines->push_back(line.toStdString());
    return true;
}

bool writeLines(const std::vector<std::string> &lines)
{
    QSaveFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qWarning().noquote() << QStringLiteral("无法写入设置文件:") << file.errorString();
        return false;
    }
    for (const std::string &line : lines) {
        file.write(line.data(), qint64(line.size()));
        file.write("\n", 1);
    }
    if (!file.commit()) {
        qWarning().noquote() << QStringLiteral("无法写入设置文件:") << file.errorString();
        return false;
    }
    return true;
}

std::string readSettingLine(int n)
{
    std::vector<std::string> lines;
    readLines(&lines);
    if (n < 1 || std::size_t(n) > lines.size()) {
        const int have = int(std::min<std::size_t>(lines.size(), std::size_t(std::max(n, 1) - 1)));
        throw std::out_of_range("行号 " + std::to_string(n) + " 超出文件范围（文件共 "
                                + std::to_string(have) + " 行）");
    }
    return lines[std::size_t(n - 1)];
}

void writeSettingLine(const std::string &text, int n)
{
    std::vector<std::string> lines;
    if (!readLines(&lines))
        lines.assign(std::size_t(std::max(n, 0)), std::string());
    if (n < 1 || std::size_t(n) > lines.size() + 1)
        throw std::out_of_range("行号超出文件范围");
    if (std::size_t(n) == lines.size() + 1)
        lines.push_back(text);
    else
        lines[std::size_t(n - 1)] = text;
    writeLines(lines);
}

bool parseFloatPrefix(const std::string &text, float *value)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    float v = 0;
    in >> v;
    if (in.fail())
        return false;
    *value = v;
    return true;
}

} // namespace settings
