#include "pagesupport.h"

// The title page loaded from the resources, offscreen, with a real controller.
class TestTitlePage : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void layout_data();
    void layout();
    void buttonsReachController_data();
    void buttonsReachController();
    void exitDialog();
    void keyboardWalksTheButtons();
    void titleButtonsAnswerHover_data();
    void titleButtonsAnswerHover();
    void titleStartsByKeyboard_data();
    void titleStartsByKeyboard();
};

void TestTitlePage::initTestCase()
{
    Q_INIT_RESOURCE(qml);
}

void TestTitlePage::init()
{
    PageStart start;
    start.settings = false;
    buildPage(start);
    wirePage(false);
    QVERIFY(openPage(QStringLiteral("index")));
    view->requestActivate();
    view->rootObject()->forceActiveFocus();
}

void TestTitlePage::cleanup()
{
    tearDownPage();
}

void TestTitlePage::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<QString>("label");

    QTest::newRow("title") << "titleText" << QPointF(304.5, 437.5) << 609.0 << "Solvane";
    QTest::newRow("start") << "startButton" << QPointF(665, 267) << 100.0 << "开始";
    QTest::newRow("load") << "loadButton" << QPointF(652, 307) << 100.0 << "读取";
    QTest::newRow("extras") << "extraButton" << QPointF(638, 347) << 100.0 << "鉴赏";
    QTest::newRow("settings") << "settingButton" << QPointF(627, 386) << 100.0 << "设置";
    QTest::newRow("exit") << "exitButton" << QPointF(614, 426) << 100.0 << "退出";
    QTest::newRow("exit dialog") << "exitDialog" << QPointF(353, 240) << 300.0 << "";
    QTest::newRow("background") << "titleBackground" << QPointF(360, 240) << 720.0 << "";
}

void TestTitlePage::layout()
{
    QFETCH(QString, name);
    QFETCH(QPointF, centre);
    QFETCH(qreal, width);
    QFETCH(QString, label);

    QQuickItem *i = item(qPrintable(name));
    QVERIFY(i);
    // Anchoring rounds an odd-sized item's edge to a whole pixel.
    const QPointF actual = i->mapToScene(QPointF(i->width() / 2, i->height() / 2));
    QVERIFY2(qAbs(actual.x() - centre.x()) <= 0.5 && qAbs(actual.y() - centre.y()) <= 0.5,
             qPrintable(QStringLiteral("centre at %1,%2").arg(actual.x()).arg(actual.y())));
    QCOMPARE(i->width(), width);
    if (!label.isEmpty()) {
        const QVariant direct = i->property("text");
        const QString shown = direct.toString().isEmpty() ? i->property("label").toString() : direct.toString();
        QCOMPARE(shown, label);
    }
}

void TestTitlePage::buttonsReachController_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("page");

    QTest::newRow("start") << "startButton" << "game";
    QTest::newRow("load") << "loadButton" << "load";
    QTest::newRow("extras") << "extraButton" << "extra";
    QTest::newRow("settings") << "settingButton" << "setting";
}

void TestTitlePage::buttonsReachController()
{
    QFETCH(QString, button);
    QFETCH(QString, page);

    QSignalSpy pageSpy(controller.get(), &MainWindow::currentPageChanged);
    QSignalSpy extra(controller.get(), &MainWindow::Extra);
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, centreOf(item(qPrintable(button))));
    QCOMPARE(pageSpy.count(), 1);
    QCOMPARE(controller->getCurrentPage(), page);
    QCOMPARE(extra.count(), page == "extra" ? 1 : 0);
    if (page != "extra")
        QCOMPARE(controller->getLastSource(), QStringLiteral("index"));
}

void TestTitlePage::exitDialog()
{
    QQuickItem *dialog = item("exitDialog");
    QSignalSpy exit(controller.get(), &MainWindow::exitChanged);
    QVERIFY(!dialog->isVisible());

    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, centreOf(item("exitButton")));
    QVERIFY(dialog->isVisible());
    QCOMPARE(item("exitCancel")->width() + item("exitConfirm")->width() + 20, 220.0);
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, centreOf(item("exitCancel")));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(exit.count(), 0);

    QTest::keyClick(view.get(), Qt::Key_Escape);
    QVERIFY(dialog->isVisible());
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, centreOf(item("exitConfirm")));
    QCOMPARE(exit.count(), 1);
    QCOMPARE(exit.at(0).at(0).toInt(), 1);
}

// Tab reaches 开始 first, the arrows walk on, each reached button wears the
// ring and asks to be read; Enter presses it.
void TestTitlePage::keyboardWalksTheButtons()
{
    QSignalSpy said(controller.get(), &MainWindow::Say);
    QSignalSpy load(controller.get(), &MainWindow::currentPageChanged);
    QTest::keyClick(view.get(), Qt::Key_Tab);
    QQuickItem *ring = item("startButton")->findChild<QQuickItem *>(QStringLiteral("focusRing"));
    QVERIFY(item("startButton")->hasActiveFocus());
    QVERIFY(ring && ring->isVisible());
    QCOMPARE(said.last().at(0).toString(), QStringLiteral("开始"));
    QTest::keyClick(view.get(), Qt::Key_Down);
    QVERIFY(item("loadButton")->hasActiveFocus());
    QVERIFY(!ring->isVisible());
    QCOMPARE(said.last().at(0).toString(), QStringLiteral("读取"));
    QTest::keyClick(view.get(), Qt::Key_Return);
    QCOMPARE(controller->getCurrentPage(), QStringLiteral("load"));
}

void TestTitlePage::titleButtonsAnswerHover_data()
{
    QTest::addColumn<QString>("button");
    for (const char *name : {"startButton", "loadButton", "extraButton", "settingButton", "exitButton"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestTitlePage::titleButtonsAnswerHover()
{
    QFETCH(QString, button);

    startStory();
    QVERIFY(openPage(QStringLiteral("index"), true));
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

void TestTitlePage::titleStartsByKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("exitDialogOpen");
    QTest::addColumn<QString>("page");

    QTest::newRow("Return") << int(Qt::Key_Return) << false << "game";
    QTest::newRow("Enter") << int(Qt::Key_Enter) << false << "game";
    QTest::newRow("Return under the exit dialog") << int(Qt::Key_Return) << true << "index";
    QTest::newRow("Space is not start") << int(Qt::Key_Space) << false << "index";
}

void TestTitlePage::titleStartsByKeyboard()
{
    QFETCH(int, key);
    QFETCH(bool, exitDialogOpen);
    QFETCH(QString, page);

    startStory();
    QVERIFY(openPage(QStringLiteral("index"), true));
    if (exitDialogOpen)
        this->key(Qt::Key_Escape);
    this->key(key);
    QCOMPARE(controller->getCurrentPage(), page);
    if (page == QLatin1String("game"))
        QCOMPARE(controller->getLastSource(), QStringLiteral("index")); // with the opening cover
}

QTEST_MAIN(TestTitlePage)
#include "tst_titlepage.moc"
