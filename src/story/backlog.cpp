#include "story/backlog.h"

#include "core/game.h"
#include "core/state.h"
#include "story/storystate.h"

#include <QVariantMap>

namespace story {

void recordShown(int line)
{
    QVector<int> &shown = core::process().shownLines;
    // The same line again (a save loaded where it stands) is not new text.
    if (line < 1 || (!shown.isEmpty() && shown.constLast() == line))
        return;
    shown.append(line);
}

QVariantList backlogRows()
{
    QVariantList rows;
    const QVector<int> &shown = core::process().shownLines;
    rows.reserve(shown.size());
    for (int line : shown) {
        const SpeakerSplit split = splitSpeaker(lineText(line));
        QVariantMap row;
        row.insert(QStringLiteral("name"), speakerName(split.id));
        row.insert(QStringLiteral("text"), split.text);
        rows.append(row);
    }
    return rows;
}

void publishBacklog(Game &game)
{
    game.publish(prop::backlogRows, backlogRows());
}

} // namespace story
