#include "app/startup.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/state.h"
#include "music/music.h"
#include "settings/displaymode.h"
#include "settings/settings.h"
#include "stage/interludestate.h"
#include "audiofixture.h"
#include "testsupport.h"

#include "music/player.h"
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTimer>

#include <limits>
#include <memory>

namespace {

enum Slider { TextSpeed, AutoSpeed, Volume };

const QByteArray kSettings = "0\n0.8\n0.3\n1\n";

} // namespace

// The settings handlers through the real controller, with a real player and
// hooks in place of the process: what a slider or a display button does to
// the game, the file and the page's properties.
class TestLiveSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sliderReachesGame_data();
    void sliderReachesGame();
    void heldValueWritesNothing_data();
    void heldValueWritesNothing();
    void nonFiniteIgnored_data();
    void nonFiniteIgnored();
    void unwritableFileDoesNotThrow_data();
    void unwritableFileDoesNotThrow();
    void displayModeRestarts_data();
    void displayModeRestarts();
    void quickChangesRestartOnce();
    void failedRestartKeepsRunning();
    void unstoredModeDoesNotRestart();
    void exitQuits();
    void textBoxLook_data();
    void textBoxLook();

private:
    void move(Slider slider, float value);
    float live(Slider slider) const;
    QByteArray line(int n) const;
    void startGame();

    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<settings::Settings> gameSettings;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<MainWindow> controller;
    std::unique_ptr<music::Player> player;
    Game game;
    int restarts = 0;
    int quits = 0;
    bool restartWorks = true;
};

void TestLiveSettings::initTestCase()
{
    if (!stage::interludeTimer())
        stage::interludeTimer() = new QTimer;
}

void TestLiveSettings::init()
{
    dir = std::make_unique<ScratchDir>();
    dir->write("setting.txt", kSettings);
    restarts = 0;
    quits = 0;
    restartWorks = true;
    core::resetProcessState();
}

// As start-up does it: the values from the file, then the controller.
void TestLiveSettings::startGame()
{
    gameSettings = std::make_unique<settings::Settings>();
    gameSettings->load();
    engine = std::make_unique<QQmlEngine>();
    controller = std::make_unique<MainWindow>(app::controllerStart(*gameSettings));
    player = std::make_unique<music::Player>();
    game = Game();
    game.engine = engine.get();
    game.controller = controller.get();
    game.settings = gameSettings.get();
    game.musicPlayer = player.get();
    player->setVolume(music::volumePercent(game.volume()));
    game.hooks.restartSelf = [this] {
        ++restarts;
        return restartWorks;
    };
    game.hooks.quit = [this] { ++quits; };
    app::publishStartupProperties(game);
    app::connectHandlers(game);
}

void TestLiveSettings::cleanup()
{
    player.reset();
    controller.reset();
    engine.reset();
    gameSettings.reset();
    dir.reset();
}

void TestLiveSettings::move(Slider slider, float value)
{
    switch (slider) {
    case TextSpeed: controller->vzi1(value); break;
    case AutoSpeed: controller->vhang1(value); break;
    case Volume: controller->inliang1(value); break;
    }
}

float TestLiveSettings::live(Slider slider) const
{
    switch (slider) {
    case TextSpeed: return controller->getVzi();
    case AutoSpeed: return controller->getVhang();
    case Volume: return controller->getInliang();
    }
    return -1;
}

QByteArray TestLiveSettings::line(int n) const
{
    const QList<QByteArray> lines = dir->read("setting.txt").split('\n');
    return n <= lines.size() ? lines.at(n - 1) : QByteArray("<none>");
}

void TestLiveSettings::sliderReachesGame_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("stored");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("text speed") << int(TextSpeed) << 0.7f << 0.7f << QByteArray("0.700000");
    // A controller that started at 0.5 whatever the file said dropped a move
    // from the file's 0.8 to 0.5.
    QTest::newRow("text speed back to 0.5") << int(TextSpeed) << 0.5f << 0.5f << QByteArray("0.500000");
    QTest::newRow("auto speed") << int(AutoSpeed) << 0.2f << 0.2f << QByteArray("0.200000");
    QTest::newRow("auto speed 0.5") << int(AutoSpeed) << 0.5f << 0.5f << QByteArray("0.500000");
    QTest::newRow("volume 0.25") << int(Volume) << 0.25f << 0.25f << QByteArray("0.250000");
    QTest::newRow("volume 0.5") << int(Volume) << 0.5f << 0.5f << QByteArray("0.500000");
    QTest::newRow("volume 0.999") << int(Volume) << 0.999f << 0.999f << QByteArray("0.999000");
    QTest::newRow("volume 0") << int(Volume) << 0.0f << 0.0f << QByteArray("0.000000");
    QTest::newRow("above 1 clamps") << int(TextSpeed) << 1.5f << 1.0f << QByteArray("1.000000");
    QTest::newRow("below 0 clamps") << int(AutoSpeed) << -0.2f << 0.0f << QByteArray("0.000000");
}

