#include "extras/unlockrecord.h"

#include "core/log.h"
#include "core/fileio.h"
#include "core/paths.h"
#include "core/textlines.h"
#include "core/state.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QtDebug>

#include <cmath>

namespace extras {

namespace {

constexpr float kHighestRecord = 36.9f;

} // namespace

float &cgProgress()
{
    return core::process().cgProgress;
}

namespace {

// The record's value from what the file holds; 0 for nothing or nonsense.
float recordValue(const core::FileRead &file, const QString &path)
{
    if (!file.ok())
        return 0;
    QString last;
    for (const QByteArray &line : core::splitTextLines(file.bytes))
        last = QString::fromUtf8(line);
    const QString text = last.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const float value = text.toFloat(&ok);
    // "nan" would never rise again and "1e30" would unlock what does not exist.
    if (!ok || !std::isfinite(value) || value < 0 || value > kHighestRecord) {
        qCWarning(lcExtras).noquote() << QStringLiteral("解锁记录 %1 的内容无效 '%2'，按 0 处理").arg(path, text.left(40));
        return 0;
    }
    return value;
}

} // namespace

float readUnlockRecord(const QString &path)
{
    return recordValue(core::readFile(core::resolvePath(path)), path);
}

QString unlockRecordText(float value)
{
    QString text;
    QTextStream(&text) << value;
    return text;
}

bool writeUnlockRecord(float value, const QString &path)
{
    const QString resolved = core::resolvePath(path);
    // A record that is there but cannot be read (or only in part) is not ours
    // to replace, and one that another copy of the game raised since is not lowered.
    const core::FileRead now = core::readFile(resolved);
    if (!now.writable())
        return false;
    const float onDisk = recordValue(now, path);
    if (onDisk > value) {
        value = onDisk;
        if (cgProgress() < onDisk)
            cgProgress() = onDisk;
    }
    QDir().mkpath(QFileInfo(resolved).path());
    QString reason;
    if (core::writeFile(resolved, unlockRecordText(value).toUtf8(), &reason))
        return true;
    qCWarning(lcExtras).noquote() << QStringLiteral("无法写入解锁记录 %1：%2").arg(path, reason);
    return false;
}

bool raiseCgProgress(float v)
{
    if (!(cgProgress() < v))
        return false;
    cgProgress() = v;
    writeUnlockRecord(v);
    return true;
}

} // namespace extras
