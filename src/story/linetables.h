#pragma once

#include <QVector>

// The line numbers at which the story waits, ends or branches. The script
// carries no markup for any of this, so a.txt must agree with these tables.
namespace story {

constexpr int kMistakeLine = 851; // shown once after a wrong answer
constexpr int kInputLine = 551;   // the typed answer

const QVector<int> &waitingLines(); // two-answer choices and the typed answer
const QVector<int> &endingLines();  // the next step returns to the title page
const QVector<int> &choiceLines();  // waitingLines without the typed answer

bool isWaitingLine(int line);
bool isEndingLine(int line);
bool isChoiceLine(int line);

// Where skipping stops by itself: waiting lines and both maps.
bool isSkipStopLine(int line);

// Script line holding the text of an answer (1 or 2) at a choice line; 0 otherwise.
int answerLine(int choiceLine, int answer);

struct Branch {
    int cursor = 0;       // the cursor after the answer
    bool mistake = false; // counts as a wrong answer
};

struct BranchRow {
    int line;
    Branch answer1;
    Branch answer2;
};

const QVector<BranchRow> &branchTable();

// The branch for an answer at a choice line; false for anything else.
bool branchFor(int choiceLine, int answer, Branch *branch);

} // namespace story
