#include "audiofixture.h"
#include "pagesupport.h"

#include "core/interludeview.h"
#include "app/networkguard.h"
#include "core/paths.h"
#include "input/actions.h"
#include "input/pad.h"
#include "saves/savestate.h"
#include "story/storyview.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPolygon>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTcpServer>

namespace {

// Warnings that name the page: errors in its bindings or images it could not load.
QStringList *pageWarnings = nullptr;
QtMessageHandler previousHandler = nullptr;

void recordPageWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (pageWarnings && type != QtDebugMsg && type != QtInfoMsg && message.contains(QLatin1String("game.qml")))
        pageWarnings->append(message);
    if (previousHandler)
        previousHandler(type, context, message);
}

QPolygon path(std::initializer_list<QPoint> points)
{
    return QPolygon(QVector<QPoint>(points));
}

} // namespace

class GamePageTest : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layers_data();
    void layers();
    void undefinedStoryPropertiesLogNothing();
    void imageSources_data();
    void imageSources();
    void visibilityFlags_data();
    void visibilityFlags();
    void lineText();
    void openingCover_data();
    void openingCover();
    void menuBarFollowsPointer_data();
    void menuBarFollowsPointer();
    void everyMoveReachesController();
    void dialogs_data();
    void dialogs();
    void menuButtons_data();
    void menuButtons();
    void rightClick();
    void clicksOnEmptyPartsAdvance_data();
    void clicksOnEmptyPartsAdvance();
    void dialogsHideWhatIsBehind_data();
    void dialogsHideWhatIsBehind();
    void endMarker_data();
    void endMarker();
    void answerButtons_data();
    void answerButtons();
    void keys_data();
    void keys();
    void keysConsumedOrPassedOn_data();
    void keysConsumedOrPassedOn();
    void fireSendsSecondSignalLater();
    void repeatTimerResendsHeldKeys();
    void lineNamingAPictureByUrlFetchesNothing();
    void inputField_data();
    void inputField();
    void inputFieldFocusedWhenShownAtLoad();
    void keyboardInTheMenuBar();
    void vSwitchesReadingAloud();
    void dialogHoldsThePointer_data();
    void dialogHoldsThePointer();
    void dialogKeepsTheKeys_data();
    void dialogKeepsTheKeys();
    void quickLoadAsksOnlyAtF9();
    void answersWaitWhilePagingBack();
    void textReadableAtEveryOpacity_data();
    void textReadableAtEveryOpacity();
    void actionsFromADevice_data();
    void actionsFromADevice();
    void deviceWalksTheFocusRing();
    void deviceTellsOfTheInterlude();
    void padPlaysThePage();

private:
    void openPage(const QString &source = QStringLiteral("load"));
    QQuickItem *layerOf(QQuickItem *item) const;
    void publish(prop::Name name, const QVariant &value) { game.publish(name, value); }
    // Names that come from a data table.
    void publish(const char *name, const QVariant &value) { game.publish(prop::Name{name}, value); }
    void moveTo(int x, int y) { QTest::mouseMove(view.get(), QPoint(x, y)); }
    using PageFixture::click;
    void click(const char *name) { click(centreOf(item(name))); }
    // As X11 repeats a held key under load: a release and a press at once,
    // not marked as a repeat.
    void autoRepeat(Qt::Key key)
    {
        for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
            QKeyEvent event(type, key, Qt::NoModifier);
            QCoreApplication::sendEvent(view.get(), &event);
        }
        QTest::qWait(80);
    }
    void showMenuBar() { moveTo(10, 470); }
    QString pngUrl(const QString &name) const
    {
        return QStringLiteral("file:///") + core::exePathForPages() + QStringLiteral("/png/") + name + QStringLiteral(".png");
    }

    QStringList warnings;
};

void GamePageTest::initTestCase()
{
    Q_INIT_RESOURCE(qml);
    previousHandler = qInstallMessageHandler(recordPageWarnings);
    pageWarnings = &warnings;
}

void GamePageTest::init()
{
    PageStart start;
    start.settingFile = "0\n0.5\n0.5\n0.5\n";
    buildPage(start);
    wirePage(false);
    warnings.clear();
}

void GamePageTest::cleanup()
{
    tearDownPage();
}

void GamePageTest::openPage(const QString &source)
{
    controller->navigategame(source);
    QVERIFY(PageFixture::openPage(QStringLiteral("game"), true));
}

// The item that stacks among the page's layers: the ancestor that sits directly in the page's content.
QQuickItem *GamePageTest::layerOf(QQuickItem *it) const
{
    auto *content = view->rootObject()->property("contentItem").value<QQuickItem *>();
    while (it->parentItem() && it->parentItem() != content)
        it = it->parentItem();
    return it;
}

void GamePageTest::layers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<qreal>("z");

    QTest::newRow("backdrop") << "backdrop" << QRectF(-100, -100, 1000, 700) << -10.0;
    QTest::newRow("background") << "background" << QRectF(0, 0, 720, 480) << -5.0;
    QTest::newRow("single figure") << "figure1" << QRectF(220, 45, 280, 490) << -4.0;
    QTest::newRow("line text") << "lineText" << QRectF(30, 378, 660, 102) << 0.0;
    QTest::newRow("pointer area") << "pointerArea" << QRectF(0, 0, 720, 480) << 1.0;
    QTest::newRow("answer box") << "answerBox" << QRectF(0, 140, 720, 200) << 3.0;
    QTest::newRow("answer 1") << "answer1" << QRectF(210, 193, 300, 30) << 3.0;
    // Above the text box, where it hides no face.
    QTest::newRow("input field") << "inputField" << QRectF(213, 335, 272, 31) << 3.0;
    QTest::newRow("menu bar") << "menuBar" << QRectF(0, 452, 720, 28) << 10.0;
    QTest::newRow("save") << "menuSave" << QRectF(42, 452, 90, 28) << 10.0;
    QTest::newRow("save dialog") << "saveDialog" << QRectF(168, 160, 384, 150) << 10.0;
    QTest::newRow("cover") << "cover" << QRectF(0, 0, 720, 480) << 19.0;
}

