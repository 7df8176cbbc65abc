#include "app/startup.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/state.h"
#include "settings/settings.h"
#include "story/backlog.h"
#include "story/endings.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/readlines.h"
#include "story/storystate.h"
#include "story/storyview.h"
#include "pagesupport.h"
#include "testsupport.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QQuickView>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

QPoint centreOf(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

// WCAG relative luminance and contrast ratio.
double luminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Numbered lines; each ending's last line closes with its title, as the script's do.
QList<QByteArray> numberedScript(int count = 975)
{
    QList<QByteArray> lines;
    for (int n = 1; n <= count; ++n) {
        QByteArray line = "line " + QByteArray::number(n);
        if (story::isEndingLine(n))
            line += "<br>【结局·终点" + QByteArray::number(n) + "】";
        lines << line;
    }
    return lines;
}

QString endingName(int line)
{
    return QStringLiteral("终点%1").arg(line);
}

} // namespace

// The reading comforts through the real pages, offscreen, with the controller
// wired as start-up wires it over a script of numbered lines.
class TestComforts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readingKeys_data();
    void readingKeys();
    void readingKeysLeaveTheInputBoxAlone_data();
    void readingKeysLeaveTheInputBoxAlone();
    void fullScreenKey_data();
    void fullScreenKey();
    void hiddenBoxComesBackBeforeTheStoryMoves_data();
    void hiddenBoxComesBackBeforeTheStoryMoves();
    void modeMark_data();
    void modeMark();
    void modeMarkGoesWhenSkipStopsByItself();
    void menuLabelsReadableOverAnyPicture_data();
    void menuLabelsReadableOverAnyPicture();
    void titleButtonsAnswerHover_data();
    void titleButtonsAnswerHover();
    void titleStartsByKeyboard_data();
    void titleStartsByKeyboard();
    void endingCard_data();
    void endingCard();
    void endingsFile_data();
    void endingsFile();
    void endingsRememberedOnceEach();
    void extrasPageListsEndings();
    void optionsReadAtStart_data();
    void optionsReadAtStart();
    void optionsToggledOnTheSettingsPage_data();
    void optionsToggledOnTheSettingsPage();
    void wholeLineFirst_data();
    void wholeLineFirst();
    void readLinesFile_data();
    void readLinesFile();
    void readLinesWrittenAndReadBack();
    void skipStopsAtFirstUnreadLine_data();
    void skipStopsAtFirstUnreadLine();
    void backlogRows_data();
    void backlogRows();
    void backlogOpensAndCloses_data();
    void backlogOpensAndCloses();
    void backlogNotUnderTheCover();

private:
    void start(const QByteArray &settingFile = "0\n0.5\n0.5\n0.5\n");
    void openGame();
    void openPage(const char *name);
    QQuickItem *item(const char *name) const;
    void click(const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(view.get(), button, Qt::NoModifier, at);
    }
    void key(int k) { QTest::keyClick(view.get(), Qt::Key(k)); }
    QImage grab() { return grabScene(view.get()); }
    // Puts the cursor on line n, typed and finished, as a forward step leaves it.
    void standOn(int n);
    void finishTyping();
    int line() const { return core::process().story.currentLine; }
    int viewLine() const { return core::process().story.viewLine; }
    QString text() const { return game.property(prop::currentText).toString(); }

    std::unique_ptr<ScratchDir> scratch;
    std::unique_ptr<settings::Settings> gameSettings;
    std::unique_ptr<MainWindow> controller;
    std::unique_ptr<QQuickView> view;
    Game game;
    int restarts = 0;
    int quits = 0;
};

void TestComforts::initTestCase()
{
    Q_INIT_RESOURCE(qml);
}

void TestComforts::init()
{
    scratch = std::make_unique<ScratchDir>();
    QDir().mkpath(QStringLiteral("png"));
    QDir().mkpath(QStringLiteral("saves"));
}

void TestComforts::start(const QByteArray &settingFile)
{
    scratch->write(QStringLiteral("setting.txt"), settingFile);
    gameSettings = std::make_unique<settings::Settings>();
    gameSettings->load();
    controller = std::make_unique<MainWindow>(app::controllerStart(*gameSettings));
    view = std::make_unique<QQuickView>();
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    view->resize(720, 480);
    game = Game();
    game.engine = view->engine();
    game.controller = controller.get();
    game.settings = gameSettings.get();
    controller->setVzi(1.0f);
    restarts = quits = 0;
    game.hooks.restartSelf = [this] { ++restarts; return true; };
    game.hooks.quit = [this] { ++quits; };
    core::resetProcessState();
    core::process().scriptLines = numberedScript();
    app::publishStartupProperties(game);
    app::connectHandlers(game);
}

void TestComforts::cleanup()
{
    story::typeTimer()->stop();
    view.reset();
    controller.reset();
    gameSettings.reset();
    scratch.reset();
}

