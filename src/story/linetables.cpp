#include "story/linetables.h"

#include "stage/stagetable.h"

namespace story {

namespace {
constexpr bool X = true; // a wrong answer
} // namespace

const QVector<int> &waitingLines()
{
    static const QVector<int> lines = {261, 406, 521, 533, 539, 551, 563, 577, 585, 613, 667, 673, 681, 695, 841};
    return lines;
}

const QVector<int> &endingLines()
{
    static const QVector<int> lines = {849, 857, 862, 896, 911, 936, 939, 947, 971, 975};
    return lines;
}

const QVector<int> &choiceLines()
{
    static const QVector<int> lines = [] {
        QVector<int> l = waitingLines();
        l.removeAll(kInputLine);
        return l;
    }();
    return lines;
}

bool isWaitingLine(int line) { return waitingLines().contains(line); }
bool isEndingLine(int line) { return endingLines().contains(line); }
bool isChoiceLine(int line) { return choiceLines().contains(line); }
bool isSkipStopLine(int line) { return isWaitingLine(line) || stage::inFirstMap(line) || stage::inSecondMap(line); }

int answerLine(int choiceLine, int answer)
{
    if (!isChoiceLine(choiceLine) || (answer != 1 && answer != 2))
        return 0;
    if (choiceLine == 681 && answer == 2)
        return 684;
    return choiceLine + answer;
}

// A mistake always puts the cursor one line before the question, so that after
// the mistake line the next step asks it again.
const QVector<BranchRow> &branchTable()
{
    static const QVector<BranchRow> rows = {
        //  line   answer 1        answer 2
        {261, {263, false}, {852, false}},
        {406, {408, false}, {863, false}},
        {521, {523, false}, {520, X}},
        {533, {532, X}, {535, false}},
        {539, {538, X}, {541, false}},
        {563, {565, false}, {562, X}},
        {577, {576, X}, {579, false}},
        {585, {587, false}, {584, X}},
        {613, {612, X}, {615, false}},
        {667, {912, false}, {669, false}},
        {673, {675, false}, {897, false}},
        {681, {681, false}, {684, false}},
        {695, {697, false}, {897, false}},
        {841, {843, false}, {967, false}},
    };
    return rows;
}

bool branchFor(int choiceLine, int answer, Branch *branch)
{
    if (answer != 1 && answer != 2)
        return false;
    for (const BranchRow &row : branchTable()) {
        if (row.line == choiceLine) {
            *branch = answer == 1 ? row.answer1 : row.answer2;
            return true;
        }
    }
    return false;
}

} // namespace story
