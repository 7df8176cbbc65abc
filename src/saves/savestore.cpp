#include "saves/savestore.h"

#include "core/log.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/paths.h"
#include "core/state.h"
#include "core/textlines.h"
#include "extras/unlockrecord.h"
#include "saves/savefiles.h"
#include "saves/saverows.h"
#include "stage/stagetable.h"
#include "stage/staging.h"
#include "story/presentation.h"
#include "story/storystate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QtDebug>

#include <algorithm>

namespace saves {

namespace {

const QString kDir = QStringLiteral("saves");
const QString kLines = QString::fromLatin1(kSaveLinesFile);
const QString kMistakes = QString::fromLatin1(kSaveMistakesFile);
constexpr int kMostMistakes = 999;

QString screenshotPath(int slot)
{
    return QDir(core::resolvePath(kDir)).absoluteFilePath(QStringLiteral("%1.png").arg(slot));
}

QByteArray joinLines(const QList<QByteArray> &lines)
{
    QByteArray content;
    for (const QByteArray &line : lines)
        content += line + core::kLineEnd;
    return content;
}

// In one piece or not at all: a crash or a full disk leaves the old file.
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

// A save's picture is of the line it resumes at: a player paging back is
// brought to it first, or the picture would show an earlier line's words.
QImage grabResumedLine(Game &game)
{
    story::showCurrentLine(game);
    return game.grabWindow();
}

Outcome failed(const QString &notice)
{
    return Outcome{false, notice};
}

// The line a save here would store, or why there is none: before the first
// line there is nothing a load could bring back, and a line outside the script
// (a capture scene returning nowhere) is one a load would call damaged.
int lineToSave(Outcome *refusal)
{
    const core::StoryState &story = core::process().story;
    const int line = storedLine(story.currentLine, core::process().interlude.interludeReturnLine);
    if (story.currentLine < 1) {
        qCWarning(lcSaves) << "故事尚未开始，不能存档";
        *refusal = failed(QStringLiteral("还没有可以保存的内容"));
        return 0;
    }
    if (line < 1 || line > story::scriptLines().size()) {
        qCWarning(lcSaves).noquote() << QStringLiteral("要保存的第 %1 行不在剧本中，不能存档").arg(line);
        *refusal = failed(QStringLiteral("保存失败：当前位置不在剧本中"));
        return 0;
    }
    return line;
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

struct QuickRecord {
    bool ok = false;
    int line = 0;
    int mistakes = 0;
};

QuickRecord readQuick()
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

} // namespace

// The run is reset before staging, which sets the lock again when the saved
// line starts an interlude; nothing from where the player was stays.
void startFrom(Game &game, int line, int mistakeCount)
{
    core::resetRun(game);
    core::StoryState &story = core::process().story;
    story.currentLine = line;
    story.mistakeCount = mistakeCount;
    story.viewLine = line;
    story::typeLine(game, line);
    game.publishNull(prop::daanvisible);
    game.publishNull(prop::shuruvisible);
    stage::stageLine(game, 1);
}

SaveStoreState &store()
{
    return core::process().saves;
}

int storedLine(int cursor, int returnLine)
{
    const int line = (cursor >= 948 && cursor <= 966) ? returnLine : cursor;
    // A map half played starts again; one won is not played again.
    if (stage::inFirstMap(line))
        return 687;
    if (stage::inSecondMap(line))
        return 710;
    return line;
}

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

Outcome quickSave(Game &game)
{
    const core::StoryState &story = core::process().story;
    Outcome refusal;
    const int line = lineToSave(&refusal);
    if (line < 1)
        return refusal;
    if (!QDir().mkpath(core::resolvePath(kDir)))
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
    game.publish(prop::quickSaveLine, line);
    if (!problems.isEmpty())
        return Outcome{true, QStringLiteral("已快速保存，但") + problems.join(QStringLiteral("，"))};
    return Outcome{true, QStringLiteral("已快速保存")};
}

Outcome quickLoad(Game &game, bool confirmed)
{
    const QuickRecord quick = readQuick();
    if (!quick.ok)
        return failed(QStringLiteral("读取失败：没有快速存档"));
    const core::StoryState &story = core::process().story;
    const int here = storedLine(story.currentLine, core::process().interlude.interludeReturnLine);
    // Loading where the quick save was made loses nothing; anywhere else, ask.
    if (!confirmed && story.currentLine > 0 && (here != quick.line || story.mistakeCount != quick.mistakes)) {
        game.publish(prop::quickLoadAsks, ++store().quickLoadAsks);
        return Outcome{false, QString()};
    }
    startFrom(game, quick.line, quick.mistakes);
    return Outcome{true, QString()};
}

int quickSaveLine()
{
    const QuickRecord quick = readQuick();
    return quick.ok ? quick.line : 0;
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

namespace {

// The first words of a line, as a row shows them.
QString openingWords(int line)
{
    static const QRegularExpression markup(QStringLiteral("<[^>]*>"));
    QString text = story::splitSpeaker(story::lineText(line)).text;
    text.remove(markup);
    text = text.simplified();
    constexpr int kShown = 18;
    if (text.size() > kShown)
        text = text.left(kShown) + QStringLiteral("…");
    return text;
}

QString captionOf(const SlotDetails &details)
{
    QStringList parts;
    if (details.savedAt.isValid())
        parts << details.savedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (details.line == 0)
        parts << QStringLiteral("存档已损坏");
    else if (!details.opening.isEmpty())
        parts << QStringLiteral("「%1」").arg(details.opening);
    return parts.join(QStringLiteral("  "));
}

} // namespace

SlotDetails slotDetails(int position)
{
    SlotDetails details;
    const QFileInfo shot(screenshotPath(position));
    if (shot.exists())
        details.savedAt = shot.lastModified();
    const QList<QByteArray> lines = readSaveLists().lines;
    if (position < 1 || position > lines.size())
        return details;
    bool ok = false;
    const int line = lines.at(position - 1).trimmed().toInt(&ok, 10);
    if (!ok || line < 1 || line > story::scriptLines().size())
        return details;
    details.line = line;
    details.opening = openingWords(line);
    return details;
}

QString slotCaption(int position)
{
    return captionOf(slotDetails(position));
}

QString quickCaption()
{
    SlotDetails details;
    const QuickRecord quick = readQuick();
    const QFileInfo record(core::resolvePath(QString::fromLatin1(kQuickFile)));
    if (record.exists())
        details.savedAt = record.lastModified();
    if (quick.ok) {
        details.line = quick.line;
        details.opening = openingWords(quick.line);
    }
    return captionOf(details);
}

void tellPlayer(Game &game, const QString &notice)
{
    if (notice.isEmpty())
        return;
    game.publish(prop::saveNotice, notice);
    game.publish(prop::saveNoticeCount, ++store().noticeCount);
}

void connectSaves(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    game.publish(prop::saveNotice, QString());
    store().noticeCount = 0;
    game.publish(prop::saveNoticeCount, store().noticeCount);
    game.publish(prop::saveRows, QVariant::fromValue<QObject *>(new SaveRows(game, game.lifetime())));
    c->setSaveCounter([g] {
        g->publish(prop::saveListProblem, saveListProblem());
        return countSaveSlots();
    });
    QObject::connect(c, &MainWindow::saveChanged, c, [g](int) { tellPlayer(*g, saveSlot(*g).notice); });
    QObject::connect(c, &MainWindow::Load, c, [g](int position) { tellPlayer(*g, loadSlot(*g, position).notice); });
    QObject::connect(c, &MainWindow::Drop, c, [g](int position) { tellPlayer(*g, dropSlot(*g, position).notice); });
    game.publish(prop::quickSaveLine, quickSaveLine());
    game.publish(prop::quickLoadAsks, store().quickLoadAsks);
    QObject::connect(c, &MainWindow::QuickSave, c, [g](int) { tellPlayer(*g, quickSave(*g).notice); });
    QObject::connect(c, &MainWindow::QuickLoad, c, [g](int confirmed) {
        tellPlayer(*g, quickLoad(*g, confirmed != 0).notice);
    });
}

} // namespace saves