void TestComforts::openGame()
{
    controller->navigategame(QStringLiteral("load"));
    openPage("game");
}

void TestComforts::openPage(const char *name)
{
    QVERIFY(showPage(view.get(), QLatin1String(name)));
    view->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(view.get()));
}

QQuickItem *TestComforts::item(const char *name) const
{
    return requireItem(view->rootObject(), QString::fromLatin1(name));
}

void TestComforts::finishTyping()
{
    for (int i = 0; i < 10000 && !core::process().typing.typingDone; ++i)
        story::typeTick(game);
}

void TestComforts::standOn(int n)
{
    core::process().story.currentLine = n - 1;
    core::process().story.viewLine = n - 1;
    controller->next1();
    finishTyping();
    QCOMPARE(line(), n);
}

void TestComforts::readingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("line");     // the cursor after the key
    QTest::addColumn<int>("view");     // the line shown after the key

    // From line 5, browsed back to 4 first.
    QTest::newRow("Space") << int(Qt::Key_Space) << 6 << 6;
    QTest::newRow("Return") << int(Qt::Key_Return) << 6 << 6;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << 6 << 6;
    // Page Down and Down are the way back from Page Up: forward through the
    // history first, on to a new line only from the current one.
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 5 << 5;
    QTest::newRow("Down") << int(Qt::Key_Down) << 5 << 5;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 5 << 3;
    QTest::newRow("Up") << int(Qt::Key_Up) << 5 << 3;
    QTest::newRow("unrelated key") << int(Qt::Key_Q) << 5 << 4;
}

void TestComforts::readingKeys()
{
    QFETCH(int, key);
    QFETCH(int, line);
    QFETCH(int, view);

    start();
    openGame();
    standOn(5);
    controller->wheel1(1);
    QCOMPARE(viewLine(), 4);

    this->key(key);
    QCOMPARE(this->line(), line);
    QCOMPARE(viewLine(), view);
    QCOMPARE(text(), QStringLiteral("line %1").arg(view).left(text().size()));
    QVERIFY(!text().isEmpty());
}

void TestComforts::readingKeysLeaveTheInputBoxAlone_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Page Down") << int(Qt::Key_PageDown);
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Page Up") << int(Qt::Key_PageUp);
    QTest::newRow("Up") << int(Qt::Key_Up);
}

void TestComforts::readingKeysLeaveTheInputBoxAlone()
{
    QFETCH(int, key);

    start();
    openGame();
    standOn(550);
    controller->next1();
    finishTyping();
    QCOMPARE(line(), 551);
    QQuickItem *field = item("inputField");
    QTRY_VERIFY(field->hasActiveFocus());

    this->key(key);
    QCOMPARE(line(), 551);
    QCOMPARE(viewLine(), 551);
    QVERIFY(field->hasActiveFocus());
}

void TestComforts::fullScreenKey_data()
{
    QTest::addColumn<QByteArray>("mode");   // setting line 1 at start
    QTest::addColumn<int>("asked");         // the mode F11 asks for
    QTest::addColumn<QByteArray>("stored"); // setting line 1 afterwards

    QTest::newRow("windowed goes full screen") << QByteArray("0") << 1 << QByteArray("1");
    QTest::newRow("full screen goes windowed") << QByteArray("1") << 0 << QByteArray("0");
    QTest::newRow("maximised goes full screen") << QByteArray("2") << 1 << QByteArray("1");
}

void TestComforts::fullScreenKey()
{
    QFETCH(QByteArray, mode);
    QFETCH(int, asked);
    QFETCH(QByteArray, stored);

    start(mode + "\n0.5\n0.5\n0.5\n");
    openGame();
    QSignalSpy spy(controller.get(), &MainWindow::suofangChanged);
    key(Qt::Key_F11);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toInt(), asked);
    QCOMPARE(scratch->read(QStringLiteral("setting.txt")).split('\n').first(), stored);
    QTRY_COMPARE(restarts, 1);
    QCOMPARE(quits, 1);
}

