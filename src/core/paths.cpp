#include "core/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace core {

namespace {

QString &shippedDataDir()
{
    static QString dir;
    return dir;
}

// The files the game ships; the player's own (settings, saves, records) are never looked for elsewhere.
bool isShipped(const QString &relativePath)
{
    const QString first = relativePath.section(QLatin1Char('/'), 0, 0);
    for (const char *name : {"a.txt", "png", "mp3", "favicon.ico"}) {
        if (first.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString resolveHere(const QString &relativePath);

} // namespace

void setShippedDataDir(const QString &dir)
{
    shippedDataDir() = dir;
}

QString resolvePath(const QString &relativePath)
{
    const QString here = resolveHere(relativePath);
    const QString &shipped = shippedDataDir();
    if (shipped.isEmpty() || QFileInfo(relativePath).isAbsolute() || !isShipped(relativePath)
        || QFileInfo::exists(here))
        return here;
    const QString there = resolveHere(QDir(shipped).filePath(relativePath));
    return QFileInfo::exists(there) ? there : here;
}

namespace {

QString resolveHere(const QString &relativePath)
{
#ifdef _WIN32
    return relativePath;
#else
    if (relativePath.isEmpty() || QFileInfo::exists(relativePath))
        return relativePath;
    const QStringList parts = relativePath.split(QLatin1Char('/'));
    QString resolved = QFileInfo(relativePath).isAbsolute() ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        const QString dirPath = resolved.isEmpty() ? QStringLiteral(".") : resolved;
        QString match;
        if (QFileInfo::exists(QDir(dirPath).filePath(part))) {
            match = part;
        } else {
            const QStringList entries = QDir(dirPath).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    match = entry;
                    break;
                }
            }
        }
        if (match.isEmpty())
            return relativePath;
        resolved = resolved.isEmpty() ? match : (resolved.endsWith(QLatin1Char('/')) ? resolved + match : resolved + QLatin1Char('/') + match);
    }
    return resolved;
#endif
}

} // namespace

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

} // namespace core