void GamePageTest::layers()
{
    QFETCH(QString, name);
    QFETCH(QRectF, rect);
    QFETCH(qreal, z);

    openPage();
    QQuickItem *it = item(name.toLatin1().constData());
    QCOMPARE(it->mapRectToScene(QRectF(0, 0, it->width(), it->height())), rect);
    QCOMPARE(layerOf(it)->z(), z);
}

// The story publishes its names and texts only once a line has been shown.
void GamePageTest::undefinedStoryPropertiesLogNothing()
{
    openPage(QStringLiteral("index"));
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));

    // Flags switched on before any name arrives: still nothing to load, nothing to complain about.
    for (const char *flag : {"bVisible", "a1visible", "a1fvisible", "a2visible", "a3visible", "a3fvisible", "daanvisible", "shuruvisible"})
        publish(flag, 1);
    publish(prop::currentText, QVariant::fromValue<QObject *>(nullptr));
    QTest::qWait(20);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    QCOMPARE(item("background")->property("source").toUrl(), QUrl());
    QCOMPARE(item("lineText")->property("text").toString(), QString());
    QCOMPARE(item("answer1")->property("text").toString(), QString());
}

void GamePageTest::imageSources_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("name");

    QTest::newRow("background") << QByteArray("bcPath") << "background";
    QTest::newRow("single") << QByteArray("a1Path") << "figure1";
    QTest::newRow("single left") << QByteArray("a1fPath") << "figure1f";
    QTest::newRow("pair 1") << QByteArray("a2_1Path") << "pair1";
    QTest::newRow("pair 2") << QByteArray("a2_2Path") << "pair2";
    QTest::newRow("trio 1") << QByteArray("a3_1Path") << "trio1_1";
    QTest::newRow("trio 2") << QByteArray("a3_2Path") << "trio1_2";
    QTest::newRow("trio 3") << QByteArray("a3_3Path") << "trio1_3";
    QTest::newRow("second trio 1") << QByteArray("a3_1fPath") << "trio2_1";
    QTest::newRow("second trio 2") << QByteArray("a3_2fPath") << "trio2_2";
    QTest::newRow("second trio 3") << QByteArray("a3_3fPath") << "trio2_3";
}