void TestComforts::hiddenBoxComesBackBeforeTheStoryMoves_data()
{
    QTest::addColumn<bool>("byKey"); // hide with H and show with Space, or both by mouse
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestComforts::hiddenBoxComesBackBeforeTheStoryMoves()
{
    QFETCH(bool, byKey);

    start();
    openGame();
    standOn(5);
    QQuickItem *textArea = item("textArea");
    QVERIFY(textArea->isVisible());

    if (byKey)
        key(Qt::Key_H);
    else
        click(QPoint(360, 200), Qt::RightButton);
    QVERIFY(!textArea->isVisible());
    QCOMPARE(line(), 5);

    // The first step only shows the box again, on the line it hid.
    if (byKey)
        key(Qt::Key_Space);
    else
        click(QPoint(360, 200));
    QVERIFY(textArea->isVisible());
    QCOMPARE(line(), 5);
    QCOMPARE(text(), QStringLiteral("line 5"));

    if (byKey)
        key(Qt::Key_Space);
    else
        click(QPoint(360, 200));
    QCOMPARE(line(), 6);

    // H hides and shows like the right button, without moving the story.
    key(Qt::Key_H);
    QVERIFY(!textArea->isVisible());
    key(Qt::Key_H);
    QVERIFY(textArea->isVisible());
    QCOMPARE(line(), 6);
}

void TestComforts::modeMark_data()
{
    QTest::addColumn<bool>("autoOn");
    QTest::addColumn<bool>("skipOn");
    QTest::addColumn<QString>("mark"); // empty: hidden

    QTest::newRow("neither") << false << false << QString();
    QTest::newRow("auto") << true << false << QStringLiteral("自动");
    QTest::newRow("skip") << false << true << QStringLiteral("快进");
    QTest::newRow("both") << true << true << QStringLiteral("快进 · 自动");
}

void TestComforts::modeMark()
{
    QFETCH(bool, autoOn);
    QFETCH(bool, skipOn);
    QFETCH(QString, mark);

    start();
    openGame();
    standOn(5);
    if (autoOn)
        controller->Auto1();
    if (skipOn)
        controller->skip1();
    QQuickItem *box = item("modeMark");
    QCOMPARE(box->isVisible(), !mark.isEmpty());
    if (!mark.isEmpty())
        QCOMPARE(item("modeMarkText")->property("text").toString(), mark);

    // Hidden with the text box, back with it.
    key(Qt::Key_H);
    QVERIFY(!box->isVisible());
    key(Qt::Key_H);
    QCOMPARE(box->isVisible(), !mark.isEmpty());

    // Switched off from the controller: the mark goes.
    if (autoOn)
        controller->Auto1();
    if (skipOn)
        controller->skip1();
    QVERIFY(!box->isVisible());
}

// Skip stopping by itself at a question is over, toggle and mark alike.
void TestComforts::modeMarkGoesWhenSkipStopsByItself()
{
    start();
    openGame();
    standOn(259);
    controller->skip1();
    QVERIFY(item("modeMark")->isVisible());
    QTRY_COMPARE(line(), 261);
    QTRY_VERIFY(!item("modeMark")->isVisible());
    QCOMPARE(controller->getSkip(), 0);
}

void TestComforts::menuLabelsReadableOverAnyPicture_data()
{
    QTest::addColumn<QColor>("picture");
    QTest::newRow("white") << QColor(Qt::white);
    QTest::newRow("accent") << QColor(QStringLiteral("#6496fa"));
    QTest::newRow("yellow") << QColor(Qt::yellow);
    QTest::newRow("black") << QColor(Qt::black);
}

void TestComforts::menuLabelsReadableOverAnyPicture()
{
    QFETCH(QColor, picture);

    start();
    QImage image(720, 480, QImage::Format_RGB32);
    image.fill(picture);
    QVERIFY(image.save(QStringLiteral("png/plain.png")));
    game.publish(prop::bcPath, QStringLiteral("plain"));
    game.publish(prop::bVisible, 1);
    openGame();
    QTRY_COMPARE(item("background")->property("status").toInt(), 1); // Image.Ready
    QTest::mouseMove(view.get(), QPoint(360, 200));
    QTest::mouseMove(view.get(), QPoint(360, 470));
    QVERIFY(item("menuBar")->isVisible());

    const QImage shot = grab();
    QVERIFY(!shot.isNull());
    // The strip where no label is drawn: what the letters stand on.
    const QColor backdrop = shot.pixelColor(712, 458);
    const QColor pictureSeen = shot.pixelColor(360, 200);
    QCOMPARE(pictureSeen.name(), picture.name());
    for (const char *name : {"menuSave", "menuLoad", "menuSkip", "menuAuto", "menuSetting", "menuReturn", "menuQuit"}) {
        auto *label = item(name)->property("contentItem").value<QQuickItem *>();
        const QColor ink = label->property("color").value<QColor>();
        const double ratio = contrast(ink, backdrop);
        QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2 on %3 is %4:1")
                                              .arg(QLatin1String(name), ink.name(), backdrop.name()).arg(ratio)));
    }
}

