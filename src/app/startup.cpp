#include "app/startup.h"

#include "core/log.h"
#include "app/gamefolder.h"
#include "app/imageguard.h"
#include "app/networkguard.h"
#include "app/qmltypes.h"

#include "settings/displaymode.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/paths.h"
#include "core/settingvalues.h"
#include "extras/gallery.h"
#include "extras/unlockrecord.h"
#include "input/actions.h"
#include "input/gamepads.h"
#include "input/pad.h"
#include "settings/livesettings.h"
#include "settings/settings.h"
#include "stage/interlude.h"
#include "stage/interludestate.h"
#include "music/music.h"
#include "speech/voice.h"
#include "saves/savefiles.h"
#include "saves/resume.h"
#include "saves/rollback.h"
#include "saves/routemap.h"
#include "story/routerecord.h"
#include "saves/savestore.h"
#include "story/storystate.h"
#include "story/wiring.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QQmlApplicationEngine>
#include <QProcess>
#include <QQuickWindow>
#include <QScreen>
#include <QWindow>
#include <QTextCodec>
#include <QTimer>
#include <QUrl>
#include <QtDebug>

#include <memory>

namespace app {

void substituteGameFont()
{
    const QStringList families = QFontDatabase().families();
    if (families.contains(QStringLiteral("Microsoft Yahei"), Qt::CaseInsensitive))
        return;
    // Windows without YaHei (before Vista, or trimmed) still has SimHei.
    for (const char *candidate : {"SimHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC", "Droid Sans Fallback"}) {
        const QString family = QString::fromLatin1(candidate);
        if (families.contains(family, Qt::CaseInsensitive)) {
            QFont::insertSubstitution(QStringLiteral("Microsoft Yahei"), family);
            return;
        }
    }
}

MainWindow::StartValues controllerStart(settings::Settings &settings)
{
    MainWindow::StartValues start;
    start.settings = &settings;
    start.saveCount = saves::countSaveSlots();
    return start;
}

void publishStartupProperties(Game &game)
{
    registerQmlTypes();
    game.publish(prop::Controller, QVariant::fromValue<QObject *>(game.controller));
    if (auto *values = qobject_cast<core::SettingValues *>(game.settings)) {
        // The sliders' values under their own names too, kept current.
        const auto mirror = [&game, values](prop::Name name, float (core::SettingValues::*read)() const,
                                            void (core::SettingValues::*changed)(float)) {
            game.publish(name, (values->*read)());
            QObject::connect(values, changed, game.lifetime(), [&game, name](float v) { game.publish(name, v); });
        };
        mirror(prop::Vzi, &core::SettingValues::textSpeed, &core::SettingValues::textSpeedChanged);
        mirror(prop::Vhang, &core::SettingValues::autoSpeed, &core::SettingValues::autoSpeedChanged);
        mirror(prop::Inliang, &core::SettingValues::volume, &core::SettingValues::volumeChanged);
    }
    game.publish(prop::Settings, QVariant::fromValue<QObject *>(game.settings));
    game.publish(prop::exePath, core::exePathForPages());
    for (prop::Name flag : {prop::bVisible, prop::daanvisible, prop::shuruvisible, prop::a1visible, prop::a2visible,
                            prop::a3visible, prop::a1fvisible, prop::a3fvisible, prop::sjvisible, prop::ditu1visible,
                            prop::ditu2visible})
        game.publishNull(flag);
}

void publishInterludeProperties(Game &game)
{
    const stage::InterludeState &s = stage::interlude();
    game.publish(prop::sja1x, s.sja1x);
    game.publish(prop::sja1y, s.sja1y);
    game.publish(prop::sja2x, s.sja2x);
    game.publish(prop::sja2y, s.sja2y);
    game.publish(prop::sjx, s.scrollX);
    for (prop::Name flag : {prop::fsa1visible, prop::fsa2visible, prop::ditu1visible, prop::ditu2visible})
        game.publishNull(flag);
}

// Each subsystem attaches its own handlers; the order is the one in which the
// pages' requests were first wired, settings first and the interlude last.
void connectHandlers(Game &game)
{
    settings::connectSettings(game);
    story::connectStory(game);
    music::connectMusic(game);
    saves::connectSaves(game);
    extras::connectExtras(game);
    story::loadRouteRecord();
    static const bool typesKnown = [] {
        qmlRegisterUncreatableType<RouteMap>("Solvane", 1, 0, "RouteMap", QStringLiteral("由游戏提供"));
        qmlRegisterUncreatableType<LineReturn>("Solvane", 1, 0, "LineReturn", QStringLiteral("由游戏提供"));
        return true;
    }();
    Q_UNUSED(typesKnown)
    game.publish(prop::routeMap, QVariant::fromValue<QObject *>(new RouteMap(game, game.lifetime())));
    game.publish(prop::lineReturn, QVariant::fromValue<QObject *>(new LineReturn(game, game.lifetime())));
    stage::connectInterlude(game);
}

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
        qCInfo(lcApp).noquote() << QStringLiteral("没有找到显卡设备，使用软件渲染");
    }
