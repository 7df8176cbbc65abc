// A gamepad's buttons and sticks reach the player's actions, or the keyboard's
// ring where no page takes actions; fed by hand, as no pad is plugged in here.
#include "app/qmltypes.h"
#include "input/actions.h"
#include "input/pad.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QWindow>
#include <QtTest>

using input::Actions;
using input::Pad;

namespace {

// One input to the pad: a button (axis < 0) or an axis and its value.
struct Touch {
    int control;
    double value;
    bool isAxis;
};
Touch press(Pad::Button b) { return {b, 1, false}; }
Touch let(Pad::Button b) { return {b, 0, false}; }
Touch tilt(Pad::Axis a, double v) { return {a, v, true}; }

class KeyWindow : public QWindow
{
public:
    QStringList keys;

protected:
    void keyPressEvent(QKeyEvent *e) override { keys << QStringLiteral("+%1").arg(e->key(), 0, 16); }
    void keyReleaseEvent(QKeyEvent *e) override { keys << QStringLiteral("-%1").arg(e->key(), 0, 16); }
};

} // namespace

Q_DECLARE_METATYPE(QList<Touch>)

class TestGamepad : public QObject
{
    Q_OBJECT

private slots:
    void actions_data();
    void actions();
    void lostPadLetsGo();
    void aimsOnlyInAnInterlude();
    void keysWhereNoPageTakesActions();
    void aPageInQmlTakesActions();
};

void TestGamepad::actions_data()
{
    QTest::addColumn<bool>("interlude");
    QTest::addColumn<QList<Touch>>("touches");
    QTest::addColumn<QStringList>("seen");

    const auto P = [](Actions::Action a) { return QStringLiteral("+%1").arg(int(a)); };
    const auto R = [](Actions::Action a) { return QStringLiteral("-%1").arg(int(a)); };
    QTest::newRow("A steps or presses, B cancels")
        << false << QList<Touch>{press(Pad::A), let(Pad::A), press(Pad::B)}
        << QStringList{P(Actions::Confirm), R(Actions::Confirm), P(Actions::Cancel)};
    QTest::newRow("X hides the box, Y the backlog, Start the menu")
        << false << QList<Touch>{press(Pad::X), press(Pad::Y), press(Pad::Start)}
        << QStringList{P(Actions::HideBox), P(Actions::Backlog), P(Actions::Menu)};
    QTest::newRow("shoulders page back and forward")
        << false << QList<Touch>{press(Pad::L1), press(Pad::R1)}
        << QStringList{P(Actions::Back), P(Actions::Forward)};
    QTest::newRow("trigger held skips until let go, past a half-way wobble")
        << false << QList<Touch>{tilt(Pad::RightTrigger, 0.9), tilt(Pad::RightTrigger, 0.5), tilt(Pad::RightTrigger, 0.1)}
        << QStringList{P(Actions::SkipHeld), R(Actions::SkipHeld)};
    QTest::newRow("d-pad and stick move the ring, once per push")
        << false
        << QList<Touch>{press(Pad::Down), tilt(Pad::LeftX, 0.8), tilt(Pad::LeftX, 0.9), tilt(Pad::LeftX, 0.5),
                        tilt(Pad::LeftX, 0.1), tilt(Pad::LeftY, -0.7)}
        << QStringList{P(Actions::FocusNext), P(Actions::FocusNext), R(Actions::FocusNext),
                       P(Actions::FocusPrevious)};
    QTest::newRow("interlude: the stick walks, A jumps, the trigger fires")
        << true
        << QList<Touch>{tilt(Pad::LeftX, -0.8), tilt(Pad::LeftX, 0.8), press(Pad::A), tilt(Pad::RightTrigger, 1)}
        << QStringList{P(Actions::WalkLeft), R(Actions::WalkLeft), P(Actions::WalkRight), P(Actions::Jump),
                       P(Actions::Fire)};
    QTest::newRow("interlude: the story's own buttons do nothing")
        << true << QList<Touch>{press(Pad::X), press(Pad::Y), press(Pad::L1)} << QStringList{};
}

