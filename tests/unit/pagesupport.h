#pragma once

#include <QList>
#include <QQuickItem>
#include <QString>

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
