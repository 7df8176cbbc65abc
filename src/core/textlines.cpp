#include "core/textlines.h"

#include "core/paths.h"


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

QList<QByteArray> readTextLines(const QString &path, FileState *state, bool *truncated)
{
    const FileRead file = readFile(resolvePath(path));
    if (state)
        *state = file.state;
    if (truncated)
        *truncated = file.truncated;
    return file.ok() ? splitTextLines(file.bytes) : QList<QByteArray>();
}

} // namespace core
