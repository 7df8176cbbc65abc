#pragma once

#include "core/state.h"
#include "core/textform.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace story {

using StoryState = core::StoryState;

// Where the story stands.
StoryState &state();

// Script lines as read from disk; line n is entry n - 1.
QList<QByteArray> &scriptLines();

// Reads the script: LF line ends, a CR before the LF dropped, no empty entry
// after a final LF. A missing file leaves the list empty.
void loadScript(const QString &path);

// What the title page tells the player when the script could not be read
// ("剧本文件 a.txt 无法读取"), or empty.
QString scriptProblem();

// Line n decoded as UTF-8 ("File not loaded" for an empty script). Outside the
// script it is empty, with one warning per line number.
QString lineText(int n);

// Line n as the player reads it: lineText, in Traditional characters for
// 繁體. lineText stays the Simplified source for everything else.
QString shownLineText(int n, core::TextForm form);

struct SpeakerSplit {
    int id = -1;      // -1: no tag, or digits that do not make an int
    bool tagged = false;
    QString text;     // the line with its first tag cut out
};

// The first "<digits>" anywhere in the line names the speaker; later tags stay.
SpeakerSplit splitSpeaker(const QString &line);

// "" for an unknown id.
QString speakerName(int id);

} // namespace story