void TestComforts::titleButtonsAnswerHover_data()
{
    QTest::addColumn<QString>("button");
    for (const char *name : {"startButton", "loadButton", "extraButton", "settingButton", "exitButton"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestComforts::titleButtonsAnswerHover()
{
    QFETCH(QString, button);

    start();
    openPage("index");
    QQuickItem *b = item(button.toLatin1().constData());
    auto *label = b->property("contentItem").value<QQuickItem *>();
    QTest::mouseMove(view.get(), QPoint(20, 20));
    const QColor rest = label->property("color").value<QColor>();
    QTest::mouseMove(view.get(), centreOf(b));
    QTRY_VERIFY(b->property("hovered").toBool());
    QVERIFY(label->property("color").value<QColor>() != rest);
    QVERIFY(label->scale() > 1.0);
    QTest::mouseMove(view.get(), QPoint(20, 20));
    QTRY_COMPARE(label->property("color").value<QColor>(), rest);
}

void TestComforts::titleStartsByKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("exitDialogOpen");
    QTest::addColumn<QString>("page");

    QTest::newRow("Return") << int(Qt::Key_Return) << false << "game";
    QTest::newRow("Enter") << int(Qt::Key_Enter) << false << "game";
    QTest::newRow("Return under the exit dialog") << int(Qt::Key_Return) << true << "index";
    QTest::newRow("Space is not start") << int(Qt::Key_Space) << false << "index";
}

void TestComforts::titleStartsByKeyboard()
{
    QFETCH(int, key);
    QFETCH(bool, exitDialogOpen);
    QFETCH(QString, page);

    start();
    openPage("index");
    if (exitDialogOpen)
        this->key(Qt::Key_Escape);
    this->key(key);
    QCOMPARE(controller->getCurrentPage(), page);
    if (page == QLatin1String("game"))
        QCOMPARE(controller->getLastSource(), QStringLiteral("index")); // with the opening cover
}

void TestComforts::endingCard_data()
{
    QTest::addColumn<int>("ending");
    QTest::addColumn<QString>("how"); // what steps past the ending's last line

    QTest::newRow("849 by click") << 849 << "click";
    QTest::newRow("975 by Space") << 975 << "space";
    QTest::newRow("862 by skip") << 862 << "skip";
    QTest::newRow("911 by auto") << 911 << "auto";
}

void TestComforts::endingCard()
{
    QFETCH(int, ending);
    QFETCH(QString, how);

    start();
    openGame();
    standOn(ending);
    QVERIFY(text().startsWith(QStringLiteral("line %1").arg(ending)));
    if (how == QLatin1String("click"))
        click(QPoint(360, 200));
    else if (how == QLatin1String("space"))
        key(Qt::Key_Space);
    else if (how == QLatin1String("skip"))
        controller->skip1();
    else
        controller->Auto1();
    QTRY_COMPARE(controller->getCurrentPage(), QStringLiteral("index"));
    QCOMPARE(story::storyView().endingCard(), endingName(ending));
    QCOMPARE(scratch->read(QStringLiteral("saves/endings.txt")), QByteArray::number(ending) + '\n');

    // The title page opens under the card; a click takes the card away.
    openPage("index");
    QQuickItem *card = item("endingCardView");
    QVERIFY(card->isVisible());
    QCOMPARE(item("endingCardTitle")->property("text").toString(), endingName(ending));
    QSignalSpy toGame(controller.get(), &MainWindow::currentPageChanged);
    click(centreOf(item("startButton")));
    QVERIFY(!card->isVisible());
    QCOMPARE(toGame.count(), 0); // the click was the card's, not the button's

    // The next return to the title shows no card.
    controller->navigategame(QStringLiteral("index"));
    controller->navigateindex();
    QCOMPARE(story::storyView().endingCard(), QString());
}

void TestComforts::endingsFile_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<QList<int>>("seen");
    QTest::addColumn<bool>("warned");

    QTest::newRow("no file") << QByteArray("<none>") << QList<int>{} << false;
    QTest::newRow("empty") << QByteArray("") << QList<int>{} << false;
    QTest::newRow("one") << QByteArray("849\n") << QList<int>{849} << false;
    QTest::newRow("two, CR LF, no last line end") << QByteArray("849\r\n975") << QList<int>{849, 975} << false;
    QTest::newRow("a line that is no ending") << QByteArray("849\n850\n") << QList<int>{} << true;
    QTest::newRow("garbage") << QByteArray("849\n\xff\x00zz\n") << QList<int>{} << true;
    QTest::newRow("cut in a number") << QByteArray("849\n97") << QList<int>{} << true;
    // No answer leads there; a loaded save can.
    QTest::newRow("the ending no answer reaches") << QByteArray("862\n") << QList<int>{862} << false;
}

void TestComforts::endingsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, seen);
    QFETCH(bool, warned);

    if (content != "<none>")
        scratch->write(QStringLiteral("saves/endings.txt"), content);
    if (warned)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("结局记录 .* 已损坏")));
    start();
    QCOMPARE(core::process().endingsSeen, seen);
    QCOMPARE(story::storyView().endingsSeenCount(), seen.size());
    const QStringList titles = story::storyView().endingsSeen();
    // Ten endings, less the one no answer reaches unless it was reached.
    QCOMPARE(titles.size(), seen.contains(862) ? 10 : 9);
    QCOMPARE(titles.size(), story::tallyEndingLines().size());
    for (int i = 0; i < titles.size(); ++i) {
        const int line = story::tallyEndingLines().at(i);
        QCOMPARE(titles.at(i), seen.contains(line) ? endingName(line) : QStringLiteral("？？？"));
    }

    // Reaching an ending after a damaged file writes a sound file again.
    standOn(857);
    controller->next1();
    QList<int> expected = seen;
    expected << 857;
    std::sort(expected.begin(), expected.end());
    QCOMPARE(story::readEndingsSeen(), expected);
}

