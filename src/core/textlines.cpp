#include "core/textlines.h"

#include "core/paths.h"

#include <QFile>

namespace core {

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

QList<QByteArray> readTextLines(const QString &path, bool *ok)
{
    QFile file(resolvePath(path));
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? splitTextLines(file.readAll()) : QList<QByteArray>();
}

} // namespace core
