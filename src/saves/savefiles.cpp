#include "saves/savefiles.h"

#include "core/log.h"
#include "core/paths.h"
#include "core/textlines.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <QtDebug>

namespace saves {

QString screenshotPath(int slot)
{
    return QDir(core::resolvePath(QString::fromLatin1(kSavesDir))).absoluteFilePath(QStringLiteral("%1.png").arg(slot));
}

bool SaveLists::readable() const
{
    return core::usable(linesState) && core::usable(mistakesState);
}

SaveLists readSaveLists()
{
    SaveLists lists;
    bool linesCut = false, mistakesCut = false;
    lists.lines = core::readTextLines(QString::fromLatin1(kSaveLinesFile), &lists.linesState, &linesCut);
    lists.mistakes = core::readTextLines(QString::fromLatin1(kSaveMistakesFile), &lists.mistakesState, &mistakesCut);
    lists.partial = linesCut || mistakesCut;
    return lists;
}

int countSaveSlots()
{
    const SaveLists lists = readSaveLists();
    return lists.readable() ? lists.lines.size() : 0;
}

QString saveListProblem()
{
    return readSaveLists().readable() ? QString() : QStringLiteral("存档列表无法读取");
}

bool writeWhole(const QString &path, const QByteArray &content, QString *reason)
{
    QString why;
    if (core::writeFile(core::resolvePath(path), content, &why))
        return true;
    qCWarning(lcSaves).noquote() << QStringLiteral("无法写入存档文件 %1：%2").arg(path, why);
    if (reason)
        *reason = why;
    return false;
}

// The window is opaque: without the alpha channel the file is smaller and
// written in about half the time.
bool writeScreenshot(const QString &path, const QImage &image, QString *reason)
{
    const QImage opaque = image.convertToFormat(QImage::Format_RGB888);
    return core::writeFileWith(path, [&opaque](QIODevice &file) { return opaque.save(&file, "PNG"); }, reason);
}

} // namespace saves
