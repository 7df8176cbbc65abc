#include "settings/displaymode.h"
#include "core/interludeview.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "app/startup.h"
#include "app/gamefolder.h"
#include "core/paths.h"
#include "music/music.h"
#include "settings/settings.h"
#include "audiofixture.h"
#include "testsupport.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    // First: before any test of this run has set an engine up.
    void gameTypesNeedNoSetUp();
    void displayModeIsExactText_data();
    void displayModeIsExactText();
    void scaleFactor_data();
    void scaleFactor();
    void scaleFactorRewritesLineOne();
    void noDisplayMeansDesignSize();
    void volumeTruncates_data();
    void volumeTruncates();
    void controllerStartsFromRepairedSettings_data();
    void controllerStartsFromRepairedSettings();
    void startupProperties();
    void gameFontCoversChinese();
    void gameFolder_data();
    void gameFolder();
};

void TestStartup::displayModeIsExactText_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("mode");

    QTest::newRow("1") << "1" << 1;
    QTest::newRow("2") << "2" << 2;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("3") << "3" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("leading blank") << " 1" << 0;
    QTest::newRow("trailing blank") << "2 " << 0;
    QTest::newRow("decimal") << "1.0" << 0;
    QTest::newRow("word") << "x" << 0;
}

void TestStartup::displayModeIsExactText()
{
    QFETCH(QString, line);
    QFETCH(int, mode);
    QCOMPARE(settings::displayModeFromText(line.toStdString()), mode);
}

void TestStartup::scaleFactor_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("workArea");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("maximised 1080p with panel") << 2 << QSize(1920, 1080) << QSize(1920, 1040) << QByteArray("2.17");
    QTest::newRow("full screen 1080p") << 1 << QSize(1920, 1080) << QSize(1920, 1040) << QByteArray("2.25");
    QTest::newRow("full screen narrow") << 1 << QSize(1280, 1024) << QSize(1280, 1000) << QByteArray("1.78");
    QTest::newRow("windowed") << 0 << QSize(1920, 1080) << QSize(1920, 1040) << QByteArray("1.00");
    QTest::newRow("unknown mode") << 3 << QSize(1920, 1080) << QSize(1920, 1040) << QByteArray("1.00");
    QTest::newRow("design size") << 1 << QSize(720, 480) << QSize(720, 480) << QByteArray("1.00");
}

void TestStartup::scaleFactor()
{
    QFETCH(int, mode);
    QFETCH(QSize, screen);
    QFETCH(QSize, workArea);
    QFETCH(QByteArray, text);

    settings::ScreenMetrics metrics;
    metrics.screen = screen;
    metrics.workArea = workArea;
    metrics.known = true;
    QCOMPARE(settings::formatScaleFactor(settings::scaleFactorForMetrics(mode, metrics)), text);
}

void TestStartup::scaleFactorRewritesLineOne()
{
    ScratchDir dir;
    dir.write("setting.txt", "x\n0.3\n0.4\n0.6\nnote\n");
    QCOMPARE(settings::scaleFactorFor(0), 1.0);
    settings::Settings owner;
    QCOMPARE(owner.setDisplayMode(0), settings::Change::Saved);
    QCOMPARE(dir.read("setting.txt"), QByteArray("0\n0.3\n0.4\n0.6\nnote\n"));
}

void TestStartup::noDisplayMeansDesignSize()
{
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("无法连接 X 显示服务器"));
    const settings::ScreenMetrics metrics = settings::primaryScreenMetrics();
    if (!display.isEmpty())
        qputenv("DISPLAY", display);
    QVERIFY(!metrics.known);
    QCOMPARE(settings::formatScaleFactor(settings::scaleFactorForMetrics(1, metrics)), QByteArray("1.00"));
}

void TestStartup::volumeTruncates_data()
{
    QTest::addColumn<float>("setting");
    QTest::addColumn<int>("volume");

    QTest::newRow("half") << 0.5f << 50;
    QTest::newRow("almost full") << 0.999f << 99;
}

void TestStartup::volumeTruncates()
{
    QFETCH(float, setting);
    QFETCH(int, volume);
    QCOMPARE(music::volumePercent(setting), volume);
}

