#include "extras/unlockrecord.h"

#include "core/paths.h"
#include "core/state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

float readUnlockRecord(const QString &path)
{
    QFile file(core::resolvePath(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    QTextStream in(&file);
    QString last;
    while (!in.atEnd())
        last = in.readLine();
    const QString text = last.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const float value = text.toFloat(&ok);
    // "nan" would never rise again and "1e30" would unlock what does not exist.
    if (!ok || !std::isfinite(value) || value < 0 || value > kHighestRecord) {
        qWarning().noquote() << QStringLiteral("解锁记录 %1 的内容无效 '%2'，按 0 处理").arg(path, text);
        return 0;
    }
    return value;
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
    QDir().mkpath(QFileInfo(resolved).path());
    QSaveFile file(resolved);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write(unlockRecordText(value).toUtf8());
        if (file.commit())
            return true;
    }
    qWarning().noquote() << QStringLiteral("无法写入解锁记录 %1：%2").arg(path, file.errorString());
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