void GamePageTest::imageSources()
{
    QFETCH(QByteArray, property);
    QFETCH(QString, name);

    openPage();
    QQuickItem *image = item(name.toLatin1().constData());
    // Drawn at twice the size shown, as the game's pictures are.
    QImage picture((image->size() * 2).toSize(), QImage::Format_ARGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(QStringLiteral("png/pic.png")));
    publish(property.constData(), QStringLiteral("pic"));
    QCOMPARE(image->property("source").toUrl(), QUrl(pngUrl(QStringLiteral("pic"))));
    QCOMPARE(image->property("status").toInt(), 1); // Image.Ready: the URL really names the file
    QCOMPARE(image->property("fillMode").toInt(), 1); // Image.PreserveAspectFit
    // Decoded at the size shown: a window holds no more than it shows.
    QCOMPARE(QSizeF(image->implicitWidth(), image->implicitHeight()), image->size());

    publish(property.constData(), QString());
    QCOMPARE(image->property("source").toUrl(), QUrl());
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void GamePageTest::visibilityFlags_data()
{
    QTest::addColumn<QByteArray>("flag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("shown");

    const QVariant null = QVariant::fromValue<QObject *>(nullptr);
    const QList<QPair<const char *, const char *>> flags = {
        {"bVisible", "background"}, {"a1visible", "figure1"}, {"a1fvisible", "figure1f"},
        {"a2visible", "pair2"}, {"a3visible", "trio1_2"}, {"a3fvisible", "trio2_2"},
        {"daanvisible", "answer1"}, {"shuruvisible", "inputField"}};
    for (const auto &f : flags) {
        QTest::addRow("%s null", f.first) << QByteArray(f.first) << f.second << null << false;
        QTest::addRow("%s 0", f.first) << QByteArray(f.first) << f.second << QVariant(0) << false;
        QTest::addRow("%s 1", f.first) << QByteArray(f.first) << f.second << QVariant(1) << true;
    }
}

void GamePageTest::visibilityFlags()
{
    QFETCH(QByteArray, flag);
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(bool, shown);

    openPage();
    QQuickItem *it = item(name.toLatin1().constData());
    QVERIFY(!it->isVisible());
    publish(flag.constData(), value);
    QCOMPARE(it->isVisible(), shown);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void GamePageTest::lineText()
{
    openPage();
    QQuickItem *line = item("lineText");
    publish(prop::nameText, QStringLiteral("艾琳"));
    publish(prop::currentText, QStringLiteral("短"));
    const qreal oneLine = line->property("contentHeight").toReal();
    QVERIFY(oneLine > 0);

    // Rich text reports one line whatever the wrap, so the height tells whether it wrapped.
    publish(prop::currentText, QStringLiteral("<font color=\"#c00000\">红色</font>的字和普通的字，") + QString(60, QChar(0x5B57)));
    QCOMPARE(item("nameText")->property("text").toString(), QStringLiteral("艾琳"));
    QCOMPARE(line->property("textFormat").toInt(), 1); // Text.RichText: markup is drawn, not shown
    QVERIFY(line->property("contentHeight").toReal() > 1.5 * oneLine);
    QVERIFY(line->property("contentWidth").toReal() <= 660);
    const QFont font = line->property("font").value<QFont>();
    QVERIFY(font.bold());
    QCOMPARE(font.pointSizeF(), 12.0);
    QCOMPARE(line->property("verticalAlignment").toInt(), int(Qt::AlignVCenter));
}

void GamePageTest::openingCover_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("cover");

    QTest::newRow("from the title page") << "index" << true;
    QTest::newRow("from the load page") << "load" << false;
    QTest::newRow("from the settings page") << "setting" << false;
}

void GamePageTest::openingCover()
{
    QFETCH(QString, source);
    QFETCH(bool, cover);

    openPage(source);
    QCOMPARE(item("cover")->isVisible(), cover);
    QCOMPARE(item("coverText")->property("text").toString(), QStringLiteral("我们生活的世界，真的是我们认为的那样吗？"));

    // Under the cover the bar neither shows nor takes the click meant for the story.
    moveTo(360, 300);
    moveTo(360, 466);
    QCOMPARE(item("menuBar")->isVisible(), !cover);
    QSignalSpy autoSpy(controller.get(), &MainWindow::AutoChanged);
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    click(QPoint(360, cover ? 466 : 240));
    QCOMPARE(autoSpy.count(), 0);
    QCOMPARE(next.count(), 1);
    QCOMPARE(next.first().first().toInt(), 1);
    QVERIFY(!item("cover")->isVisible());
}

void GamePageTest::menuBarFollowsPointer_data()
{
    QTest::addColumn<bool>("dialogOpen");
    QTest::addColumn<QPolygon>("moves");
    QTest::addColumn<bool>("shown");

    QTest::newRow("below 450") << false << path({QPoint(360, 460)}) << true;
    QTest::newRow("at 450") << false << path({QPoint(360, 450)}) << false;
    QTest::newRow("just below 450") << false << path({QPoint(360, 451)}) << true;
    QTest::newRow("down then up") << false << path({QPoint(360, 460), QPoint(360, 300)}) << false;
    QTest::newRow("up then down") << false << path({QPoint(360, 300), QPoint(600, 479)}) << true;
    QTest::newRow("held open by a dialog") << true << path({QPoint(360, 460), QPoint(360, 300)}) << true;
}

void GamePageTest::menuBarFollowsPointer()
{
    QFETCH(bool, dialogOpen);
    QFETCH(QPolygon, moves);
    QFETCH(bool, shown);

    openPage();
    if (dialogOpen)
        QTest::keyClick(view.get(), Qt::Key_Escape);
    for (const QPoint &p : moves)
        moveTo(p.x(), p.y());
    QCOMPARE(item("menuBar")->isVisible(), shown);
}

void GamePageTest::everyMoveReachesController()
{
    openPage();
    publish(prop::daanvisible, 1);
    QSignalSpy moved(controller.get(), &MainWindow::weizhiChanged);
    // Buttons on the way (the bar's save button, an answer) must not swallow the moves.
    const QPoint answer = centreOf(item("answer1"));
    const QPolygon moves = path({QPoint(100, 200), QPoint(101, 200), QPoint(85, 466), QPoint(88, 466),
                                 answer, answer + QPoint(3, 0), QPoint(700, 10)});
    for (const QPoint &p : moves)
        moveTo(p.x(), p.y());
    QCOMPARE(moved.count(), moves.size());
    for (int i = 0; i < moves.size(); ++i) {
        QCOMPARE(moved.at(i).at(0).toFloat(), float(moves[i].x()));
        QCOMPARE(moved.at(i).at(1).toFloat(), float(moves[i].y()));
    }
}

void GamePageTest::dialogs_data()
{
    QTest::addColumn<QString>("opener"); // "escape" or a menu button
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<bool>("delayed");

    QTest::newRow("escape, cancel") << "escape" << "returnDialog" << "returnCancel" << QByteArray() << false;
    QTest::newRow("escape, confirm") << "escape" << "returnDialog" << "returnConfirm"
                                     << QByteArray(SIGNAL(currentPageChanged())) << false;
    QTest::newRow("return, cancel") << "menuReturn" << "returnDialog" << "returnCancel" << QByteArray() << false;
    QTest::newRow("return, confirm") << "menuReturn" << "returnDialog" << "returnConfirm"
                                     << QByteArray(SIGNAL(currentPageChanged())) << false;
    QTest::newRow("save, cancel") << "menuSave" << "saveDialog" << "saveCancel" << QByteArray() << false;
    QTest::newRow("save, confirm") << "menuSave" << "saveDialog" << "saveConfirm"
                                   << QByteArray(SIGNAL(saveChanged(int))) << true;
    QTest::newRow("quit, cancel") << "menuQuit" << "quitDialog" << "quitCancel" << QByteArray() << false;
    QTest::newRow("quit, confirm") << "menuQuit" << "quitDialog" << "quitConfirm"
                                   << QByteArray(SIGNAL(exitChanged(int))) << false;
}

void GamePageTest::dialogs()
{
    QFETCH(QString, opener);
    QFETCH(QString, dialog);
    QFETCH(QString, button);
    QFETCH(QByteArray, signal);
    QFETCH(bool, delayed);

    openPage();
    QQuickItem *box = item(dialog.toLatin1().constData());
    QQuickItem *bar = item("menuBar");
    QQuickItem *page = view->rootObject();

    if (opener == QLatin1String("escape")) {
        QTest::keyClick(view.get(), Qt::Key_Escape);
    } else {
        showMenuBar();
        click(opener.toLatin1().constData());
    }
    QVERIFY(box->isVisible());
    QVERIFY(bar->isVisible());
    QVERIFY(page->property("vsuo").toBool());

    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    QSignalSpy skip(controller.get(), &MainWindow::skipChanged);
    std::unique_ptr<QSignalSpy> result;
    if (!signal.isEmpty())
        result = std::make_unique<QSignalSpy>(controller.get(), signal.constData());

    click(button.toLatin1().constData());
    QCOMPARE(next.count(), 0);
    if (button.endsWith(QLatin1String("Cancel")) || dialog == QLatin1String("saveDialog")) {
        QVERIFY(!box->property("open").toBool());
        QVERIFY(!bar->isVisible());
        QVERIFY(!page->property("vsuo").toBool());
        QVERIFY(!page->property("kvisible").toBool());
    }
    if (!result) {
        QTest::qWait(30);
        QCOMPARE(skip.count(), 0);
        return;
    }
    if (delayed) {
        QCOMPARE(result->count(), 0);
        QVERIFY(result->wait(200));
    }
    QCOMPARE(result->count(), 1);
    if (signal == SIGNAL(currentPageChanged())) {
        QCOMPARE(controller->getCurrentPage(), QStringLiteral("index"));
    } else {
        QCOMPARE(result->first().first().toInt(), 1);
    }
}

void GamePageTest::menuButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("page");

    QTest::newRow("load") << "menuLoad" << QByteArray(SIGNAL(currentPageChanged())) << 0 << "load";
    QTest::newRow("skip") << "menuSkip" << QByteArray(SIGNAL(skipChanged(int))) << -1 << "game";
    QTest::newRow("auto") << "menuAuto" << QByteArray(SIGNAL(AutoChanged(int))) << -1 << "game";
    QTest::newRow("settings") << "menuSetting" << QByteArray(SIGNAL(currentPageChanged())) << 0 << "setting";
}

void GamePageTest::menuButtons()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, signal);
    QFETCH(int, value);
    QFETCH(QString, page);

    openPage();
    showMenuBar();
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    QSignalSpy spy(controller.get(), signal.constData());
    click(button.toLatin1().constData());
    QCOMPARE(next.count(), 0);
    QCOMPARE(spy.count(), 1);
    if (!spy.first().isEmpty())
        QCOMPARE(spy.first().first().toInt(), value);
    QCOMPARE(controller->getCurrentPage(), page);

    // The button keeps no keyboard focus: Space does not press it again, W still steps.
    QSignalSpy ws(controller.get(), &MainWindow::wsChanged);
    QTest::keyClick(view.get(), Qt::Key_Space);
    QTest::keyClick(view.get(), Qt::Key_W);
    QCOMPARE(spy.count(), 1);
    QVERIFY(ws.count() >= 1);

    // The page left says where it was left from, so that its back button can return here.
    if (page != QLatin1String("game"))
        QCOMPARE(controller->getLastSource(), QStringLiteral("game"));
}

