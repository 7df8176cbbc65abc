#include "stage/interlude.h"
#include "stage/staging.h"
#include "story/autoskip.h"
#include "story/readlines.h"
#include "storyfixture.h"

#include <QtTest>

using Timers = QList<QPointer<QTimer>>;

class TestProcessState : public QObject
{
    Q_OBJECT

private slots:
    void resetLeavesNothingWaiting_data();
    void resetLeavesNothingWaiting();
};

namespace {

// The timers of the run that are counting down: those the engine owns, and
// the typing timer, which has no owner.
Timers running(const Game &game)
{
    Timers found;
    for (QTimer *timer : game.lifetime()->findChildren<QTimer *>()) {
        if (timer->isActive())
            found << timer;
    }
    if (QTimer *typing = story::typeTimer(); typing->isActive())
        found << typing;
    return found;
}

} // namespace

void TestProcessState::resetLeavesNothingWaiting_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("timer"); // the wait is a timer of its own

    QTest::newRow("background hide") << "hide" << true;
    QTest::newRow("scripted shots' end") << "shots" << true;
    QTest::newRow("read-lines write") << "read" << true;
    QTest::newRow("typing") << "typing" << true;
    QTest::newRow("auto") << "auto" << true;
    QTest::newRow("skip") << "skip" << true;
    QTest::newRow("companion's fire") << "fire" << false;
}

// Whatever an earlier run left waiting must not reach the next: the page keeps
// what it was told after the reset, and no timer of the earlier run still runs.
void TestProcessState::resetLeavesNothingWaiting()
{
    QFETCH(QString, what);
    QFETCH(bool, timer);

    StoryFixture f;
    const Timers before = running(f.game);
    if (what == "hide") {
        stage::staging().bVisible = 1;
        f.at(803);
        stage::stageLine(f.game, 0);
    } else if (what == "shots") {
        f.at(755);
        stage::stageLine(f.game, 0);
    } else if (what == "read") {
        story::markLineRead(f.game, 5);
    } else if (what == "typing") {
        story::typeLine(f.game, 5);
    } else if (what == "auto") {
        story::setAuto(f.game, 1);
    } else if (what == "skip") {
        story::setSkip(f.game, 1);
    } else if (what == "fire") {
        // An enemy in the companion's reach: it fires a little later.
        stage::InterludeState &in = stage::interlude();
        in.interludeMap = 1;
        in.sja1x = 669;
        in.sja2x = 600;
        in.enemyPositions = in.enemyHomes = {900, 310};
        in.enemyCount = 1;
        stage::fitEnemyMotion();
        stage::clockedStep(f.game);
    }
    Timers armed;
    for (const QPointer<QTimer> &t : running(f.game)) {
        if (!before.contains(t))
            armed << t;
    }
    QCOMPARE(!armed.isEmpty(), timer);

    core::resetProcessState();
    for (const QPointer<QTimer> &t : qAsConst(armed))
        QVERIFY(!t || !t->isActive());

    f.game.publish(prop::bVisible, 1);
    f.game.publish(prop::fsa1visible, 1);
    f.game.publish(prop::fsa2visible, 1);
    f.game.publish(prop::currentText, QStringLiteral("after the reset"));
    QTest::qWait(300);
    QCOMPARE(f.property(prop::bVisible), QVariant(1));
    QCOMPARE(f.property(prop::fsa1visible), QVariant(1));
    QCOMPARE(f.property(prop::fsa2visible), QVariant(1));
    QCOMPARE(f.text(), QStringLiteral("after the reset"));
    for (int i = 0; i < 30; ++i)
        stage::clockedStep(f.game);
    QCOMPARE(stage::interlude().companionFiring, 0);
    QCOMPARE(f.property(prop::fsa2visible), QVariant(1));
}

QTEST_MAIN(TestProcessState)
#include "tst_processstate.moc"
