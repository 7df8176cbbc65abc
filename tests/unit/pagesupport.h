#pragma once

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
