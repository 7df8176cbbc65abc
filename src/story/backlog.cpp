#include "story/backlog.h"

#include "core/game.h"
#include "core/state.h"
#include "story/routerecord.h"
#include "story/storystate.h"
#include "story/storyview.h"

#include <QVariantMap>

namespace story {

void recordShown(int line)
{
    QVector<int> &shown = core::process().shownLines;
    // The same line again (a save loaded where it stands) is not new text.
    if (line < 1 || (!shown.isEmpty() && shown.constLast() == line))
        return;
    noteRouteLine(line, shown.isEmpty());
    core::ProcessState &p = core::process();
    QVector<core::LinePlace> &places = p.shownPlaces;
    // Lines listed without their place (a test, an old record) stay without.
    if (places.size() == shown.size()) {
        const core::InterludeState &in = p.interlude;
        places.append(core::LinePlace{p.story.currentLine, p.story.mistakeCount, in.interludeReturnLine, in.triesLeft,
                                      in.playerCaught, in.companionCaught});
    }
    shown.append(line);
}

int returnRow(int row)
{
    const core::ProcessState &p = core::process();
    if (row < 0 || row >= p.shownPlaces.size() || p.shownPlaces.size() != p.shownLines.size())
        return -1;
    // An answer's words and the mistake line belong to their question: the
    // story stood there when they were shown.
    for (int k = row; k >= 0; --k) {
        if (p.shownPlaces.at(k).cursor == p.shownLines.at(k))
            return k;
    }
    return -1;
}

bool canReturnTo(int row)
{
    const core::ProcessState &p = core::process();
    const int k = returnRow(row);
    if (k < 0)
        return false;
    // The line the story stands on is no way back.
    return !(k == p.shownLines.size() - 1 && p.story.currentLine == p.shownLines.at(k) && !p.story.mistakePending);
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
        row.insert(QStringLiteral("back"), canReturnTo(rows.size()));
        rows.append(row);
    }
    return rows;
}

void publishBacklog()
{
    storyView().setBacklogRows(backlogRows());
}

} // namespace story