void TestComforts::endingsRememberedOnceEach()
{
    start();
    for (int ending : {975, 849, 975}) {
        standOn(ending);
        controller->next1();
        QCOMPARE(controller->getCurrentPage(), QStringLiteral("index"));
        controller->navigategame(QStringLiteral("index"));
    }
    QCOMPARE(scratch->read(QStringLiteral("saves/endings.txt")), QByteArray("849\n975\n"));
    QCOMPARE(story::storyView().endingsSeenCount(), 2);
}

void TestComforts::extrasPageListsEndings()
{
    scratch->write(QStringLiteral("saves/endings.txt"), "975\n849\n");
    start();
    controller->navigateextra();
    openPage("extra");
    QQuickItem *button = item("endingsButton");
    QCOMPARE(button->property("label").toString(), QStringLiteral("已见结局 2 / 9"));
    QQuickItem *list = item("endingsView");
    QVERIFY(!list->isVisible());
    click(centreOf(button));
    QVERIFY(list->isVisible());
    QCOMPARE(item("endingRow0")->property("text").toString(), QStringLiteral("1.  ") + endingName(849));
    QCOMPARE(item("endingRow1")->property("text").toString(), QStringLiteral("2.  ？？？"));
    QCOMPARE(item("endingRow8")->property("text").toString(), QStringLiteral("9.  ") + endingName(975));
    QCOMPARE(item("endingRows")->property("count").toInt(), 9);
    click(QPoint(360, 300));
    QVERIFY(!list->isVisible());
}

void TestComforts::optionsReadAtStart_data()
{
    QTest::addColumn<QByteArray>("tail"); // setting lines after the four numbers
    QTest::addColumn<bool>("wholeLine");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("warning");

    QTest::newRow("older file: defaults") << QByteArray() << false << false << 0 << QString();
    QTest::newRow("line 5 on") << QByteArray("1\n") << true << false << 0 << QString();
    QTest::newRow("line 6 on") << QByteArray("0\n1\n") << false << true << 0 << QString();
    QTest::newRow("both, written as floats") << QByteArray("1.0\n 1e0\n") << true << true << 0 << QString();
    QTest::newRow("not a number is off") << QByteArray("on\n1\n") << false << true << 0 << "第 5 行内容无效 'on'";
    QTest::newRow("empty line is off") << QByteArray("\n1\n") << false << true << 0 << "第 5 行内容无效 ''";
    QTest::newRow("line 7: 轻松") << QByteArray("0\n0\n1\n") << false << false << 1 << QString();
    QTest::newRow("line 7: 跳过") << QByteArray("0\n0\n2\n") << false << false << 2 << QString();
    QTest::newRow("line 7 out of range is 标准") << QByteArray("0\n0\n3\n") << false << false << 0 << "第 7 行内容无效 '3'";
}

void TestComforts::optionsReadAtStart()
{
    QFETCH(QByteArray, tail);
    QFETCH(bool, wholeLine);
    QFETCH(bool, readOnly);
    QFETCH(int, mode);
    QFETCH(QString, warning);

    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
    // As start-up does: the repair first, which says what is wrong.
    scratch->write(QStringLiteral("setting.txt"), "0\n0.5\n0.5\n0.5\n" + tail);
    settings::repairSettingsFile();
    start(scratch->read(QStringLiteral("setting.txt")));
    QCOMPARE(game.wholeLineFirst(), wholeLine);
    QCOMPARE(game.skipReadOnly(), readOnly);
    QCOMPARE(int(game.interludeMode()), mode);
    QCOMPARE(gameSettings->property("wholeLineFirst").toBool(), wholeLine);
    QCOMPARE(gameSettings->property("skipReadOnly").toBool(), readOnly);
    QCOMPARE(gameSettings->property("interludeMode"), QVariant(mode));
}

