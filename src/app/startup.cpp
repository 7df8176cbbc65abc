#include "app/startup.h"

#include "app/displaymode.h"
#include "app/filepath.h"
#include "app/game.h"
#include "app/mainwindow.h"
#include "extras/unlockrecord.h"
#include "settings/settingsfile.h"
#include "stage/interludestate.h"
#include "story/autoskip.h"
#include "story/choices.h"
#include "story/linecursor.h"
#include "story/music.h"
#include "story/storystate.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QMediaPlayer>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTextCodec>
#include <QTimer>
#include <QUrl>
#include <QtDebug>

#include <memory>

void substituteGameFont()
{
    const QStringList families = QFontDatabase().families();
    if (families.contains(QStringLiteral("Microsoft Yahei"), Qt::CaseInsensitive))
        return;
    for (const char *candidate : {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC", "Droid Sans Fallback"}) {
        const QString family = QString::fromLatin1(candidate);
        if (families.contains(family, Qt::CaseInsensitive)) {
            QFont::insertSubstitution(QStringLiteral("Microsoft Yahei"), family);
            return;
        }
    }
}

QString exePathForPages()
{
    const QString path = QDir::currentPath();
    // Pages write "file:///" + exePath: a Unix path must lose its own leading
    // slash there, as a drive letter path ("C:/...") has none.
    return path.startsWith(QLatin1Char('/')) ? path.mid(1) : path;
}

QUrl mediaUrl(const QString &relativePath)
{
    return QUrl::fromLocalFile(QFileInfo(resolvePath(relativePath)).absoluteFilePath());
}

int volumePercent(float inliang)
{
    return int(inliang * 100);
}

void publishStartupProperties(Game &game)
{
    game.publish("Controller", QVariant::fromValue<QObject *>(game.controller));
    game.publish("Vzi", game.Vzi);
    game.publish("Vhang", game.Vhang);
    game.publish("Inliang", game.Inliang);
    game.publish("exePath", exePathForPages());
    for (const char *flag : {"bVisible", "daanvisible", "shuruvisible", "a1visible", "a2visible", "a3visible",
                             "a1fvisible", "a3fvisible", "sjvisible", "ditu1visible", "ditu2visible"})
        game.publishNull(flag);
}

void publishInterludeProperties(Game &game)
{
    const stage::InterludeState &s = stage::interlude();
    game.publish("sja1x", s.sja1x);
    game.publish("sja1y", s.sja1y);
    game.publish("sja2x", s.sja2x);
    game.publish("sja2y", s.sja2y);
    game.publish("sjx", s.scrollX);
    for (const char *flag : {"fsa1visible", "fsa2visible", "ditu1visible", "ditu2visible"})
        game.publishNull(flag);
}

void connectHandlers(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;

    // 2: quit
    QObject::connect(c, &MainWindow::exitChanged, c, [](int value) {
        if (value == 1)
            QCoreApplication::quit();
    });

    // 3: one forward step
    QObject::connect(c, &MainWindow::nextChanged, c, [g](int value) {
        if (value == 1)
            story::advanceLine(*g);
    });
    // 4: a new story
    QObject::connect(c, &MainWindow::Start, c, [g](int value) {
        if (value == 1)
            story::resetStory(*g);
    });

    // 5: the title track on every return to the title page
    QObject::connect(c, &MainWindow::toindex, c, [g](int value) { story::playTitleMusic(*g, value); });
    // 6: pause and resume from the music box
    QObject::connect(c, &MainWindow::inbextraChanged, c, [g](int value) { story::holdMusic(*g, value); });

    g->publish("texte", QStringLiteral("宇宙"));

    // 7: previous and next track from the music box
    QObject::connect(c, &MainWindow::inextraChanged, c, [g](int step) { story::playGalleryTrack(*g, step); });
    // 8: every track loops
    QMediaPlayer *player = g->musicPlayer;
    if (player) {
        QObject::connect(player, &QMediaPlayer::stateChanged, player,
                         [g](QMediaPlayer::State state) { story::loopMusic(*g, state); });
        QObject::connect(player, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), player,
                         [g](QMediaPlayer::Error error) { story::musicFailed(*g, error); });
    }

    // 9, 10: reading on by itself, skipping
    QObject::connect(c, &MainWindow::AutoChanged, c, [g](int value) { story::setAuto(*g, value); });
    QObject::connect(c, &MainWindow::skipChanged, c, [g](int value) { story::setSkip(*g, value); });

    // 17: browsing with the wheel
    QObject::connect(c, &MainWindow::wheelChanged, c, [g](int step) { story::browseHistory(*g, step); });
    // 18, 19: answers
    QObject::connect(c, &MainWindow::daChanged, c, [g](int answer) { story::answerChoice(*g, answer); });
    QObject::connect(c, &MainWindow::shuruChanged, c, [g](const QString &text) { story::checkTypedAnswer(*g, text); });
}

