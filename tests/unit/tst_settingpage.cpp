#include "pagesupport.h"
#include "stage/interludestate.h"

#include <QQmlEngine>
#include <QTimer>

// The settings page loaded from the resources, offscreen, with a real
// controller and the settings handlers behind it.
class TestSettingPage : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void layout_data();
    void layout();
    void slidersStartAtLiveValues();
    void releaseReachesGame_data();
    void releaseReachesGame();
    void displayButtons_data();
    void displayButtons();
    void failedRestartIsShown();
    void unstoredModeIsNotMarked();
    void back_data();
    void back();
    void textFormSwitchesLabels();

private:
    QQuickItem *item(const QString &name) const;
    QPoint sceneOf(QQuickItem *i, QPointF local) const;

    bool restartWorks = true;
};

void TestSettingPage::initTestCase()
{
    Q_INIT_RESOURCE(qml);
    if (!stage::interludeTimer())
        stage::interludeTimer() = new QTimer;
}

void TestSettingPage::init()
{
    PageStart start;
    start.settingFile = "1\n0.8\n0.3\n0.6\n";
    start.loadSettings = true;
    start.freshState = true;
    buildPage(start);
    controller->setVzi(0.8f);
    controller->setVhang(0.3f);
    controller->setInliang(0.6f);
    restarts = 0;
    restartWorks = true;
    game.hooks.restartSelf = [this] {
        ++restarts;
        return restartWorks;
    };
    game.hooks.quit = [] {};
    wirePage(true);
    QVERIFY(openPage(QStringLiteral("setting")));
}

void TestSettingPage::cleanup()
{
    tearDownPage();
    qunsetenv("QT_SCALE_FACTOR");
}

QQuickItem *TestSettingPage::item(const QString &name) const
{
    return view->rootObject()->findChild<QQuickItem *>(name);
}

QPoint TestSettingPage::sceneOf(QQuickItem *i, QPointF local) const
{
    return i->mapToScene(local).toPoint();
}

void TestSettingPage::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("rect"); // width and height 0: not checked
    QTest::addColumn<QString>("text");

    QTest::newRow("background") << "pageBackground" << QRectF(0, 0, 720, 480) << "";
    QTest::newRow("panel") << "panel" << QRectF(10, 10, 700, 460) << "";
    QTest::newRow("title") << "pageTitle" << QRectF(303, 22, 0, 0) << "设置";
    QTest::newRow("back") << "backButton" << QRectF(30, 31, 96, 47) << "";
    QTest::newRow("小窗") << "windowedButton" << QRectF(134, 142, 60, 40) << "小窗";
    QTest::newRow("放大") << "maximisedButton" << QRectF(205, 142, 60, 40) << "放大";
    QTest::newRow("全屏") << "fullScreenButton" << QRectF(276, 142, 60, 40) << "全屏";
    QTest::newRow("text speed") << "textSpeedSlider" << QRectF(399, 153, 192, 35) << "";
    QTest::newRow("auto speed") << "autoSpeedSlider" << QRectF(399, 230, 192, 35) << "";
    QTest::newRow("volume") << "volumeSlider" << QRectF(139, 230, 192, 35) << "";
    QTest::newRow("text speed label") << "textSpeedLabel" << QRectF(446, 138, 0, 0) << "文字显示速度";
    QTest::newRow("auto speed label") << "autoSpeedLabel" << QRectF(447, 216, 0, 0) << "自动模式速度";
    QTest::newRow("volume label") << "volumeLabel" << QRectF(187, 216, 0, 0) << "背景音乐音量";
    QTest::newRow("文字") << "textFormRow" << QRectF(441, 408, 0, 0) << "";
    QTest::newRow("朗读") << "readAloudRow" << QRectF(441, 364, 0, 0) << "";
}

void TestSettingPage::layout()
{
    QFETCH(QString, name);
    QFETCH(QRectF, rect);
    QFETCH(QString, text);

    QQuickItem *i = item(name);
    QVERIFY(i);
    QCOMPARE(i->mapToScene(QPointF(0, 0)), rect.topLeft());
    if (rect.width() > 0) {
        QCOMPARE(i->width(), rect.width());
        QCOMPARE(i->height(), rect.height());
    }
    if (!text.isEmpty())
        QCOMPARE(i->property("text").toString(), text);
}