void TestComforts::optionsToggledOnTheSettingsPage_data()
{
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<QByteArray>("tail");     // lines after the four numbers before
    QTest::addColumn<QByteArray>("onTail");   // ... after switching the option on
    QTest::addColumn<QByteArray>("offTail");  // ... and off again

    QTest::newRow("whole line, older file") << QByteArray("wholeLineFirstOption") << QByteArray()
                                            << QByteArray("1\n") << QByteArray("0\n");
    QTest::newRow("read only, older file") << QByteArray("skipReadOnlyOption") << QByteArray()
                                           << QByteArray("0\n1\n") << QByteArray("0\n0\n");
    // Line 7 holds a value the start leaves alone (跳过).
    QTest::newRow("read only keeps later lines") << QByteArray("skipReadOnlyOption") << QByteArray("1\n0\n2\n")
                                                 << QByteArray("1\n1\n2\n") << QByteArray("1\n0\n2\n");
    // The interludes' mode: 轻松 on a file of four lines, back to 标准.
    QTest::newRow("互动难度") << QByteArray("interludeMode1") << QByteArray() << QByteArray("0\n0\n1\n")
                          << QByteArray("0\n0\n0\n");
    // 朗读 on line 10, the option lines before it padded off.
    QTest::newRow("朗读") << QByteArray("readAloud1") << QByteArray() << QByteArray("0\n0\n0\n0\n0.750000\n1\n")
                        << QByteArray("0\n0\n0\n0\n0.750000\n0\n");
}

void TestComforts::optionsToggledOnTheSettingsPage()
{
    QFETCH(QByteArray, option);
    QFETCH(QByteArray, tail);
    QFETCH(QByteArray, onTail);
    QFETCH(QByteArray, offTail);

    const QByteArray head = "0\n0.250000\n0.5\n0.5\n";
    start(head + tail);
    controller->navigatesetting(QStringLiteral("index"));
    openPage("setting");
    if (option.endsWith('1')) { // a row of buttons, its first the setting off
        const QByteArray off = option.left(option.size() - 1) + '0';
        click(centreOf(item(option.constData())));
        QVERIFY(item(option.constData())->property("chosen").toBool());
        QVERIFY(!item(off.constData())->property("chosen").toBool());
        QCOMPARE(scratch->read(QStringLiteral("setting.txt")), head + onTail);
        click(centreOf(item(off.constData())));
        QCOMPARE(scratch->read(QStringLiteral("setting.txt")), head + offTail);
        return;
    }
    QQuickItem *toggle = item(option.constData());
    const bool before = toggle->property("on").toBool();

    click(centreOf(toggle));
    QCOMPARE(toggle->property("on").toBool(), !before);
    QCOMPARE(scratch->read(QStringLiteral("setting.txt")), head + onTail);
    click(centreOf(toggle));
    QCOMPARE(toggle->property("on").toBool(), before);
    QCOMPARE(scratch->read(QStringLiteral("setting.txt")), head + offTail);
}

void TestComforts::wholeLineFirst_data()
{
    QTest::addColumn<bool>("option");
    QTest::addColumn<QString>("how");

    QTest::newRow("off, click") << false << "click";
    QTest::newRow("on, click") << true << "click";
    QTest::newRow("on, Space") << true << "space";
    QTest::newRow("on, wheel at the newest line") << true << "wheel";
}

void TestComforts::wholeLineFirst()
{
    QFETCH(bool, option);
    QFETCH(QString, how);

    start(QByteArray("0\n0.5\n0.5\n0.5\n") + (option ? "1\n" : "0\n"));
    openGame();
    standOn(4);
    controller->setVzi(0.0f); // a tick a second: the line is still typing when the step comes
    controller->next1();
    QCOMPARE(line(), 5);
    QCOMPARE(text(), QStringLiteral("l"));

    auto step = [&] {
        if (how == QLatin1String("click"))
            click(QPoint(360, 200));
        else if (how == QLatin1String("space"))
            key(Qt::Key_Space);
        else
            controller->wheel1(-1);
    };
    step();
    if (option) {
        QCOMPARE(line(), 5);
        QCOMPARE(text(), QStringLiteral("line 5"));
        QVERIFY(core::process().typing.typingDone);
        step();
    }
    QCOMPARE(line(), 6);
    QCOMPARE(text(), QStringLiteral("l"));
}

namespace {

QBitArray linesRead(std::initializer_list<int> lines, int size = 976)
{
    QBitArray b(size);
    for (int n : lines)
        b.setBit(n);
    return b;
}

QByteArray readFileOf(std::initializer_list<int> lines)
{
    return story::readLinesFileContent(linesRead(lines));
}

} // namespace

void TestComforts::readLinesFile_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<QList<int>>("read");
    QTest::addColumn<bool>("warned");

    const QByteArray good = readFileOf({1, 2, 3, 500, 975});
    QByteArray flipped = good;
    flipped[flipped.size() - 3] = char(flipped[flipped.size() - 3] ^ 0x10);
    QByteArray otherHeader = good;
    otherHeader.replace("solvane-read 1", "solvane-read 2");

    QTest::newRow("no file") << QByteArray("<none>") << QList<int>{} << false;
    QTest::newRow("written by the game") << good << QList<int>{1, 2, 3, 500, 975} << false;
    QTest::newRow("nothing read yet") << readFileOf({}) << QList<int>{} << false;
    QTest::newRow("empty file") << QByteArray() << QList<int>{} << true;
    QTest::newRow("cut short") << good.left(good.size() - 5) << QList<int>{} << true;
    QTest::newRow("a bit flipped") << flipped << QList<int>{} << true;
    QTest::newRow("bytes added") << good + "x" << QList<int>{} << true;
    QTest::newRow("another version") << otherHeader << QList<int>{} << true;
    QTest::newRow("text") << QByteArray("1\n2\n3\n") << QList<int>{} << true;
    QTest::newRow("absurd size") << QByteArray("solvane-read 1 999999999 0\n") << QList<int>{} << true;
}

