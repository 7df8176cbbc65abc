#include "story/answers.h"

#include "core/game.h"
#include "stage/staging.h"
#include "story/choices.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/storystate.h"

#include <QTimer>

namespace story {

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
        typing().line = 0;
        // The text box reads rich text; what the player typed is shown as typed.
        game.publish(prop::currentText, text.toHtmlEscaped());
        s.mistakePending = true;
    }
    game.publish(prop::shuruvisible, false);
}

} // namespace story
