#pragma once

#include <QVariantList>

struct Game;

// The backlog: every line shown in this story, in the order shown. Only
// reads the story; a new story or a loaded save starts it afresh.
namespace story {

// Called where a line is put in the text box by the story moving on (not by
// browsing, which shows lines already listed).
void recordShown(int line);

// {name, text} per line shown, oldest first; the text without its speaker tag.
QVariantList backlogRows();

void publishBacklog(Game &game);

} // namespace story