// Each slider shows its live value, and loading the page writes nothing.
void TestSettingPage::slidersStartAtLiveValues()
{
    QCOMPARE(item("textSpeedSlider")->property("value").toReal(), qreal(0.8f));
    QCOMPARE(item("autoSpeedSlider")->property("value").toReal(), qreal(0.3f));
    QCOMPARE(item("volumeSlider")->property("value").toReal(), qreal(0.6f));
    QCOMPARE(scratch->read("setting.txt"), QByteArray("1\n0.8\n0.3\n0.6\n"));
    // Each slider says its value.
    QCOMPARE(item("textSpeedSliderValue")->property("text").toString(), QStringLiteral("80%"));
    QCOMPARE(item("autoSpeedSliderValue")->property("text").toString(), QStringLiteral("30%"));
    QCOMPARE(item("volumeSliderValue")->property("text").toString(), QStringLiteral("60%"));

    // The handle sits where the value says: x = value × (192 - 16).
    QQuickItem *handle = item("textSpeedSlider")->property("handle").value<QQuickItem *>();
    QVERIFY(handle);
    QCOMPARE(handle->x(), qreal(0.8f) * 176);
    QCOMPARE(handle->y(), 10.0);
    QCOMPARE(handle->width(), 16.0);
}

void TestSettingPage::releaseReachesGame_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("line");

    QTest::newRow("text speed") << "textSpeedSlider" << 2;
    QTest::newRow("auto speed") << "autoSpeedSlider" << 3;
    QTest::newRow("volume") << "volumeSlider" << 4;
}

void TestSettingPage::releaseReachesGame()
{
    QFETCH(QString, slider);
    QFETCH(int, line);

    QQuickItem *s = item(slider);
    QSignalSpy vzi(controller.get(), &MainWindow::vziChanged);
    QSignalSpy vhang(controller.get(), &MainWindow::vhangChanged);
    QSignalSpy inliang(controller.get(), &MainWindow::inliangChanged);
    auto calls = [&] { return vzi.count() + vhang.count() + inliang.count(); };

    // A quarter of the way: 8 + 0.25 × 176 from the slider's left edge.
    const QPoint start = sceneOf(s, QPointF(8 + 0.8 * 176, 17));
    const QPoint quarter = sceneOf(s, QPointF(52, 17));
    QTest::mousePress(view.get(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(view.get(), quarter);
    QCOMPARE(calls(), 0); // not live: nothing while the handle is held
    QTest::mouseRelease(view.get(), Qt::LeftButton, Qt::NoModifier, quarter);
    QCOMPARE(calls(), 1);

    const float expected = 0.25f;
    const char *names[] = {"textSpeed", "autoSpeed", "volume"};
    const float live[] = {controller->getVzi(), controller->getVhang(), controller->getInliang()};
    QCOMPARE(live[line - 2], expected);
    QCOMPARE(gameSettings->property(names[line - 2]).toFloat(), expected);
    QCOMPARE(scratch->read("setting.txt").split('\n').at(line - 1), QByteArray("0.250000"));
    QCOMPARE(s->property("value").toReal(), qreal(expected));
}

void TestSettingPage::displayButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("mode");

    QTest::newRow("小窗") << "windowedButton" << 0;
    QTest::newRow("放大") << "maximisedButton" << 2;
    // The file said full screen, so the controller already holds 1.
    QTest::newRow("全屏 when full screen") << "fullScreenButton" << -1;
}

void TestSettingPage::displayButtons()
{
    QFETCH(QString, button);
    QFETCH(int, mode);

    QSignalSpy modes(controller.get(), &MainWindow::suofangChanged);
    QQuickItem *b = item(button);
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, sceneOf(b, QPointF(30, 20)));
    if (mode < 0) {
        QCOMPARE(modes.count(), 0);
        QTest::qWait(200);
        QCOMPARE(restarts, 0);
        return;
    }
    QCOMPARE(modes.count(), 1);
    QCOMPARE(modes.at(0).at(0).toInt(), mode);
    QCOMPARE(scratch->read("setting.txt").split('\n').at(0), QByteArray::number(mode));
    QTRY_COMPARE(restarts, 1);
    // The mode asked for is the one marked, and only it.
    for (const char *other : {"windowedButton", "maximisedButton", "fullScreenButton"})
        QCOMPARE(item(other)->property("current").toBool(), QString(other) == button);
}

