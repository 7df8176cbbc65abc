#include "stage/interlude.h"
#include "stage/staging.h"
#include "story/autoskip.h"
#include "story/readlines.h"
#include "storyfixture.h"

#include <QtTest>

#include <algorithm>

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
    Timers armed = running(f.game);
    armed.erase(std::remove_if(armed.begin(), armed.end(), [&](const auto &t) { return before.contains(t); }), armed.end());
    QCOMPARE(!armed.isEmpty(), timer);

    core::resetProcessState();
    for (const QPointer<QTimer> &t : qAsConst(armed))
        QVERIFY(!t || !t->isActive());

    const prop::Name told[] = {prop::bVisible, prop::fsa1visible, prop::fsa2visible, prop::currentText};
    for (prop::Name name : told)
        f.game.publish(name, 1);
    QTest::qWait(300);
    for (int i = 0; i < 30; ++i)
        stage::clockedStep(f.game);
    for (prop::Name name : told)
        QCOMPARE(f.property(name), QVariant(1));
    QCOMPARE(stage::interlude().companionFiring, 0);
}

QTEST_MAIN(TestProcessState)
#include "tst_processstate.moc"
