#include "saves/quickslot.h"

#include "core/fileio.h"
#include "core/game.h"
#include "core/log.h"
#include "core/paths.h"
#include "core/state.h"
#include "core/textlines.h"
#include "extras/unlockrecord.h"
#include "saves/savefiles.h"
#include "story/storystate.h"

#include <QDir>
#include <QFile>
#include <QtDebug>

namespace saves {

QuickRecord readQuickRecord()
{
    QuickRecord r;
    const core::FileRead file = core::readFile(core::resolvePath(QString::fromLatin1(kQuickFile)));
    const QList<QByteArray> parts = file.bytes.simplified().split(' ');
    if (!file.ok() || parts.size() != 2)
        return r;
    bool lineOk = false, mistakesOk = false;
    r.line = parts.at(0).toInt(&lineOk);
    r.mistakes = parts.at(1).toInt(&mistakesOk);
    r.ok = lineOk && mistakesOk && r.line >= 1 && r.line <= story::scriptLines().size() && r.mistakes >= 0
        && r.mistakes <= kMostMistakes;
    return r;
}

Outcome quickSave(Game &game)
{
    const core::StoryState &story = core::process().story;
    Outcome refusal;
    const int line = lineToSave(&refusal);
    if (line < 1)
        return refusal;
    if (!QDir().mkpath(core::resolvePath(QString::fromLatin1(kSavesDir))))
        return failed(QStringLiteral("保存失败：无法创建存档目录"));
    // The record is replaced whole, but not one that could not be read whole
    // (or at all): it is not the game's to throw away.
    const core::FileRead record = core::readFile(core::resolvePath(QString::fromLatin1(kQuickFile)));
    if (!record.usable())
        return failed(QStringLiteral("保存失败：快速存档文件无法读取"));
    if (record.truncated)
        return failed(QStringLiteral("保存失败：快速存档文件过大"));
    // The picture first: the record names a save only once it is whole.
    const QString picture = core::resolvePath(QString::fromLatin1(kQuickPicture));
    QStringList problems;
    QString reason;
    const QImage image = grabResumedLine(game);
    if (image.isNull()) {
        // The last quick save's picture would show beside this one's line.
        qCWarning(lcSaves) << "截图失败";
        problems << QStringLiteral("截图失败");
        QFile::remove(picture);
    } else {
        if (!writeScreenshot(picture, image, &reason))
            return failed(QStringLiteral("保存失败：") + reason);
    }
    if (!writeWhole(QString::fromLatin1(kQuickFile),
                    QByteArray::number(line) + ' ' + QByteArray::number(story.mistakeCount) + core::kLineEnd, &reason))
        return failed(QStringLiteral("保存失败：") + reason);
    if (!extras::writeUnlockRecord(extras::cgProgress()))
        problems << QStringLiteral("解锁记录无法写入");
    if (!problems.isEmpty())
        return Outcome{true, QStringLiteral("已快速保存，但") + problems.join(QStringLiteral("，"))};
    return Outcome{true, QStringLiteral("已快速保存")};
}

Outcome quickLoad(Game &game, bool confirmed)
{
    const QuickRecord quick = readQuickRecord();
    if (!quick.ok)
        return failed(QStringLiteral("读取失败：没有快速存档"));
    const core::StoryState &story = core::process().story;
    const int here = storedLine(story.currentLine, core::process().interlude.interludeReturnLine);
    // Loading where the quick save was made loses nothing; anywhere else, ask.
    if (!confirmed && story.currentLine > 0 && (here != quick.line || story.mistakeCount != quick.mistakes)) {
        return Outcome{false, QString(), true};
    }
    startFrom(game, quick.line, quick.mistakes);
    return Outcome{true, QString()};
}

int quickSaveLine()
{
    const QuickRecord quick = readQuickRecord();
    return quick.ok ? quick.line : 0;
}

} // namespace saves
