#include "story/storystate.h"

#include "core/textlines.h"

#include <QFile>
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    lines = core::splitTextLines(file.readAll());
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
            qWarning().noquote() << QStringLiteral("剧本没有第 %1 行（剧本共 %2 行）").arg(n).arg(lines.size());
        }
        return QString();
    }
    return QString::fromUtf8(lines.at(n - 1));
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
