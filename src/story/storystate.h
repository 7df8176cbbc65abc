#pragma once

#include "core/state.h"

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

// Line n decoded as UTF-8 ("File not loaded" for an empty script). Outside the
// script it is empty, with one warning per line number.
QString lineText(int n);

} // namespace story
