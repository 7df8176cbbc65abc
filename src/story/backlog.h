#pragma once

#include <QVariantList>

struct Game;

// The backlog: every line shown in this story, in the order shown. Only
// reads the story; a new story or a loaded save starts it afresh.
namespace story {

// Called where a line is put in the text box by the story moving on (not by
// browsing, which shows lines already listed).
void recordShown(int line);

// The row whose place going back to row restores: its own, or for an
// answer's words and the mistake line their question's; -1 when none is known.
int returnRow(int row);
// Whether a click on the row may take the story back there.
bool canReturnTo(int row);

// {name, text, back} per line shown, oldest first; the text without its speaker tag.
QVariantList backlogRows();

// Story.backlogRows, as the backlog opens or the story goes back.
void publishBacklog();

} // namespace story
