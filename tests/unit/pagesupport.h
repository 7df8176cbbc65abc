#pragma once

#include "app/startup.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/state.h"
#include "settings/settings.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QQuickItem>
#include <QQmlError>
#include <QQuickItemGrabResult>
#include <QQuickView>
#include <QSharedPointer>
#include <QSignalSpy>
#include <QString>
#include <QTest>
#include <QtDebug>

#include <memory>

// Every item under root, depth first. Walks the visual children, so it also
// reaches Repeater and ListView delegates, which findChild does not.
inline QList<QQuickItem *> descendants(QQuickItem *root)
{
    QList<QQuickItem *> all;
    for (QQuickItem *child : root->childItems())
        all << child << descendants(child);
    return all;
}

// The first item under root (or root itself) with that objectName; null when none.
inline QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

// The named item a test goes on to use: by QObject child, then through the
// visual tree; a missing one ends the test run, naming it.
inline QQuickItem *requireItem(QQuickItem *root, const QString &name)
{
    QQuickItem *found = root->findChild<QQuickItem *>(name);
    if (!found)
        found = findItem(root, name);
    if (!found)
        qFatal("no item named %s on the page", qPrintable(name));
    return found;
}

// The view's scene as drawn. The software renderer cannot grab the window
// offscreen; the scene can. Null when the grab does not come.
inline QImage grabScene(QQuickView *view)
{
    QSharedPointer<QQuickItemGrabResult> result = view->contentItem()->grabToImage();
    if (!result)
        return QImage();
    QSignalSpy ready(result.data(), &QQuickItemGrabResult::ready);
    if (!ready.wait(2000))
        return QImage();
    return result->image();
}

// A plain enemy picture at png/difang.png under the current directory, for
// pages that show the interlude without the generated pictures.
inline bool writeEnemyPicture()
{
    QImage enemy(20, 20, QImage::Format_ARGB32);
    enemy.fill(Qt::black);
    return enemy.save(QStringLiteral("png/difang.png"));
}

// The interlude's drawn maps, figures and enemy frames from the build's game
// directory, linked into png/ under the current directory.
inline void linkInterludePictures()
{
    const QDir art(QStringLiteral(SOLVANE_GAME_DIR "/png"));
    for (const QString &name : art.entryList({QStringLiteral("difang-*.png"), QStringLiteral("hd*.png")}))
        QFile::link(art.filePath(name), QStringLiteral("png/") + name);
}

