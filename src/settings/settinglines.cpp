#include "settings/settinglines.h"

#include "core/log.h"
#include "core/paths.h"
#include "core/textlines.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QtDebug>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <locale.h>
#include <stdexcept>
#include <vector>

namespace settings {

namespace {

const QString kFileName = QStringLiteral("setting.txt");

QString settingsPath()
{
    return core::resolvePath(kFileName);
}

void warnNotWritten(const QString &why)
{
    qCWarning(lcSettings).noquote() << QStringLiteral("无法写入设置文件 setting.txt（%1），设置只在本次运行中有效").arg(why);
}

} // namespace

bool readLines(std::vector<std::string> *lines, core::FileState *state, bool *oversized)
{
    // Quiet: start-up's repair says once what the trouble means for the settings.
    const core::FileRead file = core::readFile(settingsPath(), core::kSmallFileCap, true);
    if (state)
        *state = file.state;
    if (oversized)
        *oversized = file.truncated;
    if (!file.ok())
        return false;
    QList<QByteArray> read = core::splitTextLines(file.bytes);
    // What is past the cap is not this game's: the lines it reads are enough.
    if (file.truncated)
        read = read.mid(0, int(kSettingLines));
    for (const QByteArray &line : qAsConst(read))
        lines->push_back(line.toStdString());
    return true;
}

bool writeLines(const std::vector<std::string> &lines)
{
    QByteArray bytes;
    for (const std::string &line : lines) {
        bytes.append(line.data(), int(line.size()));
        bytes.append(core::kLineEnd);
    }
    QString reason;
    if (core::writeFile(settingsPath(), bytes, &reason))
        return true;
    warnNotWritten(reason);
    return false;
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

bool writeSettingLine(const std::string &text, int n)
{
    std::vector<std::string> lines;
    core::FileState state = core::FileState::Missing;
    if (!readLines(&lines, &state)) {
        if (state != core::FileState::Missing) {
            warnNotWritten(QStringLiteral("文件无法读取"));
            return false;
        }
        lines.assign(std::size_t(std::max(n, 0)), std::string());
    }
    if (n < 1 || std::size_t(n) > lines.size() + 1)
        throw std::out_of_range("行号超出文件范围");
    if (std::size_t(n) == lines.size() + 1)
        lines.push_back(text);
    else if (lines[std::size_t(n - 1)] == text)
        return true; // nothing to change; a read-only install starts without a warning
    else
        lines[std::size_t(n - 1)] = text;
    return writeLines(lines);
}

// Qt sets the C library's locale from the environment when the application
// object is created; under a comma-decimal locale plain strtof stops at the
// point, so the number is read in the "C" locale explicitly.
bool parseFloatPrefix(const std::string &text, float *value)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    errno = 0;
#ifdef _WIN32
    // The C runtime Windows ships reads doubles only, and neither hex nor inf:
    // those go to MinGW's own reader (Qt leaves the C library's locale alone there).
    static const _locale_t cLocale = _create_locale(LC_NUMERIC, "C");
    const char *p = begin;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    const char first = char(std::tolower(static_cast<unsigned char>(p[0])));
    const bool special = (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) || first == 'i' || first == 'n';
    const double d = special ? __mingw_strtod(begin, &end) : _strtod_l(begin, &end, cLocale);
    // A float out of range is out of range.
    if (std::isfinite(d) && std::fabs(d) > double(std::numeric_limits<float>::max()))
        errno = ERANGE;
    const float v = float(d);
#else
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const float v = strtof_l(begin, &end, cLocale);
#endif
    if (end == begin || errno == ERANGE)
        return false;
    *value = v;
    return true;
}

std::string formatSettingNumber(float value)
{
    // Qt formats in the "C" locale, unlike the C library's printf.
    return QString::asprintf("%f", double(value)).toStdString();
}

void seedSettingsFile(const QString &folder, const QString &shippedDir)
{
    const QString own = QDir(folder).filePath(kFileName);
    if (QFileInfo::exists(own))
        return;
    const core::FileRead seed = core::readFile(QDir(shippedDir).filePath(kFileName));
    if (seed.ok())
        core::writeFile(own, seed.bytes);
}

} // namespace settings
