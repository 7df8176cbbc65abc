#include "story/choices.h"

#include "core/game.h"
#include "story/linetables.h"
#include "story/storystate.h"

#include <QRegularExpression>

namespace story {

QString answerButtonText(const QString &line)
{
    static const QRegularExpression tags(QStringLiteral("<\\d+>"));
    return QString(line).remove(tags);
}

void offerChoice(Game &game)
{
    const int line = state().currentLine;
    if (isChoiceLine(line)) {
        game.publish(prop::daanvisible, true);
        game.publish(prop::ida1, answerButtonText(lineText(answerLine(line, 1))));
        game.publish(prop::ida2, answerButtonText(lineText(answerLine(line, 2))));
    } else if (line == kInputLine) {
        game.publish(prop::shuruvisible, true);
    }
}

void branchAfterAnswer(int answer)
{
    StoryState &s = state();
    Branch branch;
    if (!branchFor(s.currentLine, answer, &branch))
        return;
    s.currentLine = branch.cursor;
    if (branch.mistake) {
        ++s.mistakeCount;
        s.mistakePending = true;
    }
}

bool isRightTypedAnswer(const QString &text)
{
    // Either script: a player reading 繁體 may well type it.
    for (const char16_t c : {u'语', u'語', u'言', u'话', u'話'}) {
        if (text.contains(QChar(c)))
            return true;
    }
    return false;
}

} // namespace story