// With a question open, a right click is the question's (dialogHoldsThePointer).
void GamePageTest::rightClick()
{
    openPage();
    QQuickItem *page = view->rootObject();
    QQuickItem *textArea = item("textPanel");
    QQuickItem *bar = item("menuBar");
    showMenuBar();
    QVERIFY(bar->isVisible());

    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    click(QPoint(360, 200), Qt::RightButton);
    QVERIFY(!textArea->isVisible());
    QVERIFY(!item("lineText")->isVisible());
    QVERIFY(!bar->isVisible());
    QVERIFY(!page->property("vsuo").toBool());

    // Hidden text keeps the bar away even with the pointer at the bottom.
    moveTo(360, 470);
    QVERIFY(!bar->isVisible());

    click(QPoint(360, 200), Qt::RightButton);
    QVERIFY(textArea->isVisible());
    QVERIFY(!bar->isVisible());
    moveTo(360, 466);
    QVERIFY(bar->isVisible());
    QCOMPARE(next.count(), 0);
}

void GamePageTest::clicksOnEmptyPartsAdvance_data()
{
    QTest::addColumn<QPoint>("at");

    QTest::newRow("bar left of the buttons") << QPoint(10, 466);
    // Between the quit button and the backlog's.
    QTest::newRow("bar right of the buttons") << QPoint(680, 466);
    QTest::newRow("text panel") << QPoint(360, 420);
}

void GamePageTest::clicksOnEmptyPartsAdvance()
{
    QFETCH(QPoint, at);

    openPage();
    showMenuBar();
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    click(at);
    QCOMPARE(next.count(), 1);
}

void GamePageTest::dialogsHideWhatIsBehind_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("save") << "menuSave" << "saveDialog";
    QTest::newRow("return") << "menuReturn" << "returnDialog";
    QTest::newRow("quit") << "menuQuit" << "quitDialog";
}

// The story's text under a question must not read through it.
void GamePageTest::dialogsHideWhatIsBehind()
{
    QFETCH(QString, opener);
    QFETCH(QString, dialog);
    openPage();
    showMenuBar();
    const QImage before = grabScene(view.get());
    click(opener.toLatin1().constData());
    const QImage after = grabScene(view.get());
    QVERIFY(!before.isNull() && !after.isNull());
    QQuickItem *panel = item(dialog.toLatin1().constData());
    const QPointF corner = panel->mapToScene(QPointF(6, 6));
    QCOMPARE(after.pixelColor(corner.toPoint()), QColor(Qt::white));
    // Outside the panel the page is dimmed: the bright text box grows dark.
    const QPoint box(20, 400);
    QVERIFY2(qGray(after.pixel(box)) * 2 < qGray(before.pixel(box)),
             qPrintable(QString("%1 -> %2").arg(qGray(before.pixel(box))).arg(qGray(after.pixel(box)))));
}

void GamePageTest::endMarker_data()
{
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("skipping");
    QTest::addColumn<bool>("shown");
    QTest::newRow("typed whole") << true << false << true;
    QTest::newRow("still typing") << false << false << false;
    QTest::newRow("skipping") << true << true << false;
}

void GamePageTest::endMarker()
{
    QFETCH(bool, complete);
    QFETCH(bool, skipping);
    openPage();
    publish(prop::currentText, QStringLiteral("一句话说完了。"));
    story::storyView().setLineComplete(complete);
    story::storyView().setRunning(false, skipping);
    QQuickItem *marker = item("endMarker");
    QTEST(marker->property("wanted").toBool(), "shown");
    const QString text = item("lineText")->property("text").toString();
    QCOMPARE(text.contains(QStringLiteral("▼")), marker->property("wanted").toBool());
    QVERIFY(text.startsWith(QStringLiteral("一句话说完了。")));
    if (marker->property("wanted").toBool()) {
        const bool first = marker->isVisible();
        QTRY_COMPARE_WITH_TIMEOUT(marker->isVisible(), !first, 1500);
    }
}

void GamePageTest::answerButtons_data()
{
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");

    QTest::newRow("first") << true << "answer1" << 1;
    QTest::newRow("second") << true << "answer2" << 2;
    QTest::newRow("hidden buttons take no click") << false << "answer1" << 0;
}

void GamePageTest::answerButtons()
{
    QFETCH(bool, offered);
    QFETCH(QString, button);
    QFETCH(int, answer);

    openPage();
    publish(prop::ida1, QStringLiteral("留下"));
    publish(prop::ida2, QStringLiteral("离开"));
    publish(prop::daanvisible, offered ? 1 : 0);
    QCOMPARE(item("answer1")->property("text").toString(), QStringLiteral("留下"));
    QCOMPARE(item("answer2")->property("text").toString(), QStringLiteral("离开"));

    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    QSignalSpy da(controller.get(), &MainWindow::daChanged);
    click(button.toLatin1().constData());
    if (answer) {
        QCOMPARE(da.count(), 1);
        QCOMPARE(da.first().first().toInt(), answer);
        QCOMPARE(next.count(), 0);
    } else {
        QCOMPARE(da.count(), 0);
        QCOMPARE(next.count(), 1);
    }
}

