#include "core/savefiles.h"

#include "core/paths.h"
#include "core/textlines.h"

#include <QFile>

namespace core {

QList<QByteArray> readSaveLines(const QString &path, bool *ok)
{
    QFile file(resolvePath(path));
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? splitTextLines(file.readAll()) : QList<QByteArray>();
}

int countSaveSlots()
{
    return readSaveLines(QString::fromLatin1(kSaveLinesFile)).size();
}

} // namespace core