void TestComforts::readLinesFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, read);
    QFETCH(bool, warned);

    if (content != "<none>")
        scratch->write(QStringLiteral("saves/read.dat"), content);
    if (warned)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("已读记录 .* 已损坏")));
    start();
    for (int n = 0; n <= 975; ++n)
        QCOMPARE(story::isLineRead(n), read.contains(n));
}

void TestComforts::readLinesWrittenAndReadBack()
{
    start();
    controller->navigategame(QStringLiteral("index"));
    for (int i = 0; i < 3; ++i)
        controller->next1();
    QCOMPARE(line(), 3);
    // Written within a second of the last line, not per line.
    QCOMPARE(scratch->read(QStringLiteral("saves/read.dat")), QByteArray("<missing>"));
    QTRY_COMPARE_WITH_TIMEOUT(scratch->read(QStringLiteral("saves/read.dat")),
                              story::readLinesFileContent(linesRead({1, 2, 3}, 4)), 3000);

    // The title writes at once what the timer has not yet.
    controller->next1();
    controller->navigateindex();
    QBitArray back;
    QVERIFY(story::parseReadLinesFile(scratch->read(QStringLiteral("saves/read.dat")), &back));
    QCOMPARE(back, linesRead({1, 2, 3, 4}, 5));

    // A new run of the game knows them.
    view.reset();
    controller.reset();
    start();
    for (int n : {1, 2, 3, 4})
        QVERIFY(story::isLineRead(n));
    QVERIFY(!story::isLineRead(5));
}

void TestComforts::skipStopsAtFirstUnreadLine_data()
{
    QTest::addColumn<bool>("option");
    QTest::addColumn<bool>("byCtrl");

    QTest::newRow("option on, skip button") << true << false;
    QTest::newRow("option on, Ctrl held") << true << true;
    QTest::newRow("option off skips on") << false << false;
}

void TestComforts::skipStopsAtFirstUnreadLine()
{
    QFETCH(bool, option);
    QFETCH(bool, byCtrl);

    QBitArray read(976);
    for (int n = 1; n <= 12; ++n)
        read.setBit(n);
    read.setBit(14); // read in another branch; 13 never was
    scratch->write(QStringLiteral("saves/read.dat"), story::readLinesFileContent(read));
    start(QByteArray("0\n0.5\n0.5\n0.5\n0\n") + (option ? "1\n" : "0\n"));
    openGame();
    standOn(5);

    if (byCtrl)
        QTest::keyPress(view.get(), Qt::Key_Control);
    else
        controller->skip1();
    QVERIFY(item("modeMark")->isVisible());
    if (option) {
        QTRY_COMPARE(line(), 13);
        QTRY_VERIFY(!item("modeMark")->isVisible());
        // The new line is typed for reading, not flashed past.
        QCOMPARE(text(), QStringLiteral("l"));
        QTest::qWait(250);
        QCOMPARE(line(), 13);
        QVERIFY(story::isLineRead(13));
    } else {
        QTRY_VERIFY(line() > 15);
    }
    if (byCtrl)
        QTest::keyRelease(view.get(), Qt::Key_Control);
    else if (!option)
        controller->skip1();
    QCOMPARE(controller->getSkip(), 0);
}

void TestComforts::backlogRows_data()
{
    QTest::addColumn<QList<int>>("steps");   // 0 a click, +1/-1 the wheel, 10 + n answer n
    QTest::addColumn<int>("from");           // the line stood on first
    QTest::addColumn<QList<int>>("shown");   // the backlog's lines afterwards

    QTest::newRow("three clicks from the start") << QList<int>{0, 0, 0} << 0 << QList<int>{1, 2, 3};
    QTest::newRow("browsing adds nothing") << QList<int>{0, 0, 0, 1, 1, -1} << 0 << QList<int>{1, 2, 3};
    QTest::newRow("wheel at the newest line steps") << QList<int>{0, -1} << 0 << QList<int>{1, 2};
    // 261, answer 2: its text (263), then on at 853; 262 and 264 to 852 were never shown.
    QTest::newRow("a branch lists what was shown") << QList<int>{0, 0, 0, 12, 0} << 258
                                                   << QList<int>{258, 259, 260, 261, 263, 853};
    // 533, answer 1 is wrong: its text, the mistake line, the question again.
    QTest::newRow("a wrong answer") << QList<int>{0, 0, 11, 0, 0} << 531
                                    << QList<int>{531, 532, 533, 534, 851, 533};
}