void GamePageTest::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QByteArray>("held");       // page property set while the key is down
    QTest::addColumn<QVariantList>("onPress");
    QTest::addColumn<QVariantList>("onRelease");

    const QByteArray ws = SIGNAL(wsChanged(int));
    const QByteArray ad = SIGNAL(adChanged(int));
    // A release sends 0, which the controller drops: nothing reaches the interlude.
    QTest::newRow("W") << int(Qt::Key_W) << ws << QByteArray("wPressed") << QVariantList{1} << QVariantList{};
    QTest::newRow("S") << int(Qt::Key_S) << ws << QByteArray("sPressed") << QVariantList{2} << QVariantList{};
    QTest::newRow("A") << int(Qt::Key_A) << ad << QByteArray("aPressed") << QVariantList{1} << QVariantList{};
    QTest::newRow("D") << int(Qt::Key_D) << ad << QByteArray("dPressed") << QVariantList{2} << QVariantList{};
    QTest::newRow("E") << int(Qt::Key_E) << QByteArray(SIGNAL(fsChanged(int))) << QByteArray()
                       << QVariantList{1} << QVariantList{};
    QTest::newRow("Ctrl") << int(Qt::Key_Control) << QByteArray(SIGNAL(skipChanged(int))) << QByteArray()
                          << QVariantList{-1} << QVariantList{0};
}

void GamePageTest::keys()
{
    QFETCH(int, key);
    QFETCH(QByteArray, signal);
    QFETCH(QByteArray, held);
    QFETCH(QVariantList, onPress);
    QFETCH(QVariantList, onRelease);

    openPage();
    QQuickItem *page = view->rootObject();
    QSignalSpy spy(controller.get(), signal.constData());

    QTest::keyPress(view.get(), Qt::Key(key));
    QVERIFY(spy.count() >= 1);
    // Movement keys may already have been repeated by the timer: with the same value.
    if (held.isEmpty())
        QCOMPARE(spy.count(), onPress.size());
    for (const QList<QVariant> &args : qAsConst(spy))
        QCOMPARE(args.first(), onPress.first());
    if (!held.isEmpty()) {
        QVERIFY(page->property(held.constData()).toBool());
        // The platform's repeat (a release and a press) changes nothing; a new
        // interlude attempt lets go of the key, and its repeat does not take it again.
        autoRepeat(Qt::Key(key));
        QVERIFY(page->property(held.constData()).toBool());
        core::interludeView().turnAttempt();
        QVERIFY(!page->property(held.constData()).toBool());
        autoRepeat(Qt::Key(key));
        QVERIFY(!page->property(held.constData()).toBool());
    }

    spy.clear();
    QTest::keyRelease(view.get(), Qt::Key(key));
    if (!held.isEmpty())
        QTest::qWait(100); // long enough for the let-go and for the repeat timer to betray a key still held
    QCOMPARE(spy.count(), onRelease.size());
    for (int i = 0; i < onRelease.size(); ++i)
        QCOMPARE(spy.at(i).first(), onRelease.at(i));
    if (!held.isEmpty())
        QVERIFY(!page->property(held.constData()).toBool());
}

void GamePageTest::keysConsumedOrPassedOn_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("consumed");
    QTest::addColumn<int>("controllerSignals");

    QTest::newRow("W") << int(Qt::Key_W) << true << 1;
    QTest::newRow("S") << int(Qt::Key_S) << true << 1;
    QTest::newRow("A") << int(Qt::Key_A) << true << 1;
    QTest::newRow("D") << int(Qt::Key_D) << true << 1;
    QTest::newRow("E") << int(Qt::Key_E) << true << 1;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << true << 0;
    QTest::newRow("Ctrl is passed on") << int(Qt::Key_Control) << false << 1;
    QTest::newRow("Q is not the page's") << int(Qt::Key_Q) << false << 0;
    // Reading keys step like a left click.
    QTest::newRow("Space steps") << int(Qt::Key_Space) << true << 1;
    QTest::newRow("Return steps") << int(Qt::Key_Return) << true << 1;
    QTest::newRow("Tab takes the keyboard to the menu bar") << int(Qt::Key_Tab) << true << 0;
}

void GamePageTest::keysConsumedOrPassedOn()
{
    QFETCH(int, key);
    QFETCH(bool, consumed);
    QFETCH(int, controllerSignals);

    openPage();
    QSignalSpy ws(controller.get(), &MainWindow::wsChanged);
    QSignalSpy ad(controller.get(), &MainWindow::adChanged);
    QSignalSpy fs(controller.get(), &MainWindow::fsChanged);
    QSignalSpy skip(controller.get(), &MainWindow::skipChanged);
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);

    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &press);
    QCOMPARE(press.isAccepted(), consumed);
    QCOMPARE(ws.count() + ad.count() + fs.count() + skip.count() + next.count(), controllerSignals);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &release);
}

