#include "app/filepath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

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

QList<QByteArray> splitTextLines(const QByteArray &content)
{
    QList<QByteArray> lines;
    int start = 0;
    while (start < content.size()) {
        int end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        QByteArray line = content.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
        start = end + 1;
    }
    return lines;
}
