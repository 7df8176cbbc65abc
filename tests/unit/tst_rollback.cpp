// Going back to an earlier line: from the backlog, from a line paged back to
// with the wheel, and across a display-mode change.
#include "pagesupport.h"
#include "saves/resume.h"
#include "saves/rollback.h"
#include "story/backlog.h"
#include "story/linetables.h"
#include "storyfixture.h"

#include <QtTest>

namespace {

core::ProcessState &p()
{
    return core::process();
}

// From the line before `from`: 0 a click, n answer n.
void play(StoryFixture &f, int from, const QList<int> &steps)
{
    f.controller->navigategame(QStringLiteral("index"));
    f.at(from - 1);
    f.controller->next1();
    for (int step : steps) {
        f.finishTyping();
        if (step > 0)
            f.controller->da1(step);
        else
            f.controller->next1();
    }
    f.finishTyping();
}

} // namespace

class TestRollback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(qml); }
    void returnToRow_data();
    void returnToRow();
    void intoAMapStartsItAgain();
    void acrossADisplayModeChange_data();
    void acrossADisplayModeChange();
    void onThePage_data();
    void onThePage();
};

void TestRollback::returnToRow_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("returns");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("mistakes");
    QTest::addColumn<QVector<int>>("backlog");

    QTest::newRow("a plain line") << 1 << QList<int>{0, 0} << 0 << true << 1 << 0 << QVector<int>{1};
    QTest::newRow("the line it stands on") << 1 << QList<int>{0, 0} << 2 << false << 3 << 0 << QVector<int>{1, 2, 3};
    // 261, answer 1 shows 262 and goes on at 264: its words lead back to the question.
    QTest::newRow("an answer's words") << 259 << QList<int>{0, 0, 1, 0} << 3 << true << 261 << 0
                                       << QVector<int>{259, 260, 261};
    // 533, answer 1 is wrong: 534, the mistake line, the question again.
    QTest::newRow("a wrong answer undone") << 532 << QList<int>{0, 1, 0, 0, 2} << 3 << true << 533 << 0
                                           << QVector<int>{532, 533};
    QTest::newRow("the question asked again") << 532 << QList<int>{0, 1, 0, 0, 2} << 4 << true << 533 << 1
                                              << QVector<int>{532, 533, 534, 851, 533};
}

void TestRollback::returnToRow()
{
    QFETCH(int, from);
    QFETCH(QList<int>, steps);
    QFETCH(int, row);
    QFETCH(bool, returns);
    QFETCH(int, cursor);
    QFETCH(int, mistakes);
    QFETCH(QVector<int>, backlog);

    StoryFixture f;
    play(f, from, steps);
    QCOMPARE(saves::returnToRow(f.game, row), returns);
    QCOMPARE(story::state().currentLine, cursor);
    QCOMPARE(story::state().viewLine, cursor);
    QCOMPARE(story::state().mistakeCount, mistakes);
    QVERIFY(!story::state().mistakePending);
    QCOMPARE(p().shownLines, backlog);
    QCOMPARE(p().shownPlaces.size(), backlog.size());
    // Back at a question, it is asked again.
    f.finishTyping();
    QCOMPARE(f.shown(prop::daanvisible), returns && story::isWaitingLine(cursor));
}

// A map half played starts again, with the tries left there, as a save would.
void TestRollback::intoAMapStartsItAgain()
{
    StoryFixture f;
    p().shownLines = {686, 687, 689};
    p().shownPlaces = {{686, 2, 0, 3, 0, 0}, {687, 2, 0, 3, 0, 0}, {689, 2, 0, 1, 1, 0}};
    QVERIFY(saves::returnToRow(f.game, 2));
    QCOMPARE(story::state().currentLine, 687);
    QCOMPARE(story::state().mistakeCount, 2);
    QCOMPARE(p().interlude.triesLeft, 1);
    QCOMPARE(p().interlude.playerCaught, 1);
    QCOMPARE(p().interlude.interludeMap, 1);
    QCOMPARE(p().shownLines, (QVector<int>{686, 687}));
}

void TestRollback::acrossADisplayModeChange_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::newRow("places kept") << false;
    QTest::newRow("places damaged") << true;
}