void GamePageTest::fireSendsSecondSignalLater()
{
    openPage();
    QSignalSpy fs(controller.get(), &MainWindow::fsChanged);
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(view.get(), Qt::Key_E);
    QCOMPARE(fs.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(fs.count(), 2, 1000);
    QVERIFY(clock.elapsed() >= 190);
    QCOMPARE(fs.at(0).first().toInt(), 1);
    QCOMPARE(fs.at(1).first().toInt(), 0);
}

void GamePageTest::repeatTimerResendsHeldKeys()
{
    openPage();
    QObject *timer = view->rootObject()->findChild<QObject *>(QStringLiteral("repeatTimer"));
    QVERIFY(timer);
    QCOMPARE(timer->property("interval").toInt(), 16);

    QVector<QPair<char, int>> sent;
    connect(controller.get(), &MainWindow::wsChanged, this, [&sent](int v) { sent.append({'w', v}); });
    connect(controller.get(), &MainWindow::adChanged, this, [&sent](int v) { sent.append({'a', v}); });

    // Waits for what the ticks send, not for a time: a loaded machine ticks late.
    QObject *page = view->rootObject();
    QTest::keyPress(view.get(), Qt::Key_W);
    QTest::keyPress(view.get(), Qt::Key_D);
    sent.clear();
    QTRY_VERIFY2(sent.size() >= 8, qPrintable(QString::number(sent.size())));
    // Each tick sends the vertical key before the horizontal one.
    const int ticks = sent.size() / 2;
    for (int i = 0; i < ticks * 2; i += 2) {
        QCOMPARE(sent.at(i), qMakePair('w', 1));
        QCOMPARE(sent.at(i + 1), qMakePair('a', 2));
    }

    QTest::keyRelease(view.get(), Qt::Key_W);
    // A release waits 50 ms for the platform's repeat before the key counts as up.
    QTRY_VERIFY(!page->property("wPressed").toBool());
    sent.clear();
    QTRY_VERIFY(sent.size() >= 3);
    for (const auto &s : qAsConst(sent))
        QCOMPARE(s, qMakePair('a', 2));

    QTest::keyRelease(view.get(), Qt::Key_D);
    QTRY_VERIFY(!page->property("dPressed").toBool());
    QTRY_VERIFY(!timer->property("running").toBool());
    sent.clear();
    QTest::qWait(60); // with no key held nothing is sent at all
    QCOMPARE(sent.size(), 0);
    disconnect(controller.get(), nullptr, this, nullptr);
}

// The text box shows the script's line as rich text: a picture it names by URL
// is asked of the engine, which (as start-up sets it up) sends nothing out.
void GamePageTest::lineNamingAPictureByUrlFetchesNothing()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    app::refuseNetwork(*view->engine());
    MessageLog log;
    openPage();
    const QString line = QStringLiteral("<img src=\"http://127.0.0.1:%1/x.png\">欢迎回来").arg(server.serverPort());
    for (int typed = 1; typed <= 4; ++typed)
        publish(prop::currentText, line.left(line.indexOf(QLatin1Char('>')) + 1) + QStringLiteral("欢迎回来").left(typed));
    QTest::qWait(300);
    QVERIFY(!server.hasPendingConnections());
    QCOMPARE(log.count(QStringLiteral("游戏不访问网络")), 1);
    QVERIFY(item("lineText")->property("text").toString().contains(QStringLiteral("欢迎回来")));
}

void GamePageTest::inputField_data()
{
    QTest::addColumn<int>("submitKey");

    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
}

void GamePageTest::inputField()
{
    QFETCH(int, submitKey);

    openPage();
    QQuickItem *field = item("inputField");
    QQuickItem *hint = item("inputHint");
    publish(prop::shuruvisible, 1);
    QVERIFY(field->hasActiveFocus());
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->property("text").toString(), QStringLiteral("请输入内容，按回车提交..."));

    QSignalSpy typed(controller.get(), &MainWindow::shuruChanged);
    QSignalSpy ws(controller.get(), &MainWindow::wsChanged);
    QSignalSpy ad(controller.get(), &MainWindow::adChanged);
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);

    // An empty field sends nothing and stays open.
    QTest::keyClick(view.get(), Qt::Key(submitKey));
    QCOMPARE(typed.count(), 0);
    QVERIFY(field->hasActiveFocus());

    // The movement letters are text here, not steps.
    for (char c : QByteArray("wasd"))
        QTest::keyClick(view.get(), c);
    QCOMPARE(field->property("text").toString(), QStringLiteral("wasd"));
    QVERIFY(!hint->isVisible());
    QTest::qWait(40);
    QCOMPARE(ws.count() + ad.count(), 0);

    QTest::keyClick(view.get(), Qt::Key(submitKey));
    QCOMPARE(typed.count(), 1);
    QCOMPARE(typed.first().first().toString(), QStringLiteral("wasd"));
    QCOMPARE(field->property("text").toString(), QString());
    QVERIFY(hint->isVisible());
    QCOMPARE(next.count(), 0);

    // Once the box goes, the keys belong to the page again.
    publish(prop::shuruvisible, 0);
    QVERIFY(view->rootObject()->hasActiveFocus());
    QTest::keyClick(view.get(), Qt::Key_W);
    QVERIFY(ws.count() >= 1);
    QCOMPARE(field->property("text").toString(), QString());
}

// Coming back from the settings page in the middle of a typed answer.
void GamePageTest::inputFieldFocusedWhenShownAtLoad()
{
    publish(prop::shuruvisible, 1);
    openPage(QStringLiteral("setting"));
    QVERIFY(item("inputField")->hasActiveFocus());
    QTest::keyClick(view.get(), 'x');
    QCOMPARE(item("inputField")->property("text").toString(), QStringLiteral("x"));
}

// Tab opens the bar on 存档, the arrows walk it, Enter presses and a button
// that leaves the story where it was hands the keys back: Space steps again.
void GamePageTest::keyboardInTheMenuBar()
{
    openPage();
    QSignalSpy autoSpy(controller.get(), &MainWindow::AutoChanged);
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    QTest::keyClick(view.get(), Qt::Key_Tab);
    QVERIFY(item("menuBar")->isVisible());
    QVERIFY(item("menuSave")->hasActiveFocus());
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view.get(), Qt::Key_Right);
    QVERIFY(item("menuAuto")->hasActiveFocus());
    QTest::keyClick(view.get(), Qt::Key_Return);
    QCOMPARE(autoSpy.count(), 1);
    QVERIFY(!item("menuBar")->isVisible());
    QTest::keyClick(view.get(), Qt::Key_Space);
    QCOMPARE(next.count(), 1);
    // Esc from the bar closes it, not the story.
    QTest::keyClick(view.get(), Qt::Key_Tab);
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QVERIFY(!item("menuBar")->isVisible());
    QVERIFY(!item("returnDialog")->isVisible());
    QTest::keyClick(view.get(), Qt::Key_Space);
    QCOMPARE(next.count(), 2);
}

// V asks for the opposite of what the page was told.
void GamePageTest::vSwitchesReadingAloud()
{
    openPage();
    QSignalSpy asked(controller.get(), &MainWindow::readAloudChanged);
    QTest::keyClick(view.get(), Qt::Key_V);
    gameSettings->setReadAloud(true);
    QTest::keyClick(view.get(), Qt::Key_V);
    QCOMPARE(asked.count(), 2);
    QCOMPARE(asked.at(0).at(0).toBool(), true);
    QCOMPARE(asked.at(1).at(0).toBool(), false);
}

