#include "story/wiring.h"

#include "story/storystate.h"

#include "core/game.h"
#include "core/textform.h"
#include "core/mainwindow.h"
#include "stage/interlude.h"
#include "story/answers.h"
#include "story/autoskip.h"
#include "story/backlog.h"
#include "story/endings.h"
#include "story/readlines.h"
#include "story/linecursor.h"
#include "story/readaloud.h"
#include "story/storyview.h"

namespace story {

void connectStory(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    storyView().reset(game.settings, scriptProblem());
    loadEndingsSeen(game);
    loadReadLines();
    connectReadLines(game);
    QObject::connect(c, &MainWindow::nextChanged, c, [g](int value) {
        // A click or Enter on a map that offers a way past takes it.
        if (value == 1 && !stage::takeSkipOffer(*g))
            advanceLine(*g);
    });
    QObject::connect(c, &MainWindow::Start, c, [g](int value) {
        if (value == 1)
            resetStory(*g);
    });
    QObject::connect(c, &MainWindow::AutoChanged, c, [g](int value) { setAuto(*g, value); });
    QObject::connect(c, &MainWindow::skipChanged, c, [g](int value) { setSkip(*g, value); });
    // A turn on the title page would start the story's line and its music.
    QObject::connect(c, &MainWindow::wheelChanged, c, [g, c](int step) {
        if (c->getCurrentPage() == QLatin1String("game"))
            browseHistory(*g, step);
    });
    QObject::connect(c, &MainWindow::Backlog, c, [g](int open) {
        if (open)
            publishBacklog();
    });
    QObject::connect(c, &MainWindow::daChanged, c, [g](int answer) { answerChoice(*g, answer); });
    QObject::connect(c, &MainWindow::Say, c, [g](const QString &text) { say(*g, core::spoken(text, g->textForm())); });
    QObject::connect(c, &MainWindow::shuruChanged, c, [g](const QString &text) { checkTypedAnswer(*g, text); });
}

} // namespace story