void TestSettingPage::failedRestartIsShown()
{
    restartWorks = false;
    QQuickItem *notice = item("settingNotice");
    QVERIFY(notice);
    QVERIFY(!notice->isVisible());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("新的游戏进程没有启动"));
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, sceneOf(item("maximisedButton"), QPointF(30, 20)));
    QTRY_VERIFY(notice->isVisible());
    QVERIFY(notice->property("text").toString().contains(QStringLiteral("无法重新启动")));
}

// A mode that could not be stored changes nothing, and the buttons say so:
// the one marked is still the window's own.
void TestSettingPage::unstoredModeIsNotMarked()
{
    QVERIFY(QFile::remove("setting.txt"));
    QVERIFY(QDir().mkdir("setting.txt"));
    QQuickItem *notice = item("settingNotice");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("无法写入设置文件"));
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, sceneOf(item("maximisedButton"), QPointF(30, 20)));
    QTRY_VERIFY(notice->isVisible());
    QCOMPARE(notice->property("text").toString(), QStringLiteral("无法写入设置文件，显示模式没有改变"));
    QCOMPARE(controller->getSuofang(), 1);
    for (const char *other : {"windowedButton", "maximisedButton", "fullScreenButton"})
        QCOMPARE(item(other)->property("current").toBool(), QString(other) == QLatin1String("fullScreenButton"));
    QTest::qWait(200);
    QCOMPARE(restarts, 0);
    qunsetenv("QT_SCALE_FACTOR");
}

void TestSettingPage::back_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("starts"); // a new story begins only on the way to the title

    QTest::newRow("from the title") << "index" << "index" << 1;
    QTest::newRow("from the game") << "game" << "game" << 0;
}

void TestSettingPage::back()
{
    QFETCH(QString, source);
    QFETCH(QString, page);
    QFETCH(int, starts);

    controller->navigatesetting(source);
    QSignalSpy start(controller.get(), &MainWindow::Start);
    QSignalSpy toindex(controller.get(), &MainWindow::toindex);
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, sceneOf(item("backButton"), QPointF(48, 23)));
    QCOMPARE(controller->getCurrentPage(), page);
    QCOMPARE(start.count(), starts);
    QCOMPARE(toindex.count(), starts);
    if (page == "game")
        QCOMPARE(controller->getLastSource(), QStringLiteral("setting"));
}

// 繁體 turns the page's own words at once; 简体 turns them back.
void TestSettingPage::textFormSwitchesLabels()
{
    const auto labels = [this] {
        QStringList texts;
        for (const char *name : {"pageTitle", "textSpeedLabel", "volumeLabel", "boxOpacityLabel"})
            texts << item(name)->property("text").toString();
        return texts.join('|');
    };
    const auto click = [this](const char *name) {
        QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier,
                          sceneOf(requireItem(view->rootObject(), name), QPointF(26, 12)));
    };
    QCOMPARE(labels(), QStringLiteral("设置|文字显示速度|背景音乐音量|文本框不透明度"));
    click("textForm1");
    QCOMPARE(labels(), QStringLiteral("設定|文字顯示速度|背景音樂音量|文字框不透明度"));
    QVERIFY(requireItem(view->rootObject(), "textForm1")->property("chosen").toBool());
    QCOMPARE(scratch->read("setting.txt").split('\n').at(10), QByteArray("1"));
    click("textForm0");
    QCOMPARE(labels(), QStringLiteral("设置|文字显示速度|背景音乐音量|文本框不透明度"));
}

QTEST_MAIN(TestSettingPage)
#include "tst_settingpage.moc"