void GamePageTest::dialogHoldsThePointer_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("button"); // 0: the wheel
    QTest::addColumn<bool>("closes");

    const QPoint panel(300, 180), dim(40, 100);
    QTest::newRow("panel, left") << "menuSave" << "saveDialog" << panel << int(Qt::LeftButton) << false;
    QTest::newRow("panel, right") << "menuReturn" << "returnDialog" << panel << int(Qt::RightButton) << false;
    QTest::newRow("panel, wheel") << "menuQuit" << "quitDialog" << panel << 0 << false;
    QTest::newRow("outside, left") << "menuReturn" << "returnDialog" << dim << int(Qt::LeftButton) << true;
    QTest::newRow("outside, right") << "menuSave" << "saveDialog" << dim << int(Qt::RightButton) << true;
    QTest::newRow("outside, wheel") << "menuReturn" << "returnDialog" << dim << 0 << false;
    QTest::newRow("an answer under it") << "menuReturn" << "returnDialog" << QPoint(360, 208)
                                        << int(Qt::LeftButton) << false;
    QTest::newRow("the bar under it") << "menuQuit" << "quitDialog" << QPoint(360, 466) << int(Qt::LeftButton)
                                      << true;
}

// A question is answered by its own buttons only; the story never moves under it.
void GamePageTest::dialogHoldsThePointer()
{
    QFETCH(QString, opener);
    QFETCH(QString, dialog);
    QFETCH(QPoint, at);
    QFETCH(int, button);
    QFETCH(bool, closes);

    openPage();
    publish(prop::daanvisible, 1);
    showMenuBar();
    click(opener.toLatin1().constData());
    QQuickItem *box = item(dialog.toLatin1().constData());
    QVERIFY(box->isVisible());
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    QSignalSpy answered(controller.get(), &MainWindow::daChanged);
    QSignalSpy wheel(controller.get(), &MainWindow::wheelChanged);
    QSignalSpy skip(controller.get(), &MainWindow::skipChanged);
    if (button == 0) {
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.get(), &event);
    } else {
        click(at, Qt::MouseButton(button));
    }
    QCOMPARE(next.count() + answered.count() + wheel.count() + skip.count(), 0);
    QCOMPARE(box->property("open").toBool(), !closes);
    QVERIFY(item("textPanel")->isVisible());
}

void GamePageTest::dialogKeepsTheKeys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("focused"); // empty: the question is closed

    QTest::newRow("Tab") << QList<int>{Qt::Key_Tab} << "returnConfirm";
    QTest::newRow("Tab twice") << QList<int>{Qt::Key_Tab, Qt::Key_Tab} << "returnCancel";
    QTest::newRow("Shift+Tab") << QList<int>{Qt::Key_Backtab} << "returnConfirm";
    QTest::newRow("arrows") << QList<int>{Qt::Key_Left, Qt::Key_Left, Qt::Key_Down} << "returnConfirm";
    QTest::newRow("reading keys") << QList<int>{Qt::Key_Control, Qt::Key_PageDown, Qt::Key_F9, Qt::Key_H, Qt::Key_L}
                                  << "returnCancel";
    QTest::newRow("Esc") << QList<int>{Qt::Key_Escape} << "";
    QTest::newRow("Tab, Esc") << QList<int>{Qt::Key_Tab, Qt::Key_Escape} << "";
}

void GamePageTest::dialogKeepsTheKeys()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, focused);

    openPage();
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QVERIFY(item("returnDialog")->isVisible());
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    QSignalSpy skip(controller.get(), &MainWindow::skipChanged);
    QSignalSpy wheel(controller.get(), &MainWindow::wheelChanged);
    QSignalSpy quick(controller.get(), &MainWindow::QuickLoad);
    for (int key : keys)
        QTest::keyPress(view.get(), Qt::Key(key));
    QCOMPARE(next.count() + skip.count() + wheel.count() + quick.count(), 0);
    QCOMPARE(item("returnDialog")->property("open").toBool(), !focused.isEmpty());
    QVERIFY(!item("backlog")->isVisible());
    QVERIFY(item("textPanel")->isVisible());
    if (!focused.isEmpty())
        QVERIFY(item(focused.toLatin1().constData())->hasActiveFocus());
    else
        QVERIFY(view->rootObject()->hasActiveFocus());
}

// Asked once, when F9 asks: not again when the page comes back from 设置 or 读取.
void GamePageTest::quickLoadAsksOnlyAtF9()
{
    saves::saveState().askQuickLoad();
    openPage(QStringLiteral("setting"));
    QQuickItem *question = item("quickLoadDialog");
    QTRY_VERIFY(view->rootObject()->hasActiveFocus());
    QVERIFY(!question->property("open").toBool());
    saves::saveState().askQuickLoad();
    QVERIFY(question->property("open").toBool());
}

void GamePageTest::answersWaitWhilePagingBack()
{
    openPage();
    publish(prop::daanvisible, 1);
    story::storyView().setReadingBack(true);
    QVERIFY(!item("answer1")->isVisible());
    story::storyView().setReadingBack(false);
    QVERIFY(item("answer1")->isVisible());
}

void GamePageTest::textReadableAtEveryOpacity_data()
{
    QTest::addColumn<QColor>("picture");
    QTest::addColumn<double>("opacity");
    for (const QColor &picture : {QColor(Qt::black), QColor(Qt::white)}) {
        for (double opacity : {0.2, 0.45, 0.5, 0.75, 1.0})
            QTest::addRow("%s picture, %.2f", picture == Qt::black ? "dark" : "bright", opacity) << picture << opacity;
    }
}

// Some letter pixels stand far from the box behind them, whatever shows through.
void GamePageTest::textReadableAtEveryOpacity()
{
    QFETCH(QColor, picture);
    QFETCH(double, opacity);
    QImage fill(720, 480, QImage::Format_RGB32);
    fill.fill(picture);
    QVERIFY(fill.save(QStringLiteral("png/plain.png")));
    openPage();
    publish(prop::bcPath, QStringLiteral("plain"));
    publish(prop::bVisible, 1);
    gameSettings->setBoxOpacity(float(opacity));
    publish(prop::nameText, QStringLiteral("Lio"));
    publish(prop::currentText, QStringLiteral("我们生活的世界，真的是我们认为的那样吗？"));
    const QImage scene = grabScene(view.get());
    QVERIFY(!scene.isNull());
    const int box = qGray(scene.pixel(700, 470));
    int far = 0;
    for (int y = 380; y < 475; ++y) {
        for (int x = 10; x < 700; ++x)
            far += qAbs(qGray(scene.pixel(x, y)) - box) > 120 ? 1 : 0;
    }
    QVERIFY2(far > 200, qPrintable(QString::number(far)));
}