void TestStartup::controllerStartsFromRepairedSettings_data()
{
    QTest::addColumn<QByteArray>("file"); // "<none>": no file
    QTest::addColumn<QByteArray>("saves"); // "<none>": no file
    QTest::addColumn<int>("suofang");
    QTest::addColumn<int>("saveCount");
    QTest::addColumn<QList<float>>("speeds");
    QTest::addColumn<QStringList>("lastLog");

    QTest::newRow("as stored") << QByteArray("2\n0.3\n0.4\n0.6\n") << QByteArray("12\n40\n700\n") << 2 << 3
                               << QList<float>{0.3f, 0.4f, 0.6f}
                               << QStringList{"成功从文件加载缩放状态 2", "存档数量更新: 3"};
    QTest::newRow("volume not a number") << QByteArray("1\n0.3\n0\nloud\n") << QByteArray("<none>") << 1 << 0
                                         << QList<float>{0.3f, 0.0f, 0.5f}
                                         << QStringList{"成功从文件加载缩放状态 1"};
    QTest::newRow("text speed above 1, a blank slot") << QByteArray("2\n1.5\n1\n0.25\n") << QByteArray("5\n\n7")
                                                      << 2 << 3 << QList<float>{0.5f, 1.0f, 0.25f}
                                                      << QStringList{"成功从文件加载缩放状态 2", "存档数量更新: 3"};
    // The repair writes a windowed "0": the window, without a warning.
    QTest::newRow("no file") << QByteArray("<none>") << QByteArray("<none>") << 0 << 0
                             << QList<float>{0.5f, 0.5f, 0.5f} << QStringList{"成功从文件加载缩放状态 0"};
}

// The speeds the game runs with are the controller's from the first frame on;
// the log keeps the order of a controller that read both files itself.
void TestStartup::controllerStartsFromRepairedSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saves);
    QFETCH(int, suofang);
    QFETCH(int, saveCount);
    QFETCH(QList<float>, speeds);
    QFETCH(QStringList, lastLog);

    ScratchDir dir;
    if (file != "<none>")
        dir.write("setting.txt", file);
    if (saves != "<none>")
        dir.write("saves/save.txt", saves);
    MessageLog log;
    settings::Settings owner;
    owner.load();
    MainWindow controller(app::controllerStart(owner));
    QCOMPARE(log.messages.mid(log.messages.size() - lastLog.size()), lastLog);
    QCOMPARE(controller.getSuofang(), suofang);
    QCOMPARE(controller.getSaveCount(), saveCount);
    Game game;
    game.controller = &controller;
    game.settings = &owner;
    QCOMPARE((QList<float>{game.textSpeed(), game.autoSpeed(), game.volume()}), speeds);
}

void TestStartup::startupProperties()
{
    ScratchDir dir;
    dir.write("setting.txt", "0\n0.3\n0.4\n0.6\n");
    settings::Settings owner;
    owner.load();
    MainWindow controller(app::controllerStart(owner));
    QQmlEngine engine;
    Game game;
    game.engine = &engine;
    game.controller = &controller;
    game.settings = &owner;
    app::publishStartupProperties(game);
    app::publishInterludeProperties(game);

    QQmlContext *root = engine.rootContext();
    QCOMPARE(root->contextProperty(prop::Controller.text).value<QObject *>(), &controller);
    QObject *published = root->contextProperty(prop::Settings.text).value<QObject *>();
    QCOMPARE(published, &owner);
    QCOMPARE(published->property("textSpeed").toFloat(), 0.3f);
    QCOMPARE(published->property("autoSpeed").toFloat(), 0.4f);
    QCOMPARE(published->property("volume").toFloat(), 0.6f);
    QCOMPARE("/" + root->contextProperty(prop::exePath.text).toString(), QDir::currentPath());
    for (const char *flag : {"bVisible", "daanvisible", "shuruvisible", "a1visible", "a2visible", "a3visible",
                             "a1fvisible", "a3fvisible", "sjvisible", "ditu1visible", "ditu2visible",
                             "fsa1visible", "fsa2visible"}) {
        const QVariant v = root->contextProperty(QString::fromLatin1(flag));
        QVERIFY2(v.isValid() && v.canConvert<QObject *>() && !v.value<QObject *>(), flag);
    }
    QCOMPARE(root->contextProperty(prop::sja1x.text).toInt(), 90);
    QCOMPARE(root->contextProperty(prop::sja1y.text).toInt(), 310);
    QCOMPARE(root->contextProperty(prop::sja2x.text).toInt(), 20);
    QCOMPARE(root->contextProperty(prop::sja2y.text).toInt(), 310);
    QCOMPARE(root->contextProperty(prop::sjx.text).toInt(), 0);

    // The page's own URL rule must land on the working directory.
    const QUrl url("file:///" + root->contextProperty(prop::exePath.text).toString() + "/png/ib.png");
    QCOMPARE(url.toLocalFile(), QDir::current().filePath("png/ib.png"));
}

