#include "story/storystate.h"

#include "core/textlines.h"

#include <QFile>
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
    lines = splitTextLines(file.readAll());
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

} // namespace story
