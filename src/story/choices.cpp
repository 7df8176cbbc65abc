#include "story/choices.h"

#include "core/game.h"
#include "stage/staging.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/storystate.h"

#include <QRegularExpression>
#include <QTimer>

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

void answerChoice(Game &game, int answer)
{
    game.publish(prop::daanvisible, false);
    const int shown = answerLine(state().currentLine, answer);
    if (shown > 0) {
        typeLine(game, shown);
        stage::stageLine(game, 0);
    }
    branchAfterAnswer(answer);
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
    return text.contains(QStringLiteral("语")) || text.contains(QStringLiteral("言"))
        || text.contains(QStringLiteral("话"));
}

void checkTypedAnswer(Game &game, const QString &text)
{
    StoryState &s = state();
    if (isRightTypedAnswer(text)) {
        ++s.currentLine;
        s.viewLine = s.currentLine;
        typeLine(game, s.currentLine);
        stage::stageLine(game, 0);
    } else {
        stage::stageLine(game, 0);
        s.currentLine = kInputLine - 1;
        game.publish(prop::nameText, QStringLiteral("Sorin"));
        game.clearComponentCache();
        // Shown at once, so stop a line that is still typing from overwriting it.
        typeTimer()->stop();
        // The text box reads rich text; what the player typed is shown as typed.
        game.publish(prop::currentText, text.toHtmlEscaped());
        s.mistakePending = true;
    }
    game.publish(prop::shuruvisible, false);
}

} // namespace story
