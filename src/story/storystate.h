#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace story {

// Where the story stands. Process-wide, GUI thread only.
struct StoryState {
    int currentLine = 0;          // 1-based; 0 before the first line
    int viewLine = 0;             // line in the text box; behind currentLine while browsing
    int mistakeCount = 0;         // wrong answers in this story
    bool mistakePending = false;  // next step shows the mistake line
    bool interludeActive = false; // the interlude holds the story
};

StoryState &state();

// Script lines as read from disk; line n is entry n - 1.
QList<QByteArray> &scriptLines();

// Reads the script: LF line ends, a CR before the LF dropped, no empty entry
// after a final LF. A missing file leaves the list empty.
void loadScript(const QString &path);

// Line n decoded as UTF-8 ("File not loaded" for an empty script). Outside the
// script it is empty, with one warning per line number.
QString lineText(int n);

} // namespace story