void TestStartup::gameFontCoversChinese()
{
    app::substituteGameFont();
    const QFont font(QStringLiteral("Microsoft Yahei"), 9);
    const QFontInfo info(font);
    QVERIFY2(QFontMetrics(font).inFontUcs4(0x8BED), qPrintable(info.family())); // 语
    QVERIFY2(QFontMetrics(font).inFontUcs4('S'), qPrintable(info.family()));
}

// An unpacked game plays where it is; an installed one keeps the player's
// files in their own folder and still finds its story and pictures.
void TestStartup::gameFolder_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("seeded");
    QTest::newRow("unpacked") << false << false;
    QTest::newRow("installed, first start") << true << false;
    QTest::newRow("installed, player's settings kept") << true << true;
}

void TestStartup::gameFolder()
{
    QFETCH(bool, installed);
    QFETCH(bool, seeded);
    ScratchDir scratch;
    const QString exeDir = scratch.path() + QStringLiteral("/程序 目录");
    const QString appData = scratch.path() + QStringLiteral("/用户 数据");
    scratch.write(QStringLiteral("程序 目录/a.txt"), "line\n");
    scratch.write(QStringLiteral("程序 目录/png/BG1.png"), "x");
    scratch.write(QStringLiteral("程序 目录/setting.txt"), "0\n0.5\n0.5\n0.5\n");
    if (installed)
        scratch.write(QStringLiteral("程序 目录/installed"), "");
    if (seeded)
        scratch.write(QStringLiteral("用户 数据/Solvane/setting.txt"), "1\n");

    const QString folder = app::enterGameFolder(exeDir, appData);
    const QString expected = installed ? appData + QStringLiteral("/Solvane") : exeDir;
    QCOMPARE(QFileInfo(folder).canonicalFilePath(), QFileInfo(expected).canonicalFilePath());
    QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(expected).canonicalFilePath());
    // The shipped files are found from either folder; the player's own only in theirs.
    QCOMPARE(QFileInfo(core::resolvePath(QStringLiteral("a.txt"))).canonicalFilePath(),
             QFileInfo(exeDir + QStringLiteral("/a.txt")).canonicalFilePath());
    QVERIFY(QFileInfo::exists(core::resolvePath(QStringLiteral("png/bg1.png"))));
    QCOMPARE(QFileInfo(core::resolvePath(QStringLiteral("setting.txt"))).canonicalFilePath(),
             QFileInfo(expected + QStringLiteral("/setting.txt")).canonicalFilePath());
    if (installed)
        QCOMPARE(scratch.read(QStringLiteral("用户 数据/Solvane/setting.txt")),
                 seeded ? QByteArray("1\n") : QByteArray("0\n0.5\n0.5\n0.5\n"));
    core::setShippedDataDir(QString());
}

// The pages find the game's own objects in any engine, whoever made it.
void TestStartup::gameTypesNeedNoSetUp()
{
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQml 2.2\nimport Solvane 1.0\n"
                      "QtObject { property bool held: Input.lasts(Input.SkipHeld); property string notice: Saves.notice;"
                      " property bool back: Story.readingBack; property int tries: InterludeView.triesLeft }",
                      QUrl());
    std::unique_ptr<QObject> object(component.create());
    QVERIFY2(object, qPrintable(component.errorString()));
    QVERIFY(object->property("held").toBool());
    QCOMPARE(object->property("tries").toInt(), core::interludeView().triesLeft());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
