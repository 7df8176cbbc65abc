#pragma once

#include <QString>

struct Game;

// The player's answers, from the buttons or the input box: each is shown,
// staged and then followed where the branch table leads.
namespace story {

// Answer 1 or 2 from the buttons: typed as a spoken line, staged, then branched.
void answerChoice(Game &game, int answer);

// The text typed at line 551: a right answer goes on, a wrong one is shown as
// typed and counts as a mistake.
void checkTypedAnswer(Game &game, const QString &text);

} // namespace story