namespace {

// Without a GPU, OpenGL means Mesa's CPU rasteriser, which costs about 80 MB and
// a slower first frame for a 720 x 480 page; Qt Quick's own software renderer
// draws the same pages with neither. QT_QUICK_BACKEND still wins when set.
void chooseRenderer()
{
#if defined(__unix__) && !defined(__APPLE__)
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") || qEnvironmentVariableIsSet("QMLSCENE_DEVICE"))
        return;
    const QStringList renderNodes = QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System);
    if (renderNodes.isEmpty()) {
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        qInfo().noquote() << QStringLiteral("没有找到显卡设备，使用软件渲染");
    }
#endif
}

float readSpeedSetting(int line)
{
    float value = 0.5f;
    settings::parseFloatPrefix(settings::readSettingLine(line), &value);
    return value;
}

} // namespace

int runGame(int argc, char **argv)
{
    // Bad or missing settings would otherwise stop every start from here on.
    settings::repairSettingsFile();

    Game game;
    game.Vzi = readSpeedSetting(2);
    game.Vhang = readSpeedSetting(3);
    game.Inliang = readSpeedSetting(4);

    story::loadScript(resolvePath(QStringLiteral("a.txt")));

    if (!stage::interludeTimer())
        stage::interludeTimer() = new QTimer;

    const int displayMode = displayModeFromText(settings::readSettingLine(1));
    qputenv("QT_SCALE_FACTOR", formatScaleFactor(scaleFactorFor(displayMode)));

    extras::cgProgress() = extras::readUnlockRecord();

    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    auto *app = new QGuiApplication(argc, argv);
    app->setWindowIcon(QIcon(resolvePath(QStringLiteral("favicon.ico"))));

    chooseRenderer();

    auto *controller = new MainWindow;
    auto *engine = new QQmlApplicationEngine;
    game.engine = engine;
    game.controller = controller;
    publishStartupProperties(game);

    game.musicPlayer = new QMediaPlayer;
    game.musicPlayer->setMedia(mediaUrl(QStringLiteral("mp3/universe.mp3")));
    game.musicPlayer->setVolume(volumePercent(game.Inliang));
    game.musicPlayer->play();

    connectHandlers(game);
    publishInterludeProperties(game);
    stage::interludeTimer()->start(10);

    substituteGameFont();
    QGuiApplication::setFont(QFont(QStringLiteral("Microsoft Yahei"), 9));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    engine->load(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/main.qml")));
    if (engine->rootObjects().isEmpty())
        return -1;
    if (auto *window = qobject_cast<QQuickWindow *>(engine->rootObjects().constFirst())) {
        if (displayMode == 1)
            window->showFullScreen();
        else if (displayMode == 2)
            window->showMaximized();
        else
            window->show();
        qInfo().noquote() << QStringLiteral("主窗口已显示，显示模式 %1，缩放 %2")
                                 .arg(displayMode).arg(QString::fromLatin1(qgetenv("QT_SCALE_FACTOR")));
        // One line when the first frame is on screen; the start-up benchmark waits for it.
        // frameSwapped comes from the render thread: several may be queued already.
        auto first = std::make_shared<QMetaObject::Connection>();
        *first = QObject::connect(window, &QQuickWindow::frameSwapped, window, [first] {
            if (!*first)
                return;
            QObject::disconnect(*first);
            *first = QMetaObject::Connection();
            qInfo().noquote() << QStringLiteral("首帧已显示");
        });
    }

    const int result = app->exec();
    delete engine;
    delete controller;
    delete app;
    return result;
}