#endif
}

namespace {

QQuickWindow *mainWindow()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return windows.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(windows.constFirst());
}

// The real process behind the game's hooks; tests install their own.
void installProcessHooks(Game &game)
{
    game.hooks.quit = [] { QCoreApplication::quit(); };
    game.hooks.restartSelf = [&game] {
        // The new process comes back to where this one is.
        saves::writeResumeRecord(game);
        const QStringList args = QCoreApplication::arguments();
        if (QProcess::startDetached(QCoreApplication::applicationFilePath(), args.mid(1), QDir::currentPath()))
            return true;
        QFile::remove(core::resolvePath(QString::fromLatin1(saves::kResumeFile)));
        return false;
    };
    game.hooks.grabWindow = []() -> QImage {
        QQuickWindow *window = mainWindow();
        if (!window || !window->isVisible()) {
            qCWarning(lcApp) << "主窗口不可见";
            return QImage();
        }
        QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        if (!screen) {
            qCWarning(lcApp) << "无法获取屏幕";
            return QImage();
        }
        // The scene as it stands now: what was just published (a save taken
        // while paging back first returns to its line) may not be on the
        // screen yet. Where the scene cannot render itself, the screen.
        QImage image = window->grabWindow();
        if (image.isNull())
            image = screen->grabWindow(window->winId()).toImage();
        return image;
    };
}

void showInMode(QQuickWindow *window, int displayMode)
{
    if (displayMode == 1)
        window->showFullScreen();
    else if (displayMode == 2)
        window->showMaximized();
    else
        window->show();
    // The keys from the first frame, for a player without a mouse; a bare X
    // server would give them to nobody.
    window->requestActivate();
    // With no window manager (a bare X server) nobody acts on the request.
    if ((displayMode == 1 || displayMode == 2) && !settings::windowManagerRunning()) {
        // Whole device-independent pixels at a scale such as 1.67 never add up
        // to the screen: the native window is given the screen's own size.
        // Without a window manager the work area is the whole screen too.
        const settings::ScreenMetrics metrics = settings::primaryScreenMetrics();
        if (metrics.known && settings::placeNativeWindow(window->winId(), QRect(QPoint(0, 0), metrics.screen)))
            return;
        if (QScreen *screen = window->screen()) {
            QRect area = displayMode == 1 ? screen->geometry() : screen->availableGeometry();
            // A scale such as 1.67 leaves the last pixel column bare when rounded down.
            const qreal ratio = window->devicePixelRatio();
            if (!qFuzzyCompare(ratio, qreal(qRound(ratio))))
                area.adjust(0, 0, 1, 1);
            window->setGeometry(area);
        }
    }
}

// Loading GStreamer, its plugins and a sound output costs a core for 50 ms
// or more: the title track waits for the first frame instead of competing
// with it. Not over a track that something else has started.
void startTitleMusic(Game &game)
{
    music::Player *player = game.musicPlayer;
    if (player && player->state() == music::Player::StoppedState
        && player->mediaStatus() == music::Player::LoadedMedia && !music::music().musicStopped)
        player->play();
}

// The handlers reach these two through the game and stage::interludeTimer():
// once one goes, no handler is called by it or finds it.
struct DropPlayer {
    void operator()(music::Player *player) const
    {
        player->disconnect();
        delete player;
    }
};

struct DropInterludeTimer {
    void operator()(QTimer *timer) const
    {
        if (stage::interludeTimer() == timer)
            stage::interludeTimer() = nullptr;
        delete timer;
    }
};

} // namespace