// Loads the game's page qml/<page>.qml into the view and shows it; false,
// with QML's errors logged, when it does not load or its window never shows.
inline bool showPage(QQuickView *view, const QString &page)
{
    view->setSource(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/%1.qml").arg(page)));
    if (view->status() != QQuickView::Ready) {
        for (const QQmlError &error : view->errors())
            qWarning().noquote() << error.toString();
        return false;
    }
    view->show();
    return QTest::qWaitForWindowExposed(view);
}

// Where a click on the item lands: its middle, in the scene.
inline QPoint centreOf(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

// How a page test's game begins.
struct PageStart {
    QByteArray settingFile;   // setting.txt, written first when not empty
    bool loadSettings = false; // read it, and start the controller from it
    bool settings = true;     // no settings object: the pages see the defaults
    bool freshState = false;  // the process state back to its start
    QList<QByteArray> script; // the script's lines; left as they are when empty
};

// A page of the game in a 720 x 480 view over a scratch folder taken as the
// game's own, with its controller: what every page test stands on. A test class
// derives from it after QObject, builds in init() (adding its own files and
// hooks), wires, and lets go in cleanup().
class PageFixture
{
protected:
    // The folder as the game starts in it; a test may write files there before building.
    void makeScratch()
    {
        scratch = std::make_unique<ScratchDir>();
        QDir().mkpath(QStringLiteral("png"));
        QDir().mkpath(QStringLiteral("saves"));
    }

    void buildPage(const PageStart &start = PageStart())
    {
        // A second build in one test: the page goes before what it shows.
        view.reset();
        controller.reset();
        if (!scratch)
            makeScratch();
        if (!start.settingFile.isEmpty())
            scratch->write(QStringLiteral("setting.txt"), start.settingFile);
        if (start.freshState)
            core::resetProcessState();
        if (!start.script.isEmpty())
            core::process().scriptLines = start.script;
        if (start.settings)
            gameSettings = std::make_unique<settings::Settings>();
        else
            gameSettings.reset();
        if (start.loadSettings)
            gameSettings->load();
        controller = start.loadSettings ? std::make_unique<MainWindow>(app::controllerStart(*gameSettings))
                                        : std::make_unique<MainWindow>();
        view = std::make_unique<QQuickView>();
        view->setResizeMode(QQuickView::SizeRootObjectToView);
        view->resize(720, 480);
        game = Game();
        game.engine = view->engine();
        game.controller = controller.get();
        game.settings = gameSettings.get();
    }

    // What start-up publishes; with handlers, the story, saves and the rest answer the pages.
    void wirePage(bool handlers)
    {
        app::publishStartupProperties(game);
        if (handlers)
            app::connectHandlers(game);
    }

    void tearDownPage()
    {
        story::typeTimer()->stop();
        view.reset();
        controller.reset();
        gameSettings.reset();
        scratch.reset();
    }

    // The page shown, and with focus when asked: keys reach only an active window.
    bool openPage(const QString &page, bool active = false)
    {
        if (!showPage(view.get(), page))
            return false;
        if (!active)
            return true;
        view->requestActivate();
        return QTest::qWaitForWindowActive(view.get());
    }

    QQuickItem *item(const char *name) const { return requireItem(view->rootObject(), QString::fromLatin1(name)); }
    void click(const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(view.get(), button, Qt::NoModifier, at);
    }
    void key(int k) { QTest::keyClick(view.get(), Qt::Key(k)); }
    QImage grab() { return grabScene(view.get()); }

    // The story as start-up begins it, every handler wired, over a script of
    // numbered lines whose endings close with their titles (see endingName);
    // lines type at once, and leaving the process is only counted.
    void startStory(const QByteArray &settingFile = "0\n0.5\n0.5\n0.5\n")
    {
        PageStart start;
        start.settingFile = settingFile;
        start.loadSettings = true;
        start.freshState = true;
        start.script = endingScript();
        buildPage(start);
        controller->setVzi(1.0f);
        restarts = quits = 0;
        game.hooks.restartSelf = [this] {
            ++restarts;
            return true;
        };
        game.hooks.quit = [this] { ++quits; };
        wirePage(true);
    }

    static QList<QByteArray> endingScript()
    {
        QList<QByteArray> lines;
        for (int n = 1; n <= 975; ++n) {
            QByteArray line = "line " + QByteArray::number(n);
            if (story::isEndingLine(n))
                line += "<br>【结局·" + endingName(n).toUtf8() + "】";
            lines << line;
        }
        return lines;
    }
    static QString endingName(int line) { return QStringLiteral("终点%1").arg(line); }

    bool openGame()
    {
        controller->navigategame(QStringLiteral("load"));
        return openPage(QStringLiteral("game"), true);
    }

    void finishTyping()
    {
        for (int i = 0; i < 10000 && !core::process().typing.typingDone; ++i)
            story::typeTick(game);
    }

    // The cursor on line n, typed and finished, as a forward step leaves it.
    void standOn(int n)
    {
        core::process().story.currentLine = n - 1;
        core::process().story.viewLine = n - 1;
        controller->next1();
        finishTyping();
        QCOMPARE(line(), n);
    }

    int line() const { return core::process().story.currentLine; }
    int viewLine() const { return core::process().story.viewLine; }
    QString text() const { return game.property(prop::currentText).toString(); }

    std::unique_ptr<ScratchDir> scratch;
    std::unique_ptr<settings::Settings> gameSettings;
    std::unique_ptr<MainWindow> controller;
    std::unique_ptr<QQuickView> view;
    Game game;
    int restarts = 0; // the process asked to start again, or to quit
    int quits = 0;
};