void TestRollback::acrossADisplayModeChange()
{
    QFETCH(bool, damaged);

    StoryFixture f;
    play(f, 259, {0, 0, 2});
    QVERIFY(saves::writeResumeRecord(f.game));
    QByteArray record = f.dir.readText(QString::fromLatin1(saves::kResumeFile));
    if (damaged)
        f.dir.write(QString::fromLatin1(saves::kResumeFile), record.replace("places ", "places x"));
    core::resetProcessState();
    story::scriptLines() = StoryFixture::numberedScript();
    QVERIFY(saves::resumeFromRecord(f.game));
    // The line resumed at is shown again after what was read before.
    QCOMPARE(p().shownLines, (QVector<int>{259, 260, 261, 263, 852}));
    QCOMPARE(story::canReturnTo(2), !damaged);
    QCOMPARE(saves::returnToRow(f.game, 0), !damaged);
    QCOMPARE(story::state().currentLine, damaged ? 852 : 259);
}

void TestRollback::onThePage_data()
{
    QTest::addColumn<QString>("how");   // wheel: paged back, then a click; list: the backlog's row; keys: Up, Enter
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("back");      // wheel turns, or Up presses
    QTest::addColumn<int>("asked");     // the line the question is about; 0 no question
    QTest::addColumn<int>("cursor");    // after 确定, or after the click that asked nothing

    QTest::newRow("wheel, a line shown") << "wheel" << 1 << 2 << 3 << 3;
    // After 261 answer 2 the story goes on at 853: 852 was never shown.
    QTest::newRow("wheel, a line passed over") << "wheel" << 259 << 2 << 0 << 854;
    QTest::newRow("backlog row clicked") << "list" << 1 << 0 << 2 << 2;
    QTest::newRow("backlog, Up and Enter") << "keys" << 1 << 2 << 3 << 3;
}

void TestRollback::onThePage()
{
    QFETCH(QString, how);
    QFETCH(int, from);
    QFETCH(int, back);
    QFETCH(int, asked);
    QFETCH(int, cursor);

    StoryFixture f;
    MainWindow &controller = *f.controller;
    QQuickView view(f.engine.get(), nullptr);
    view.resize(720, 480);
    controller.navigategame(QStringLiteral("load"));
    QVERIFY(showPage(&view, QStringLiteral("game")));
    view.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    const auto item = [&view](const QString &name) { return requireItem(view.rootObject(), name); };
    f.at(from - 1);
    for (int i = 0; i < 5; ++i) {
        f.finishTyping();
        story::state().currentLine == 261 ? controller.da1(2) : controller.next1();
    }
    f.finishTyping();

    QQuickItem *dialog = item("lineReturnDialog");
    if (how == "wheel") {
        for (int i = 0; i < back; ++i)
            controller.wheel1(1);
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(360, 200));
    } else {
        QTest::keyClick(&view, Qt::Key_L);
        QQuickItem *list = item("backlogList");
        if (how == "keys") {
            for (int i = 0; i < back; ++i)
                QTest::keyClick(&view, Qt::Key_Up);
            QTest::keyClick(&view, Qt::Key_Return);
        } else {
            QQuickItem *row = nullptr;
            QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, row), Q_ARG(int, asked - 1));
            QQuickItem *area = row->findChild<QQuickItem *>("backlogRowArea");
            QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier,
                              area->mapToScene(QPointF(area->width() / 2, area->height() / 2)).toPoint());
        }
    }
    QCOMPARE(dialog->property("open").toBool(), asked > 0);
    if (asked > 0) {
        // While it asks, nothing moves; 确定 takes the story back and the backlog away.
        QTest::keyClick(&view, Qt::Key_PageDown);
        QVERIFY(dialog->property("open").toBool());
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier,
                          item("lineReturnConfirm")->mapToScene(QPointF(10, 10)).toPoint());
        QVERIFY(!dialog->property("open").toBool());
        QVERIFY(!item("backlog")->isVisible());
        QCOMPARE(p().shownLines.constLast(), asked);
    }
    QCOMPARE(story::state().currentLine, cursor);
}

QTEST_MAIN(TestRollback)
#include "tst_rollback.moc"
