#include "extras/unlockrecord.h"

#include "core/paths.h"
#include "core/state.h"

#include <QFile>
#include <QTextStream>

namespace extras {

float &cgProgress()
{
    return core::process().cgProgress;
}

float readUnlockRecord(const QString &path)
{
    QFile file(resolvePath(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    QTextStream in(&file);
    QString last;
    while (!in.atEnd())
        last = in.readLine();
    bool ok = false;
    const float value = last.trimmed().toFloat(&ok);
    return ok ? value : 0;
}

bool raiseCgProgress(float v)
{
    if (cgProgress() < v) {
        cgProgress() = v;
        return true;
    }
    return false;
}

} // namespace extras
