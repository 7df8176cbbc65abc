#include "story/endings.h"

#include "core/log.h"
#include "core/game.h"
#include "core/paths.h"
#include "core/state.h"
#include "core/textlines.h"
#include "story/linetables.h"
#include "story/storystate.h"
#include "story/storyview.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVariantList>
#include <QtDebug>

#include <algorithm>

namespace story {

namespace {

QList<int> &seen()
{
    return core::process().endingsSeen;
}

// No answer leads into 858 to 862 (the story before it ends at 857), so a
// player could never fill a tally that counted it.
constexpr int kEndingNoAnswerReaches = 862;

void publishSeen(Game &game)
{
    Q_UNUSED(game)
    QStringList titles;
    for (int line : tallyEndingLines())
        titles << (seen().contains(line) ? endingTitle(line) : QStringLiteral("？？？"));
    storyView().setEndingsSeen(titles, seen().size());
}

} // namespace

QList<int> tallyEndingLines()
{
    QList<int> lines;
    for (int line : endingLines()) {
        if (line != kEndingNoAnswerReaches || seen().contains(line))
            lines << line;
    }
    return lines;
}

QString endingTitle(int endingLine)
{
    static const QRegularExpression title(QStringLiteral("【结局·([^】]+)】"));
    const QRegularExpressionMatch match = title.match(lineText(endingLine));
    if (match.hasMatch())
        return match.captured(1).trimmed();
    return QStringLiteral("结局 %1").arg(endingLines().indexOf(endingLine) + 1);
}

QList<int> readEndingsSeen(const QString &path, core::FileState *state, bool *truncated)
{
    const QList<QByteArray> lines = core::readTextLines(path, state, truncated);
    QList<int> found;
    for (const QByteArray &raw : lines) {
        const QByteArray text = raw.trimmed();
        if (text.isEmpty())
            continue;
        bool ok = false;
        const int line = text.toInt(&ok);
        if (!ok || !isEndingLine(line)) {
            qCWarning(lcStory).noquote() << QStringLiteral("结局记录 %1 已损坏（'%2'），从空记录开始")
                                        .arg(path, QString::fromUtf8(text.left(40)));
            return {};
        }
        if (!found.contains(line))
            found << line;
    }
    return found;
}

bool writeEndingsSeen(const QList<int> &lines, const QString &path, QList<int> *merged)
{
    // One read for both: what the record holds is kept, and a record that is
    // there but could not be read whole is not ours to replace (the read has said so).
    core::FileState state = core::FileState::Missing;
    bool truncated = false;
    QList<int> all = readEndingsSeen(path, &state, &truncated);
    if (!core::usable(state) || truncated)
        return false;
    for (int line : lines) {
        if (!all.contains(line))
            all << line;
    }
    std::sort(all.begin(), all.end());
    if (merged)
        *merged = all;
    const QString resolved = core::resolvePath(path);
    QDir().mkpath(QFileInfo(resolved).path());
    QByteArray text;
    for (int line : qAsConst(all))
        text += QByteArray::number(line) + core::kLineEnd;
    QString reason;
    if (core::writeFile(resolved, text, &reason))
        return true;
    qCWarning(lcStory).noquote() << QStringLiteral("无法写入结局记录 %1：%2").arg(path, reason);
    return false;
}

void loadEndingsSeen(Game &game)
{
    seen() = readEndingsSeen();
    publishSeen(game);
}

void reachEnding(Game &game, int endingLine)
{
    if (!seen().contains(endingLine)) {
        seen() << endingLine;
        std::sort(seen().begin(), seen().end());
        // What another copy of the game reached since shows too.
        writeEndingsSeen(seen(), QString::fromLatin1(kEndingsFile), &seen());
    }
    publishSeen(game);
    storyView().setEndingCard(endingTitle(endingLine));
}

} // namespace story