using Action = input::Actions::Action;

void GamePageTest::actionsFromADevice_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QVariantList>("onPress");
    QTest::addColumn<QVariantList>("onRelease");

    const QByteArray wheel = SIGNAL(wheelChanged(int));
    QTest::newRow("step") << int(Action::Step) << QByteArray(SIGNAL(nextChanged(int))) << QVariantList{1} << QVariantList{};
    QTest::newRow("back") << int(Action::Back) << wheel << QVariantList{1} << QVariantList{};
    QTest::newRow("forward") << int(Action::Forward) << wheel << QVariantList{-1} << QVariantList{};
    QTest::newRow("skip held") << int(Action::SkipHeld) << QByteArray(SIGNAL(skipChanged(int))) << QVariantList{-1}
                               << QVariantList{0};
    QTest::newRow("auto") << int(Action::Auto) << QByteArray(SIGNAL(AutoChanged(int))) << QVariantList{-1} << QVariantList{};
    QTest::newRow("quick load asks") << int(Action::QuickLoad) << QByteArray(SIGNAL(QuickLoad(int))) << QVariantList{0}
                                     << QVariantList{};
    QTest::newRow("answer 2") << int(Action::Answer2) << QByteArray(SIGNAL(daChanged(int))) << QVariantList{2}
                              << QVariantList{};
    QTest::newRow("confirm with no button steps") << int(Action::Confirm) << QByteArray(SIGNAL(nextChanged(int)))
                                                  << QVariantList{1} << QVariantList{};
    // Walking sends 0 at the release, which the controller drops.
    QTest::newRow("walk right") << int(Action::WalkRight) << QByteArray(SIGNAL(adChanged(int))) << QVariantList{2}
                                << QVariantList{};
}

// A test stands in for a device: the actions reach the page through Input alone.
void GamePageTest::actionsFromADevice()
{
    QFETCH(int, action);
    QFETCH(QByteArray, signal);
    QFETCH(QVariantList, onPress);
    QFETCH(QVariantList, onRelease);

    openPage();
    publish(prop::daanvisible, 1);
    QSignalSpy spy(controller.get(), signal.constData());
    input::actions().press(Action(action));
    QVERIFY(spy.count() >= 1);
    QCOMPARE(spy.first().first(), onPress.first());
    spy.clear();
    input::actions().release(Action(action));
    QTest::qWait(40); // a held walk would be resent by now
    QCOMPARE(spy.count(), onRelease.size());
    for (int i = 0; i < onRelease.size(); ++i)
        QCOMPARE(spy.at(i).first(), onRelease.at(i));

    // An open question takes every action but its own (Confirm presses its 取消).
    if (action == int(Action::Confirm))
        return;
    input::actions().press(Action::Cancel);
    QVERIFY(item("returnDialog")->property("open").toBool());
    input::actions().press(Action(action));
    QCOMPARE(spy.count(), onRelease.size());
    input::actions().press(Action::Cancel);
    QVERIFY(!item("returnDialog")->property("open").toBool());
}

// The pad's way round the page: Start opens the bar, the d-pad walks it, A presses.
void GamePageTest::deviceWalksTheFocusRing()
{
    openPage();
    QSignalSpy autoSpy(controller.get(), &MainWindow::AutoChanged);
    input::actions().press(Action::Menu);
    QVERIFY(item("menuBar")->isVisible());
    QVERIFY(item("menuSave")->hasActiveFocus());
    for (int i = 0; i < 4; ++i)
        input::actions().press(Action::FocusNext);
    input::actions().press(Action::FocusPrevious);
    QVERIFY(item("menuAuto")->hasActiveFocus());
    input::actions().press(Action::Confirm);
    QCOMPARE(autoSpy.count(), 1);
    QVERIFY(!item("menuBar")->isVisible());
    QVERIFY(view->rootObject()->hasActiveFocus());

    // In a question the ring stays on its two buttons.
    input::actions().press(Action::Cancel);
    input::actions().press(Action::FocusNext);
    QVERIFY(item("returnConfirm")->hasActiveFocus());
    input::actions().press(Action::FocusNext);
    QVERIFY(item("returnCancel")->hasActiveFocus());
    input::actions().press(Action::Confirm);
    QVERIFY(!item("returnDialog")->property("open").toBool());
}

void GamePageTest::deviceTellsOfTheInterlude()
{
    openPage();
    QVERIFY(!input::actions().interlude());
    publish(prop::sjvisible, 1);
    QVERIFY(input::actions().interlude());
    view.reset();
    QVERIFY(!input::actions().interlude());
}

// A gamepad on the real page: its buttons and sticks arrive as the keys' actions.
void GamePageTest::padPlaysThePage()
{
    openPage();
    input::Pad pad(input::actions());
    QSignalSpy next(controller.get(), SIGNAL(nextChanged(int)));
    pad.button(input::Pad::A, true);
    pad.button(input::Pad::A, false);
    QCOMPARE(next.count(), 1);
    pad.button(input::Pad::Y, true);
    QVERIFY(item("backlog")->property("open").toBool());
    pad.button(input::Pad::B, true);
    QVERIFY(!item("backlog")->property("open").toBool());

    publish(prop::sjvisible, 1);
    publish(prop::sja1x, 100);
    publish(prop::sja1y, 300);
    QSignalSpy walk(controller.get(), SIGNAL(adChanged(int)));
    QSignalSpy aim(controller.get(), SIGNAL(weizhiChanged(float, float)));
    QSignalSpy fire(controller.get(), SIGNAL(fsChanged(int)));
    pad.axis(input::Pad::LeftX, 0.9);
    QVERIFY(walk.count() >= 1);
    QCOMPARE(walk.first().first().toInt(), 2);
    pad.axis(input::Pad::RightX, -1);
    QVERIFY(aim.count() >= 1);
    QVERIFY(aim.last().first().toFloat() < 100); // aimed to the figure's left
    pad.axis(input::Pad::RightTrigger, 1);
    QVERIFY(fire.count() >= 1);
    QCOMPARE(fire.first().first().toInt(), 1);
    pad.reset();
}

QTEST_MAIN(GamePageTest)
#include "tst_gamepage.moc"