void TestLiveSettings::sliderReachesGame()
{
    QFETCH(int, slider);
    QFETCH(float, value);
    QFETCH(float, stored);
    QFETCH(QByteArray, text);

    startGame();
    const QList<QByteArray> before = dir->read("setting.txt").split('\n');
    move(Slider(slider), value);

    QCOMPARE(live(Slider(slider)), stored);
    const char *names[] = {"textSpeed", "autoSpeed", "volume"};
    QCOMPARE(gameSettings->property(names[slider]).toFloat(), stored);
    const char *published[] = {"Vzi", "Vhang", "Inliang"};
    QCOMPARE(engine->rootContext()->contextProperty(published[slider]).toFloat(), stored);
    const int settingLine = slider + 2;
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(line(n), n == settingLine ? text : before.at(n - 1));
    QCOMPARE(player->volume(), slider == Volume ? music::volumePercent(stored) : 100);
    if (slider == Volume && value == 0.25f)
        QCOMPARE(player->volume(), 25);
}

void TestLiveSettings::heldValueWritesNothing_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<float>("value");

    QTest::newRow("text speed at the file's value") << int(TextSpeed) << 0.8f;
    QTest::newRow("auto speed at the file's value") << int(AutoSpeed) << 0.3f;
    QTest::newRow("volume at the file's value") << int(Volume) << 1.0f;
    // Passes the controller (1.7 is not the live 1) but clamps to the live value.
    QTest::newRow("volume clamped to the held value") << int(Volume) << 1.7f;
}

void TestLiveSettings::heldValueWritesNothing()
{
    QFETCH(int, slider);
    QFETCH(float, value);

    startGame();
    // Any write at all would bring the file back.
    QVERIFY(QFile::remove("setting.txt"));
    const float before = live(Slider(slider));
    move(Slider(slider), value);
    QVERIFY(!QFile::exists("setting.txt"));
    QCOMPARE(live(Slider(slider)), before);
    QCOMPARE(player->volume(), 100);
}

void TestLiveSettings::nonFiniteIgnored_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<float>("value");

    QTest::newRow("text speed NaN") << int(TextSpeed) << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("auto speed infinite") << int(AutoSpeed) << std::numeric_limits<float>::infinity();
    QTest::newRow("volume minus infinite") << int(Volume) << -std::numeric_limits<float>::infinity();
    QTest::newRow("volume NaN") << int(Volume) << std::numeric_limits<float>::quiet_NaN();
}

void TestLiveSettings::nonFiniteIgnored()
{
    QFETCH(int, slider);
    QFETCH(float, value);

    startGame();
    const float before = live(Slider(slider));
    MessageLog log;
    move(Slider(slider), value);
    QCOMPARE(log.count(QStringLiteral("忽略无效的设置值")), 1);
    QCOMPARE(live(Slider(slider)), before);
    QCOMPARE(dir->read("setting.txt"), kSettings);
    QCOMPARE(player->volume(), 100);

    // The next ordinary value still gets through.
    move(Slider(slider), 0.4f);
    QCOMPARE(live(Slider(slider)), 0.4f);
    QCOMPARE(line(slider + 2), QByteArray("0.400000"));
}

void TestLiveSettings::unwritableFileDoesNotThrow_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("warning");

    QTest::newRow("directory named setting.txt") << "directory" << "无法写入设置文件 setting.txt";
    QTest::newRow("file cut to one line") << "one line" << "行数不足";
}

void TestLiveSettings::unwritableFileDoesNotThrow()
{
    QFETCH(QString, damage);
    QFETCH(QString, warning);

    startGame();
    QVERIFY(QFile::remove("setting.txt"));
    if (damage == "directory")
        QVERIFY(QDir().mkdir("setting.txt"));
    else
        dir->write("setting.txt", "0\n");

    MessageLog log;
    try {
        controller->inliang1(0.25f);
    } catch (...) {
        QFAIL("a live setting threw");
    }
    QCOMPARE(log.count(warning), 1);
    // The game still runs with the new value; only the file missed it.
    QCOMPARE(controller->getInliang(), 0.25f);
    QCOMPARE(gameSettings->property("volume").toFloat(), 0.25f);
    QCOMPARE(player->volume(), 25);
}

void TestLiveSettings::displayModeRestarts_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("mode");

    QTest::newRow("全屏") << "quanping" << 1;
    QTest::newRow("放大") << "fangda" << 2;
    QTest::newRow("小窗") << "xiaochuang" << 0;
}

