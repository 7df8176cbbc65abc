#include "saves/saveslots.h"

#include "core/game.h"
#include "core/log.h"
#include "core/mainwindow.h"
#include "core/paths.h"
#include "core/state.h"
#include "core/textlines.h"
#include "extras/unlockrecord.h"
#include "saves/savefiles.h"
#include "story/storystate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QtDebug>

namespace saves {

namespace {

const QString kDir = QString::fromLatin1(kSavesDir);
const QString kLines = QString::fromLatin1(kSaveLinesFile);
const QString kMistakes = QString::fromLatin1(kSaveMistakesFile);

QByteArray joinLines(const QList<QByteArray> &lines)
{
    QByteArray content;
    for (const QByteArray &line : lines)
        content += line + core::kLineEnd;
    return content;
}

// A delete rewrites both lists: when the second fails the first is put back,
// so slot k's line and its mistakes never drift apart.
bool writePair(const SaveLists &before, const QByteArray &lines, const QByteArray &mistakes, QString *reason)
{
    if (!writeWhole(kLines, lines, reason))
        return false;
    if (writeWhole(kMistakes, mistakes, reason))
        return true;
    writeWhole(kLines, joinLines(before.lines), nullptr);
    return false;
}

bool parseSaved(const QByteArray &raw, int position, int *value)
{
    const QString text = QString::fromUtf8(raw).trimmed();
    qCDebug(lcSaves).noquote() << "找到存档内容[" << position << text;
    bool ok = false;
    *value = text.toInt(&ok, 10);
    if (!ok)
        qCWarning(lcSaves).noquote() << QStringLiteral("存档内容不是有效的整数 '%1'").arg(text);
    return ok;
}

void warnOutOfRange(int position, int total)
{
    qCWarning(lcSaves).noquote() << QStringLiteral("存档位置超出范围: %1 (总存档数: %2)").arg(position).arg(total);
}

// The slots that stay after a delete, by their old numbers in order: all but
// the deleted one and the blank lines, which hold no save.
QList<int> slotsKept(const QList<QByteArray> &lines, int position)
{
    QList<int> kept;
    for (int k = 1; k <= lines.size(); ++k) {
        if (k != position && !lines.at(k - 1).trimmed().isEmpty())
            kept.append(k);
    }
    return kept;
}

// Slot k's mistake count moves with its line, so the pairs stay together.
// Counts past the last line belong to no slot and are left as they are.
QList<QByteArray> mistakesKept(const QList<QByteArray> &mistakes, const QList<int> &kept, int lineCount)
{
    QList<QByteArray> result;
    for (int k : kept) {
        if (k <= mistakes.size())
            result.append(mistakes.at(k - 1));
    }
    for (int k = lineCount + 1; k <= mistakes.size(); ++k) {
        if (!mistakes.at(k - 1).trimmed().isEmpty())
            result.append(mistakes.at(k - 1));
    }
    return result;
}

void logContent(const QString &path)
{
    core::FileState state = core::FileState::Missing;
    const QList<QByteArray> lines = core::readTextLines(path, &state);
    if (state != core::FileState::Read)
        return;
    qCDebug(lcSaves) << "更新后的文件内容:";
    for (const QByteArray &line : lines)
        qCDebug(lcSaves).noquote() << QString::fromUtf8(line).trimmed();
}

// Each kept slot's picture takes the slot's new number. Unlike a walk that
// stops at the first missing number, a slot whose screenshot failed does not
// hand the later slots' pictures to the wrong rows.
void renumberScreenshots(int position, const QList<int> &kept)
{
    const QString gone = screenshotPath(position);
    if (QFile::exists(gone) && !QFile::remove(gone))
        qCWarning(lcSaves).noquote() << "无法删除图片文件:" << gone;

    QMap<int, QString> byNumber;
    const QFileInfoList files = QDir(core::resolvePath(kDir)).entryInfoList({QStringLiteral("*.png")}, QDir::Files);
    for (const QFileInfo &info : files) {
        bool ok = false;
        const QString base = info.fileName().section(QLatin1Char('.'), 0, 0);
        const int number = base.toInt(&ok, 10);
        if (ok)
            byNumber.insert(number, info.absoluteFilePath());
        else
            qCDebug(lcSaves).noquote() << "忽略非数字文件" << base;
    }
    // New numbers only ever fall, so in ascending order no picture is overwritten
    // before it has moved.
    for (int i = 0; i < kept.size(); ++i) {
        const int from = kept.at(i);
        const int to = i + 1;
        if (from == to || !byNumber.contains(from) || !QFile::exists(byNumber.value(from)))
            continue;
        const QString oldPath = byNumber.value(from);
        const QString newPath = screenshotPath(to);
        QFile::remove(newPath);
        if (QFile::rename(oldPath, newPath))
            qCDebug(lcSaves).noquote() << "重命名成功" << oldPath << "->" << newPath;
        else
            qCWarning(lcSaves).noquote() << "重命名失败" << oldPath << "->" << newPath;
    }
}

} // namespace

Outcome saveSlot(Game &game)
{
    const core::StoryState &story = core::process().story;
    Outcome refusal;
    const int line = lineToSave(&refusal);
    if (line < 1)
        return refusal;

    if (!QDir().mkpath(core::resolvePath(kDir))) {
        qCWarning(lcSaves) << "无法创建存档目录";
        return failed(QStringLiteral("保存失败：无法创建存档目录"));
    }

    const SaveLists before = readSaveLists();
    if (!before.readable())
        return failed(QStringLiteral("保存失败：存档文件无法读取"));
    // Rewritten from the part read, the rest of its slots would be gone.
    if (before.partial)
        return failed(QStringLiteral("保存失败：存档文件过大"));
    QList<QByteArray> lines = before.lines;
    QList<QByteArray> mistakes = before.mistakes;
    // Files damaged by hand may disagree in length; the new slot's two lines
    // must still share a number. A blank stands in for a missing count (that
    // slot stays refused, as it was); counts past the last slot belong to none.
    while (mistakes.size() < lines.size())
        mistakes.append(QByteArray());
    mistakes = mistakes.mid(0, lines.size());
    lines.append(QByteArray::number(line));
    mistakes.append(QByteArray::number(story.mistakeCount));
    const int slot = lines.size();

    // A picture of this number belongs to no slot (a save whose lines failed,
    // a file put there by hand): the new slot must never show it.
    const QString shotPath = screenshotPath(slot);
    if (QFileInfo::exists(shotPath) && !QFile::remove(shotPath)) {
        qCWarning(lcSaves).noquote() << "无法删除图片文件:" << shotPath;
        return failed(QStringLiteral("保存失败：旧截图无法删除"));
    }

    // The picture first, then the mistakes, the line last: a slot exists once
    // its line does, so a failure on the way leaves every earlier slot as it was.
    QStringList problems;
    QString reason;
    bool shotWritten = false;
    const QImage image = grabResumedLine(game);
    if (image.isNull()) {
        qCWarning(lcSaves) << "截图失败";
        problems << QStringLiteral("截图失败");
    } else {
        if (!writeScreenshot(shotPath, image, &reason)) {
            qCWarning(lcSaves).noquote() << "截图保存失败:" << shotPath << reason;
            return failed(QStringLiteral("保存失败：") + reason);
        }
        shotWritten = true;
        qCDebug(lcSaves).noquote() << "截图保存成功:" << shotPath;
    }
    const bool mistakesWritten = writeWhole(kMistakes, joinLines(mistakes), &reason);
    if (!mistakesWritten || !writeWhole(kLines, joinLines(lines), &reason)) {
        if (mistakesWritten && before.mistakesState == core::FileState::Read)
            writeWhole(kMistakes, joinLines(before.mistakes), nullptr);
        else if (mistakesWritten)
            QFile::remove(core::resolvePath(kMistakes));
        if (shotWritten)
            QFile::remove(shotPath);
        return failed(QStringLiteral("保存失败：") + reason);
    }
    qCDebug(lcSaves) << "===== 保存流程完成 =====";

    if (!extras::writeUnlockRecord(extras::cgProgress()))
        problems << QStringLiteral("解锁记录无法写入");

    if (!problems.isEmpty())
        return Outcome{true, QStringLiteral("已保存，但") + problems.join(QStringLiteral("，"))};
    return Outcome{true, QStringLiteral("已保存")};
}

Outcome loadSlot(Game &game, int position)
{
    const SaveLists lists = readSaveLists();
    if (lists.linesState != core::FileState::Read || lists.mistakesState != core::FileState::Read) {
        qCWarning(lcSaves).noquote() << QStringLiteral("无法打开存档文件: %1").arg(lists.readable() ? QStringLiteral("文件不存在") : QStringLiteral("文件无法读取"));
        return failed(lists.readable() ? QStringLiteral("读取失败：存档文件无法打开") : QStringLiteral("读取失败：存档文件无法读取"));
    }
    const QList<QByteArray> &lines = lists.lines;
    const QList<QByteArray> &mistakes = lists.mistakes;

    if (position < 1 || position > lines.size()) {
        warnOutOfRange(position, lines.size());
        return failed(QStringLiteral("读取失败：没有这个存档"));
    }
    int line = 0;
    if (!parseSaved(lines.at(position - 1), position, &line))
        return failed(QStringLiteral("读取失败：存档已损坏"));
    if (position > mistakes.size()) {
        warnOutOfRange(position, mistakes.size());
        return failed(QStringLiteral("读取失败：存档不完整"));
    }
    int mistakeCount = 0;
    if (!parseSaved(mistakes.at(position - 1), position, &mistakeCount))
        return failed(QStringLiteral("读取失败：存档已损坏"));

    // A number is not yet a story: a line past the script would show nothing
    // and never end, a negative count would never reach the bad ending.
    const int scriptLength = story::scriptLines().size();
    if (line < 1 || line > scriptLength) {
        qCWarning(lcSaves).noquote() << QStringLiteral("存档内容不是有效的整数 '%1'").arg(line);
        return failed(QStringLiteral("读取失败：存档已损坏"));
    }
    if (mistakeCount < 0 || mistakeCount > kMostMistakes) {
        qCWarning(lcSaves).noquote() << QStringLiteral("存档内容不是有效的整数 '%1'").arg(mistakeCount);
        return failed(QStringLiteral("读取失败：存档已损坏"));
    }

    startFrom(game, line, mistakeCount);
    return Outcome{true, QString()};
}

Outcome dropSlot(Game &game, int position)
{
    const SaveLists before = readSaveLists();
    if (!before.readable())
        return failed(QStringLiteral("删除失败：存档文件无法读取"));
    if (before.partial)
        return failed(QStringLiteral("删除失败：存档文件过大"));
    const int count = before.lines.size();
    if (position < 1 || position > count) {
        qCWarning(lcSaves).noquote() << "无效的删除位置" << position << "有效范围:1-" + QString::number(count);
        return failed(QStringLiteral("删除失败：没有这个存档"));
    }

    const QList<QByteArray> &lines = before.lines;
    const QList<QByteArray> &mistakes = before.mistakes;
    const QList<int> kept = slotsKept(lines, position);
    QList<QByteArray> linesAfter;
    for (int k : kept)
        linesAfter.append(lines.at(k - 1));
    const QList<QByteArray> mistakesAfter = mistakesKept(mistakes, kept, lines.size());
    qCDebug(lcSaves) << "原始行数:" << lines.size();
    qCDebug(lcSaves) << "删除后行数" << linesAfter.size();
    qCDebug(lcSaves) << "原始行数:" << mistakes.size();
    qCDebug(lcSaves) << "删除后行数" << mistakesAfter.size();
    QString reason;
    if (!writePair(before, joinLines(linesAfter), joinLines(mistakesAfter), &reason))
        return failed(QStringLiteral("删除失败：") + reason);
    logContent(kLines);
    logContent(kMistakes);

    renumberScreenshots(position, kept);
    if (game.controller)
        game.controller->setSaveCount(countSaveSlots());
    return Outcome{true, QString()};
}

} // namespace saves