void TestComforts::backlogRows()
{
    QFETCH(QList<int>, steps);
    QFETCH(int, from);
    QFETCH(QList<int>, shown);

    start();
    core::process().scriptLines[1] = "<1>second line";
    controller->navigategame(QStringLiteral("index"));
    if (from > 0)
        standOn(from);
    for (int step : steps) {
        if (step == 0)
            controller->next1();
        else if (step > 10)
            controller->da1(step - 10);
        else
            controller->wheel1(step);
        finishTyping();
    }
    const int cursor = line();

    controller->backlog1(1);
    const QVariantList rows = game.property(prop::backlogRows).toList();
    QCOMPARE(rows.size(), shown.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QVariantMap row = rows.at(i).toMap();
        if (shown.at(i) == 2) {
            QCOMPARE(row.value(QStringLiteral("name")).toString(), QStringLiteral("Sorin"));
            QCOMPARE(row.value(QStringLiteral("text")).toString(), QStringLiteral("second line"));
        } else {
            QCOMPARE(row.value(QStringLiteral("text")).toString(), QStringLiteral("line %1").arg(shown.at(i)));
        }
    }
    controller->backlog1(0);
    QCOMPARE(line(), cursor); // reading the backlog moves nothing

    // A new story starts an empty one.
    controller->navigateindex();
    controller->backlog1(1);
    QCOMPARE(game.property(prop::backlogRows).toList().size(), 0);
}

void TestComforts::backlogOpensAndCloses_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("closer");

    QTest::newRow("L, Escape") << "L" << "escape";
    QTest::newRow("L, right click") << "L" << "right";
    QTest::newRow("menu bar, L") << "menu" << "L";
    QTest::newRow("menu bar, Escape") << "menu" << "escape";
}

void TestComforts::backlogOpensAndCloses()
{
    QFETCH(QString, opener);
    QFETCH(QString, closer);

    start();
    openGame();
    for (int i = 0; i < 30; ++i)
        controller->next1();
    finishTyping();
    QQuickItem *log = item("backlog");
    QVERIFY(!log->isVisible());

    if (opener == QLatin1String("L")) {
        key(Qt::Key_L);
    } else {
        QTest::mouseMove(view.get(), QPoint(360, 200));
        QTest::mouseMove(view.get(), QPoint(360, 470));
        click(centreOf(item("menuBacklog")));
    }
    QVERIFY(log->isVisible());
    QQuickItem *list = item("backlogList");
    QCOMPARE(list->property("count").toInt(), 30);
    QTRY_VERIFY(list->property("atYEnd").toBool()); // opens on the newest lines

    // While it is open the story stays: clicks, step keys and the wheel are the list's.
    QSignalSpy wheel(controller.get(), &MainWindow::wheelChanged);
    click(QPoint(360, 200));
    key(Qt::Key_Space);
    key(Qt::Key_PageUp);
    QWheelEvent turn(QPointF(360, 200), QPointF(view->mapToGlobal(QPoint(360, 200))), QPoint(), QPoint(0, 120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.get(), &turn);
    QCOMPARE(wheel.count(), 0);
    QCOMPARE(line(), 30);
    QCOMPARE(viewLine(), 30);
    QVERIFY(!list->property("atYEnd").toBool()); // scrolled back

    if (closer == QLatin1String("escape"))
        key(Qt::Key_Escape);
    else if (closer == QLatin1String("L"))
        key(Qt::Key_L);
    else
        click(QPoint(360, 200), Qt::RightButton);
    QVERIFY(!log->isVisible());
    // Escape closed only the backlog, and the text box stays as it was.
    QVERIFY(!item("returnDialog")->property("open").toBool());
    QVERIFY(item("textArea")->isVisible());
    QCOMPARE(line(), 30);

    // The wheel belongs to the story again.
    QCoreApplication::sendEvent(view.get(), &turn);
    QCOMPARE(wheel.count(), 1);
    QCOMPARE(viewLine(), 29);
}

void TestComforts::backlogNotUnderTheCover()
{
    start();
    controller->navigategame(QStringLiteral("index"));
    openPage("game");
    QVERIFY(item("cover")->isVisible());
    key(Qt::Key_L);
    QVERIFY(!item("backlog")->isVisible());
    key(Qt::Key_Space); // the first step takes the cover away and shows line 1
    QVERIFY(!item("cover")->isVisible());
    QCOMPARE(line(), 1);
    key(Qt::Key_L);
    QVERIFY(item("backlog")->isVisible());
    QCOMPARE(item("backlogList")->property("count").toInt(), 1);
}

QTEST_MAIN(TestComforts)
#include "tst_comforts.moc"
