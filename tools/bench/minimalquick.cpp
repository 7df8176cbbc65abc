// The floor the start-up benchmark measures the game against: the least a Qt
// Quick program can do to show the title picture. One 720 x 480 window, one
// Image of png/ib.png (from the working directory, as the game reads it, and
// decoded at the size shown, as the game does), one Text, drawn by the
// renderer the game picks; it logs the game's own line when its first frame
// is on screen and then sits idle until killed.
#include <QDir>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtDebug>

#include <memory>

int main(int argc, char **argv)
{
    // The game's choice: Qt Quick's software renderer where there is no GPU.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")
        && QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty())
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    engine.loadData("import QtQuick 2.9\n"
                    "import QtQuick.Window 2.2\n"
                    "Window {\n"
                    "    visible: true; width: 720; height: 480; title: \"Solvane\"\n"
                    "    Image { width: 720; height: 480; source: \"file:png/ib.png\"\n"
                    "            sourceSize: Qt.size(width * Screen.devicePixelRatio, height * Screen.devicePixelRatio) }\n"
                    "    Text { x: 280; y: 400; text: \"Solvane\"; color: \"white\"; font.pointSize: 28 }\n"
                    "}\n",
                    QUrl::fromLocalFile(QDir::currentPath() + QStringLiteral("/")));
    auto *window = engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!window)
        return 1;
    auto first = std::make_shared<QMetaObject::Connection>();
    *first = QObject::connect(window, &QQuickWindow::frameSwapped, window, [first] {
        if (!*first)
            return;
        QObject::disconnect(*first);
        *first = QMetaObject::Connection();
        qInfo("首帧已显示");
    });
    return app.exec();
}
