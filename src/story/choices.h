#pragma once

#include <QString>

struct Game;

// Questions with two answers, and the one typed answer at line 551.
namespace story {

// Tags cut from an answer's text for its button: every "<digits>", not only the first.
QString answerButtonText(const QString &line);

// When a waiting line has finished typing: the two buttons, or the input box at 551.
void offerChoice(Game &game);

// Answer 1 or 2 from the buttons: typed as a spoken line, staged, then branched.
void answerChoice(Game &game, int answer);

// Moves the cursor as the branch table says; a wrong answer is counted and
// leaves the cursor one line before the question.
void branchAfterAnswer(int answer);

// Right when the text holds "语", "言" or "话".
bool isRightTypedAnswer(const QString &text);
void checkTypedAnswer(Game &game, const QString &text);

} // namespace story