int runGame(int argc, char **argv)
{
#ifdef __GLIBC__
    // Pictures are decoded into buffers of a megabyte and more. By default
    // glibc raises its threshold for mapping such a buffer each time one is
    // freed, so later ones land in the heap and their memory stays with the
    // process after the picture is gone: a whole story left 10 MB more behind.
    mallopt(M_MMAP_THRESHOLD, 512 * 1024);
#endif
    enterOwnGameFolder();
    // Bad or missing settings would otherwise stop every start from here on.
    // The values come from the repair, so a file that cannot be written (or
    // read) still gives a game that runs. They outlive the application: the
    // pages and every handler read them.
    settings::Settings gameSettings;
    const settings::StartSettings startSettings = gameSettings.load();

    Game game;
    game.settings = &gameSettings;

    story::loadScript(core::resolvePath(QStringLiteral("a.txt")));

    const int displayMode = settings::displayModeFromText(startSettings.lines.front());
    const double scale = startSettings.stored ? settings::scaleFactorFor(displayMode)
                                              : settings::scaleFactorForMetrics(displayMode,
                                                                                settings::primaryScreenMetrics());
    qputenv("QT_SCALE_FACTOR", settings::formatScaleFactor(scale));

    extras::cgProgress() = extras::readUnlockRecord();

    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QGuiApplication application(argc, argv);

    // Declared in the reverse of their teardown: the engine and its pages go
    // first, then the controller they call, then the music player and the
    // interlude timer the handlers drive; the application outlives them all.
    std::unique_ptr<QTimer, DropInterludeTimer> interludeTimer(new QTimer);
    stage::interludeTimer() = interludeTimer.get();
    std::unique_ptr<music::Player, DropPlayer> musicPlayer;
    std::unique_ptr<speech::Voice> voice;
    std::unique_ptr<MainWindow> controller;
    std::unique_ptr<QQmlApplicationEngine> engine;

    chooseRenderer();

    controller = std::make_unique<MainWindow>(controllerStart(gameSettings));
    engine = std::make_unique<QQmlApplicationEngine>();
    guardImages(*engine);
    refuseNetwork(*engine);
    game.engine = engine.get();
    game.controller = controller.get();
    installProcessHooks(game);
    publishStartupProperties(game);

    musicPlayer.reset(new music::Player);
    game.musicPlayer = musicPlayer.get();
    musicPlayer->setMedia(core::mediaUrl(QStringLiteral("mp3/universe.mp3")));
    musicPlayer->setVolume(music::volumePercent(game.volume()));
    voice = std::make_unique<speech::Voice>();
    game.voice = voice.get();

    connectHandlers(game);
    publishInterludeProperties(game);
    // The step sleeps until a map is shown.
    core::runInterludeClock(false);
    // After a display-mode change: back to the page and line the last process left.
    saves::resumeFromRecord(game);

    substituteGameFont();
    QGuiApplication::setFont(QFont(QStringLiteral("Microsoft Yahei"), 9));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    // The icon (an image plugin and four pictures to decode) and the title
    // music are not needed for the first frame: they come right after it.
    bool settled = false;
    const auto afterFirstFrame = [&game, &settled, &application] {
        if (settled)
            return;
        settled = true;
        QGuiApplication::setWindowIcon(QIcon(core::resolvePath(QStringLiteral("favicon.ico"))));
        startTitleMusic(game);
        auto *pad = new input::Pad(input::actions(), &application);
        new input::Gamepads(*pad, pad);
    };

    engine->load(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/main.qml")));
    if (engine->rootObjects().isEmpty())
        return -1;
    if (auto *window = qobject_cast<QQuickWindow *>(engine->rootObjects().constFirst())) {
        showInMode(window, displayMode);
        qCInfo(lcApp).noquote() << QStringLiteral("主窗口已显示，显示模式 %1，缩放 %2")
                                 .arg(displayMode).arg(QString::fromLatin1(qgetenv("QT_SCALE_FACTOR")));
        // One line when the first frame is on screen; the start-up benchmark waits for it.
        // frameSwapped comes from the render thread: several may be queued already.
        auto first = std::make_shared<QMetaObject::Connection>();
        *first = QObject::connect(window, &QQuickWindow::frameSwapped, window, [first, &afterFirstFrame] {
            if (!*first)
                return;
            QObject::disconnect(*first);
            *first = QMetaObject::Connection();
            qCInfo(lcApp).noquote() << QStringLiteral("首帧已显示");
            afterFirstFrame();
        });
    }
    // A window that never draws (hidden, or none at all) still gets them.
    QTimer::singleShot(2000, &application, afterFirstFrame);

    return application.exec();
}

} // namespace app
