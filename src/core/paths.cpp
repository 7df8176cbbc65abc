#include "core/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace core {

QString resolvePath(const QString &relativePath)
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