void TestGamepad::actions()
{
    QFETCH(bool, interlude);
    QFETCH(QList<Touch>, touches);
    QFETCH(QStringList, seen);

    Actions to;
    to.setInterlude(interlude);
    QStringList got;
    connect(&to, &Actions::pressed, this, [&got](Actions::Action a) { got << QStringLiteral("+%1").arg(int(a)); });
    connect(&to, &Actions::released, this, [&got](Actions::Action a) { got << QStringLiteral("-%1").arg(int(a)); });
    Pad pad(to);
    for (const Touch &t : touches) {
        if (t.isAxis)
            pad.axis(Pad::Axis(t.control), t.value);
        else
            pad.button(Pad::Button(t.control), t.value > 0);
    }
    QCOMPARE(got, seen);
}

void TestGamepad::lostPadLetsGo()
{
    Actions to;
    QList<Actions::Action> released;
    connect(&to, &Actions::pressed, this, [] {});
    connect(&to, &Actions::released, this, [&released](Actions::Action a) { released << a; });
    Pad pad(to);
    pad.axis(Pad::RightTrigger, 1);
    to.setInterlude(true); // what a held button began ends as it began
    pad.reset();
    QCOMPARE(released, QList<Actions::Action>{Actions::SkipHeld});
    // Pressed again after the loss, it starts anew.
    pad.axis(Pad::RightTrigger, 1);
    QCOMPARE(released.size(), 1);
}

void TestGamepad::aimsOnlyInAnInterlude()
{
    Actions to;
    QSignalSpy aimed(&to, &Actions::aimed);
    Pad pad(to);
    pad.axis(Pad::RightX, 0.9);
    QCOMPARE(aimed.count(), 0);
    to.setInterlude(true);
    pad.axis(Pad::RightY, -0.3);
    pad.axis(Pad::RightX, 0.2); // a stick let back towards the middle keeps its aim
    QCOMPARE(aimed.count(), 1);
    QCOMPARE(aimed.at(0).at(0).toDouble(), 0.9);
    QCOMPARE(aimed.at(0).at(1).toDouble(), -0.3);
}

void TestGamepad::keysWhereNoPageTakesActions()
{
    KeyWindow window;
    window.resize(100, 100);
    window.show();
    window.requestActivate();
    QTRY_COMPARE(QGuiApplication::focusWindow(), &window);

    Actions to;
    Pad pad(to);
    pad.button(Pad::Down, true);
    pad.button(Pad::Down, false);
    pad.button(Pad::Up, true);
    pad.button(Pad::A, true);
    pad.button(Pad::B, true);
    pad.button(Pad::X, true); // nothing on a page without a story
    QCOMPARE(window.keys, (QStringList{QStringLiteral("+%1").arg(Qt::Key_Tab, 0, 16),
                                       QStringLiteral("-%1").arg(Qt::Key_Tab, 0, 16),
                                       QStringLiteral("+%1").arg(Qt::Key_Backtab, 0, 16),
                                       QStringLiteral("+%1").arg(Qt::Key_Return, 0, 16),
                                       QStringLiteral("+%1").arg(Qt::Key_Escape, 0, 16)}));
}

void TestGamepad::aPageInQmlTakesActions()
{
    app::registerQmlTypes();
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick 2.9\nimport Solvane 1.0\n"
                      "Item { property int got: -1\n"
                      "  Connections { target: Input; function onPressed(action) { got = action } } }",
                      QUrl());
    std::unique_ptr<QObject> page(component.create());
    QVERIFY2(page, qPrintable(component.errorString()));

    Pad pad(input::actions());
    QVERIFY(input::actions().taken());
    pad.button(Pad::Y, true);
    QCOMPARE(page->property("got").toInt(), int(Actions::Backlog));
    page.reset();
    QVERIFY(!input::actions().taken());
}

QTEST_MAIN(TestGamepad)
#include "tst_gamepad.moc"