void TestLiveSettings::displayModeRestarts()
{
    QFETCH(QString, button);
    QFETCH(int, mode);

    // From another mode: asking for the one the game is in changes nothing.
    dir->write("setting.txt", (mode == 0 ? "1" : "0") + kSettings.mid(1));
    startGame();
    qputenv("QT_SCALE_FACTOR", "unset");
    QVERIFY(QMetaObject::invokeMethod(controller.get(), qPrintable(button)));

    QCOMPARE(controller->getSuofang(), mode);
    QCOMPARE(line(1), QByteArray::number(mode));
    QCOMPARE(line(2), QByteArray("0.8"));
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"),
             settings::formatScaleFactor(settings::scaleFactorForMetrics(mode, settings::primaryScreenMetrics())));
    // The new process is started 100 ms later, and only then does this one quit.
    QCOMPARE(restarts, 0);
    QCOMPARE(quits, 0);
    QTRY_COMPARE(restarts, 1);
    QCOMPARE(quits, 1);
    QCOMPARE(gameSettings->notice(), QString());
    qunsetenv("QT_SCALE_FACTOR");
}

void TestLiveSettings::quickChangesRestartOnce()
{
    startGame();
    controller->fangda();
    controller->fangda();
    QTest::qWait(300);
    QCOMPARE(restarts, 1);
    QCOMPARE(quits, 1);

    // Two different modes within the 100 ms: one new process, in the later mode.
    controller->quanping();
    controller->xiaochuang();
    QCOMPARE(line(1), QByteArray("0"));
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("1.00"));
    QTest::qWait(300);
    QCOMPARE(restarts, 2);
    QCOMPARE(quits, 2);
    qunsetenv("QT_SCALE_FACTOR");
}

void TestLiveSettings::failedRestartKeepsRunning()
{
    startGame();
    restartWorks = false;
    MessageLog log;
    controller->quanping();
    QTRY_COMPARE(restarts, 1);
    QCOMPARE(quits, 0);
    QCOMPARE(log.count(QStringLiteral("新的游戏进程没有启动，继续运行")), 1);
    QVERIFY(!gameSettings->notice().isEmpty());
    QCOMPARE(line(1), QByteArray("1"));

    // The next change tries again and, when it works, clears the notice.
    restartWorks = true;
    controller->fangda();
    QCOMPARE(gameSettings->notice(), QString());
    QTRY_COMPARE(restarts, 2);
    QCOMPARE(quits, 1);
    qunsetenv("QT_SCALE_FACTOR");
}

// A new process would read the old mode and come up as before.
void TestLiveSettings::unstoredModeDoesNotRestart()
{
    startGame();
    QVERIFY(QFile::remove("setting.txt"));
    QVERIFY(QDir().mkdir("setting.txt"));
    MessageLog log;
    controller->quanping();
    QTest::qWait(300);
    QCOMPARE(restarts, 0);
    QCOMPARE(quits, 0);
    QCOMPARE(log.count(QStringLiteral("无法写入设置文件 setting.txt")), 1);
    QVERIFY(!gameSettings->notice().isEmpty());
    qunsetenv("QT_SCALE_FACTOR");
}

void TestLiveSettings::exitQuits()
{
    startGame();
    controller->exit1();
    QCOMPARE(quits, 1);
    QCOMPARE(restarts, 0);
}

void TestLiveSettings::textBoxLook_data()
{
    QTest::addColumn<QByteArray>("stored");   // lines 8 and 9 in the file at start
    QTest::addColumn<int>("size");            // then asked for
    QTest::addColumn<float>("opacity");
    QTest::addColumn<QVariantList>("before"); // published at start: size, opacity
    QTest::addColumn<QByteArray>("after");    // lines 8 and 9 afterwards
    QTest::newRow("missing lines") << QByteArray() << 2 << 0.5f << QVariantList{0, 0.75f} << QByteArray("2\n0.500000");
    QTest::newRow("stored") << QByteArray("1\n0.4\n") << 1 << 0.4f << QVariantList{1, 0.4f} << QByteArray("1\n0.4");
    // Repaired at start: 7 is no text size.
    QTest::newRow("odd lines") << QByteArray("7\nx\n") << 5 << 0.05f << QVariantList{0, 0.75f} << QByteArray("0\n0.200000");
}

// The text size and the box's opacity: read at start, stored on lines 8 and 9.
void TestLiveSettings::textBoxLook()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, size);
    QFETCH(float, opacity);
    QFETCH(QVariantList, before);
    QFETCH(QByteArray, after);
    if (!stored.isEmpty())
        dir->write("setting.txt", QByteArray(kSettings) + "0\n0\n0\n" + stored);
    startGame();
    QCOMPARE(gameSettings->property("textSize"), before.at(0));
    QCOMPARE(gameSettings->property("boxOpacity").toFloat(), before.at(1).toFloat());
    controller->textSize1(size);
    controller->boxOpacity1(opacity);
    QCOMPARE(line(8) + "\n" + line(9), after);
}

QTEST_MAIN(TestLiveSettings)
#include "tst_livesettings.moc"
