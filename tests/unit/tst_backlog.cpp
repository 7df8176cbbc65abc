#include "pagesupport.h"
#include "story/storyview.h"

#include <QtTest>
#include <QWheelEvent>

// The backlog through the real story page, with the controller wired as
// start-up wires it.
class TestBacklog : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(qml); }
    void init() { makeScratch(); }
    void cleanup() { tearDownPage(); }

    void backlogRows_data();
    void backlogRows();
    void backlogOpensAndCloses_data();
    void backlogOpensAndCloses();
    void backlogNotUnderTheCover();
    void rowsReadInTheScriptChosen();
};

void TestBacklog::backlogRows_data()
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

void TestBacklog::backlogRows()
{
    QFETCH(QList<int>, steps);
    QFETCH(int, from);
    QFETCH(QList<int>, shown);

    startStory();
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
    const QVariantList rows = story::storyView().backlogRows();
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
    QCOMPARE(story::storyView().backlogRows().size(), 0);
}

void TestBacklog::backlogOpensAndCloses_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("closer");

    QTest::newRow("L, Escape") << "L" << "escape";
    QTest::newRow("L, right click") << "L" << "right";
    QTest::newRow("menu bar, L") << "menu" << "L";
    QTest::newRow("menu bar, Escape") << "menu" << "escape";
}

void TestBacklog::backlogOpensAndCloses()
{
    QFETCH(QString, opener);
    QFETCH(QString, closer);

    startStory();
    QVERIFY(openGame());
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

void TestBacklog::backlogNotUnderTheCover()
{
    startStory();
    controller->navigategame(QStringLiteral("index"));
    QVERIFY(openPage(QStringLiteral("game"), true));
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

// Switched to 繁體 while it is open, the backlog reads anew.
void TestBacklog::rowsReadInTheScriptChosen()
{
    startStory();
    core::process().scriptLines[0] = "<1>说话";
    controller->navigategame(QStringLiteral("index"));
    controller->next1();
    controller->backlog1(1);
    QCOMPARE(story::storyView().backlogRows().value(0).toMap().value(QStringLiteral("text")).toString(),
             QStringLiteral("说话"));
    QSignalSpy changed(&story::storyView(), &story::StoryView::backlogRowsChanged);
    controller->textForm1(1);
    QVERIFY(!changed.isEmpty());
    QCOMPARE(story::storyView().backlogRows().value(0).toMap().value(QStringLiteral("text")).toString(),
             QStringLiteral("說話"));
}

QTEST_MAIN(TestBacklog)
#include "tst_backlog.moc"
