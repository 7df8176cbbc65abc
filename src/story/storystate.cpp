#include "story/storystate.h"

#include "core/log.h"
#include "core/fileio.h"
#include "core/textform.h"

#include "core/textlines.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtDebug>

namespace story {

StoryState &state()
{
    return core::process().story;
}

QList<QByteArray> &scriptLines()
{
    return core::process().scriptLines;
}

void loadScript(const QString &path)
{
    QList<QByteArray> &lines = scriptLines();
    lines.clear();
    core::process().scriptTraditional.clear();
    QString &problem = core::process().scriptProblem;
    problem.clear();
    const core::FileRead file = core::readFile(path, core::kScriptCap);
    if (file.ok())
        lines = core::splitTextLines(file.bytes);
    if (!lines.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    problem = QStringLiteral("剧本文件 %1 无法读取").arg(name);
    // The reader has named the file already when it was there and not a file.
    if (file.state == core::FileState::Missing)
        qCWarning(lcStory).noquote() << QStringLiteral("剧本文件 %1 不存在").arg(path);
    else if (file.ok())
        qCWarning(lcStory).noquote() << QStringLiteral("剧本文件 %1 是空的").arg(path);
}

QString scriptProblem()
{
    return core::process().scriptProblem;
}

QString lineText(int n)
{
    const QList<QByteArray> &lines = scriptLines();
    if (lines.isEmpty())
        return QStringLiteral("File not loaded");
    if (n < 1 || n > lines.size()) {
        QSet<int> &warned = core::process().missingLinesWarned;
        if (!warned.contains(n)) {
            warned.insert(n);
            qCWarning(lcStory).noquote() << QStringLiteral("剧本没有第 %1 行（剧本共 %2 行）").arg(n).arg(lines.size());
        }
        return QString();
    }
    return QString::fromUtf8(lines.at(n - 1));
}

QString shownLineText(int n, core::TextForm form)
{
    const QString source = lineText(n);
    const QList<QByteArray> &lines = scriptLines();
    if (form == core::TextForm::Simplified || n < 1 || n > lines.size())
        return source;
    QStringList &converted = core::process().scriptTraditional;
    if (converted.isEmpty()) {
        QStringList all;
        all.reserve(lines.size());
        for (const QByteArray &line : lines)
            all << QString::fromUtf8(line);
        converted = core::toTraditional(all);
        // A line out of step would put every later line under the wrong number.
        if (converted.size() != lines.size()) {
            qCWarning(lcStory).noquote() << QStringLiteral("剧本转为繁体后行数不同（%1 行，原为 %2 行），文字保持简体")
                                                .arg(converted.size()).arg(lines.size());
            converted = all;
        }
    }
    return converted.at(n - 1);
}

SpeakerSplit splitSpeaker(const QString &line)
{
    static const QRegularExpression tag(QStringLiteral("<(\\d+)>"));
    SpeakerSplit split;
    split.text = line;
    const QRegularExpressionMatch match = tag.match(line);
    if (match.hasMatch()) {
        split.tagged = true;
        bool ok = false;
        const int id = match.captured(1).toInt(&ok);
        split.id = ok ? id : -1;
        split.text.remove(match.capturedStart(0), match.capturedLength(0));
    }
    return split;
}

QString speakerName(int id)
{
    switch (id) {
    case 0: return QStringLiteral("???");
    case 1: return QStringLiteral("Sorin");
    case 2: return QStringLiteral("Taviel");
    case 3: return QStringLiteral("Lio");
    case 4: return QStringLiteral("其他同学");
    case 5: return QStringLiteral("Sorin&Lio");
    case 6: return QStringLiteral("飞船AI");
    case 7: return QStringLiteral("Taviel&Lio");
    case 8: return QStringLiteral("Sorin&Taviel");
    case 9: return QStringLiteral("路人");
    default: return QString();
    }
}

} // namespace story
