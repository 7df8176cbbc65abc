#pragma once

#include <QString>

struct Game;

// Questions with two answers, and the one typed answer at line 551: what is
// offered and where each answer leads. Showing an answer's line is for the
// caller (answers.h), so the line's display can offer answers without a loop.
namespace story {

// Tags cut from an answer's text for its button: every "<digits>", not only the first.
QString answerButtonText(const QString &line);

// When a waiting line has finished typing: the two buttons, or the input box at 551.
void offerChoice(Game &game);

// Moves the cursor as the branch table says; a wrong answer is counted and
// leaves the cursor one line before the question.
void branchAfterAnswer(int answer);

// Right when the text holds "语", "言" or "话", in either script ("語", "話").
bool isRightTypedAnswer(const QString &text);

} // namespace story
